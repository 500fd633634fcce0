// The component list: refill, counters, custom selection by a right click
// on a manufacturer or type cell, header sorting and row clicks.

#include "ambiente.h"

using namespace prova;

class TestFrmMainLista : public QObject {
    Q_OBJECT
private slots:
    void riempieInOrdineDiTabella()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        aggiungi(a.stato, componente(1, "NE555", 1, "TI", 1, "IC", 4, data(2026, 12, 5)));
        aggiungi(a.stato, componente(2, "BC547C", 2, "ST", 2, "TR", -3));
        aggiungi(a.stato, componente(3, "2N2222", 3, "NXP", 2, "TR", 10));
        a.apri();
        a.premi("reselect");
        QCOMPARE(a.codici(), QStringList({"NE555", "BC547C", "2N2222"}));
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3}));
        QStringList riga;
        for (int c = 0; c < 6; ++c)
            riga << a.lista()->testo(1, c);
        QCOMPARE(riga, QStringList({"NE555", "TI", "IC", "4", "05/12/2026", "1"}));
        QCOMPARE(a.lista()->testo(2, 3), QStringLiteral("-3"));
        QCOMPARE(a.contatori(), QStringLiteral("3/3/11"));
        QCOMPARE(a.messaggio(), a.finestra->messaggi()[0]);
        QVERIFY(!a.bottone("reselect")->isEnabled());
    }

    void selezionePersonalizzata_data()
    {
        QTest::addColumn<int>("riga"); // 0: the empty area below the rows
        QTest::addColumn<int>("colonna");
        QTest::addColumn<QList<int>>("attese"); // empty: no selection
        QTest::newRow("produttore ST") << 2 << 1 << QList<int>{2, 5};
        QTest::newRow("tipo TR") << 1 << 2 << QList<int>{2, 4};
        QTest::newRow("tipo REG") << 4 << 2 << QList<int>{3};
        QTest::newRow("CODICE") << 3 << 0 << QList<int>{};
        QTest::newRow("DATA") << 3 << 4 << QList<int>{};
        QTest::newRow("sotto le righe") << 0 << 1 << QList<int>{};
    }
    void selezionePersonalizzata()
    {
        QFETCH(int, riga);
        QFETCH(int, colonna);
        QFETCH(QList<int>, attese);
        Ambiente a;
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        a.bottone("reselect")->setEnabled(false);
        a.clicRiga(riga, colonna, Qt::RightButton);
        if (attese.isEmpty()) {
            QCOMPARE(a.posizioni(), QList<int>({4, 5, 2, 3, 1}));
            QVERIFY(!a.bottone("reselect")->isEnabled());
            QCOMPARE(a.messaggio(), f.messaggi()[0]);
            // A row click itself still shows the row's component.
            QCOMPARE(a.testo("txCodice"), riga ? QStringLiteral("BC547C") : QString());
            return;
        }
        QCOMPARE(a.posizioni(), attese);
        QCOMPARE(a.messaggio(), f.messaggi()[3]);
        QVERIFY(a.bottone("reselect")->isEnabled());
        QCOMPARE(a.contatori(), QStringLiteral("5/%1/").arg(attese.size()) + a.etichetta("numPieces"));
        QCOMPARE(f.variabili().PosCorrente, 0);
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        // Clicking the last listed row shows that component.
        a.clicRiga(attese.size(), 0);
        QCOMPARE(f.variabili().PosCorrente, attese.last());
        QCOMPARE(a.testo("txCodice"), a.stato.componente(attese.last()).Codice);
        // "reselect" brings the whole table back, unsorted.
        a.premi("reselect");
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3, 4, 5}));
        QCOMPARE(a.contatori(), QStringLiteral("5/5/144"));
        QVERIFY(a.testo("txCodice").isEmpty());
    }

    void confineTraColonne()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        a.apri();
        QTreeView *vista = a.lista()->vista();
        const int y = vista->visualRect(vista->model()->index(1, 0)).center().y(); // row 2: 74HC00, ST
        const int confine = a.lista()->sinistraColonna(2);
        QCOMPARE(confine, 110);
        // Exactly on the boundary: the left-hand column, CODICE: no selection.
        QTest::mouseClick(vista->viewport(), Qt::RightButton, {}, QPoint(confine, y));
        QCOMPARE(a.lista()->numeroRighe(), 5);
        // One pixel further: PRODUTTORE, the rows of ST.
        QTest::mouseClick(vista->viewport(), Qt::RightButton, {}, QPoint(confine + 1, y));
        QCOMPARE(a.posizioni(), QList<int>({2, 5}));
    }

    void intestazioniAlternanoLaDirezione()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        a.clicRiga(2, 0);
        a.clicIntestazione(4); // QTA, descending after the ascending load
        QCOMPARE(a.codici(), QStringList({"BC547C", "NE555", "74HC00", "2N2222", "LM317T"}));
        QCOMPARE(f.variabili().PosCorrente, 0);
        QCOMPARE(f.variabili().IndiceVoce, 0);
        a.clicIntestazione(4);
        QCOMPARE(a.codici(), QStringList({"LM317T", "2N2222", "74HC00", "NE555", "BC547C"}));
        a.clicIntestazione(5); // DATA: the direction is the list's, so descending
        QCOMPARE(a.codici(), QStringList({"LM317T", "NE555", "74HC00", "BC547C", "2N2222"}));
        a.clicIntestazione(5);
        QCOMPARE(a.codici(), QStringList({"2N2222", "BC547C", "74HC00", "NE555", "LM317T"}));
        // A row clicked after the sort shows its own component; so do the arrow keys.
        a.clicRiga(2, 2);
        QCOMPARE(f.variabili().PosCorrente, 2);
        QCOMPARE(a.testo("txCodice"), QStringLiteral("BC547C"));
        QTest::keyClick(a.lista()->vista(), Qt::Key_Down);
        QCOMPARE(f.variabili().IndiceVoce, 3);
        QCOMPARE(a.testo("txCodice"), QStringLiteral("74HC00"));
        QCOMPARE(a.bottoni(), QStringLiteral("11100"));
    }

    void riselezionaDuranteLaModifica()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        a.apri();
        a.premi("new");
        QVERIFY(!a.lista()->isEnabled());
        a.premi("reselect"); // refills the list and puts it back in use
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
