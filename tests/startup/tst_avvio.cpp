// Start-up on fresh, saved, damaged and hostile program folders: counts no
// file can hold, lines of many megabytes, binary garbage, folders where files
// belong. Each start loads what the reading rules say or shows its one
// message; none crashes, hangs or allocates beyond the size of its files
// (the sanitizer build aborts on an allocation as large as a count of two
// billion would ask for).
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QTest>

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

} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private slots:
    void primoESecondoAvvio()
    {
        CartellaTest c;
        DialoghiFinti d;
        Stato primo, secondo;
        QVERIFY(Main(primo, d, c.percorso()));
        QVERIFY(primo.PrimoAvvio);
        File attesa{{"Info.ini", IniPrimoAvvio()}, {"Backups/Info.ini", IniPrimoAvvio()}};
        for (const QString t : {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"}) {
            attesa.insert(t, QByteArray());
            attesa.insert("Backups/" + t, QByteArray());
        }
        for (const QString f : {"Datasheet", "Pics", "Packages", "Exported", "Stampe", "Backups"})
            attesa.insert(f, "<cartella>");
        QCOMPARE(Istantanea(c.percorso()), attesa); // and nothing else
        QVERIFY(Main(secondo, d, c.percorso()));
        QVERIFY(!secondo.PrimoAvvio);
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
        riga("program folder below a file", {{"file", "x"}}, ErroreMain(75, "Impossibile creare il file %1/Componenti.dat"), "file/Arvo");
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
        QCOMPARE(messaggio, ErroreMain(75, "Impossibile creare il file " + QDir::toNativeSeparators(c.file("Componenti.dat"))));
        QVERIFY(!c.esiste("Info.ini"));
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

QTEST_GUILESS_MAIN(TestAvvio)
#include "tst_avvio.moc"
