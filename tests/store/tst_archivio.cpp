// The data store without a window: Info.ini keys and sections, the table files read and written (by two threads
// when large), the code page, lookups, and the remembered state of the main window.
#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "store/aiutiarchivio.h"
#include "store/cp1252.h"
#include "store/filetabelle.h"
#include "store/ini.h"
#include "store/ricerche.h"
#include "store/stato.h"
#include "store/statofinestra.h"
#include "store/tabelle.h"

#include <limits>


namespace {

// A state on a fresh program folder holding the given files.
struct Archivio {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;

    // Info.ini holding the given bytes (none at all for a null array).
    explicit Archivio(const QByteArray &ini, const QByteArray &tipi = {}, const QByteArray &componenti = {})
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        if (!ini.isNull())
            cartella.scrivi("Info.ini", ini);
        cartella.scrivi("Tipi.dat", tipi);
        cartella.scrivi("Produttori.dat", {});
        cartella.scrivi("Packages.dat", {});
        cartella.scrivi("Componenti.dat", componenti);
    }
    QString ini() const { return stato.percorsi.FileIni; }
};

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

class TestArchivio : public QObject {
    Q_OBJECT
private slots:
    void leggiChiave()
    {
        Archivio a("[Uno]\r\nA=1\r\nB = due  \r\nVuota=\r\nUguale=x=y\r\n[Due]\r\nA=altro\r\nA=secondo\r\n"
                   "  [ Tre ]  \nK =perch\xE9\nLunga=" + QByteArray(3000, 'x') + "\n");
        const auto leggi = [&](const char *s, const char *k) { return LeggiChiaveIni(s, k, "predefinito", a.ini()); };
        QCOMPARE(leggi("uNO", "b"), "due");          // names ignore case, blanks trimmed
        QCOMPARE(leggi("Uno", "Vuota"), "");         // an empty value is not the default
        QCOMPARE(leggi("Uno", "Uguale"), "x=y");
        QCOMPARE(leggi("Due", "A"), "altro");        // the first in its own section
        QCOMPARE(leggi("Due", "B"), "predefinito");  // missing key
        QCOMPARE(leggi("Quattro", "A"), "predefinito");
        QCOMPARE(leggi("Tre", "K"), "perché");       // LF line ends, blanks around the section
        QCOMPARE(leggi("Tre", "Lunga"), QString(2047, QLatin1Char('x')));
        QCOMPARE(LeggiChiaveIni("Uno", "A", "predefinito", a.ini() + ".manca"), "predefinito");
    }

    void scriviChiave()
    {
        const auto scrivi = [](const QByteArray &prima, const char *sezione, const char *chiave,
                               const QString &valore) {
            Archivio a(prima);
            ScriviChiaveIni(sezione, chiave, valore, a.ini());
            return a.cartella.leggi("Info.ini");
        };
        const QByteArray base = "; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\n\r\n[Due]\r\nB=2\r\n";
        // Replaced in place, names matched whatever their case, the rest kept.
        QCOMPARE(scrivi(base, "uno", "altro", "nuovo"),
                 QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro=nuovo\r\n\r\n[Due]\r\nB=2\r\n"));
        // A new key goes after the last of its section, a new section at the end.
        QCOMPARE(scrivi(base, "Uno", "C", "3"),
                 QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\nC=3\r\n\r\n[Due]\r\nB=2\r\n"));
        QCOMPARE(scrivi(base, "Tre", "D", " spazi "),
                 QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\n\r\n[Due]\r\nB=2\r\n[Tre]\r\nD= spazi \r\n"));
        QCOMPARE(scrivi("[S]\r\nK=v\r\n", "S", "K", ""), QByteArray("[S]\r\nK=\r\n"));
        QCOMPARE(scrivi("[S]\nK=v", "S", "K", "w"), QByteArray("[S]\r\nK=w\r\n")); // LF file becomes CR LF
        QCOMPARE(scrivi(QByteArray(), "S", "K", "città € Ω\U0001F600"), // new file; one "?" a character
                 QByteArray("[S]\r\nK=citt\xE0 \x80 ??\r\n"));
        QCOMPARE(scrivi("", "S", "K", "a\r\nb"), QByteArray("[S]\r\nK=a  b\r\n"));
    }

    void infoBooleaniEContatori()
    {
        const auto leggi = [](const QByteArray &righe) {
            Archivio a("[Options]\r\n" + righe + "\r\n[Counter]\r\n" + righe + "\r\n");
            QString errore;
            return LeggiInfo(a.stato, &errore) ? QStringLiteral("%1 %2").arg(a.stato.TemaChiaro).arg(a.stato.NumTipi)
                                               : errore;
        };
        QCOMPARE(leggi("Tema Chiaro=True"), "1 0");
        QCOMPARE(leggi("Tema Chiaro=Vero"), "1 0");
        QCOMPARE(leggi("Tema Chiaro=true"), "0 0");
        QCOMPARE(leggi("Tema Chiaro="), "0 0");
        QCOMPARE(leggi("Altro=x"), "1 0"); // missing keys read as their defaults
        QCOMPARE(leggi("Numero Tipi=  -3  "), "1 -3");
        QCOMPARE(leggi("Numero Tipi=2.5"), "1 2"); // halves to even
        QCOMPARE(leggi("Numero Tipi=3.5"), "1 4");
        for (const char *valore : {"Numero Tipi=dieci", "Numero Tipi=10x", "Numero Tipi="})
            QCOMPARE(leggi(valore), "Tipo non corrispondente: il valore di \"Numero Tipi\" in Info.ini "
                                    "non è un numero valido");
    }

    void fileEAndataERitorno() // tables and Info.ini
    {
        Archivio a({}, "vecchio\r\n", "vecchio\r\n");
        RiempiStatoDiEsempio(a.stato);
        a.stato.ImmaginiReali = true;
        a.stato.SeparatoreCSV = ";";
        a.stato.Etichette = {QString(), "Tensione", "Corrente", "", "Ω", "à", "  x  "};
        a.stato.Versione = "qualsiasi"; // the program's own version is written instead
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.stato.TotalePezzi, qint64(10 - 25));
        // Negative numbers, commas inside quotes, one byte per accented letter, a time of day only when there is one.
        QCOMPARE(a.cartella.leggi("Componenti.dat"),
                 QByteArray("12,3,5,2,8,\"INTEGRATO\",\"ACME\",\"NE555\",555,\"Timer di precisione\",\"\","
                            "\"NE555.jpg\",10,\"\",#2024-10-09#,\"\",\"\",\"\",\"\",\"\",\"\"\r\n")
                     + "13,4,6,0,-3,\"TRANSISTOR, BJT\",\"Societ\xE0 Pi\xF9\",\"BC547B\",547,"
                       "\"NPN, 45 V; \xE8 cos\xEC\",\"bc547.pdf\",\"\",-25,\"  spazi  \","
                       "#1999-01-31 13:05:59#,\"uno\",\"\",\"\",\"\",\"\",\"sei, ultimo\"\r\n");
        QCOMPARE(a.cartella.leggi("Tipi.dat"), QByteArray("3,\"INTEGRATO\"\r\n4,\"TRANSISTOR, BJT\"\r\n"));
        QCOMPARE(a.cartella.leggi("Produttori.dat"), QByteArray("5,\"ACME\"\r\n6,\"Societ\xE0 Pi\xF9\"\r\n"));
        QCOMPARE(a.cartella.leggi("Packages.dat"),
                 QByteArray("2,\"DIP8\",\"Dual in line 8 pin\",\"dip8.jpg\"\r\n7,\"TO-92\",\"\",\"\"\r\n"));

        Componente vuoto; // every text empty, no date
        vuoto.ID = 20;
        a.stato.Componenti.append(vuoto);
        a.stato.NumComponenti = 3;
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        Stato letto;
        letto.percorsi = a.stato.percorsi;
        QVERIFY(LeggiInfo(letto));
        QVERIFY(CaricaDatabase(letto, a.dialoghi));
        QVERIFY(StessiDati(letto, a.stato));
        QCOMPARE(letto.Versione, "10.2.0");
        QVERIFY(letto.ImmaginiReali && !letto.TemaChiaro);
        QCOMPARE(letto.SeparatoreCSV, ";");
        QCOMPARE(letto.Etichette, (std::array<QString, 7>{QString(), "Tensione", "Corrente", "", "?", "à", "x"}));
        QCOMPARE(letto.Componenti[1].DataInserimento.timeSpec(), Qt::UTC);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void codifica()
    {
        QByteArray tutti(256, '\0');
        for (int i = 0; i < 256; ++i)
            tutti[i] = char(i);
        QCOMPARE(CodificaCp1252(DecodificaCp1252(tutti)), tutti);
        // One "?" per character the code page lacks, surrogate pairs included.
        const QByteArray testo = TestoTipi({{1, "Ω€ \U0001F600 ñ™"}}, 1);
        QCOMPARE(testo, QByteArray("1,\"?\x80 ? \xF1\x99\"\r\n"));
        QList<Tipo> letti;
        QVERIFY(LeggiTipi(testo, 1, &letti));
        QCOMPARE(letti.first().Nome, QStringLiteral("?€ ? ñ™"));
    }

    void regoleDiLettura_data()
    {
        Colonne<QByteArray, QList<Package>>("dati", "attesi");
        const Package p1{1, "A", "B", "C"}, p2{2, "D", "E", "F"};
        const auto riga = [](const char *nome, const QByteArray &dati, const QList<Package> &attesi) {
            QTest::newRow(nome) << dati << attesi;
        };
        riga("LF only", "1,\"A\",\"B\",\"C\"\n2,\"D\",\"E\",\"F\"\n", {p1, p2});
        riga("CR only", "1,\"A\",\"B\",\"C\"\r2,\"D\",\"E\",\"F\"\r", {p1, p2});
        riga("no final line end", "1,\"A\",\"B\",\"C\"", {p1});
        riga("record over lines", "1,\"A\"\r\n\"B\"\r\n\"C\"\r\n2\r\n\"D\",\"E\"\r\n\"F\"\r\n", {p1, p2});
        riga("blanks before items", "  1, \t\"A\",   \"B\",\"C\"\r\n", {p1});
        riga("text after closing quote", "1,\"A\"xyz zy,\"B\" ,\"C\"junk\r\n", {p1});
        riga("letters in a number", "x1,\"A\",\"B\",\"C\"\r\n", {{0, "A", "B", "C"}});
        riga("quoted number, fraction", "\"7\",\"A\",\"B\",\"C\"\r\n2.5,\"D\",\"E\",\"F\"\r\n", {{7, "A", "B", "C"}, p2});
        riga("unquoted texts", "1,A,B  ,C\r\n", {p1});
        riga("empty items", "1,,,\r\n", {{1, "", "", ""}});
        riga("empty lines between", "1,\"A\",\"B\",\"C\"\r\n\r\n\r\n2,\"D\",\"E\",\"F\"\r\n", {p1, p2});
        riga("line break inside quotes", "1,\"A\r\nA\",\"B\",\"C\"\r\n", {{1, "A\r\nA", "B", "C"}});
        riga("binary bytes inside quotes", QByteArray("1,\"\x00\x01\xFF\",\"B\",\"C\"\r\n", 18),
             {{1, QString::fromLatin1("\x00\x01\xFF", 3), "B", "C"}});
    }
    void regoleDiLettura()
    {
        const auto [dati, attesi] = Valori<QByteArray, QList<Package>>("dati", "attesi");
        QList<Package> letti;
        QVERIFY(LeggiPackages(dati, attesi.size(), &letti));
        QCOMPARE(letti, attesi);
    }

    // The table files are the truth: records beyond a count that is too low (hand-edited, negative) are loaded and the
    // count raised; blank lines and a record cut short at the end count for nothing.
    void recordOltreIlConteggio_data()
    {
        Colonne<QByteArray, qint32, qint32>("tipi", "dichiarati", "caricati");
        const QByteArray tre = "1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n";
        QTest::newRow("as many as counted") << tre << 3 << 3;
        QTest::newRow("one more") << tre << 2 << 3;
        QTest::newRow("count zero") << tre << 0 << 3;
        QTest::newRow("count below zero") << tre << INT_MIN << 3;
        QTest::newRow("blank lines after the last") << tre + "\r\n  \r\n\r\n" << 3 << 3;
        QTest::newRow("a record cut short after them") << tre + "garbage\"\r\n" << 2 << 3;
        QTest::newRow("one record over two lines") << QByteArray("1,\r\n\"A\"\r\n") << 1 << 1;
        QTest::newRow("last line without its end") << QByteArray("1,\"A\"\r\n2,\"B\"") << 1 << 2;
    }
    void recordOltreIlConteggio()
    {
        const auto [tipi, dichiarati, caricati] = Valori<QByteArray, qint32, qint32>("tipi", "dichiarati", "caricati");
        Archivio a({}, tipi, QByteArray("\"\x01\0\xFF,#", 6));
        a.stato.NumTipi = dichiarati;
        a.stato.NumComponenti = INT_MIN; // garbage holds no record: nothing to load
        QList<ConteggioCorretto> corretti;
        QVERIFY(CaricaDatabase(a.stato, a.dialoghi, &corretti));
        QCOMPARE(a.stato.NumTipi, caricati);
        QCOMPARE(a.stato.Tipi.size(), caricati);
        QCOMPARE(a.stato.Tipi.last().ID, caricati);
        QVERIFY(a.stato.NumComponenti == 0 && a.stato.Componenti.isEmpty());
        if (caricati > qMax(dichiarati, 0)) {
            QCOMPARE(corretti.size(), 1);
            QVERIFY(corretti[0].tabella == TabellaFile::Tipi);
            QCOMPARE(corretti[0].dichiarato, dichiarati);
            QCOMPARE(corretti[0].trovato, caricati);
        } else {
            QVERIFY(corretti.isEmpty());
        }
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.cartella.leggi("Tipi.dat"), TestoTipi(a.stato.Tipi, caricati));
        QCOMPARE(a.cartella.leggi("Componenti.dat"), QByteArray());
    }

    void ricercheEConteggio()
    {
        Stato s;
        RiempiStatoDiEsempio(s);
        s.Componenti.append(s.Componenti[0]);
        s.Tipi.append({9, "INTEGRATO"});
        s.NumComponenti = s.NumTipi = 3;
        QCOMPARE(PosPackageDaID(s, 7), 2);
        QCOMPARE(PosComponenteDaCodice(s, "NE555"), 1); // first match
        QCOMPARE(IDTipoDaNome(s, "INTEGRATO"), 3);
        QCOMPARE(IDTipoDaNome(s, "Integrato"), 0); // exact
        s.NumTipi = 1; // slots beyond the count are never searched nor counted
        QCOMPARE(PosTipoDaID(s, 4), 0);
        s.Componenti[0].Quantita = s.Componenti[1].Quantita = INT_MAX;
        s.NumComponenti = 2;
        ContaPezzi(s);
        QCOMPARE(s.TotalePezzi, qint64(INT_MAX) * 2);
    }

    // The [Finestra] section of Info.ini: what is believed of it, what is
    // written, and where a remembered window goes on the screens there are.
    void finestraLettura_data()
    {
        Colonne<QByteArray, QRect, bool, QList<int>, int>("sezione", "geometria", "massimizzata", "colonne", "colonna");
        Colonne<int>("ordine");
        const QByteArray buona = "X=-8\r\nY=20\r\nLarghezza=1100\r\nAltezza=620\r\nMassimizzata=true\r\n"
                                 "Larghezza colonne=110, 125,60,50,90\r\nColonna ordinamento=5\r\nOrdine=crescente\r\n";
        QTest::newRow("tutto") << buona << QRect(-8, 20, 1100, 620) << true << QList<int>{110, 125, 60, 50, 90} << 5 << 0;
        // Any value out of its range or not a plain number: that part is not believed.
        const auto ignorata = [](const char *nome, const QByteArray &sezione) {
            QTest::newRow(nome) << sezione << QRect() << false << QList<int>{} << 0 << -1;
        };
        ignorata("niente", QByteArray());
        ignorata("larghezza zero", "X=0\r\nY=0\r\nLarghezza=0\r\nAltezza=600\r\n");
        ignorata("negativa", "X=0\r\nY=0\r\nLarghezza=800\r\nAltezza=-1\r\n");
        ignorata("enorme", "X=0\r\nY=0\r\nLarghezza=16385\r\nAltezza=600\r\n");
        ignorata("altezza enorme", "X=0\r\nY=0\r\nLarghezza=800\r\nAltezza=16385\r\n");
        QTest::newRow("al limite") << QByteArray("X=-16384\r\nY=16384\r\nLarghezza=16384\r\nAltezza=1\r\n")
                                   << QRect(-16384, 16384, 16384, 1) << false << QList<int>{} << 0 << -1;
        ignorata("oltre int", "X=0\r\nY=0\r\nLarghezza=4294967396\r\nAltezza=600\r\n");
        ignorata("testo e numeri", "X=10px\r\nY=0\r\nLarghezza=800\r\nAltezza=600\r\n");
        ignorata("cifre non latine", "X=\xd9\xa1\r\nY=0\r\nLarghezza=800\r\nAltezza=600\r\n");
        ignorata("manca una chiave", "X=10\r\nLarghezza=800\r\nAltezza=600\r\n");
        ignorata("colonne in meno", "Larghezza colonne=110,125,60,50\r\n");
        ignorata("colonne in piu'", "Larghezza colonne=110,125,60,50,90,1\r\n");
        ignorata("colonna troppo larga", "Larghezza colonne=110,125,4001,50,90\r\n");
        ignorata("colonna 0", "Colonna ordinamento=0\r\nOrdine=Crescente\r\n");
        ignorata("colonna 6", "Colonna ordinamento=6\r\nOrdine=Crescente\r\n");
        ignorata("ordine ignoto", "Colonna ordinamento=2\r\nOrdine=su\r\n");
        QTest::newRow("decrescente") << QByteArray("Colonna ordinamento=1\r\nOrdine=Decrescente\r\n") << QRect()
                                     << false << QList<int>{} << 1 << 1;
    }
    void finestraLettura()
    {
        const auto [sezione, geometria] = Valori<QByteArray, QRect>("sezione", "geometria");
        const auto [massimizzata, colonne] = Valori<bool, QList<int>>("massimizzata", "colonne");
        const auto [colonna, ordine] = Valori<int, int>("colonna", "ordine");
        CartellaTest c;
        c.scrivi(QStringLiteral("Info.ini"), "[Options]\r\nX=1\r\n[Finestra]\r\n" + sezione + "[Custom]\r\n");
        const StatoFinestra s = LeggiStatoFinestra(c.file(QStringLiteral("Info.ini")), 5);
        QCOMPARE(s.geometria, geometria);
        QCOMPARE(s.massimizzata, massimizzata);
        QCOMPARE(s.larghezzeColonne, colonne);
        QCOMPARE(s.colonnaOrdinamento, colonna);
        QCOMPARE(s.ordine, ordine);
    }

    // Written after the other sections, which stay byte for byte, and again in place (each key's text: ricorda in
    // tst_frmmain_finestra; read back: finestraLettura).
    void finestraScrittura()
    {
        CartellaTest c;
        const QByteArray prima = "[Versione]\r\nVersione=10.2.0 \r\n; nota\r\n[Custom]\r\nCampo personale 1=A\r\n";
        c.scrivi(QStringLiteral("Info.ini"), prima);
        const QString ini = c.file(QStringLiteral("Info.ini"));
        StatoFinestra s;
        s.geometria = QRect(3, -4, 900, 500);
        s.larghezzeColonne = {1, 2, 3};
        s.colonnaOrdinamento = 2;
        s.ordine = 1;
        QVERIFY(ScriviStatoFinestra(ini, s));
        s.massimizzata = true;
        s.colonnaOrdinamento = 0; // unknown: the old keys stay
        QVERIFY(ScriviStatoFinestra(ini, s));
        const QByteArray dopo = c.leggi(QStringLiteral("Info.ini"));
        QVERIFY(dopo.startsWith(prima + "[Finestra]\r\n"));
        QVERIFY(dopo.contains("Massimizzata=True\r\nLarghezza colonne=1,2,3\r\nColonna ordinamento=2\r\n"));
        QCOMPARE(dopo.count("[Finestra]"), 1);
    }

    void finestraSuSchermi_data()
    {
        Colonne<QRect, QRect>("finestra", "attesa");
        // Two screens side by side: 1366 x 700 and, to its right, 1920 x 1040.
        QTest::newRow("dentro il primo") << QRect(10, 10, 800, 600) << QRect(10, 10, 800, 600);
        QTest::newRow("dentro il secondo") << QRect(1500, 100, 800, 600) << QRect(1500, 100, 800, 600);
        QTest::newRow("esce in basso") << QRect(100, 400, 800, 600) << QRect(100, 100, 800, 600);
        QTest::newRow("a cavallo, piu' nel secondo") << QRect(1000, 0, 800, 600) << QRect(1366, 0, 800, 600);
        QTest::newRow("piu' alta del primo") << QRect(0, 0, 800, 900) << QRect(0, 0, 800, 700);
        QTest::newRow("lontana a destra") << QRect(9000, 200, 800, 600) << QRect(2486, 200, 800, 600);
        QTest::newRow("lontana a sinistra") << QRect(-5000, -5000, 800, 600) << QRect(0, 0, 800, 600);
        QTest::newRow("esattamente lo schermo") << QRect(0, 0, 1366, 700) << QRect(0, 0, 1366, 700);
        QTest::newRow("un pixel oltre") << QRect(1, 0, 1366, 700) << QRect(0, 0, 1366, 700);
    }
    void finestraSuSchermi()
    {
        const auto [finestra, attesa] = Valori<QRect, QRect>("finestra", "attesa");
        const QList<QRect> schermi = {QRect(0, 0, 1366, 700), QRect(1366, 0, 1920, 1040)};
        QCOMPARE(GeometriaSuSchermo(finestra, schermi), attesa);
    }

    // Large tables are read and written by two threads. Reading splits the file at the first line start after its
    // middle: whatever lies there, the outcome is the one a reading from the start gives. Writing splits the records
    // in two halves: the bytes are those of the records one after the other.
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

QTEST_GUILESS_MAIN(TestArchivio)
#include "tst_archivio.moc"
