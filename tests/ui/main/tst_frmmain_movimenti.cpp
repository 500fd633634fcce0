// The editor's save and deletion write their lines in the stock history,
// together with the tables: a new component, a change (quantity and the
// fields that changed), a deletion with the whole record; nothing when
// nothing changed or when the save fails.

#include "ambiente.h"

#include "common/fifosorvegliata.h"
#include "common/storicoprova.h"
#include "common/verifiche.h"

using namespace prova;

namespace {

void prepara(Ambiente &a)
{
    cinqueComponenti(a.stato);
    DialoghiFinti d;
    QVERIFY(SalvaDatabase(a.stato, d));
    a.apri();
}

} // namespace

class TestFrmMainMovimenti : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ImpostaOggi(QDate(2026, 12, 5));
        ImpostaAdesso(QDateTime(QDate(2026, 12, 5), QTime(17, 30, 12)));
    }
    void cleanupTestCase() { ImpostaAdesso(QDateTime()); }

    void lineeDellEditor_data()
    {
        Colonne<QString, QStringList>("passi", "attese");
        QTest::newRow("new") << "new save" << QStringList{"1;Nuovo;15;XY100;-;4;"};
        QTest::newRow("quantity and fields")
            << "row edit qty desc save"
            << QStringList{"1;Modifica;11;BC547C;100;90;Descrizione: \"\" → \"NPN; 45 V\""};
        QTest::newRow("quantity only") << "row edit qty save" << QStringList{"1;Modifica;11;BC547C;100;90;"};
        QTest::newRow("nothing changed") << "row edit save" << QStringList{};
        QTest::newRow("new, then changed, then deleted")
            << "new save row edit qty save row del"
            << QStringList{"1;Nuovo;15;XY100;-;4;", "2;Modifica;11;BC547C;100;90;",
                           "3;Eliminazione;11;BC547C;90;-;" + TestoRecord([] {
                               Stato s;
                               cinqueComponenti(s);
                               Componente c = s.componente(2);
                               c.Quantita = 90;
                               return c;
                           }())};
    }
    void lineeDellEditor()
    {
        const auto [passi, attese] = Valori<QString, QStringList>("passi", "attese");
        Ambiente a;
        prepara(a);
        const QHash<QString, std::function<void()>> azioni{
            {"row", [&] { a.clicRiga(3, 0); }}, // BC547C
            {"new", [&] { a.nuovo(QStringLiteral("XY100"), QStringLiteral("4")); }},
            {"edit", [&] { a.premi(QStringLiteral("edit")); }},
            {"qty", [&] { a.scrivi(QStringLiteral("txQty"), QStringLiteral("90")); }},
            {"desc", [&] { a.scrivi(QStringLiteral("txDesc"), QStringLiteral("NPN; 45 V")); }},
            {"save", [&] { a.premi(QStringLiteral("save")); }},
            {"del", [&] { a.dialoghi.setNextAnswer(Risposta::Si); a.premi(QStringLiteral("del")); }}};
        for (const QString &passo : passi.split(' '))
            azioni[passo]();
        QCOMPARE(DescriviStorico(a.cartella.file(NomeFileMovimenti), true), attese);
        QCOMPARE(a.cartella.esiste(QStringLiteral("Movimenti.csv")), !attese.isEmpty());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // A history that cannot be written stops the save and the deletion as
    // a table file would: the message, nothing on disk, memory as before.
    void storicoNonScrivibile_data()
    {
        QTest::addColumn<bool>("fifo"); // else a folder
        QTest::newRow("a folder") << false;
        QTest::newRow("a FIFO") << true;
    }
    void storicoNonScrivibile()
    {
        QFETCH(bool, fifo);
        Ambiente a;
        prepara(a);
        const QString percorso = a.cartella.file(QStringLiteral("Movimenti.csv"));
        std::unique_ptr<FifoSorvegliata> fifoSorvegliata;
        if (fifo) {
            fifoSorvegliata = std::make_unique<FifoSorvegliata>(percorso);
            QVERIFY(fifoSorvegliata->creata());
        } else {
            QVERIFY(QDir().mkpath(percorso));
        }
        const QList<QByteArray> dati = a.fileDati();
        a.clicRiga(3, 0);
        a.premi(QStringLiteral("edit"));
        a.scrivi(QStringLiteral("txQty"), QStringLiteral("1"));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi(QStringLiteral("save"));
        QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        QCOMPARE(a.stato.componente(2).Quantita, 100);
        a.premi(QStringLiteral("undo"));
        a.clicRiga(3, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi(QStringLiteral("del"));
        QCOMPARE(a.stato.NumComponenti, 5);
        QCOMPARE(a.fileDati(), dati);
        QVERIFY2(!fifoSorvegliata || !fifoSorvegliata->aperta(), "the FIFO was opened");
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainMovimenti)
#include "tst_frmmain_movimenti.moc"
