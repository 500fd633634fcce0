#include "listsort/chiavi.h"

#include "common/verifiche.h"

#include <limits>

namespace {

const QLocale Italiano(QLocale::Italian, QLocale::Italy);
const QLocale Americano(QLocale::English, QLocale::UnitedStates);
const QString Z29(29, u'0'), Z30(30, u'0');

} // namespace

// The keys that make number and date columns sort by value; the sort itself is tested on the real list control.
class TestOrdinaColonna : public QObject {
    Q_OBJECT
private slots:
    void tipoEChiaveNumero()
    {
        QCOMPARE(TipoDaTag("date"), TipoColonna::Data); // any case, no blanks
        QCOMPARE(TipoDaTag("Number"), TipoColonna::Numero);
        QCOMPARE(TipoDaTag(" DATE"), TipoColonna::Testo);
        QCOMPARE(TipoDaTag(""), TipoColonna::Testo);
        QCOMPARE(TipoDaTag("natural"), TipoColonna::Naturale);
        QCOMPARE(ChiaveNumero("0123456789"), "9876543210");
        QCOMPARE(ChiaveNumero("1.5,a-Z &"), "8.4,a Z &");
    }

    // Keys of number and date cells in the user's locale; empty when the text is no number or no date.
    void chiave_data()
    {
        Colonne<QLocale, bool, QString, QString>("locale", "data", "testo", "atteso");
        QTest::newRow("minus zero") << Italiano << false << "-0" << Z29 + "0," + Z30;
        QTest::newRow("ten") << Italiano << false << "10" << QString(28, u'0') + "10," + Z30;
        QTest::newRow("comma decimal") << Italiano << false << "2,5" << Z29 + "2,5" + Z29;
        QTest::newRow("point decimal") << Americano << false << "2.5" << Z29 + "2.5" + Z29;
        QTest::newRow("minus three") << Italiano << false << "-3" << "&" + QString(29, u'9') + "6," + QString(30, u'9');
        QTest::newRow("group separators") << Italiano << false << "1.234,5" << QString(26, u'0') + "1234,5" + Z29;
        QTest::newRow("word") << Italiano << false << "abc" << "";
        QTest::newRow("two separators") << Italiano << false << "1,2,3" << "";
        QTest::newRow("point in Italian") << Italiano << false << "2.5" << "";
        QTest::newRow("Italian date") << Italiano << true << " 05/01/2026 " << "20260105000000";
        QTest::newRow("with time") << Italiano << true << "05/12/2026 09:07:03" << "20261205090703";
        QTest::newRow("US date") << Americano << true << "12/31/2025" << "20251231000000";
        QTest::newRow("no such day") << Italiano << true << "31/02/2026" << "";
        QTest::newRow("short year") << Italiano << true << "05/01/26" << "";
        QTest::newRow("trailing") << Italiano << true << "05/01/2026x" << "";
    }
    void chiave()
    {
        const auto [locale, data, testo] = Valori<QLocale, bool, QString>("locale", "data", "testo");
        QLocale::setDefault(locale);
        QTEST(data ? ChiaveData(testo) : ChiaveNumerica(testo), "atteso");
    }

    void chiaviNumericheInOrdine()
    {
        // Ascending values give strictly ascending keys.
        const double valori[] = {-1e20, -123456.789, -10, -2.5, -2, -0.1, -1e-10, 0, 1e-12,
                                 0.1,   0.2,         1,   2,    2.5, 9, 10,   1e15,   1e29};
        const GeneratoreChiavi g(Italiano);
        for (std::size_t i = 0; i + 1 < std::size(valori); ++i)
            QVERIFY2(g.numero(valori[i]) < g.numero(valori[i + 1]), qPrintable(QString::number(valori[i])));
        QVERIFY(g.numero(1e40).size() > 61); // far beyond 10^30 the key grows longer
        QCOMPARE(g.numero(std::numeric_limits<double>::quiet_NaN()), QString());
        QCOMPARE(g.numero(QStringLiteral("1e400")), QString());
        // Whole numbers take a shortcut that must agree with the general path.
        QCOMPARE(g.numero(1e15), QString(14, u'0') + "1" + QString(15, u'0') + "," + Z30);
    }

    // Locations sort as people number drawers: the numbers in them by value, the rest as text, letters in any case (as
    // the list compares keys).
    void chiaviNaturaliInOrdine_data()
    {
        Colonne<QStringList>("ordinati");
        QTest::newRow("numero dopo la lettera") << QStringList{"A1", "A2", "A10", "A11", "B1"};
        QTest::newRow("zeri iniziali") << QStringList{"A002", "A3", "A0010"};
        QTest::newRow("zero") << QStringList{"A0", "A1"};
        QTest::newRow("numeri nel mezzo") << QStringList{"S2-C9", "S2-C10", "S10-C1"};
        QTest::newRow("maiuscole e minuscole") << QStringList{"a2", "A9", "a10"};
        QTest::newRow("prima il testo piu' corto") << QStringList{"", "A", "A1", "AB"};
        QTest::newRow("solo cifre") << QStringList{"9", "10", "100", "1000000000000000000001"};
        QTest::newRow("cifre prima delle lettere") << QStringList{"1", "A"};
    }
    void chiaviNaturaliInOrdine()
    {
        QFETCH(QStringList, ordinati);
        for (qsizetype i = 0; i + 1 < ordinati.size(); ++i) {
            const QString a = ChiaveNaturale(ordinati[i]), b = ChiaveNaturale(ordinati[i + 1]);
            QVERIFY2(a.compare(b, Qt::CaseInsensitive) < 0, qPrintable(ordinati[i] + " / " + ordinati[i + 1]));
        }
        // Equal only when the text differs by leading zeros or case alone.
        QCOMPARE(ChiaveNaturale("A02"), ChiaveNaturale("A2"));
        QCOMPARE(ChiaveNaturale("cassetto 12"), QStringLiteral("cassetto 0212"));
    }
};

QTEST_GUILESS_MAIN(TestOrdinaColonna)
#include "tst_ordinacolonna.moc"
