// The user's short date form, and the dates of the listing and the export
// written in it: each distinct day as the locale writes it, whatever the form.
#include "reports/datebrevi.h"
#include "store/localeutente.h"

#include <QTest>

class TestDateBrevi : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }

    void comeIlLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("atteso"); // 5 December 2026; empty: as the locale writes it
        QTest::newRow("C falls back to Italian") << QLocale::c() << "05/12/2026";
        QTest::newRow("italian") << QLocale(QLocale::Italian, QLocale::Italy) << "05/12/2026";
        QTest::newRow("us english") << QLocale(QLocale::English, QLocale::UnitedStates) << "12/5/2026";
        QTest::newRow("german") << QLocale(QLocale::German, QLocale::Germany) << "05.12.2026";
        QTest::newRow("chinese") << QLocale(QLocale::Chinese, QLocale::China) << "";
        QTest::newRow("korean") << QLocale(QLocale::Korean, QLocale::SouthKorea) << "";
        QTest::newRow("hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary) << "";
        QTest::newRow("arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt) << "";
        QTest::newRow("persian") << QLocale(QLocale::Persian, QLocale::Iran) << "";
    }
    void comeIlLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, atteso);
        QLocale::setDefault(locale);
        if (!atteso.isEmpty()) {
            QCOMPARE(DataBreve(QDate(2026, 12, 5)), atteso);
            QCOMPARE(LeggiDataBreve(atteso).date(), QDate(2026, 12, 5));
        }
        DateBrevi date;
        for (const QDate &g : {QDate(2024, 10, 9), QDate(2004, 1, 1), QDate(1999, 12, 31), QDate(2026, 2, 28),
                               QDate(2024, 10, 9), QDate(1000, 1, 1), QDate(999, 5, 6), QDate(9999, 12, 31),
                               QDate(10000, 1, 2)}) {
            QCOMPARE(date.testo(QDateTime(g, QTime(0, 0), Qt::UTC)), DataBreve(g));
            QCOMPARE(date.testo(QDateTime(g, QTime(13, 45, 7), Qt::UTC)), DataBreve(g)); // no time of day
        }
        QCOMPARE(date.testo(QDateTime()), QString());
    }

    void leggeSoloDate()
    {
        QVERIFY(!LeggiDataBreve(QStringLiteral("abc")).isValid());
        QVERIFY(!LeggiDataBreve(QString()).isValid());
        QVERIFY(!LeggiDataBreve(QStringLiteral("31/02/2026")).isValid());
        QCOMPARE(LeggiDataBreve(QStringLiteral("05/12/2026 09:07:03")).time(), QTime(9, 7, 3));
    }
};

QTEST_GUILESS_MAIN(TestDateBrevi)
#include "tst_datebrevi.moc"
