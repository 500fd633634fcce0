// The dates of the listing and of the export: each distinct day written as
// the user's locale writes it, whichever short date form that locale uses.

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
        QTest::newRow("italian") << QLocale(QLocale::Italian, QLocale::Italy);
        QTest::newRow("us english") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("german") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("chinese") << QLocale(QLocale::Chinese, QLocale::China);
        QTest::newRow("korean") << QLocale(QLocale::Korean, QLocale::SouthKorea);
        QTest::newRow("hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary);
        QTest::newRow("arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt);
        QTest::newRow("persian") << QLocale(QLocale::Persian, QLocale::Iran);
    }
    void comeIlLocale()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        DateBrevi date;
        const QList<QDate> giorni = {QDate(2024, 10, 9), QDate(2004, 1, 1),   QDate(1999, 12, 31),
                                     QDate(2026, 2, 28), QDate(2024, 10, 9),  QDate(1000, 1, 1),
                                     QDate(999, 5, 6),   QDate(9999, 12, 31), QDate(10000, 1, 2)};
        for (const QDate &g : giorni) {
            QCOMPARE(date.testo(QDateTime(g, QTime(0, 0), Qt::UTC)), DataBreve(g));
            // The time of day is not written.
            QCOMPARE(date.testo(QDateTime(g, QTime(13, 45, 7), Qt::UTC)), DataBreve(g));
        }
        QCOMPARE(date.testo(QDateTime()), QString());
    }
};

QTEST_GUILESS_MAIN(TestDateBrevi)
#include "tst_datebrevi.moc"
