// Start-up on hostile program folders: counts that no file can hold, lines
// of many megabytes, binary garbage, zero bytes, folders where files belong,
// a settings file of 50 MB. Each start either loads what the rules say or
// shows its one message; none crashes, hangs or allocates beyond the size of
// its files (the address sanitizer build would abort on an allocation of
// the size a count of two billion asks for).
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "startup/avvio.h"
#include "store/stato.h"

#include <QDir>
#include <QTest>

namespace {

const QString kErroreApertura = QStringLiteral("Errore nell'apertura files del DB");
constexpr qsizetype kDieciMega = 10 * 1024 * 1024;

QByteArray Ini(const QByteArray &counter, const QByteArray &altro = {})
{
    return "[Versione]\r\nVersione=10.2.0\r\n[Counter]\r\n" + counter + "\r\n" + altro;
}

// Deterministic bytes of every value but the ones given.
QByteArray Rumore(qsizetype n, const QByteArray &esclusi)
{
    QByteArray b(n, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qsizetype i = 0; i < n; ++i) {
        do {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
        } while (esclusi.contains(char(x & 0xFF)));
        b[i] = char(x & 0xFF);
    }
    return b;
}

QString ErroreMain(int numero, const QString &descrizione)
{
    return QStringLiteral("Errore n. %1: ").arg(numero) + descrizione
        + QStringLiteral(".\r\nIn Modulo Main");
}

// A program folder with the given files; a file whose content is "<cartella>"
// is made a folder instead.
struct Cartella {
    CartellaTest c;
    Stato stato;
    DialoghiFinti dialoghi;

    explicit Cartella(const QMap<QString, QByteArray> &file)
    {
        for (auto it = file.cbegin(); it != file.cend(); ++it) {
            if (it.value() == "<cartella>")
                QVERIFY(QDir(c.percorso()).mkpath(it.key()));
            else
                c.scrivi(it.key(), it.value());
        }
    }
    // Starts with an answer queued for one box: the empty text when the
    // start succeeded without any box, else the text of the one box shown.
    QString avvia()
    {
        dialoghi.setNextAnswer(Risposta::Ok);
        const bool ok = Main(stato, dialoghi, c.percorso());
        if (ok)
            return dialoghi.boxes().isEmpty() ? QString() : dialoghi.ultimoBox().testo;
        return dialoghi.boxes().size() == 1 ? dialoghi.ultimoBox().testo
                                            : QStringLiteral("%1 box").arg(dialoghi.boxes().size());
    }
};

} // namespace

class TestOstili : public QObject {
    Q_OBJECT
private slots:
    // Files that cannot load: the load message and nothing else.
    void nonCaricabili_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QByteArray>("contenuto");

        const QByteArray tre = "1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n";
        QTest::newRow("two billion components, three lines")
            << "Componenti.dat" << Ini("Numero Componenti=2000000000") << tre;
        QTest::newRow("largest count of types") << "Tipi.dat" << Ini("Numero Tipi=2147483647") << tre;
        QTest::newRow("count as a huge fraction")
            << "Packages.dat" << Ini("Numero Packages=2147483646.9") << tre;
        QTest::newRow("10 MB line without a separator")
            << "Tipi.dat" << Ini("Numero Tipi=1") << QByteArray(kDieciMega, 'x');
        QTest::newRow("10 MB quote never closed")
            << "Produttori.dat" << Ini("Numero Produttori=1") << "1,\"" + QByteArray(kDieciMega, 'x');
        QTest::newRow("10 MB of line ends")
            << "Tipi.dat" << Ini("Numero Tipi=1") << QByteArray(kDieciMega, '\n');
        QTest::newRow("zero bytes") << "Tipi.dat" << Ini("Numero Tipi=1") << QByteArray(1000, '\0');
        QTest::newRow("binary garbage, huge count")
            << "Componenti.dat" << Ini("Numero Componenti=2000000000") << Rumore(1 << 20, {});
        QTest::newRow("folder in place of Componenti.dat")
            << "Componenti.dat" << Ini("Numero Componenti=0") << QByteArray("<cartella>");
    }
    void nonCaricabili()
    {
        QFETCH(QString, nome);
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, contenuto);
        Cartella c({{"Info.ini", ini}, {nome, contenuto}});
        QCOMPARE(c.avvia(), kErroreApertura);
        QCOMPARE(c.dialoghi.ultimoBox().pulsanti, Pulsanti::Ok);
        // A start that cannot load takes no backup.
        QVERIFY(!c.c.esiste("Backups/" + nome));
        VERIFICA_DIALOGHI(c.dialoghi);
    }

    // Settings that stop start-up with its own message.
    void iniNonValido_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("messaggio");
        const QString nonNumero = QStringLiteral(
            "Tipo non corrispondente: il valore di \"%1\" in Info.ini non è un numero valido");
        QTest::newRow("zero byte after a count")
            << Ini(QByteArray("Numero Tipi=1\0\0", 15)) << ErroreMain(13, nonNumero.arg("Numero Tipi"));
        QTest::newRow("count of 10 MB of digits")
            << Ini("Numero Componenti=" + QByteArray(kDieciMega, '7'))
            << ErroreMain(13, nonNumero.arg("Numero Componenti"));
        QTest::newRow("count beyond 32 bits")
            << Ini("Prossimo ID Package=2147483648") << ErroreMain(13, nonNumero.arg("Prossimo ID Package"));
    }
    void iniNonValido()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, messaggio);
        Cartella c({{"Info.ini", ini}});
        QCOMPARE(c.avvia(), messaggio);
        VERIFICA_DIALOGHI(c.dialoghi);
    }

    void negativiNonCaricanoNulla()
    {
        Cartella c({{"Info.ini", Ini("Numero Tipi=-1\r\nNumero Componenti=-2147483648")},
                    {"Tipi.dat", "1,\"A\"\r\n"},
                    {"Componenti.dat", Rumore(4096, {})}});
        QCOMPARE(c.avvia(), QString());
        QCOMPARE(c.stato.NumTipi, 0);
        QCOMPARE(c.stato.NumComponenti, 0);
        QVERIFY(c.stato.Tipi.isEmpty());
    }

    void lineaDiDieciMega()
    {
        const QByteArray nome(kDieciMega, 'N');
        Cartella c({{"Info.ini", Ini("Numero Tipi=2")},
                    {"Tipi.dat", "1,\"" + nome + "\"\r\n2,\"B\"\r\n"}});
        QCOMPARE(c.avvia(), QString());
        QCOMPARE(c.stato.Tipi.size(), 2);
        QCOMPARE(c.stato.Tipi[0].Nome.size(), kDieciMega);
        QCOMPARE(c.stato.Tipi[1].Nome, QStringLiteral("B"));
        // The backup holds the file as it was found.
        QCOMPARE(c.c.leggi("Backups/Tipi.dat").size(), kDieciMega + 13);
    }

    void zeriDentroUnNome()
    {
        Cartella c({{"Info.ini", Ini("Numero Produttori=1")},
                    {"Produttori.dat", QByteArray("7,\"A\0B\"\r\n", 9)}});
        QCOMPARE(c.avvia(), QString());
        QCOMPARE(c.stato.Produttori.value(0).Nome, QString::fromLatin1("A\0B", 3));
    }

    void iniDiSpazzatura()
    {
        // Nothing in it reads as a section: every setting takes its default
        // and start-up writes the missing keys after the garbage.
        const QByteArray rumore = Rumore(1 << 16, "[");
        Cartella c({{"Info.ini", rumore}, {"Tipi.dat", "1,\"A\"\r\n"}});
        QCOMPARE(c.avvia(), QString());
        QCOMPARE(c.stato.NumTipi, 0);
        QCOMPARE(c.stato.Etichette[3], QStringLiteral("Campo Personale3"));
        const QByteArray scritto = c.c.leggi("Info.ini");
        QVERIFY(scritto.contains("\r\n[Counter]\r\nNumero Componenti=0\r\n"));
    }

    void etichettaDiDieciMega()
    {
        Cartella c({{"Info.ini", Ini("Numero Tipi=0", "[Custom]\r\nCampo personale 2=  "
                                                          + QByteArray(kDieciMega, 'e') + "\r\n")}});
        QCOMPARE(c.avvia(), QString());
        QCOMPARE(c.stato.Etichette[2], QString(2047, QLatin1Char('e')));
        // The version differed, so the file was written again with what was read.
        QVERIFY(c.c.leggi("Info.ini").contains("\r\nCampo personale 2=" + QByteArray(2047, 'e') + "\r\n"));
    }

    void iniDiCinquantaMega()
    {
        // Short lines are the costly kind: many of them.
        QByteArray riempitivo;
        const QByteArray riga = "; commento\r\nchiave=valore\r\n\r\n";
        riempitivo.reserve(50 * 1024 * 1024 + riga.size());
        while (riempitivo.size() < 50 * 1024 * 1024)
            riempitivo += riga;
        Cartella c({{"Info.ini", Ini("Numero Tipi=1", "[Altro]\r\n" + riempitivo)},
                    {"Tipi.dat", "1,\"A\"\r\n"}});
        QCOMPARE(c.avvia(), QString());
        QCOMPARE(c.stato.NumTipi, 1);
        QCOMPARE(c.stato.Tipi.value(0).Nome, QStringLiteral("A"));
    }

    void cartellaAlPostoDelBackup()
    {
        Cartella c({{"Backups/Info.ini", "<cartella>"}});
        QCOMPARE(c.avvia(),
                 ErroreMain(70, QStringLiteral("Al posto del file %1 c'è una cartella")
                                    .arg(QDir::toNativeSeparators(c.c.file("Backups/Info.ini")))));
        VERIFICA_DIALOGHI(c.dialoghi);
    }
};

QTEST_GUILESS_MAIN(TestOstili)
#include "tst_ostili.moc"
