#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QTest>

#include <unistd.h>

namespace {

QString ErroreMain(int numero, const QString &descrizione)
{
    return QStringLiteral("Errore n. %1: %2.\r\nIn Modulo Main").arg(numero).arg(descrizione);
}

// A start on the folder that must fail: the one message it shows (an OK box
// with no icon and the default title), or what went wrong instead.
QString MessaggioDiAvvio(const QString &cartella)
{
    Stato s;
    DialoghiFinti d;
    d.setNextAnswer(Risposta::Ok);
    if (Main(s, d, cartella))
        return QStringLiteral("<avviato>");
    const auto box = d.ultimoBox();
    const bool comeAtteso = d.problemi().isEmpty() && box.pulsanti == Pulsanti::Ok && box.icona == Icona::Nessuna
                         && box.titolo.isEmpty();
    return comeAtteso ? box.testo : QStringLiteral("<box inatteso> ") + d.problemi();
}

// A program folder after a first start, a save of the example database and
// one more start, which loads the saved state and copies the files exactly
// as found into Backups.
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
        QMap<QString, QByteArray> attesa{{"Info.ini", IniPrimoAvvio()}, {"Backups/Info.ini", IniPrimoAvvio()}};
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
        DialoghiFinti d;
        QVERIFY(Main(s, d, c.percorso()));
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
        VERIFICA_DIALOGHI(d);
    }

    void caricamentoFallitoNonToccaNulla_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("daCercare");
        QTest::addColumn<QByteArray>("sostituto"); // null: the file is removed
        QTest::newRow("fewer types than counted") << "Info.ini" << QByteArray("Numero Tipi=2") << QByteArray("Numero Tipi=3");
        QTest::newRow("damaged date") << "Componenti.dat" << QByteArray("#2024-10-09#") << QByteArray("#2024-99-09#");
        QTest::newRow("Componenti.dat cut short") << "Componenti.dat" << QByteArray("\"NE555\"") << QByteArray("\"NE555");
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
        QCOMPARE(MessaggioDiAvvio(a.cartella.percorso()), QStringLiteral("Errore nell'apertura files del DB"));
        QCOMPARE(Istantanea(a.cartella.percorso()), attesa);
        QCOMPARE(a.cartella.leggi("Backups/" + file), buono);
    }

    void avvioFallito()
    {
        // Each case in its own program folder below the test folder.
        CartellaTest c;
        const auto errore = [&](const char *cartella, const QString &descrizione) {
            return ErroreMain(75, descrizione.arg(QDir::toNativeSeparators(c.file(cartella))));
        };
        c.scrivi("contatore/Info.ini", QByteArray(IniPrimoAvvio()).replace("Numero Tipi=0", "Numero Tipi=abc"));
        QCOMPARE(MessaggioDiAvvio(c.file("contatore")),
                 ErroreMain(13, "Tipo non corrispondente: il valore di \"Numero Tipi\" in Info.ini non è un numero valido"));
        c.scrivi("file", "x");
        QCOMPARE(MessaggioDiAvvio(c.file("file/Arvo")), errore("file/Arvo", "Impossibile creare il file %1/Componenti.dat"));
        c.scrivi("stampe/Stampe", "x");
        QCOMPARE(MessaggioDiAvvio(c.file("stampe")), errore("stampe", "Impossibile creare la cartella %1/Stampe"));
        QVERIFY(QDir().mkpath(c.file("ini/Info.ini")));
        QCOMPARE(MessaggioDiAvvio(c.file("ini")), errore("ini", "Impossibile leggere il file %1/Info.ini"));
        for (const char *cartella : {"contatore", "stampe", "ini"})
            QVERIFY(!c.esiste(cartella + QStringLiteral("/Backups/Info.ini"))); // no backup of a failed start
    }

    void cartellaDiSolaLettura()
    {
        if (::geteuid() == 0)
            QSKIP("root writes through permission bits; avvioFallito covers the same failure below a file");
        CartellaTest c;
        QVERIFY(QFile::setPermissions(c.percorso(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QString messaggio = MessaggioDiAvvio(c.percorso());
        QFile::setPermissions(c.percorso(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(messaggio, ErroreMain(75, "Impossibile creare il file " + QDir::toNativeSeparators(c.file("Componenti.dat"))));
        QVERIFY(!c.esiste("Info.ini"));
    }
};

QTEST_GUILESS_MAIN(TestAvvio)
#include "tst_avvio.moc"
