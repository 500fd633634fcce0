#include "reports/csv.h"

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "store/stato.h"

#include <QDir>
#include <QTest>

namespace {

Componente Comp(const QString &codice, const QString &produttore, const QString &tipo,
                qint32 quantita, const QDate &data, const QString &descrizione)
{
    Componente c;
    c.Codice = codice;
    c.NomeProduttore = produttore;
    c.NomeTipo = tipo;
    c.Quantita = quantita;
    c.DataInserimento = QDateTime(data, QTime(0, 0), Qt::UTC);
    c.Descrizione = descrizione;
    return c;
}

const QByteArray Intestazione = "Codice | Produttore | Tipo | Qt\xe0 | Inserito | Descrizione\r\n";
const QByteArray RigheVirgola = "NE555,TEXAS,INTEGRATO,10,09/10/2024,Timer; pi\xf9 preciso\r\n"
                                "BC547,A;B,TRANSISTOR,-3,31/01/2026,NPN 45V - 100mA\r\n";

} // namespace

class TestCsv : public QObject {
    Q_OBJECT

    CartellaTest *m_cartella = nullptr;
    Stato m_stato;

    QByteArray esportato() const { return m_cartella->leggi(QStringLiteral("Exported/CSVlist.csv")); }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        m_cartella = new CartellaTest;
        QVERIFY(m_cartella->valida());
        QVERIFY(QDir(m_cartella->percorso()).mkdir(QStringLiteral("Exported")));
        m_stato = Stato();
        m_stato.percorsi = Percorsi::DaCartella(m_cartella->percorso());
        // Table order is not code order: the export keeps table order.
        m_stato.Componenti = {
            Comp(QStringLiteral("NE555"), QStringLiteral("TEXAS"), QStringLiteral("INTEGRATO"), 10,
                 QDate(2024, 10, 9), QString::fromUtf8("Timer; più preciso")),
            Comp(QStringLiteral("BC547"), QStringLiteral("A;B"), QStringLiteral("TRANSISTOR"), -3,
                 QDate(2026, 1, 31), QStringLiteral("NPN 45V - 100mA")),
        };
        m_stato.NumComponenti = 2;
    }
    void cleanup()
    {
        delete m_cartella;
        m_cartella = nullptr;
    }

    void byteAByte_data()
    {
        QTest::addColumn<QString>("separatore");
        QTest::addColumn<QByteArray>("righe");
        QTest::newRow("comma") << "," << RigheVirgola;
        // The semicolon of the description becomes a blank (two blanks
        // now); the one in the manufacturer makes an extra column.
        QTest::newRow("semicolon") << ";"
                                   << QByteArray("NE555;TEXAS;INTEGRATO;10;09/10/2024;Timer  pi\xf9 preciso\r\n"
                                                 "BC547;A;B;TRANSISTOR;-3;31/01/2026;NPN 45V - 100mA\r\n");
        QTest::newRow("empty separator") << ""
                                         << QByteArray("NE555TEXASINTEGRATO1009/10/2024Timer; pi\xf9 preciso\r\n"
                                                       "BC547A;BTRANSISTOR-331/01/2026NPN 45V - 100mA\r\n");
    }
    void byteAByte()
    {
        QFETCH(QString, separatore);
        QFETCH(QByteArray, righe);
        m_stato.SeparatoreCSV = separatore;
        const Stato prima = m_stato;
        DialoghiFinti d;
        QVERIFY(EsportaCSV(m_stato, d));
        VERIFICA_DIALOGHI(d);
        QVERIFY(d.boxes().isEmpty());
        QCOMPARE(esportato(), Intestazione + righe);
        QCOMPARE(m_stato.Componenti, prima.Componenti);
        QCOMPARE(m_stato.Componenti[0].Descrizione, QString::fromUtf8("Timer; più preciso"));
    }

    void soloIlConteggio()
    {
        // No components: the header alone. Storage past the count is not
        // exported.
        DialoghiFinti d;
        m_stato.NumComponenti = 0;
        QVERIFY(EsportaCSV(m_stato, d));
        QCOMPARE(esportato(), Intestazione);
        m_stato.NumComponenti = 1;
        QVERIFY(EsportaCSV(m_stato, d));
        QCOMPARE(esportato().count("\r\n"), 2);
        VERIFICA_DIALOGHI(d);
    }

    void dataNelFormatoBreve()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        DialoghiFinti d;
        QVERIFY(EsportaCSV(m_stato, d));
        QVERIFY(esportato().contains(",10,10/9/2024,"));
    }

    void sostituisceLaPrecedente()
    {
        m_cartella->scrivi(QStringLiteral("Exported/CSVlist.csv"), QByteArray(10000, 'x'));
        DialoghiFinti d;
        QVERIFY(EsportaCSV(m_stato, d));
        QCOMPARE(esportato(), Intestazione + RigheVirgola);
        QCOMPARE(QDir(m_cartella->file(QStringLiteral("Exported"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("CSVlist.csv")});
    }

    void fallimento_data()
    {
        QTest::addColumn<bool>("cartellaMancante");
        QTest::newRow("file name taken by a folder") << false;
        QTest::newRow("Exported folder missing") << true;
    }
    void fallimento()
    {
        QFETCH(bool, cartellaMancante);
        if (cartellaMancante)
            QVERIFY(QDir(m_cartella->file(QStringLiteral("Exported"))).removeRecursively());
        else
            QVERIFY(QDir(m_cartella->percorso()).mkpath(QStringLiteral("Exported/CSVlist.csv")));
        const Stato prima = m_stato;
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!EsportaCSV(m_stato, d));
        VERIFICA_DIALOGHI(d);
        QCOMPARE(d.boxes().size(), 1);
        QCOMPARE(d.ultimoBox().testo, QString::fromUtf8("Errore nella creazione del file CSV\r\n"
                                                        "Forse il file è già aperto in altro programma"));
        QCOMPARE(d.ultimoBox().icona, Icona::Critica);
        QCOMPARE(d.ultimoBox().pulsanti, Pulsanti::Ok);
        QCOMPARE(d.ultimoBox().titolo, QStringLiteral("Database non generato"));
        QCOMPARE(m_stato.Componenti, prima.Componenti);
        QCOMPARE(m_stato.NumComponenti, prima.NumComponenti);
        // No stray temporary file beside it.
        const QStringList resto = QDir(m_cartella->file(QStringLiteral("Exported"))).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(resto.isEmpty(), qPrintable(resto.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
