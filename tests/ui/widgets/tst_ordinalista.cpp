#include "listsort/ordinacolonna.h"
#include "ui/widgets/listareport.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

// The column sort on the real report list, as the main window uses it.
class TestOrdinaLista : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ListaReport> lista;

    QStringList colonna(int c) const
    {
        QStringList out;
        for (int r = 1; r <= lista->numeroRighe(); ++r)
            out << lista->testo(r, c);
        return out;
    }
    QStringList mostrati(int c) const
    {
        QStringList out;
        for (int r = 0; r < lista->numeroRighe(); ++r)
            out << lista->vista()->model()->index(r, c).data().toString();
        return out;
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        lista = std::make_unique<ListaReport>();
        lista->impostaColonne({
            {QStringLiteral("CODICE"), QString(), 110, Qt::AlignLeft, false},
            {QStringLiteral("PRODUTTORE"), QString(), 125, Qt::AlignLeft, false},
            {QStringLiteral("TIPO"), QString(), 60, Qt::AlignLeft, false},
            {QStringLiteral("QTA"), QStringLiteral("NUMBER"), 50, Qt::AlignRight, false},
            {QStringLiteral("DATA"), QStringLiteral("DATE"), 90, Qt::AlignHCenter, false},
            {QString(), QStringLiteral("0"), 1, Qt::AlignLeft, true},
        });
        lista->aggiungiRighe({
            {"C3", "Texas", "IC", "10", "05/01/2026", "1"},
            {"A1", "Philips", "R", "9", "31/12/2025", "2"},
            {"B2", "Texas", "C", "-2", "01/01/2026", "3"},
            {"D4", "Motorola", "T", "2,5", "", "4"},
            {"E5", "Motorola", "T", "abc", "xx", "5"},
        });
        for (int r = 1; r <= 5; ++r)
            for (int c = 0; c < 6; ++c)
                lista->impostaTag(r, c, QStringLiteral("t%1.%2").arg(r).arg(c));
        lista->show();
        QVERIFY(QTest::qWaitForWindowExposed(lista.get()));
    }
    void cleanup() { lista.reset(); }

    void colonne_data()
    {
        QTest::addColumn<int>("indice");
        QTest::addColumn<QStringList>("posizioni"); // hidden column, after each of two calls
        QTest::addColumn<QStringList>("posizioni2");
        QTest::newRow("code") << 1 << QStringList{"5", "4", "1", "3", "2"} << QStringList{"2", "3", "1", "4", "5"};
        QTest::newRow("quantity") << 4 << QStringList{"1", "2", "4", "3", "5"}
                                  << QStringList{"5", "3", "4", "2", "1"};
        QTest::newRow("date") << 5 << QStringList{"1", "3", "2", "4", "5"} << QStringList{"4", "5", "2", "3", "1"};
    }
    void colonne()
    {
        QFETCH(int, indice);
        QFETCH(QStringList, posizioni);
        QFETCH(QStringList, posizioni2);
        lista->impostaCaselle(true);
        lista->impostaSpunta(2, true); // position 2
        lista->selezionaRiga(3);       // position 3
        QSignalSpy cambi(lista->vista()->model(), &QAbstractItemModel::dataChanged);

        OrdinaColonna(*lista, indice);
        QCOMPARE(lista->sortOrder(), 1);
        QCOMPARE(lista->sortKey(), indice - 1);
        QCOMPARE(colonna(5), posizioni);
        // Every cell keeps its own text and tag.
        for (int r = 1; r <= 5; ++r) {
            const int pos = lista->testo(r, 5).toInt();
            for (int c = 0; c < 6; ++c)
                QCOMPARE(lista->tag(r, c), QStringLiteral("t%1.%2").arg(pos).arg(c));
        }
        QCOMPARE(mostrati(indice - 1), colonna(indice - 1));
        QVERIFY(!colonna(indice - 1).join(QString()).contains(QChar(0)));
        QCOMPARE(lista->spunta(int(posizioni.indexOf("2")) + 1), true);
        QCOMPARE(lista->rigaSelezionata(), int(posizioni.indexOf("3")) + 1);
        QCOMPARE(lista->mousePointer(), 0);
        QVERIFY(lista->vista()->updatesEnabled());
        // One refresh at the end at most, never one per cell.
        QVERIFY(cambi.count() <= 1);

        OrdinaColonna(*lista, indice);
        QCOMPARE(lista->sortOrder(), 0);
        QCOMPARE(colonna(5), posizioni2);
        QCOMPARE(lista->rigaSelezionata(), int(posizioni2.indexOf("3")) + 1);
    }

    void listaVuota()
    {
        lista->svuota();
        OrdinaColonna(*lista, 4);
        QCOMPARE(lista->sortOrder(), 1);
        QCOMPARE(lista->numeroRighe(), 0);
        QCOMPARE(lista->mousePointer(), 0);
    }
};

QTEST_MAIN(TestOrdinaLista)
#include "tst_ordinalista.moc"
