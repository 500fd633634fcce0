#include "ui/widgets/listareport.h"

#include <QHeaderView>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

namespace {

QStringList colonnaTesti(const ListaReport &l, int c)
{
    QStringList out;
    for (int r = 1; r <= l.numeroRighe(); ++r)
        out << l.testo(r, c);
    return out;
}

QPoint centroCella(const ListaReport &l, int riga, int colonna)
{
    return l.vista()->visualRect(l.vista()->model()->index(riga - 1, colonna)).center();
}

} // namespace

class TestListaReport : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ListaReport> lista;
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
        connect(lista.get(), &ListaReport::doppioClic, this, [this](int r) { eventi << QStringLiteral("double %1").arg(r); });
    }

private slots:
    void init()
    {
        eventi.clear();
        xPremuto = -1;
        lista = std::make_unique<ListaReport>();
        lista->resize(455, 583);
        lista->impostaColonne({{"CODICE", "", 110}, {"PRODUTTORE", "", 125}, {"TIPO", "", 60},
                               {"QTA", "NUMBER", 50, Qt::AlignRight}, {"DATA", "DATE", 90, Qt::AlignHCenter},
                               {"", "0", 1, {}, true}});
        lista->show();
        QVERIFY(QTest::qWaitForWindowExposed(lista.get()));
    }
    void cleanup() { lista.reset(); }

    void colonneERighe()
    {
        int sinistra = 0;
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(lista->sinistraColonna(i), sinistra);
            sinistra += lista->larghezzaColonna(i);
        }
        QAbstractItemModel *m = lista->vista()->model();
        QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("QTA"));

        // Short rows are padded; out of range cells do not exist and writes to them are ignored.
        QCOMPARE(lista->aggiungiRiga({"X", "Y"}), 1);
        QCOMPARE(lista->aggiungiRiga({"Z"}), 2);
        QVERIFY(lista->haCella(2, 5));
        QCOMPARE(lista->testo(2, 5), QString());
        for (auto [r, c] : {std::pair{3, 0}, {0, 0}, {1, -1}, {1, 6}})
            QVERIFY(!lista->haCella(r, c));
        lista->impostaTesto(9, 0, QStringLiteral("no"));
        lista->impostaTag(1, 9, QStringLiteral("no"));
        lista->impostaTag(2, 0, QStringLiteral("t"));
        lista->impostaTesto(2, 0, QStringLiteral("W"));
        QCOMPARE(lista->tag(2, 0), QStringLiteral("t"));
        QCOMPARE(m->index(1, 0).data().toString(), QStringLiteral("W")); // shown at once
        QCOMPARE(Qt::Alignment(m->index(0, 3).data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        // The hidden column stays hidden after a refill.
        lista->svuota();
        QCOMPARE(lista->numeroRighe(), 0);
        riempi();
        QVERIFY(lista->vista()->isColumnHidden(5));
        QCOMPARE(lista->testo(2, 5), QStringLiteral("2"));
    }

    // Long shared prefixes, texts equal but for case or differing far in,
    // non-ASCII letters: the order is that of a plain stable sort comparing
    // whole texts without case, both ways.
    void ordinaComeConfrontoDiretto()
    {
        const QStringList pezzi{"", "a", "B", "ab", "AB", "è", "È", "0", "9", "&", " "};
        QList<QStringList> righe;
        QRandomGenerator rng(7);
        for (int i = 0; i < 400; ++i) {
            QString t = QStringLiteral("PREFISSO-COMUNE-");
            for (int k = int(rng.bounded(6)); k > 0; --k)
                t += pezzi[rng.bounded(int(pezzi.size()))];
            righe << QStringList{t, QString::number(i)};
        }
        for (int ordine : {0, 1}) {
            QList<QStringList> attese = righe;
            std::stable_sort(attese.begin(), attese.end(), [ordine](const QStringList &a, const QStringList &b) {
                const int r = a[0].compare(b[0], Qt::CaseInsensitive);
                return ordine == 1 ? r > 0 : r < 0;
            });
            QStringList volute;
            for (const QStringList &r : attese)
                volute << r[1];
            lista->svuota();
            lista->aggiungiRighe(righe);
            lista->setSortKey(0);
            lista->setSortOrder(ordine);
            lista->setSorted(true);
            QCOMPARE(colonnaTesti(*lista, 1), volute);
            QCOMPARE(lista->vista()->model()->index(0, 1).data().toString(), volute[0]);
        }
    }

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
        // Third row, "PRODUTTORE" cell.
        QTest::mouseClick(lista->vista()->viewport(), pulsante, Qt::ShiftModifier, centroCella(*lista, 3, 1));
        const QString b = QString::number(int(pulsante));
        QCOMPARE(eventi, (QStringList{"press " + b + " " + QString::number(int(Qt::ShiftModifier)), "row 3 sel 3",
                                      "release " + b, "click"}));
        QVERIFY(xPremuto >= lista->sinistraColonna(2));
        QVERIFY(xPremuto <= lista->sinistraColonna(2) + lista->larghezzaColonna(2));
        // Below the rows: no row is named, the rest still arrives.
        eventi.clear();
        QTest::mouseClick(lista->vista()->viewport(), pulsante, {}, QPoint(20, 500));
        QCOMPARE(eventi, (QStringList{"press " + b + " 0", "release " + b, "click"}));
    }

    void doppioClicETastiera()
    {
        riempi();
        registra();
        QTest::mouseDClick(lista->vista()->viewport(), Qt::LeftButton, {}, centroCella(*lista, 2, 0));
        QCOMPARE(eventi.last(), QStringLiteral("double 2"));
        QVERIFY(eventi.contains(QStringLiteral("row 2 sel 2")));
        // The arrow keys move the selection as a click on the new row would;
        // on the last row they move nothing and say nothing.
        eventi.clear();
        QTest::keyClick(lista->vista(), Qt::Key_Down);
        QTest::keyClick(lista->vista(), Qt::Key_End);
        QTest::keyClick(lista->vista(), Qt::Key_Down);
        QCOMPARE(eventi, (QStringList{"row 3 sel 3", "click", "row 4 sel 4", "click"}));
    }

    void xConScorrimento()
    {
        lista->resize(200, 300);
        riempi();
        registra();
        QTest::qWait(0);
        lista->vista()->horizontalScrollBar()->setValue(150);
        QCOMPARE(lista->vista()->header()->offset(), 150);
        QTest::mouseClick(lista->vista()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(xPremuto, 160);
    }

    void caselleSoloUtente()
    {
        riempi();
        QSignalSpy spia(lista.get(), &ListaReport::spuntaCambiata);
        lista->impostaCaselle(true);
        lista->impostaSpunta(1, true);
        QCOMPARE(spia.count(), 0); // only the user's clicks are reported
        QVERIFY(lista->spunta(1));
        QTreeView *v = lista->vista();
        const QRect r = v->visualRect(v->model()->index(1, 0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 8, r.center().y()));
        QCOMPARE(spia.count(), 1);
        QCOMPARE(spia.at(0), (QVariantList{2, true}));
        QVERIFY(lista->spunta(2));
        lista->impostaCaselle(false);
        QVERIFY(!(v->model()->flags(v->model()->index(1, 0)) & Qt::ItemIsUserCheckable));
        QVERIFY(!v->model()->index(0, 0).data(Qt::CheckStateRole).isValid());
    }

    void selezioneEMostra()
    {
        QList<QStringList> righe;
        for (int i = 1; i <= 500; ++i)
            righe << QStringList{QString::number(i)};
        lista->aggiungiRighe(righe);
        lista->selezionaRiga(400);
        lista->mostraRiga(400);
        QCOMPARE(lista->rigaSelezionata(), 400);
        QVERIFY(lista->vista()->viewport()->rect().contains(centroCella(*lista, 400, 0)));
        lista->selezionaRiga(501); // no such row: none selected
        QCOMPARE(lista->rigaSelezionata(), 0);
    }
};

QTEST_MAIN(TestListaReport)
#include "tst_listareport.moc"
