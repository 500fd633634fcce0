// Start-up on fresh, saved, damaged and hostile program folders: counts no
// file can hold, lines of many megabytes, binary garbage, folders where files
// belong. Each start loads what the reading rules say or shows its one
// message; none crashes, hangs or allocates beyond the size of its files
// (the sanitizer build aborts on an allocation as large as a count of two
// billion would ask for).
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "copie/copie.h"
#include "startup/avvio.h"
#include "startup/bloccocartella.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using File = QMap<QString, QByteArray>; // a value "<cartella>" makes a folder

namespace {

const QString kErroreApertura = QStringLiteral("Errore nell'apertura files del DB");
constexpr qsizetype kDieciMega = 10 * 1024 * 1024;

QString ErroreMain(int numero, const QString &descrizione)
{
    return QStringLiteral("Errore n. %1: ").arg(numero) + descrizione + QStringLiteral(".\r\nIn Modulo Main");
}

QString NonNumero(const char *chiave)
{
    return ErroreMain(13, QStringLiteral("Tipo non corrispondente: il valore di \"%1\" in Info.ini "
                                         "non è un numero valido").arg(QLatin1String(chiave)));
}

QByteArray Ini(const QByteArray &counter, const QByteArray &altro = {})
{
    return "[Versione]\r\nVersione=10.2.0\r\n[Counter]\r\n" + counter + "\r\n" + altro;
}

// Deterministic bytes of every value.
QByteArray Rumore(qsizetype n)
{
    QByteArray b(n, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qsizetype i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b[i] = char(x & 0xFF);
    }
    return b;
}

void Scrivi(const CartellaTest &c, const File &file)
{
    for (auto it = file.cbegin(); it != file.cend(); ++it) {
        if (it.value() == "<cartella>")
            QVERIFY(QDir(c.percorso()).mkpath(it.key()));
        else
            c.scrivi(it.key(), it.value());
    }
}

// Starts on the folder: the empty text when it started without any box, else
// the text of the one box it showed (an OK box with no icon and the default
// title), or what went wrong instead.
QString Avvia(const QString &cartella, Stato *stato = nullptr)
{
    Stato s;
    DialoghiFinti d;
    d.setNextAnswer(Risposta::Ok);
    if (Main(stato ? *stato : s, d, cartella))
        return d.boxes().isEmpty() ? QString() : QStringLiteral("<avviato con un box>");
    const auto box = d.ultimoBox();
    const bool comeAtteso = d.problemi().isEmpty() && box.pulsanti == Pulsanti::Ok
                         && box.icona == Icona::Nessuna && box.titolo.isEmpty();
    return comeAtteso ? box.testo : QStringLiteral("<box inatteso> ") + d.problemi();
}

// A program folder after a first start, a save of the example database and
// one more start, which loads it and copies the files as found into Backups.
struct ConDati {
    CartellaTest cartella;
    ConDati()
    {
        DialoghiFinti d;
        Stato salvato, riletto;
        QVERIFY(Main(salvato, d, cartella.percorso()));
        RiempiStatoDiEsempio(salvato);
        QVERIFY(SalvaDatabase(salvato, d));
        QVERIFY(Main(riletto, d, cartella.percorso()));
        QVERIFY(StessiDati(riletto, salvato));
        for (const QString f : {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat", "Info.ini"})
            QCOMPARE(cartella.leggi("Backups/" + f), cartella.leggi(f));
        VERIFICA_DIALOGHI(d);
    }
};


const QString kBlocco = QStringLiteral("Arvo.lock");

QString Nativo(const QString &percorso)
{
    return QDir::toNativeSeparators(percorso);
}

QString TestoOccupato(const QString &cartella)
{
    return "Un'altra copia di Arvo sta già usando la cartella\r\n" + Nativo(cartella)
         + "\r\nChiudere l'altra copia prima di avviarne una nuova.";
}

QString TestoDaRimuovere(const QString &cartella)
{
    return "Impossibile usare il file di blocco\r\n" + Nativo(cartella + "/Arvo.lock")
         + "\r\nSe nessun'altra copia di Arvo sta usando la cartella\r\n" + Nativo(cartella)
         + "\r\neliminare il file di blocco e riavviare il programma.";
}

// The process ID written in the folder's lock file, 0 when there is none.
qint64 PidNelBlocco(const CartellaTest &c)
{
    return c.leggi(kBlocco).split('\n').value(0).toLongLong();
}

// Answers every box with OK and writes it on the standard output, one line
// each: "box", the icon's number, the text with "|" for a line break.
class DialoghiStampati : public Dialoghi {
public:
    Risposta messaggio(const QString &testo, Icona icona, Pulsanti, const QString &) override
    {
        std::printf("box %d %s\n", int(icona), qUtf8Printable(QString(testo).replace("\r\n", "|")));
        std::fflush(stdout);
        return Risposta::Ok;
    }
    QString apriFile(const QString &, const QString &, const QString &) override { return {}; }
    bool avviaProgramma(const QString &, const QStringList &) override { return false; }
    bool apriDocumento(const QString &) override { return false; }
};

// Child process: the program's start-up on the folder, keeping the lock
// until its standard input is closed. Exits with 1 when start-up refused.
int AvvioFiglio(const QString &cartella)
{
    Stato stato;
    DialoghiStampati dialoghi;
    BloccoCartella blocco;
    if (!Main(stato, dialoghi, cartella, blocco))
        return 1;
    std::puts("pronto");
    std::fflush(stdout);
    char riga[64];
    while (std::fgets(riga, sizeof riga, stdin)) {
    }
    return 0;
}

void AvviaFiglio(QProcess &figlio, const QString &cartella)
{
    figlio.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--avvio"), cartella});
}

// What a child wrote until it said it is running (true) or ended (false).
bool AttendiPronto(QProcess &figlio, QByteArray *uscita)
{
    while (!uscita->contains("pronto\n")) {
        if (!figlio.waitForReadyRead(30000)) {
            *uscita += figlio.readAllStandardOutput();
            return uscita->contains("pronto\n");
        }
        *uscita += figlio.readAllStandardOutput();
    }
    return true;
}

// How a folder's lock file is found when a program starts on it.
enum class BloccoTrovato {
    Nessuno,
    ProprietarioMorto,
    VuotoVecchio,
    DanneggiatoVecchio,
    VuotoAppenaScritto,
    VuotoMaTenuto,
    Cartella,
    CollegamentoRotto,
    AltroComputer,
    TenutoDaUnAltro,
};

} // namespace

namespace {
} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private slots:
    void primoESecondoAvvio()
    {
        CartellaTest c;
        DialoghiFinti d;
        Stato primo, secondo;
        File attesa{{"Info.ini", IniPrimoAvvio()}, {"Backups/Info.ini", IniPrimoAvvio()}};
        for (const QString t : {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"}) {
            attesa.insert(t, QByteArray());
            attesa.insert("Backups/" + t, QByteArray());
        }
        for (const QString f : {"Datasheet", "Pics", "Packages", "Exported", "Stampe", "Backups", "Backups/Copie"})
            attesa.insert(f, "<cartella>");
        // Each start adds its dated copy of the five files as loaded.
        auto conCopia = [&](const QString &nome) {
            const QString copia = "Backups/Copie/" + nome + '/';
            attesa.insert(copia.chopped(1), "<cartella>");
            for (const QString f : {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat", "Info.ini"})
                attesa.insert(copia + f, attesa.value(f));
            attesa.insert(copia + "Riepilogo.txt", "Componenti=0\r\nPezzi=0\r\n");
        };
        ImpostaAdesso(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 33)));
        QVERIFY(Main(primo, d, c.percorso()));
        QVERIFY(primo.PrimoAvvio);
        conCopia("2026-12-07_09-05-33");
        QCOMPARE(Istantanea(c.percorso()), attesa); // and nothing else
        ImpostaAdesso(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
        QVERIFY(Main(secondo, d, c.percorso()));
        ImpostaAdesso({});
        QVERIFY(!secondo.PrimoAvvio);
        conCopia("2026-12-08_10-00-00");
        QCOMPARE(Istantanea(c.percorso()), attesa);
        VERIFICA_DIALOGHI(d);
    }

    void soloCounter()
    {
        CartellaTest c;
        c.scrivi("Info.ini", "[Counter]\r\n");
        Stato s;
        QCOMPARE(Avvia(c.percorso(), &s), QString());
        QVERIFY(!s.PrimoAvvio);
        // Every missing key is written back with its default, the backup after the rewrite.
        const QByteArray atteso =
            "[Counter]\r\nNumero Componenti=0\r\nNumero Tipi=0\r\nNumero Produttori=0\r\n"
            "Numero Packages=0\r\nProssimo ID Componente=1\r\nProssimo ID Tipi=1\r\n"
            "Prossimo ID Produttori=1\r\nProssimo ID Package=1\r\n[Versione]\r\nVersione=10.2.0 \r\n"
            "[Options]\r\nImmagini dimensioni reali=True\r\nSeparatore CSV=,\r\nTema Chiaro=True\r\n"
            "[Custom]\r\nCampo personale 1=Campo Personale1\r\nCampo personale 2=Campo Personale2\r\n"
            "Campo personale 3=Campo Personale3\r\nCampo personale 4=Campo Personale4\r\n"
            "Campo personale 5=Campo Personale5\r\nCampo personale 6=Campo Personale6\r\n";
        QCOMPARE(c.leggi("Info.ini"), atteso);
        QCOMPARE(c.leggi("Backups/Info.ini"), atteso);
    }

    // A saved folder damaged by hand: the load message, nothing written, the
    // previous good copies still in Backups.
    void caricamentoFallitoNonToccaNulla_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("daCercare");
        QTest::addColumn<QByteArray>("sostituto"); // null: the file is removed
        QTest::newRow("fewer types than counted") << "Info.ini" << QByteArray("Numero Tipi=2") << QByteArray("Numero Tipi=3");
        QTest::newRow("impossible date") << "Componenti.dat" << QByteArray("#2024-10-09#") << QByteArray("#2024-99-09#");
        QTest::newRow("date never closed") << "Componenti.dat" << QByteArray("#2024-10-09#") << QByteArray("#2024-10-09");
        QTest::newRow("number beyond 32 bits") << "Componenti.dat" << QByteArray("12,3,5,") << QByteArray("2147483648,3,5,");
        QTest::newRow("quote never closed") << "Componenti.dat" << QByteArray("\"NE555\"") << QByteArray("\"NE555");
        QTest::newRow("record cut short") << "Tipi.dat" << QByteArray("4,\"TRANSISTOR, BJT\"\r\n") << QByteArray("4\r\n");
        QTest::newRow("counted table missing") << "Produttori.dat" << QByteArray() << QByteArray();
    }
    void caricamentoFallitoNonToccaNulla()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, daCercare);
        QFETCH(QByteArray, sostituto);
        ConDati a;
        const QByteArray buono = a.cartella.leggi(file);
        QVERIFY(buono.contains(daCercare));
        if (sostituto.isNull())
            QVERIFY(QFile::remove(a.cartella.file(file)));
        else
            a.cartella.scrivi(file, QByteArray(buono).replace(daCercare, sostituto));
        auto attesa = Istantanea(a.cartella.percorso());
        attesa.insert(file, attesa.value(file)); // a missing table is created empty
        QCOMPARE(Avvia(a.cartella.percorso()), kErroreApertura);
        QCOMPARE(Istantanea(a.cartella.percorso()), attesa);
        QCOMPARE(a.cartella.leggi("Backups/" + file), buono);
    }

    // Folders on which start-up stops with its one message and takes no backup;
    // "%1" in the message stands for the program folder.
    void avvioFallito_data()
    {
        QTest::addColumn<File>("file");
        QTest::addColumn<QString>("programma"); // below the test folder; empty: the test folder
        QTest::addColumn<QString>("messaggio");
        const QByteArray tre = "1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n";
        const auto riga = [](const char *nome, const File &f, const QString &m, const QString &programma = {}) {
            QTest::newRow(nome) << f << programma << m;
        };
        riga("largest count, three lines", {{"Info.ini", Ini("Numero Componenti=2147483647")}, {"Componenti.dat", tre}}, kErroreApertura);
        riga("count as a huge fraction", {{"Info.ini", Ini("Numero Packages=2147483646.9")}, {"Packages.dat", tre}}, kErroreApertura);
        riga("10 MB line without a separator", {{"Info.ini", Ini("Numero Tipi=1")}, {"Tipi.dat", QByteArray(kDieciMega, 'x')}}, kErroreApertura);
        riga("10 MB quote never closed", {{"Info.ini", Ini("Numero Produttori=1")}, {"Produttori.dat", "1,\"" + QByteArray(kDieciMega, 'x')}}, kErroreApertura);
        riga("10 MB of line ends", {{"Info.ini", Ini("Numero Tipi=1")}, {"Tipi.dat", QByteArray(kDieciMega, '\n')}}, kErroreApertura);
        riga("zero bytes", {{"Info.ini", Ini("Numero Tipi=1")}, {"Tipi.dat", QByteArray(1000, '\0')}}, kErroreApertura);
        riga("binary garbage, huge count", {{"Info.ini", Ini("Numero Componenti=2000000000")}, {"Componenti.dat", Rumore(1 << 20)}}, kErroreApertura);
        riga("folder in place of Componenti.dat", {{"Info.ini", Ini("Numero Componenti=0")}, {"Componenti.dat", "<cartella>"}}, kErroreApertura);
        riga("count not a number", {{"Info.ini", QByteArray(IniPrimoAvvio()).replace("Numero Tipi=0", "Numero Tipi=abc")}}, NonNumero("Numero Tipi"));
        riga("zero byte after a count", {{"Info.ini", Ini(QByteArray("Numero Tipi=1\0\0", 15))}}, NonNumero("Numero Tipi"));
        riga("count of 10 MB of digits", {{"Info.ini", Ini("Numero Componenti=" + QByteArray(kDieciMega, '7'))}}, NonNumero("Numero Componenti"));
        riga("count beyond 32 bits", {{"Info.ini", Ini("Prossimo ID Package=2147483648")}}, NonNumero("Prossimo ID Package"));
        riga("program folder below a file", {{"file", "x"}}, ErroreMain(75, "Impossibile creare il file %1/Arvo.lock"), "file/Arvo");
        riga("file in place of Stampe", {{"Stampe", "x"}}, ErroreMain(75, "Impossibile creare la cartella %1/Stampe"));
        riga("folder in place of Info.ini", {{"Info.ini", "<cartella>"}}, ErroreMain(75, "Impossibile leggere il file %1/Info.ini"));
        riga("folder in place of a backup", {{"Backups/Info.ini", "<cartella>"}}, ErroreMain(70, "Al posto del file %1/Backups/Info.ini c'è una cartella"));
    }
    void avvioFallito()
    {
        QFETCH(File, file);
        QFETCH(QString, programma);
        QFETCH(QString, messaggio);
        CartellaTest c;
        Scrivi(c, file);
        const QString cartella = programma.isEmpty() ? c.percorso() : c.file(programma);
        QCOMPARE(Avvia(cartella), messaggio.arg(QDir::toNativeSeparators(cartella)));
        QVERIFY(QDir(cartella + "/Backups").entryList(QDir::Files).isEmpty());
    }

    void cartellaDiSolaLettura()
    {
        if (::geteuid() == 0)
            QSKIP("root writes through permission bits; avvioFallito covers the same failure below a file");
        CartellaTest c;
        QVERIFY(QFile::setPermissions(c.percorso(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QString messaggio = Avvia(c.percorso());
        QFile::setPermissions(c.percorso(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(messaggio, ErroreMain(75, "Impossibile creare il file " + QDir::toNativeSeparators(c.file("Arvo.lock"))));
        QVERIFY(!c.esiste("Info.ini"));
    }

    // The lock unit on every kind of lock file a start may meet.
    void bloccoTrovato_data()
    {
        QTest::addColumn<BloccoTrovato>("trovato");
        QTest::addColumn<BloccoCartella::Esito>("esito");
        using E = BloccoCartella::Esito;
        QTest::newRow("none") << BloccoTrovato::Nessuno << E::Preso;
        QTest::newRow("owner killed") << BloccoTrovato::ProprietarioMorto << E::Preso;
        QTest::newRow("empty, old") << BloccoTrovato::VuotoVecchio << E::Preso;
        QTest::newRow("damaged, old") << BloccoTrovato::DanneggiatoVecchio << E::Preso;
        QTest::newRow("empty, just written") << BloccoTrovato::VuotoAppenaScritto << E::DaRimuovere;
        QTest::newRow("empty, held open") << BloccoTrovato::VuotoMaTenuto << E::DaRimuovere;
        QTest::newRow("folder") << BloccoTrovato::Cartella << E::DaRimuovere;
        QTest::newRow("broken link") << BloccoTrovato::CollegamentoRotto << E::DaRimuovere;
        QTest::newRow("other computer") << BloccoTrovato::AltroComputer << E::Occupato;
        QTest::newRow("held by a running copy") << BloccoTrovato::TenutoDaUnAltro << E::Occupato;
    }
    void bloccoTrovato()
    {
        QFETCH(BloccoTrovato, trovato);
        QFETCH(BloccoCartella::Esito, esito);
        CartellaTest c;
        const QString file = c.file(kBlocco);
        const QDateTime unOraFa = QDateTime::currentDateTime().addSecs(-3600);
        auto invecchia = [&] {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(unOraFa, QFileDevice::FileModificationTime));
        };
        BloccoCartella altro;
        int tenuto = -1;
        QString messaggio;
        switch (trovato) {
        case BloccoTrovato::Nessuno: break;
        case BloccoTrovato::ProprietarioMorto:
            // An ID above any the system hands out: no such process.
            c.scrivi(kBlocco, "2147483000\narvo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
            break;
        case BloccoTrovato::VuotoVecchio: c.scrivi(kBlocco, ""); invecchia(); break;
        case BloccoTrovato::DanneggiatoVecchio: c.scrivi(kBlocco, "\xff\xfe garbage\n\n"); invecchia(); break;
        case BloccoTrovato::VuotoAppenaScritto: c.scrivi(kBlocco, ""); break;
        case BloccoTrovato::VuotoMaTenuto:
            c.scrivi(kBlocco, "");
            invecchia();
            tenuto = ::open(QFile::encodeName(file).constData(), O_RDONLY);
            QVERIFY(tenuto >= 0 && ::flock(tenuto, LOCK_EX | LOCK_NB) == 0);
            break;
        case BloccoTrovato::Cartella: QVERIFY(QDir().mkpath(file)); break;
        case BloccoTrovato::CollegamentoRotto: QVERIFY(QFile::link(c.file("nulla"), file)); break;
        case BloccoTrovato::AltroComputer: c.scrivi(kBlocco, "1\narvo\naltro-pc\n"); invecchia(); break;
        case BloccoTrovato::TenutoDaUnAltro:
            QCOMPARE(altro.prendi(c.percorso(), &messaggio), BloccoCartella::Esito::Preso);
            break;
        }

        BloccoCartella blocco;
        QCOMPARE(blocco.prendi(c.percorso(), &messaggio), esito);
        if (tenuto >= 0)
            ::close(tenuto);
        QCOMPARE(blocco.preso(), esito == BloccoCartella::Esito::Preso);
        if (esito == BloccoCartella::Esito::Preso) {
            QCOMPARE(PidNelBlocco(c), QCoreApplication::applicationPid());
            blocco.rilascia();
            QVERIFY(!c.esiste(kBlocco));
        } else if (trovato == BloccoTrovato::AltroComputer) {
            QCOMPARE(messaggio, TestoOccupato(c.percorso()).replace(
                                    "\r\nChiudere l'altra copia prima di avviarne una nuova.",
                                    "\r\ndal computer \"altro-pc\".\r\nSe quella copia non è più aperta, eliminare il file "
                                        + Nativo(file) + " e riavviare il programma."));
        } else {
            QCOMPARE(messaggio, esito == BloccoCartella::Esito::Occupato ? TestoOccupato(c.percorso())
                                                                         : TestoDaRimuovere(c.percorso()));
            // What was found stays as it was.
            QVERIFY(QFileInfo(file).isSymLink() || QFileInfo::exists(file));
        }
        // Once the other copy is gone, the next start takes the lock.
        altro.rilascia();
        if (trovato == BloccoTrovato::TenutoDaUnAltro || trovato == BloccoTrovato::VuotoMaTenuto) {
            BloccoCartella dopo;
            QCOMPARE(dopo.prendi(c.percorso(), &messaggio), BloccoCartella::Esito::Preso);
        }
    }

    // A start on a folder another copy holds: one critical box naming the
    // folder, and not a byte written, whatever the start would have written
    // (first-start files, a version rewrite, a pending save, the backup).
    void secondoAvvioNonScriveNulla_data()
    {
        QTest::addColumn<File>("file");
        QTest::addColumn<bool>("daSalvato");
        QTest::newRow("empty folder") << File{} << false;
        QTest::newRow("older version") << File{{"Info.ini", Ini("Numero Tipi=0")}} << false;
        QTest::newRow("changed since the backup") << File{} << true;
        QTest::newRow("interrupted save") << File{{"Salvataggio.giornale", "Tipi.dat\r\n"}, {"Tipi.dat.nuovo", ""}} << true;
    }
    void secondoAvvioNonScriveNulla()
    {
        QFETCH(File, file);
        QFETCH(bool, daSalvato);
        ConDati a;
        CartellaTest vuota;
        const CartellaTest &c = daSalvato ? a.cartella : vuota;
        if (daSalvato)
            c.scrivi("Tipi.dat", "9,\"CAMBIATO\"\r\n9,\"CAMBIATO\"\r\n");
        Scrivi(c, file);
        BloccoCartella primo;
        QString messaggio;
        QCOMPARE(primo.prendi(c.percorso(), &messaggio), BloccoCartella::Esito::Preso);
        const auto prima = Istantanea(c.percorso());

        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(TestoOccupato(c.percorso())));
        QVERIFY(!Main(s, d, c.percorso()));
        const auto box = d.ultimoBox();
        QCOMPARE(box.testo, TestoOccupato(c.percorso()));
        QVERIFY(box.icona == Icona::Critica && box.pulsanti == Pulsanti::Ok && box.titolo.isEmpty());
        VERIFICA_DIALOGHI(d);
        QCOMPARE(Istantanea(c.percorso()), prima);
    }

    // Two processes on one folder through the program's start-up: the
    // second is refused and writes nothing; the lock is never part of the
    // backup; a copy killed with SIGKILL leaves a lock the next start takes
    // over; a copy that ends normally removes it.
    void dueProcessi()
    {
        ConDati a;
        const CartellaTest &c = a.cartella;
        QProcess primo;
        AvviaFiglio(primo, c.percorso());
        QByteArray uscita;
        QVERIFY2(AttendiPronto(primo, &uscita), uscita.constData());
        const qint64 pidPrimo = primo.processId();
        QCOMPARE(PidNelBlocco(c), pidPrimo);
        QCOMPARE(QDir(c.file("Backups")).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Componenti.dat", "Info.ini", "Packages.dat", "Produttori.dat", "Tipi.dat"}));
        c.scrivi("Info.ini", c.leggi("Info.ini").replace("10.2.0 ", "9.0")); // a start would rewrite it
        const auto prima = Istantanea(c.percorso());

        QProcess secondo;
        AvviaFiglio(secondo, c.percorso());
        QVERIFY(secondo.waitForFinished(30000));
        QCOMPARE(secondo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(secondo.exitCode(), 1);
        const QString atteso = TestoOccupato(c.percorso()).replace("\r\n", "|");
        QCOMPARE(QString::fromUtf8(secondo.readAllStandardOutput()), "box 1 " + atteso + "\n");
        QCOMPARE(QString::fromUtf8(secondo.readAllStandardError()).trimmed(), TestoOccupato(c.percorso()));
        QCOMPARE(Istantanea(c.percorso()), prima);

        primo.kill();
        QVERIFY(primo.waitForFinished(30000));
        QCOMPARE(primo.exitStatus(), QProcess::CrashExit);
        QCOMPARE(PidNelBlocco(c), pidPrimo); // left behind

        QProcess terzo;
        AvviaFiglio(terzo, c.percorso());
        uscita.clear();
        QVERIFY2(AttendiPronto(terzo, &uscita), uscita.constData());
        QCOMPARE(uscita, QByteArray("pronto\n"));
        QCOMPARE(PidNelBlocco(c), terzo.processId());
        QVERIFY(c.leggi("Info.ini").contains("Versione=10.2.0 \r\n"));
        terzo.closeWriteChannel();
        QVERIFY(terzo.waitForFinished(30000));
        QCOMPARE(terzo.exitCode(), 0);
        QVERIFY(!c.esiste(kBlocco));
        QVERIFY(!c.esiste("Backups/Arvo.lock"));
    }

    // The same with the real program: a copy of the executable is its own
    // program folder. The second copy shows its box (which nobody can
    // answer across processes: it is ended once the message is out on the
    // standard error) and writes nothing; after a SIGKILL a third copy
    // takes the lock over.
    void programmaVero()
    {
        CartellaTest c;
        const QString eseguibile = c.file("arvo");
        QVERIFY(QFile::copy(QStringLiteral(ARVO_ESEGUIBILE), eseguibile));
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        auto avvia = [&](QProcess &p) {
            p.setProcessEnvironment(ambiente);
            p.start(eseguibile, {});
            QVERIFY(p.waitForStarted(30000));
        };
        QProcess primo, secondo, terzo;
        avvia(primo);
        // Started once its dated copy is in place.
        const Percorsi percorsi = Percorsi::DaCartella(c.percorso());
        QTRY_VERIFY_WITH_TIMEOUT(PidNelBlocco(c) == primo.processId() && ElencoCopie(percorsi).size() == 1, 30000);
        const auto prima = Istantanea(c.percorso());

        avvia(secondo);
        QByteArray errore;
        QTRY_VERIFY_WITH_TIMEOUT((errore += secondo.readAllStandardError()).contains("nuova."), 30000);
        QVERIFY2(errore.contains(TestoOccupato(c.percorso()).toUtf8()), errore.constData());
        QCOMPARE(secondo.state(), QProcess::Running); // its box is open
        secondo.kill();
        QVERIFY(secondo.waitForFinished(30000));
        QCOMPARE(Istantanea(c.percorso()), prima);

        primo.kill();
        QVERIFY(primo.waitForFinished(30000));
        avvia(terzo);
        QTRY_VERIFY_WITH_TIMEOUT(PidNelBlocco(c) == terzo.processId(), 30000);
        QCOMPARE(terzo.state(), QProcess::Running);
        QVERIFY(!terzo.readAllStandardError().contains("Arvo"));
        terzo.kill();
        QVERIFY(terzo.waitForFinished(30000));
    }

    // A folder where the save cannot put its temporaries: start-up says so
    // once, as a warning, and goes on.
    void temporaneiImpossibili()
    {
        ConDati a;
        const CartellaTest &c = a.cartella;
        QVERIFY(QDir().mkpath(c.file("Produttori.dat.nuovo/dentro")));
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(Main(s, d, c.percorso()));
        QCOMPARE(d.boxes().size(), 1);
        const auto box = d.ultimoBox();
        QCOMPARE(box.testo, "Attenzione: le modifiche non potranno essere salvate.\r\nImpossibile creare il file "
                                + Nativo(c.file("Produttori.dat.nuovo"))
                                + ".\r\nControllare i permessi e lo spazio libero della cartella "
                                + Nativo(c.percorso()) + ".");
        QVERIFY(box.icona == Icona::Esclamazione && box.pulsanti == Pulsanti::Ok);
        VERIFICA_DIALOGHI(d);
        QVERIFY(!c.esiste("Componenti.dat.nuovo") && !c.esiste("Salvataggio.giornale.nuovo"));
        QCOMPARE(s.NumComponenti, 2);

        // Once the obstacle is gone, no warning.
        QVERIFY(QDir(c.file("Produttori.dat.nuovo")).removeRecursively());
        QCOMPARE(Avvia(c.percorso()), QString());
    }

    // Hostile folders that still load, as the rules say.
    void caricabili()
    {
        CartellaTest lunga;
        Scrivi(lunga, {{"Info.ini", Ini("Numero Tipi=2")}, {"Tipi.dat", "1,\"" + QByteArray(kDieciMega, 'N') + "\"\r\n2,\"B\"\r\n"}});
        Stato s;
        QCOMPARE(Avvia(lunga.percorso(), &s), QString());
        QCOMPARE(s.Tipi.value(0).Nome.size(), kDieciMega);
        QCOMPARE(s.Tipi.value(1).Nome, QStringLiteral("B"));
        QCOMPARE(lunga.leggi("Backups/Tipi.dat").size(), kDieciMega + 13); // as found

        // Nothing reads as a section: every setting takes its default and
        // the missing keys are written after the garbage.
        CartellaTest spazzatura;
        Scrivi(spazzatura, {{"Info.ini", Rumore(1 << 16).replace('[', ' ')}, {"Tipi.dat", "1,\"A\"\r\n"}});
        s = Stato();
        QCOMPARE(Avvia(spazzatura.percorso(), &s), QString());
        QCOMPARE(s.NumTipi, 0);
        QVERIFY(spazzatura.leggi("Info.ini").contains("\r\n[Counter]\r\nNumero Componenti=0\r\n"));

        // A 10 MB label is cut to 2047 characters and written back so (the
        // version differs); 50 MB of short lines load without a hang.
        QByteArray riempitivo;
        while (riempitivo.size() < 50 * 1024 * 1024)
            riempitivo += "; commento\r\nchiave=valore\r\n\r\n";
        CartellaTest grande;
        Scrivi(grande, {{"Info.ini", Ini("Numero Tipi=1", "[Custom]\r\nCampo personale 2=  " + QByteArray(kDieciMega, 'e')
                                                             + "\r\n[Altro]\r\n" + riempitivo)},
                        {"Tipi.dat", "1,\"A\"\r\n"}});
        s = Stato();
        QCOMPARE(Avvia(grande.percorso(), &s), QString());
        QCOMPARE(s.Etichette[2], QString(2047, QLatin1Char('e')));
        QCOMPARE(s.Tipi.value(0).Nome, QStringLiteral("A"));
        QVERIFY(grande.leggi("Info.ini").contains("\r\nCampo personale 2=" + QByteArray(2047, 'e') + "\r\n"));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--avvio") == 0)
        return AvvioFiglio(QString::fromLocal8Bit(argv[2]));
    TestAvvio test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_avvio.moc"
