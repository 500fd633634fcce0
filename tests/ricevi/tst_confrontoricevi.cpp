// A scanned bag against the stock, and a bag scanned twice in one session.

#include "common/buste.h"
#include "common/campioniscansione.h"
#include "common/distintaprova.h"
#include "common/verifiche.h"
#include "distinta/collegamenti.h"
#include "ricevi/confrontoricevi.h"
#include "ricevi/sacchetti.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Codes as users keep them: in lower case with a blank after, twice the same code, a distributor's code (LCSC's
// C312270) as the code. IDs are not positions.
void Magazzino(Stato &s)
{
    RiempiMagazzino(s, {"11:LM358BIDDFR:5", "12:ldk320adu33r :0", "13:BC547:10", "14:BC547:3", "15:C312270:7",
                        "16:NE555:4", "17:MC34063:2", "18:NE555P:1", "19:ST-1-102-A01-T000-RS:0"});
}

// Links made in the BOM window: MC34063ADR to MC34063, NE555P to NE555 (a component carries NE555P as its code too: the
// link wins), TPS63000DRCR to a component since deleted.
Collegamenti CollegamentiProva()
{
    Collegamenti c;
    RigaDistinta r;
    for (const auto &[mpn, id] : {std::pair{"MC34063ADR", 17}, {"ne555p", 16}, {"TPS63000DRCR", 99}}) {
        r.mpn = QString::fromLatin1(mpn);
        c.collega(r, id, u"X"_s);
    }
    return c;
}

QString Esito(const ConfrontoRicevi &c)
{
    QStringList candidati;
    for (const qint32 p : c.candidati)
        candidati << QString::number(p);
    return TestoEsitoRicevi(c) + u'|' + candidati.join(u',') + (c.collegato ? u"|collegato"_s : QString())
           + (c.perDistributore ? u"|distributore"_s : QString());
}

} // namespace

class TestConfrontoRicevi : public QObject {
    Q_OBJECT
private slots:
    void confronto_data()
    {
        Colonne<QString, QString, int>("testo", "atteso", "contati"); // contati: NumComponenti, 0: as held
        const auto riga = [](const char *nome, const QString &testo, const char *atteso, int contati = 0) {
            QTest::newRow(nome) << testo << QString::fromUtf8(atteso) << contati;
        };
        riga("un componente", Campione(u"digikey-controlli"_s), "Aggiungi a LM358BIDDFR|1");
        riga("maiuscole e spazi a parte", Campione(u"mouser-vecchio"_s), "Aggiungi a ldk320adu33r |2");
        riga("due componenti", u"bc547"_s, "Da scegliere|3,4");
        riga("nessuno", u"BC548"_s, "Nuovo componente|");
        riga("collegato", Campione(u"mouser"_s), "Aggiungi a MC34063|7|collegato");
        riga("il collegamento prima del codice", u"NE555P"_s, "Aggiungi a NE555|6|collegato");
        riga("collegato a un componente cancellato", u"TPS63000DRCR"_s, "Nuovo componente|");
        riga("codice del produttore prima del distributore", Campione(u"lcsc"_s), "Aggiungi a ST-1-102-A01-T000-RS|9");
        riga("codice del distributore", u"{pm:ST-1-102-A01,qty:2,pc:c312270}"_s, "Aggiungi a C312270|5|distributore");
        riga("distributore su due componenti", u"{pm:XYZ,qty:2,pc:BC547}"_s, "Da scegliere|3,4|distributore");
        // The program's own labels go by the ID, whatever the codes say.
        riga("etichetta di Arvo", u"ARVO:13"_s, "Aggiungi a BC547|3");
        riga("etichetta di Arvo, primo componente", u"ARVO:11"_s, "Aggiungi a LM358BIDDFR|1");
        riga("etichetta di Arvo, ultimo componente", u"arvo:19"_s, "Aggiungi a ST-1-102-A01-T000-RS|9");
        const char *manca = "Non leggibile: nel magazzino non c'è il componente con ID %1 indicato dall'etichetta|";
        riga("etichetta di Arvo, componente cancellato", u"ARVO:99"_s, qPrintable(QString::fromUtf8(manca).arg(99)));
        riga("etichetta di Arvo, ID che è una posizione", u"ARVO:3"_s, qPrintable(QString::fromUtf8(manca).arg(3)));
        riga("non leggibile", Busta(u"Q10"_s), "Non leggibile: l'etichetta non riporta il codice del produttore (1P)|");
        // Only the components up to the count are in the stock.
        riga("oltre il conteggio", u"BC547"_s, "Nuovo componente|", 2);
        riga("entro il conteggio", u"LDK320ADU33R"_s, "Aggiungi a ldk320adu33r |2", 2);
        riga("etichetta di Arvo entro il conteggio", u"ARVO:12"_s, "Aggiungi a ldk320adu33r |2", 2);
        riga("etichetta di Arvo oltre il conteggio", u"ARVO:13"_s, qPrintable(QString::fromUtf8(manca).arg(13)), 2);
    }
    void confronto()
    {
        const auto [testo, atteso, contati] = Valori<QString, QString, int>("testo", "atteso", "contati");
        Stato stato;
        Magazzino(stato);
        if (contati)
            stato.NumComponenti = contati;
        const IndiceRicevi indice(stato, CollegamentiProva());
        const Scansione s = LeggiScansione(testo);
        // Without the links the code alone counts.
        const ConfrontoRicevi senza = IndiceRicevi(stato).confronta(s);
        stato.Componenti.clear(); // the index keeps the stock as it was when built
        const ConfrontoRicevi c = indice.confronta(s);
        QCOMPARE(Esito(c), atteso);
        QCOMPARE(c.posizione, c.esito == EsitoRicevi::Aggiungi ? c.candidati.first() : 0);
        QVERIFY(!senza.collegato);
        if (!c.collegato)
            QCOMPARE(senza.candidati, c.candidati);
    }

    // The same bag twice: the same fields whatever the separators, or the same lot and order with the same part number.
    void sacchetti_data()
    {
        Colonne<QStringList, QString, int>("prima", "nuova", "atteso");
        const auto riga = [](const char *nome, const QStringList &prima, const QString &nuova, int atteso) {
            QTest::newRow(nome) << prima << nuova << atteso;
        };
        const QString dk = Campione(u"digikey-controlli"_s), illeggibile = Busta(u"Q1"_s);
        const auto lotto = [](const char *campi) { return Busta(QString::fromLatin1(campi)); };
        riga("lo stesso testo", {dk}, dk, 0);
        riga("altri separatori", {u"BC547"_s, dk}, Campione(u"digikey-figurati"_s), 1);
        riga("fotografato e poi digitato senza separatori", {dk}, Campione(u"digikey-senza-separatori"_s), 0);
        riga("stesso lotto e ordine", {lotto("1PLM358|Q10|1TL23|1K555")}, lotto("1PLM358|Q5|1TL23|1K555"), 0);
        riga("stesso lotto e ordine del cliente", {lotto("1Plm358|Q10|1TL23|KPO-7")}, lotto("1PLM358|Q5|1TL23|KPO-7"), 0);
        riga("stesso lotto, altro ordine", {lotto("1PLM358|Q10|1TL23|1K555")}, lotto("1PLM358|Q5|1TL23|1K556"), -1);
        riga("stesso ordine senza lotto", {lotto("1PLM358|Q10|1K555")}, lotto("1PLM358|Q5|1K555"), -1);
        riga("stesso lotto e ordine, altro codice", {lotto("1PLM358|Q10|1TL23|1K555")}, lotto("1PLM324|Q10|1TL23|1K555"),
             -1);
        riga("codice semplice", {u"BC547"_s}, u" BC547\r\n"_s, 0);
        riga("codice semplice in minuscolo", {u"BC547"_s}, u"bc547"_s, -1);
        riga("la stessa etichetta di Arvo", {u"ARVO:12"_s}, u"arvo:012"_s, 0);
        riga("etichette di Arvo diverse", {u"ARVO:12"_s}, u"ARVO:13"_s, -1);
        riga("non leggibile", {illeggibile}, illeggibile, -1);
        riga("nessuna prima", {}, dk, -1);
    }
    void sacchetti()
    {
        const auto [prima, nuova, atteso] = Valori<QStringList, QString, int>("prima", "nuova", "atteso");
        QList<Scansione> lette;
        for (const QString &t : prima)
            lette.append(LeggiScansione(t));
        QCOMPARE(SacchettoGiaLetto(lette, LeggiScansione(nuova)), qsizetype(atteso));
    }
};

QTEST_GUILESS_MAIN(TestConfrontoRicevi)
#include "tst_confrontoricevi.moc"
