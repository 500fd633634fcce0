#include "components/like.h"

#include <QTest>

class TestLike : public QObject {
    Q_OBJECT
private slots:
    void like_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("schema");
        QTest::addColumn<bool>("atteso");
        QTest::newRow("equal") << "NE555" << "NE555" << true;
        QTest::newRow("case differs") << "NE555" << "ne555" << false;
        QTest::newRow("empty both") << "" << "" << true;
        QTest::newRow("empty pattern") << "A" << "" << false;
        QTest::newRow("star alone") << "ANY" << "*" << true;
        QTest::newRow("contains") << "74HC00" << "*HC*" << true;
        QTest::newRow("star needs backtracking") << "AXBXC" << "*X*C" << true;
        QTest::newRow("star must reach end") << "ABCD" << "*C" << false;
        QTest::newRow("question") << "74LS00" << "*7?L*" << true;
        QTest::newRow("question needs one") << "7L" << "7?L" << false;
        QTest::newRow("hash digit") << "R10" << "R##" << true;
        QTest::newRow("hash not letter") << "R1K" << "R##" << false;
        QTest::newRow("hash not other digit") << QString::fromUtf8("R1\u0663") << "R##" << false;
        QTest::newRow("range in") << "B" << "[A-C]" << true;
        QTest::newRow("range out") << "D" << "[A-C]" << false;
        QTest::newRow("negated in") << "D" << "[!A-C]" << true;
        QTest::newRow("star in brackets is literal") << "A*" << "A[*]" << true;
        QTest::newRow("bracket in brackets") << "[" << "[[]" << true;
        QTest::newRow("hyphen first") << "-" << "[-A]" << true;
        QTest::newRow("descending range empty") << "B" << "[C-A]" << false;
        QTest::newRow("empty list is an empty text") << "AB" << "A[]B" << true;
        QTest::newRow("negated empty list any") << "AXB" << "A[!]B" << true;
        QTest::newRow("closing bracket alone") << "A]" << "A]" << true;
        // An opening bracket without its closing one stands for itself.
        QTest::newRow("unclosed literal") << "[AB" << "[AB" << true;
        QTest::newRow("unclosed in search") << "X[AB7" << "*[AB*" << true;
        QTest::newRow("unclosed, wildcards still work") << "[X1" << "[?#" << true;
        // A character outside the BMP is one character; a lone surrogate is
        // one of its own, in the text and in the pattern alike.
        QTest::newRow("one question, one emoji") << QString::fromUtf8("A\U0001F600B") << "A?B" << true;
        QTest::newRow("star backtracks over emoji")
            << QString::fromUtf8("X\U0001F600\U0001F600B\U0001F600B") << "X*??B" << true;
        const QString solo(QChar(char16_t(0xD89B)));
        QTest::newRow("lone surrogate matches itself") << solo << solo << true;
        QTest::newRow("lone surrogate is not U+FFFD") << QString(QChar(0xFFFD)) << solo << false;
    }
    void like()
    {
        QFETCH(QString, testo);
        QFETCH(QString, schema);
        QFETCH(bool, atteso);
        QCOMPARE(Like(testo, schema), atteso);
    }

    void moltiAsterischi()
    {
        // The exponential trap of naive backtracking, answered at once.
        const QString testo(10000, QLatin1Char('A'));
        const QString schema = QStringLiteral("*A").repeated(200);
        QVERIFY(!Like(testo, schema + QStringLiteral("*B")));
        QVERIFY(Like(testo + QStringLiteral("B"), schema + QStringLiteral("*B")));
        QVERIFY(!Like(testo, QString(200, QLatin1Char('*')) + QStringLiteral("B")));
        QVERIFY(!Like(testo, schema + QStringLiteral("?*B*")));
    }
};

QTEST_GUILESS_MAIN(TestLike)
#include "tst_like.moc"
