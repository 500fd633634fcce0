// Highlighted rows of the report list: the mark and its colours reach the
// view, travel with their rows through a sort, and go when the list is
// emptied; rows added later start unmarked.
#include "listsort/ordinacolonna.h"
#include "ui/widgets/listareport.h"

#include <QTest>
#include <QtWidgets>

class TestListaReportEvidenze : public QObject {
    Q_OBJECT

    static QStringList marcate(const ListaReport &l)
    {
        QStringList out;
        for (int r = 1; r <= l.numeroRighe(); ++r)
            if (l.evidenziata(r))
                out << l.testo(r, 0);
        return out;
    }
    static QVariant ruolo(const ListaReport &l, int riga, int colonna, int r)
    {
        const QAbstractItemModel *m = l.vista()->model();
        return m->data(m->index(riga - 1, colonna), r);
    }

private slots:
    void marcheESort()
    {
        ListaReport l;
        l.impostaColonne({{QStringLiteral("A"), {}, 80}, {QStringLiteral("N"), QStringLiteral("NUMBER"), 40}});
        l.impostaColoriEvidenza(QColor(255, 200, 200), QColor(128, 0, 0));
        l.aggiungiRighe({{"d", "4"}, {"a", "1"}, {"c", "3"}, {"b", "2"}});
        QVERIFY(marcate(l).isEmpty());
        QVERIFY(!ruolo(l, 1, 0, Qt::BackgroundRole).isValid());

        l.impostaEvidenze({1, 3, 0, 99}); // rows outside the list are ignored
        QCOMPARE(marcate(l), (QStringList{"d", "c"}));
        // Every cell of a marked row carries both colours.
        QCOMPARE(ruolo(l, 3, 1, Qt::BackgroundRole).value<QColor>(), QColor(255, 200, 200));
        QCOMPARE(ruolo(l, 3, 0, Qt::ForegroundRole).value<QColor>(), QColor(128, 0, 0));
        QVERIFY(!ruolo(l, 2, 0, Qt::ForegroundRole).isValid());

        // The sort moves the marks with the rows, both ways.
        OrdinaColonna(l, 1);
        OrdinaColonna(l, 1);
        QCOMPARE(l.testo(1, 0) + l.testo(4, 0), QStringLiteral("ad"));
        QCOMPARE(marcate(l), (QStringList{"c", "d"}));
        QVERIFY(l.evidenziata(3) && l.evidenziata(4) && !l.evidenziata(1));
        OrdinaColonna(l, 1);
        QCOMPARE(l.testo(1, 0), QStringLiteral("d"));
        QCOMPARE(marcate(l), (QStringList{"d", "c"}));
        QVERIFY(l.evidenziata(1) && l.evidenziata(2));

        // Marking again replaces the marks; added rows start unmarked.
        l.impostaEvidenze({4});
        QCOMPARE(marcate(l), QStringList{"a"});
        l.aggiungiRiga({"e", "5"});
        QVERIFY(!l.evidenziata(5) && !l.evidenziata(6));
        QCOMPARE(marcate(l), QStringList{"a"});
        // Emptied and refilled: nothing marked.
        l.svuota();
        l.aggiungiRighe({{"x", "1"}, {"y", "2"}});
        QVERIFY(marcate(l).isEmpty());
        QVERIFY(!ruolo(l, 1, 0, Qt::BackgroundRole).isValid());
        l.impostaEvidenze({});
        QVERIFY(marcate(l).isEmpty());
    }
};

QTEST_MAIN(TestListaReportEvidenze)
#include "tst_listareport_evidenze.moc"
