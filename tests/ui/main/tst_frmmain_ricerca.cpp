// Search through the search box and the toolbar, "reselect", the print
// listing of the rows on screen and the CSV export from the menu.

#include "ambiente.h"

#include "store/orologio.h"

using namespace prova;

class TestFrmMainRicerca : public QObject {
    Q_OBJECT

    static void prepara(Ambiente &a)
    {
        riempiTabelle(a.stato);
        aggiungi(a.stato, componente(1, "LM317T", 1, "TI", 3, "REG", 5));
        aggiungi(a.stato, componente(2, "74HC00", 2, "ST", 1, "IC", 12));
        aggiungi(a.stato, componente(3, "74LS00", 1, "TI", 1, "IC", 3));
        a.apri();
        a.bottone("reselect")->setEnabled(false);
    }
    static void cerca(const Ambiente &a, const QString &testo, bool conInvio)
    {
        auto *t = a.w<QLineEdit>("txSearch");
        t->clear();
        QTest::keyClicks(t, testo);
        if (conInvio)
            QTest::keyClick(t, Qt::Key_Return);
        else
            a.premi("search");
    }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void trova_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("conInvio");
        QTest::addColumn<QList<int>>("attese"); // empty: nothing found, the list stays
        QTest::newRow("hc") << "hc" << true << QList<int>{2};
        QTest::newRow("74") << "74" << false << QList<int>{2, 3};
        QTest::newRow("7?L") << "7?L" << true << QList<int>{3};
        QTest::newRow("vuoto") << "" << false << QList<int>{1, 2, 3};
        QTest::newRow("parentesi aperta, Invio") << "[" << true << QList<int>{};
        QTest::newRow("nessun risultato, Invio") << "zz" << true << QList<int>{};
        QTest::newRow("nessun risultato, barra") << "zz" << false << QList<int>{};
    }
    void trova()
    {
        QFETCH(QString, testo);
        QFETCH(bool, conInvio);
        QFETCH(QList<int>, attese);
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        a.clicRiga(2, 0);
        const QString messaggio = a.messaggio();
        const QList<int> prima = a.posizioni();
        cerca(a, testo, conInvio);
        if (attese.isEmpty()) {
            QCOMPARE(a.posizioni(), prima);
            QCOMPARE(a.messaggio(), messaggio);
            QCOMPARE(a.testo("txCodice"), QStringLiteral("74LS00"));
            // Only the toolbar command enables "reselect" all the same.
            QCOMPARE(a.bottone("reselect")->isEnabled(), !conInvio);
            return;
        }
        QCOMPARE(a.posizioni(), attese);
        QCOMPARE(f.variabili().PosCorrente, attese.first());
        QCOMPARE(a.lista()->rigaSelezionata(), 1);
        QCOMPARE(a.testo("txCodice"), a.stato.componente(attese.first()).Codice);
        QCOMPARE(a.messaggio(), f.messaggi()[3]);
        QVERIFY(a.bottone("reselect")->isEnabled());
        // The counters keep the last refill's values; "reselect" refreshes them.
        QCOMPARE(a.contatori(), QStringLiteral("3/3/20"));
        a.clicRiga(1, 1, Qt::RightButton); // a custom selection narrows them
        a.premi("reselect");
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3}));
        QCOMPARE(a.contatori(), QStringLiteral("3/3/20"));
        QVERIFY(!a.bottone("reselect")->isEnabled());
        QVERIFY(a.testo("txCodice").isEmpty());
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
    }

    void ricercaDuranteLaModifica()
    {
        Ambiente a;
        prepara(a);
        a.premi("new");
        a.scrivi("txCodice", "NUOVO1");
        cerca(a, QStringLiteral("LM"), true);
        QCOMPARE(a.testo("txCodice"), QStringLiteral("LM317T"));
        QCOMPARE(a.posizioni(), QList<int>({1}));
        QCOMPARE(a.finestra->variabili().PosCorrente, 1);
    }

    void clicSelezionaIlTesto()
    {
        Ambiente a;
        prepara(a);
        auto *t = a.w<QLineEdit>("txSearch");
        QTest::keyClicks(t, QStringLiteral("74hc"));
        QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(2, t->height() / 2));
        QCOMPARE(t->selectedText(), QStringLiteral("74hc"));
        QTest::keyClicks(t, QStringLiteral("LM"));
        QCOMPARE(t->text(), QStringLiteral("LM"));
    }

    void stampaLeRigheMostrate()
    {
        Ambiente a;
        prepara(a);
        cerca(a, QStringLiteral("74"), true);
        a.clicIntestazione(1); // descending by code after the search's table order
        a.premi("print");
        const QByteArray stampa = a.cartella.leggi(QStringLiteral("Stampe/Stampa_05122026.txt"));
        QVERIFY(stampa.startsWith("Elenco dei 2 componenti estratti il 05/12/2026\r\n"));
        QVERIFY(stampa.indexOf("74LS00") > 0 && stampa.indexOf("74HC00") > stampa.indexOf("74LS00"));
        QVERIFY(!stampa.contains("LM317T"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void esportazioneCSV()
    {
        Ambiente a;
        prepara(a);
        cerca(a, QStringLiteral("hc"), true);
        a.menu("mnuCSV");
        // The whole table, whatever the list shows.
        const QByteArray csv = a.cartella.leggi(QStringLiteral("Exported/CSVlist.csv"));
        QVERIFY(csv.startsWith("Codice | Produttore | Tipo | Qt\xe0 | Inserito | Descrizione\r\n"));
        QCOMPARE(csv.count("\r\n"), 4);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainRicerca)
#include "tst_frmmain_ricerca.moc"
