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
#include <unistd.h>

namespace {

const QString kErroreSalvataggio = QStringLiteral("Errore nel salvataggio dei dati");
const QStringList kDati = {"Info.ini", "Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"};

// The database of generation g: every record says which save wrote it, and
// the sizes change from one generation to the next, so a reload shows
// whether it got one whole generation.
void Generazione(Stato &s, int g)
{
    s.NumTipi = g % 7 + 1;
    s.Tipi.clear();
    for (int i = 1; i <= s.NumTipi; ++i)
        s.Tipi.append({i, QStringLiteral("T%1-%2").arg(g).arg(i)});
    s.NumComponenti = (g * 37) % 300 + 1;
    s.Componenti.clear();
    for (int i = 1; i <= s.NumComponenti; ++i) {
        Componente c;
        c.ID = i;
        c.Codice = QStringLiteral("C%1-%2").arg(g).arg(i);
        c.Descrizione = QString(i % 50, QLatin1Char('d'));
        c.Quantita = g;
        c.DataInserimento = DataUtc(2020, 1, 1).addDays(g % 1000);
        s.Componenti.append(c);
    }
    s.ProssimoIDComponente = 1000 + g;
}

// Checks that the loaded state is exactly one generation (0: the empty
// database of a first start).
QString GenerazioneIntera(const Stato &s)
{
    if (s.ProssimoIDComponente == 1)
        return s.NumComponenti == 0 && s.NumTipi == 0 ? QString() : QStringLiteral("prima generazione sporca");
    Stato atteso;
    Generazione(atteso, s.ProssimoIDComponente - 1000);
    return StessiDati(s, atteso) ? QString()
                                 : QStringLiteral("generazione %1 mescolata").arg(s.ProssimoIDComponente - 1000);
}

// Child process: starts on the folder and saves generation after generation
// until it is killed.
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

struct Avviato {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    Avviato() { QVERIFY(Main(stato, dialoghi, cartella.percorso())); }
};

// A fresh start on the folder; the loaded state, or a failure.
bool Riavvia(const QString &cartella, Stato *stato)
{
    DialoghiFinti d;
    const bool ok = Main(*stato, d, cartella);
    return ok && d.boxes().isEmpty();
}

bool Avanzi(const QString &cartella)
{
    for (const QString &nome : QDir(cartella).entryList(QDir::Files | QDir::Hidden)) {
        if (nome.endsWith(QLatin1String(".nuovo")) || nome == NomeGiornale)
            return true;
    }
    return false;
}

} // namespace

class TestSalvataggio : public QObject {
    Q_OBJECT
private slots:
    void guastoAOgniFile_data()
    {
        QTest::addColumn<int>("file");
        for (int i = 0; i < kDati.size(); ++i)
            QTest::newRow(qPrintable(kDati[i])) << i;
    }
    void guastoAOgniFile()
    {
        QFETCH(int, file);
        Avviato a;
        RiempiStatoDiEsempio(a.stato);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const Stato vecchio = a.stato;
        const auto prima = Istantanea(a.cartella.percorso());

        Generazione(a.stato, 5);
        a.stato.Etichette[2] = QStringLiteral("nuova");
        const Stato nuovo = a.stato;
        GuastoScrittura guasto;
        guasto.fileGuasto = file;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(a.stato, a.dialoghi, guasto));
        QCOMPARE(a.dialoghi.ultimoBox().testo, kErroreSalvataggio);
        QCOMPARE(a.dialoghi.ultimoBox().pulsanti, Pulsanti::Ok);
        QCOMPARE(a.dialoghi.ultimoBox().titolo, QString());
        VERIFICA_DIALOGHI(a.dialoghi);
        QVERIFY(StessiDati(a.stato, nuovo)); // memory keeps the change
        QCOMPARE(a.stato.Etichette[2], QStringLiteral("nuova"));
        QCOMPARE(Istantanea(a.cartella.percorso()), prima); // disk keeps the old set

        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, vecchio));

        // The next save that works writes the new set.
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        Stato ancora;
        QVERIFY(Riavvia(a.cartella.percorso(), &ancora));
        QVERIFY(StessiDati(ancora, nuovo));
        QCOMPARE(ancora.Etichette[2], QStringLiteral("nuova"));
    }

    void interruzioneAOgniPasso_data()
    {
        QTest::addColumn<int>("passi");
        // Five temporaries (1-5), the journal (6), five renames (7-11); the
        // twelfth step, removing the journal, ends the save.
        for (int i = 0; i <= 11; ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i;
    }
    void interruzioneAOgniPasso()
    {
        QFETCH(int, passi);
        Avviato a;
        Generazione(a.stato, 1);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        Generazione(a.stato, 2);
        GuastoScrittura guasto;
        guasto.interrompiDopoPassi = passi;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(a.stato, a.dialoghi, guasto));

        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(GenerazioneIntera(riletto).isEmpty());
        // Once the journal is in place the new set wins.
        QCOMPARE(riletto.ProssimoIDComponente, passi >= 6 ? 1002 : 1001);
        QVERIFY(!Avanzi(a.cartella.percorso()));
    }

    void fileDiSolaLettura()
    {
        if (::geteuid() == 0)
            qInfo("running as root: the read-only bit is still honoured by the save");
        Avviato a;
        RiempiStatoDiEsempio(a.stato);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const QString tipi = a.stato.percorsi.FileTipi;
        QVERIFY(QFile::setPermissions(tipi, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const auto prima = Istantanea(a.cartella.percorso());
        const Stato vecchio = a.stato;
        a.stato.Tipi[0].Nome = QStringLiteral("CAMBIATO");
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.dialoghi.ultimoBox().testo, kErroreSalvataggio);
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.stato.Tipi[0].Nome, QStringLiteral("CAMBIATO"));
        QVERIFY(QFile::setPermissions(tipi, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, vecchio));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void temporaneoImpossibile()
    {
        // A real write failure that root cannot bypass: a folder sits where
        // a temporary has to go.
        Avviato a;
        RiempiStatoDiEsempio(a.stato);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const auto prima = Istantanea(a.cartella.percorso());
        const Stato vecchio = a.stato;
        QVERIFY(QDir(a.cartella.percorso()).mkpath(QStringLiteral("Produttori.dat.nuovo/x")));
        Generazione(a.stato, 3);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.dialoghi.ultimoBox().testo, kErroreSalvataggio);
        QVERIFY(QDir(a.cartella.file(QStringLiteral("Produttori.dat.nuovo"))).removeRecursively());
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, vecchio));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void conteggioOltreLaTabella()
    {
        Avviato a;
        a.stato.NumTipi = 3; // more than the table holds: refused, nothing written
        const auto prima = Istantanea(a.cartella.percorso());
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.dialoghi.ultimoBox().testo, kErroreSalvataggio);
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void processoUccisoDuranteISalvataggi()
    {
        // ARVO_CICLI_UCCISIONE=N runs N kills whatever they take (a long
        // soak); by default a few dozen within a few seconds.
        bool daAmbiente = false;
        const int richiesti = qEnvironmentVariableIntValue("ARVO_CICLI_UCCISIONE", &daAmbiente);
        const int cicli = daAmbiente && richiesti > 0 ? richiesti : 40;
        const qint64 limite = daAmbiente ? std::numeric_limits<qint64>::max() : 12000;
        CartellaTest cartella;
        QElapsedTimer tempo;
        tempo.start();
        int giri = 0;
        int generazioniViste = 0;
        int interrottiAMeta = 0;
        int ultimaGenerazione = 0;
        while (giri < cicli && tempo.elapsed() < limite) {
            ++giri;
            QProcess figlio;
            figlio.start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--ciclo-salvataggi"), cartella.percorso()});
            QVERIFY(figlio.waitForStarted());
            QVERIFY2(figlio.waitForReadyRead(30000), "the child never saved");
            QThread::msleep(QRandomGenerator::global()->bounded(1, 120));
            figlio.kill();
            QVERIFY(figlio.waitForFinished(30000));
            QCOMPARE(figlio.exitStatus(), QProcess::CrashExit);
            // Killed between the first temporary and the end of a save.
            if (Avanzi(cartella.percorso()))
                ++interrottiAMeta;

            Stato riletto;
            QVERIFY2(Riavvia(cartella.percorso(), &riletto), "a start after a kill failed");
            const QString problema = GenerazioneIntera(riletto);
            QVERIFY2(problema.isEmpty(), qPrintable(problema));
            QVERIFY(!Avanzi(cartella.percorso()));
            QVERIFY(riletto.ProssimoIDComponente > 1000);
            if (riletto.ProssimoIDComponente > 1001)
                ++generazioniViste;
            ultimaGenerazione = riletto.ProssimoIDComponente - 1000;
        }
        qInfo("%d kills and reloads, all whole: %d killed in the middle of a save, %d after "
              "the second save; last generation loaded %d; %lld ms",
              giri, interrottiAMeta, generazioniViste, ultimaGenerazione,
              static_cast<long long>(tempo.elapsed()));
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
