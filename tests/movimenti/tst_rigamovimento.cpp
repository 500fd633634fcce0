// The text of the history: the header and lines of Movimenti.csv byte for
// byte, lines read back, the Dettagli of changed and removed components,
// and the Movimento texts of each kind.
#include "movimenti/rigamovimento.h"
#include "movimenti/righeoperazione.h"
#include "store/aiutiarchivio.h"

#include <QTest>

namespace {

RigaMovimento Riga(qint64 op, const QString &movimento, qint32 id, const QString &codice,
                   std::optional<qint32> prima, std::optional<qint32> dopo, const QString &nota = {},
                   const QString &dettagli = {})
{
    RigaMovimento r;
    r.momento = QDateTime(QDate(2025, 3, 7), QTime(9, 5, 1));
    r.operazione = op;
    r.movimento = movimento;
    r.id = id;
    r.codice = codice;
    r.produttore = QStringLiteral("ACME");
    r.prima = prima;
    r.dopo = dopo;
    r.nota = nota;
    r.dettagli = dettagli;
    return r;
}

Componente Esempio(int i)
{
    Stato s;
    RiempiStatoDiEsempio(s);
    return s.Componenti[i];
}

} // namespace

Q_DECLARE_METATYPE(RigaMovimento)
Q_DECLARE_METATYPE(TipoMovimento)
Q_DECLARE_METATYPE(Componente)

class TestRigaMovimento : public QObject {
    Q_OBJECT

private slots:
    void intestazione()
    {
        QCOMPARE(IntestazioneMovimenti(),
                 QByteArray("\xEF\xBB\xBF\"Data e ora\";\"Operazione\";\"Movimento\";\"ID\";\"Codice\";"
                            "\"Produttore\";\"Prima\";\"Dopo\";\"Differenza\";\"Nota\";\"Dettagli\"\r\n"));
    }

    // Each line exactly as written, and read back the same.
    void righe_data()
    {
        QTest::addColumn<RigaMovimento>("riga");
        QTest::addColumn<QByteArray>("testo");
        QTest::newRow("new") << Riga(1, "Nuovo", 12, "NE555", std::nullopt, 10)
                             << QByteArray("\"2025-03-07 09:05:01\";\"1\";\"Nuovo\";\"12\";\"NE555\";\"ACME\";"
                                           "\"\";\"10\";\"+10\";\"\";\"\"\r\n");
        QTest::newRow("taken, with a note") << Riga(345, "Prelievo pezzi", 7, "BC547", 10, 3, "per la scheda")
            << QByteArray("\"2025-03-07 09:05:01\";\"345\";\"Prelievo pezzi\";\"7\";"
                          "\"BC547\";\"ACME\";\"10\";\"3\";\"-7\";\"per la scheda\";\"\"\r\n");
        QTest::newRow("removed, negative") << Riga(2, "Eliminazione", 3, "X", -4, std::nullopt, "", "Codice: \"X\"")
            << QByteArray("\"2025-03-07 09:05:01\";\"2\";\"Eliminazione\";\"3\";\"X\";"
                          "\"ACME\";\"-4\";\"\";\"+4\";\"\";\"Codice: \"\"X\"\"\"\r\n");
        QTest::newRow("unchanged quantity") << Riga(9, "Modifica", 1, "A", 5, 5)
                                            << QByteArray("\"2025-03-07 09:05:01\";\"9\";\"Modifica\";\"1\";\"A\";"
                                                          "\"ACME\";\"5\";\"5\";\"0\";\"\";\"\"\r\n");
        QTest::newRow("semicolons, quotes, line ends, accents")
            << Riga(10, "Importazione a;b.csv", 4, "R;1", 0, 2147483647, "due\r\nrighe \"x\"\n", "è")
            << QByteArray("\"2025-03-07 09:05:01\";\"10\";\"Importazione a;b.csv\";\"4\";\"R;1\";\"ACME\";\"0\";"
                          "\"2147483647\";\"+2147483647\";\"due\xE2\x90\x8D\xE2\x90\x8Arighe \"\"x\"\"\xE2\x90\x8A\";"
                          "\"\xC3\xA8\"\r\n");
        QTest::newRow("widest difference") << Riga(11, "Modifica", 4, "R", -2147483647 - 1, 2147483647)
                                           << QByteArray("\"2025-03-07 09:05:01\";\"11\";\"Modifica\";\"4\";\"R\";"
                                                         "\"ACME\";\"-2147483648\";\"2147483647\";\"+4294967295\";"
                                                         "\"\";\"\"\r\n");
    }
    void righe()
    {
        QFETCH(RigaMovimento, riga);
        QFETCH(QByteArray, testo);
        QCOMPARE(TestoRigaMovimento(riga), testo);
        const auto letta = LeggiRigaMovimento(QByteArrayView(testo).chopped(2));
        QVERIFY(letta);
        QCOMPARE(*letta, riga);
    }

    // What is not a whole line of the history is not read as one.
    void righeIlleggibili_data()
    {
        QTest::addColumn<QByteArray>("testo");
        const QByteArray buona = TestoRigaMovimento(Riga(1, "Nuovo", 12, "NE555", std::nullopt, 10)).chopped(2);
        QTest::newRow("header") << IntestazioneMovimenti().mid(3).chopped(2);
        QTest::newRow("empty") << QByteArray();
        for (int taglio : {1, 10, 22, 30, 50, int(buona.size()) - 1})
            QTest::addRow("cut after %d bytes", taglio) << buona.left(taglio);
        QTest::newRow("a field too many") << buona + ";\"\"";
        QTest::newRow("operation 0") << QByteArray(buona).replace("\"1\"", "\"0\"");
        QTest::newRow("operation not a number") << QByteArray(buona).replace("\"1\"", "\"uno\"");
        QTest::newRow("ID beyond 32 bits") << QByteArray(buona).replace("\"12\"", "\"2147483648\"");
        QTest::newRow("quantity not a number") << QByteArray(buona).replace("\"10\"", "\"dieci\"");
        QTest::newRow("no such day") << QByteArray(buona).replace("2025-03-07", "2025-02-30");
        QTest::newRow("no time") << QByteArray(buona).replace(" 09:05:01", "");
        QTest::newRow("text after a quote") << QByteArray(buona).replace("\"NE555\"", "\"NE\"555");
    }
    void righeIlleggibili()
    {
        QFETCH(QByteArray, testo);
        QVERIFY(!LeggiRigaMovimento(testo));
    }

    // A spreadsheet that saves the file again may drop the quotes of plain
    // fields: the line still reads.
    void campiSenzaVirgolette()
    {
        const auto r = LeggiRigaMovimento("2025-03-07 09:05:01;4;Modifica;12;NE555;;10;;-10;;");
        QVERIFY(r);
        QCOMPARE(r->operazione, 4);
        QCOMPARE(r->prima, 10);
        QVERIFY(!r->dopo);
        QVERIFY(r->rimozione());
    }

    void tipi_data()
    {
        QTest::addColumn<QString>("movimento");
        QTest::addColumn<TipoMovimento>("tipo");
        QTest::addColumn<qint64>("annullata");
        QTest::newRow("Nuovo") << TestoMovimento(TipoMovimento::Nuovo) << TipoMovimento::Nuovo << qint64(0);
        QTest::newRow("Modifica") << "Modifica" << TipoMovimento::Modifica << qint64(0);
        QTest::newRow("Eliminazione") << "Eliminazione" << TipoMovimento::Eliminazione << qint64(0);
        QTest::newRow("Aggiunta") << "Aggiunta pezzi" << TipoMovimento::AggiuntaPezzi << qint64(0);
        QTest::newRow("Prelievo") << "Prelievo pezzi" << TipoMovimento::PrelievoPezzi << qint64(0);
        QTest::newRow("Ricevimento") << "Ricevimento" << TipoMovimento::Ricevimento << qint64(0);
        QTest::newRow("Ripristino") << "Ripristino" << TipoMovimento::Ripristino << qint64(0);
        QTest::newRow("import") << MovimentoImportazione("/home/u/Dati/nuovi.csv") << TipoMovimento::Importazione
                                << qint64(0);
        QTest::newRow("BOM") << MovimentoDistinta("/tmp/scheda.csv", 3) << TipoMovimento::Distinta << qint64(0);
        QTest::newRow("undo") << MovimentoAnnullamento(1234567890123) << TipoMovimento::Annullamento
                              << qint64(1234567890123);
        QTest::newRow("undo of nothing") << "Annullamento dell'operazione x" << TipoMovimento::Altro << qint64(0);
        QTest::newRow("lower case") << "nuovo" << TipoMovimento::Altro << qint64(0);
    }
    void tipi()
    {
        QFETCH(QString, movimento);
        QFETCH(TipoMovimento, tipo);
        QFETCH(qint64, annullata);
        qint64 n = 0;
        QCOMPARE(TipoDiMovimento(movimento, &n), tipo);
        QCOMPARE(n, annullata);
    }

    void testiMovimento()
    {
        QCOMPARE(MovimentoImportazione("/home/u/Dati/nuovi.csv"), QStringLiteral("Importazione nuovi.csv"));
        QCOMPARE(MovimentoDistinta("/tmp/scheda.csv", 3), QStringLiteral("Distinta scheda.csv × 3 schede"));
        QCOMPARE(MovimentoDistinta("scheda.csv", 1), QStringLiteral("Distinta scheda.csv × 1 scheda"));
        QCOMPARE(MovimentoAnnullamento(42), QStringLiteral("Annullamento dell'operazione 42"));
    }

    // A record in Dettagli comes back whole: every field, dates with and
    // without a time, texts with quotes, line ends and separators.
    void recordInteri_data()
    {
        QTest::addColumn<Componente>("c");
        QTest::newRow("example 1") << Esempio(0);
        QTest::newRow("example 2, a time of day") << Esempio(1);
        Componente strano = Esempio(1);
        strano.Descrizione = "a\"b\" → c; d: \"e\"";
        strano.Note = "riga\nsotto\rritorno";
        strano.Extra3 = "; Note: \"x\"";
        strano.DataInserimento = QDateTime();
        QTest::newRow("awkward texts, no date") << strano;
        Componente anno = Esempio(0);
        anno.DataInserimento = DataUtc(12345, 1, 2);
        anno.CodiceNumerico = -2147483647 - 1;
        QTest::newRow("year beyond 9999") << anno;
    }
    void recordInteri()
    {
        QFETCH(Componente, c);
        const QString testo = TestoRecord(c);
        const auto letto = LeggiRecord(testo, c.ID);
        QVERIFY(letto);
        QCOMPARE(*letto, c);
        // And through a whole line of the file.
        RigaMovimento r = RigaRimozione(c, "Eliminazione");
        r.momento = QDateTime(QDate(2025, 1, 1), QTime(0, 0));
        r.operazione = 1;
        const auto riga = LeggiRigaMovimento(QByteArrayView(TestoRigaMovimento(r)).chopped(2));
        QVERIFY(riga);
        QCOMPARE(LeggiRecord(riga->dettagli, c.ID), c);
    }

    void testoRecord()
    {
        QCOMPARE(TestoRecord(Esempio(1)),
                 QStringLiteral("Codice: \"BC547B\"; Codice numerico: \"547\"; Quantità: \"-25\"; "
                                "Tipo: \"TRANSISTOR, BJT\"; ID tipo: \"4\"; Produttore: \"Società Più\"; "
                                "ID produttore: \"6\"; ID package: \"0\"; Pins: \"-3\"; "
                                "Descrizione: \"NPN, 45 V; è così\"; Note: \"  spazi  \"; "
                                "Datasheet: \"bc547.pdf\"; Immagine: \"\"; "
                                "Data inserimento: \"1999-01-31 13:05:59\"; Campo personale 1: \"uno\"; "
                                "Campo personale 2: \"\"; Campo personale 3: \"\"; Campo personale 4: \"\"; "
                                "Campo personale 5: \"\"; Campo personale 6: \"sei, ultimo\""));
    }

    void recordDanneggiati_data()
    {
        QTest::addColumn<QString>("testo");
        const QString intero = TestoRecord(Esempio(0));
        QTest::newRow("a field missing") << QString(intero).replace("Pins: \"8\"; ", "");
        QTest::newRow("unknown field") << QString(intero).replace("Pins:", "Piedini:");
        QTest::newRow("pins not a number") << QString(intero).replace("Pins: \"8\"", "Pins: \"otto\"");
        QTest::newRow("no such date") << QString(intero).replace("2024-10-09", "2024-13-09");
        QTest::newRow("a change instead") << QString(intero).replace("Pins: \"8\"", "Pins: \"8\" → \"9\"");
        QTest::newRow("quote not closed") << intero.chopped(1);
        QTest::newRow("cut") << intero.left(40);
        QTest::newRow("empty") << QString();
    }
    void recordDanneggiati()
    {
        QFETCH(QString, testo);
        QVERIFY(!LeggiRecord(testo, 1));
    }

    // The fields that changed between two records, their text and back.
    void cambiamenti_data()
    {
        QTest::addColumn<Componente>("prima");
        QTest::addColumn<Componente>("dopo");
        QTest::addColumn<QString>("testo");
        const Componente a = Esempio(0);
        Componente b = a;
        b.Quantita = 99;
        QTest::newRow("quantity only") << a << b << QString();
        b = a;
        b.Descrizione = "Timer \"555\"";
        b.Pins = 14;
        QTest::newRow("two fields") << a << b
            << QStringLiteral("Pins: \"8\" → \"14\"; "
                              "Descrizione: \"Timer di precisione\" → \"Timer \"\"555\"\"\"");
        b = a;
        b.NomeTipo = "TRANSISTOR, BJT";
        b.IDTipo = 4;
        b.DataInserimento = DataUtc(2024, 10, 9, 8, 0, 0);
        b.Extra6 = "x";
        QTest::newRow("type, date, custom field")
            << a << b
            << QStringLiteral("Tipo: \"INTEGRATO\" → \"TRANSISTOR, BJT\"; ID tipo: \"3\" → \"4\"; "
                              "Data inserimento: \"2024-10-09\" → \"2024-10-09 08:00:00\"; "
                              "Campo personale 6: \"\" → \"x\"");
    }
    void cambiamenti()
    {
        QFETCH(Componente, prima);
        QFETCH(Componente, dopo);
        QFETCH(QString, testo);
        const QList<CampoCambiato> campi = CampiCambiati(prima, dopo);
        QCOMPARE(TestoCambiamenti(campi), testo);
        QCOMPARE(LeggiCambiamenti(testo), campi);
        // Setting the old values on the new record gives the old one, but
        // for the quantity.
        Componente indietro = dopo;
        for (const CampoCambiato &c : campi) {
            QCOMPARE(ValoreCampo(dopo, c.campo), c.dopo);
            QVERIFY(ImpostaCampo(indietro, c.campo, c.prima));
        }
        indietro.Quantita = prima.Quantita;
        QCOMPARE(indietro, prima);
    }

    void cambiamentiDanneggiati_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::newRow("no arrow") << "Pins: \"8\"";
        QTest::newRow("unknown field") << "Piedini: \"8\" → \"9\"";
        QTest::newRow("no separator") << "Pins: \"8\" → \"9\" Note: \"\" → \"x\"";
        QTest::newRow("quote not closed") << "Pins: \"8\" → \"9";
    }
    void cambiamentiDanneggiati()
    {
        QFETCH(QString, testo);
        QVERIFY(!LeggiCambiamenti(testo));
    }

    void campoNonValido()
    {
        Componente c = Esempio(0);
        const Componente prima = c;
        QVERIFY(!ImpostaCampo(c, "Pins", "molti"));
        QVERIFY(!ImpostaCampo(c, "Colore", "rosso"));
        QVERIFY(!ImpostaCampo(c, "Data inserimento", "ieri"));
        QCOMPARE(c, prima);
        QCOMPARE(ValoreCampo(c, "Colore"), QString());
    }
};

QTEST_GUILESS_MAIN(TestRigaMovimento)
#include "tst_rigamovimento.moc"
