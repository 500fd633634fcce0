// The component list: refill, counters, custom selection by a right click
// on a manufacturer or type cell, header sorting and row clicks.

#include "ambiente.h"

#include <QTreeView>

using namespace prova;

class TestFrmMainLista : public QObject {
    Q_OBJECT

    static QString testo(const Ambiente &a, const char *nome) { return a.w<QLineEdit>(QLatin1String(nome))->text(); }

private slots:
    void riempieInOrdineDiTabella()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        aggiungi(a.stato, componente(1, QStringLiteral("NE555"), 1, QStringLiteral("TI"), 1, QStringLiteral("IC"), 4,
                                     data(2026, 12, 5)));
        aggiungi(a.stato, componente(2, QStringLiteral("BC547C"), 2, QStringLiteral("ST"), 2, QStringLiteral("TR"), -3));
        aggiungi(a.stato, componente(3, QStringLiteral("2N2222"), 3, QStringLiteral("NXP"), 2, QStringLiteral("TR"), 10));
        FrmMain &f = a.apri();
        a.bottone(QStringLiteral("reselect"))->trigger();
        QCOMPARE(a.codici(), QStringList({"NE555", "BC547C", "2N2222"}));
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3}));
        // Every cell of the first row.
        QStringList riga;
        for (int c = 0; c < 6; ++c)
            riga << a.lista()->testo(1, c);
        QCOMPARE(riga, QStringList({"NE555", "TI", "IC", "4", "05/12/2026", "1"}));
        QCOMPARE(a.lista()->testo(2, 3), QStringLiteral("-3"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numComponent"))->text(), QStringLiteral("3"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("3"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numPieces"))->text(), QStringLiteral("11"));
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
        QVERIFY(!a.bottone(QStringLiteral("reselect"))->isEnabled());
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
    }

    void selezionePersonalizzata_data()
    {
        QTest::addColumn<int>("riga");
        QTest::addColumn<int>("colonna");
        QTest::addColumn<QList<int>>("attese");
        // After the load the list is sorted by code:
        // 2N2222 (4), 74HC00 (5), BC547C (2), LM317T (3), NE555 (1).
        QTest::newRow("produttore ST") << 2 << 1 << QList<int>{2, 5};
        QTest::newRow("produttore TI") << 5 << 1 << QList<int>{1, 3};
        QTest::newRow("tipo TR") << 1 << 2 << QList<int>{2, 4};
        QTest::newRow("tipo REG") << 4 << 2 << QList<int>{3};
    }
    void selezionePersonalizzata()
    {
        QFETCH(int, riga);
        QFETCH(int, colonna);
        QFETCH(QList<int>, attese);
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        a.bottone(QStringLiteral("reselect"))->setEnabled(false);

        a.clicRiga(riga, colonna, Qt::RightButton);
        QCOMPARE(a.posizioni(), attese);
        QCOMPARE(a.messaggio(), f.messaggi()[3]);
        QVERIFY(a.bottone(QStringLiteral("reselect"))->isEnabled());
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QString::number(attese.size()));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numComponent"))->text(), QStringLiteral("5"));
        QVERIFY(!f.variabili().SelezionePersonalizzata);
        QVERIFY(f.variabili().ValoreSelezione.isEmpty());
        QCOMPARE(f.variabili().PosCorrente, 0);
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));

        // Clicking the last listed row shows that component.
        a.clicRiga(attese.size(), 0);
        QCOMPARE(f.variabili().PosCorrente, attese.last());
        QCOMPARE(testo(a, "txCodice"), a.stato.componente(attese.last()).Codice);
        QCOMPARE(a.bottoni(), QStringLiteral("11100"));

        // "reselect" brings the whole table back, unsorted.
        a.bottone(QStringLiteral("reselect"))->trigger();
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3, 4, 5}));
        QVERIFY(testo(a, "txCodice").isEmpty());
    }

    void nessunaSelezioneDaAltreColonne_data()
    {
        QTest::addColumn<int>("colonna");
        QTest::newRow("CODICE") << 0;
        QTest::newRow("QTA") << 3;
        QTest::newRow("DATA") << 4;
    }
    void nessunaSelezioneDaAltreColonne()
    {
        QFETCH(int, colonna);
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        a.bottone(QStringLiteral("reselect"))->setEnabled(false);
        a.clicRiga(3, colonna, Qt::RightButton);
        QCOMPARE(a.posizioni(), QList<int>({4, 5, 2, 3, 1}));
        QVERIFY(!a.bottone(QStringLiteral("reselect"))->isEnabled());
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
        // The row click itself still shows the row's component.
        QCOMPARE(f.variabili().PosCorrente, 2);
        QCOMPARE(testo(a, "txCodice"), QStringLiteral("BC547C"));
    }

    void clicDestroSenzaRiga()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        a.bottone(QStringLiteral("reselect"))->setEnabled(false);
        // Released on the empty area below the rows: no row to take a value from.
        a.clicRiga(0, 1, Qt::RightButton);
        QCOMPARE(a.lista()->numeroRighe(), 5);
        QVERIFY(!a.bottone(QStringLiteral("reselect"))->isEnabled());
        QVERIFY(f.variabili().ValoreSelezione.isEmpty());
    }

    void confineTraColonne()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        ListaReport *lv = a.lista();
        QTreeView *vista = lv->vista();
        const int y = vista->visualRect(vista->model()->index(1, 0)).center().y(); // row 2: 74HC00, ST
        const int confine = lv->sinistraColonna(2);
        QCOMPARE(confine, 110);

        // Exactly on the boundary: the left-hand column, CODICE: no selection.
        QTest::mouseClick(vista->viewport(), Qt::RightButton, {}, QPoint(confine, y));
        QCOMPARE(lv->numeroRighe(), 5);
        // One pixel further: PRODUTTORE, the rows of ST.
        QTest::mouseClick(vista->viewport(), Qt::RightButton, {}, QPoint(confine + 1, y));
        QCOMPARE(a.posizioni(), QList<int>({2, 5}));

        // Past the last visible column the column stays 0.
        a.bottone(QStringLiteral("reselect"))->trigger();
        const int oltre = lv->sinistraColonna(5) + lv->larghezzaColonna(5) + 3;
        QVERIFY(oltre < vista->viewport()->width());
        QTest::mousePress(vista->viewport(), Qt::LeftButton, {}, QPoint(oltre, y));
        QCOMPARE(f.variabili().ColonnaCliccata, 0);
        QTest::mousePress(vista->viewport(), Qt::LeftButton, {}, QPoint(confine + 130, y));
        QCOMPARE(f.variabili().ColonnaCliccata, 2);
        QTest::mouseRelease(vista->viewport(), Qt::LeftButton, {}, QPoint(confine + 130, y));
    }

    void intestazioniAlternanoLaDirezione()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        a.clicRiga(2, 0);
        QCOMPARE(f.variabili().PosCorrente, 5);

        a.clicIntestazione(4); // QTA, descending after the ascending load
        QCOMPARE(a.codici(), QStringList({"BC547C", "NE555", "74HC00", "2N2222", "LM317T"}));
        QCOMPARE(f.variabili().PosCorrente, 0);
        QCOMPARE(f.variabili().IndiceVoce, 0);
        QCOMPARE(f.variabili().ColonnaOrdinamento, 4);
        // The panel keeps the last component, but none is current.
        QCOMPARE(testo(a, "txCodice"), QStringLiteral("74HC00"));

        a.clicIntestazione(4);
        QCOMPARE(a.codici(), QStringList({"LM317T", "2N2222", "74HC00", "NE555", "BC547C"}));
        a.clicIntestazione(5); // DATA: the direction is the list's, so descending
        QCOMPARE(a.codici(), QStringList({"LM317T", "NE555", "74HC00", "BC547C", "2N2222"}));
        a.clicIntestazione(5);
        QCOMPARE(a.codici(), QStringList({"2N2222", "BC547C", "74HC00", "NE555", "LM317T"}));

        // A row clicked after the sort shows its own component.
        a.clicRiga(2, 2);
        QCOMPARE(f.variabili().PosCorrente, 2);
        QCOMPARE(testo(a, "txCodice"), QStringLiteral("BC547C"));
        QCOMPARE(f.variabili().IndiceVoce, 2);
    }

    void tastieraSullaLista()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        a.clicRiga(1, 0);
        QTest::keyClick(a.lista()->vista(), Qt::Key_Down);
        QCOMPARE(f.variabili().IndiceVoce, 2);
        QCOMPARE(f.variabili().PosCorrente, 5);
        QCOMPARE(a.w<QLineEdit>(QStringLiteral("txCodice"))->text(), QStringLiteral("74HC00"));
        QCOMPARE(a.bottoni(), QStringLiteral("11100"));
    }

    void listaFuoriUsoDuranteLaModifica()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        a.apri();
        QVERIFY(a.lista()->isEnabled());
        a.clicRiga(1, 0);
        a.bottone(QStringLiteral("edit"))->trigger();
        QVERIFY(!a.lista()->isEnabled());
        a.bottone(QStringLiteral("undo"))->trigger();
        QVERIFY(a.lista()->isEnabled());
        a.azione(QStringLiteral("mnuNew"))->trigger();
        QVERIFY(!a.lista()->isEnabled());
        QTest::keyClick(a.w(QStringLiteral("txCodice")), Qt::Key_Escape);
        QVERIFY(a.lista()->isEnabled());
        // "reselect" while editing refills the list and puts it back in use.
        a.bottone(QStringLiteral("new"))->trigger();
        QVERIFY(!a.lista()->isEnabled());
        a.bottone(QStringLiteral("reselect"))->trigger();
        QVERIFY(a.lista()->isEnabled());
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
    }

    void listaVuotaIgnoraIClic()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        FrmMain &f = a.apri();
        a.clicRiga(0, 1, Qt::RightButton);
        a.clicIntestazione(1);
        QCOMPARE(f.variabili().ColonnaOrdinamento, 1);
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(!f.variabili().SelezionePersonalizzata);
    }
};

QTEST_MAIN(TestFrmMainLista)
#include "tst_frmmain_lista.moc"
