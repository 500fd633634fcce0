// The text of the history, written and read back.
#include "common/storicoprova.h"
#include "common/verifiche.h"

#include <QTest>

namespace {

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
        Colonne<RigaMovimento, QByteArray>("riga", "testo");
        QTest::newRow("new") << RigaProva(1, "Nuovo", 12, "NE555", std::nullopt, 10)
                             << QByteArray("\"2025-03-07 09:05:01\";\"1\";\"Nuovo\";\"12\";\"NE555\";\"ACME\";"
                                           "\"\";\"10\";\"+10\";\"\";\"\"\r\n");
        QTest::newRow("taken, with a note") << RigaProva(345, "Prelievo pezzi", 7, "BC547", 10, 3, "per la scheda")
            << QByteArray("\"2025-03-07 09:05:01\";\"345\";\"Prelievo pezzi\";\"7\";"
                          "\"BC547\";\"ACME\";\"10\";\"3\";\"-7\";\"per la scheda\";\"\"\r\n");
        QTest::newRow("removed, negative")
            << RigaProva(2, "Eliminazione", 3, "X", -4, std::nullopt, "", "Codice: \"X\"")
            << QByteArray("\"2025-03-07 09:05:01\";\"2\";\"Eliminazione\";\"3\";\"X\";"
                          "\"ACME\";\"-4\";\"\";\"+4\";\"\";\"Codice: \"\"X\"\"\"\r\n");
        QTest::newRow("unchanged quantity") << RigaProva(9, "Modifica", 1, "A", 5, 5)
                                            << QByteArray("\"2025-03-07 09:05:01\";\"9\";\"Modifica\";\"1\";\"A\";"
                                                          "\"ACME\";\"5\";\"5\";\"0\";\"\";\"\"\r\n");
        QTest::newRow("semicolons, quotes, line ends, accents")
            << RigaProva(10, "Importazione a;b.csv", 4, "R;1", 0, 2147483647, "due\r\nrighe \"x\"\n", "è")
            << QByteArray("\"2025-03-07 09:05:01\";\"10\";\"Importazione a;b.csv\";\"4\";\"R;1\";\"ACME\";\"0\";"
                          "\"2147483647\";\"+2147483647\";\"due\xE2\x90\x8D\xE2\x90\x8Arighe \"\"x\"\"\xE2\x90\x8A\";"
                          "\"\xC3\xA8\"\r\n");
        QTest::newRow("widest difference") << RigaProva(11, "Modifica", 4, "R", -2147483647 - 1, 2147483647)
                                           << QByteArray("\"2025-03-07 09:05:01\";\"11\";\"Modifica\";\"4\";\"R\";"
                                                         "\"ACME\";\"-2147483648\";\"2147483647\";\"+4294967295\";"
                                                         "\"\";\"\"\r\n");
    }
    void righe()
    {
        const auto [riga, testo] = Valori<RigaMovimento, QByteArray>("riga", "testo");
        QCOMPARE(TestoRigaMovimento(riga), testo);
        const auto letta = LeggiRigaMovimento(QByteArrayView(testo).chopped(2));
        QVERIFY(letta);
        QCOMPARE(*letta, riga);
    }

    // What is not a whole line of the history, a whole record or a list of
    // changes is not read as one.
    void illeggibili_data()
    {
        Colonne<char, QByteArray>("cosa", "testo"); // 'l' a line, 'r' a record, 'c' changes
        const QByteArray buona = TestoRigaMovimento(RigaProva(1, "Nuovo", 12, "NE555", std::nullopt, 10)).chopped(2);
        QTest::newRow("line: header") << 'l' << IntestazioneMovimenti().mid(3).chopped(2);
        QTest::newRow("line: empty") << 'l' << QByteArray();
        for (int taglio : {1, 10, 22, 30, 50, int(buona.size()) - 1})
            QTest::addRow("line cut after %d bytes", taglio) << 'l' << buona.left(taglio);
        QTest::newRow("line: a field too many") << 'l' << buona + ";\"\"";
        QTest::newRow("line: operation 0") << 'l' << QByteArray(buona).replace("\"1\"", "\"0\"");
        QTest::newRow("line: operation not a number") << 'l' << QByteArray(buona).replace("\"1\"", "\"uno\"");
        QTest::newRow("line: ID beyond 32 bits") << 'l' << QByteArray(buona).replace("\"12\"", "\"2147483648\"");
        QTest::newRow("line: quantity not a number") << 'l' << QByteArray(buona).replace("\"10\"", "\"dieci\"");
        QTest::newRow("line: no such day") << 'l' << QByteArray(buona).replace("2025-03-07", "2025-02-30");
        QTest::newRow("line: no time") << 'l' << QByteArray(buona).replace(" 09:05:01", "");
        QTest::newRow("line: text after a quote") << 'l' << QByteArray(buona).replace("\"NE555\"", "\"NE\"555");
        const QByteArray intero = TestoRecord(Esempio(0)).toUtf8();
        QTest::newRow("record: a field missing") << 'r' << QByteArray(intero).replace("Pins: \"8\"; ", "");
        QTest::newRow("record: unknown field") << 'r' << QByteArray(intero).replace("Pins:", "Piedini:");
        QTest::newRow("record: pins not a number")
            << 'r' << QByteArray(intero).replace("Pins: \"8\"", "Pins: \"otto\"");
        QTest::newRow("record: no such date") << 'r' << QByteArray(intero).replace("2024-10-09", "2024-13-09");
        QTest::newRow("record: a change instead")
            << 'r' << QByteArray(intero).replace("Pins: \"8\"", "Pins: \"8\" → \"9\"");
        QTest::newRow("record: quote not closed") << 'r' << intero.chopped(1);
        QTest::newRow("record: cut") << 'r' << intero.left(40);
        QTest::newRow("record: empty") << 'r' << QByteArray();
        QTest::newRow("changes: no arrow") << 'c' << QByteArray("Pins: \"8\"");
        QTest::newRow("changes: unknown field") << 'c' << QByteArray("Piedini: \"8\" → \"9\"");
        QTest::newRow("changes: no separator") << 'c' << QByteArray("Pins: \"8\" → \"9\" Note: \"\" → \"x\"");
        QTest::newRow("changes: quote not closed") << 'c' << QByteArray("Pins: \"8\" → \"9");
    }
    void illeggibili()
    {
        const auto [cosa, testo] = Valori<char, QByteArray>("cosa", "testo");
        const QString t = QString::fromUtf8(testo);
        QVERIFY(cosa == 'l' ? !LeggiRigaMovimento(testo) : cosa == 'r' ? !LeggiRecord(t, 1) : !LeggiCambiamenti(t));
    }

    // A spreadsheet that saves the file again may drop the quotes of plain
    // fields: the line still reads.
    void campiSenzaVirgolette()
    {
        const auto letta = LeggiRigaMovimento("2025-03-07 09:05:01;4;Eliminazione;12;NE555;ACME;10;;-10;;");
        QCOMPARE(letta.value_or(RigaMovimento()), RigaProva(4, "Eliminazione", 12, "NE555", 10, std::nullopt));
    }

    void tipi_data()
    {
        Colonne<QString, TipoMovimento, qint64>("movimento", "tipo", "annullata");
        for (TipoMovimento t : {TipoMovimento::Nuovo, TipoMovimento::Modifica, TipoMovimento::Eliminazione,
                                TipoMovimento::AggiuntaPezzi, TipoMovimento::PrelievoPezzi, TipoMovimento::Ricevimento,
                                TipoMovimento::Ripristino})
            QTest::newRow(qPrintable(TestoMovimento(t))) << TestoMovimento(t) << t << qint64(0);
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
        const auto [movimento, tipo, annullata] =
            Valori<QString, TipoMovimento, qint64>("movimento", "tipo", "annullata");
        qint64 n = 0;
        QCOMPARE(TipoDiMovimento(movimento, &n), tipo);
        QCOMPARE(n, annullata);
    }

    // One board in the singular (the other texts: tst_operazioni, tst_annullamento).
    void testiMovimento()
    {
        QCOMPARE(MovimentoDistinta("/tmp/scheda.csv", 1), QStringLiteral("Distinta scheda.csv × 1 scheda"));
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
        QCOMPARE(LeggiRecord(TestoRecord(c), c.ID), c);
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

    // The fields that changed between two records, their text and back.
    void cambiamenti_data()
    {
        Colonne<Componente, Componente, QString>("prima", "dopo", "testo");
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
        const auto [prima, dopo, testo] = Valori<Componente, Componente, QString>("prima", "dopo", "testo");
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
};

QTEST_GUILESS_MAIN(TestRigaMovimento)
#include "tst_rigamovimento.moc"
