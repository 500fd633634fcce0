// Reading CSV files for the import and carrying an import out: formats, headers, fields and unreadable lines; which
// stored component a line stands for, the three choices for codes already stored, a failed save that changes nothing,
// the round trip through the export, files that are no lists.

#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "components/regole.h"
#include "importa/importazione.h"
#include "lib/generatore.h"
#include "reports/csv.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/cp1252.h"
#include "store/orologio.h"
#include "store/ricerche.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QDir>
#include <QLocale>
#include <QStringEncoder>

namespace {

const QByteArray Intestazione = "Codice | Produttore | Tipo | Qt\xE0 | Inserito | Descrizione";

// Lines joined by CR LF, in Windows-1252 unless told otherwise.
QByteArray Righe(const QStringList &righe, bool utf8 = false)
{
    const QString testo = righe.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return utf8 ? testo.toUtf8() : CodificaCp1252(testo);
}

Componente Comp(qint32 id, const QString &codice, const QString &produttore, const QString &tipo, qint32 quantita)
{
    Componente c;
    c.ID = id;
    c.Codice = codice;
    c.NomeProduttore = produttore;
    c.NomeTipo = tipo;
    c.Quantita = quantita;
    c.DataInserimento = DataUtc(2024, 3, 1);
    return c;
}

// A program folder made by a first start, with a type and a manufacturer and one component, NE555 (quantity 20).
struct Archivio {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;

    Archivio()
    {
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        stato.Tipi = {{1, QStringLiteral("IC")}};
        stato.Produttori = {{1, QStringLiteral("TI")}};
        stato.NumTipi = stato.NumProduttori = 1;
        stato.ProssimoIDTipo = stato.ProssimoIDProduttore = 2;
        Componente c = Comp(1, QStringLiteral("NE555"), QStringLiteral("TI"), QStringLiteral("IC"), 20);
        c.IDTipo = c.IDProduttore = 1;
        stato.Componenti = {c};
        stato.NumComponenti = 1;
        stato.ProssimoIDComponente = 2;
        QVERIFY(SalvaDatabase(stato, dialoghi));
    }
    LetturaCSV leggi(const QByteArray &dati) const { return LeggiCSV(dati, stato); }
    // The export's header followed by the lines (plain ASCII).
    LetturaCSV elenco(std::initializer_list<const char *> righe) const
    {
        return leggi(Intestazione + "\r\n" + RigheCrLf(righe));
    }
};

QString Errori(const QList<ErroreRiga> &errori)
{
    QStringList out;
    for (const ErroreRiga &e : errori)
        out << QString::number(e.numero) + QStringLiteral(": ") + e.motivo;
    return out.join(QLatin1Char('\n'));
}

} // namespace

class TestImporta : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        ImpostaOggi(QDate(2026, 12, 5));
    }

    // The export's format, either separator, any encoding and line end (an old Mac export: bare CR); other headers:
    // another order and letter case, a custom field by its label, a column named twice (the first read); a
    // spreadsheet's "Unicode text": UTF-16 with its mark, tab-separated. Codes upper-cased as when saved; descriptions
    // passed through the clean-up of saved text (a comma becomes " - "), the other separator kept.
    void lettura_data()
    {
        Colonne<QByteArray>("dati");
        // separator|encoding|ignored, then each line: "number: code|quantity|type|manufacturer|description|notes|
        // field 4|date|package"
        Colonne<QString>("letta");
        const QStringList virgola = {QString::fromLatin1(Intestazione),
                                     QStringLiteral("ne555,TI,IC,20,02/05/2024,Timer pi\u00f9 preciso; 8 pin"),
                                     QStringLiteral("BC547C,ST,TR,-3,15/01/2023,")};
        const QString esportato = QStringLiteral(",|Windows-1252|\n2: NE555|20|IC|TI|Timer pi\u00f9 preciso; 8 pin|||"
                                                 "2024-05-02|\n3: BC547C|-3|TR|ST||||2023-01-15|");
        // (Encodings are told by the shared reader, tested with it.)
        QTest::newRow("virgola, Windows-1252") << Righe(virgola) << esportato;
        QTest::newRow("LF, senza a capo finale") << Righe(virgola).replace("\r\n", "\n").chopped(1) << esportato;
        QTest::newRow("CR") << Righe(virgola).replace("\r\n", "\r") << esportato;
        QTest::newRow("altro ordine")
            << Righe({QStringLiteral("Qt\u00e0;DESCRIZIONE; codice ;Prezzo;Tipo;Package;Scorta minima;Inserito;Note;"
                                     "Quantit\u00e0"),
                      QStringLiteral("7;\"Regolatore; 1,5 A\";lm317t;0,80;REG;TO220;10;30/07/2025;"
                                     "\"cassetto \"\"3\"\", in alto\";99")})
            << QStringLiteral(";|Windows-1252|Prezzo,Quantit\u00e0\n"
                              "2: LM317T|7|REG||Regolatore; 1 - 5 A|cassetto '3' -  in alto|10|2025-07-30|TO220");
        QStringEncoder utf16(QStringConverter::Utf16LE);
        QTest::newRow("testo Unicode del foglio")
            << "\xFF\xFE" + QByteArray(utf16(QStringLiteral("Codice\tQt\u00e0\tDescrizione, breve\r\n"
                                                            "lm317\t7\t\"Regolatore\t1,5 A\"\r\n")))
            << "\t|UTF-16|Descrizione, breve\n2: LM317|7||||||2026-12-05|";
    }
    void lettura()
    {
        const auto [dati, letta] = Valori<QByteArray, QString>("dati", "letta");
        Stato s;
        s.Etichette[4] = QStringLiteral("Scorta minima");
        const LetturaCSV l = LeggiCSV(dati, s);
        QCOMPARE(l.errore, QString());
        QCOMPARE(Errori(l.errori), QString());
        QString visti = QStringList({l.separatore, l.codifica, l.ignorate.join(u',')}).join(u'|');
        for (const RigaCSV &r : l.righe) {
            const Componente &c = r.componente;
            visti += QStringLiteral("\n%1: ").arg(r.numero)
                     + QStringList({c.Codice, QString::number(c.Quantita), c.NomeTipo, c.NomeProduttore, c.Descrizione,
                                    c.Note, c.Extra4, c.DataInserimento.date().toString(Qt::ISODate), r.package})
                           .join(u'|');
        }
        QCOMPARE(visti, letta);
        QCOMPARE(l.haPackage, letta.endsWith(u"TO220"));
    }

    // With the export's header the separator is not in it: the data lines decide, and a tie goes to the option's.
    void separatoreDalleRighe()
    {
        Archivio a;
        a.stato.SeparatoreCSV = QStringLiteral(";");
        QCOMPARE(a.elenco({"A1,B;C,D;E,F;G,H;I,J;K"}).separatore, QLatin1Char(';'));
        a.stato.SeparatoreCSV = QStringLiteral(",");
        QCOMPARE(a.elenco({"A1,B;C,D;E,F;G,H;I,J;K"}).separatore, QLatin1Char(','));
        // Two lines that split into six only at ";" outvote the option.
        const LetturaCSV chiaro = a.elenco({"A1;TI;IC;1;01/01/2024;x", "A2;TI;IC;2;01/01/2024;y, z"});
        QCOMPARE(chiaro.separatore, QLatin1Char(';'));
        QCOMPARE(chiaro.righe.size(), 2);

        // The more frequent separator of a header wins only when it gives a "Codice" column.
        const LetturaCSV virgola = a.leggi(Righe({QStringLiteral("Codice,Qt\u00e0;Prezzo;Note"),
                                                  QStringLiteral("A1,3;x;y")}));
        QCOMPARE(virgola.errore, QString());
        QCOMPARE(virgola.separatore, QLatin1Char(','));
        QCOMPARE(virgola.righe.size(), 1);
        QCOMPARE(virgola.righe[0].componente.Quantita, 0);
    }

    // Dates as Italian users and their spreadsheets write them, with or without a time of day. Today is 5 December
    // 2026: a two-digit year reaches 2036 at most.
    void date_data()
    {
        // attesa: invalid: refused
        Colonne<QString, QDateTime>("testo", "attesa");
        const QDateTime no;
        QTest::newRow("gg/mm/aaaa") << "09/10/2024" << DataUtc(2024, 10, 9);
        QTest::newRow("gg/mm/aa") << "09/10/24" << DataUtc(2024, 10, 9);
        QTest::newRow("g/m/aaaa") << "9/1/2024" << DataUtc(2024, 1, 9);
        QTest::newRow("aaaa-mm-gg") << "2024-10-09" << DataUtc(2024, 10, 9);
        QTest::newRow("aaaa-m-g") << "2024-1-9" << DataUtc(2024, 1, 9);
        QTest::newRow("gg.mm.aaaa") << "09.10.2024" << DataUtc(2024, 10, 9);
        QTest::newRow("gg-mm-aaaa") << "09-10-2024" << DataUtc(2024, 10, 9);
        QTest::newRow("con ore e minuti") << "09/10/2024 14:30" << DataUtc(2024, 10, 9, 14, 30);
        QTest::newRow("con secondi, ora di una cifra") << "9/10/24 8:05:59" << DataUtc(2024, 10, 9, 8, 5, 59);
        QTest::newRow("ISO con T") << "2024-10-09T14:30:00" << DataUtc(2024, 10, 9, 14, 30);
        QTest::newRow("spazi attorno") << "  09/10/2024\t" << DataUtc(2024, 10, 9);
        QTest::newRow("29 febbraio bisestile") << "29/02/2024" << DataUtc(2024, 2, 29);
        QTest::newRow("anno 36: 2036") << "01/01/36" << DataUtc(2036, 1, 1);
        QTest::newRow("anno 37: 1937") << "01/01/37" << DataUtc(1937, 1, 1);
        QTest::newRow("29 febbraio non bisestile") << "29/02/2023" << no;
        QTest::newRow("separatori diversi") << "09/10-2024" << no;
        QTest::newRow("anno di tre cifre") << "1/2/345" << no;
        QTest::newRow("giorno di tre cifre") << "009/10/2024" << no;
        QTest::newRow("anno primo con giorno lungo") << "2024-10-009" << no;
        QTest::newRow("anno primo di due cifre") << "24-10-09" << DataUtc(2009, 10, 24);
        QTest::newRow("ore 24") << "09/10/2024 24:00" << no;
        QTest::newRow("minuti di una cifra") << "09/10/2024 14:3" << no;
        QTest::newRow("ora senza spazio") << "09/10/202414:30" << no;
        QTest::newRow("testo dopo") << "09/10/2024 circa" << no;
        QTest::newRow("solo giorno e mese") << "09/10" << no;
        QTest::newRow("parole") << "ottobre 2024" << no;
        QTest::newRow("cifre non ASCII") << QStringLiteral("\u0669/10/2024") << no;
    }
    void date()
    {
        const auto [testo, attesa] = Valori<QString, QDateTime>("testo", "attesa");
        QCOMPARE(LeggiDataImportata(testo, QDate(2026, 12, 5)), attesa);
        // The same through a file, where each distinct text is read once.
        const LetturaCSV l = LeggiCSV(Righe({QStringLiteral("Codice;Inserito"), QStringLiteral("A;") + testo,
                                            QStringLiteral("B;") + testo}, true), Stato());
        if (attesa.isValid()) {
            QCOMPARE(Errori(l.errori), QString());
            QCOMPARE(l.righe[0].componente.DataInserimento, attesa);
            QCOMPARE(l.righe[1].componente.DataInserimento, attesa);
        } else {
            QCOMPARE(l.errori.size(), 2);
            QCOMPARE(l.errori[1].motivo, QStringLiteral("data non valida: \"%1\"").arg(testo.trimmed()));
        }
    }

    // The user's own short date form (the export's) is read first when it is month first, as in the United States.
    void dateNellaFormaDellUtente()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QDate oggi(2026, 12, 5);
        const QList<QDateTime> lette{LeggiDataImportata(u"10/9/2024", oggi), LeggiDataImportata(u"2024-10-09", oggi),
                                     LeggiDataImportata(u"25/12/2024", oggi)};
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(lette, (QList<QDateTime>{DataUtc(2024, 10, 9), DataUtc(2024, 10, 9), DataUtc(2024, 12, 25)}));
        QCOMPARE(LeggiDataImportata(u"10/9/2024", oggi), DataUtc(2024, 9, 10));
    }

    // Each line that cannot be read is told by its number and reason (a line without a date takes today's, as a
    // component entered now). A spreadsheet's multi-line cell: quoted, one field, each break a blank; the lines after
    // it keep their numbers. Lines that a quote joins into no record of the header's columns are read one by one.
    void righe_data()
    {
        // righe: "line: code|description|quantity"
        Colonne<QByteArray, QStringList, QString>("dati", "righe", "errori");
        QTest::newRow("righe illeggibili")
            << Intestazione + "\r\n"
                   + RigheCrLf({"OK1,TI,IC,1,01/02/2024,uno", "CORTA,TI,IC,1", "QX,TI,IC,molti,01/02/2024,", "",
                                "DX,TI,IC,3,31/02/2024,", "LUNGA,TI,IC,1,01/02/2024,a,b",
                                ",TI,IC,1,01/02/2024,senza codice", "QV,TI,IC,,01/02/2024,",
                                "\"APERTA,TI,IC,1,01/02/2024,", "GRANDE,TI,IC,99999999999,01/02/2024,",
                                "OGGI,TI,IC,2,,senza data"})
            << QStringList{"2: OK1|uno|1", "12: OGGI|senza data|2"}
            << "3: mancano colonne: 4 invece di 6\n4: quantit\u00e0 non numerica: \"molti\"\n"
               "6: data non valida: \"31/02/2024\"\n"
               "7: troppe colonne: 7 invece di 6 (forse il separatore compare in un codice o in un nome)\n"
               "8: manca il codice\n9: manca la quantit\u00e0\n10: virgolette aperte e mai chiuse\n"
               "11: quantit\u00e0 fuori dai limiti: \"99999999999\"";
        const QByteArray testa = "Codice;Descrizione;Qt\xE0\r\n";
        QTest::newRow("CR LF nella cella")
            << testa + "A1;\"Regolatore\r\n1,5 A\";3\r\nA2;due;4\r\nA3;x;molti\r\n"
            << QStringList{"2: A1|Regolatore 1 - 5 A|3", "4: A2|due|4"}
            << "5: quantit\u00e0 non numerica: \"molti\"";
        QTest::newRow("LF nella cella, CR LF tra le righe (Excel)")
            << testa + "A1;\"uno\ndue\ntre\";3\r\nA2;\"\";4\r\n"
            << QStringList{"2: A1|uno due tre|3", "5: A2||4"} << QString();
        QTest::newRow("riga vuota nella cella")
            << testa + "A1;\"uno\r\n\r\ndue\";3\r\nA2;x;4\r\n"
            << QStringList{"2: A1|uno  due|3", "5: A2|x|4"} << QString();
        QTest::newRow("a capo nel codice e in fondo alla cella")
            << testa + "\"lm\r\n358\";\"fine\r\n\";3\r\n" << QStringList{"2: LM 358|fine|3"} << QString();
        QTest::newRow("solo LF (LibreOffice)")
            << QByteArray(testa).replace("\r\n", "\n") + "A1;\"a\nb\";3\nA2;c;4\n"
            << QStringList{"2: A1|a b|3", "4: A2|c|4"} << QString();
        QTest::newRow("solo CR") << QByteArray(testa).replace("\r\n", "\r") + "A1;\"a\rb\";3\rA2;c;4\r"
                                 << QStringList{"2: A1|a b|3", "4: A2|c|4"} << QString();
        QTest::newRow("virgolette mai chiuse")
            << testa + "\"A1;uno;3\r\nA2;due;4\r\n" << QStringList{"3: A2|due|4"}
            << "2: virgolette aperte e mai chiuse";
        // The quote of line 2 closes on line 4; the record it makes has text after the closing quote: each line alone.
        QTest::newRow("righe unite che non fanno un record")
            << testa + "\"A1;uno;3\r\nA2;due;4\r\nA3;\"tre\";5\r\n"
            << QStringList{"3: A2|due|4", "4: A3|tre|5"} << "2: virgolette aperte e mai chiuse";
        QTest::newRow("righe unite in troppe colonne")
            << testa + "A1;\"uno;3\r\nA2\";x;y;4\r\nA3;tre;5\r\n" << QStringList{"4: A3|tre|5"}
            << "2: virgolette aperte e mai chiuse\n3: troppe colonne: 4 invece di 3 (forse il separatore "
               "compare in un codice o in un nome)";
        QTest::newRow("cella tra virgolette su una riga") << testa + "A1; \"uno; due\" ;3\r\n"
                                                           << QStringList{"2: A1|uno; due|3"} << QString();
    }
    void righe()
    {
        const auto [dati, righe, errori] = Valori<QByteArray, QStringList, QString>("dati", "righe", "errori");
        const LetturaCSV l = LeggiCSV(dati, Stato());
        QCOMPARE(l.errore, QString());
        QStringList visti;
        for (const RigaCSV &r : l.righe)
            visti << QStringLiteral("%1: %2|%3|%4")
                         .arg(r.numero)
                         .arg(r.componente.Codice, r.componente.Descrizione)
                         .arg(r.componente.Quantita);
        QCOMPARE(visti, righe);
        QCOMPARE(Errori(l.errori), errori);
    }

    // Every field without the blanks around it (also no-break spaces, tabs, inside quotes) and cleaned (the fields read
    // in the table of files above are left to it). A line is refused ("!" and the reason) for a pin count that is no
    // number or a character the Windows-1252 files cannot hold (never stored as "?"). Codes are upper-cased within the
    // code page.
    void campi_data()
    {
        // cella: in a UTF-8 file
        Colonne<QString, QString, QString>("colonna", "cella", "atteso");
        const auto no = [](const char *carattere, const char *campo) {
            return QStringLiteral("!il carattere \"%1\" (%2) non pu\u00f2 essere salvato nei file dei dati")
                .arg(QString::fromUtf8(carattere), QLatin1String(campo));
        };
        QTest::newRow("codice") << "Codice" << " \t lm358 \u00a0" << "LM358";
        QTest::newRow("codice tra virgolette") << "Codice" << "\" lm358 \"" << "LM358";
        QTest::newRow("descrizione") << "Descrizione" << "  Timer  555  " << "Timer  555";
        QTest::newRow("descrizione, virgola in fondo") << "Descrizione" << "\"Timer, \"" << "Timer -";
        QTest::newRow("datasheet") << "Datasheet" << " ne555.pdf " << "ne555.pdf";
        QTest::newRow("immagine") << "Immagine" << " ne555.jpg " << "ne555.jpg";
        QTest::newRow("campo 2") << "Extra2" << " 5 V " << "5 V";
        QTest::newRow("pin") << "Pins" << " 8 " << "8";
        QTest::newRow("pin vuoto") << "Pins" << "" << "0";
        QTest::newRow("pin in lettere") << "Pins" << "otto" << "!numero di pin non valido: \"otto\"";
        QTest::newRow("pin oltre i limiti") << "Pins" << "1e99" << "!numero di pin non valido: \"1e99\"";
        QTest::newRow("codice con \u20ac") << "Codice" << "prezzo\u20ac" << "PREZZO\u20ac";
        QTest::newRow("codice con accento") << "Codice" << "c\u00e9\u00b5\u00df" << "C\u00c9\u00b5\u00df";
        QTest::newRow("descrizione con \u20ac") << "Descrizione" << "costa 2 \u20ac" << "costa 2 \u20ac";
        QTest::newRow("codice non salvabile") << "Codice" << "X\u03c9" << no("\u03c9", "codice");
        QTest::newRow("descrizione non salvabile") << "Descrizione" << "10 \u2126" << no("\u2126", "descrizione");
        QTest::newRow("produttore non salvabile") << "Produttore" << "TI \u4e2d" << no("\u4e2d", "produttore");
        QTest::newRow("tipo non salvabile") << "Tipo" << "IC \U0001F600" << no("\U0001F600", "tipo");
        QTest::newRow("package non salvabile") << "Package" << "SOT\u201023" << no("\u2010", "package");
        QTest::newRow("note non salvabili") << "Note" << "nota \u2260" << no("\u2260", "note");
        QTest::newRow("campo 3 non salvabile") << "Extra3" << "\u03bc" << no("\u03bc", "campo 3");
    }
    void campi()
    {
        const auto [colonna, cella, atteso] = Valori<QString, QString, QString>("colonna", "cella", "atteso");
        const QString prima = colonna == u"Codice" ? QString() : QStringLiteral("Codice;");
        const QString valore = colonna == u"Codice" ? QString() : QStringLiteral("X;");
        const LetturaCSV l = LeggiCSV(Righe({prima + colonna, valore + cella}, true), Stato());
        QCOMPARE(Errori(l.errori), atteso.startsWith(u'!') ? QStringLiteral("2: ") + atteso.mid(1) : QString());
        if (atteso.startsWith(u'!')) {
            QVERIFY(l.righe.isEmpty());
            return;
        }
        QCOMPARE(l.righe.size(), 1);
        const Componente &c = l.righe[0].componente;
        const QStringList colonne{"Codice", "Descrizione", "Datasheet", "Immagine", "Extra2", "Pins"};
        const QStringList campi{c.Codice, c.Descrizione, c.Datasheet, c.Immagine, c.Extra2, QString::number(c.Pins)};
        QCOMPARE(campi.value(colonne.indexOf(colonna)), atteso);
    }

    // The reading tells how far it is, now and then, up to the whole; a false answer stops it and leaves nothing.
    void avanzamento()
    {
        const Stato stato;
        QByteArray dati = Intestazione + "\r\n";
        for (int i = 0; i < 5000; ++i)
            dati += "A" + QByteArray::number(i) + ",TI,IC,1,01/02/2024,\r\n";
        QList<std::pair<qint64, qint64>> visti;
        const LetturaCSV l = LeggiCSV(dati, stato, [&visti](qint64 fatto, qint64 totale) {
            visti.append({fatto, totale});
            return true;
        });
        QCOMPARE(l.righe.size(), 5000);
        QVERIFY(!l.interrotta);
        QCOMPARE(visti.size(), 5);                   // every 1024 lines, and at the end
        QCOMPARE(visti.last(), std::make_pair(qint64(dati.size()), qint64(dati.size()))); // ASCII: one character a byte
        for (qsizetype i = 1; i < visti.size(); ++i)
            QVERIFY(visti[i].first > visti[i - 1].first && visti[i].second == visti.last().second);

        int chiamate = 0;
        const LetturaCSV fermata = LeggiCSV(dati, stato, [&chiamate](qint64, qint64) { return ++chiamate < 2; });
        QVERIFY(fermata.interrotta);
        QCOMPARE(chiamate, 2);
        QVERIFY(fermata.righe.isEmpty() && fermata.errori.isEmpty() && fermata.errore.isEmpty());
    }

    // Carrying out a plan (what each choice plans: pianificazione). The file: NE555 (stored, 20) +5, NUOVO 3, NUOVO
    // again 4: the second NUOVO is a component of its own.
    void codiciEsistenti()
    {
        Archivio a;
        // A new component and type whose save failed left their slots past the counts: the import writes over them.
        a.stato.Componenti.append(Comp(2, QStringLiteral("FALLITO"), QStringLiteral("TI"), QStringLiteral("IC"), 9));
        a.stato.Tipi.append({2, QStringLiteral("FALLITO")});
        const LetturaCSV l = a.elenco({"NE555,TI,IC,5,01/02/2024,", "NUOVO,NXP,TR,3,01/02/2024,",
                                       "NUOVO,NXP,TR,4,01/02/2024,"});
        const PianoImportazione piano = PianificaImportazione(a.stato, l, CodiciEsistenti::SommaQuantita);
        QVERIFY(EseguiImportazione(a.stato, piano, a.dialoghi));
        QStringList tabella;
        qint64 totale = 0;
        for (qint32 i = 1; i <= a.stato.NumComponenti; ++i) {
            const Componente &c = a.stato.componente(i);
            tabella << QStringLiteral("%1 %2=%3 %4/%5").arg(c.ID).arg(c.Codice).arg(c.Quantita).arg(c.IDTipo).arg(c.IDProduttore);
            totale += c.Quantita;
        }
        QCOMPARE(tabella, (QStringList{"1 NE555=25 1/1", "2 NUOVO=3 2/2", "3 NUOVO=4 2/2"}));
        QCOMPARE(a.stato.TotalePezzi, totale);
        // The counters follow; the new type and manufacturer are created once.
        QCOMPARE(a.stato.ProssimoIDComponente, a.stato.NumComponenti + 1);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(a.stato.NumTipi).arg(a.stato.ProssimoIDTipo).arg(a.stato.tipo(2).Nome,
                                                                                             a.stato.produttore(2).Nome),
                 QStringLiteral("2 3 TR NXP"));
        // Memory and the files agree.
        Stato letto;
        QVERIFY(Main(letto, a.dialoghi, a.cartella.percorso()));
        QCOMPARE(letto.Componenti.mid(0, letto.NumComponenti), a.stato.Componenti.mid(0, a.stato.NumComponenti));
        QCOMPARE(letto.Tipi.mid(0, letto.NumTipi), a.stato.Tipi.mid(0, a.stato.NumTipi));
        // A new package goes in its table too, over a spare slot past the count.
        a.stato.Packages.append({5, QStringLiteral("FALLITO"), {}, {}});
        const LetturaCSV p = a.leggi("Codice;Package\r\nP1;SOT-23\r\n");
        QVERIFY(EseguiImportazione(a.stato, PianificaImportazione(a.stato, p, CodiciEsistenti::Aggiungi), a.dialoghi));
        QVERIFY(Main(letto, a.dialoghi, a.cartella.percorso()));
        QCOMPARE(letto.Packages.mid(0, letto.NumPackages), (QList<Package>{{1, QStringLiteral("SOT-23"), {}, {}}}));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Which stored component a line stands for, after "Codice;Produttore;Tipo;Qt\u00e0" or its own "#header"; table
    // entries found by their names trimmed and upper-cased, the first entry of a name winning; a name not there created
    // once, as the tables window stores it, and every component taking its entry's name.
    void pianificazione_data()
    {
        Colonne<int, QStringList>("scelta", "righe");
        // "somma position=new quantity", "nuovo code/[ID:]manufacturer/[ID:]type=quantity[ package ID]", "+ID=name" of
        // each table entry created, "saltati N", "ambigua line code: positions", "errore line: reason"
        Colonne<QString>("piano");
        const int somma = int(CodiciEsistenti::SommaQuantita);
        const int salta = int(CodiciEsistenti::Salta);
        QTest::newRow("somma al produttore della riga") << somma << QStringList{"BC547;TEXAS;TRANSISTOR;9"} << "somma 2=59";
        QTest::newRow("somma, nomi in minuscolo e tra spazi") << somma << QStringList{" bc547 ; texas ; ; 9"}
                                                              << "somma 2=59";
        QTest::newRow("somma, senza colonna Produttore: ambigua")
            << somma << QStringList{"#Codice;Qt\u00e0", "BC547;9"} << "ambigua 2 BC547: 1 2";
        QTest::newRow("somma, produttore vuoto: ambigua") << somma << QStringList{"BC547;;;9"} << "ambigua 2 BC547: 1 2";
        QTest::newRow("somma, produttore non in archivio: nuovo") << somma << QStringList{"BC547;NXP;;9"}
                                                                  << "nuovo BC547/5:NXP/=9, +5=NXP";
        QTest::newRow("somma, il tipo decide") << somma << QStringList{"LM358;ST;opamp;3"} << "somma 4=8";
        QTest::newRow("somma, tipo non dato: ambigua") << somma << QStringList{"LM358;st;;3"} << "ambigua 2 LM358: 3 4";
        QTest::newRow("somma, tipo diverso: nuovo") << somma << QStringList{"2N2222;;DIODO;1"}
                                                    << "nuovo 2N2222//10:DIODO=1, +10=DIODO";
        QTest::newRow("somma, codice archiviato in minuscolo e con spazi") << somma << QStringList{"BC337;Philips;;2"}
                                                                           << "somma 6=3";
        QTest::newRow("somma, due righe allo stesso componente")
            << somma << QStringList{"BC547;TEXAS;;1", "BC547;TEXAS;;2", "BC547;PHILIPS;;4"} << "somma 2=53, somma 1=104";
        QTest::newRow("somma, codice ripetuto nel file") << somma << QStringList{"NUOVO;X;;3", "NUOVO;X;;4"}
                                                         << "nuovo NUOVO/5:X/=3, nuovo NUOVO/5:X/=4, +5=X";
        // Past the 32-bit range: refused for that line alone.
        QTest::newRow("somma oltre il limite")
            << somma << QStringList{"BC547;PHILIPS;;2147483647", "ALTRO;;;1"}
            << "nuovo ALTRO//=1, errore 2: la quantit\u00e0 sommata a quella di BC547 supererebbe il limite";
        QTest::newRow("salta, ambigua saltata") << salta << QStringList{"#Codice;Qt\u00e0", "BC547;9", "LM358;1"}
                                                << "saltati 2";
        QTest::newRow("salta, produttore diverso: nuovo") << salta << QStringList{"BC547;NXP;;9", "BC547;philips;;9"}
                                                          << "nuovo BC547/5:NXP/=9, +5=NXP, saltati 1";
        QTest::newRow("salta, codice ripetuto nel file")
            << salta << QStringList{"NUOVO;X;;3", "NUOVO;X;;4", "nuovo;X;;5"}
            << "nuovo NUOVO/5:X/=3, nuovo NUOVO/5:X/=4, nuovo NUOVO/5:X/=5, +5=X";
        QTest::newRow("aggiungi, anche se ambigua") << int(CodiciEsistenti::Aggiungi)
                                                    << QStringList{"#Codice;Qt\u00e0", "BC547;9"} << "nuovo BC547//=9";
        // Stored: types 7 INTEGRATO, 3 integrato (hand-edited, never found first), 9 TRANSISTOR; manufacturers 1 TEXAS
        // INSTRUMENTS and 2 " TEXAS"; package 4 TO-92.
        QTest::newRow("tipo in altre grafie")
            << salta << QStringList{"#Codice;Tipo", "A0;Integrato", "A1;INTEGRATO", "A2; integrato ", "A3;transistor"}
            << "nuovo A0//7:INTEGRATO=0, nuovo A1//7:INTEGRATO=0, nuovo A2//7:INTEGRATO=0, nuovo A3//9:TRANSISTOR=0";
        QTest::newRow("tipo nuovo in tre grafie, creato una volta")
            << salta << QStringList{"#Codice;Tipo", "A0;Diodo", "A1;DIODO ", "A2;diodo"}
            << "nuovo A0//10:DIODO=0, nuovo A1//10:DIODO=0, nuovo A2//10:DIODO=0, +10=DIODO";
        QTest::newRow("produttore in altre grafie")
            << salta << QStringList{"#Codice;Produttore", "A0;Texas Instruments", "A1;TEXAS", "A2;\u00a0texas\t"}
            << "nuovo A0/1:TEXAS INSTRUMENTS/=0, nuovo A1/2: TEXAS/=0, nuovo A2/2: TEXAS/=0";
        QTest::newRow("produttore nuovo con accenti e virgolette")
            << salta
            << QStringList{"#Codice;Produttore", "A0;Societ\u00e0 pi\u00f9", "A1;SOCIET\u00c0 PI\u00d9",
                           "A2;\u00b5chip \"2\""}
            << "nuovo A0/5:SOCIET\u00c0 PI\u00d9/=0, nuovo A1/5:SOCIET\u00c0 PI\u00d9/=0, "
               "nuovo A2/6:\u00b5CHIP '2'/=0, +5=SOCIET\u00c0 PI\u00d9, +6=\u00b5CHIP '2'";
        QTest::newRow("package") << salta << QStringList{"#Codice;Package", "A0;to-92", "A1;sot-23", "A2;SOT-23 "}
                                 << "nuovo A0//=0 package 4, nuovo A1//=0 package 8, nuovo A2//=0 package 8, +8=SOT-23";
        QTest::newRow("nomi vuoti") << salta << QStringList{"#Codice;Tipo", "A0;", "A1;   "}
                                    << "nuovo A0//=0, nuovo A1//=0";
    }
    void pianificazione()
    {
        auto [scelta, righe, piano] = Valori<int, QStringList, QString>("scelta", "righe", "piano");
        // Planning reads the state only: no program folder.
        Stato stato;
        stato.Componenti = {Comp(1, QStringLiteral("BC547"), QStringLiteral("PHILIPS"), QStringLiteral("TRANSISTOR"), 100),
                            Comp(2, QStringLiteral("BC547"), QStringLiteral("TEXAS"), QStringLiteral("TRANSISTOR"), 50),
                            Comp(3, QStringLiteral("LM358"), QStringLiteral("ST"), QStringLiteral("IC"), 10),
                            Comp(4, QStringLiteral("LM358"), QStringLiteral("ST"), QStringLiteral("OPAMP"), 5),
                            Comp(5, QStringLiteral("2N2222"), QString(), QStringLiteral("TRANSISTOR"), 7),
                            Comp(6, QStringLiteral("bc337 "), QStringLiteral("PHILIPS"), QStringLiteral("TRANSISTOR"), 1)};
        stato.NumComponenti = 6;
        stato.ProssimoIDComponente = 7;
        stato.Tipi = {{7, QStringLiteral("INTEGRATO")}, {3, QStringLiteral("integrato")},
                      {9, QStringLiteral("TRANSISTOR")}};
        stato.Produttori = {{1, QStringLiteral("TEXAS INSTRUMENTS")}, {2, QStringLiteral(" TEXAS")}};
        stato.Packages = {{4, QStringLiteral("TO-92"), {}, {}}};
        stato.NumTipi = 3;
        stato.NumProduttori = 2;
        stato.NumPackages = 1;
        stato.ProssimoIDTipo = 10;
        stato.ProssimoIDProduttore = 5;
        stato.ProssimoIDPackage = 8;
        if (righe.first().startsWith(u'#'))
            righe.first().remove(0, 1);
        else
            righe.prepend(QStringLiteral("Codice;Produttore;Tipo;Qt\u00e0"));
        const LetturaCSV l = LeggiCSV(Righe(righe), stato);
        QCOMPARE(Errori(l.errori), QString());
        const PianoImportazione p = PianificaImportazione(stato, l, CodiciEsistenti(scelta));
        QStringList visti;
        for (const auto &[pos, quantita] : p.quantita)
            visti << QStringLiteral("somma %1=%2").arg(pos).arg(quantita);
        const auto voce = [](qint32 id, const QString &nome) {
            return id ? QString::number(id) + u':' + nome : nome;
        };
        for (const Componente &c : p.nuovi) {
            visti << QStringLiteral("nuovo %1/%2/%3=%4")
                         .arg(c.Codice, voce(c.IDProduttore, c.NomeProduttore), voce(c.IDTipo, c.NomeTipo))
                         .arg(c.Quantita)
                         + (c.IDPackage ? QStringLiteral(" package %1").arg(c.IDPackage) : QString());
        }
        for (const Tipo &t : p.nuoviTipi)
            visti << QStringLiteral("+%1=%2").arg(t.ID).arg(t.Nome);
        for (const Produttore &n : p.nuoviProduttori)
            visti << QStringLiteral("+%1=%2").arg(n.ID).arg(n.Nome);
        for (const Package &n : p.nuoviPackages)
            visti << QStringLiteral("+%1=%2").arg(n.ID).arg(n.Nome);
        if (p.saltati > 0)
            visti << QStringLiteral("saltati %1").arg(p.saltati);
        for (const RigaAmbigua &r : p.ambigue) {
            QString t = QStringLiteral("ambigua %1 %2:").arg(r.numero).arg(r.codice);
            for (qint32 pos : r.posizioni)
                t += u' ' + QString::number(pos);
            visti << t;
        }
        for (const ErroreRiga &e : p.errori)
            visti << QStringLiteral("errore %1: %2").arg(e.numero).arg(e.motivo);
        QCOMPARE(visti.join(QStringLiteral(", ")), piano);
    }

    // Planning changes nothing; a save that fails leaves memory and every file as they were, and says so. IDs that
    // would pass the limit: refused at planning; one line still fits, and the counter stops at the limit.
    void pianoEGuasto()
    {
        Archivio a;
        const auto prima = Istantanea(a.cartella.percorso());
        const QList<Componente> componenti = a.stato.Componenti;
        const LetturaCSV l = a.elenco({"NE555,TI,IC,5,01/02/2024,", "NUOVO,NXP,TR,3,01/02/2024,"});
        PianoImportazione piano = PianificaImportazione(a.stato, l, CodiciEsistenti::SommaQuantita);
        QCOMPARE(piano.nuovi.size(), 1);
        QCOMPARE(piano.quantita.size(), 1);
        QCOMPARE(a.stato.Componenti, componenti);
        for (int guasto : {0, 1, 4}) {
            a.dialoghi.setNextAnswer(Risposta::Ok);
            GuastoScrittura g;
            g.fileGuasto = guasto;
            QVERIFY(!EseguiImportazione(a.stato, piano, a.dialoghi, g));
            QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
            QCOMPARE(a.stato.Componenti, componenti);
            QCOMPARE(QList<qint64>({a.stato.NumComponenti, a.stato.NumTipi, a.stato.ProssimoIDComponente,
                                    a.stato.TotalePezzi}),
                     QList<qint64>({1, 1, 2, 20}));
            QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        }

        a.stato.ProssimoIDComponente = 2147483646;
        piano = PianificaImportazione(a.stato, a.elenco({"A1,TI,IC,1,01/02/2024,", "A2,TI,IC,1,01/02/2024,"}),
                                      CodiciEsistenti::Aggiungi);
        QVERIFY(piano.errore.contains(QStringLiteral("Prossimo ID Componente")));
        QVERIFY(!EseguiImportazione(a.stato, piano, a.dialoghi));
        QCOMPARE(a.stato.NumComponenti, 1);
        piano = PianificaImportazione(a.stato, a.elenco({"A1,TI,IC,1,01/02/2024,"}), CodiciEsistenti::Aggiungi);
        QCOMPARE(piano.errore, QString());
        QVERIFY(EseguiImportazione(a.stato, piano, a.dialoghi));
        QCOMPARE(a.stato.componente(2).ID, 2147483646);
        QCOMPARE(a.stato.ProssimoIDComponente, 2147483647);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The export imported into an empty program folder with the preview's default choice (skip what is stored) gives
    // back every component, its fields and the entries it names, in order: codes repeated in the file are not taken for
    // stored ones. Also for 100,000 generated components.
    void andataERitorno_data()
    {
        // generati: 0: the example database
        Colonne<QString, int>("separatore", "generati");
        QTest::newRow("virgola") << "," << 0;
        QTest::newRow("punto e virgola") << ";" << 0;
        QTest::newRow("100000 generati, virgola") << "," << 100000;
    }
    void andataERitorno()
    {
        const auto [separatore, generati] = Valori<QString, int>("separatore", "generati");
        CartellaTest origine, vuota;
        Stato s, nuovo, riletto;
        DialoghiFinti d;
        QVERIFY(Main(s, d, origine.percorso()));
        if (generati > 0)
            GeneraDatabase(s, generati);
        else
            RiempiStatoDiEsempio(s);
        s.SeparatoreCSV = separatore;
        // Stored data as the program saves it: descriptions cleaned, names as the tables window stores them; and no
        // separator inside codes and names, which the export cannot carry.
        for (Componente &c : s.Componenti) {
            c.Descrizione = PulisciTesto(c.Descrizione).replace(separatore, QStringLiteral(" ")).trimmed();
            c.Codice.replace(separatore, QStringLiteral(" "));
            c.NomeTipo = MaiuscoloCp1252(c.NomeTipo.replace(separatore, QStringLiteral(" ")).trimmed());
            c.NomeProduttore = MaiuscoloCp1252(c.NomeProduttore.replace(separatore, QStringLiteral(" ")).trimmed());
        }
        QVERIFY(EsportaCSV(s, d));
        QVERIFY(Main(nuovo, d, vuota.percorso()));
        const LetturaCSV l = LeggiFileCSV(s.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv"), nuovo);
        QCOMPARE(l.errore, QString());
        QCOMPARE(Errori(l.errori), QString());
        const PianoImportazione piano = PianificaImportazione(nuovo, l, CodiciEsistenti::Salta);
        QCOMPARE(piano.saltati, 0);
        QVERIFY(EseguiImportazione(nuovo, piano, d));
        QVERIFY(Main(riletto, d, vuota.percorso()));
        // Field by field, position by position: the ID, and the names of the table entries a component points to.
        const auto campi = [](const Stato &st, bool importato) {
            QStringList out;
            for (qint32 i = 1; i <= st.NumComponenti; ++i) {
                const Componente &c = st.componente(i);
                const qint32 tipo = PosTipoDaID(st, c.IDTipo), produttore = PosProduttoreDaID(st, c.IDProduttore);
                out << QStringList{QString::number(importato ? c.ID : i), c.Codice, c.NomeProduttore, c.NomeTipo,
                                   QString::number(c.Quantita), c.DataInserimento.date().toString(Qt::ISODate),
                                   c.Descrizione, QString::number(c.CodiceNumerico),
                                   !importato ? c.NomeTipo : tipo ? st.tipo(tipo).Nome : QString(),
                                   !importato ? c.NomeProduttore : produttore ? st.produttore(produttore).Nome : QString()}
                           .join(u'|');
            }
            return out;
        };
        QCOMPARE(campi(riletto, true), campi(s, false));
        // And exporting again gives the same file.
        riletto.SeparatoreCSV = separatore;
        QCOMPARE(TestoCSV(riletto), TestoCSV(s));
        VERIFICA_DIALOGHI(d);
    }

    void fileCheNonSonoElenchi_data()
    {
        Colonne<QByteArray, QString>("dati", "errore");
        const QString binario = QStringLiteral("Il file non \u00e8 un testo CSV: contiene dati binari.\r\n"
                                               "Scegliere un file esportato come testo CSV.");
        const QString vuoto = QStringLiteral("Il file \u00e8 vuoto: non c'\u00e8 nessun componente da importare.");
        const QString intestazione =
            QStringLiteral("Il file contiene solo l'intestazione: non c'\u00e8 nessun componente da importare.");
        QByteArray dati(4096, '\0');
        for (int i = 0; i < dati.size(); ++i)
            dati[i] = char((i * 7919) % 251);
        QTest::newRow("binario") << dati << binario;
        QTest::newRow("vuoto") << QByteArray() << vuoto;
        QTest::newRow("solo righe vuote") << QByteArray("\r\n  \r\n\r\n") << vuoto;
        QTest::newRow("spazi non separabili") << QByteArray("\xA0\xA0\r\n\xA0 \r\n") << vuoto;
        QTest::newRow("solo intestazione") << (Intestazione + "\r\n\r\n") << intestazione;
        QTest::newRow("senza Codice") << QByteArray("Nome;Prezzo\r\nA;1\r\n")
                                      << "Nella prima riga del file manca la colonna \"Codice\":\r\n"
                                         "il file non sembra un elenco di componenti esportato come testo CSV.";
        QTest::newRow("prima riga enorme") << QByteArray(LunghezzaMassimaIntestazione + 10, 'x')
                                           << "La prima riga del file \u00e8 troppo lunga per essere un'intestazione "
                                              "di colonne: il file non sembra un testo CSV.";
    }
    void fileCheNonSonoElenchi()
    {
        const auto [dati, errore] = Valori<QByteArray, QString>("dati", "errore");
        Archivio a;
        const LetturaCSV l = a.leggi(dati);
        QCOMPARE(l.errore, errore);
        QVERIFY(l.righe.isEmpty());
    }

    // Files that could take the memory: 100,000 columns and a line of several megabytes (a preview with the reasons,
    // read in one linear pass), nothing but unreadable lines (the first ones kept, the rest counted), a header of too
    // many columns (refused outright).
    void limiti()
    {
        const Stato stato;
        QByteArray larga = "Codice";
        QByteArray dati = "A1";
        for (int i = 1; i < 100000; ++i) {
            larga += ";c" + QByteArray::number(i);
            dati += ";" + QByteArray::number(i);
        }
        LetturaCSV l = LeggiCSV(larga + "\r\n" + dati + "\r\n" + "A2;1\r\n", stato);
        QCOMPARE(l.errore, QString());
        QCOMPARE(l.ignorate.size(), 99999);
        QCOMPARE(l.righe.size(), 1);
        QCOMPARE(l.righe[0].componente.Codice, QStringLiteral("A1"));
        QCOMPARE(Errori(l.errori), QStringLiteral("3: mancano colonne: 2 invece di 100000"));

        l = LeggiCSV(Intestazione + "\r\nA2,TI,IC,1,01/02/2024,breve\r\nA3,TI,IC,1,01/02/2024,"
                         + QByteArray(5 * 1024 * 1024, 'd') + "\r\n",
                     stato);
        QCOMPARE(l.righe.size(), 1);
        QCOMPARE(Errori(l.errori), QStringLiteral("3: riga troppo lunga (5242902 caratteri, al massimo 1048576)"));

        l = LeggiCSV(Intestazione + "\r\n" + QByteArray("X\r\n").repeated(ErroriConservati + 5), stato);
        QCOMPARE(l.errori.size(), ErroriConservati);
        QCOMPARE(l.erroriOmessi, 5);
        QCOMPARE(l.errori.last().numero, int(ErroriConservati) + 1);
        QCOMPARE(PianificaImportazione(stato, l, CodiciEsistenti::Salta).erroriOmessi, 5);

        QCOMPARE(LeggiCSV("Codice" + QByteArray(ColonneMassime, ';') + "\r\nA\r\n", stato).errore,
                 QStringLiteral("La prima riga del file ha pi\u00f9 di 200000 colonne: il file non sembra un elenco di "
                                "componenti."));
        QVERIFY(LeggiCSV("Codice" + QByteArray(ColonneMassime - 1, ';') + "\r\nA\r\n", stato).errore.isEmpty());
    }

    // A file that cannot be read: the shared reader's reason (the reader and its refusals are tested with it).
    void fileIlleggibile()
    {
        CartellaTest c;
        const QString manca = c.file(QStringLiteral("manca.csv"));
        QCOMPARE(LeggiFileCSV(manca, Stato()).errore,
                 QStringLiteral("Impossibile leggere il file %1: non \u00e8 un file normale o non \u00e8 leggibile.")
                     .arg(QDir::toNativeSeparators(manca)));
    }
};

QTEST_APPLESS_MAIN(TestImporta)
#include "tst_importa.moc"
