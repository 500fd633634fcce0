// Usage counting and the ID lookups of the tables window, without a window.
#include "store/stato.h"
#include "ui/tables/usotabelle.h"

#include <QTest>

namespace {

Componente comp(const char *codice, qint32 tipo, qint32 produttore, qint32 package)
{
    Componente c;
    c.Codice = QLatin1String(codice);
    c.IDTipo = tipo;
    c.IDProduttore = produttore;
    c.IDPackage = package;
    return c;
}

Stato statoBase()
{
    Stato s;
    s.Tipi = {{3, "A"}, {1, "B"}, {3, "C"}};
    s.NumTipi = 3;
    s.ProssimoIDTipo = 4;
    s.Produttori = {{2, "P"}};
    s.NumProduttori = 1;
    s.ProssimoIDProduttore = 3;
    s.Packages = {{5, "G", "", ""}, {6, "H", "", ""}};
    s.NumPackages = 2;
    s.ProssimoIDPackage = 7;
    return s;
}

// The usage of each of the given IDs.
QList<qint32> usi(const UsoTabella &uso, const QList<qint32> &id)
{
    QList<qint32> r;
    for (qint32 i : id)
        r << uso.uso(i);
    return r;
}

} // namespace

class TestUsoTabelle : public QObject {
    Q_OBJECT
private slots:
    void conteggio();
    void conteggioSenzaComponenti();
    void voceMancante_data();
    void voceMancante();
    void componentiOltreLoSpazio();
    void idOltreIlProssimo();
    void ricerche();
};

void TestUsoTabelle::conteggio()
{
    Stato s = statoBase();
    s.Componenti = {comp("A", 3, 2, 6), comp("B", 3, 0, 0), comp("C", 1, 2, 6), comp("D", 0, -1, 0),
                    comp("E", -4, 0, 5), comp("oltre il conteggio", 1, 2, 5)};
    s.NumComponenti = 5;
    UsoTabelle uso;
    QVERIFY(!ContaUtilizzi(s, uso).presente());
    // Counting again starts from zero.
    const ErroreTabelle e = ContaUtilizzi(s, uso);
    QVERIFY(!e.presente());
    // Both types with ID 3 show the usage of that ID.
    QCOMPARE(usi(uso.UsoTipi, {1, 2, 3, 4, 0, -4}), (QList<qint32>{1, 0, 2, 0, 0, 0}));
    QCOMPARE(usi(uso.UsoProduttori, {2, -1}), (QList<qint32>{2, 0}));
    QCOMPARE(usi(uso.UsoPackages, {5, 6, 7}), (QList<qint32>{1, 2, 0}));
}

void TestUsoTabelle::conteggioSenzaComponenti()
{
    Stato s; // empty tables, next IDs 1
    UsoTabelle uso;
    QVERIFY(!ContaUtilizzi(s, uso).presente());
    QCOMPARE(usi(uso.UsoTipi, {0, 1}), QList<qint32>({0, 0}));
    QCOMPARE(usi(uso.UsoPackages, {0, 1}), QList<qint32>({0, 0}));
}

void TestUsoTabelle::voceMancante_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("produttore");
    QTest::addColumn<int>("package");
    QTest::addColumn<QString>("descrizione");
    QTest::addColumn<QList<qint32>>("usoTipi");
    QTest::addColumn<QList<qint32>>("usoProduttori");
    QTest::addColumn<QList<qint32>>("usoPackages");
    const QString base = QStringLiteral("Indice non compreso nell'intervallo (il componente ROTTO%1 usa ");
    // Usage of the types 1 and 3, of the manufacturer 2, of the packages 5 and 6.
    QTest::newRow("tipo") << 2 << 2 << 5 << base + "il tipo con ID 2, che non esiste)"
                          << QList<qint32>{1, 0} << QList<qint32>{1} << QList<qint32>{1, 0};
    QTest::newRow("produttore") << 1 << 7 << 5 << base + "il produttore con ID 7, che non esiste)"
                                << QList<qint32>{2, 0} << QList<qint32>{1} << QList<qint32>{1, 0};
    QTest::newRow("package") << 1 << 2 << 4 << base + "il package con ID 4, che non esiste)"
                             << QList<qint32>{2, 0} << QList<qint32>{2} << QList<qint32>{1, 0};
}

// The first component is counted, the broken one up to the failing ID, and
// nothing after it.
void TestUsoTabelle::voceMancante()
{
    QFETCH(int, tipo);
    QFETCH(int, produttore);
    QFETCH(int, package);
    QFETCH(QString, descrizione);
    Stato s = statoBase();
    s.Componenti = {comp("BUONO", 1, 2, 5), comp("ROTTO%1", tipo, produttore, package), comp("DOPO", 3, 2, 6)};
    s.NumComponenti = 3;
    UsoTabelle uso;
    const ErroreTabelle e = ContaUtilizzi(s, uso);
    QCOMPARE(e.numero, 9);
    QCOMPARE(e.descrizione, descrizione);
    QTEST(usi(uso.UsoTipi, {1, 3}), "usoTipi");
    QTEST(usi(uso.UsoProduttori, {2}), "usoProduttori");
    QTEST(usi(uso.UsoPackages, {5, 6}), "usoPackages");
}

void TestUsoTabelle::componentiOltreLoSpazio()
{
    Stato s = statoBase();
    s.Componenti = {comp("A", 1, 0, 0)};
    s.NumComponenti = 2;
    UsoTabelle uso;
    const ErroreTabelle e = ContaUtilizzi(s, uso);
    QCOMPARE(e.numero, 9);
    QCOMPARE(e.descrizione, QStringLiteral("Indice non compreso nell'intervallo (componenti annunciati 2, presenti 1)"));
    QCOMPARE(uso.UsoTipi.uso(1), 1);
}

// Hand-edited files may hold any IDs and next IDs: huge values or an entry
// whose ID is not below the next ID are counted like any other.
void TestUsoTabelle::idOltreIlProssimo()
{
    Stato s = statoBase();
    s.Tipi.append({2147483647, "Z"});
    s.NumTipi = 4;
    s.ProssimoIDTipo = 4;
    s.ProssimoIDPackage = 2147483647;
    s.Componenti = {comp("A", 2147483647, 0, 6), comp("B", 2147483647, 0, 0)};
    s.NumComponenti = 2;
    UsoTabelle uso;
    QVERIFY(!ContaUtilizzi(s, uso).presente());
    QCOMPARE(uso.UsoTipi.uso(2147483647), 2);
    QCOMPARE(uso.UsoPackages.uso(6), 1);
    QCOMPARE(uso.UsoTipi.usi.size(), 5); // one slot per position, not per ID
}

void TestUsoTabelle::ricerche()
{
    Stato s = statoBase();
    QCOMPARE(TrovaTipoDaID(s, 3), 1); // first of two
    QCOMPARE(TrovaTipoDaID(s, 1), 2);
    QCOMPARE(TrovaTipoDaID(s, 2), 0);
    QCOMPARE(TrovaProduttoreDaID(s, 2), 1);
    QCOMPARE(IndicePackageDaID(s, 6), 2);
    QCOMPARE(IndicePackageDaID(s, 0), 0);
    s.NumPackages = 1; // the slot beyond the count is not searched
    QCOMPARE(IndicePackageDaID(s, 6), 0);
    s.NumProduttori = 0;
    QCOMPARE(TrovaProduttoreDaID(s, 2), 0);
    s.NumTipi = 7; // more than held: only held records are searched
    QCOMPARE(TrovaTipoDaID(s, 2), 0);
}

QTEST_GUILESS_MAIN(TestUsoTabelle)
#include "tst_usotabelle.moc"
