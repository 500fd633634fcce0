// The dated copies of the data files, without a window and with a clock the tests move: what a start keeps, which
// copies pruning removes, a copy the disk refuses, what a crash leaves, links to unchanged files, the summary, and
// going back to a copy (the round trip is tst_frmripristino's).
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/fifosorvegliata.h"
#include "common/verifiche.h"
#include "copie/copie.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QCoreApplication>

Q_DECLARE_METATYPE(GuastoCopia)

namespace {

QDateTime Momento(int giorno, int ora = 9, int minuto = 0, int secondo = 0)
{
    return QDateTime(QDate(2026, 11, 1).addDays(giorno), QTime(ora, minuto, secondo));
}

// The names of the folders in Backups/Copie (complete or not), sorted.
QStringList Cartelle(const CartellaTest &c)
{
    return QDir(c.file("Backups/Copie")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                                   | QDir::System, QDir::Name);
}

// A start at that moment: true when it went without a box.
bool Avvia(const CartellaTest &c, const QDateTime &quando, Stato *stato = nullptr)
{
    ImpostaAdesso(quando);
    Stato s;
    DialoghiFinti d;
    const bool ok = Main(stato ? *stato : s, d, c.percorso());
    if (!d.problemi().isEmpty())
        qWarning("%s", qPrintable(d.problemi()));
    return ok && d.boxes().isEmpty();
}

// A program folder holding the example database, loaded once at day 0.
struct ConDati : CartellaTest {
    Stato stato;
    ConDati()
    {
        DialoghiFinti d;
        ImpostaAdesso(Momento(0, 8));
        QVERIFY(Main(stato, d, percorso()));
        RiempiStatoDiEsempio(stato);
        QVERIFY(SalvaDatabase(stato, d));
        QVERIFY(QDir(file("Backups/Copie")).removeRecursively());
        QVERIFY(Avvia(*this, Momento(0), &stato));
    }
    void cambia(int delta)
    {
        DialoghiFinti d;
        stato.Componenti[0].Quantita += delta;
        QVERIFY(SalvaDatabase(stato, d));
    }
};

} // namespace

class TestCopie : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ImpostaAdesso({}); }

    // The policy alone: moments newest first, one character per copy in the expected outcome ('t' kept, '-' removed).
    // Today is day 40. The thirty days' edge and a day's first: potaturaAllAvvio.
    void copieDaTenere_data()
    {
        Colonne<QList<QDateTime>, QString>("momenti", "atteso");
        auto giorni = [](std::initializer_list<int> g) {
            QList<QDateTime> m;
            for (int x : g)
                m << Momento(x, 12);
            return m;
        };
        QList<QDateTime> dodiciOggi;
        for (int i = 12; i >= 1; --i)
            dodiciOggi << Momento(40, 8, i);
        QTest::newRow("none") << QList<QDateTime>{} << "";
        QTest::newRow("three") << giorni({40, 39, 1}) << "ttt";
        // The eleventh is neither among the ten nor the day's first.
        QTest::newRow("twelve today") << dodiciOggi << "tttttttttt-t";
        // Older than thirty days, yet among the last ten starts.
        QTest::newRow("ten starts long ago") << giorni({40, 2, 1, 0}) << "tttt";
        // A clock put back: a copy dated after today is only one of the ten.
        QTest::newRow("dated in the future") << giorni({45, 40}) << "tt";
    }
    void copieDaTenere()
    {
        const auto [momenti] = Valori<QList<QDateTime>>("momenti");
        QString esito;
        for (bool t : CopieDaTenere(momenti, Momento(40).date()))
            esito += t ? u't' : u'-';
        QTEST(esito, "atteso");
    }

    // A start a day for 33 days, three within one second on days 5, 6, 32 and 33 (each gets its own folder), pruned
    // at every start: the ten newest and the first of each of the last thirty days (4 to 33) stay.
    void potaturaAllAvvio()
    {
        CartellaTest c;
        for (int giorno = 1; giorno <= 33; ++giorno) {
            for (int volta = giorno == 5 || giorno == 6 || giorno >= 32 ? 3 : 1; volta > 0; --volta)
                QVERIFY(Avvia(c, Momento(giorno, 8)));
        }
        QStringList attese;
        for (int giorno = 4; giorno <= 33; ++giorno)
            attese << NomeCopia(Momento(giorno, 8));
        for (int giorno : {32, 33})
            attese << NomeCopia(Momento(giorno, 8)) + "_2" << NomeCopia(Momento(giorno, 8)) + "_3";
        attese.sort();
        QCOMPARE(Cartelle(c), attese);
        const QList<CopiaDatata> elenco = ElencoCopie(Percorsi::DaCartella(c.percorso()));
        QCOMPARE(elenco.first().nome, attese.last());
        QCOMPARE(elenco.first().momento, Momento(33, 8));
        QCOMPARE(elenco.first().progressivo, 3);
        QCOMPARE(elenco.last().nome, attese.first());
    }

    // An unchanged file is a link to the newest copy's; a changed one is
    // written afresh; the live files are never linked.
    void collegamentiAiFileUguali()
    {
        ConDati c;
        c.cambia(+5);
        QVERIFY(Avvia(c, Momento(1)));
        QVERIFY(Avvia(c, Momento(2)));
        const QString primo = "Backups/Copie/" + NomeCopia(Momento(0)) + '/';
        const QString secondo = "Backups/Copie/" + NomeCopia(Momento(1)) + '/';
        const QString terzo = "Backups/Copie/" + NomeCopia(Momento(2)) + '/';
        for (const QString &f : c.dati().keys()) {
            const bool cambiato = f == "Componenti.dat";
            QCOMPARE(StatDi(c.file(secondo + f)).st_ino == StatDi(c.file(primo + f)).st_ino, !cambiato);
            QCOMPARE(StatDi(c.file(terzo + f)).st_ino, StatDi(c.file(secondo + f)).st_ino);
            QCOMPARE(StatDi(c.file(terzo + f)).st_nlink, nlink_t(cambiato ? 2 : 3));
            QCOMPARE(StatDi(c.file(f)).st_nlink, nlink_t(1));
        }
        QCOMPARE(c.dati(terzo), c.dati());
        QVERIFY(c.dati(primo) != c.dati());
        // Each summary is its own file.
        QCOMPARE(StatDi(c.file(terzo + "Riepilogo.txt")).st_nlink, nlink_t(1));
        QCOMPARE(c.leggi(secondo + "Riepilogo.txt"), QByteArray("Componenti=2\r\nPezzi=-10\r\n"));
    }

    // A copy the start cannot make: one warning, the start goes on with
    // every component, the copy in Backups is made as ever.
    void copiaImpossibileAllAvvio_data()
    {
        // collegamento: a broken link in place of Copie, else a file
        Colonne<bool>("collegamento");
        QTest::newRow("file in place of Copie") << false;
        QTest::newRow("broken link in place of Copie") << true;
    }
    void copiaImpossibileAllAvvio()
    {
        const auto [collegamento] = Valori<bool>("collegamento");
        ConDati c;
        QVERIFY(QDir(c.file("Backups/Copie")).removeRecursively());
        if (collegamento)
            QVERIFY(QFile::link(c.file("nessuna/parte"), c.file("Backups/Copie")));
        else
            c.scrivi("Backups/Copie", "x");
        c.cambia(+1);
        ImpostaAdesso(Momento(1));
        Stato s;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(Main(s, d, c.percorso()));
        VERIFICA_DIALOGHI(d);
        const QString copie = QDir::toNativeSeparators(c.file("Backups/Copie"));
        VerificaBox(d, "Attenzione: la copia datata dei dati di questo avvio non \u00e8 stata creata.\r\n"
                       "Impossibile creare la cartella " + copie + ".\r\nI dati non sono stati toccati. "
                       "Controllare i permessi e lo spazio libero della cartella " + copie + ".", Icona::Esclamazione);
        QCOMPARE(s.NumComponenti, 2);
        QCOMPARE(s.Componenti[0].Quantita, 11);
        QCOMPARE(c.dati("Backups"), c.dati());
    }

    // A copy the disk refuses, for a file it does not write or for want of room (the bytes to write plus a whole save;
    // the files linked to the newest copy take none): false with the reason, nothing left behind.
    void creaCopia_data()
    {
        // One table changed since the newest copy, the file that fails, the bytes of free space beyond what is
        // needed, the error (empty: made; %1 the folder being written).
        Colonne<bool, int, int, QString>("cambiato", "fileGuasto", "margine", "errore");
        const QString spazio = "Spazio libero su disco insufficiente (servono 1 MB, disponibili 0 MB)";
        QTest::newRow("unchanged, exactly enough") << false << -1 << 0 << "";
        QTest::newRow("unchanged, one byte short") << false << -1 << -1 << spazio;
        QTest::newRow("changed, exactly enough") << true << -1 << 0 << "";
        QTest::newRow("changed, one byte short") << true << -1 << -1 << spazio;
        QTest::newRow("table not written") << true << 1 << 0 << "Impossibile scrivere il file %1/Tipi.dat";
        QTest::newRow("summary not written") << true << 5 << 0 << "Impossibile scrivere il file %1/Riepilogo.txt";
    }
    void creaCopia()
    {
        auto [cambiato, fileGuasto, margine, errore] =
            Valori<bool, int, int, QString>("cambiato", "fileGuasto", "margine", "errore");
        ConDati c;
        if (cambiato)
            c.cambia(+1);
        qint64 libero = margine + (cambiato ? c.leggi("Componenti.dat").size() : 0);
        for (const QByteArray &f : c.dati())
            libero += f.size();
        const auto prima = Istantanea(c.percorso());
        ImpostaAdesso(Momento(1));
        QString descrizione;
        CopiaDatata creata;
        QCOMPARE(CreaCopia(c.stato.percorsi, {2, 0}, &creata, &descrizione,
                           GuastoCopia{.spazioLibero = libero, .fileGuasto = fileGuasto}),
                 errore.isEmpty());
        QCOMPARE(ElencoCopie(c.stato.percorsi).size(), errore.isEmpty() ? 2 : 1);
        if (errore.isEmpty())
            return;
        QCOMPARE(descrizione, errore.replace("%1", QDir::toNativeSeparators(c.file("Backups/Copie/2026-11-02_09-00-00.parziale"))));
        QVERIFY(creata.nome.isEmpty());
        QCOMPARE(Istantanea(c.percorso()), prima);
    }

    // What a crash while writing a copy leaves is no copy, and the next start removes it; a link among the leftovers
    // goes, never what it leads to.
    void residuiDiUnCrash()
    {
        ConDati c;
        ImpostaAdesso(Momento(1));
        QVERIFY(!CreaCopia(c.stato.percorsi, {2, -15}, nullptr, nullptr, GuastoCopia{.interrompiPrimaDelNome = true}));
        QCOMPARE(Cartelle(c), QStringList({"2026-11-01_09-00-00", "2026-11-02_09-00-00.parziale"}));
        QCOMPARE(ElencoCopie(c.stato.percorsi).size(), 1);
        CartellaTest fuori;
        fuori.scrivi("da/tenere.txt", "resta");
        QVERIFY(QFile::link(fuori.file("da"), c.file("Backups/Copie/2026-11-01_10-00-00.parziale")));
        QVERIFY(QFile::link(fuori.file("da"), c.file("Backups/Copie/2026-11-01_11-00-00")));

        QVERIFY(Avvia(c, Momento(2)));
        QCOMPARE(Cartelle(c), QStringList({"2026-11-01_09-00-00", "2026-11-01_11-00-00", "2026-11-03_09-00-00"}));
        QCOMPARE(fuori.leggi("da/tenere.txt"), QByteArray("resta"));
        QCOMPARE(ElencoCopie(c.stato.percorsi).size(), 2); // a link is not a copy
    }

    // The summary, read from its file or, when that is missing or damaged,
    // from the copy's files; a copy whose files do not load is unknown.
    void riepilogo_data()
    {
        // contenuto: "<nessuno>" removes the file, "<fifo>" makes a FIFO.
        Colonne<QString, QByteArray, qint64, qint64>("file", "contenuto", "componenti", "pezzi");
        QTest::newRow("as written") << "Riepilogo.txt" << QByteArray("Componenti=7\r\nPezzi=99\r\n") << 7ll << 99ll;
        QTest::newRow("missing") << "Riepilogo.txt" << QByteArray("<nessuno>") << 2ll << -15ll;
        QTest::newRow("count not a number") << "Riepilogo.txt" << QByteArray("Componenti=due\r\nPezzi=1\r\n") << 2ll << -15ll;
        QTest::newRow("pieces missing") << "Riepilogo.txt" << QByteArray("Componenti=2\r\n") << 2ll << -15ll;
        QTest::newRow("a FIFO") << "Riepilogo.txt" << QByteArray("<fifo>") << 2ll << -15ll;
        QTest::newRow("no summary, table cut short") << "Tipi.dat" << QByteArray("3,\"X\"\r\n") << -1ll << 0ll;
        QTest::newRow("no summary, FIFO for a table") << "Packages.dat" << QByteArray("<fifo>") << -1ll << 0ll;
    }
    void riepilogo()
    {
        const auto [file, contenuto] = Valori<QString, QByteArray>("file", "contenuto");
        ConDati a;
        const CopiaDatata copia = ElencoCopie(a.stato.percorsi).value(0);
        const QString percorso = copia.percorso + '/' + file;
        QVERIFY(QFile::remove(percorso));
        if (file != "Riepilogo.txt")
            QVERIFY(QFile::remove(copia.percorso + "/Riepilogo.txt"));
        std::unique_ptr<FifoSorvegliata> fifo;
        if (contenuto == "<fifo>")
            fifo = std::make_unique<FifoSorvegliata>(percorso);
        else if (contenuto != "<nessuno>")
            a.scrivi(QDir(a.percorso()).relativeFilePath(percorso), contenuto);
        const RiepilogoCopia r = LeggiRiepilogo(copia);
        QTEST(r.componenti, "componenti");
        QTEST(r.pezzi, "pezzi");
        if (fifo)
            QVERIFY(!fifo->aperta());
    }

    // A restore for which the disk has no room for the copy of the current files changes no data file (a copy that
    // cannot be read: tst_frmripristino's nonRiuscito).
    void ripristinoSenzaSpazio()
    {
        ConDati c;
        c.cambia(+1);
        QVERIFY(Avvia(c, Momento(1)));
        const CopiaDatata scelta = ElencoCopie(c.stato.percorsi).value(1);
        const auto prima = Istantanea(c.percorso());
        ImpostaAdesso(Momento(2));
        QString descrizione;
        QVERIFY(!RipristinaCopia(c.stato, scelta, nullptr, &descrizione, GuastoCopia{.spazioLibero = 0}));
        QCOMPARE(descrizione, "Spazio libero su disco insufficiente (servono 1 MB, disponibili 0 MB)");
        QCOMPARE(Istantanea(c.percorso()), prima);
        QCOMPARE(ElencoCopie(c.stato.percorsi).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCopie)
#include "tst_copie.moc"
