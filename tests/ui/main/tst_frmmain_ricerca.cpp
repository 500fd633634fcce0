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
        aggiungi(a.stato, componente(1, QStringLiteral("LM317T"), 1, QStringLiteral("TI"), 3, QStringLiteral("REG"), 5));
        aggiungi(a.stato, componente(2, QStringLiteral("74HC00"), 2, QStringLiteral("ST"), 1, QStringLiteral("IC"), 12));
        aggiungi(a.stato, componente(3, QStringLiteral("74LS00"), 1, QStringLiteral("TI"), 1, QStringLiteral("IC"), 3));
        a.apri();
    }
    static QLineEdit *ricerca(const Ambiente &a) { return a.w<QLineEdit>(QStringLiteral("txSearch")); }
    static void cerca(const Ambiente &a, const QString &testo, bool conInvio)
    {
        QLineEdit *t = ricerca(a);
        t->clear();
        QTest::keyClicks(t, testo);
        if (conInvio)
            QTest::keyClick(t, Qt::Key_Return);
        else
            a.bottone(QStringLiteral("search"))->trigger();
    }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void trova_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("conInvio");
        QTest::addColumn<QList<int>>("attese");
        QTest::newRow("hc") << "hc" << true << QList<int>{2};
        QTest::newRow("74") << "74" << false << QList<int>{2, 3};
        QTest::newRow("7?L") << "7?L" << true << QList<int>{3};
        QTest::newRow("vuoto") << "" << false << QList<int>{1, 2, 3};
        QTest::newRow("parentesi aperta") << "[" << true << QList<int>{};
    }
    void trova()
    {
        QFETCH(QString, testo);
        QFETCH(bool, conInvio);
        QFETCH(QList<int>, attese);
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        a.bottone(QStringLiteral("reselect"))->setEnabled(false);
        const QList<int> prima = a.posizioni();
        cerca(a, testo, conInvio);
        if (attese.isEmpty()) {
            QCOMPARE(a.posizioni(), prima);
            return;
        }
        QCOMPARE(a.posizioni(), attese);
        QCOMPARE(f.variabili().PosCorrente, attese.first());
        QCOMPARE(f.variabili().IndiceVoce, 1);
        QCOMPARE(a.lista()->rigaSelezionata(), 1);
        QCOMPARE(a.w<QLineEdit>(QStringLiteral("txCodice"))->text(), a.stato.componente(attese.first()).Codice);
        QCOMPARE(a.messaggio(), f.messaggi()[3]);
        QVERIFY(a.bottone(QStringLiteral("reselect"))->isEnabled());
        // The counters keep the last refill's values; the toolbar is left alone.
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("3"));
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
    }

    void nessunRisultato_data()
    {
        QTest::addColumn<bool>("conInvio");
        QTest::newRow("con Invio") << true;
        QTest::newRow("dalla barra") << false;
    }
    void nessunRisultato()
    {
        QFETCH(bool, conInvio);
        Ambiente a;
        prepara(a);
        a.clicRiga(2, 0);
        a.bottone(QStringLiteral("reselect"))->setEnabled(false);
        const QList<int> prima = a.posizioni();
        const QString messaggio = a.messaggio();
        cerca(a, QStringLiteral("zz"), conInvio);
        QCOMPARE(a.posizioni(), prima);
        QCOMPARE(a.messaggio(), messaggio);
        QCOMPARE(a.w<QLineEdit>(QStringLiteral("txCodice"))->text(), QStringLiteral("74LS00"));
        // Only the toolbar command enables "reselect" all the same.
        QCOMPARE(a.bottone(QStringLiteral("reselect"))->isEnabled(), !conInvio);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void contatoriERiselezione()
    {
        Ambiente a;
        prepara(a);
        cerca(a, QStringLiteral("74"), true);
        QCOMPARE(a.lista()->numeroRighe(), 2);
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("3"));
        a.bottone(QStringLiteral("reselect"))->trigger();
        QVERIFY(!a.bottone(QStringLiteral("reselect"))->isEnabled());
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3}));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("3"));
        QVERIFY(a.w<QLineEdit>(QStringLiteral("txCodice"))->text().isEmpty());
        QCOMPARE(a.messaggio(), a.finestra->messaggi()[0]);
        // A custom selection narrows the counter, "reselect" restores it.
        a.clicRiga(1, 1, Qt::RightButton); // TI
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("2"));
        a.bottone(QStringLiteral("reselect"))->trigger();
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("3"));
    }

    void ricercaDuranteLaModifica()
    {
        Ambiente a;
        prepara(a);
        a.bottone(QStringLiteral("new"))->trigger();
        a.w<QLineEdit>(QStringLiteral("txCodice"))->setText(QStringLiteral("NUOVO1"));
        cerca(a, QStringLiteral("LM"), true);
        QCOMPARE(a.w<QLineEdit>(QStringLiteral("txCodice"))->text(), QStringLiteral("LM317T"));
        QCOMPARE(a.posizioni(), QList<int>({1}));
        QCOMPARE(a.finestra->variabili().PosCorrente, 1);
    }

    void clicSelezionaIlTesto()
    {
        Ambiente a;
        prepara(a);
        QLineEdit *t = ricerca(a);
        QTest::keyClicks(t, QStringLiteral("74hc"));
        QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(2, t->height() / 2));
        QCOMPARE(t->selectedText(), QStringLiteral("74hc"));
        QCOMPARE(t->selectionStart(), 0);
        QTest::keyClicks(t, QStringLiteral("LM"));
        QCOMPARE(t->text(), QStringLiteral("LM"));
    }

    void stampaLeRigheMostrate()
    {
        Ambiente a;
        prepara(a);
        cerca(a, QStringLiteral("74"), true);
        a.clicIntestazione(1); // descending by code after the search's table order
        QCOMPARE(a.codici(), QStringList({"74LS00", "74HC00"}));
        a.bottone(QStringLiteral("print"))->trigger();
        const QByteArray stampa = a.cartella.leggi(QStringLiteral("Stampe/Stampa_05122026.txt"));
        QVERIFY(stampa.startsWith("Elenco dei 2 componenti estratti il 05/12/2026\r\n"));
        const qsizetype ls = stampa.indexOf("74LS00");
        const qsizetype hc = stampa.indexOf("74HC00");
        QVERIFY(ls > 0 && hc > ls);
        QVERIFY(!stampa.contains("LM317T"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void esportazioneCSV()
    {
        Ambiente a;
        prepara(a);
        cerca(a, QStringLiteral("hc"), true);
        a.azione(QStringLiteral("mnuCSV"))->trigger();
        const QByteArray csv = a.cartella.leggi(QStringLiteral("Exported/CSVlist.csv"));
        // The whole table, whatever the list shows.
        QVERIFY(csv.startsWith("Codice | Produttore | Tipo | Qt\xe0 | Inserito | Descrizione\r\n"));
        QCOMPARE(csv.count("\r\n"), 4);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainRicerca)
#include "tst_frmmain_ricerca.moc"
