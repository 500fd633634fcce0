#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// The database of generation g: every record says which save wrote it and
// the sizes change between generations, so a reload shows whether it got
// one whole generation.
void Generazione(Stato &s, int g)
{
    s.NumTipi = g % 7 + 1;
    s.NumComponenti = (g * 37) % 300 + 1;
    s.Tipi.resize(s.NumTipi);
    s.Componenti.resize(s.NumComponenti);
    for (int i = 0; i < s.NumTipi; ++i)
        s.Tipi[i] = {i + 1, QStringLiteral("T%1-%2").arg(g).arg(i)};
    for (int i = 0; i < s.NumComponenti; ++i) {
        Componente &c = s.Componenti[i] = Componente();
        c.ID = i + 1;
        c.Codice = QStringLiteral("C%1-%2").arg(g).arg(i);
        c.Descrizione = QString(i % 50, QLatin1Char('d'));
        c.Quantita = g;
        c.DataInserimento = DataUtc(2020, 1, g % 28 + 1);
    }
    s.ProssimoIDComponente = 1000 + g;
}

// Empty when the state is exactly one generation.
QString GenerazioneIntera(const Stato &s)
{
    Stato atteso;
    Generazione(atteso, s.ProssimoIDComponente - 1000);
    return StessiDati(s, atteso) ? QString() : QStringLiteral("generazione %1 mescolata").arg(s.ProssimoIDComponente - 1000);
}

// Child process: saves generation after generation until it is killed.
int CicloSalvataggi(const QString &cartella)
{
    Stato s;
    DialoghiFinti d;
    if (!Main(s, d, cartella))
        return 2;
    for (int g = 1;; ++g) {
        Generazione(s, g);
        if (!SalvaDatabase(s, d))
            return 3;
        if (g == 1) {
            std::fputs("pronto\n", stdout);
            std::fflush(stdout);
        }
    }
}

// A fresh start on the folder that shows no box.
bool Riavvia(const QString &cartella, Stato *stato)
{
    DialoghiFinti d;
    return Main(*stato, d, cartella) && d.boxes().isEmpty();
}

bool Avanzi(const QString &cartella)
{
    for (const QString &nome : QDir(cartella).entryList(QDir::Files | QDir::Hidden)) {
        if (nome.endsWith(QLatin1String(".nuovo")) || nome == NomeGiornale)
            return true;
    }
    return false;
}

enum class Ostacolo { Seam, Interruzione, SolaLettura, CartellaTemporaneo, ConteggioOltre };

} // namespace

class TestSalvataggio : public QObject {
    Q_OBJECT
private slots:
    // A save that fails: the message, memory keeps the change, a restart
    // loads one whole set (the new one only once the journal was in place);
    // once the cause is gone the next save writes the new set.
    void salvataggioFallito_data()
    {
        QTest::addColumn<Ostacolo>("ostacolo");
        QTest::addColumn<int>("file");
        const char *nomi[] = {"Info.ini", "Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"};
        for (int i = 0; i < 5; ++i)
            QTest::addRow("seam at %s", nomi[i]) << Ostacolo::Seam << i;
        // Five temporaries (1-5), the journal (6), five renames (7-11); the
        // twelfth step, removing the journal, ends the save.
        for (int i = 0; i <= 11; ++i)
            QTest::addRow("stopped after %d steps", i) << Ostacolo::Interruzione << i;
        QTest::newRow("read-only Tipi.dat") << Ostacolo::SolaLettura << -1;
        QTest::newRow("folder where a temporary goes") << Ostacolo::CartellaTemporaneo << -1;
        QTest::newRow("count beyond the table") << Ostacolo::ConteggioOltre << -1;
    }
    void salvataggioFallito()
    {
        QFETCH(Ostacolo, ostacolo);
        QFETCH(int, file);
        struct {
            CartellaTest cartella;
            Stato stato;
            DialoghiFinti dialoghi;
        } a;
        QVERIFY(Main(a.stato, a.dialoghi, a.cartella.percorso()));
        RiempiStatoDiEsempio(a.stato);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const Stato vecchio = a.stato;
        const auto prima = Istantanea(a.cartella.percorso());
        Generazione(a.stato, 5);
        a.stato.Etichette[2] = QStringLiteral("nuova");
        const Stato nuovo = a.stato;
        const QString tipi = a.stato.percorsi.FileTipi;
        const QString temporaneo = a.cartella.file(QStringLiteral("Produttori.dat.nuovo"));
        GuastoScrittura guasto;
        (ostacolo == Ostacolo::Interruzione ? guasto.interrompiDopoPassi : guasto.fileGuasto) = file;
        if (ostacolo == Ostacolo::SolaLettura) // honoured even when running as root
            QVERIFY(QFile::setPermissions(tipi, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        if (ostacolo == Ostacolo::CartellaTemporaneo)
            QVERIFY(QDir().mkpath(temporaneo + "/x"));
        if (ostacolo == Ostacolo::ConteggioOltre)
            ++a.stato.NumTipi;

        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(a.stato, a.dialoghi, guasto));
        const auto box = a.dialoghi.ultimoBox();
        QCOMPARE(box.testo, QStringLiteral("Errore nel salvataggio dei dati"));
        QVERIFY(box.pulsanti == Pulsanti::Ok && box.titolo.isEmpty());
        VERIFICA_DIALOGHI(a.dialoghi);
        QCOMPARE(a.stato.Etichette[2], QStringLiteral("nuova"));

        QVERIFY(QFile::setPermissions(tipi, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QDir(temporaneo).removeRecursively());
        if (ostacolo == Ostacolo::ConteggioOltre)
            --a.stato.NumTipi;
        QVERIFY(StessiDati(a.stato, nuovo));
        if (ostacolo != Ostacolo::Interruzione)
            QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, ostacolo == Ostacolo::Interruzione && file >= 6 ? nuovo : vecchio));
        QVERIFY(!Avanzi(a.cartella.percorso()));

        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, nuovo));
        QCOMPARE(riletto.Etichette[2], QStringLiteral("nuova"));
    }

    void processoUccisoDuranteISalvataggi()
    {
        // ARVO_CICLI_UCCISIONE=N runs N kills whatever they take (a long
        // soak); by default a few dozen within a few seconds.
        const int richiesti = qEnvironmentVariableIntValue("ARVO_CICLI_UCCISIONE");
        const int cicli = richiesti > 0 ? richiesti : 40;
        const qint64 limite = richiesti > 0 ? std::numeric_limits<qint64>::max() : 12000;
        CartellaTest cartella;
        QElapsedTimer tempo;
        tempo.start();
        int giri = 0, interrottiAMeta = 0, oltreLaSeconda = 0;
        for (; giri < cicli && tempo.elapsed() < limite; ++giri) {
            QProcess figlio;
            figlio.start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--ciclo-salvataggi"), cartella.percorso()});
            QVERIFY2(figlio.waitForReadyRead(30000), "the child never saved");
            QThread::msleep(QRandomGenerator::global()->bounded(1, 120));
            figlio.kill();
            QVERIFY(figlio.waitForFinished(30000));
            QCOMPARE(figlio.exitStatus(), QProcess::CrashExit);
            interrottiAMeta += Avanzi(cartella.percorso());

            Stato riletto;
            QVERIFY2(Riavvia(cartella.percorso(), &riletto), "a start after a kill failed");
            const QString problema = GenerazioneIntera(riletto);
            QVERIFY2(problema.isEmpty(), qPrintable(problema));
            QVERIFY(!Avanzi(cartella.percorso()));
            QVERIFY(riletto.ProssimoIDComponente > 1000);
            oltreLaSeconda += riletto.ProssimoIDComponente > 1001;
        }
        qInfo("%d kills and reloads, all whole: %d killed in the middle of a save, %d after the second save",
              giri, interrottiAMeta, oltreLaSeconda);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--ciclo-salvataggi") == 0)
        return CicloSalvataggi(QString::fromLocal8Bit(argv[2]));
    TestSalvataggio test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_salvataggio.moc"
