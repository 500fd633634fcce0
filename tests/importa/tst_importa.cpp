// Reading CSV files for the import and carrying an import out: the
// export's own format with either separator and either encoding, columns
// in another order, unreadable lines reported by number, the three choices
// for codes already stored, a failed save that changes nothing, the round
// trip through the export, and files that are not component lists at all.

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "components/regole.h"
#include "importa/importazione.h"
#include "reports/csv.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/cp1252.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QDir>
#include <QLocale>
#include <QStringEncoder>
#include <QTest>

namespace {

const QByteArray Intestazione = "Codice | Produttore | Tipo | Qt\xE0 | Inserito | Descrizione";

QDateTime Giorno(int a, int m, int g) { return QDateTime(QDate(a, m, g), QTime(0, 0), Qt::UTC); }

// Lines joined by CR LF, in Windows-1252 unless told otherwise.
QByteArray Righe(const QStringList &righe, bool utf8 = false)
{
    const QString testo = righe.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return utf8 ? testo.toUtf8() : CodificaCp1252(testo);
}

Componente Comp(qint32 id, const QString &codice, const QString &produttore, const QString &tipo,
                qint32 quantita)
{
    Componente c;
    c.ID = id;
    c.Codice = codice;
    c.NomeProduttore = produttore;
    c.NomeTipo = tipo;
    c.Quantita = quantita;
    c.DataInserimento = Giorno(2024, 3, 1);
    return c;
}

// A program folder made by a first start, with a type and a manufacturer
// and one component, NE555 (quantity 20).
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

    void formatoDellEsportazione_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QTest::addColumn<QString>("separatore");
        QTest::addColumn<QString>("codifica");
        const QStringList virgola = {QString::fromLatin1(Intestazione),
                                     QStringLiteral("ne555,TI,IC,20,02/05/2024,Timer pi\u00f9 preciso; 8 pin"),
                                     QStringLiteral("BC547C,ST,TR,-3,15/01/2023,")};
        QStringList puntoVirgola = virgola;
        puntoVirgola[1] = QStringLiteral("ne555;TI;IC;20;02/05/2024;Timer pi\u00f9 preciso, 8 pin");
        puntoVirgola[2] = QStringLiteral("BC547C;ST;TR;-3;15/01/2023;");
        const QByteArray bom = "\xEF\xBB\xBF";
        QTest::newRow("virgola, Windows-1252") << Righe(virgola) << "," << "Windows-1252";
        QTest::newRow("punto e virgola, Windows-1252") << Righe(puntoVirgola) << ";" << "Windows-1252";
        QTest::newRow("virgola, UTF-8") << Righe(virgola, true) << "," << "UTF-8";
        QTest::newRow("punto e virgola, UTF-8 con BOM") << bom + Righe(puntoVirgola, true) << ";" << "UTF-8";
        QStringEncoder le(QStringConverter::Utf16LE), be(QStringConverter::Utf16BE);
        const QString testo = virgola.join(QStringLiteral("\r\n"));
        QTest::newRow("virgola, UTF-16LE con BOM") << "\xFF\xFE" + QByteArray(le(testo)) << "," << "UTF-16";
        QTest::newRow("virgola, UTF-16BE con BOM") << "\xFE\xFF" + QByteArray(be(testo)) << "," << "UTF-16";
        // Without the final line end, and with bare LF line ends.
        QTest::newRow("LF, senza a capo finale") << Righe(virgola).replace("\r\n", "\n").chopped(1) << ","
                                                 << "Windows-1252";
        // An old Mac export: bare CR line ends.
        QTest::newRow("CR") << Righe(virgola).replace("\r\n", "\r") << "," << "Windows-1252";
    }
    void formatoDellEsportazione()
    {
        QFETCH(QByteArray, dati);
        QFETCH(QString, separatore);
        QFETCH(QString, codifica);
        Archivio a;
        const LetturaCSV l = a.leggi(dati);
        QCOMPARE(l.errore, QString());
        QCOMPARE(Errori(l.errori), QString());
        QCOMPARE(QString(l.separatore), separatore);
        QCOMPARE(l.codifica, codifica);
        QCOMPARE(l.righe.size(), 2);
        const Componente &c = l.righe[0].componente;
        QCOMPARE(l.righe[0].numero, 2);
        QCOMPARE(c.Codice, QStringLiteral("NE555")); // upper-cased as when saved
        QCOMPARE(c.NomeProduttore + '/' + c.NomeTipo, QStringLiteral("TI/IC"));
        QCOMPARE(c.Quantita, 20);
        QCOMPARE(c.DataInserimento, Giorno(2024, 5, 2));
        // The other separator stays in the description, passed through the
        // clean-up of saved text (a comma becomes " - ").
        QCOMPARE(c.Descrizione, separatore == ","
                                    ? QStringLiteral("Timer pi\u00f9 preciso; 8 pin")
                                    : QStringLiteral("Timer pi\u00f9 preciso -  8 pin"));
        QCOMPARE(l.righe[1].componente.Quantita, -3);
        QCOMPARE(l.righe[1].componente.Descrizione, QString());
    }

    // With the export's header the separator is not in it: the data lines
    // decide, and a tie goes to the separator of the options.
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

        // The more frequent separator of a header wins only when it gives a
        // "Codice" column.
        const LetturaCSV virgola = a.leggi(Righe({QStringLiteral("Codice,Qt\u00e0;Prezzo;Note"),
                                                  QStringLiteral("A1,3;x;y")}));
        QCOMPARE(virgola.errore, QString());
        QCOMPARE(virgola.separatore, QLatin1Char(','));
        QCOMPARE(virgola.righe.size(), 1);
        QCOMPARE(virgola.righe[0].componente.Quantita, 0);
    }

    void colonneInAltroOrdine()
    {
        Archivio a;
        a.stato.Etichette[4] = QStringLiteral("Scorta minima");
        const LetturaCSV l = a.leggi(Righe({
            QStringLiteral("Qt\u00e0;DESCRIZIONE; codice ;Prezzo;Tipo;Package;Scorta minima;Inserito;Note;Quantit\u00e0"),
            QStringLiteral("7;\"Regolatore; 1,5 A\";lm317t;0,80;REG;TO220;10;30/07/2025;\"cassetto \"\"3\"\"\";99"),
        }));
        QCOMPARE(l.errore, QString());
        QCOMPARE(Errori(l.errori), QString());
        QCOMPARE(l.separatore, QLatin1Char(';'));
        // A column named twice: the first one is read, the later one ignored.
        QCOMPARE(l.ignorate, QStringList({QStringLiteral("Prezzo"), QStringLiteral("Quantit\u00e0")}));
        QVERIFY(l.haPackage);
        QCOMPARE(l.righe.size(), 1);
        const RigaCSV &r = l.righe[0];
        QCOMPARE(r.componente.Codice, QStringLiteral("LM317T"));
        QCOMPARE(r.componente.Quantita, 7);
        QCOMPARE(r.componente.NomeTipo, QStringLiteral("REG"));
        QCOMPARE(r.componente.NomeProduttore, QString());
        QCOMPARE(r.componente.Descrizione, QStringLiteral("Regolatore; 1 - 5 A"));
        QCOMPARE(r.componente.Note, QStringLiteral("cassetto '3'"));
        QCOMPARE(r.componente.Extra4, QStringLiteral("10"));
        QCOMPARE(r.componente.DataInserimento, Giorno(2025, 7, 30));
        QCOMPARE(r.package, QStringLiteral("TO220"));
    }

    // A spreadsheet's "Unicode text": UTF-16 with its mark, tab-separated,
    // a field quoted where it holds a tab.
    void testoUnicodeDelFoglio()
    {
        Archivio a;
        QStringEncoder utf16(QStringConverter::Utf16LE);
        const QString testo = QStringLiteral("Codice\tQt\u00e0\tDescrizione, breve\r\n"
                                             "lm317\t7\t\"Regolatore\t1,5 A\"\r\n");
        const LetturaCSV l = a.leggi("\xFF\xFE" + QByteArray(utf16(testo)));
        QCOMPARE(l.errore, QString());
        QCOMPARE(Errori(l.errori), QString());
        QCOMPARE(l.codifica, QStringLiteral("UTF-16"));
        QCOMPARE(l.separatore, QLatin1Char('\t'));
        QCOMPARE(l.ignorate, QStringList{QStringLiteral("Descrizione, breve")});
        QCOMPARE(l.righe.size(), 1);
        QCOMPARE(l.righe[0].componente.Codice, QStringLiteral("LM317"));
        QCOMPARE(l.righe[0].componente.Quantita, 7);
    }

    void righeIlleggibili()
    {
        Archivio a;
        const LetturaCSV l = a.leggi(Righe({
            QString::fromLatin1(Intestazione),
            QStringLiteral("OK1,TI,IC,1,01/02/2024,uno"),
            QStringLiteral("CORTA,TI,IC,1"),
            QStringLiteral("QX,TI,IC,molti,01/02/2024,"),
            QStringLiteral(""),
            QStringLiteral("DX,TI,IC,3,31/02/2024,"),
            QStringLiteral("LUNGA,TI,IC,1,01/02/2024,a,b"),
            QStringLiteral(",TI,IC,1,01/02/2024,senza codice"),
            QStringLiteral("QV,TI,IC,,01/02/2024,"),
            QStringLiteral("\"APERTA,TI,IC,1,01/02/2024,"),
            QStringLiteral("GRANDE,TI,IC,99999999999,01/02/2024,"),
            QStringLiteral("OGGI,TI,IC,2,,senza data"),
        }));
        const LetturaCSV pin = a.leggi(Righe({QStringLiteral("Codice;Pins"), QStringLiteral("A;8"), QStringLiteral("B;otto"),
                                              QStringLiteral("C;"), QStringLiteral("D;1e99")}));
        QCOMPARE(Errori(pin.errori), QStringLiteral("3: numero di pin non valido: \"otto\"\n"
                                                    "5: numero di pin non valido: \"1e99\""));
        QCOMPARE(pin.righe.size(), 2);
        QCOMPARE(pin.righe[0].componente.Pins, 8);
        QCOMPARE(pin.righe[1].componente.Pins, 0);
        QCOMPARE(l.errore, QString());
        QCOMPARE(Errori(l.errori),
                 QStringLiteral("3: mancano colonne: 4 invece di 6\n"
                                "4: quantit\u00e0 non numerica: \"molti\"\n"
                                "6: data non valida: \"31/02/2024\"\n"
                                "7: troppe colonne: 7 invece di 6 (forse il separatore compare in un codice o in un nome)\n"
                                "8: manca il codice\n"
                                "9: manca la quantit\u00e0\n"
                                "10: virgolette aperte e mai chiuse\n"
                                "11: quantit\u00e0 fuori dai limiti: \"99999999999\""));
        QCOMPARE(l.righe.size(), 2);
        QCOMPARE(l.righe[0].numero, 2);
        QCOMPARE(l.righe[1].numero, 12);
        // A line without a date takes today's, as a component entered now.
        QCOMPARE(l.righe[1].componente.DataInserimento, Giorno(2026, 12, 5));
    }

    // A UTF-8 file may hold characters the Windows-1252 files cannot: the
    // line is refused with its number, the character and its column, so
    // nothing is stored as "?" while memory shows something else. "€" has
    // a code there and passes. Codes are upper-cased within the code page:
    // "é" becomes "É", "µ" and "ß" stay as written.
    void caratteriNonSalvabili()
    {
        Archivio a;
        const LetturaCSV l = a.leggi(Righe({
            QStringLiteral("Codice;Descrizione;Produttore;Tipo;Package;Note;Extra3"),
            QStringLiteral("r1;Resistenza 10 \u2126;TI;IC;;;"),
            QStringLiteral("prezzo€;costa 2 €;TI;IC;;;"),
            QStringLiteral("c\u00e9\u00b5\u00df;;TI;IC;;;"),
            QStringLiteral("X\u03c9;;TI;IC;;;"),
            QStringLiteral("P1;;TI \u4e2d;IC;;;"),
            QStringLiteral("P2;;TI;IC \U0001F600;;;"),
            QStringLiteral("P3;;TI;IC;SOT\u201023;;"),
            QStringLiteral("P4;;TI;IC;;nota \u2260;"),
            QStringLiteral("P5;;TI;IC;;;\u03bc"),
        }, true));
        QCOMPARE(l.codifica, QStringLiteral("UTF-8"));
        QCOMPARE(Errori(l.errori),
                 QStringLiteral("2: il carattere \"\u2126\" (descrizione) non pu\u00f2 essere salvato nei file dei dati\n"
                                "5: il carattere \"\u03c9\" (codice) non pu\u00f2 essere salvato nei file dei dati\n"
                                "6: il carattere \"\u4e2d\" (produttore) non pu\u00f2 essere salvato nei file dei dati\n"
                                "7: il carattere \"\U0001F600\" (tipo) non pu\u00f2 essere salvato nei file dei dati\n"
                                "8: il carattere \"\u2010\" (package) non pu\u00f2 essere salvato nei file dei dati\n"
                                "9: il carattere \"\u2260\" (note) non pu\u00f2 essere salvato nei file dei dati\n"
                                "10: il carattere \"\u03bc\" (campo 3) non pu\u00f2 essere salvato nei file dei dati"));
        QCOMPARE(l.righe.size(), 2);
        QCOMPARE(l.righe[0].componente.Codice, QStringLiteral("PREZZO€"));
        QCOMPARE(l.righe[0].componente.Descrizione, QStringLiteral("costa 2 €"));
        QCOMPARE(l.righe[1].componente.Codice, QStringLiteral("C\u00c9\u00b5\u00df"));

        // What is imported is what a restart loads back.
        Archivio b;
        const PianoImportazione piano = PianificaImportazione(b.stato, l, CodiciEsistenti::Aggiungi);
        QVERIFY(EseguiImportazione(b.stato, piano, b.dialoghi));
        Stato ricaricato;
        DialoghiFinti d;
        QVERIFY(Main(ricaricato, d, b.cartella.percorso()));
        QCOMPARE(ricaricato.NumComponenti, 3);
        for (qint32 pos = 2; pos <= 3; ++pos) {
            QCOMPARE(ricaricato.componente(pos).Codice, b.stato.componente(pos).Codice);
            QCOMPARE(ricaricato.componente(pos).Descrizione, b.stato.componente(pos).Descrizione);
        }
    }

    void codiciEsistenti_data()
    {
        QTest::addColumn<int>("scelta");
        QTest::addColumn<QStringList>("risultato"); // code=quantity of the table after the import
        QTest::addColumn<int>("saltati");
        // The file: NE555 (stored, 20) +5, NUOVO 3, NUOVO again 4.
        QTest::newRow("aggiungi comunque") << int(CodiciEsistenti::Aggiungi)
                                           << QStringList{"NE555=20", "NE555=5", "NUOVO=3", "NUOVO=4"} << 0;
        QTest::newRow("salta") << int(CodiciEsistenti::Salta) << QStringList{"NE555=20", "NUOVO=3"} << 2;
        QTest::newRow("somma") << int(CodiciEsistenti::SommaQuantita) << QStringList{"NE555=25", "NUOVO=7"} << 0;
    }
    void codiciEsistenti()
    {
        QFETCH(int, scelta);
        QFETCH(QStringList, risultato);
        QFETCH(int, saltati);
        Archivio a;
        // A new component and a new type whose save failed left their slots
        // past the counts: the import writes over them.
        a.stato.Componenti.append(Comp(2, QStringLiteral("FALLITO"), QStringLiteral("TI"), QStringLiteral("IC"), 9));
        a.stato.Tipi.append({2, QStringLiteral("FALLITO")});
        const LetturaCSV l = a.elenco({"NE555,TI,IC,5,01/02/2024,", "NUOVO,NXP,TR,3,01/02/2024,",
                                          "NUOVO,NXP,TR,4,01/02/2024,"});
        const PianoImportazione piano = PianificaImportazione(a.stato, l, CodiciEsistenti(scelta));
        QCOMPARE(piano.saltati, saltati);
        QVERIFY(EseguiImportazione(a.stato, piano, a.dialoghi));
        QStringList tabella;
        for (qint32 i = 1; i <= a.stato.NumComponenti; ++i)
            tabella << a.stato.componente(i).Codice + '=' + QString::number(a.stato.componente(i).Quantita);
        QCOMPARE(tabella, risultato);
        // IDs follow the counter; the new type and manufacturer are created once.
        QCOMPARE(a.stato.ProssimoIDComponente, 2 + a.stato.NumComponenti - 1);
        QCOMPARE(a.stato.NumTipi, 2);
        QCOMPARE(a.stato.tipo(2).Nome + a.stato.produttore(2).Nome, QStringLiteral("TRNXP"));
        QCOMPARE(a.stato.ProssimoIDTipo, 3);
        const qint32 nuovo = a.stato.NumComponenti - (scelta == int(CodiciEsistenti::Aggiungi) ? 1 : 0);
        QCOMPARE(a.stato.componente(nuovo).Codice, QStringLiteral("NUOVO"));
        QCOMPARE(a.stato.componente(nuovo).IDTipo, 2);
        QCOMPARE(a.stato.componente(nuovo).IDProduttore, 2);
        QCOMPARE(a.stato.componente(nuovo).ID, nuovo);
        // Memory and the files agree, and the total of pieces follows.
        qint64 totale = 0;
        for (qint32 i = 1; i <= a.stato.NumComponenti; ++i)
            totale += a.stato.componente(i).Quantita;
        QCOMPARE(a.stato.TotalePezzi, totale);
        Stato letto;
        QVERIFY(Main(letto, a.dialoghi, a.cartella.percorso()));
        QCOMPARE(letto.Componenti.mid(0, letto.NumComponenti), a.stato.Componenti.mid(0, a.stato.NumComponenti));
        QCOMPARE(letto.Tipi.mid(0, letto.NumTipi), a.stato.Tipi.mid(0, a.stato.NumTipi));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Names are looked up as the program does: exactly, the first entry of
    // a name winning; an empty name names nothing and creates nothing.
    void nomiDelleTabelle()
    {
        Archivio a;
        a.stato.Tipi = {{7, QStringLiteral("IC")}, {3, QStringLiteral("IC")}, {9, QStringLiteral("TR")}};
        a.stato.NumTipi = 3;
        a.stato.ProssimoIDTipo = 10;
        const LetturaCSV l = a.elenco({"A1,,IC,1,01/02/2024,", "A2,TI,ic,1,01/02/2024,", "A3,TI,,1,01/02/2024,",
                                          "A4,TI,ic,1,01/02/2024,"});
        const PianoImportazione piano = PianificaImportazione(a.stato, l, CodiciEsistenti::Aggiungi);
        QCOMPARE(piano.nuovi[0].IDTipo, 7);
        QCOMPARE(piano.nuovi[0].IDProduttore, 0);
        QCOMPARE(piano.nuovi[1].IDTipo, 10);
        QCOMPARE(piano.nuovi[2].IDTipo, 0);
        QCOMPARE(piano.nuovi[3].IDTipo, 10);
        QCOMPARE(piano.nuoviTipi, (QList<Tipo>{{10, QStringLiteral("ic")}}));
        QVERIFY(piano.nuoviProduttori.isEmpty());
    }

    // A sum past the 32-bit range is refused for that line alone.
    void sommaOltreIlLimite()
    {
        Archivio a;
        const LetturaCSV l = a.elenco({"NE555,TI,IC,2147483647,01/02/2024,", "ALTRO,TI,IC,1,01/02/2024,"});
        const PianoImportazione piano = PianificaImportazione(a.stato, l, CodiciEsistenti::SommaQuantita);
        QCOMPARE(Errori(piano.errori), QStringLiteral("2: la quantit\u00e0 sommata a quella di NE555 supererebbe il limite"));
        QVERIFY(piano.quantita.isEmpty());
        QCOMPARE(piano.nuovi.size(), 1);
    }

    // Planning changes nothing; a save that fails leaves memory and every
    // file as they were, and says so.
    void pianoEGuasto()
    {
        Archivio a;
        const auto prima = Istantanea(a.cartella.percorso());
        const QList<Componente> componenti = a.stato.Componenti;
        const LetturaCSV l = a.elenco({"NE555,TI,IC,5,01/02/2024,", "NUOVO,NXP,TR,3,01/02/2024,"});
        const PianoImportazione piano = PianificaImportazione(a.stato, l, CodiciEsistenti::SommaQuantita);
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
            QCOMPARE(a.stato.NumComponenti, 1);
            QCOMPARE(a.stato.NumTipi, 1);
            QCOMPARE(a.stato.ProssimoIDComponente, 2);
            QCOMPARE(a.stato.TotalePezzi, 20);
            QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        }
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void idEsauriti()
    {
        Archivio a;
        a.stato.ProssimoIDComponente = 2147483646;
        const LetturaCSV l = a.elenco({"A1,TI,IC,1,01/02/2024,", "A2,TI,IC,1,01/02/2024,"});
        PianoImportazione piano = PianificaImportazione(a.stato, l, CodiciEsistenti::Aggiungi);
        QVERIFY(piano.errore.contains(QStringLiteral("Prossimo ID Componente")));
        QVERIFY(!EseguiImportazione(a.stato, piano, a.dialoghi));
        QCOMPARE(a.stato.NumComponenti, 1);
        // One line fits: the last ID is 2147483646, the counter stops at the limit.
        const LetturaCSV una = a.elenco({"A1,TI,IC,1,01/02/2024,"});
        piano = PianificaImportazione(a.stato, una, CodiciEsistenti::Aggiungi);
        QCOMPARE(piano.errore, QString());
        QVERIFY(EseguiImportazione(a.stato, piano, a.dialoghi));
        QCOMPARE(a.stato.componente(2).ID, 2147483646);
        QCOMPARE(a.stato.ProssimoIDComponente, 2147483647);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The export imported into a new, empty program folder gives back every
    // component with the fields the export holds, in table order, and the
    // types and manufacturers they name.
    void andataERitorno_data()
    {
        QTest::addColumn<QString>("separatore");
        QTest::newRow("virgola") << ",";
        QTest::newRow("punto e virgola") << ";";
    }
    void andataERitorno()
    {
        QFETCH(QString, separatore);
        CartellaTest origine;
        Stato s;
        DialoghiFinti d;
        QVERIFY(Main(s, d, origine.percorso()));
        RiempiStatoDiEsempio(s);
        s.SeparatoreCSV = separatore;
        // Stored data as the program saves it: descriptions cleaned; and no
        // separator inside codes and names, which the export cannot carry.
        for (Componente &c : s.Componenti) {
            c.Descrizione = PulisciTesto(c.Descrizione).replace(separatore, QStringLiteral(" "));
            c.Codice.replace(separatore, QStringLiteral(" "));
            c.NomeTipo.replace(separatore, QStringLiteral(" "));
            c.NomeProduttore.replace(separatore, QStringLiteral(" "));
        }
        QVERIFY(EsportaCSV(s, d));

        CartellaTest vuota;
        Stato nuovo;
        QVERIFY(Main(nuovo, d, vuota.percorso()));
        const LetturaCSV l = LeggiFileCSV(s.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv"), nuovo);
        QCOMPARE(l.errore, QString());
        QCOMPARE(Errori(l.errori), QString());
        const PianoImportazione piano = PianificaImportazione(nuovo, l, CodiciEsistenti::Aggiungi);
        QVERIFY(EseguiImportazione(nuovo, piano, d));

        Stato riletto;
        QVERIFY(Main(riletto, d, vuota.percorso()));
        QCOMPARE(riletto.NumComponenti, s.NumComponenti);
        for (qint32 i = 1; i <= s.NumComponenti; ++i) {
            const Componente &o = s.componente(i);
            const Componente &c = riletto.componente(i);
            QCOMPARE(c.Codice, o.Codice);
            QCOMPARE(c.NomeProduttore, o.NomeProduttore);
            QCOMPARE(c.NomeTipo, o.NomeTipo);
            QCOMPARE(c.Quantita, o.Quantita);
            QCOMPARE(c.DataInserimento.date(), o.DataInserimento.date());
            QCOMPARE(c.Descrizione, o.Descrizione);
            QCOMPARE(c.CodiceNumerico, o.CodiceNumerico);
            QCOMPARE(c.ID, i);
            // Names and IDs agree in the new tables.
            QCOMPARE(c.IDTipo == 0, o.NomeTipo.isEmpty());
            if (c.IDTipo != 0)
                QCOMPARE(riletto.Tipi[c.IDTipo - 1].Nome, o.NomeTipo);
            if (c.IDProduttore != 0)
                QCOMPARE(riletto.Produttori[c.IDProduttore - 1].Nome, o.NomeProduttore);
        }
        // And exporting again gives the same file.
        riletto.SeparatoreCSV = separatore;
        QCOMPARE(TestoCSV(riletto), TestoCSV(s));
        VERIFICA_DIALOGHI(d);
    }

    void fileCheNonSonoElenchi_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QTest::addColumn<QString>("errore");
        QByteArray binario(4096, '\0');
        for (int i = 0; i < binario.size(); ++i)
            binario[i] = char((i * 7919) % 251);
        QTest::newRow("binario") << binario << "Il file non \u00e8 un testo CSV: contiene dati binari.\r\n"
                                               "Scegliere un file esportato come testo CSV.";
        QTest::newRow("vuoto") << QByteArray() << "Il file \u00e8 vuoto: non c'\u00e8 nessun componente da importare.";
        QTest::newRow("solo righe vuote") << QByteArray("\r\n  \r\n\r\n")
                                          << "Il file \u00e8 vuoto: non c'\u00e8 nessun componente da importare.";
        QTest::newRow("spazi non separabili") << QByteArray("\xA0\xA0\r\n\xA0 \r\n")
                                              << "Il file \u00e8 vuoto: non c'\u00e8 nessun componente da importare.";
        QTest::newRow("solo intestazione") << (Intestazione + "\r\n\r\n")
                                           << "Il file contiene solo l'intestazione: non c'\u00e8 nessun componente da importare.";
        QTest::newRow("senza Codice") << QByteArray("Nome;Prezzo\r\nA;1\r\n")
                                      << "Nella prima riga del file manca la colonna \"Codice\":\r\n"
                                         "il file non sembra un elenco di componenti esportato come testo CSV.";
        // UTF-16 is told by its byte-order mark, not taken for binary data.
        QTest::newRow("UTF-16, solo intestazione") << QByteArray("\xFF\xFE" "C\0o\0d\0i\0c\0e\0", 14)
                                                   << "Il file contiene solo l'intestazione: non c'\u00e8 nessun "
                                                      "componente da importare.";
        QTest::newRow("UTF-16 senza BOM") << QByteArray("C\0o\0d\0i\0c\0e\0\r\0\n\0A\0", 18)
                                          << "Il file non \u00e8 un testo CSV: contiene dati binari.\r\n"
                                             "Scegliere un file esportato come testo CSV.";
        QTest::newRow("prima riga enorme") << QByteArray(LunghezzaMassimaIntestazione + 10, 'x')
                                           << "La prima riga del file \u00e8 troppo lunga per essere un'intestazione "
                                              "di colonne: il file non sembra un testo CSV.";
    }
    void fileCheNonSonoElenchi()
    {
        QFETCH(QByteArray, dati);
        QFETCH(QString, errore);
        Archivio a;
        const LetturaCSV l = a.leggi(dati);
        QCOMPARE(l.errore, errore);
        QVERIFY(l.righe.isEmpty());
    }

    // 100,000 columns and a line of several megabytes: a preview with the
    // reasons, read in one linear pass.
    void righeEColonneEnormi()
    {
        Archivio a;
        QByteArray larga = "Codice";
        QByteArray dati = "A1";
        for (int i = 1; i < 100000; ++i) {
            larga += ";c" + QByteArray::number(i);
            dati += ";" + QByteArray::number(i);
        }
        LetturaCSV l = a.leggi(larga + "\r\n" + dati + "\r\n" + "A2;1\r\n");
        QCOMPARE(l.errore, QString());
        QCOMPARE(l.ignorate.size(), 99999);
        QCOMPARE(l.righe.size(), 1);
        QCOMPARE(l.righe[0].componente.Codice, QStringLiteral("A1"));
        QCOMPARE(Errori(l.errori), QStringLiteral("3: mancano colonne: 2 invece di 100000"));

        const QByteArray lunga = "A3,TI,IC,1,01/02/2024," + QByteArray(5 * 1024 * 1024, 'd');
        l = a.elenco({"A2,TI,IC,1,01/02/2024,breve", lunga.constData()});
        QCOMPARE(l.righe.size(), 1);
        QCOMPARE(Errori(l.errori), QStringLiteral("3: riga troppo lunga (5242902 caratteri, al massimo 1048576)"));
    }

    // A file of nothing but unreadable lines keeps the first ones and
    // counts the rest; a header of too many columns is refused outright.
    void moltiErrori()
    {
        Archivio a;
        QByteArray dati = Intestazione + "\r\n";
        const int righe = int(ErroriConservati) + 5;
        for (int i = 0; i < righe; ++i)
            dati += "X\r\n";
        const LetturaCSV l = a.leggi(dati);
        QCOMPARE(l.errori.size(), ErroriConservati);
        QCOMPARE(l.erroriOmessi, 5);
        QCOMPARE(l.errori.last().numero, int(ErroriConservati) + 1);
        QCOMPARE(PianificaImportazione(a.stato, l, CodiciEsistenti::Salta).erroriOmessi, 5);

        const QByteArray troppe = "Codice" + QByteArray(ColonneMassime, ';') + "\r\nA\r\n";
        QCOMPARE(a.leggi(troppe).errore, QStringLiteral("La prima riga del file ha pi\u00f9 di 200000 colonne: "
                                                        "il file non sembra un elenco di componenti."));
        QVERIFY(a.leggi("Codice" + QByteArray(ColonneMassime - 1, ';') + "\r\nA\r\n").errore.isEmpty());
    }

    // Reading from disk goes through the shared reader, whose refusals of
    // folders and FIFOs are tested with it.
    void fileDaDisco()
    {
        Archivio a;
        const QString manca = a.cartella.file(QStringLiteral("manca.csv"));
        QCOMPARE(LeggiFileCSV(manca, a.stato).errore,
                 QStringLiteral("Impossibile leggere il file %1: non \u00e8 un file normale o non \u00e8 leggibile.")
                     .arg(QDir::toNativeSeparators(manca)));
        a.cartella.scrivi(QStringLiteral("x.csv"), Intestazione + "\r\nA,B,C,1,01/01/2020,d\r\n");
        QCOMPARE(LeggiFileCSV(a.cartella.file(QStringLiteral("x.csv")), a.stato).righe.size(), 1);
    }
};

QTEST_APPLESS_MAIN(TestImporta)
#include "tst_importa.moc"
