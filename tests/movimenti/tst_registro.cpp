// Writing the history with the tables: the lines of an operation numbered
// after the file's last whole line and appended in the same crash-safe set
// as the tables, so that a failure, an interruption at any step or a kill
// of the process leaves both or neither.
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "copie/copie.h"
#include "movimenti/indice.h"
#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
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

const QDateTime kMomento(QDate(2025, 3, 7), QTime(9, 5, 1, 987));

QByteArray Riga(qint64 op, const char *movimento, qint32 id, std::optional<qint32> prima, std::optional<qint32> dopo)
{
    RigaMovimento r;
    r.momento = QDateTime(QDate(2025, 3, 7), QTime(9, 5, 1));
    r.operazione = op;
    r.movimento = QString::fromUtf8(movimento);
    r.id = id;
    r.codice = QStringLiteral("C%1").arg(id);
    r.prima = prima;
    r.dopo = dopo;
    return TestoRigaMovimento(r);
}

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

// A started folder with the example database saved, and a first operation
// in the history.
struct Archivio {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    Archivio()
    {
        ImpostaAdesso(kMomento);
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        RiempiStatoDiEsempio(stato);
        QVERIFY(SalvaOperazione(stato, dialoghi, {RigaCreazione(stato.Componenti[0], "Nuovo")}));
    }
    ~Archivio() { ImpostaAdesso(QDateTime()); }
    QByteArray storico() const { return cartella.leggi(NomeFileMovimenti); }
};

// ------------------------------------------------ the child that gets killed

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
    if (g == 0)
        return tutto.isEmpty() ? QString() : QStringLiteral("history without operations in the tables");
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

class TestRegistro : public QObject {
    Q_OBJECT

private slots:
    // What the end of the file says: a new file, a line cut short, the
    // number of the last line that reads.
    void coda_data()
    {
        QTest::addColumn<QByteArray>("contenuto"); // "<assente>": no file
        QTest::addColumn<bool>("nuovo");
        QTest::addColumn<bool>("troncata");
        QTest::addColumn<qint64>("ultima");
        const QByteArray testa = IntestazioneMovimenti();
        const QByteArray due = Riga(1, "Nuovo", 1, std::nullopt, 3) + Riga(2, "Modifica", 1, 3, 4)
                             + Riga(2, "Modifica", 2, 3, 4);
        QTest::newRow("no file") << QByteArray("<assente>") << true << false << qint64(0);
        QTest::newRow("empty file") << QByteArray() << true << false << qint64(0);
        QTest::newRow("header only") << testa << false << false << qint64(0);
        QTest::newRow("two operations") << testa + due << false << false << qint64(2);
        QTest::newRow("line cut short") << testa + due + Riga(3, "Nuovo", 5, std::nullopt, 1).left(30) << false
                                        << true << qint64(2);
        QTest::newRow("cut inside the line end")
            << testa + Riga(1, "Nuovo", 1, std::nullopt, 3) + Riga(2, "Modifica", 1, 3, 4).chopped(1) << false << true
            << qint64(1);
        QTest::newRow("cut line ended by an append")
            << testa + due + Riga(3, "Nuovo", 5, std::nullopt, 1).left(30) + "\r\n" << false << false << qint64(2);
        QTest::newRow("no header") << due << false << false << qint64(2);
        QTest::newRow("line ends LF") << testa + QByteArray(due).replace("\r\n", "\n") << false << false << qint64(2);
        QTest::newRow("a long damaged line last")
            << testa + due + QByteArray(200000, 'x') + "\r\n" << false << false << qint64(2);
        QTest::newRow("only a long line") << QByteArray(200000, 'x') << false << true << qint64(0);
        QTest::newRow("header cut short") << testa.left(20) << false << true << qint64(0);
    }
    void coda()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(bool, nuovo);
        QFETCH(bool, troncata);
        QFETCH(qint64, ultima);
        CartellaTest c;
        if (contenuto != "<assente>")
            c.scrivi("Movimenti.csv", contenuto);
        const auto coda = LeggiCodaMovimenti(c.file("Movimenti.csv"));
        QVERIFY(coda);
        QCOMPARE(coda->nuovo, nuovo);
        QCOMPARE(coda->rigaTroncata, troncata);
        QCOMPARE(coda->ultimaOperazione, ultima);
    }

    void codaIlleggibile()
    {
        CartellaTest c;
        QVERIFY(QDir().mkpath(c.file("Movimenti.csv")));
        QString errore;
        QVERIFY(!LeggiCodaMovimenti(c.file("Movimenti.csv"), &errore));
        QCOMPARE(errore, QStringLiteral("Impossibile leggere il file %1").arg(c.file("Movimenti.csv")));
    }

    // Operation after operation, byte for byte: the header once, numbers
    // from the last whole line, a line cut short left on its own line.
    void operazioniInSequenza()
    {
        Archivio a;
        const QByteArray primo = IntestazioneMovimenti() + Riga(1, "Nuovo", 12, std::nullopt, 10)
                                     .replace("\"C12\";\"\"", "\"NE555\";\"ACME\"");
        QCOMPARE(a.storico(), primo);

        Componente &c = a.stato.Componenti[1];
        const Componente prima = c;
        c.Quantita = 30;
        qint64 numero = 0;
        QVERIFY(SalvaOperazione(a.stato, a.dialoghi, RigheSalvataggio(&prima, c), &numero));
        QCOMPARE(numero, 2);
        const QByteArray secondo = a.storico();
        QVERIFY(secondo.startsWith(primo));
        QCOMPARE(secondo.mid(primo.size()),
                 QByteArray("\"2025-03-07 09:05:01\";\"2\";\"Modifica\";\"13\";\"BC547B\";\"Società Più\";"
                            "\"-25\";\"30\";\"+55\";\"\";\"\"\r\n"));

        // No lines: the tables alone, the history untouched.
        QVERIFY(SalvaOperazione(a.stato, a.dialoghi, {}, &numero));
        QCOMPARE(a.storico(), secondo);

        // A power cut left half a line: it stays on a line of its own, and
        // the number follows the last whole line.
        QFile f(a.cartella.file("Movimenti.csv"));
        QVERIFY(f.open(QIODevice::Append));
        f.write("\"2025-03-07 09:06:00\";\"3\";\"Nuo");
        f.close();
        const QByteArray conMezza = a.storico();
        QVERIFY(SalvaOperazione(a.stato, a.dialoghi, RigheEliminazione(a.stato.Componenti[0]), &numero));
        QCOMPARE(numero, 3);
        QVERIFY(a.storico().startsWith(conMezza + "\r\n\"2025-03-07 09:05:01\";\"3\";\"Eliminazione\";\"12\";"));
        IndiceMovimenti indice;
        QVERIFY(indice.apri(a.cartella.file("Movimenti.csv")));
        QCOMPARE(indice.conteggio(), 3);
        QCOMPARE(indice.operazione(2), 3);
        QVERIFY(a.dialoghi.boxes().isEmpty());
    }

    // A save that fails at any step: the tables and the history are both
    // old or both new once the next start has recovered.
    void salvataggioInterrotto_data()
    {
        QTest::addColumn<int>("passi");
        QTest::addColumn<qsizetype>("byteAggiunti");
        QTest::addColumn<int>("aggiuntaGuasta");
        QTest::addColumn<bool>("nuovo");
        // Five temporaries (1-5), the journal (6), the append (7), five
        // renames (8-12), the journal removed (13).
        for (int passi = 0; passi <= 12; ++passi)
            QTest::addRow("stopped after %d steps", passi) << passi << qsizetype(-1) << -1 << (passi >= 6);
        for (qsizetype byte : {qsizetype(0), qsizetype(5), qsizetype(200)})
            QTest::addRow("killed after %lld bytes of the lines", qlonglong(byte)) << -1 << byte << -1 << true;
        QTest::newRow("the append fails") << -1 << qsizetype(-1) << 5 << false;
    }
    void salvataggioInterrotto()
    {
        QFETCH(int, passi);
        QFETCH(qsizetype, byteAggiunti);
        QFETCH(int, aggiuntaGuasta);
        QFETCH(bool, nuovo);
        Archivio a;
        const Stato vecchio = a.stato;
        const QByteArray storicoVecchio = a.storico();
        a.stato.Componenti[0].Quantita = 99;
        a.stato.Componenti[1].Note = "nota";
        const QList<RigaMovimento> righe = RigheDaConfronto(vecchio, a.stato, "Modifica");
        const Stato atteso = a.stato;
        GuastoScrittura guasto;
        guasto.interrompiDopoPassi = passi;
        guasto.aggiuntaInterrotta = byteAggiunti;
        guasto.aggiuntaGuasta = aggiuntaGuasta;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaOperazione(a.stato, a.dialoghi, righe, guasto));
        QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        VERIFICA_DIALOGHI(a.dialoghi);
        // A failed append is cut back at once.
        if (aggiuntaGuasta >= 0)
            QCOMPARE(a.storico(), storicoVecchio);

        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(!Avanzi(a.cartella.percorso()));
        QVERIFY(StessiDati(riletto, nuovo ? atteso : vecchio));
        const QByteArray linee =
            TestoAggiunta({false, false, 1}, righe, 2, QDateTime(QDate(2025, 3, 7), QTime(9, 5, 1)));
        QCOMPARE(a.storico(), nuovo ? storicoVecchio + linee : storicoVecchio);

        // The next operation is numbered after what is there.
        qint64 numero = 0;
        QVERIFY(SalvaOperazione(riletto, a.dialoghi, RigheEliminazione(riletto.Componenti[0]), &numero));
        QCOMPARE(numero, nuovo ? 3 : 2);
    }

    // A history that cannot be read or written stops the save: the tables
    // stay as they were, the user is told. (A file its owner made read-only
    // is refused even to the superuser.)
    void storicoInutilizzabile_data()
    {
        QTest::addColumn<QString>("come");
        QTest::newRow("a folder") << "cartella";
        QTest::newRow("read-only") << "sola lettura";
    }
    void storicoInutilizzabile()
    {
        QFETCH(QString, come);
        Archivio a;
        if (come == "cartella") {
            QVERIFY(QFile::remove(a.cartella.file("Movimenti.csv")));
            QVERIFY(QDir().mkpath(a.cartella.file("Movimenti.csv")));
        } else {
            QVERIFY(QFile::setPermissions(a.cartella.file("Movimenti.csv"), QFileDevice::ReadOwner));
        }
        const auto prima = Istantanea(a.cartella.percorso());
        a.stato.Componenti[0].Quantita = 1;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaOperazione(a.stato, a.dialoghi, RigheEliminazione(a.stato.Componenti[0])));
        QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void solaLettura()
    {
        Archivio a;
        const auto prima = Istantanea(a.cartella.percorso());
        a.stato.SolaLettura = true;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaOperazione(a.stato, a.dialoghi, RigheEliminazione(a.stato.Componenti[0])));
        QCOMPARE(a.dialoghi.ultimoBox().testo, MessaggioSolaLettura);
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The process killed at random moments while it saves operation after
    // operation on 20,000 components: every start finds the history and
    // the tables of one and the same operation.
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
            const QString problema = StoricoCoerente(cartella.percorso(), riletto);
            QVERIFY2(problema.isEmpty(), qPrintable(problema));
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
    TestRegistro test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registro.moc"
