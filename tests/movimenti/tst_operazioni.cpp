// The operations that change many components at once write their lines
// with the tables; none when they fail.
#include "common/storicoprova.h"
#include "common/verifiche.h"
#include "copie/copie.h"
#include "distinta/verificadistinta.h"
#include "importa/importazione.h"
#include "importa/letturacsv.h"
#include "store/scritturasicura.h"

#include <QTest>

#include <functional>

namespace {

struct Archivio : ArchivioStorico {
    Archivio() : ArchivioStorico(QDateTime(QDate(2026, 3, 7), QTime(9, 5, 1))) {}
};
using Operazione = std::function<bool(Archivio &, const GuastoScrittura &)>;

} // namespace

class TestOperazioni : public QObject {
    Q_OBJECT
private slots:
    // The lines an import and a BOM taking write (their rollback after a
    // failed save: tst_importa, tst_distinta).
    void righeDelleOperazioni_data()
    {
        Colonne<Operazione, QStringList>("operazione", "attese");
        const Operazione importa = [](Archivio &a, const GuastoScrittura &g) {
            const LetturaCSV csv = LeggiCSV("Codice;Quantit\xc3\xa0\r\nne555;5\r\nLM358;3\r\n", a.stato);
            return EseguiImportazione(a.stato, PianificaImportazione(a.stato, csv, CodiciEsistenti::SommaQuantita),
                                      a.dialoghi, g, "/altrove/ordine.csv");
        };
        // Two lines of the BOM share the NE555: one line of the history.
        const Operazione preleva = [](Archivio &a, const GuastoScrittura &g) {
            return PrelevaComponenti(a.stato, a.dialoghi, {{1, 2}, {2, 1}, {1, 3}}, g, MovimentoDistinta("scheda.csv", 2));
        };
        QTest::addRow("import: a quantity added, a component created")
            << importa
            << QStringList{"1;Importazione ordine.csv;12;NE555;10;15", "1;Importazione ordine.csv;14;LM358;-;3"};
        QTest::addRow("BOM taking: one line per component")
            << preleva << QStringList{QStringLiteral("1;Distinta scheda.csv \u00d7 2 schede;12;NE555;10;5"),
                                      QStringLiteral("1;Distinta scheda.csv \u00d7 2 schede;13;BC547B;-25;-26")};
    }
    void righeDelleOperazioni()
    {
        const auto [operazione, attese] = Valori<Operazione, QStringList>("operazione", "attese");
        Archivio a;
        QVERIFY(operazione(a, GuastoScrittura()));
        QCOMPARE(a.righe(), attese);
        // The program's own import reads the file: every line, its code.
        const LetturaCSV l = LeggiCSV(a.cartella.leggi(NomeFileMovimenti), a.stato);
        QVERIFY2(l.errore.isEmpty() && l.errori.isEmpty(), qPrintable(l.errore));
        QCOMPARE(l.righe.size(), attese.size());
        QCOMPARE(l.righe.last().componente.Codice, attese.last().section(u';', 3, 3));
        // The tables on disk are those the lines describe.
        Stato letto;
        QVERIFY(Riavvia(a.cartella.percorso(), &letto));
        QVERIFY(StessiDati(letto, a.stato));
    }

    // A restore writes a line for each component the copy holds otherwise;
    // a restore whose files are put back writes the lines that take it back.
    void ripristino()
    {
        Archivio a;
        CopiaDatata copia;
        QVERIFY(CreaCopia(a.stato.percorsi, {}, &copia));
        a.stato.componente(1).Quantita = 4;
        a.stato.componente(2).Descrizione = QStringLiteral("cambiata");
        Componente nuovo = a.stato.componente(1);
        nuovo.ID = a.stato.ProssimoIDComponente++;
        nuovo.Codice = QStringLiteral("LM358");
        a.stato.Componenti.append(nuovo);
        ++a.stato.NumComponenti;
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const Stato dopoModifiche = a.stato;

        ImpostaAdesso(QDateTime(QDate(2026, 3, 7), QTime(9, 6, 0)));
        CopiaDatata salvata;
        QList<RigaMovimento> indietro;
        QVERIFY(RipristinaCopia(a.stato, copia, &salvata, nullptr, {}, &indietro));
        QCOMPARE(a.righe(), (QStringList{"1;Ripristino;12;NE555;4;10", "1;Ripristino;13;BC547B;-25;-25",
                                         "1;Ripristino;14;LM358;4;-"}));
        QVERIFY(RicaricaArchivio(a.stato, a.dialoghi));
        QCOMPARE(a.stato.NumComponenti, 2);
        QVERIFY(RimettiCopia(a.stato.percorsi, salvata, nullptr, indietro));
        QCOMPARE(a.righe().mid(3), (QStringList{"2;Annullamento dell'operazione 1;12;NE555;10;4",
                                                "2;Annullamento dell'operazione 1;13;BC547B;-25;-25",
                                                "2;Annullamento dell'operazione 1;14;LM358;-;4"}));
        Stato letto;
        QVERIFY(Riavvia(a.cartella.percorso(), &letto));
        QVERIFY(StessiDati(letto, dopoModifiche));
    }
};

QTEST_GUILESS_MAIN(TestOperazioni)
#include "tst_operazioni.moc"
