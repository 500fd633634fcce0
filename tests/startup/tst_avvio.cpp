#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QTest>

#include <unistd.h>

namespace {

const QStringList kTabelle = {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"};
const QStringList kCartelle = {"Datasheet", "Pics", "Packages", "Exported", "Stampe", "Backups"};

QString ErroreMain(int numero, const QString &descrizione)
{
    return QStringLiteral("Errore n. %1: ").arg(numero) + descrizione
        + QStringLiteral(".\r\nIn Modulo Main");
}

QString Nativo(const QString &percorso)
{
    return QDir::toNativeSeparators(percorso);
}

// Only the Backups folder of a snapshot.
QMap<QString, QByteArray> SoloBackup(const QMap<QString, QByteArray> &tutto)
{
    QMap<QString, QByteArray> out;
    for (auto it = tutto.cbegin(); it != tutto.cend(); ++it) {
        if (it.key().startsWith(QLatin1String("Backups")))
            out.insert(it.key(), it.value());
    }
    return out;
}

// A program folder after one start and one save of the example database.
struct ConDati {
    CartellaTest cartella;
    Stato salvato;
    ConDati()
    {
        DialoghiFinti d;
        QVERIFY(Main(salvato, d, cartella.percorso()));
        RiempiStatoDiEsempio(salvato);
        QVERIFY(SalvaDatabase(salvato, d));
    }
};

} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private slots:
    void primoAvvio()
    {
        CartellaTest c;
        Stato s;
        DialoghiFinti d;
        QVERIFY(Main(s, d, c.percorso()));
        VERIFICA_DIALOGHI(d);
        QVERIFY(d.boxes().isEmpty());
        QVERIFY(s.PrimoAvvio);
        QCOMPARE(s.Versione, VersioneDati);
        QVERIFY(!s.ImmaginiReali);
        QVERIFY(!s.TemaChiaro);
        QCOMPARE(s.SeparatoreCSV, QStringLiteral(","));
        QCOMPARE(s.Etichette[1], QStringLiteral("Campo Personale 1"));
        QCOMPARE(s.NumComponenti, 0);
        QCOMPARE(s.ProssimoIDPackage, 1);
        QCOMPARE(s.percorsi.PercorsoApp, c.percorso());

        QMap<QString, QByteArray> attesa;
        attesa.insert("Info.ini", IniPrimoAvvio());
        attesa.insert("Backups/Info.ini", IniPrimoAvvio());
        for (const QString &t : kTabelle) {
            attesa.insert(t, QByteArray());
            attesa.insert("Backups/" + t, QByteArray());
        }
        for (const QString &f : kCartelle)
            attesa.insert(f, "<cartella>");
        QCOMPARE(Istantanea(c.percorso()), attesa); // no Sumatra, no Manual, nothing else
    }

    void secondoAvvioNonCambiaNulla()
    {
        ConDati a;
        Stato s1;
        DialoghiFinti d;
        QVERIFY(Main(s1, d, a.cartella.percorso()));
        const auto dopoPrimo = Istantanea(a.cartella.percorso());
        Stato s2;
        QVERIFY(Main(s2, d, a.cartella.percorso()));
        QVERIFY(!s2.PrimoAvvio);
        QCOMPARE(Istantanea(a.cartella.percorso()), dopoPrimo);
        QVERIFY(StessiDati(s2, a.salvato));
        QCOMPARE(s2.TotalePezzi, qint64(10 - 25));
        // Backups hold the files exactly as found.
        const QStringList dati = {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat",
                                  "Info.ini"};
        for (const QString &f : dati)
            QCOMPARE(a.cartella.leggi("Backups/" + f), a.cartella.leggi(f));
        VERIFICA_DIALOGHI(d);
    }

    void contatoreNonNumerico_data()
    {
        QTest::addColumn<QByteArray>("riga");
        QTest::newRow("letters") << QByteArray("Numero Tipi=abc");
        QTest::newRow("empty") << QByteArray("Numero Tipi=");
        QTest::newRow("beyond 32 bits") << QByteArray("Numero Tipi=99999999999");
    }
    void contatoreNonNumerico()
    {
        QFETCH(QByteArray, riga);
        CartellaTest c;
        c.scrivi("Info.ini", QByteArray(IniPrimoAvvio()).replace("Numero Tipi=0", riga));
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!Main(s, d, c.percorso()));
        QCOMPARE(d.boxes().size(), 1);
        QCOMPARE(d.ultimoBox().testo,
                 ErroreMain(13, "Tipo non corrispondente: il valore di \"Numero Tipi\" in Info.ini "
                                "non è un numero valido"));
        QCOMPARE(d.ultimoBox().pulsanti, Pulsanti::Ok);
        QCOMPARE(d.ultimoBox().icona, Icona::Nessuna);
        QCOMPARE(d.ultimoBox().titolo, QString());
        QVERIFY(!c.esiste("Backups/Info.ini"));
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
        QVERIFY(s.ImmaginiReali);
        QVERIFY(s.TemaChiaro);
        QCOMPARE(s.Etichette[6], QStringLiteral("Campo Personale6"));
        const QByteArray atteso =
            "[Counter]\r\nNumero Componenti=0\r\nNumero Tipi=0\r\nNumero Produttori=0\r\n"
            "Numero Packages=0\r\nProssimo ID Componente=1\r\nProssimo ID Tipi=1\r\n"
            "Prossimo ID Produttori=1\r\nProssimo ID Package=1\r\n"
            "[Versione]\r\nVersione=10.2.0 \r\n"
            "[Options]\r\nImmagini dimensioni reali=True\r\nSeparatore CSV=,\r\nTema Chiaro=True\r\n"
            "[Custom]\r\nCampo personale 1=Campo Personale1\r\nCampo personale 2=Campo Personale2\r\n"
            "Campo personale 3=Campo Personale3\r\nCampo personale 4=Campo Personale4\r\n"
            "Campo personale 5=Campo Personale5\r\nCampo personale 6=Campo Personale6\r\n";
        QCOMPARE(c.leggi("Info.ini"), atteso);
        QCOMPARE(c.leggi("Backups/Info.ini"), atteso); // the backup is taken after the rewrite
        VERIFICA_DIALOGHI(d);
    }

    void altraVersioneRiscritta()
    {
        CartellaTest c;
        c.scrivi("Info.ini", QByteArray(IniPrimoAvvio())
                                 .replace("Versione=10.2.0 ", "Versione=9.1")
                                 .replace("Separatore CSV=,", "Separatore CSV=;"));
        Stato s;
        DialoghiFinti d;
        QVERIFY(Main(s, d, c.percorso()));
        QCOMPARE(s.Versione, VersioneDati);
        QCOMPARE(c.leggi("Info.ini"), QByteArray(IniPrimoAvvio()).replace("Separatore CSV=,", "Separatore CSV=;"));
        VERIFICA_DIALOGHI(d);
    }

    void caricamentoFallitoNonToccaNulla_data()
    {
        QTest::addColumn<QByteArray>("daCercare");
        QTest::addColumn<QByteArray>("sostituto");
        QTest::addColumn<QString>("file");
        QTest::newRow("fewer types than counted")
            << QByteArray("Numero Tipi=2") << QByteArray("Numero Tipi=3") << "Info.ini";
        QTest::newRow("damaged Componenti.dat")
            << QByteArray("#2024-10-09#") << QByteArray("#2024-99-09#") << "Componenti.dat";
        QTest::newRow("Componenti.dat cut short")
            << QByteArray("\"NE555\"") << QByteArray("\"NE555") << "Componenti.dat";
    }
    void caricamentoFallitoNonToccaNulla()
    {
        QFETCH(QByteArray, daCercare);
        QFETCH(QByteArray, sostituto);
        QFETCH(QString, file);
        ConDati a;
        {
            // A good start: Backups now hold the saved example database.
            Stato s;
            DialoghiFinti d;
            QVERIFY(Main(s, d, a.cartella.percorso()));
        }
        const QByteArray buono = a.cartella.leggi(file);
        QVERIFY(buono.contains(daCercare));
        a.cartella.scrivi(file, QByteArray(buono).replace(daCercare, sostituto));
        const auto prima = Istantanea(a.cartella.percorso());

        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!Main(s, d, a.cartella.percorso()));
        QCOMPARE(d.boxes().size(), 1);
        QCOMPARE(d.ultimoBox().testo, QStringLiteral("Errore nell'apertura files del DB"));
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.cartella.leggi("Backups/" + file), buono);
        VERIFICA_DIALOGHI(d);
    }

    void tabellaMancanteConConteggio()
    {
        ConDati a;
        QVERIFY(QFile::remove(a.cartella.file("Produttori.dat")));
        const auto backup = SoloBackup(Istantanea(a.cartella.percorso()));
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!Main(s, d, a.cartella.percorso()));
        QCOMPARE(d.ultimoBox().testo, QStringLiteral("Errore nell'apertura files del DB"));
        QVERIFY(a.cartella.esiste("Produttori.dat"));
        QCOMPARE(a.cartella.leggi("Produttori.dat"), QByteArray());
        QCOMPARE(SoloBackup(Istantanea(a.cartella.percorso())), backup);
        VERIFICA_DIALOGHI(d);
    }

    void cartellaNonScrivibile_data()
    {
        QTest::addColumn<bool>("permessi");
        QTest::newRow("program folder below a file") << false;
        QTest::newRow("read-only program folder") << true;
    }
    void cartellaNonScrivibile()
    {
        QFETCH(bool, permessi);
        CartellaTest c;
        QString programma;
        if (permessi) {
            if (::geteuid() == 0)
                QSKIP("running as root: permission bits do not stop root from writing; "
                      "the row 'program folder below a file' covers the same failure");
            programma = c.file("Arvo");
            QVERIFY(QDir().mkdir(programma));
            QVERIFY(QFile::setPermissions(programma, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else {
            c.scrivi("file", "x");
            programma = c.file("file/Arvo");
        }
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!Main(s, d, programma));
        QCOMPARE(d.boxes().size(), 1);
        QCOMPARE(d.ultimoBox().testo,
                 ErroreMain(75, "Impossibile creare il file " + Nativo(programma + "/Componenti.dat")));
        QVERIFY(!QFileInfo::exists(programma + "/Info.ini"));
        if (permessi)
            QFile::setPermissions(programma, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                 | QFileDevice::ExeOwner);
        VERIFICA_DIALOGHI(d);
    }

    void cartellaOccupataDaUnFile()
    {
        CartellaTest c;
        c.scrivi("Stampe", "non una cartella");
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!Main(s, d, c.percorso()));
        QCOMPARE(d.ultimoBox().testo,
                 ErroreMain(75, "Impossibile creare la cartella " + Nativo(c.file("Stampe"))));
        // What was created before the failure stays.
        QCOMPARE(c.leggi("Info.ini"), IniPrimoAvvio());
        QVERIFY(QFileInfo(c.file("Pics")).isDir());
        QVERIFY(!c.esiste("Backups"));
        VERIFICA_DIALOGHI(d);
    }

    void iniIlleggibile()
    {
        CartellaTest c;
        QVERIFY(QDir(c.percorso()).mkdir("Info.ini"));
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!Main(s, d, c.percorso()));
        QCOMPARE(d.ultimoBox().testo,
                 ErroreMain(75, "Impossibile leggere il file " + Nativo(c.file("Info.ini"))));
        VERIFICA_DIALOGHI(d);
    }

    void avanziDiUnSalvataggioInterrotto()
    {
        ConDati a;
        const auto prima = Istantanea(a.cartella.percorso());
        // Temporaries without a journal: the save never completed.
        a.cartella.scrivi(NomeTemporaneo("Tipi.dat"), "99,\"MEZZO\"\r\n");
        a.cartella.scrivi("Backups/" + NomeTemporaneo("Info.ini"), "[rotto");
        a.cartella.scrivi(NomeTemporaneo(NomeGiornale), "Tipi.dat\r\n");
        Stato s;
        DialoghiFinti d;
        QVERIFY(Main(s, d, a.cartella.percorso()));
        QVERIFY(StessiDati(s, a.salvato));
        auto dopo = Istantanea(a.cartella.percorso());
        QCOMPARE(dopo.keys(), prima.keys());
        VERIFICA_DIALOGHI(d);
    }

    void giornaleCompletaIlSalvataggio()
    {
        ConDati a;
        // The journal is in place and two files were already renamed: the
        // start finishes the other three before reading anything.
        Stato nuovo = a.salvato;
        nuovo.Tipi[0].Nome = QStringLiteral("NUOVO");
        nuovo.NumComponenti = 1;
        DialoghiFinti d;
        GuastoScrittura guasto;
        guasto.interrompiDopoPassi = 8;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(nuovo, d, guasto));
        QVERIFY(a.cartella.esiste(NomeGiornale));
        Stato s;
        QVERIFY(Main(s, d, a.cartella.percorso()));
        QVERIFY(StessiDati(s, nuovo));
        QVERIFY(!a.cartella.esiste(NomeGiornale));
        // And the backup holds the completed set.
        QCOMPARE(a.cartella.leggi("Backups/Tipi.dat"), a.cartella.leggi("Tipi.dat"));
        QVERIFY(a.cartella.leggi("Tipi.dat").contains("NUOVO"));
        VERIFICA_DIALOGHI(d);
    }
};

QTEST_GUILESS_MAIN(TestAvvio)
#include "tst_avvio.moc"
