// Undoing an operation of the history on the tables in memory, and the undo
// undone.
#include "common/verifiche.h"
#include "movimenti/annullamento.h"
#include "movimenti/righeoperazione.h"
#include "store/aiutiarchivio.h"
#include "store/tabelle.h"

#include <QTest>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

using Operazione = std::function<void(Stato &)>;
using Cambiati = QList<ComponenteCambiato>;
const Operazione Niente = [](Stato &) {};

// A component of ACME put at the end of the table.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
void Aggiungi(Stato &s, qint32 id, const QString &codice, qint32 quantita)
{
    s.Componenti.insert(s.NumComponenti, {.ID = id, .Codice = codice, .Quantita = quantita,
                                          .NomeProduttore = "ACME", .DataInserimento = DataUtc(2025, 3, 1)});
    ++s.NumComponenti;
    s.ProssimoIDComponente = qMax(s.ProssimoIDComponente, id + 1);
}
#pragma GCC diagnostic pop

// The position (1-based) of the component with that ID, 0 when none.
qint32 Pos(const Stato &s, qint32 id)
{
    const auto fine = s.Componenti.begin() + s.NumComponenti;
    const auto c = std::find_if(s.Componenti.begin(), fine, [id](const Componente &x) { return x.ID == id; });
    return c == fine ? 0 : qint32(c - s.Componenti.begin()) + 1;
}

Componente &Per(Stato &s, qint32 id) { return s.componente(Pos(s, id)); }

void Togli(Stato &s, qint32 id)
{
    s.Componenti.remove(Pos(s, id) - 1);
    --s.NumComponenti;
}

// The operations most rows use: a component taken away, one added.
Operazione Via(qint32 id)
{
    return [id](Stato &s) { Togli(s, id); };
}

Operazione Con(qint32 id, const QString &codice, qint32 quantita)
{
    return [=](Stato &s) { Aggiungi(s, id, codice, quantita); };
}

Operazione Quantita(qint32 id, qint32 quantita)
{
    return [=](Stato &s) { Per(s, id).Quantita = quantita; };
}

// The example database with a third component, quantities 10, -25 and 40.
Stato Base()
{
    Stato s;
    RiempiStatoDiEsempio(s);
    Aggiungi(s, 14, "LM317", 40);
    ContaPezzi(s);
    return s;
}

// The lines as the file gives them back, numbered n.
QList<RigaMovimento> Scritte(QList<RigaMovimento> righe, qint64 n)
{
    for (RigaMovimento &r : righe) {
        r.operazione = n;
        r.momento = QDateTime(QDate(2025, 3, 7), QTime(10, 0));
        r = LeggiRigaMovimento(QByteArrayView(TestoRigaMovimento(r)).chopped(2)).value_or(RigaMovimento());
    }
    return righe;
}

// The same components (by ID: one put back comes at the end of the table)
// and the same total of pieces.
bool Uguali(const Stato &a, const Stato &b)
{
    const auto perID = [](const Stato &s) {
        QList<Componente> c = s.Componenti.mid(0, s.NumComponenti);
        std::sort(c.begin(), c.end(), [](const Componente &x, const Componente &y) { return x.ID < y.ID; });
        return c;
    };
    return perID(a) == perID(b) && a.TotalePezzi == b.TotalePezzi;
}

// An operation done on the base, as its lines and the state after it.
struct Fatta {
    Stato prima;
    Stato dopo;
    QList<RigaMovimento> righe;
};

Fatta Esegui(const Operazione &op, const QString &movimento, const Stato &base = Base())
{
    Fatta f{base, base, {}};
    op(f.dopo);
    ContaPezzi(f.dopo);
    f.righe = Scritte(RigheDaConfronto(f.prima, f.dopo, movimento), 5);
    return f;
}

} // namespace

Q_DECLARE_METATYPE(Operazione)

class TestAnnullamento : public QObject {
    Q_OBJECT

private slots:
    // Each kind of operation, undone, and the undo undone.
    void ogniTipo_data()
    {
        Colonne<Operazione, QString, int>("operazione", "movimento", "righe");
        QTest::newRow("new") << Con(15, "BD139", 7) << "Nuovo" << 1;
        QTest::newRow("edit: quantity and fields") << Operazione([](Stato &s) {
            Componente &c = Per(s, 12);
            c.Quantita = 7;
            c.Descrizione = "Timer \"doppio\"; 556";
            c.Pins = 14;
            c.Note = "riga\nsotto";
            c.DataInserimento = DataUtc(2025, 1, 2, 3, 4, 5);
        }) << "Modifica" << 1;
        QTest::newRow("edit: fields only") << Operazione([](Stato &s) {
            Per(s, 13).NomeProduttore = "ACME";
            Per(s, 13).IDProduttore = 5;
        }) << "Modifica" << 1;
        QTest::newRow("deletion") << Via(12) << "Eliminazione" << 1;
        QTest::newRow("import: two new, one summed") << Operazione([](Stato &s) {
            Aggiungi(s, 15, "BD139", 7);
            Aggiungi(s, 16, "BD140", 0);
            Per(s, 14).Quantita += 60;
        }) << MovimentoImportazione("nuovi.csv") << 3;
        QTest::newRow("BOM taking") << Operazione([](Stato &s) {
            Per(s, 12).Quantita -= 2 * 3;
            Per(s, 13).Quantita -= 2 * 1;
            Per(s, 14).Quantita -= 2 * 40;
        }) << MovimentoDistinta("scheda.csv", 2) << 3;
        QTest::newRow("restore: removed, added, changed") << Operazione([](Stato &s) {
            Togli(s, 13);
            Togli(s, 12);
            Aggiungi(s, 9, "OLD", 1);
            Per(s, 14).Descrizione = "Regolatore";
            Per(s, 14).Quantita = 39;
        }) << TestoMovimento(TipoMovimento::Ripristino) << 4;
    }
    void ogniTipo()
    {
        const auto [operazione, movimento, righe] =
            Valori<Operazione, QString, int>("operazione", "movimento", "righe");
        const Fatta f = Esegui(operazione, movimento);
        QCOMPARE(f.righe.size(), righe);

        Stato s = f.dopo;
        const EsitoAnnullamento esito = AnnullaOperazione(s, f.righe, CambiatiDopo::Chiedi);
        QVERIFY2(esito.fatto(), qPrintable(esito.errore));
        QCOMPARE(esito.avvisi, QStringList());
        QVERIFY(Uguali(s, f.prima));
        QCOMPARE(s.ProssimoIDComponente, f.dopo.ProssimoIDComponente);
        QCOMPARE(esito.righe.size(), righe);
        QCOMPARE(esito.righe.last().movimento, QStringLiteral("Annullamento dell'operazione 5"));

        // The undo undone: the state after the operation again.
        const EsitoAnnullamento ancora = AnnullaOperazione(s, Scritte(esito.righe, 6), CambiatiDopo::Chiedi);
        QVERIFY2(ancora.fatto(), qPrintable(ancora.errore));
        QVERIFY(Uguali(s, f.dopo));
        QCOMPARE(ancora.righe.first().movimento, QStringLiteral("Annullamento dell'operazione 6"));
    }

    // An undo that stops or cannot be done. A component whose quantity is no
    // longer the one the operation left (cambiati): asked, the undo stops and
    // lists it; told to, it applies the opposite difference (quantita: of 12,
    // 13, 14, 15 after it, -1 for none), and that undone gives back the state
    // before. What cannot be undone (errore) leaves the state as it was, with
    // the reason, whatever the choice.
    void fermato_data()
    {
        // dettagli replaces the Dettagli of the first line when not empty
        Colonne<Operazione, QString, Operazione, QString, Cambiati, QList<qint32>, QString>(
            "operazione", "movimento", "dopo", "dettagli", "cambiati", "quantita", "errore");
        QTest::newRow("taken, then added") << Quantita(12, 3) << "Prelievo pezzi" << Quantita(12, 5) << QString()
                                           << Cambiati{{12, "NE555", 3, 5}} << QList<qint32>{12, -25, 40, -1}
                                           << QString();
        QTest::newRow("new, then taken") << Con(15, "BD139", 5) << "Nuovo" << Quantita(15, 3) << QString()
                                         << Cambiati{{15, "BD139", 5, 3}} << QList<qint32>{10, -25, 40, -2}
                                         << QString();
        QTest::newRow("BOM, one of three changed")
            << Operazione([](Stato &s) {
                   Per(s, 12).Quantita -= 4;
                   Per(s, 13).Quantita -= 4;
                   Per(s, 14).Quantita -= 4;
               })
            << MovimentoDistinta("x.csv", 4) << Quantita(14, 0) << QString() << Cambiati{{14, "LM317", 36, 0}}
            << QList<qint32>{10, -25, 4, -1} << QString();
        QTest::newRow("changed back by hand") << Quantita(12, 3) << "Prelievo pezzi" << Quantita(12, 10) << QString()
                                              << Cambiati{{12, "NE555", 3, 10}} << QList<qint32>{17, -25, 40, -1}
                                              << QString();
        const Operazione modifica([](Stato &s) {
            Per(s, 12).Quantita = 2147483647;
            Per(s, 12).Pins = 9;
        });
        const QString nulla = "Nell'operazione 5 non c'è nulla da annullare.\r\nIl componente ";
        const QString impossibile = "Impossibile annullare l'operazione 5: la ";
        QTest::newRow("component gone") << modifica << "Modifica" << Via(12) << QString() << Cambiati()
                                        << QList<qint32>()
                                        << nulla + "NE555 (ID 12) non c'è più: non è stato riportato com'era.";
        QTest::newRow("new component gone") << Con(15, "BD139", 5) << "Nuovo" << Via(15) << QString() << Cambiati()
                                            << QList<qint32>()
                                            << nulla + "BD139 (ID 15) non c'è più: non è stato tolto.";
        QTest::newRow("damaged record") << Via(12) << "Eliminazione" << Niente << "Codice: \"NE555\"" << Cambiati()
                                        << QList<qint32>() << impossibile + "riga di NE555 (ID 12) è danneggiata.";
        QTest::newRow("damaged changes") << modifica << "Modifica" << Niente << "Pins: 8 → 9" << Cambiati()
                                         << QList<qint32>() << impossibile + "riga di NE555 (ID 12) è danneggiata.";
        QTest::newRow("beyond 32 bits") << modifica << "Modifica" << Quantita(12, -12) << QString()
                                        << Cambiati{{12, "NE555", 2147483647, -12}} << QList<qint32>()
                                        << impossibile + "quantità di NE555 (ID 12) uscirebbe dai limiti.";
        QTest::newRow("no ID left")
            << Via(12) << "Eliminazione" << Operazione([](Stato &s) {
                   Aggiungi(s, 12, "ALTRO", 1);
                   s.ProssimoIDComponente = std::numeric_limits<qint32>::max();
               })
            << QString() << Cambiati() << QList<qint32>()
            << "Impossibile aggiungere: gli ID disponibili sono esauriti.\r\n"
               "Controllare il valore di \"Prossimo ID Componente\" nel file Info.ini";
        QTest::newRow("no lines") << Niente << "Modifica" << Niente << QString() << Cambiati() << QList<qint32>()
                                  << "Non c'è nessuna operazione da annullare.";
    }
    void fermato()
    {
        const auto [operazione, movimento, dopo, dettagli, cambiati, quantita, errore] =
            Valori<Operazione, QString, Operazione, QString, Cambiati, QList<qint32>, QString>(
                "operazione", "movimento", "dopo", "dettagli", "cambiati", "quantita", "errore");
        Fatta f = Esegui(operazione, movimento);
        if (!dettagli.isEmpty())
            f.righe.first().dettagli = dettagli;
        Stato s = f.dopo;
        dopo(s);
        ContaPezzi(s);
        const Stato prima = s;
        EsitoAnnullamento esito;
        for (CambiatiDopo scelta : {CambiatiDopo::Chiedi, CambiatiDopo::ApplicaDifferenza}) {
            esito = AnnullaOperazione(s, f.righe, scelta);
            const bool chiesto = scelta == CambiatiDopo::Chiedi && !cambiati.isEmpty();
            QCOMPARE(esito.cambiati, chiesto ? cambiati : Cambiati());
            QCOMPARE(esito.errore, chiesto ? QString() : errore);
            if (esito.fatto())
                break;
            QVERIFY(esito.righe.isEmpty() && esito.avvisi.isEmpty());
            QVERIFY(Uguali(s, prima));
            QCOMPARE(s.ProssimoIDComponente, prima.ProssimoIDComponente);
        }
        QCOMPARE(esito.fatto(), errore.isEmpty());
        if (!esito.fatto())
            return;
        const QList<qint32> ids{12, 13, 14, 15};
        for (qsizetype i = 0; i < ids.size(); ++i)
            QCOMPARE(Pos(s, ids[i]) ? Per(s, ids[i]).Quantita : -1, quantita[i]);
        // Undone again, the difference comes back.
        QVERIFY(AnnullaOperazione(s, Scritte(esito.righe, 6), CambiatiDopo::Chiedi).fatto());
        QVERIFY(Uguali(s, prima));
    }

    // A deleted component comes back with its ID, or with a new one when
    // its ID is taken; the counter never gives an ID twice.
    void ritornoDiUnEliminato_data()
    {
        Colonne<Operazione, qint32, qint32, qint32, QStringList>("dopo", "prossimoID", "idAtteso", "prossimoDopo",
                                                                 "avvisi");
        QTest::newRow("ID taken meanwhile")
            << Con(12, "ALTRO", 1) << 20 << 20 << 21
            << QStringList{"Il componente NE555 torna con il nuovo ID 20: l'ID 12 è già in uso."};
        QTest::newRow("counter went back below it") << Niente << 12 << 12 << 13 << QStringList();
        QTest::newRow("counter just above it") << Niente << 13 << 12 << 13 << QStringList();
    }
    void ritornoDiUnEliminato()
    {
        const auto [dopo, prossimoID, idAtteso, prossimoDopo, avvisi] =
            Valori<Operazione, qint32, qint32, qint32, QStringList>("dopo", "prossimoID", "idAtteso", "prossimoDopo",
                                                                    "avvisi");
        const Fatta f = Esegui(Via(12), "Eliminazione");
        Stato s = f.dopo;
        dopo(s);
        s.ProssimoIDComponente = prossimoID;
        const qint32 num = s.NumComponenti;
        const EsitoAnnullamento esito = AnnullaOperazione(s, f.righe, CambiatiDopo::Chiedi);
        QVERIFY2(esito.fatto(), qPrintable(esito.errore));
        QCOMPARE(esito.avvisi, avvisi);
        QCOMPARE(s.NumComponenti, num + 1);
        Componente atteso = f.prima.componente(1);
        atteso.ID = idAtteso;
        QCOMPARE(s.componente(num + 1), atteso); // at the end of the table
        QCOMPARE(s.ProssimoIDComponente, prossimoDopo);
        QCOMPARE(esito.righe.first().id, idAtteso);
        QVERIFY(esito.righe.first().creazione());
    }

    // Part of an operation can still be undone: what is gone or changed is
    // told, the rest is done.
    void inParte()
    {
        const Fatta f = Esegui(
            [](Stato &s) {
                Per(s, 12).Descrizione = "nuova";
                Per(s, 12).Pins = 16;
                Per(s, 14).Quantita = 1;
            },
            MovimentoImportazione("x.csv"));
        Stato s = f.dopo;
        Togli(s, 14);
        Per(s, 12).Descrizione = "cambiata ancora";
        const EsitoAnnullamento esito = AnnullaOperazione(s, f.righe, CambiatiDopo::Chiedi);
        QVERIFY(esito.fatto());
        QCOMPARE(esito.avvisi,
                 QStringList({"Il componente LM317 (ID 14) non c'è più: non è stato riportato com'era.",
                              "Il campo Descrizione di NE555 (ID 12) è cambiato dopo l'operazione: resta "
                              "\"cambiata ancora\"."}));
        QCOMPARE(Per(s, 12).Pins, 8);
        QCOMPARE(Per(s, 12).Descrizione, QStringLiteral("cambiata ancora"));
        QCOMPARE(esito.righe.size(), 1);
        QCOMPARE(esito.righe.first().dettagli, QStringLiteral("Pins: \"16\" → \"8\""));
    }

    // One component twice in one operation: undone newest first, back to
    // where it started.
    void stessoComponenteDueVolte()
    {
        const Stato base = Base();
        Stato meta = base, fine = base;
        Per(meta, 12).Quantita = 4;
        Per(fine, 12).Quantita = 1;
        Per(fine, 12).Note = "due volte";
        QList<RigaMovimento> righe = RigheDaConfronto(base, meta, "Distinta a.csv × 1 scheda");
        righe += RigheDaConfronto(meta, fine, "Distinta a.csv × 1 scheda");
        Stato s = fine;
        const EsitoAnnullamento esito = AnnullaOperazione(s, Scritte(righe, 5), CambiatiDopo::Chiedi);
        QVERIFY2(esito.fatto(), qPrintable(esito.errore));
        QVERIFY(Uguali(s, base));
    }

    // The question lists at most 20 components (its text: tst_frmstorico).
    void domanda()
    {
        QList<ComponenteCambiato> molti;
        for (int i = 1; i <= 23; ++i)
            molti.append({i, QStringLiteral("C%1").arg(i), 1, 2});
        QCOMPARE(DomandaCambiati(1, molti).split("\r\n").mid(20, 3),
                 QStringList({"> C20: ora 2, dopo l'operazione 1", "> ... e altri 3", ""}));
    }
};

QTEST_GUILESS_MAIN(TestAnnullamento)
#include "tst_annullamento.moc"
