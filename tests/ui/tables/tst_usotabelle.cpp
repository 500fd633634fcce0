// The ID lookups of the tables window: the first match among the held
// records, within the announced count.
#include "store/stato.h"
#include "ui/tables/usotabelle.h"

#include <QTest>

class TestUsoTabelle : public QObject {
    Q_OBJECT
private slots:
    void ricerche();
};

void TestUsoTabelle::ricerche()
{
    Stato s;
    s.Tipi = {{3, "A"}, {1, "B"}, {3, "C"}};
    s.NumTipi = 3;
    s.Produttori = {{2, "P"}};
    s.NumProduttori = 1;
    s.Packages = {{5, "G", "", ""}, {6, "H", "", ""}};
    s.NumPackages = 2;
    QCOMPARE(TrovaTipoDaID(s, 3), 1);
    QCOMPARE(TrovaTipoDaID(s, 1), 2);
    QCOMPARE(TrovaTipoDaID(s, 2), 0);
    QCOMPARE(TrovaProduttoreDaID(s, 2), 1);
    QCOMPARE(IndicePackageDaID(s, 6), 2);
    s.NumPackages = 1;
    QCOMPARE(IndicePackageDaID(s, 6), 0);
    s.NumTipi = 7;
    QCOMPARE(TrovaTipoDaID(s, 2), 0);
}

QTEST_GUILESS_MAIN(TestUsoTabelle)
#include "tst_usotabelle.moc"
