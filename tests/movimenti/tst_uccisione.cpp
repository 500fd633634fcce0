// The process killed at random moments while it saves operation after
// operation with their history lines on 20,000 components: every start
// finds the history and the tables of one and the same operation.

#include "common/storicoprova.h"
#include "copie/copie.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr int kComponentiUccisione = 20000;
constexpr qint32 kBaseID = 100000;

// Generation g changes three components (their quantity becomes g*10+k)
// and counts itself in the next ID; its operation is number g.
QList<RigaMovimento> Generazione(Stato &s, int g)
{
    QList<RigaMovimento> righe;
    for (int k = 0; k < 3; ++k) {
        Componente &c = s.Componenti[(qint64(g) * 3 + k) * 7919 % kComponentiUccisione];
        const Componente prima = c;
        c.Quantita = g * 10 + k;
        righe.append(*RigaCambio(prima, c, "Prelievo pezzi"));
    }
    s.ProssimoIDComponente = kBaseID + g;
    return righe;
}

void PreparaUccisione(const QString &cartella)
{
    Stato s;
    DialoghiFinti d;
    QVERIFY(Main(s, d, cartella));
    s.NumComponenti = kComponentiUccisione;
    s.Componenti.resize(kComponentiUccisione);
    for (int i = 0; i < kComponentiUccisione; ++i) {
        Componente &c = s.Componenti[i];
        c.ID = i + 1;
        c.Codice = QStringLiteral("C%1").arg(i + 1);
        c.Descrizione = QStringLiteral("Componente di prova numero %1").arg(i);
        c.DataInserimento = DataUtc(2020, 1, i % 28 + 1);
    }
    s.ProssimoIDComponente = kBaseID;
    QVERIFY(SalvaDatabase(s, d));
}

// Child process: one operation after another until it is killed, each
// following the generation it found.
int CicloOperazioni(const QString &cartella)
{
    ImpostaCopieAllAvvio(false);
    Stato s;
    DialoghiFinti d;
    if (!Main(s, d, cartella))
        return 2;
    for (int g = s.ProssimoIDComponente - kBaseID + 1;; ++g) {
        const QList<RigaMovimento> righe = Generazione(s, g);
        if (!SalvaOperazione(s, d, righe))
            return 3;
        std::fputs("salvato\n", stdout);
        std::fflush(stdout);
    }
}

// Empty when the history holds exactly the operations of the generation
// in the tables, each whole, and the tables agree with its last lines.
QString StoricoCoerente(const QString &cartella, const Stato &s)
{
    const int g = s.ProssimoIDComponente - kBaseID;
    IndiceMovimenti indice;
    if (!indice.apri(cartella + QStringLiteral("/Movimenti.csv")))
        return QStringLiteral("history unreadable");
    QFile f(cartella + QStringLiteral("/Movimenti.csv"));
    const QByteArray tutto = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (indice.conteggio() != 3 * g || tutto.count('\n') != 3 * g + 1 || !tutto.endsWith("\r\n"))
        return QStringLiteral("generation %1 with %2 lines").arg(g).arg(indice.conteggio());
    for (qsizetype i = indice.conteggio() - 3; i < indice.conteggio(); ++i) {
        const auto r = indice.riga(i);
        if (!r || r->operazione != g || s.Componenti[r->id - 1].Quantita != *r->dopo)
            return QStringLiteral("line %1 does not match generation %2").arg(i).arg(g);
    }
    return {};
}

} // namespace

class TestUccisione : public QObject {
    Q_OBJECT
private slots:
    void processoUccisoConStorico()
    {
        const int richiesti = qEnvironmentVariableIntValue("ARVO_CICLI_UCCISIONE");
        const int cicli = richiesti > 0 ? richiesti : 30;
        const qint64 limite = richiesti > 0 ? std::numeric_limits<qint64>::max() : 25000;
        ImpostaCopieAllAvvio(false);
        CartellaTest cartella;
        PreparaUccisione(cartella.percorso());
        QElapsedTimer tempo;
        tempo.start();
        int giri = 0, interrottiAMeta = 0, ultimaGenerazione = 0;
        for (; giri < cicli && tempo.elapsed() < limite; ++giri) {
            QProcess figlio;
            figlio.start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--ciclo-operazioni"), cartella.percorso()});
            QVERIFY2(figlio.waitForReadyRead(60000), "the child never saved");
            QThread::msleep(QRandomGenerator::global()->bounded(1, 400));
            figlio.kill();
            QVERIFY(figlio.waitForFinished(30000));
            QCOMPARE(figlio.exitStatus(), QProcess::CrashExit);
            interrottiAMeta += Avanzi(cartella.percorso());

            Stato riletto;
            QVERIFY2(Riavvia(cartella.percorso(), &riletto), "a start after a kill failed");
            QVERIFY(!Avanzi(cartella.percorso()));
            QCOMPARE(StoricoCoerente(cartella.percorso(), riletto), QString());
            QVERIFY(riletto.ProssimoIDComponente - kBaseID > ultimaGenerazione);
            ultimaGenerazione = riletto.ProssimoIDComponente - kBaseID;
        }
        ImpostaCopieAllAvvio(true);
        qInfo("%d kills and starts, all whole: %d killed in the middle of a save, %d operations in all",
              giri, interrottiAMeta, ultimaGenerazione);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--ciclo-operazioni") == 0)
        return CicloOperazioni(QString::fromLocal8Bit(argv[2]));
    TestUccisione test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uccisione.moc"
