// The listing and the CSV export: their bytes, their file names, and what the user is told when they cannot be written.
// Dates are written in the user's short date form, each distinct day as the locale writes it.
#include "reports/csv.h"
#include "reports/datebrevi.h"
#include "reports/stampa.h"

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/verifiche.h"
#include "store/localeutente.h"
#include "store/orologio.h"
#include "store/stato.h"

#include <QDir>

namespace {

Componente Comp(const QString &codice, const QString &tipo, const QString &produttore, qint32 quantita,
                const QDate &data, const QString &descrizione = {})
{
    Componente c;
    c.Codice = codice;
    c.NomeTipo = tipo;
    c.NomeProduttore = produttore;
    c.Quantita = quantita;
    c.DataInserimento = QDateTime(data, QTime(0, 0), Qt::UTC);
    c.Descrizione = descrizione;
    return c;
}

// Not in code order: the export keeps table order.
const QList<Componente> kTre = {
    Comp("NE555", "INTEGRATO", "TEXAS INSTRUMENTS INC", 7, QDate(2024, 10, 9), "Timer; più preciso"),
    Comp("ABCDEFGHIJKLMNOPQRST", "RESISTENZA12", "ACMÉ;B", 12345, QDate(2026, 1, 31)),
    Comp("LM317T", "", "", -5, QDate(2025, 3, 4)),
};

// A program folder holding Stampe, Exported and the given components.
struct Cartella {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    explicit Cartella(const QList<Componente> &componenti = kTre)
    {
        for (const char *sotto : {"Stampe", "Exported"})
            QVERIFY(QDir(cartella.percorso()).mkdir(sotto));
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        stato.Componenti = componenti;
        stato.NumComponenti = qint32(componenti.size());
    }
    QStringList in(const QString &sotto = {}) const
    {
        return QDir(cartella.file(sotto)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

} // namespace

class TestElenchi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }
    void cleanupTestCase() { ImpostaOggi(QDate()); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }

    // The short date of each locale, and the name of the day's listing made from it (without slashes).
    void dateBrevi_data()
    {
        Colonne<QLocale, QString, QString>("locale", "atteso", "nome"); // atteso: 5 December 2026; empty: as written
        QTest::newRow("C falls back to Italian") << QLocale::c() << "05/12/2026" << "Stampa_05122026.txt";
        QTest::newRow("us english") << QLocale(QLocale::English, QLocale::UnitedStates) << "12/5/2026"
                                    << "Stampa_1252026.txt";
        QTest::newRow("german keeps the dots") << QLocale(QLocale::German, QLocale::Germany) << "05.12.2026"
                                               << "Stampa_05.12.2026.txt";
        QTest::newRow("chinese") << QLocale(QLocale::Chinese, QLocale::China) << "" << "";
        QTest::newRow("hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary) << "" << "";
        QTest::newRow("arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt) << "" << "";
    }
    void dateBrevi()
    {
        const auto [locale, atteso, nome] = Valori<QLocale, QString, QString>("locale", "atteso", "nome");
        QLocale::setDefault(locale);
        if (!atteso.isEmpty()) {
            QCOMPARE(DataBreve(QDate(2026, 12, 5)), atteso);
            QCOMPARE(LeggiDataBreve(atteso).date(), QDate(2026, 12, 5));
            Cartella c;
            QVERIFY(CreatFileStampa(c.stato, {1}, c.dialoghi));
            QCOMPARE(c.in("Stampe"), QStringList{nome});
            QVERIFY(c.cartella.leggi("Stampe/" + nome).startsWith("Elenco dei 1 componenti estratti il " + atteso.toLatin1()));
        }
        DateBrevi date;
        for (const QDate &g : {QDate(2024, 10, 9), QDate(2004, 1, 1), QDate(1999, 12, 31), QDate(2026, 2, 28),
                               QDate(2024, 10, 9), QDate(1000, 1, 1), QDate(999, 5, 6), QDate(9999, 12, 31),
                               QDate(10000, 1, 2)}) {
            QCOMPARE(date.testo(QDateTime(g, QTime(0, 0), Qt::UTC)), DataBreve(g));
            QCOMPARE(date.testo(QDateTime(g, QTime(13, 45, 7), Qt::UTC)), DataBreve(g)); // no time of day
        }
        QCOMPARE(date.testo(QDateTime()), QString());
        QVERIFY(!LeggiDataBreve("31/02/2026").isValid() && !LeggiDataBreve("abc").isValid());
    }

    void stampa_data()
    {
        Colonne<QList<Componente>, int, QList<qint32>, QByteArray>("componenti", "num", "posizioni", "righe");
        // Code cut to 15, type to 6, manufacturer to 16 (starting at character 28), quantity to 4; one byte for "É".
        QTest::newRow("two rows in the list's order") << kTre << 3 << QList<qint32>{2, 1}
            << QByteArray("ABCDEFGHIJKLMNO   RESIST   ACM\xc9;B             1234   31/01/2026   \r\n"
                          "NE555             INTEGR   TEXAS INSTRUMENT   7      09/10/2024   \r\n");
        // Positions that name no component (0, beyond the table or the count) give no line but count in the heading.
        QTest::newRow("positions naming no component") << kTre << 2 << QList<qint32>{3, 0, 99, 1}
            << QByteArray("NE555             INTEGR   TEXAS INSTRUMENT   7      09/10/2024   \r\n");
        QTest::newRow("same code, each its own quantity")
            << QList<Componente>{Comp("BC547", "T", "A", 10, QDate(2026, 1, 1)), Comp("BC547", "T", "B", 20, QDate(2026, 1, 2))}
            << 2 << QList<qint32>{2, 1}
            << QByteArray("BC547             T        B                  20     02/01/2026   \r\n"
                          "BC547             T        A                  10     01/01/2026   \r\n");
        // A character the code page lacks is one "?", so the line keeps its width.
        QTest::newRow("limits") << QList<Componente>{Comp("ABCDEFGHIJKLMNO", "TIPO", "P", -1234, QDate(2026, 12, 5)),
                                                     Comp("\U0001F600X", "東芝", "", 0, QDate())}
                                << 2 << QList<qint32>{1, 2}
                                << QByteArray("ABCDEFGHIJKLMNO   TIPO     P                  -123   05/12/2026   \r\n"
                                              "?X                ??                          0                   \r\n");
    }
    void stampa()
    {
        const auto [componenti, num, posizioni, righe] =
            Valori<QList<Componente>, int, QList<qint32>, QByteArray>("componenti", "num", "posizioni", "righe");
        Cartella c(componenti);
        c.stato.NumComponenti = num;
        c.cartella.scrivi("Stampe/Stampa_05122026.txt", QByteArray(5000, 'x')); // the day's listing is replaced
        QVERIFY(CreatFileStampa(c.stato, posizioni, c.dialoghi));
        QVERIFY(c.dialoghi.boxes().isEmpty());
        const QByteArray trattini(66, '_');
        QCOMPARE(c.cartella.leggi("Stampe/Stampa_05122026.txt"),
                 "Elenco dei " + QByteArray::number(posizioni.size()) + " componenti estratti il 05/12/2026\r\n"
                     + trattini + "\r\n\r\n"
                     "Codice            Tipo     Produttore         Qt\xe0    Inserito\r\n"
                     "===============   ======   ================   ====   ==========   \r\n\r\n"
                     + righe + trattini + "\r\n"
                     "Lista generata con Ar.Vo. 10.2.0  di Talpa {www.arvo-componenti.it]\r\n");
        QCOMPARE(c.in("Stampe"), QStringList{"Stampa_05122026.txt"});
    }

    void csv_data()
    {
        Colonne<QString, int, QLocale, QByteArray>("separatore", "num", "locale", "righe"); // righe: after the header
        const QLocale italiano(QLocale::Italian, QLocale::Italy);
        QTest::newRow("comma") << "," << 2 << italiano
                               << QByteArray("NE555,TEXAS INSTRUMENTS INC,INTEGRATO,7,09/10/2024,Timer; pi\xf9 preciso\r\n"
                                             "ABCDEFGHIJKLMNOPQRST,ACM\xc9;B,RESISTENZA12,12345,31/01/2026,\r\n");
        // The semicolon of the description becomes a blank; the one in the manufacturer makes an extra column.
        QTest::newRow("semicolon") << ";" << 2 << italiano
                                   << QByteArray("NE555;TEXAS INSTRUMENTS INC;INTEGRATO;7;09/10/2024;Timer  pi\xf9 preciso\r\n"
                                                 "ABCDEFGHIJKLMNOPQRST;ACM\xc9;B;RESISTENZA12;12345;31/01/2026;\r\n");
        QTest::newRow("empty separator") << "" << 2 << italiano
                                         << QByteArray("NE555TEXAS INSTRUMENTS INCINTEGRATO709/10/2024Timer; pi\xf9 preciso\r\n"
                                                       "ABCDEFGHIJKLMNOPQRSTACM\xc9;BRESISTENZA121234531/01/2026\r\n");
        QTest::newRow("US short date, one counted") << "," << 1 << QLocale(QLocale::English, QLocale::UnitedStates)
            << QByteArray("NE555,TEXAS INSTRUMENTS INC,INTEGRATO,7,10/9/2024,Timer; pi\xf9 preciso\r\n");
        QTest::newRow("no components") << "," << 0 << italiano << QByteArray();
    }
    void csv()
    {
        const auto [separatore, num, locale, righe] =
            Valori<QString, int, QLocale, QByteArray>("separatore", "num", "locale", "righe");
        QLocale::setDefault(locale);
        Cartella c;
        c.cartella.scrivi("Exported/CSVlist.csv", QByteArray(10000, 'x')); // replaced whole
        c.stato.SeparatoreCSV = separatore;
        c.stato.NumComponenti = num;
        QVERIFY(EsportaCSV(c.stato, c.dialoghi));
        QVERIFY(c.dialoghi.boxes().isEmpty());
        QCOMPARE(c.cartella.leggi("Exported/CSVlist.csv"),
                 "Codice | Produttore | Tipo | Qt\xe0 | Inserito | Descrizione\r\n" + righe);
        QCOMPARE(c.in("Exported"), QStringList{"CSVlist.csv"});
        QCOMPARE(c.stato.Componenti, kTre);
    }

    // Nothing written: silently for an empty list; told, and nothing left behind, when a listing or export fails.
    void nonScritto_data()
    {
        Colonne<bool, QString, QString, QString, QString>("csv", "daTogliere", "cartellaAlPosto", "testo", "titolo");
        const QString stampa = "Errore nella creazione della lista di stampa\r\nControllare che la cartella Stampe "
                               "esista e che il file non sia aperto in altro programma";
        const QString csv = "Errore nella creazione del file CSV\r\nForse il file è già aperto in altro programma";
        QTest::newRow("empty list") << false << "" << "" << "" << "";
        QTest::newRow("Stampe missing") << false << "Stampe" << "" << stampa << "Stampa non generata";
        QTest::newRow("listing name taken") << false << "" << "Stampe/Stampa_05122026.txt" << stampa << "Stampa non generata";
        QTest::newRow("Exported missing") << true << "Exported" << "" << csv << "Database non generato";
        QTest::newRow("CSV name taken") << true << "" << "Exported/CSVlist.csv" << csv << "Database non generato";
    }
    void nonScritto()
    {
        const auto [csv, daTogliere, cartellaAlPosto] = Valori<bool, QString, QString>("csv", "daTogliere", "cartellaAlPosto");
        const auto [testo, titolo] = Valori<QString, QString>("testo", "titolo"); // empty testo: no box
        Cartella c;
        QVERIFY(daTogliere.isEmpty() || QDir(c.cartella.file(daTogliere)).removeRecursively());
        QVERIFY(cartellaAlPosto.isEmpty() || QDir(c.cartella.percorso()).mkpath(cartellaAlPosto));
        const QStringList prima = c.in() + c.in("Stampe") + c.in("Exported");
        if (!testo.isEmpty())
            c.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(csv ? !EsportaCSV(c.stato, c.dialoghi)
                    : !CreatFileStampa(c.stato, testo.isEmpty() ? QList<qint32>{} : QList<qint32>{1, 2}, c.dialoghi));
        VERIFICA_DIALOGHI(c.dialoghi);
        QCOMPARE(c.in() + c.in("Stampe") + c.in("Exported"), prima);
        QCOMPARE(c.stato.Componenti, kTre);
        if (testo.isEmpty())
            QVERIFY(c.dialoghi.boxes().isEmpty());
        else
            VerificaBox(c.dialoghi, testo, Icona::Critica, Pulsanti::Ok, titolo);
    }
};

QTEST_GUILESS_MAIN(TestElenchi)
#include "tst_elenchi.moc"
