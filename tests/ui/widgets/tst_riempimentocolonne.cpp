// Columns that fill a list's width: the sharing of the room (in proportion
// to the widths asked for, never below a column's need; then cut down to the
// headers; then at the minimums), and the helper on a real report list: it
// follows the list's size and keeps what the user drags.
#include "ui/widgets/listareport.h"
#include "ui/widgets/riempimentocolonne.h"

#include <QTest>
#include <QtWidgets>

#include <numeric>

using Misure = QList<MisureColonna>;
using Larghezze = QList<int>;

class TestRiempimentoColonne : public QObject {
    Q_OBJECT

private slots:
    void distribuisci_data()
    {
        QTest::addColumn<Misure>("colonne"); // asked for, needed, minimum
        QTest::addColumn<int>("spazio");
        QTest::addColumn<Larghezze>("attese");
        QTest::newRow("in proporzione") << Misure{{100, 10, 10}, {50, 10, 10}, {50, 10, 10}} << 400
                                        << Larghezze{200, 100, 100};
        QTest::newRow("come chieste") << Misure{{110, 80, 60}, {125, 90, 90}, {50, 48, 48}} << 285
                                      << Larghezze{110, 125, 50};
        QTest::newRow("una al suo bisogno") << Misure{{100, 30, 30}, {100, 150, 60}} << 200 << Larghezze{50, 150};
        // Holding the second at its need leaves the third short of its own.
        QTest::newRow("a cascata") << Misure{{100, 10, 10}, {100, 140, 50}, {100, 110, 50}} << 300
                                   << Larghezze{50, 140, 110};
        QTest::newRow("tutte al bisogno") << Misure{{10, 100, 50}, {10, 100, 50}} << 200 << Larghezze{100, 100};
        // Each text column gives up two thirds of what it has beyond its
        // header; the number column keeps its need.
        QTest::newRow("tagliate") << Misure{{100, 100, 50}, {100, 100, 60}, {50, 50, 50}} << 220
                                  << Larghezze{83, 87, 50};
        QTest::newRow("alle intestazioni") << Misure{{100, 100, 50}, {100, 100, 60}} << 110 << Larghezze{50, 60};
        QTest::newRow("piu' stretta delle intestazioni") << Misure{{100, 100, 50}, {100, 100, 60}} << 80
                                                         << Larghezze{50, 60};
        QTest::newRow("minima oltre il bisogno") << Misure{{100, 40, 70}, {100, 100, 100}} << 120
                                                 << Larghezze{40, 100};
        QTest::newRow("pixel avanzati") << Misure{{1, 0, 0}, {1, 0, 0}, {1, 0, 0}} << 100 << Larghezze{34, 33, 33};
        QTest::newRow("larghezza chiesta nulla") << Misure{{0, 0, 0}, {0, 0, 0}} << 101 << Larghezze{51, 50};
        QTest::newRow("nessuna colonna") << Misure{} << 300 << Larghezze{};
    }
    void distribuisci()
    {
        QFETCH(Misure, colonne);
        QFETCH(int, spazio);
        QFETCH(Larghezze, attese);
        QCOMPARE(DistribuisciLarghezze(colonne, spazio), attese);
    }

    // On a real list: the shown columns fill the viewport whatever its
    // width, the hidden one stays hidden; a column dragged by the user keeps
    // the new width until the list changes size, then the columns fill the
    // width again in the new proportions; the widths asked for are read and
    // set back as a window remembers them.
    void suLista()
    {
        ListaReport lista;
        lista.impostaColonne({{"CODICE", "", 110}, {"PRODUTTORE", "", 125}, {"QTA", "NUMBER", 50},
                              {"", "0", 1, Qt::AlignLeft, true}});
        auto *riempimento = new RiempimentoColonne(&lista);
        lista.aggiungiRighe(QList<QStringList>{{"BC547C", "Philips", "12", "1"}, {"NE555", "Texas", "3", "2"}});
        riempimento->adatta();
        lista.resize(600, 300);
        lista.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lista));
        QTreeView *v = lista.vista();
        QHeaderView *h = v->header();
        const auto somma = [&] { return h->sectionSize(0) + h->sectionSize(1) + h->sectionSize(2); };
        QTRY_COMPARE(somma(), v->viewport()->width());
        QVERIFY(v->isColumnHidden(3));
        QVERIFY(h->sectionSize(1) > h->sectionSize(0));
        QCOMPARE(riempimento->volute(), Larghezze({110, 125, 50}));
        // Room for the columns as asked, the frame and a vertical scroll bar.
        QCOMPARE(riempimento->larghezzaVoluta(),
                 285 + lista.width() - v->viewport()->width() + v->verticalScrollBar()->sizeHint().width());

        h->resizeSection(0, 300); // the user drags the border
        QCOMPARE(h->sectionSize(0), 300);
        QCOMPARE(riempimento->volute(), Larghezze({300, 125, 50}));
        lista.resize(800, 300);
        QTRY_COMPARE(somma(), v->viewport()->width());
        QVERIFY(qAbs(h->sectionSize(0) * 125 - h->sectionSize(1) * 300) <= 300);

        riempimento->impostaVolute({0, 250}); // a remembered value below 1 is not taken
        QCOMPARE(riempimento->volute(), Larghezze({300, 250, 50}));
        QCOMPARE(somma(), v->viewport()->width());
        QVERIFY(qAbs(h->sectionSize(0) * 250 - h->sectionSize(1) * 300) <= 300);

        // The list asks for no less width than its headers need.
        QCOMPARE(lista.minimumWidth(), riempimento->larghezzaMinima());
        QVERIFY(riempimento->larghezzaMinima() < riempimento->larghezzaVoluta());
    }
};

QTEST_MAIN(TestRiempimentoColonne)
#include "tst_riempimentocolonne.moc"
