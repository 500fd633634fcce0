#include "store/localeutente.h"

#include <QTest>

class TestLocaleUtente : public QObject {
    Q_OBJECT
private slots:
    void formatoDataBreve_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("C falls back to Italian") << QLocale::c() << "05/12/2026";
        QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << "05/12/2026";
        QTest::newRow("US English") << QLocale(QLocale::English, QLocale::UnitedStates) << "12/5/2026";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "05.12.2026";
    }
    void formatoDataBreve()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, atteso);
        QLocale::setDefault(locale);
        QCOMPARE(DataBreve(QDate(2026, 12, 5)), atteso);
        // The form reads back what it writes.
        QCOMPARE(LeggiDataBreve(atteso).date(), QDate(2026, 12, 5));
    }
    void leggeSoloDate()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QVERIFY(!LeggiDataBreve(QStringLiteral("abc")).isValid());
        QVERIFY(!LeggiDataBreve(QString()).isValid());
        QVERIFY(!LeggiDataBreve(QStringLiteral("31/02/2026")).isValid());
        QCOMPARE(LeggiDataBreve(QStringLiteral("05/12/2026 09:07:03")).time(), QTime(9, 7, 3));
    }
};

QTEST_GUILESS_MAIN(TestLocaleUtente)
#include "tst_localeutente.moc"
