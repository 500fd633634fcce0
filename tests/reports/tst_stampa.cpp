#include "reports/stampa.h"

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "store/orologio.h"
#include "store/stato.h"

#include <QDir>
#include <QTest>

namespace {

Componente Comp(const QString &codice, const QString &tipo, const QString &produttore,
                qint32 quantita, const QDate &data)
{
    Componente c;
    c.Codice = codice;
    c.NomeTipo = tipo;
    c.NomeProduttore = produttore;
    c.Quantita = quantita;
    c.DataInserimento = QDateTime(data, QTime(0, 0), Qt::UTC);
    return c;
}

const QByteArray Trattini(66, '_');
const QByteArray Titoli = "Codice            Tipo     Produttore         Qt\xe0    Inserito";
const QByteArray Regola = "===============   ======   ================   ====   ==========   ";
const QByteArray Piede = "Lista generata con Ar.Vo. 10.2.0  di Talpa {www.arvo-componenti.it]";

QByteArray Righe(const QList<QByteArray> &righe)
{
    QByteArray out;
    for (const QByteArray &r : righe)
        out += r + "\r\n";
    return out;
}

} // namespace

class TestStampa : public QObject {
    Q_OBJECT

    CartellaTest *m_cartella = nullptr;
    Stato m_stato;

    QString fileDiOggi() const { return QStringLiteral("Stampe/Stampa_05122026.txt"); }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        ImpostaOggi(QDate(2026, 12, 5));
        m_cartella = new CartellaTest;
        QVERIFY(m_cartella->valida());
        QVERIFY(QDir(m_cartella->percorso()).mkdir(QStringLiteral("Stampe")));
        m_stato = Stato();
        m_stato.percorsi = Percorsi::DaCartella(m_cartella->percorso());
        m_stato.Componenti = {
            Comp(QStringLiteral("NE555"), QStringLiteral("INTEGRATO"),
                 QStringLiteral("TEXAS INSTRUMENTS INC"), 7, QDate(2024, 10, 9)),
            Comp(QStringLiteral("ABCDEFGHIJKLMNOPQRST"), QStringLiteral("RESISTENZA12"),
                 QString::fromUtf8("ACMÉ"), 12345, QDate(2026, 1, 31)),
            Comp(QStringLiteral("LM317T"), QString(), QString(), -5, QDate(2025, 3, 4)),
        };
        m_stato.NumComponenti = 3;
    }
    void cleanup()
    {
        delete m_cartella;
        m_cartella = nullptr;
        ImpostaOggi(QDate());
    }

    void dueRigheByteAByte()
    {
        // A listing of the same day already there is replaced whole.
        m_cartella->scrivi(fileDiOggi(), QByteArray(5000, 'x'));
        DialoghiFinti d;
        QVERIFY(CreatFileStampa(m_stato, {2, 1}, d));
        VERIFICA_DIALOGHI(d);
        QVERIFY(d.boxes().isEmpty());

        const QByteArray atteso = Righe({
            "Elenco dei 2 componenti estratti il 05/12/2026",
            Trattini,
            "",
            Titoli,
            Regola,
            "",
            // code cut to 15, type to 6 (manufacturer starts at character
            // 28), quantity to 4 digits; one byte for the accented letter
            "ABCDEFGHIJKLMNO   RESIST   ACM\xc9               1234   31/01/2026   ",
            "NE555             INTEGR   TEXAS INSTRUMENT   7      09/10/2024   ",
            Trattini,
            Piede,
        });
        const QByteArray scritto = m_cartella->leggi(fileDiOggi());
        QCOMPARE(scritto, atteso);
        const QList<QByteArray> righe = scritto.split('\n');
        QCOMPARE(righe.size(), 11); // 10 lines and nothing after the last CR LF
        for (int i : {1, 4, 6, 7, 8})
            QCOMPARE(righe[i].size(), 67); // 66 characters and the CR
        QCOMPARE(righe[6].indexOf("ACM"), 27);
    }

    void valoriAlLimite()
    {
        m_stato.Componenti = {
            Comp(QStringLiteral("ABCDEFGHIJKLMNO"), QStringLiteral("TIPO"), QStringLiteral("P"),
                 -1234, QDate(2026, 12, 5)),
            // Characters the code page lacks are one "?" each, so the line
            // keeps its width.
            Comp(QString::fromUtf8("\U0001F600X"), QString::fromUtf8("東芝"), QString(), 0, QDate()),
        };
        m_stato.NumComponenti = 2;
        DialoghiFinti d;
        QVERIFY(CreatFileStampa(m_stato, {1, 2}, d));
        const QList<QByteArray> righe = m_cartella->leggi(fileDiOggi()).split('\n');
        QCOMPARE(righe[6], QByteArray("ABCDEFGHIJKLMNO   TIPO     P                  -123   05/12/2026   \r"));
        QCOMPARE(righe[7], QByteArray("?X                ??       "
                                      "                   0" + QByteArray(6 + 13, ' ') + "\r"));
    }

    void righeDellaLista()
    {
        // Only the rows given, in their order; positions that name no
        // component give no line but count in the heading.
        DialoghiFinti d;
        QVERIFY(CreatFileStampa(m_stato, {3, 0, 99, 1}, d));
        const QList<QByteArray> righe = m_cartella->leggi(fileDiOggi()).split('\n');
        QCOMPARE(righe[0], QByteArray("Elenco dei 4 componenti estratti il 05/12/2026\r"));
        QCOMPARE(righe.size(), 11);
        QVERIFY(righe[6].startsWith("LM317T            "));
        QVERIFY(righe[6].contains("   -5     04/03/2025   \r"));
        QVERIFY(righe[7].startsWith("NE555 "));
        QCOMPARE(righe[8], Trattini + "\r");

        // A position past the count is no component, even where the
        // storage still holds a record.
        m_stato.NumComponenti = 2;
        QVERIFY(CreatFileStampa(m_stato, {3}, d));
        QCOMPARE(m_cartella->leggi(fileDiOggi()).count("\r\n"), 8);
        VERIFICA_DIALOGHI(d);
    }

    void stessoCodiceQuantitaPropria()
    {
        // Two components with one code: each row prints its own record.
        m_stato.Componenti = {
            Comp(QStringLiteral("BC547"), QStringLiteral("T"), QStringLiteral("A"), 10, QDate(2026, 1, 1)),
            Comp(QStringLiteral("BC547"), QStringLiteral("T"), QStringLiteral("B"), 20, QDate(2026, 1, 2)),
        };
        m_stato.NumComponenti = 2;
        DialoghiFinti d;
        QVERIFY(CreatFileStampa(m_stato, {2, 1}, d));
        const QList<QByteArray> righe = m_cartella->leggi(fileDiOggi()).split('\n');
        QCOMPARE(righe[6], QByteArray("BC547             T        B                  20     02/01/2026   \r"));
        QCOMPARE(righe[7], QByteArray("BC547             T        A                  10     01/01/2026   \r"));
    }

    void listaVuota()
    {
        DialoghiFinti d;
        QVERIFY(!CreatFileStampa(m_stato, {}, d));
        QVERIFY(QDir(m_cartella->file(QStringLiteral("Stampe"))).isEmpty());
        VERIFICA_DIALOGHI(d);
    }

    void nomeFile_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QByteArray>("intestazione");
        QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy)
                                 << "Stampa_05122026.txt"
                                 << QByteArray("Elenco dei 1 componenti estratti il 05/12/2026");
        QTest::newRow("US English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                    << "Stampa_1252026.txt"
                                    << QByteArray("Elenco dei 1 componenti estratti il 12/5/2026");
        QTest::newRow("German keeps the dots") << QLocale(QLocale::German, QLocale::Germany)
                                               << "Stampa_05.12.2026.txt"
                                               << QByteArray("Elenco dei 1 componenti estratti il 05.12.2026");
    }
    void nomeFile()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, nome);
        QFETCH(QByteArray, intestazione);
        QLocale::setDefault(locale);
        DialoghiFinti d;
        QVERIFY(CreatFileStampa(m_stato, {1}, d));
        QCOMPARE(QDir(m_cartella->file(QStringLiteral("Stampe"))).entryList(QDir::Files),
                 QStringList{nome});
        QVERIFY(m_cartella->leggi(QStringLiteral("Stampe/") + nome).startsWith(intestazione + "\r\n"));
    }

    void nomeFileSenzaCaratteriVietati()
    {
        // Whatever the date form holds, the name is a valid file name.
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(NomeFileStampa(QDate(2026, 1, 2)), QStringLiteral("Stampa_02012026.txt"));
        const QString nome = NomeFileStampa(QDate(2026, 1, 2));
        for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
            QVERIFY(!nome.contains(c));
    }

    void cartellaStampeMancante()
    {
        QVERIFY(QDir(m_cartella->file(QStringLiteral("Stampe"))).removeRecursively());
        const QStringList prima = QDir(m_cartella->percorso()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!CreatFileStampa(m_stato, {1, 2}, d));
        VERIFICA_DIALOGHI(d);
        QCOMPARE(d.boxes().size(), 1);
        QCOMPARE(d.ultimoBox().testo,
                 QStringLiteral("Errore nella creazione della lista di stampa\r\n"
                                "Controllare che la cartella Stampe esista e che il file "
                                "non sia aperto in altro programma"));
        QCOMPARE(d.ultimoBox().icona, Icona::Critica);
        QCOMPARE(d.ultimoBox().pulsanti, Pulsanti::Ok);
        QCOMPARE(d.ultimoBox().titolo, QStringLiteral("Stampa non generata"));
        // Nothing was created anywhere.
        QCOMPARE(QDir(m_cartella->percorso()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), prima);
    }

    void fileNonScrivibile()
    {
        // The listing's name is taken by a folder: told, nothing left over.
        QVERIFY(QDir(m_cartella->percorso()).mkpath(fileDiOggi()));
        DialoghiFinti d;
        d.setNextAnswer(Risposta::Ok);
        QVERIFY(!CreatFileStampa(m_stato, {1}, d));
        VERIFICA_DIALOGHI(d);
        QCOMPARE(d.ultimoBox().titolo, QStringLiteral("Stampa non generata"));
        QCOMPARE(QDir(m_cartella->file(QStringLiteral("Stampe"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("Stampa_05122026.txt")});
    }
};

QTEST_GUILESS_MAIN(TestStampa)
#include "tst_stampa.moc"
