// Large tables are read and written by two threads. Reading splits the file
// at the first line start after its middle: whatever lies there, the
// outcome must be the one a reading from the start gives. Writing splits the
// records in two halves: the bytes must be those of the records one after
// the other.
#include "common/verifiche.h"
#include "store/filetabelle.h"

#include <limits>

namespace {

QByteArray Riga(int id, const QByteArray &descrizione = "Timer")
{
    return QByteArray::number(id) + ",3,5,2,8,\"INTEGRATO\",\"ACME\",\"NE" + QByteArray::number(id)
        + "\",555,\"" + descrizione + "\",\"\",\"\",10,\"\",#2024-10-09#,\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
}

// Forty records, the twentieth (the one across the middle) given by the test.
QByteArray File(const QByteArray &centrale)
{
    QByteArray f;
    for (int i = 1; i <= 40; ++i)
        f += i == 20 ? centrale : Riga(i);
    return f;
}

} // namespace

class TestTabelleGrandi : public QObject {
    Q_OBJECT
private slots:
    void scritturaInDue()
    {
        QList<Componente> tabella(20001);
        QByteArray unoDopoLaltro;
        for (qsizetype i = 0; i < tabella.size(); ++i) {
            Componente &c = tabella[i];
            c.ID = qint32(i + 1);
            c.Codice = QStringLiteral("C%1").arg(i);
            c.Quantita = qint32(i % 500);
            c.DataInserimento = QDateTime(QDate(2020, 1, 1).addDays(i % 900), QTime(0, 0), Qt::UTC);
            unoDopoLaltro += TestoComponenti({c}, 1);
        }
        const QByteArray scritto = TestoComponenti(tabella, qint32(tabella.size()));
        QCOMPARE(scritto, unoDopoLaltro);
        QList<Componente> riletti;
        QVERIFY(LeggiComponenti(scritto, qint32(tabella.size()), &riletti, 0));
        QVERIFY(riletti == tabella);
    }

    void letturaComeDaSolo_data()
    {
        Colonne<QByteArray, int, bool>("file", "num", "riesce");

        const QByteArray lunga(400, 'x'); // puts the middle inside record 20
        QTest::newRow("plain") << File(Riga(20)) << 40 << true;
        QTest::newRow("count within the first half") << File(Riga(20)) << 5 << true;
        QTest::newRow("extra lines after the count") << File(Riga(20)) << 30 << true;
        QTest::newRow("data runs out") << File(Riga(20)) << 41 << false;
        QTest::newRow("line break inside a text at the middle")
            << File(Riga(20, lunga + "\r\n" + Riga(99).chopped(2) + "\r\n" + lunga)) << 40 << true;
        QTest::newRow("record over several lines at the middle")
            << File(Riga(20, lunga).replace(",\"", "\r\n\"")) << 40 << true;
        QTest::newRow("two records on one line at the middle")
            << File(Riga(20, lunga).chopped(2) + "," + Riga(21)) << 40 << true;
        QTest::newRow("blank lines at the middle") << File("\r\n\r\n" + Riga(20, lunga) + "\r\n\n") << 40 << true;
        const auto guasta = [](int id) { return Riga(id).replace("#2024-10-09#", "#2024-13-09#"); };
        QTest::newRow("damaged record in the second half")
            << File(Riga(20, lunga)).replace(Riga(29), guasta(29)) << 40 << false;
        QTest::newRow("damaged record beyond the count")
            << File(Riga(20, lunga)).replace(Riga(39), guasta(39)) << 38 << true;
    }
    void letturaComeDaSolo()
    {
        const auto [file, num, riesce] = Valori<QByteArray, int, bool>("file", "num", "riesce");

        QList<Componente> daSolo, inDue;
        QCOMPARE(LeggiComponenti(file, num, &daSolo, std::numeric_limits<qsizetype>::max()), riesce);
        QCOMPARE(LeggiComponenti(file, num, &inDue, 0), riesce);
        if (riesce) {
            QCOMPARE(inDue.size(), num);
            QVERIFY(inDue == daSolo);
        }
    }
};

QTEST_GUILESS_MAIN(TestTabelleGrandi)
#include "tst_tabellegrandi.moc"
