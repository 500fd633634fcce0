#include "ui/widgets/listareport.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

namespace {

QList<ListaReport::Colonna> colonneComponenti()
{
    return {
        {QStringLiteral("CODICE"), QString(), 110, Qt::AlignLeft, false},
        {QStringLiteral("PRODUTTORE"), QString(), 125, Qt::AlignLeft, false},
        {QStringLiteral("TIPO"), QString(), 60, Qt::AlignLeft, false},
        {QStringLiteral("QTA"), QStringLiteral("NUMBER"), 50, Qt::AlignRight, false},
        {QStringLiteral("DATA"), QStringLiteral("DATE"), 90, Qt::AlignHCenter, false},
        {QString(), QStringLiteral("0"), 1, Qt::AlignLeft, true},
    };
}

// Every cell of a list, row by row, as "text|tag" joined by commas.
QStringList contenuto(const ListaReport &l)
{
    QStringList out;
    for (int r = 1; r <= l.numeroRighe(); ++r) {
        QStringList riga;
        for (int c = 0; c < l.numeroColonne(); ++c)
            riga << l.testo(r, c) + QLatin1Char('|') + l.tag(r, c);
        out << riga.join(QLatin1Char(','));
    }
    return out;
}

QStringList colonnaTesti(const ListaReport &l, int c)
{
    QStringList out;
    for (int r = 1; r <= l.numeroRighe(); ++r)
        out << l.testo(r, c);
    return out;
}

QPoint centroCella(const ListaReport &l, int riga, int colonna)
{
    const QModelIndex i = l.vista()->model()->index(riga - 1, colonna);
    return l.vista()->visualRect(i).center();
}

} // namespace

class TestListaReport : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ListaReport> lista;

    void riempi()
    {
        lista->aggiungiRighe({
            {"C3", "Texas", "IC", "10", "05/01/2026", "1"},
            {"A1", "Philips", "R", "9", "31/12/2025", "2"},
            {"B2", "Texas", "C", "0", "01/01/2026", "3"},
            {"a0", "Motorola", "T", "-2", "", "4"},
        });
    }

private slots:
    void init()
    {
        lista = std::make_unique<ListaReport>();
        lista->setObjectName(QStringLiteral("LV"));
        lista->resize(455, 583);
        lista->impostaColonne(colonneComponenti());
        lista->show();
        QVERIFY(QTest::qWaitForWindowExposed(lista.get()));
    }
    void cleanup() { lista.reset(); }

    void colonneComeDate()
    {
        QCOMPARE(lista->numeroColonne(), 6);
        QCOMPARE(lista->colonna(4).titolo, QStringLiteral("QTA"));
        QCOMPARE(lista->tagColonna(5), QStringLiteral("DATE"));
        QCOMPARE(lista->tagColonna(6), QStringLiteral("0"));
        QCOMPARE(lista->tagColonna(7), QString());
        const int larghezze[] = {110, 125, 60, 50, 90};
        int sinistra = 0;
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(lista->larghezzaColonna(i), larghezze[i - 1]);
            QCOMPARE(lista->sinistraColonna(i), sinistra);
            sinistra += larghezze[i - 1];
        }
        QVERIFY(lista->vista()->isColumnHidden(5));
        QVERIFY(!lista->vista()->isColumnHidden(4));
        QCOMPARE(lista->vista()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("QTA"));

        riempi();
        QAbstractItemModel *m = lista->vista()->model();
        QCOMPARE(Qt::Alignment(m->index(0, 3).data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(Qt::Alignment(m->index(0, 4).data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        // The hidden column is still there and stays hidden after a refill.
        QCOMPARE(lista->testo(2, 5), QStringLiteral("2"));
        lista->svuota();
        riempi();
        QVERIFY(lista->vista()->isColumnHidden(5));
    }

    void righeECelle()
    {
        QCOMPARE(lista->aggiungiRiga({"X", "Y"}), 1);
        QCOMPARE(lista->aggiungiRiga({"Z"}), 2);
        QCOMPARE(lista->numeroRighe(), 2);
        QVERIFY(lista->haCella(1, 5));
        QCOMPARE(lista->testo(1, 5), QString());
        QCOMPARE(lista->testo(1, 1), QStringLiteral("Y"));
        QVERIFY(!lista->haCella(3, 0));
        QVERIFY(!lista->haCella(0, 0));
        QVERIFY(!lista->haCella(1, -1));
        QVERIFY(!lista->haCella(1, 6));
        lista->impostaTag(2, 0, QStringLiteral("t"));
        lista->impostaTesto(2, 0, QStringLiteral("W"));
        QCOMPARE(lista->tag(2, 0), QStringLiteral("t"));
        QCOMPARE(lista->vista()->model()->index(1, 0).data().toString(), QStringLiteral("W"));
        // Out of range writes are ignored.
        lista->impostaTesto(9, 0, QStringLiteral("no"));
        lista->impostaTag(1, 9, QStringLiteral("no"));
        lista->svuota();
        QCOMPARE(lista->numeroRighe(), 0);
        QCOMPARE(lista->rigaSelezionata(), 0);
    }

    void ordinaTestiStabile_data()
    {
        QTest::addColumn<int>("colonna");
        QTest::addColumn<int>("ordine");
        QTest::addColumn<QStringList>("codici");
        // Case is ignored; equal texts keep their order.
        QTest::newRow("code ascending") << 0 << 0 << QStringList{"a0", "A1", "B2", "C3"};
        QTest::newRow("code descending") << 0 << 1 << QStringList{"C3", "B2", "A1", "a0"};
        QTest::newRow("maker ascending") << 1 << 0 << QStringList{"a0", "A1", "C3", "B2"};
        QTest::newRow("maker descending") << 1 << 1 << QStringList{"C3", "B2", "A1", "a0"};
        QTest::newRow("plain text of numbers") << 3 << 0 << QStringList{"a0", "B2", "C3", "A1"};
    }
    void ordinaTestiStabile()
    {
        QFETCH(int, colonna);
        QFETCH(int, ordine);
        QFETCH(QStringList, codici);
        riempi();
        lista->setSortKey(colonna);
        lista->setSortOrder(ordine);
        QVERIFY(!lista->sorted());
        lista->setSorted(true);
        QVERIFY(lista->sorted());
        QCOMPARE(colonnaTesti(*lista, 0), codici);
        // The view shows the new order as well.
        for (int r = 0; r < codici.size(); ++r)
            QCOMPARE(lista->vista()->model()->index(r, 0).data().toString(), codici[r]);
    }

    void ordinaComeConfrontoDiretto()
    {
        // Long shared prefixes, texts equal but for case, texts differing
        // only far in, prefixes of each other, non-ASCII letters: the order
        // must be that of a plain stable sort comparing whole texts without
        // case, both ways.
        const QStringList pezzi{"", "a", "B", "ab", "AB", "è", "È", "0", "9", "&", " "};
        QList<QStringList> righe;
        QRandomGenerator rng(7);
        for (int i = 0; i < 400; ++i) {
            QString t = QStringLiteral("PREFISSO-COMUNE-");
            const int parti = int(rng.bounded(6));
            for (int k = 0; k < parti; ++k)
                t += pezzi[rng.bounded(int(pezzi.size()))];
            righe << QStringList{t, QString::number(i)};
        }
        lista->aggiungiRighe(righe);
        for (int ordine : {0, 1}) {
            QList<QStringList> attese = righe;
            std::stable_sort(attese.begin(), attese.end(), [ordine](const QStringList &a, const QStringList &b) {
                const int r = a[0].compare(b[0], Qt::CaseInsensitive);
                return ordine == 1 ? r > 0 : r < 0;
            });
            // Start again from the original order each time.
            lista->svuota();
            lista->aggiungiRighe(righe);
            lista->setSortKey(0);
            lista->setSortOrder(ordine);
            lista->setSorted(true);
            QStringList ottenute, volute;
            for (int r = 1; r <= lista->numeroRighe(); ++r)
                ottenute << lista->testo(r, 1);
            for (const QStringList &r : attese)
                volute << r[1];
            QCOMPARE(ottenute, volute);
        }
    }

    void righeViaggianoIntere()
    {
        riempi();
        lista->impostaCaselle(true);
        for (int r = 1; r <= 4; ++r)
            for (int c = 0; c < 6; ++c)
                lista->impostaTag(r, c, QStringLiteral("t%1.%2").arg(r).arg(c));
        lista->impostaSpunta(2, true); // A1
        lista->selezionaRiga(3);       // B2
        const QStringList prima = contenuto(*lista);
        lista->setSortKey(0);
        lista->setSortOrder(0);
        lista->setSorted(true);
        QCOMPARE(colonnaTesti(*lista, 0), (QStringList{"a0", "A1", "B2", "C3"}));
        QCOMPARE(colonnaTesti(*lista, 5), (QStringList{"4", "2", "3", "1"}));
        const QStringList dopo = contenuto(*lista);
        QCOMPARE(dopo, (QStringList{prima[3], prima[1], prima[2], prima[0]}));
        QCOMPARE(lista->spunta(1), false);
        QCOMPARE(lista->spunta(2), true);
        QCOMPARE(lista->rigaSelezionata(), 3);
        QCOMPARE(lista->vista()->currentIndex().row(), 2);
        QCOMPARE(lista->vista()->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

        lista->setSortOrder(1);
        lista->setSorted(true);
        QCOMPARE(colonnaTesti(*lista, 5), (QStringList{"1", "3", "2", "4"}));
        QCOMPARE(lista->rigaSelezionata(), 2);
        QCOMPARE(lista->spunta(3), true);
    }

    void proprietaOrdinamento()
    {
        lista->setSortKey(3);
        lista->setSortOrder(1);
        QCOMPARE(lista->sortKey(), 3);
        QCOMPARE(lista->sortOrder(), 1);
        lista->setSorted(true); // an empty list sorts without harm
        lista->setSorted(false);
        QVERIFY(!lista->sorted());
    }

    void congelaSenzaSegnali()
    {
        riempi();
        QSignalSpy cambi(lista->vista()->model(), &QAbstractItemModel::dataChanged);
        lista->impostaTesto(1, 3, QStringLiteral("x"));
        QCOMPARE(cambi.count(), 1);
        cambi.clear();
        lista->congelaDisegno(true);
        QVERIFY(!lista->vista()->updatesEnabled());
        for (int r = 1; r <= 4; ++r) {
            lista->impostaTag(r, 3, QStringLiteral("k"));
            lista->impostaTesto(r, 3, QStringLiteral("key"));
        }
        QCOMPARE(cambi.count(), 0);
        lista->congelaDisegno(false);
        QVERIFY(lista->vista()->updatesEnabled());
        QCOMPARE(cambi.count(), 1);
        QCOMPARE(lista->vista()->model()->index(3, 3).data().toString(), QStringLiteral("key"));
        // Freezing and releasing with nothing changed says nothing.
        lista->congelaDisegno(true);
        lista->congelaDisegno(false);
        QCOMPARE(cambi.count(), 1);
    }

    void puntatoreEColori()
    {
        QCOMPARE(lista->mousePointer(), 0);
        lista->setMousePointer(11);
        QCOMPARE(lista->mousePointer(), 11);
        QCOMPARE(lista->vista()->viewport()->cursor().shape(), Qt::WaitCursor);
        lista->setMousePointer(0);
        QCOMPARE(lista->vista()->viewport()->cursor().shape(), Qt::ArrowCursor);

        lista->impostaColori(QColor(0, 0, 64), QColor(255, 255, 0));
        QCOMPARE(lista->vista()->palette().color(QPalette::Base), QColor(0, 0, 64));
        QCOMPARE(lista->vista()->palette().color(QPalette::Text), QColor(255, 255, 0));
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
        QStringList eventi;
        int xPremuto = -1;
        connect(lista.get(), &ListaReport::pressioneMouse, this,
                [&](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int) {
                    eventi << QStringLiteral("press %1 %2").arg(int(b)).arg(int(m));
                    xPremuto = x;
                });
        connect(lista.get(), &ListaReport::rigaCliccata, this,
                [&](int r) { eventi << QStringLiteral("row %1 sel %2").arg(r).arg(lista->rigaSelezionata()); });
        connect(lista.get(), &ListaReport::rilascioMouse, this,
                [&](Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
                    eventi << QStringLiteral("release %1").arg(int(b));
                });
        connect(lista.get(), &ListaReport::cliccata, this, [&] { eventi << QStringLiteral("click"); });

        // Third row, "PRODUTTORE" cell.
        QTest::mouseClick(lista->vista()->viewport(), pulsante, Qt::ShiftModifier, centroCella(*lista, 3, 1));
        const QString b = QString::number(int(pulsante));
        QCOMPARE(eventi, (QStringList{"press " + b + " " + QString::number(int(Qt::ShiftModifier)),
                                      "row 3 sel 3", "release " + b, "click"}));
        QVERIFY(xPremuto >= lista->sinistraColonna(2));
        QVERIFY(xPremuto <= lista->sinistraColonna(2) + lista->larghezzaColonna(2));

        // Below the rows: no row is named, the rest still arrives.
        eventi.clear();
        QTest::mouseClick(lista->vista()->viewport(), pulsante, {}, QPoint(20, 500));
        QCOMPARE(eventi, (QStringList{"press " + b + " 0", "release " + b, "click"}));
    }

    void xConScorrimento()
    {
        lista->resize(200, 300);
        riempi();
        QTest::qWait(0);
        lista->vista()->horizontalScrollBar()->setValue(150);
        QCOMPARE(lista->vista()->header()->offset(), 150);
        int x = -1;
        connect(lista.get(), &ListaReport::pressioneMouse, this,
                [&](Qt::MouseButton, Qt::KeyboardModifiers, int px, int) { x = px; });
        QTest::mouseClick(lista->vista()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(x, 160);
    }

    void clicIntestazione()
    {
        riempi();
        QSignalSpy spia(lista.get(), &ListaReport::intestazioneCliccata);
        QHeaderView *h = lista->vista()->header();
        const QPoint p(h->sectionViewportPosition(3) + 10, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(spia.count(), 1);
        QCOMPARE(spia.at(0).at(0).toInt(), 4);
        // The control never sorts on its own.
        QVERIFY(!lista->sorted());
        QCOMPARE(lista->testo(1, 0), QStringLiteral("C3"));
    }

    void doppioClic()
    {
        riempi();
        QSignalSpy doppio(lista.get(), &ListaReport::doppioClic);
        QSignalSpy righe(lista.get(), &ListaReport::rigaCliccata);
        QTest::mouseDClick(lista->vista()->viewport(), Qt::LeftButton, {}, centroCella(*lista, 2, 0));
        QCOMPARE(doppio.count(), 1);
        QCOMPARE(doppio.at(0).at(0).toInt(), 2);
        QVERIFY(righe.count() >= 1);
        QCOMPARE(righe.last().at(0).toInt(), 2);
    }

    void caselleSoloUtente()
    {
        riempi();
        QSignalSpy spia(lista.get(), &ListaReport::spuntaCambiata);
        lista->impostaCaselle(true);
        lista->impostaSpunta(1, true);
        QCOMPARE(spia.count(), 0);
        QVERIFY(lista->spunta(1));
        QVERIFY(!lista->spunta(9));

        QTreeView *v = lista->vista();
        const QModelIndex i = v->model()->index(1, 0);
        QVERIFY(v->model()->flags(i) & Qt::ItemIsUserCheckable);
        // The check box sits at the left of the first cell.
        const QRect r = v->visualRect(i);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 8, r.center().y()));
        QCOMPARE(spia.count(), 1);
        QCOMPARE(spia.at(0).at(0).toInt(), 2);
        QCOMPARE(spia.at(0).at(1).toBool(), true);
        QVERIFY(lista->spunta(2));

        lista->impostaCaselle(false);
        QVERIFY(!(v->model()->flags(i) & Qt::ItemIsUserCheckable));
        QVERIFY(!v->model()->index(0, 0).data(Qt::CheckStateRole).isValid());
    }

    void tastiera()
    {
        riempi();
        lista->selezionaRiga(1);
        lista->vista()->setFocus();
        QStringList eventi;
        connect(lista.get(), &ListaReport::rigaCliccata, this,
                [&](int r) { eventi << QStringLiteral("row %1").arg(r); });
        connect(lista.get(), &ListaReport::cliccata, this, [&] { eventi << QStringLiteral("click"); });
        QTest::keyClick(lista->vista(), Qt::Key_Down);
        QCOMPARE(eventi, (QStringList{"row 2", "click"}));
        QCOMPARE(lista->rigaSelezionata(), 2);
        QTest::keyClick(lista->vista(), Qt::Key_End);
        QCOMPARE(lista->rigaSelezionata(), 4);
        eventi.clear();
        // Already on the last row: nothing moves, nothing is said.
        QTest::keyClick(lista->vista(), Qt::Key_Down);
        QCOMPARE(eventi, QStringList());
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
        lista->selezionaRiga(0);
        QCOMPARE(lista->rigaSelezionata(), 0);
        lista->selezionaRiga(501);
        QCOMPARE(lista->rigaSelezionata(), 0);
    }
};

QTEST_MAIN(TestListaReport)
#include "tst_listareport.moc"
