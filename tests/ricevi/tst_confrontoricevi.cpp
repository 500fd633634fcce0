// A scanned bag against the stock (a code of the stock, a link of the BOM
// check, the distributor's code, several components, none) and a bag
// scanned twice in one session.

#include "common/campioniscansione.h"
#include "common/distintaprova.h"
#include "common/verifiche.h"
#include "distinta/collegamenti.h"
#include "ricevi/confrontoricevi.h"
#include "ricevi/sacchetti.h"

#include <QTest>

namespace {

// Codes as users keep them: in lower case with a blank after, twice the
// same code, a distributor's code (LCSC's C312270) as the code. IDs are not
// positions.
void Magazzino(Stato &s)
{
    RiempiMagazzino(s, {"11:LM358BIDDFR:5", "12:ldk320adu33r :0", "13:BC547:10", "14:BC547:3", "15:C312270:7",
                        "16:NE555:4", "17:MC34063:2", "18:NE555P:1", "19:ST-1-102-A01-T000-RS:0"});
}

// Links made in the BOM window: MC34063ADR to MC34063, NE555P to NE555 (a
// component carries NE555P as its code too: the link wins), TPS63000DRCR to
// a component since deleted.
Collegamenti CollegamentiProva()
{
    Collegamenti c;
    RigaDistinta r;
    for (const auto &[mpn, id] : {std::pair{"MC34063ADR", 17}, {"ne555p", 16}, {"TPS63000DRCR", 99}}) {
        r.mpn = QString::fromLatin1(mpn);
        c.collega(r, id, QStringLiteral("X"));
    }
    return c;
}

QString Esito(const ConfrontoRicevi &c)
{
    QStringList candidati;
    for (const qint32 p : c.candidati)
        candidati << QString::number(p);
    QString testo = TestoEsitoRicevi(c) + u'|' + candidati.join(u',');
    if (c.collegato)
        testo += QStringLiteral("|collegato");
    if (c.perDistributore)
        testo += QStringLiteral("|distributore");
    return testo;
}

const QString Busta = QStringLiteral("[)>\x1e" "06\x1d%1\x1e\x04");

} // namespace

class TestConfrontoRicevi : public QObject {
    Q_OBJECT
private slots:
    void confronto_data()
    {
        Colonne<QString, QString>("testo", "atteso");
        const auto riga = [](const char *nome, const QString &testo, const char *atteso) {
            QTest::newRow(nome) << testo << QString::fromUtf8(atteso);
        };
        riga("un componente", Campione(QStringLiteral("digikey-controlli")), "Aggiungi a LM358BIDDFR|1");
        riga("maiuscole e spazi a parte", Campione(QStringLiteral("mouser-vecchio")), "Aggiungi a ldk320adu33r |2");
        riga("due componenti", QStringLiteral("bc547"), "Da scegliere|3,4");
        riga("nessuno", QStringLiteral("BC548"), "Nuovo componente|");
        riga("collegato", Campione(QStringLiteral("mouser")), "Aggiungi a MC34063|7|collegato");
        riga("il collegamento prima del codice", QStringLiteral("NE555P"), "Aggiungi a NE555|6|collegato");
        riga("collegato a un componente cancellato", QStringLiteral("TPS63000DRCR"), "Nuovo componente|");
        riga("codice del produttore prima del distributore", Campione(QStringLiteral("lcsc")),
             "Aggiungi a ST-1-102-A01-T000-RS|9");
        riga("codice del distributore", QStringLiteral("{pm:ST-1-102-A01,qty:2,pc:c312270}"),
             "Aggiungi a C312270|5|distributore");
        riga("distributore su due componenti", QStringLiteral("{pm:XYZ,qty:2,pc:BC547}"), "Da scegliere|3,4|distributore");
        // The program's own labels go by the ID, whatever the codes say.
        riga("etichetta di Arvo", QStringLiteral("ARVO:13"), "Aggiungi a BC547|3");
        riga("etichetta di Arvo, primo componente", QStringLiteral("ARVO:11"), "Aggiungi a LM358BIDDFR|1");
        riga("etichetta di Arvo, ultimo componente", QStringLiteral("arvo:19"), "Aggiungi a ST-1-102-A01-T000-RS|9");
        riga("etichetta di Arvo, componente cancellato", QStringLiteral("ARVO:99"),
             "Non leggibile: nel magazzino non c'è il componente con ID 99 indicato dall'etichetta|");
        riga("etichetta di Arvo, ID che è una posizione", QStringLiteral("ARVO:3"),
             "Non leggibile: nel magazzino non c'è il componente con ID 3 indicato dall'etichetta|");
        riga("non leggibile", Busta.arg(QStringLiteral("Q10")),
             "Non leggibile: l'etichetta non riporta il codice del produttore (1P)|");
    }
    void confronto()
    {
        const auto [testo, atteso] = Valori<QString, QString>("testo", "atteso");
        Stato stato;
        Magazzino(stato);
        const IndiceRicevi indice(stato, CollegamentiProva());
        const Scansione s = LeggiScansione(testo);
        const ConfrontoRicevi c = indice.confronta(s);
        QCOMPARE(Esito(c), atteso);
        QCOMPARE(c.posizione, c.esito == EsitoRicevi::Aggiungi ? c.candidati.first() : 0);
        // Without the links the code alone counts.
        const ConfrontoRicevi senza = IndiceRicevi(stato).confronta(s);
        QVERIFY(!senza.collegato);
        if (!c.collegato)
            QCOMPARE(senza.candidati, c.candidati);
    }

    // Only the components up to the count are in the stock, and the index
    // keeps the stock as it was when built.
    void soloIComponentiContati()
    {
        Stato stato;
        Magazzino(stato);
        stato.NumComponenti = 2;
        const IndiceRicevi indice(stato);
        stato.Componenti.clear();
        QCOMPARE(indice.confronta(LeggiScansione(QStringLiteral("BC547"))).esito, EsitoRicevi::Nuovo);
        const ConfrontoRicevi c = indice.confronta(LeggiScansione(QStringLiteral("LDK320ADU33R")));
        QCOMPARE(c.esito, EsitoRicevi::Aggiungi);
        QCOMPARE(c.codice, QStringLiteral("ldk320adu33r "));
        QCOMPARE(indice.confronta(LeggiScansione(QStringLiteral("ARVO:12"))).posizione, 2);
        QCOMPARE(indice.confronta(LeggiScansione(QStringLiteral("ARVO:13"))).esito, EsitoRicevi::NonLeggibile);
    }

    // The same bag twice: the same fields whatever the separators, or the
    // same lot and order with the same part number.
    void sacchetti_data()
    {
        Colonne<QStringList, QString, int>("prima", "nuova", "atteso");
        const QString dk = Campione(QStringLiteral("digikey-controlli"));
        const auto lotto = [](const char *campi) { return Busta.arg(QString::fromLatin1(campi).replace(u'|', u'\x1d')); };
        QTest::newRow("lo stesso testo") << QStringList{dk} << dk << 0;
        QTest::newRow("altri separatori") << QStringList{QStringLiteral("BC547"), dk}
                                          << Campione(QStringLiteral("digikey-figurati")) << 1;
        QTest::newRow("fotografato e poi digitato senza separatori")
            << QStringList{dk} << Campione(QStringLiteral("digikey-senza-separatori")) << 0;
        QTest::newRow("stesso lotto e ordine") << QStringList{lotto("1PLM358|Q10|1TL23|1K555")}
                                               << lotto("1PLM358|Q5|1TL23|1K555") << 0;
        QTest::newRow("stesso lotto e ordine del cliente") << QStringList{lotto("1Plm358|Q10|1TL23|KPO-7")}
                                                           << lotto("1PLM358|Q5|1TL23|KPO-7") << 0;
        QTest::newRow("stesso lotto, altro ordine") << QStringList{lotto("1PLM358|Q10|1TL23|1K555")}
                                                    << lotto("1PLM358|Q5|1TL23|1K556") << -1;
        QTest::newRow("stesso ordine senza lotto") << QStringList{lotto("1PLM358|Q10|1K555")}
                                                   << lotto("1PLM358|Q5|1K555") << -1;
        QTest::newRow("stesso lotto e ordine, altro codice") << QStringList{lotto("1PLM358|Q10|1TL23|1K555")}
                                                             << lotto("1PLM324|Q10|1TL23|1K555") << -1;
        QTest::newRow("codice semplice") << QStringList{QStringLiteral("BC547")} << QStringLiteral(" BC547\r\n") << 0;
        QTest::newRow("codice semplice in minuscolo") << QStringList{QStringLiteral("BC547")} << QStringLiteral("bc547")
                                                      << -1;
        QTest::newRow("la stessa etichetta di Arvo") << QStringList{QStringLiteral("ARVO:12")}
                                                     << QStringLiteral("arvo:012") << 0;
        QTest::newRow("etichette di Arvo diverse") << QStringList{QStringLiteral("ARVO:12")}
                                                   << QStringLiteral("ARVO:13") << -1;
        QTest::newRow("non leggibile") << QStringList{QStringLiteral("[)>\x1e" "06\x1dQ1")}
                                       << QStringLiteral("[)>\x1e" "06\x1dQ1") << -1;
        QTest::newRow("nessuna prima") << QStringList{} << dk << -1;
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
