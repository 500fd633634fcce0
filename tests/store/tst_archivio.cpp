#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "store/aiutiarchivio.h"
#include "store/cp1252.h"
#include "store/filetabelle.h"
#include "store/ini.h"
#include "store/ricerche.h"
#include "store/stato.h"
#include "store/tabelle.h"


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
        QCOMPARE(leggi("Tema Chiaro=VERO"), "0 0");
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
        // Negative numbers, commas inside quotes, one byte per accented letter,
        // a time of day only when there is one.
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

    // The table files are the truth: records beyond a count that is too low
    // (hand-edited, negative) are loaded and the count raised; blank lines
    // and a record cut short at the end count for nothing.
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
};

QTEST_GUILESS_MAIN(TestArchivio)
#include "tst_archivio.moc"
