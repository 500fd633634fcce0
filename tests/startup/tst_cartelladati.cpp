// Which folder becomes the database: the program folder (portable), or the user's XDG data folder for an installation
// that cannot or should not hold it; where the manual, the background and the PDF viewer are read from; and the
// refusal, writing nothing, when the data folder cannot be used.
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/verifiche.h"
#include "copie/copie.h"
#include "startup/cartelladati.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"
#include "store/stato.h"

#include <optional>
#include <unistd.h>

class TestCartellaDati : public QObject {
    Q_OBJECT

    // A temporary root holding a portable program folder "prog", an installation "usr/bin" with its "usr/share/arvo", a
    // home and an XDG data folder.
    std::optional<CartellaTest> radice; // a new one for each test
    QString r(const QString &relativo) const { return QDir::cleanPath(radice->percorso() + u'/' + relativo); }

    AmbienteUtente ambiente(const QString &xdg, bool programmaScrivibile) const
    {
        AmbienteUtente a;
        a.xdgDataHome = xdg;
        a.home = r(QStringLiteral("home"));
        const QString programmi[] = {r(QStringLiteral("prog")), r(QStringLiteral("usr/bin"))};
        a.scrivibile = [=](const QString &cartella) {
            if (cartella == programmi[0] || cartella == programmi[1])
                return programmaScrivibile;
            return QFileInfo(cartella).isWritable();
        };
        return a;
    }

private slots:
    void init()
    {
        radice.emplace();
        for (const char *c : {"prog", "usr/bin", "home"})
            QVERIFY(QDir().mkpath(r(QLatin1String(c))));
        radice->scrivi(QStringLiteral("prog/arvo"), "eseguibile");
        radice->scrivi(QStringLiteral("usr/bin/arvo"), "eseguibile");
        radice->scrivi(QStringLiteral("usr/share/arvo/Manual/manual.html"), "<html>manuale</html>");
        radice->scrivi(QStringLiteral("usr/share/arvo/back.jpg"), "jpg");
    }
    void cleanup() { ImpostaAdesso({}); }

    void scelta_data()
    {
        // Folders relative to the root; xdg "" (unset) or "!" and a relative value.
        Colonne<QString, bool, bool, QString, QString, QString>("programma", "scrivibile", "conInfo", "xdg", "dati",
                                                                "risorse");
        QTest::newRow("cartella scrivibile") << "prog" << true << false << "xdg" << "prog" << "prog";
        QTest::newRow("sola lettura con Info.ini") << "prog" << false << true << "xdg" << "prog" << "prog";
        QTest::newRow("sola lettura, XDG impostata") << "prog" << false << false << "xdg" << "xdg/Arvo" << "prog";
        const QString casa = "home/.local/share/Arvo", sistema = "usr/share/arvo";
        QTest::newRow("sola lettura, XDG non impostata") << "prog" << false << false << "" << casa << "prog";
        QTest::newRow("sola lettura, XDG relativa ignorata") << "prog" << false << false << "!relativa/dati" << casa
                                                             << "prog";
        QTest::newRow("installata in sola lettura") << "usr/bin" << false << false << "xdg" << "xdg/Arvo" << sistema;
        QTest::newRow("installata, XDG non impostata") << "usr/bin" << false << false << "" << casa << sistema;
        // Run by root, a system tree is writable; it is still no database.
        QTest::newRow("installata e scrivibile (root)") << "usr/bin" << true << false << "xdg" << "xdg/Arvo" << sistema;
        QTest::newRow("installata con Info.ini") << "usr/bin" << false << true << "xdg" << "usr/bin" << "usr/bin";
    }
    void scelta()
    {
        const auto [programma, scrivibile, conInfo] = Valori<QString, bool, bool>("programma", "scrivibile", "conInfo");
        const auto [xdg, dati, risorse] = Valori<QString, QString, QString>("xdg", "dati", "risorse");
        if (conInfo)
            radice->scrivi(programma + QStringLiteral("/Info.ini"),
                          "[Versione]\r\nVersione=10.2.0 \r\n[Counter]\r\nComponenti=0\r\n");
        const QString valoreXdg =
            xdg.isEmpty() ? QString() : xdg.startsWith(u'!') ? xdg.mid(1) : r(xdg);
        const AmbienteUtente amb = ambiente(valoreXdg, scrivibile);
        const QStringList primaProgramma = Istantanea(r(programma)).keys();

        const CartelleProgramma scelte = ScegliCartelle(r(programma) + u'/', amb);
        QCOMPARE(scelte.dati, r(dati));
        QCOMPARE(scelte.risorse, r(risorse));
        QCOMPARE(scelte.portatile, dati == programma);

        // The whole start: the data folder is created and filled as at a first start; the program folder is left alone
        // unless it is the database. A read-only program folder that holds Info.ini is the database all the same, and
        // the start refuses it, writing nothing.
        Stato stato;
        DialoghiFinti dialoghi;
        if (scelte.portatile && !scrivibile) {
            dialoghi.setNextAnswer(Risposta::Ok);
            QVERIFY(!AvviaDaCartellaProgramma(stato, dialoghi, r(programma), amb));
            VERIFICA_DIALOGHI(dialoghi);
            QVERIFY(dialoghi.ultimoBox().testo.contains(QDir::toNativeSeparators(r(programma)) + "\r\n"));
            QCOMPARE(Istantanea(r(programma)).keys(), primaProgramma);
            return;
        }
        ImpostaAdesso(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 33)));
        QVERIFY(AvviaDaCartellaProgramma(stato, dialoghi, r(programma), amb));
        VERIFICA_DIALOGHI(dialoghi);
        QCOMPARE(stato.percorsi.PercorsoApp, r(dati));
        QCOMPARE(stato.percorsi.CartellaRisorse, r(risorse) + u'/');
        QCOMPARE(stato.percorsi.ComandoPDF, r(risorse) + QStringLiteral("/Sumatra/SumatraPDF.exe "));
        QCOMPARE(stato.PrimoAvvio, !conInfo);
        // Empty tables and Info.ini with the defaults, their copies in Backups
        // and in the start's dated copy with its summary, and nothing else.
        QMap<QString, QByteArray> attesi;
        const QString copia = "Backups/Copie/" + NomeCopia(Adesso());
        for (const QString &f : QStringList{"Backups", "Backups/Copie", "Datasheet", "Exported", "Packages", "Pics", "Stampe", copia})
            attesi.insert(f, "<cartella>");
        for (const QString &sotto : {QString(), QStringLiteral("Backups/"), copia + '/'}) {
            for (const QString f : {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"})
                attesi.insert(sotto + f, QByteArray());
            attesi.insert(sotto + "Info.ini", IniPrimoAvvio());
        }
        attesi.insert(copia + "/Riepilogo.txt", "Componenti=0\r\nPezzi=0\r\n");
        auto trovati = Istantanea(r(dati));
        trovati.remove(QStringLiteral("arvo"));
        QCOMPARE(trovati, attesi);
        if (dati != programma)
            QCOMPARE(Istantanea(r(programma)).keys(), primaProgramma);
        Stato secondo; // the next start is no first start
        QVERIFY(AvviaDaCartellaProgramma(secondo, dialoghi, r(programma), amb));
        QVERIFY(!secondo.PrimoAvvio);
    }

    // The data folder cannot be made or written: one message naming it, and not one file or folder written anywhere.
    void cartellaInutilizzabile_data()
    {
        Colonne<QString, bool>("xdg", "dentroUnFile");
        QTest::newRow("sotto un file") << "file/sotto" << true;
        QTest::newRow("esistente ma non scrivibile") << "xdg" << false;
    }
    void cartellaInutilizzabile()
    {
        const auto [xdg, dentroUnFile] = Valori<QString, bool>("xdg", "dentroUnFile");
        radice->scrivi(QStringLiteral("file"), "un file, non una cartella");
        QDir().mkpath(r(QStringLiteral("xdg/Arvo")));
        AmbienteUtente amb = ambiente(r(xdg), false);
        const QString bloccata = r(xdg + QStringLiteral("/Arvo"));
        if (!dentroUnFile)
            amb.scrivibile = [bloccata, prima = amb.scrivibile](const QString &c) { return c != bloccata && prima(c); };
        const QStringList prima = Istantanea(radice->percorso()).keys();

        Stato stato;
        DialoghiFinti dialoghi;
        dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!AvviaDaCartellaProgramma(stato, dialoghi, r(QStringLiteral("prog")), amb));
        VERIFICA_DIALOGHI(dialoghi);
        VerificaBox(dialoghi, "Impossibile usare la cartella dei dati:\r\n" + QDir::toNativeSeparators(bloccata)
                                  + "\r\nLa cartella non può essere creata o non è scrivibile. "
                                    "Il programma termina senza scrivere nulla.", Icona::Critica);
        QCOMPARE(Istantanea(radice->percorso()).keys(), prima);
    }

    // The superuser starting an installed program with the home of a user (sudo keeps it): the folders made on the way
    // to the data folder, and everything the first start puts in it, belong to the home's owner and group, so that the
    // user's own start finds them writable.
    void cartelleDelProprietarioDellaHome()
    {
        if (::geteuid() != 0)
            QSKIP("only the superuser can give a folder to another user");
        const QByteArray home = QFile::encodeName(r(QStringLiteral("home")));
        QVERIFY(::chown(home.constData(), 65534, 4242) == 0);
        Stato stato;
        DialoghiFinti dialoghi;
        QVERIFY(AvviaDaCartellaProgramma(stato, dialoghi, r(QStringLiteral("usr/bin")), ambiente(QString(), false)));
        VERIFICA_DIALOGHI(dialoghi);
        QCOMPARE(stato.percorsi.PercorsoApp, r(QStringLiteral("home/.local/share/Arvo")));
        QVERIFY(Istantanea(r(QStringLiteral("home"))).contains(QStringLiteral(".local/share/Arvo/Backups/Info.ini")));
        const QStringList diversi = Proprietari(r(QStringLiteral("home")), 65534, 4242);
        QVERIFY2(diversi.isEmpty(), qPrintable(diversi.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TestCartellaDati)
#include "tst_cartelladati.moc"
