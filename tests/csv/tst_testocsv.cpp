// The text-level reading shared by the CSV import and the bill of materials: encodings told by their marks or by
// validity, the fields of a line with quotes, the separator a header suggests, and reading a file from disk without
// touching what is not a regular file.

#include "common/cartellatest.h"
#include "common/fifosorvegliata.h"
#include "common/verifiche.h"
#include "csv/testocsv.h"

#include <QDir>
#include <QStringEncoder>

namespace {

const QString Testo = QStringLiteral("Codice;Descrizione\r\nR1;10 k\u2126 \u20ac\r\n");

QByteArray Utf16(QStringConverter::Encoding codice, const QString &testo)
{
    QStringEncoder codifica(codice);
    return QByteArray(codifica(testo));
}

// The fields of a line, joined by "|", or "!" and the reason.
QString Campi(const QString &riga, QChar sep = QLatin1Char(','))
{
    QStringList campi{QStringLiteral("rimasto")};
    QString motivo;
    if (!DividiCampiCSV(riga, sep, &campi, &motivo))
        return QLatin1Char('!') + motivo;
    return campi.join(QLatin1Char('|'));
}

} // namespace

class TestTestoCSV : public QObject {
    Q_OBJECT
private slots:
    // A NUL is no text ("binario", no encoding): in the bytes of a one-byte encoding, or in the characters of UTF-16
    // (bytes full of NULs).
    void codifiche_data()
    {
        Colonne<QByteArray, QString, QString>("dati", "codifica", "testo");
        QTest::newRow("UTF-8") << Testo.toUtf8() << "UTF-8" << Testo;
        QTest::newRow("UTF-8 con BOM") << "\xEF\xBB\xBF" + Testo.toUtf8() << "UTF-8" << Testo;
        // A mark alone says UTF-8 even when nothing else is beyond ASCII.
        QTest::newRow("solo ASCII con BOM") << QByteArray("\xEF\xBB\xBF" "A;B") << "UTF-8" << "A;B";
        QTest::newRow("solo ASCII") << QByteArray("A;B") << "Windows-1252" << "A;B";
        QTest::newRow("UTF-16LE con BOM") << "\xFF\xFE" + Utf16(QStringConverter::Utf16LE, Testo) << "UTF-16"
                                          << Testo;
        QTest::newRow("UTF-16BE con BOM") << "\xFE\xFF" + Utf16(QStringConverter::Utf16BE, Testo) << "UTF-16"
                                          << Testo;
        // Not valid UTF-8: every byte is a Windows-1252 character.
        QTest::newRow("Windows-1252") << QByteArray("\x80 \xB5" "F \xE0\r\n") << "Windows-1252"
                                      << QString::fromUtf8("€ µF à\r\n");
        QTest::newRow("UTF-8 troncato") << QByteArray("caff\xC3") << "Windows-1252" << QString::fromUtf8("caffÃ");
        QTest::newRow("vuoto") << QByteArray() << "Windows-1252" << "";
        QTest::newRow("zip") << QByteArray("PK\x03\x04\0\0", 6) << "binario" << "";
        QTest::newRow("UTF-8 con NUL") << QByteArray("\xEF\xBB\xBF" "A\0B", 6) << "binario" << "";
        QTest::newRow("NUL dopo 70000 byte") << QByteArray("A;B\r\n") + QByteArray(70000, 'x') + QByteArray(1, '\0')
                                             << "binario" << "";
        QTest::newRow("UTF-16 con NUL") << "\xFF\xFE" + Utf16(QStringConverter::Utf16LE, QString::fromUtf16(u"A\0B", 3))
                                        << "binario" << "";
        QTest::newRow("UTF-16 senza BOM") << QByteArray("A\0;\0", 4) << "binario" << "";
    }
    void codifiche()
    {
        const auto [dati, codifica] = Valori<QByteArray, QString>("dati", "codifica");
        const TestoDecodificato t = DecodificaCSV(dati);
        QCOMPARE(t.binario, codifica == u"binario");
        if (!t.binario) {
            QCOMPARE(t.codifica, codifica);
            QTEST(t.testo, "testo");
        }
    }

    void campi_data()
    {
        Colonne<QString, QString, QString>("riga", "attesi", "sep");
        QTest::newRow("semplici") << "a,b,c" << "a|b|c" << ",";
        QTest::newRow("vuoti") << ",a,,b," << "|a||b|" << ",";
        QTest::newRow("riga vuota") << "" << "" << ",";
        QTest::newRow("spazi conservati") << " a , b" << " a | b" << ",";
        QTest::newRow("separatore tra virgolette") << "\"R1,R2\",10k" << "R1,R2|10k" << ",";
        QTest::newRow("virgolette raddoppiate") << "\"Conn \"\"A\"\"\",2" << "Conn \"A\"|2" << ",";
        QTest::newRow("solo virgolette raddoppiate") << "\"\"\"\"" << "\"" << ",";
        QTest::newRow("campo tra virgolette vuoto") << "\"\",x,\"\"" << "|x|" << ",";
        QTest::newRow("virgolette nel mezzo") << "ab\"c,d" << "ab\"c|d" << ",";
        QTest::newRow("spazi attorno alle virgolette") << "a, \"R1, R2\" ,b" << "a|R1, R2|b" << ",";
        QTest::newRow("fine riga tra virgolette") << "\"a\r\nb\",c" << "a\r\nb|c" << ",";
        QTest::newRow("mai chiuse") << "a,\"b,c" << "!virgolette aperte e mai chiuse" << ",";
        QTest::newRow("mai chiuse, ultima raddoppiata") << "\"b\"\"" << "!virgolette aperte e mai chiuse" << ",";
        QTest::newRow("testo dopo la chiusura") << "\"10k\"x,2" << "!testo dopo le virgolette di chiusura" << ",";
        QTest::newRow("virgolette dopo la chiusura") << "\"a\" \"b\",c" << "!testo dopo le virgolette di chiusura" << ",";
        // Tab as separator: blanks are still blanks, a tab ends the field.
        QTest::newRow("tabulazione") << "\"a\tb\"\t c\t" << "a\tb| c|" << "\t";
        QTest::newRow("punto e virgola") << "a;\"b;c\";d" << "a|b;c|d" << ";";
        // With another separator, the separator of the line is plain text.
        QTest::newRow("virgola come testo") << "a;b,c" << "a|b,c" << ";";
    }
    void campi()
    {
        const auto [riga, sep] = Valori<QString, QString>("riga", "sep");
        QTEST(Campi(riga, sep[0]), "attesi");
    }

    void separatori()
    {
        QCOMPARE(SeparatoriIntestazione(u"Codice"), QList<QChar>());
        QCOMPARE(SeparatoriIntestazione(u"a,b;c,d"), (QList<QChar>{u',', u';'}));
        QCOMPARE(SeparatoriIntestazione(u"a;b,c\td"), (QList<QChar>{u'\t', u';', u','}));
        QCOMPARE(SeparatoriIntestazione(u"a\tb\tc;d,e,f,g"), (QList<QChar>{u',', u'\t', u';'}));
        QCOMPARE(NomeSeparatoreCSV(u'\t'), QStringLiteral("tabulazione"));
        QCOMPARE(NomeSeparatoreCSV(u';'), QStringLiteral("punto e virgola"));
        QCOMPARE(NomeSeparatoreCSV(u','), QStringLiteral("virgola"));
    }

    // Only a regular file is read, never a FIFO (which would block) or a folder; a file over the limit is not read.
    void fileDaDisco()
    {
        CartellaTest c;
        QString errore;
        c.scrivi(QStringLiteral("a.csv"), QByteArray("12345"));
        QCOMPARE(LeggiFileTestoCSV(c.file(QStringLiteral("a.csv")), 5, &errore), QByteArray("12345"));
        QCOMPARE(errore, QString());

        QVERIFY(!LeggiFileTestoCSV(c.file(QStringLiteral("a.csv")), 4, &errore));
        QCOMPARE(errore, QString::fromUtf8("Il file è troppo grande per essere letto (oltre 0 MB)."));
        QCOMPARE(MessaggioFileTroppoGrande(64LL * 1024 * 1024),
                 QString::fromUtf8("Il file è troppo grande per essere letto (oltre 64 MB)."));

        const auto illeggibile = [](const QString &percorso) {
            return QString::fromUtf8("Impossibile leggere il file %1: non è un file normale o non è leggibile.")
                .arg(QDir::toNativeSeparators(percorso));
        };
        const QString fifo = c.file(QStringLiteral("fifo.csv"));
        FifoSorvegliata sorvegliata(fifo);
        QVERIFY(sorvegliata.creata());
        for (const QString &percorso : {c.file(QStringLiteral("manca.csv")), c.percorso(), fifo}) {
            QVERIFY(!LeggiFileTestoCSV(percorso, 100, &errore));
            QCOMPARE(errore, illeggibile(percorso));
        }
        QVERIFY(!sorvegliata.aperta());
    }
};

QTEST_APPLESS_MAIN(TestTestoCSV)
#include "tst_testocsv.moc"
