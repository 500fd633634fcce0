// The report list control: the column sort as the windows use it, the order of the mouse signals, keyboard browsing,
// scrolling, selection, highlighted rows, and columns that fill the list's width.
#include "listsort/ordinacolonna.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/riempimentocolonne.h"

#include "common/verifiche.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtWidgets>

#include <numeric>

namespace {

// The real report list, recording what it looked like when it was sorted.
struct ListaRegistrata : ListaReport {
    int puntatore = -1;
    Qt::CursorShape cursore = Qt::ArrowCursor;
    bool congelata = false;
    QStringList chiavi; // the texts of the sorted column
    void setSorted(bool s) override
    {
        if (s) {
            puntatore = mousePointer();
            cursore = vista()->viewport()->cursor().shape();
            congelata = !vista()->updatesEnabled();
            chiavi.clear();
            for (int r = 1; r <= numeroRighe(); ++r)
                chiavi << testo(r, sortKey());
        }
        ListaReport::setSorted(s);
    }
};

using Misure = QList<MisureColonna>;
using Larghezze = QList<int>;

const QColor SfondoEvidenza(255, 200, 200), TestoEvidenza(128, 0, 0);

} // namespace

class TestListaReport : public QObject {
    Q_OBJECT

    std::unique_ptr<ListaRegistrata> lista;
    QStringList eventi;
    int xPremuto = -1;

    void riempi()
    {
        lista->aggiungiRighe({
            {"C3", "Texas", "IC", "10", "05/01/2026", "1"},
            {"A1", "Philips", "R", "9", "31/12/2025", "2"},
            {"B2", "Texas", "C", "0", "01/01/2026", "3"},
            {"a0", "Motorola", "T", "-2", "", "4"},
        });
    }
    // Records the row and click signals, in order, into eventi.
    void registra()
    {
        connect(lista.get(), &ListaReport::pressioneMouse, this,
                [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x) {
                    eventi << QStringLiteral("press %1 %2").arg(int(b)).arg(int(m));
                    xPremuto = x;
                });
        connect(lista.get(), &ListaReport::rigaCliccata, this,
                [this](int r) { eventi << QStringLiteral("row %1 sel %2").arg(r).arg(lista->rigaSelezionata()); });
        connect(lista.get(), &ListaReport::rilascioMouse, this,
                [this](Qt::MouseButton b) { eventi << QStringLiteral("release %1").arg(int(b)); });
        connect(lista.get(), &ListaReport::cliccata, this, [this] { eventi << QStringLiteral("click"); });
    }
    QPoint centroCella(int riga, int colonna) const
    {
        return lista->vista()->visualRect(lista->vista()->model()->index(riga - 1, colonna)).center();
    }
    QStringList colonna(int c) const
    {
        QStringList out;
        for (int r = 1; r <= lista->numeroRighe(); ++r)
            out << lista->testo(r, c);
        return out;
    }
    // Three visible columns (the given one tagged), and a hidden fourth one holding each row's first position. Tags are
    // "t<row>.<column>".
    void prepara(int colonna, const QString &tag, const QStringList &valori)
    {
        QList<ListaReport::Colonna> colonne{{"A", "", 100}, {"B", "", 100}, {"C", "", 100}, {"", "0", 1, {}, true}};
        colonne[colonna].tag = tag;
        lista->svuota();
        lista->impostaColonne(colonne);
        for (qsizetype i = 0; i < valori.size(); ++i) {
            QStringList riga{"r", "x", "y", QString::number(i + 1)};
            riga[colonna] = valori[i];
            lista->aggiungiRiga(riga);
            for (int c = 0; c < 4; ++c)
                lista->impostaTag(int(i + 1), c, QStringLiteral("t%1.%2").arg(i + 1).arg(c));
        }
    }
    // Every cell as "text|tag", sorted: unchanged by a sort exactly when only the order of the rows changed.
    QStringList celle() const
    {
        QStringList out;
        for (int r = 1; r <= lista->numeroRighe(); ++r)
            for (int c = 0; c < lista->numeroColonne(); ++c)
                out << QStringLiteral("%1.%2|%3|%4").arg(lista->testo(r, 3)).arg(c).arg(lista->testo(r, c), lista->tag(r, c));
        out.sort();
        return out;
    }
    // The first positions (hidden column 3) of the highlighted rows, top to bottom.
    QStringList marcate() const
    {
        QStringList out;
        for (int r = 1; r <= lista->numeroRighe(); ++r)
            if (lista->evidenziata(r))
                out << lista->testo(r, 3);
        return out;
    }
    QVariant ruolo(int riga, int colonna, int r) const
    {
        return lista->vista()->model()->index(riga - 1, colonna).data(r);
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        eventi.clear();
        xPremuto = -1;
        lista = std::make_unique<ListaRegistrata>();
        lista->resize(455, 583);
        lista->impostaColonne({{"CODICE", "", 110}, {"PRODUTTORE", "", 125}, {"TIPO", "", 60},
                               {"QTA", "NUMBER", 50, Qt::AlignRight}, {"DATA", "DATE", 90, Qt::AlignHCenter},
                               {"", "0", 1, {}, true}});
        lista->show();
        QVERIFY(QTest::qWaitForWindowExposed(lista.get()));
    }
    void cleanup() { lista.reset(); }

    // Two calls on one column: descending, then ascending.
    void ordinaColonna_data()
    {
        // chiavi: what stood in the column during the first sort; posizioni: the rows' first positions after it.
        Colonne<int, QString, QStringList, QStringList, QStringList, QStringList, QStringList>(
            "indice", "tipo", "valori", "discendente", "ascendente", "chiavi", "posizioni");
        const QStringList numeri{"10", "9", "-2", "0", "abc", ""}, numeriGiu{"10", "9", "0", "-2", "abc", ""},
            numeriSu{"abc", "", "-2", "0", "9", "10"}, nulla;
        QTest::newRow("number, first column") << 1 << "NUMBER" << numeri << numeriGiu << numeriSu << nulla << nulla;
        QTest::newRow("number, sub-item") << 3 << "number" << numeri << numeriGiu << numeriSu << nulla << nulla;
        QTest::newRow("negatives, decimal comma") << 2 << "NUMBER" << QStringList{"-2", "2,5", "-10", "10", "-2,25"}
                                                  << QStringList{"10", "2,5", "-2", "-2,25", "-10"}
                                                  << QStringList{"-10", "-2,25", "-2", "2,5", "10"} << nulla << nulla;
        QTest::newRow("date") << 2 << "DATE" << QStringList{"05/01/2026", "31/12/2025", "non so", "01/01/2026"}
                              << QStringList{"05/01/2026", "01/01/2026", "31/12/2025", "non so"}
                              << QStringList{"non so", "31/12/2025", "01/01/2026", "05/01/2026"}
                              << QStringList{"20260105000000", "20251231000000", "", "20260101000000"} << nulla;
        // Text columns are compared as they are, and never rewritten.
        QTest::newRow("text") << 2 << "altro" << QStringList{"10", "9", "-2", "a", "B"}
                              << QStringList{"B", "a", "9", "10", "-2"} << QStringList{"-2", "10", "9", "a", "B"}
                              << QStringList{"10", "9", "-2", "a", "B"} << nulla;
        // Many cells share a value: equal values keep their order, and each cell gets back its own text and tag (empty,
        // or like a saved cell).
        QTest::newRow("repeated values") << 2 << "NUMBER" << QStringList{"7", "10", "7", "", "10", "7", "abc", "10"}
                                         << QStringList{"10", "10", "10", "7", "7", "7", "", "abc"}
                                         << QStringList{"", "abc", "7", "7", "7", "10", "10", "10"} << nulla
                                         << QStringList{"2", "5", "8", "1", "3", "6", "4", "7"};
    }
    void ordinaColonna()
    {
        const auto [indice, tipo, valori, discendente, ascendente, chiavi, posizioni] =
            Valori<int, QString, QStringList, QStringList, QStringList, QStringList, QStringList>(
                "indice", "tipo", "valori", "discendente", "ascendente", "chiavi", "posizioni");
        const int c = indice - 1;
        prepara(c, tipo, valori);
        for (int r = 1; r <= lista->numeroRighe(); r += 2)
            lista->impostaTag(r, c, QString());
        lista->impostaTag(2, c, QStringLiteral("a|b\tè"));
        lista->impostaTag(4, c, lista->testo(4, c) + QChar(0));
        lista->impostaCaselle(true);
        lista->impostaSpunta(2, true);
        lista->selezionaRiga(3);
        lista->impostaColoriEvidenza(SfondoEvidenza, TestoEvidenza);
        lista->impostaEvidenze({2});
        lista->impostaEvidenze({1, 3, 0, 99}); // marking again replaces the marks; rows outside the list ignored
        const QStringList prima = celle();
        const QAbstractItemModel *m = lista->vista()->model();
        QSignalSpy cambi(m, &QAbstractItemModel::dataChanged);
        for (int giu : {1, 0}) {
            OrdinaColonna(*lista, indice);
            QCOMPARE(QPoint(lista->sortOrder(), lista->sortKey()), QPoint(giu, c));
            QCOMPARE(colonna(c), giu ? discendente : ascendente);
            QCOMPARE(celle(), prima);
            // Hourglass and frozen drawing while sorting, both undone afterwards.
            QCOMPARE(lista->puntatore, 11);
            QCOMPARE(lista->cursore, Qt::WaitCursor);
            QVERIFY(lista->congelata);
            QCOMPARE(lista->mousePointer(), 0);
            QCOMPARE(lista->vista()->viewport()->cursor().shape(), Qt::ArrowCursor);
            QVERIFY(lista->vista()->updatesEnabled());
            // The view shows the same; check box and selection travel with their rows.
            for (int r = 1; r <= lista->numeroRighe(); ++r)
                QCOMPARE(m->index(r - 1, c).data().toString(), lista->testo(r, c));
            const int spuntata = int(colonna(3).indexOf("2"));
            QVERIFY(lista->spunta(spuntata + 1));
            QCOMPARE(m->index(spuntata, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
            QCOMPARE(lista->rigaSelezionata(), int(colonna(3).indexOf("3")) + 1);
            QCOMPARE(lista->vista()->currentIndex().row(), lista->rigaSelezionata() - 1);
            // So do the highlights, with their colours.
            QCOMPARE(marcate(), QStringList(colonna(3)).filter(QRegularExpression("^[13]$")));
            const int marcata = int(colonna(3).indexOf("3")) + 1;
            QCOMPARE(ruolo(marcata, c, Qt::BackgroundRole).value<QColor>(), SfondoEvidenza);
            QCOMPARE(ruolo(marcata, 3 - c, Qt::ForegroundRole).value<QColor>(), TestoEvidenza);
            QVERIFY(!ruolo(int(colonna(3).indexOf("2")) + 1, c, Qt::BackgroundRole).isValid());
            QVERIFY(!ruolo(int(colonna(3).indexOf("2")) + 1, c, Qt::ForegroundRole).isValid());
            if (giu && !chiavi.isEmpty())
                QCOMPARE(lista->chiavi, chiavi);
            if (giu && !posizioni.isEmpty())
                QCOMPARE(colonna(3), posizioni);
        }
        QVERIFY(cambi.count() <= 2); // one refresh per sort at most, never one per cell
        // Rows added later, or after emptying, start unmarked.
        lista->aggiungiRiga({"z", "z", "z", "0"});
        QCOMPARE(marcate(), QStringList(colonna(3)).filter(QRegularExpression("^[13]$")));
        prepara(c, tipo, valori);
        QVERIFY(marcate().isEmpty());
    }

    // The order is that of a plain stable sort comparing whole texts without case, both ways. A text that starts
    // another one sorts before it in ascending order (after it descending), also when they part only after the first
    // eight characters past the prefix shared by the whole column.
    void testoCheNeIniziaUnAltro_data()
    {
        Colonne<QStringList>("testi");
        const QStringList pezzi{"", "a", "B", "ab", "AB", "è", "È", "0", "9", "&", " "};
        QStringList casuali;
        QRandomGenerator rng(7);
        for (int i = 0; i < 400; ++i) {
            casuali << QStringLiteral("PREFISSO-COMUNE-");
            for (int k = int(rng.bounded(6)); k > 0; --k)
                casuali.last() += pezzi[rng.bounded(int(pezzi.size()))];
        }
        QTest::newRow("no shared prefix") << QStringList{"ABCDEFGHIJKL", "Z", "ABCDEFGHIJ", "abcdefghij", "ABCDEFGHI"};
        QTest::newRow("shared prefix") << QStringList{"XXABCDEFGHIJKL", "XXZ", "XXABCDEFGHIJ", "XXABCDEFGHIJK"};
        QTest::newRow("400 random texts") << casuali;
    }
    void testoCheNeIniziaUnAltro()
    {
        const auto [testi] = Valori<QStringList>("testi");
        prepara(0, {}, testi);
        for (int ordine : {0, 1}) {
            QList<int> attese(testi.size());
            std::iota(attese.begin(), attese.end(), 1);
            std::stable_sort(attese.begin(), attese.end(), [&](int a, int b) {
                const int r = testi[a - 1].compare(testi[b - 1], Qt::CaseInsensitive);
                return ordine == 1 ? r > 0 : r < 0;
            });
            QStringList volute;
            for (int i : attese)
                volute << QString::number(i);
            lista->setSortKey(0);
            lista->setSortOrder(ordine);
            lista->setSorted(true);
            QCOMPARE(colonna(3), volute);
        }
    }

    // The direction belongs to the list: any call flips it, also on an empty list or on another column; a column that
    // does not exist changes nothing.
    void direzione()
    {
        prepara(1, QStringLiteral("NUMBER"), {});
        OrdinaColonna(*lista, 2);
        QCOMPARE(lista->sortOrder(), 1);
        QCOMPARE(lista->puntatore, -1); // nothing to sort
        prepara(1, QStringLiteral("NUMBER"), {"1", "2"});
        OrdinaColonna(*lista, 1);
        QCOMPARE(lista->sortOrder(), 0);
        OrdinaColonna(*lista, 2);
        QCOMPARE(lista->sortOrder(), 1);
        OrdinaColonna(*lista, 0);
        OrdinaColonna(*lista, 5);
        QCOMPARE(lista->sortOrder(), 1);
        QCOMPARE(colonna(1), (QStringList{"2", "1"}));
    }

    // The signals of a click, in order, for either button, on a row and below the rows; then those of the keyboard.
    void ordineSegnaliClic_data()
    {
        QTest::addColumn<Qt::MouseButton>("pulsante");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
    }
    void ordineSegnaliClic()
    {
        QFETCH(Qt::MouseButton, pulsante);
        riempi();
        registra();
        QTest::mouseClick(lista->vista()->viewport(), pulsante, Qt::ShiftModifier, centroCella(3, 1));
        const QString b = QString::number(int(pulsante));
        QCOMPARE(eventi, (QStringList{"press " + b + " " + QString::number(int(Qt::ShiftModifier)), "row 3 sel 3",
                                      "release " + b, "click"}));
        QVERIFY(xPremuto >= lista->sinistraColonna(2));
        QVERIFY(xPremuto <= lista->sinistraColonna(2) + lista->larghezzaColonna(2));
        // Below the rows: no row is named, the rest still arrives.
        eventi.clear();
        QTest::mouseClick(lista->vista()->viewport(), pulsante, {}, QPoint(20, 500));
        QCOMPARE(eventi, (QStringList{"press " + b + " 0", "release " + b, "click"}));
        // The arrow keys move the selection as a click on the new row would; on the last row they say nothing.
        eventi.clear();
        lista->selezionaRiga(2);
        QTest::keyClick(lista->vista(), Qt::Key_Down);
        QTest::keyClick(lista->vista(), Qt::Key_End);
        QTest::keyClick(lista->vista(), Qt::Key_Down);
        QCOMPARE(eventi, (QStringList{"row 3 sel 3", "click", "row 4 sel 4", "click"}));
    }

    // Fitting the columns: among many rows the widest text in pixels wins even when it is not the longest in
    // characters; a column already wide enough, or widened by the user, keeps its width; a hidden column stays as it
    // is; the check box counts in the first column.
    void adattaColonne()
    {
        QList<QStringList> righe;
        for (int i = 0; i < 5000; ++i)
            righe << QStringList{QStringLiteral("iiiiiiiiiiiiiiii%1").arg(i % 7), "M", "x", "1", "", "1"};
        righe[2345][0] = QStringLiteral("WWWWWWWWWW");
        righe[17][4] = QStringLiteral("01/01/2026");
        lista->aggiungiRighe(righe);
        lista->vista()->header()->resizeSection(1, 300); // the user widened it
        lista->adattaColonne();
        const QFontMetrics f(lista->vista()->font());
        QHeaderView *h = lista->vista()->header();
        QVERIFY(f.horizontalAdvance(QStringLiteral("WWWWWWWWWW")) > f.horizontalAdvance(QStringLiteral("iiiiiiiiiiiiiiii0")));
        QVERIFY(h->sectionSize(0) >= f.horizontalAdvance(QStringLiteral("WWWWWWWWWW")) + 6);
        QVERIFY(h->sectionSize(0) < f.horizontalAdvance(QStringLiteral("WWWWWWWWWW")) + 40);
        QCOMPARE(h->sectionSize(1), 300);
        QCOMPARE(h->sectionSize(3), 50);
        QCOMPARE(h->sectionSize(4), 90);
        QVERIFY(lista->vista()->isColumnHidden(5));
        QVERIFY(lista->larghezzaNecessaria(2) >= QFontMetrics(h->font()).horizontalAdvance(QStringLiteral("TIPO")) + 8);

        // A check box column: the box and the text side by side.
        lista->svuota();
        lista->impostaColonne({{"", "", 18}, {"Nome", "", 100}});
        lista->impostaCaselle(false);
        lista->aggiungiRighe(QList<QStringList>{{"1", "a"}, {"12", "b"}});
        const int casella = lista->vista()->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, lista->vista());
        const int senza = lista->larghezzaNecessaria(0);
        lista->impostaCaselle(true);
        QVERIFY(lista->larghezzaNecessaria(0) >= senza + casella);
        lista->adattaColonne();
        QVERIFY(h->sectionSize(0) >= casella + f.horizontalAdvance(QStringLiteral("12")) + 6);
    }

    // The x of a press counts from the first column, scrolled or not; a row shown scrolls into view; selecting no such
    // row selects none.
    void scorrimento()
    {
        lista->resize(200, 300);
        QList<QStringList> righe;
        for (int i = 1; i <= 500; ++i)
            righe << QStringList{QString::number(i)};
        lista->aggiungiRighe(righe);
        registra();
        QTest::qWait(0);
        lista->vista()->horizontalScrollBar()->setValue(150);
        QTest::mouseClick(lista->vista()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(xPremuto, 160);
        lista->selezionaRiga(400);
        lista->mostraRiga(400);
        QCOMPARE(lista->rigaSelezionata(), 400);
        QVERIFY(lista->vista()->viewport()->rect().contains(centroCella(400, 0)));
        lista->selezionaRiga(501);
        QCOMPARE(lista->rigaSelezionata(), 0);
    }

    // Columns that fill a list's width: the sharing of the room (in proportion to the widths asked for, never below a
    // column's need; then cut down to the headers; then at the minimums).
    void distribuisci_data()
    {
        Colonne<Misure, int, Larghezze>("colonne", "spazio", "attese"); // colonne: asked for, needed, minimum
        QTest::newRow("in proporzione") << Misure{{100, 10, 10}, {50, 10, 10}, {50, 10, 10}} << 400
                                        << Larghezze{200, 100, 100};
        QTest::newRow("come chieste") << Misure{{110, 80, 60}, {125, 90, 90}, {50, 48, 48}} << 285
                                      << Larghezze{110, 125, 50};
        QTest::newRow("una al suo bisogno") << Misure{{100, 30, 30}, {100, 150, 60}} << 200 << Larghezze{50, 150};
        // Holding the second at its need leaves the third short of its own.
        QTest::newRow("a cascata") << Misure{{100, 10, 10}, {100, 140, 50}, {100, 110, 50}} << 300
                                   << Larghezze{50, 140, 110};
        QTest::newRow("tutte al bisogno") << Misure{{10, 100, 50}, {10, 100, 50}} << 200 << Larghezze{100, 100};
        // Each text column gives up two thirds of what it has beyond its header; the number column keeps its need.
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
        const auto [colonne, spazio] = Valori<Misure, int>("colonne", "spazio");
        QTEST(DistribuisciLarghezze(colonne, spazio), "attese");
    }

    // The filling helper on a real list: the shown columns fill the viewport whatever its width, the hidden one stays
    // hidden; a column dragged by the user keeps the new width until the list changes size, then the columns fill the
    // width again in the new proportions; the widths asked for are read and set back as a window remembers them.
    void riempimento()
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

QTEST_MAIN(TestListaReport)
#include "tst_listareport.moc"
