#include "components/regole.h"

#include <QTest>

#include <limits>

class TestRegole : public QObject {
    Q_OBJECT
private slots:
    void numeroDaCodice_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<qint32>("atteso");
        QTest::newRow("74HC00") << "74HC00" << 7400;
        QTest::newRow("1N4148") << "1N4148" << 14148;
        QTest::newRow("leading zeros") << "0805-01" << 80501;
        QTest::newRow("no digits") << "RELAY" << 0;
        QTest::newRow("non-ASCII digits skipped") << QString::fromUtf8("A\u0663\u0661\u0662") << 0;
        QTest::newRow("exactly the largest Long") << "X2147483647" << 2147483647;
        QTest::newRow("one above caps") << "X2147483648" << 2147483647;
        QTest::newRow("long run of digits caps") << "9999999999999999999999999999" << 2147483647;
    }
    void numeroDaCodice()
    {
        QFETCH(QString, codice);
        QFETCH(qint32, atteso);
        QCOMPARE(NumeroDaCodice(codice), atteso);
    }

    void pulisciTesto_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("quoted word, comma and blank, line break")
            << "Il \"nuovo\" timer, preciso\r\nseconda riga"
            << "Il 'nuovo' timer -  preciso seconda riga";
        QTest::newRow("lone CR and lone LF kept") << "a\rb\nc" << "a\rb\nc";
        QTest::newRow("LF CR is not a pair") << "a\n\rb" << "a\n\rb";
        QTest::newRow("CR CR LF LF") << "a\r\r\n\nb" << "a\r \nb";
        QTest::newRow("comma alone") << "," << " - ";
        QTest::newRow("untouched") << "Timer 555 èà" << "Timer 555 èà";
    }
    void pulisciTesto()
    {
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        QCOMPARE(PulisciTesto(testo), atteso);
    }

    void val_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<double>("atteso");
        QTest::addColumn<qint32>("intero");
        QTest::newRow("12 pz") << "12 pz" << 12.0 << 12;
        QTest::newRow("comma stops") << "3,5" << 3.0 << 3;
        QTest::newRow("abc") << "abc" << 0.0 << 0;
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("negative") << "-3" << -3.0 << -3;
        QTest::newRow("blank after sign") << "- 3" << -3.0 << -3;
        QTest::newRow("two signs") << "--3" << 0.0 << 0;
        QTest::newRow("half down to even") << "2.5" << 2.5 << 2;
        QTest::newRow("half up to even") << "3.5" << 3.5 << 4;
        QTest::newRow("negative half to even") << "-2.5" << -2.5 << -2;
        QTest::newRow("just above half") << "2.51" << 2.51 << 3;
        QTest::newRow("blanks anywhere") << " 1 2 " << 12.0 << 12;
        QTest::newRow("tabs and line breaks") << "\t1\r\n0" << 10.0 << 10;
        QTest::newRow("exponent D, negative") << "25D-1" << 2.5 << 2;
        QTest::newRow("exponent with blanks") << "1 E + 2" << 100.0 << 100;
        QTest::newRow("exponent without digits") << "4e" << 4.0 << 4;
        QTest::newRow("leading point") << ".5" << 0.5 << 0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2 << 1;
        QTest::newRow("hexadecimal lower case") << "&h1f" << 31.0 << 31;
        QTest::newRow("octal stops at 8") << "&O78" << 7.0 << 7;
        QTest::newRow("ampersand alone") << "&12" << 0.0 << 0;
        QTest::newRow("smallest Long") << "-2147483648" << -2147483648.0 << std::numeric_limits<qint32>::min();
        QTest::newRow("above range clamps") << "3000000000" << 3e9 << 2147483647;
        QTest::newRow("rounds past the top clamps") << "2147483647.5" << 2147483647.5 << 2147483647;
        QTest::newRow("below range clamps") << "-1e12" << -1e12 << std::numeric_limits<qint32>::min();
        QTest::newRow("tiny exponent is 0") << "1e-999999" << 0.0 << 0;
        // Beyond a double: infinity with its sign, and the Long clamps.
        QTest::newRow("huge exponent") << "1e999999999999" << qInf() << 2147483647;
        QTest::newRow("huge negative") << "-7e400" << -qInf() << std::numeric_limits<qint32>::min();
        QTest::newRow("four hundred digits") << QString(400, QLatin1Char('9')) << qInf() << 2147483647;
    }
    void val()
    {
        QFETCH(QString, testo);
        QFETCH(double, atteso);
        QFETCH(qint32, intero);
        QCOMPARE(Val(testo), atteso);
        QCOMPARE(LongDaTesto(testo), intero);
    }

};

QTEST_GUILESS_MAIN(TestRegole)
#include "tst_regole.moc"
