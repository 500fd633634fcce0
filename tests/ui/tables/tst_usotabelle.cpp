// Usage counting and the ID lookups of the tables window, without a window.
#include "store/stato.h"
#include "ui/tables/usotabelle.h"

#include <QTest>

namespace {

Componente comp(qint32 tipo, qint32 produttore, qint32 package, const char *codice = "C")
{
    Componente c;
    c.Codice = QLatin1String(codice);
    c.IDTipo = tipo;
    c.IDProduttore = produttore;
    c.IDPackage = package;
    return c;
}

// Types 3, 1, 3 (the same ID twice), manufacturer 2, packages 5 and 6.
Stato statoBase(const QList<Componente> &componenti)
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
    s.Componenti = componenti;
    s.NumComponenti = componenti.size();
    return s;
}

// Usage of types 1 and 3, manufacturer 2, packages 5 and 6.
QList<qint32> usi(const UsoTabelle &u)
{
    return {u.UsoTipi.uso(1), u.UsoTipi.uso(3), u.UsoProduttori.uso(2), u.UsoPackages.uso(5), u.UsoPackages.uso(6)};
}

} // namespace

class TestUsoTabelle : public QObject {
    Q_OBJECT
private slots:
    void conteggio_data();
    void conteggio();
    void ricerche();
};

void TestUsoTabelle::conteggio_data()
{
    QTest::addColumn<QList<int>>("broken");   // IDs of type, manufacturer, package of the middle component
    QTest::addColumn<int>("annunciati");      // the component count, -1: as held
    QTest::addColumn<QString>("errore");
    QTest::addColumn<QList<qint32>>("attesi");
    const QString base = QStringLiteral("Indice non compreso nell'intervallo (");
    const QString rotto = base + QStringLiteral("il componente ROTTO usa ");
    // IDs 0 and negative refer to nothing and are not counted.
    QTest::newRow("tutto valido") << QList<int>{0, -1, 0} << -1 << QString() << QList<qint32>{1, 1, 2, 1, 1};
    // The first component is counted, the broken one up to the failing ID, nothing after it.
    QTest::newRow("tipo") << QList<int>{2, 2, 5} << -1 << rotto + "il tipo con ID 2, che non esiste)"
                          << QList<qint32>{1, 0, 1, 1, 0};
    QTest::newRow("produttore") << QList<int>{1, 7, 5} << -1 << rotto + "il produttore con ID 7, che non esiste)"
                                << QList<qint32>{2, 0, 1, 1, 0};
    QTest::newRow("package") << QList<int>{1, 2, 4} << -1 << rotto + "il package con ID 4, che non esiste)"
                             << QList<qint32>{2, 0, 2, 1, 0};
    QTest::newRow("componenti annunciati in piu'") << QList<int>{0, 0, 0} << 4
                                                   << base + "componenti annunciati 4, presenti 3)"
                                                   << QList<qint32>{1, 1, 2, 1, 1};
}

void TestUsoTabelle::conteggio()
{
    QFETCH(QList<int>, broken);
    QFETCH(int, annunciati);
    QFETCH(QString, errore);
    Stato s = statoBase({comp(1, 2, 5), comp(broken[0], broken[1], broken[2], "ROTTO"), comp(3, 2, 6)});
    if (annunciati >= 0)
        s.NumComponenti = annunciati;
    UsoTabelle uso;
    ContaUtilizzi(s, uso);
    const ErroreTabelle e = ContaUtilizzi(s, uso); // counting again starts from zero
    QCOMPARE(e.presente(), !errore.isEmpty());
    if (e.presente()) {
        QCOMPARE(e.numero, 9);
        QCOMPARE(e.descrizione, errore);
    }
    QTEST(usi(uso), "attesi");
}

// Lookups give the first match among the held records, within the count.
void TestUsoTabelle::ricerche()
{
    Stato s = statoBase({});
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
