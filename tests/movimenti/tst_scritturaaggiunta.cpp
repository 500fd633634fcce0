// The append entry of the crash-safe writer: a file appended to in the same
// set as files replaced.
#include "common/storicoprova.h"
#include "common/verifiche.h"
#include "store/scritturasicura.h"

#include <QTest>

namespace {

const QByteArray kVecchioA = "vecchio A\r\n";
const QByteArray kVecchioB = "vecchio B\r\n";
const QByteArray kNuovoA = "nuovo A, più lungo\r\n";
const QByteArray kNuovoB = "nuovo B\r\n";
const QByteArray kStorico = "riga 1\r\n";
const QByteArray kAggiunta = "riga 2\r\nriga 3\r\n";

enum class Prima { Presente, Assente };

// The set: two files replaced and the log appended, in that order or with
// the log first.
QList<FileNuovo> Insieme(bool aggiuntaPrima)
{
    QList<FileNuovo> files{{"A.dat", kNuovoA}, {"B.dat", kNuovoB}};
    const FileNuovo log{"Log.csv", kAggiunta, true};
    if (aggiuntaPrima)
        files.prepend(log);
    else
        files.append(log);
    return files;
}

void Prepara(const CartellaTest &c, Prima storico)
{
    c.scrivi("A.dat", kVecchioA);
    c.scrivi("B.dat", kVecchioB);
    if (storico == Prima::Presente)
        c.scrivi("Log.csv", kStorico);
}

// "" when the folder holds the whole old set or the whole new set, as said.
QString Confronta(const CartellaTest &c, Prima storico, bool nuovo)
{
    const QByteArray logPrima = storico == Prima::Presente ? kStorico : QByteArray();
    const QByteArray a = c.leggi("A.dat"), b = c.leggi("B.dat"), log = c.leggi("Log.csv");
    const QByteArray attesoLog = nuovo ? logPrima + kAggiunta : logPrima;
    if (a != (nuovo ? kNuovoA : kVecchioA) || b != (nuovo ? kNuovoB : kVecchioB) || log != attesoLog)
        return QStringLiteral("A=%1 B=%2 Log=%3").arg(QString::fromUtf8(a), QString::fromUtf8(b),
                                                      QString::fromUtf8(log.toPercentEncoding()));
    if (!nuovo && storico == Prima::Assente && c.esiste("Log.csv"))
        return QStringLiteral("Log.csv created by a set that was undone");
    return Avanzi(c.percorso()) ? QStringLiteral("temporaries or journal left behind") : QString();
}

} // namespace

Q_DECLARE_METATYPE(Prima)

class TestScritturaAggiunta : public QObject {
    Q_OBJECT

private slots:
    // The whole set written, the log appended to or created, in any place
    // of the set; an append that fails (a full disk) is cut back at once:
    // the old set stays, nothing is left for a recovery to complete. A kill
    // after each step, then the recovery of the next start: before the
    // journal is in place the old set, from then on the new one.
    void insieme_data()
    {
        // passi, byteAggiunti -1: not stopped there; guasta: the append fails
        Colonne<Prima, bool, int, qsizetype, bool, bool>("storico", "aggiuntaPrima", "passi", "byteAggiunti",
                                                         "guasta", "nuovo");
        for (Prima p : {Prima::Presente, Prima::Assente}) {
            const char *come = p == Prima::Presente ? "appended" : "created";
            QTest::addRow("%s, written", come) << p << false << -1 << qsizetype(-1) << false << true;
            QTest::addRow("%s, the append fails", come) << p << false << -1 << qsizetype(-1) << true << false;
            // Two temporaries (1, 2), the journal (3), the append (4), two
            // renames (5, 6), the journal removed (7).
            for (int passi = 0; passi <= 6; ++passi)
                QTest::addRow("%s, stopped after %d steps", come, passi)
                    << p << false << passi << qsizetype(-1) << false << (passi >= 3);
            for (qsizetype byte : {qsizetype(0), qsizetype(1), qsizetype(9), kAggiunta.size()})
                QTest::addRow("%s, killed after %lld bytes of the append", come, qlonglong(byte))
                    << p << false << -1 << byte << false << true;
        }
        for (const bool guasta : {false, true})
            QTest::addRow("log listed first, %s", guasta ? "the append fails" : "written")
                << Prima::Presente << true << -1 << qsizetype(-1) << guasta << !guasta;
    }
    void insieme()
    {
        const auto [storico, aggiuntaPrima, passi, byteAggiunti, guasta, nuovo] =
            Valori<Prima, bool, int, qsizetype, bool, bool>("storico", "aggiuntaPrima", "passi", "byteAggiunti",
                                                            "guasta", "nuovo");
        const bool interrotto = passi >= 0 || byteAggiunti >= 0;
        CartellaTest c;
        Prepara(c, storico);
        GuastoScrittura guasto;
        guasto.interrompiDopoPassi = passi;
        guasto.aggiuntaInterrotta = byteAggiunti;
        guasto.aggiuntaGuasta = !guasta ? -1 : aggiuntaPrima ? 0 : 2;
        QString errore;
        QCOMPARE(ScriviInsieme(c.percorso(), Insieme(aggiuntaPrima), &errore, guasto), !guasta && !interrotto);
        if (guasta)
            QCOMPARE(errore, "Impossibile scrivere il file " + c.file("Log.csv"));
        if (byteAggiunti >= 0)
            QCOMPARE(c.leggi("Log.csv"), (storico == Prima::Presente ? kStorico : QByteArray())
                                             + kAggiunta.left(byteAggiunti));
        const QByteArray giornale = c.leggi(NomeGiornale);
        if (interrotto) {
            QVERIFY2(RecuperaScrittura(c.percorso(), {"A.dat", "B.dat"}, &errore), qPrintable(errore));
            // A recovery killed before it removed the journal runs again at
            // the next start: the append is not repeated.
            if (!giornale.isEmpty()) {
                QCOMPARE(Confronta(c, storico, nuovo), QString());
                c.scrivi(NomeGiornale, giornale);
                QVERIFY(RecuperaScrittura(c.percorso(), {"A.dat", "B.dat"}));
            }
        }
        QCOMPARE(Confronta(c, storico, nuovo), QString());
        // The next set appends after this one.
        QVERIFY(ScriviInsieme(c.percorso(), {{"Log.csv", "riga 4\r\n", true}}));
        QVERIFY(c.leggi("Log.csv").endsWith((nuovo ? kAggiunta : "") + "riga 4\r\n"));
    }

    // A journal whose appended bytes are cut short, or whose numbers are
    // not numbers, is refused rather than half applied.
    void giornaleDanneggiato_data()
    {
        QTest::addColumn<QByteArray>("giornale");
        QTest::newRow("bytes missing") << QByteArray("A.dat\r\n+8 16 Log.csv\r\nriga 2\r\n");
        QTest::newRow("length not a number") << QByteArray("+otto 1 Log.csv\r\nx");
        QTest::newRow("negative length") << QByteArray("+-1 1 Log.csv\r\nx");
        QTest::newRow("no name") << QByteArray("+8 1\r\nx");
    }
    void giornaleDanneggiato()
    {
        QFETCH(QByteArray, giornale);
        CartellaTest c;
        Prepara(c, Prima::Presente);
        c.scrivi(NomeGiornale, giornale);
        QString errore;
        QVERIFY(!RecuperaScrittura(c.percorso(), {"A.dat", "B.dat"}, &errore));
        QCOMPARE(errore, QStringLiteral("Impossibile leggere il file %1").arg(c.file(NomeGiornale)));
        QCOMPARE(c.leggi("Log.csv"), kStorico);
    }
};

QTEST_GUILESS_MAIN(TestScritturaAggiunta)
#include "tst_scritturaaggiunta.moc"
