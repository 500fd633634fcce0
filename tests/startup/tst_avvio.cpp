// Start-up on fresh, saved, damaged and hostile program folders: counts no file can hold, lines of many megabytes,
// binary garbage, folders where files belong. Each start loads what the reading rules say or shows its one message;
// none crashes, hangs or allocates beyond the size of its files (the sanitizer build aborts on an allocation as large
// as a count of two billion would ask for).
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/verifiche.h"
#include "copie/copie.h"
#include "startup/avvio.h"
#include "startup/bloccocartella.h"
#include "store/aiutiarchivio.h"
#include "store/ini.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTest>

#include <functional>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

// Deterministic bytes of every value (n a multiple of four).
QByteArray Rumore(qsizetype n)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator(2463534242u).fillRange(reinterpret_cast<quint32 *>(b.data()), n / 4);
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

// Starts on the folder: the empty text when it started without any box, else the text of the one box it showed (an OK
// box with no icon and the default title), or what went wrong instead.
QString Avvia(const QString &cartella, Stato *stato = nullptr)
{
    Stato s;
    DialoghiFinti d;
    d.setNextAnswer(Risposta::Ok);
    if (Main(stato ? *stato : s, d, cartella))
        return d.boxes().isEmpty() ? QString() : QStringLiteral("<avviato> ") + d.ultimoBox().testo;
    const auto box = d.ultimoBox();
    const bool comeAtteso = d.problemi().isEmpty() && box.pulsanti == Pulsanti::Ok
                         && box.icona == Icona::Nessuna && box.titolo.isEmpty();
    return comeAtteso ? box.testo : QStringLiteral("<box inatteso> ") + d.problemi();
}

// A program folder after a first start, a save of the example database and
// one more start, which loads it and copies the files as found into Backups.
struct ConDati : CartellaTest {
    ConDati()
    {
        DialoghiFinti d;
        Stato salvato, riletto;
        QVERIFY(Main(salvato, d, percorso()));
        RiempiStatoDiEsempio(salvato);
        QVERIFY(SalvaDatabase(salvato, d));
        QVERIFY(Main(riletto, d, percorso()));
        QVERIFY(StessiDati(riletto, salvato));
        for (const QString f : {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat", "Info.ini"})
            QCOMPARE(leggi("Backups/" + f), leggi(f));
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

// The lines QLockFile writes: process ID, program, computer, its ID, boot ID.
QByteArray ContenutoBlocco(qint64 pid, const QString &programma, const QByteArray &idAvvio = QSysInfo::bootUniqueId(),
                           const QByteArray &idComputer = QSysInfo::machineUniqueId())
{
    return QByteArray::number(pid) + '\n' + programma.toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n'
         + idComputer + '\n' + idAvvio + '\n';
}

QString ProgrammaDelProcesso(qint64 pid)
{
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid))).fileName();
}

// Runs azione with the rights of user 65534 (as the superuser drops them for the call, and takes them back).
bool ComeAltroUtente(const std::function<void()> &azione)
{
    if (::setegid(65534) != 0 || ::seteuid(65534) != 0)
        return false;
    azione();
    return ::seteuid(0) == 0 && ::setegid(0) == 0;
}

QString TestoAbbandonato(const QString &file, const QString &chi)
{
    return "Il file di blocco\r\n" + Nativo(file)
         + "\r\nè stato lasciato da una copia di Arvo che non è più aperta, ma questo utente non può eliminarlo."
           "\r\nSi può eliminare senza rischi (" + chi + "), poi riavviare il programma.";
}

QString TestoAltroComputer(const QString &cartella, const QString &computer)
{
    return "La cartella\r\n" + Nativo(cartella) + "\r\nrisulta in uso da Arvo sul computer \"" + computer
         + "\".\r\nSe su quel computer Arvo non è più aperto, eliminare il file\r\n" + Nativo(cartella + "/Arvo.lock")
         + "\r\ne riavviare il programma.";
}

// A folder's lock file as a start may find it, set up by a row of bloccoTrovato; atteso is the message when the lock is
// not taken (empty: the usual one for the outcome).
struct Scena {
    CartellaTest c;
    QString file = c.file(kBlocco);
    BloccoCartella altro; // a copy in this process
    int tenuto = -1;      // a descriptor holding the file open and locked
    QProcess terzo;       // a program run by a third user
    QString atteso;
    // Writes the lock file, as of an hour ago when vecchio.
    void scrivi(const QByteArray &byte, bool vecchio = false)
    {
        c.scrivi(kBlocco, byte);
        QFile f(file);
        QVERIFY(!vecchio || (f.open(QIODevice::ReadWrite)
                             && f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime)));
    }
    void diUtente(uid_t uid) { QVERIFY(::chown(QFile::encodeName(file).constData(), uid, uid) == 0); }
    ~Scena()
    {
        if (tenuto >= 0)
            ::close(tenuto);
        terzo.kill();
        terzo.waitForFinished(30000);
    }
};
using Preparazione = std::function<void(Scena &)>;

} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private slots:
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

    // Info.ini missing or wrong while the table files hold the data: every record is loaded, counts and next IDs come
    // from the files, the old file is kept beside, the repaired one keeps the settings it could read, the user is told
    // once, and a save and a restart keep everything.
    void infoIniRiparato_data()
    {
        // How Info.ini is damaged ("sostituisci": the line "cerca" changed to "sostituto"), the box's first line
        // and the rest of it (%1 = folder), the second label after the start ("Cassetto" kept).
        Colonne<QString, QByteArray, QByteArray, QStringList, QString, QString>("danno", "cerca", "sostituto", "righe",
                                                                               "prima", "etichetta");
        const QString corretto = "Il file Info.ini non corrispondeva ai file dei dati ed è stato corretto.";
        const QString ricreato = "Il file Info.ini non si poteva leggere: è stato ricreato dai file dei dati.";
        const QString caricati = "Caricati: componenti 2, tipi 2, produttori 2, package 2.";
        const QString predefiniti = "Le opzioni e i nomi dei campi personali hanno ripreso i valori predefiniti.";
        const QString conservato = "Il file originale è conservato come %1/Info.ini.danneggiato.";
        const auto riga = [](const char *nome, const QString &danno, const QByteArray &cerca, const QString &prima,
                             const QStringList &righe, const char *etichetta) {
            const QList<QByteArray> parti = cerca.split('>');
            QTest::newRow(nome) << danno << parti.value(0) << parti.value(1) << righe << prima
                                << QString::fromUtf8(etichetta);
        };
        const char *kept = "Cassetto", *iniziale = "Campo Personale 2", *letta = "Campo Personale2";
        riga("deleted", "elimina", {}, "Il file Info.ini mancava, ma i file dei dati contengono dei componenti "
             "o delle voci: Info.ini è stato ricreato da quei file.", {caricati, predefiniti}, iniziale);
        riga("folder in its place", "cartella", {}, ricreato, {caricati, predefiniti, conservato}, iniziale);
        riga("saved as UTF-16", "utf16", {}, "Il file Info.ini era stato salvato in UTF-16: è stato riscritto "
             "nella codifica del programma.", {conservato}, kept);
        const QStringList tutto = {"- tipi: 2 nel file, Info.ini ne indicava 0.",
            "- produttori: 2 nel file, Info.ini ne indicava 0.", "- package: 2 nel file, Info.ini ne indicava 0.",
            "- componenti: 2 nel file, Info.ini ne indicava 0.",
            "- prossimo ID dei tipi: 5 (Info.ini indicava 1, già in uso).",
            "- prossimo ID dei produttori: 7 (Info.ini indicava 1, già in uso).",
            "- prossimo ID dei package: 8 (Info.ini indicava 1, già in uso).",
            "- prossimo ID dei componenti: 14 (Info.ini indicava 1, già in uso).", conservato};
        riga("empty", "vuoto", {}, corretto, tutto, letta);
        riga("count lower than the records", "sostituisci", "Numero Componenti=2>Numero Componenti=1", corretto,
             {"- componenti: 2 nel file, Info.ini ne indicava 1.", conservato}, kept);
        riga("next ID below one in use", "sostituisci", "Prossimo ID Produttori=7>Prossimo ID Produttori=1",
             corretto, {"- prossimo ID dei produttori: 7 (Info.ini indicava 1, già in uso).", conservato}, kept);
        riga("next ID equal to the largest", "sostituisci", "Prossimo ID Componente=14>Prossimo ID Componente=13",
             corretto, {"- prossimo ID dei componenti: 14 (Info.ini indicava 13, già in uso).", conservato}, kept);
        riga("a damaged copy already kept", "sostituisci+", "Prossimo ID Package=8>Prossimo ID Package=7", corretto,
             {"- prossimo ID dei package: 8 (Info.ini indicava 7, già in uso).",
              "Il file originale è conservato come %1/Info.ini.danneggiato.2."}, kept);
    }
    void infoIniRiparato()
    {
        const auto [danno, cerca, sostituto] = Valori<QString, QByteArray, QByteArray>("danno", "cerca", "sostituto");
        const auto [righe, prima] = Valori<QStringList, QString>("righe", "prima");
        ConDati c;
        Stato salvato;
        DialoghiFinti d;
        QVERIFY(Main(salvato, d, c.percorso()));
        salvato.Etichette[2] = QStringLiteral("Cassetto");
        QVERIFY(SalvaDatabase(salvato, d));
        const QByteArray sano = c.leggi("Info.ini");
        if (danno == "elimina" || danno == "cartella")
            QVERIFY(QFile::remove(c.file("Info.ini")));
        if (danno == "cartella")
            QVERIFY(QDir(c.percorso()).mkdir("Info.ini"));
        else if (danno == "utf16")
            c.scrivi("Info.ini", "\xFF\xFE"
                                     + QByteArray(reinterpret_cast<const char *>(QString::fromLatin1(sano).utf16()),
                                                  sano.size() * 2));
        else if (danno == "vuoto")
            c.scrivi("Info.ini", "");
        else if (danno.startsWith("sostituisci"))
            c.scrivi("Info.ini", QByteArray(sano).replace(cerca + "\r\n", sostituto + "\r\n"));
        if (danno == "sostituisci+")
            c.scrivi("Info.ini.danneggiato", "una copia di prima");
        const QByteArray rotto = Istantanea(c.percorso()).value("Info.ini"); // null when deleted
        QVERIFY(rotto != sano);

        Stato s;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(Main(s, d, c.percorso()));
        VerificaBox(d, QStringList(QStringList{prima} + righe).join("\r\n").arg(Nativo(c.percorso())), Icona::Esclamazione);
        QVERIFY(StessiDati(s, salvato));
        QTEST(s.Etichette[2], "etichetta");
        if (danno.startsWith("sostituisci"))
            QCOMPARE(c.leggi("Info.ini"), sano); // every other line kept as it was
        const QString accanto = danno == "sostituisci+" ? "Info.ini.danneggiato.2" : "Info.ini.danneggiato";
        QCOMPARE(Istantanea(c.percorso()).value(accanto), rotto);
        QCOMPARE(c.leggi("Backups/Info.ini"), c.leggi("Info.ini"));

        // Told once: the next start finds a consistent folder, and so does the one after a save.
        for (int giro = 0; giro < 2; ++giro) {
            Stato dopo;
            QVERIFY(Main(dopo, d, c.percorso()));
            QVERIFY(StessiDati(dopo, salvato));
            QVERIFY(SalvaDatabase(dopo, d));
        }
        VERIFICA_DIALOGHI(d);
    }

    // A saved folder damaged by hand: the load message, nothing written, the previous good copies still in Backups.
    void caricamentoFallitoNonToccaNulla_data()
    {
        Colonne<QString, QByteArray, QByteArray>("file", "daCercare", "sostituto"); // null sostituto: file removed
        QTest::newRow("fewer types than counted") << "Info.ini" << QByteArray("Numero Tipi=2") << QByteArray("Numero Tipi=3");
        QTest::newRow("date never closed") << "Componenti.dat" << QByteArray("#2024-10-09#") << QByteArray("#2024-10-09");
        QTest::newRow("number beyond 32 bits") << "Componenti.dat" << QByteArray("12,3,5,") << QByteArray("2147483648,3,5,");
        QTest::newRow("quote never closed") << "Componenti.dat" << QByteArray("\"NE555\"") << QByteArray("\"NE555");
        QTest::newRow("record cut short") << "Tipi.dat" << QByteArray("4,\"TRANSISTOR, BJT\"\r\n") << QByteArray("4\r\n");
        QTest::newRow("counted table missing") << "Produttori.dat" << QByteArray() << QByteArray();
    }
    void caricamentoFallitoNonToccaNulla()
    {
        const auto [file, daCercare, sostituto] = Valori<QString, QByteArray, QByteArray>("file", "daCercare", "sostituto");
        ConDati a;
        const QByteArray buono = a.leggi(file);
        QVERIFY(buono.contains(daCercare));
        if (sostituto.isNull())
            QVERIFY(QFile::remove(a.file(file)));
        else
            a.scrivi(file, QByteArray(buono).replace(daCercare, sostituto));
        auto attesa = Istantanea(a.percorso());
        attesa.insert(file, attesa.value(file)); // a missing table is created empty
        QCOMPARE(Avvia(a.percorso()), kErroreApertura);
        QCOMPARE(Istantanea(a.percorso()), attesa);
        QCOMPARE(a.leggi("Backups/" + file), buono);
    }

    // A start killed while it copied the backup left the new set half in place in Backups: the next start completes it
    // before anything else, even one that then fails to load, so Backups holds whole files.
    void copiaInterrottaCompletata()
    {
        ConDati c;
        const QStringList nomi = {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat", "Info.ini"};
        for (const QString &nome : nomi)
            c.scrivi("Backups/" + nome + ".nuovo", "nuovo " + nome.toUtf8());
        c.scrivi("Backups/Salvataggio.giornale", nomi.join("\r\n").toUtf8() + "\r\n");
        c.scrivi("Tipi.dat", "1\r\n"); // cut short: the start ends at the load
        QCOMPARE(Avvia(c.percorso()), kErroreApertura);
        for (const QString &nome : nomi)
            QCOMPARE(c.leggi("Backups/" + nome), "nuovo " + nome.toUtf8());
        QCOMPARE(QDir(c.file("Backups")).entryList(QDir::Files).size(), nomi.size());
    }

    // Folders on which start-up stops with its one message and takes no backup;
    // "%1" in the message stands for the program folder.
    void avvioFallito_data()
    {
        Colonne<File, QString, QString>("file", "programma", "messaggio"); // programma: below the test folder
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
        riga("folder in place of a backup", {{"Backups/Info.ini", "<cartella>"}}, ErroreMain(70, "Al posto del file %1/Backups/Info.ini c'è una cartella"));
    }
    void avvioFallito()
    {
        const auto [file, programma, messaggio] = Valori<File, QString, QString>("file", "programma", "messaggio");
        CartellaTest c;
        Scrivi(c, file);
        const QString cartella = programma.isEmpty() ? c.percorso() : c.file(programma);
        QCOMPARE(Avvia(cartella), messaggio.arg(QDir::toNativeSeparators(cartella)));
        QVERIFY(QDir(cartella + "/Backups").entryList(QDir::Files).isEmpty());
    }

    // The lock unit on every kind of lock file a start may meet; the rows with a folder mode run as another user (uid
    // 65534) on a shared folder (with the sticky bit: each file kept to its owner).
    void bloccoTrovato_data()
    {
        using E = BloccoCartella::Esito;
        Colonne<Preparazione, E, int>("prepara", "esito", "condivisa");
        const auto riga = [](const char *nome, E esito, const Preparazione &p, int condivisa = 0) {
            QTest::newRow(nome) << p << esito << condivisa;
        };
        const QByteArray qui = QSysInfo::machineHostName().toUtf8();
        riga("none", E::Preso, [](Scena &) {});
        // An ID above any the system hands out: no such process.
        riga("owner killed", E::Preso, [qui](Scena &s) { s.scrivi("2147483000\narvo\n" + qui + "\n"); });
        riga("empty, old", E::Preso, [](Scena &s) { s.scrivi("", true); });
        riga("damaged, old", E::Preso, [](Scena &s) { s.scrivi("\xff\xfe garbage\n\n", true); });
        riga("empty, just written", E::DaRimuovere, [](Scena &s) { s.scrivi(""); });
        riga("empty, held open", E::DaRimuovere, [](Scena &s) {
            s.scrivi("", true);
            s.tenuto = ::open(QFile::encodeName(s.file).constData(), O_RDONLY);
            QVERIFY(s.tenuto >= 0 && ::flock(s.tenuto, LOCK_EX | LOCK_NB) == 0);
        });
        riga("folder", E::DaRimuovere, [](Scena &s) { QVERIFY(QDir().mkpath(s.file)); });
        riga("broken link", E::DaRimuovere, [](Scena &s) { QVERIFY(QFile::link(s.c.file("nulla"), s.file)); });
        riga("other computer", E::Occupato, [](Scena &s) {
            s.scrivi("1\narvo\naltro-pc\n", true);
            s.atteso = TestoAltroComputer(s.c.percorso(), "altro-pc");
        });
        riga("held by a running copy", E::Occupato, [](Scena &s) {
            QString m;
            QCOMPARE(s.altro.prendi(s.c.percorso(), &m), E::Preso);
        });
        const auto abbandonato = [](const char *chi) {
            return [chi](Scena &s) {
                s.scrivi(ContenutoBlocco(2147483000, "arvo"));
                s.diUtente(1);
                s.atteso = TestoAbbandonato(s.file, QString::fromUtf8(chi));
            };
        };
        riga("owner gone, another user's lock", E::Preso, abbandonato(""), 0777);
        riga("owner gone, may not be removed", E::DaRimuovere,
             abbandonato("come utente \"daemon\" o come amministratore"), 01777);
        riga("from before a restart", E::DaRimuovere, [](Scena &s) {
            // This very process, which runs: only the boot tells it apart.
            const qint64 pid = QCoreApplication::applicationPid();
            s.scrivi(ContenutoBlocco(pid, ProgrammaDelProcesso(pid), "00000000-0000-0000-0000-000000000000"));
            s.diUtente(0);
            s.atteso = TestoAbbandonato(s.file, "come amministratore");
        }, 01777);
        riga("running under a third user", E::Occupato, [](Scena &s) {
            s.terzo.setChildProcessModifier([] {
                if (::setgid(65533) != 0 || ::setuid(65533) != 0)
                    ::_exit(99);
            });
            s.terzo.start(QStringLiteral("sleep"), {QStringLiteral("60")});
            QVERIFY(s.terzo.waitForStarted(30000));
            QTRY_COMPARE(ProgrammaDelProcesso(s.terzo.processId()), QStringLiteral("sleep"));
            s.scrivi(ContenutoBlocco(s.terzo.processId(), ProgrammaDelProcesso(s.terzo.processId())));
            s.diUtente(65533);
        }, 01777);
        riga("other computer of this name", E::Occupato, [](Scena &s) {
            s.scrivi(ContenutoBlocco(2147483000, "arvo", "b", "un-altro-computer"));
            s.atteso = TestoAltroComputer(s.c.percorso(), QSysInfo::machineHostName());
        });
    }
    void bloccoTrovato()
    {
        const auto [prepara, esito, condivisa] = Valori<Preparazione, BloccoCartella::Esito, int>("prepara", "esito", "condivisa");
        Scena s;
        if (condivisa) {
            if (::geteuid() != 0)
                QSKIP("acting as other users needs the superuser");
            QVERIFY(::chmod(QFile::encodeName(s.c.percorso()).constData(), mode_t(condivisa)) == 0);
        }
        prepara(s);
        const bool tenuto = s.tenuto >= 0 || s.altro.preso();
        BloccoCartella blocco;
        BloccoCartella::Esito ottenuto = BloccoCartella::Esito::NonCreabile;
        QString messaggio;
        const auto prendi = [&] { ottenuto = blocco.prendi(s.c.percorso(), &messaggio); };
        if (condivisa)
            QVERIFY(ComeAltroUtente(prendi));
        else
            prendi();
        QCOMPARE(ottenuto, esito);
        QCOMPARE(blocco.preso(), esito == BloccoCartella::Esito::Preso);
        if (esito == BloccoCartella::Esito::Preso) {
            QCOMPARE(PidNelBlocco(s.c), QCoreApplication::applicationPid());
            blocco.rilascia();
            QVERIFY(!s.c.esiste(kBlocco));
            return;
        }
        if (s.atteso.isEmpty())
            s.atteso = esito == BloccoCartella::Esito::Occupato ? TestoOccupato(s.c.percorso())
                                                                 : TestoDaRimuovere(s.c.percorso());
        QCOMPARE(messaggio, s.atteso);
        // What was found stays as it was.
        QVERIFY(QFileInfo(s.file).isSymLink() || QFileInfo::exists(s.file));
        // Once the other copy is gone, the next start takes the lock.
        s.altro.rilascia();
        if (s.tenuto >= 0)
            ::close(std::exchange(s.tenuto, -1));
        if (tenuto) {
            BloccoCartella dopo;
            QCOMPARE(dopo.prendi(s.c.percorso(), &messaggio), BloccoCartella::Esito::Preso);
        }
    }

    // A start on a folder another copy holds (here, or on another computer): one box naming the folder asks whether to
    // open it read-only. "No" ends the start; "Sì" loads the folder as it is. Either way not a byte is written,
    // whatever the start would have written (first-start files, a version rewrite, a pending save, the backup), and in
    // read-only not even by a save, a settings write or a backup asked for afterwards.
    void secondoAvvioNonScriveNulla_data()
    {
        // daSalvato: the example database, Tipi.dat changed, an older Info.ini; blocco: the lock file (empty: held
        // by a copy in this process).
        Colonne<File, bool, QByteArray, Risposta>("file", "daSalvato", "blocco", "risposta");
        const File interrotto{{"Salvataggio.giornale", "Tipi.dat\r\n"}, {"Tipi.dat.nuovo", ""}};
        const QByteArray altroComputer = "1\narvo\naltro-pc\n";
        QTest::newRow("empty folder") << File{} << false << QByteArray() << Risposta::No;
        QTest::newRow("older version") << File{{"Info.ini", Ini("Numero Tipi=0")}} << false << QByteArray() << Risposta::No;
        QTest::newRow("changed since the backup") << File{} << true << QByteArray() << Risposta::No;
        QTest::newRow("interrupted save") << interrotto << true << QByteArray() << Risposta::No;
        QTest::newRow("other computer") << File{} << true << altroComputer << Risposta::No;
        QTest::newRow("read-only, changed since the backup") << File{} << true << QByteArray() << Risposta::Si;
        QTest::newRow("read-only, interrupted save") << interrotto << true << QByteArray() << Risposta::Si;
        QTest::newRow("read-only, other computer") << File{} << true << altroComputer << Risposta::Si;
    }
    void secondoAvvioNonScriveNulla()
    {
        const auto [file, daSalvato, blocco, risposta] =
            Valori<File, bool, QByteArray, Risposta>("file", "daSalvato", "blocco", "risposta");
        ConDati a;
        CartellaTest vuota;
        const CartellaTest &c = daSalvato ? a : vuota;
        if (daSalvato) {
            c.scrivi("Tipi.dat", "3,\"CAMBIATO\"\r\n4,\"TRANSISTOR, BJT\"\r\n");
            c.scrivi("Info.ini", c.leggi("Info.ini").replace("10.2.0 ", "9.0")); // a start would rewrite it
        }
        Scrivi(c, file);
        BloccoCartella primo;
        QString testoBlocco;
        if (blocco.isEmpty()) {
            QCOMPARE(primo.prendi(c.percorso(), &testoBlocco), BloccoCartella::Esito::Preso);
            testoBlocco = TestoOccupato(c.percorso());
        } else {
            c.scrivi(kBlocco, blocco);
            testoBlocco = TestoAltroComputer(c.percorso(), "altro-pc");
        }
        const auto prima = Istantanea(c.percorso());

        auto s = std::make_unique<Stato>();
        DialoghiFinti d;
        d.setNextAnswer(risposta);
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(testoBlocco));
        QCOMPARE(Main(*s, d, c.percorso()), risposta == Risposta::Si);
        VerificaBox(d, testoBlocco + "\r\nAprire l'archivio in sola lettura?", Icona::Domanda, Pulsanti::SiNo);
        VERIFICA_DIALOGHI(d);
        QCOMPARE(Istantanea(c.percorso()), prima);
        QCOMPARE(s->SolaLettura, risposta == Risposta::Si);
        if (risposta == Risposta::No)
            return;

        // The tables as the files hold them now, not as the backup has them.
        QCOMPARE(s->NumComponenti, 2);
        QCOMPARE(s->NumTipi, 2);
        QCOMPARE(s->tipo(1).Nome, QStringLiteral("CAMBIATO"));
        QCOMPARE(s->TotalePezzi, -15);
        // Listings and exports go to a temporary folder outside the archive, which lasts as long as the state.
        const QString uscita = s->percorsi.CartellaStampe;
        QCOMPARE(s->percorsi.CartellaEsportati, uscita);
        QVERIFY(uscita.endsWith('/') && QFileInfo(uscita).isDir());
        QVERIFY(!QDir::cleanPath(uscita).startsWith(c.percorso()));

        DialoghiFinti dopo;
        dopo.setNextAnswer(Risposta::Ok);
        s->componente(1).Quantita = 999;
        QVERIFY(!SalvaDatabase(*s, dopo));
        QCOMPARE(dopo.ultimoBox().testo,
                 QStringLiteral("L'archivio è aperto in sola lettura: le modifiche non possono essere salvate."));
        ScriviInfo(*s);
        QString errore;
        QVERIFY(!CopiaBackup(*s, &errore));
        VERIFICA_DIALOGHI(dopo);
        QCOMPARE(Istantanea(c.percorso()), prima);
        s.reset();
        QVERIFY(!QFileInfo::exists(uscita));
    }

    // The real program (a copy of the executable is its own program folder) holds the folder: a start in this process
    // is refused and says so on the standard error (what it writes: secondoAvvioNonScriveNulla); the lock is never
    // part of the backup. Killed, the program leaves a lock the next start takes over; a normal end removes it.
    void dueProcessi()
    {
        ConDati c;
        QVERIFY(QFile::copy(QStringLiteral(ARVO_ESEGUIBILE), c.file("arvo")));
        const auto copie = [&] { return ElencoCopie(Percorsi::DaCartella(c.percorso())).size(); };
        const qsizetype primaDelProgramma = copie();
        QProcess programma;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        programma.setProcessEnvironment(ambiente);
        programma.start(c.file("arvo"), {});
        QVERIFY(programma.waitForStarted(30000));
        // Started once its backup is whole (its journal gone) and its dated copy is in place.
        QTRY_VERIFY_WITH_TIMEOUT(PidNelBlocco(c) == programma.processId() && !c.esiste("Backups/" + NomeGiornale)
                                     && copie() == primaDelProgramma + 1,
                                 30000);
        const qint64 pid = programma.processId();
        QCOMPARE(QDir(c.file("Backups")).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Componenti.dat", "Info.ini", "Packages.dat", "Produttori.dat", "Tipi.dat"}));
        {
            Stato s;
            DialoghiFinti d;
            d.setNextAnswer(Risposta::No);
            QTest::ignoreMessage(QtCriticalMsg, qPrintable(TestoOccupato(c.percorso())));
            QVERIFY(!Main(s, d, c.percorso()));
            VERIFICA_DIALOGHI(d);
        }
        programma.kill();
        QVERIFY(programma.waitForFinished(30000));
        QCOMPARE(programma.exitStatus(), QProcess::CrashExit);
        QCOMPARE(PidNelBlocco(c), pid); // left behind
        {
            Stato s;
            DialoghiFinti d;
            BloccoCartella blocco;
            QVERIFY(Main(s, d, c.percorso(), blocco));
            QCOMPARE(PidNelBlocco(c), QCoreApplication::applicationPid());
            VERIFICA_DIALOGHI(d);
        }
        QVERIFY(!c.esiste(kBlocco));
        QVERIFY(!c.esiste("Backups/Arvo.lock"));
    }

    // A folder where the save cannot put its temporaries: start-up says so once, as a warning, and goes on.
    void temporaneiImpossibili()
    {
        ConDati c;
        QVERIFY(QDir().mkpath(c.file("Produttori.dat.nuovo/dentro")));
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(Main(s, d, c.percorso()));
        VerificaBox(d, "Attenzione: le modifiche non potranno essere salvate.\r\nImpossibile creare il file "
                           + Nativo(c.file("Produttori.dat.nuovo")) + ".\r\nControllare i permessi e lo spazio libero "
                           "della cartella " + Nativo(c.percorso()) + ".", Icona::Esclamazione);
        VERIFICA_DIALOGHI(d);
        QVERIFY(!c.esiste("Componenti.dat.nuovo") && !c.esiste("Salvataggio.giornale.nuovo"));
        QCOMPARE(s.NumComponenti, 2);
    }

    // Hostile folders that still load, as the rules say.
    void caricabili()
    {
        CartellaTest lunga;
        Scrivi(lunga, {{"Info.ini", Ini("Numero Tipi=2\r\nProssimo ID Tipi=3")}, {"Tipi.dat", "1,\"" + QByteArray(kDieciMega, 'N') + "\"\r\n2,\"B\"\r\n"}});
        Stato s;
        QCOMPARE(Avvia(lunga.percorso(), &s), QString());
        QCOMPARE(s.Tipi.value(0).Nome.size(), kDieciMega);
        QCOMPARE(s.Tipi.value(1).Nome, QStringLiteral("B"));
        QCOMPARE(lunga.leggi("Backups/Tipi.dat").size(), kDieciMega + 13); // as found

        // 50 MB of short lines load without a hang (a long value is cut as leggiChiave in tst_archivio says).
        QByteArray riempitivo;
        while (riempitivo.size() < 50 * 1024 * 1024)
            riempitivo += "; commento\r\nchiave=valore\r\n\r\n";
        CartellaTest grande;
        Scrivi(grande, {{"Info.ini", Ini("Numero Tipi=1\r\nProssimo ID Tipi=2", "[Altro]\r\n" + riempitivo)},
                        {"Tipi.dat", "1,\"A\"\r\n"}});
        s = Stato();
        QCOMPARE(Avvia(grande.percorso(), &s), QString());
        QCOMPARE(s.Tipi.value(0).Nome, QStringLiteral("A"));
    }
};

QTEST_GUILESS_MAIN(TestAvvio)
#include "tst_avvio.moc"
