#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "store/aiutiarchivio.h"
#include "store/filetabelle.h"
#include "store/ricerche.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QTest>

namespace {

const QString kErroreApertura = QStringLiteral("Errore nell'apertura files del DB");

// A state on a fresh program folder holding the four given table files.
struct Archivio {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;

    Archivio(const QByteArray &tipi = {}, const QByteArray &produttori = {},
             const QByteArray &packages = {}, const QByteArray &componenti = {})
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        cartella.scrivi(QStringLiteral("Tipi.dat"), tipi);
        cartella.scrivi(QStringLiteral("Produttori.dat"), produttori);
        cartella.scrivi(QStringLiteral("Packages.dat"), packages);
        cartella.scrivi(QStringLiteral("Componenti.dat"), componenti);
    }
};

const QByteArray kRigaEsempio =
    "12,3,5,2,8,\"INTEGRATO\",\"ACME\",\"NE555\",555,\"Timer di precisione\",\"\",\"NE555.jpg\","
    "10,\"\",#2024-10-09#,\"\",\"\",\"\",\"\",\"\",\"\"\r\n";

} // namespace

class TestTabelle : public QObject {
    Q_OBJECT
private slots:
    void righeDiEsempio()
    {
        Stato s;
        RiempiStatoDiEsempio(s);
        QCOMPARE(TestoComponenti(s.Componenti, 1), kRigaEsempio);
        QCOMPARE(TestoTipi(s.Tipi, 1), QByteArray("3,\"INTEGRATO\"\r\n"));
        QCOMPARE(TestoPackages(s.Packages, 1),
                 QByteArray("2,\"DIP8\",\"Dual in line 8 pin\",\"dip8.jpg\"\r\n"));
        QList<Componente> letti;
        QVERIFY(LeggiComponenti(kRigaEsempio, 1, &letti));
        QCOMPARE(letti, s.Componenti.mid(0, 1));
    }

    void secondaRigaBytePerByte()
    {
        Stato s;
        RiempiStatoDiEsempio(s);
        // Negative numbers, a comma inside quotes, one byte per accented
        // letter, a time of day in the date.
        QCOMPARE(TestoComponenti(s.Componenti, 2).mid(kRigaEsempio.size()),
                 QByteArray("13,4,6,0,-3,\"TRANSISTOR, BJT\",\"Societ\xE0 Pi\xF9\",\"BC547B\",547,"
                            "\"NPN, 45 V; \xE8 cos\xEC\",\"bc547.pdf\",\"\",-25,\"  spazi  \","
                            "#1999-01-31 13:05:59#,\"uno\",\"\",\"\",\"\",\"\",\"sei, ultimo\"\r\n"));
    }

    void tabelleVuoteDannoFileVuoti()
    {
        Archivio a("vecchio\r\n", "vecchio\r\n", "vecchio\r\n", "vecchio\r\n");
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        for (const char *nome : {"Tipi.dat", "Produttori.dat", "Packages.dat", "Componenti.dat"})
            QCOMPARE(a.cartella.leggi(QString::fromLatin1(nome)), QByteArray());
        QVERIFY(CaricaDatabase(a.stato, a.dialoghi));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void andataERitornoSuDisco()
    {
        Archivio a;
        RiempiStatoDiEsempio(a.stato);
        Componente vuoto; // every text empty, no date
        vuoto.ID = 20;
        a.stato.Componenti.append(vuoto);
        a.stato.NumComponenti = 3;
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.stato.TotalePezzi, qint64(10 - 25));

        Stato letto;
        letto.percorsi = a.stato.percorsi;
        letto.NumTipi = letto.NumProduttori = letto.NumPackages = 2;
        letto.NumComponenti = 3;
        letto.ProssimoIDTipo = 5;
        letto.ProssimoIDProduttore = 7;
        letto.ProssimoIDPackage = 8;
        letto.ProssimoIDComponente = 14;
        QVERIFY(CaricaDatabase(letto, a.dialoghi));
        QVERIFY(StessiDati(letto, a.stato));
        QCOMPARE(letto.Componenti[1].DataInserimento.timeSpec(), Qt::UTC);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void caratteriFuoriCodifica()
    {
        QList<Tipo> t = {{1, QStringLiteral("Ω€ \U0001F600 ñ")}};
        const QByteArray testo = TestoTipi(t, 1);
        QCOMPARE(testo, QByteArray("1,\"?\x80 ? \xF1\"\r\n"));
        QList<Tipo> letti;
        QVERIFY(LeggiTipi(testo, 1, &letti));
        QCOMPARE(letti.first().Nome, QStringLiteral("?€ ? ñ"));
    }

    void regoleDiLettura_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QTest::addColumn<int>("num");
        QTest::addColumn<QList<Package>>("attesi");
        const Package p1{1, "A", "B", "C"};
        const Package p2{2, "D", "E", "F"};
        QTest::newRow("CR LF") << QByteArray("1,\"A\",\"B\",\"C\"\r\n2,\"D\",\"E\",\"F\"\r\n") << 2
                               << QList<Package>{p1, p2};
        QTest::newRow("LF only") << QByteArray("1,\"A\",\"B\",\"C\"\n2,\"D\",\"E\",\"F\"\n") << 2
                                 << QList<Package>{p1, p2};
        QTest::newRow("CR only") << QByteArray("1,\"A\",\"B\",\"C\"\r2,\"D\",\"E\",\"F\"\r") << 2
                                 << QList<Package>{p1, p2};
        QTest::newRow("no final line end") << QByteArray("1,\"A\",\"B\",\"C\"") << 1
                                           << QList<Package>{p1};
        QTest::newRow("record over lines")
            << QByteArray("1,\"A\"\r\n\"B\"\r\n\"C\"\r\n2\r\n\"D\",\"E\"\r\n\"F\"\r\n") << 2
            << QList<Package>{p1, p2};
        QTest::newRow("blanks before items")
            << QByteArray("  1, \t\"A\",   \"B\",\"C\"\r\n") << 1 << QList<Package>{p1};
        QTest::newRow("text after closing quote")
            << QByteArray("1,\"A\"xyz zy,\"B\" ,\"C\"junk\r\n") << 1 << QList<Package>{p1};
        QTest::newRow("letters in a number")
            << QByteArray("x1,\"A\",\"B\",\"C\"\r\n") << 1 << QList<Package>{{0, "A", "B", "C"}};
        QTest::newRow("quoted number and fraction")
            << QByteArray("\"7\",\"A\",\"B\",\"C\"\r\n2.5,\"D\",\"E\",\"F\"\r\n") << 2
            << QList<Package>{{7, "A", "B", "C"}, p2};
        QTest::newRow("unquoted texts")
            << QByteArray("1,A,B  ,C\r\n") << 1 << QList<Package>{p1};
        QTest::newRow("empty items")
            << QByteArray("1,,,\r\n") << 1 << QList<Package>{{1, "", "", ""}};
        QTest::newRow("empty lines between records")
            << QByteArray("1,\"A\",\"B\",\"C\"\r\n\r\n\r\n2,\"D\",\"E\",\"F\"\r\n") << 2
            << QList<Package>{p1, p2};
        QTest::newRow("line break inside quotes")
            << QByteArray("1,\"A\r\nA\",\"B\",\"C\"\r\n") << 1
            << QList<Package>{{1, "A\r\nA", "B", "C"}};
        QTest::newRow("more lines than the count")
            << QByteArray("1,\"A\",\"B\",\"C\"\r\n2,\"D\",\"E\",\"F\"\r\ngarbage\"\r\n") << 1
            << QList<Package>{p1};
        QTest::newRow("binary bytes inside quotes")
            << QByteArray("1,\"\x00\x01\xFF\",\"B\",\"C\"\r\n", 18) << 1
            << QList<Package>{{1, QString::fromLatin1("\x00\x01\xFF", 3), "B", "C"}};
    }
    void regoleDiLettura()
    {
        QFETCH(QByteArray, dati);
        QFETCH(int, num);
        QFETCH(QList<Package>, attesi);
        QList<Package> letti;
        QVERIFY(LeggiPackages(dati, num, &letti));
        QCOMPARE(letti, attesi);
    }

    void datiDanneggiati_data()
    {
        QTest::addColumn<QByteArray>("tipi");
        QTest::addColumn<QByteArray>("componenti");
        QTest::addColumn<int>("numTipi");
        QTest::addColumn<int>("numComponenti");
        const QByteArray tipo = "1,\"A\"\r\n";
        QTest::newRow("fewer records than the count") << tipo << QByteArray() << 2 << 0;
        QTest::newRow("empty file, count 1") << QByteArray() << QByteArray() << 1 << 0;
        QTest::newRow("record cut short") << QByteArray("1\r\n") << QByteArray() << 1 << 0;
        QTest::newRow("quote never closed") << QByteArray("1,\"A\r\n") << QByteArray() << 1 << 0;
        QTest::newRow("number beyond 32 bits") << QByteArray("2147483648,\"A\"\r\n") << QByteArray() << 1 << 0;
        QTest::newRow("number below 32 bits") << QByteArray("-2147483649,\"A\"\r\n") << QByteArray() << 1 << 0;
        QTest::newRow("huge count") << tipo << QByteArray() << INT_MAX << 0;
        QByteArray riga = kRigaEsempio;
        QTest::newRow("impossible date")
            << tipo << QByteArray(riga).replace("#2024-10-09#", "#2024-13-45#") << 1 << 1;
        QTest::newRow("date with letters")
            << tipo << QByteArray(riga).replace("#2024-10-09#", "#ieri#") << 1 << 1;
        QTest::newRow("date never closed")
            << tipo << QByteArray(riga).replace("#2024-10-09#", "#2024-10-09") << 1 << 1;
        QByteArray rumore(4096, '\0');
        for (int i = 0; i < rumore.size(); ++i)
            rumore[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("binary garbage") << tipo << rumore << 1 << 1000;
    }
    void datiDanneggiati()
    {
        QFETCH(QByteArray, tipi);
        QFETCH(QByteArray, componenti);
        QFETCH(int, numTipi);
        QFETCH(int, numComponenti);
        Archivio a(tipi, {}, {}, componenti);
        a.stato.NumTipi = numTipi;
        a.stato.NumComponenti = numComponenti;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!CaricaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.dialoghi.boxes().size(), 1);
        QCOMPARE(a.dialoghi.ultimoBox().testo, kErroreApertura);
        QCOMPARE(a.dialoghi.ultimoBox().pulsanti, Pulsanti::Ok);
        QCOMPARE(a.stato.Tipi.size(), 0);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void cartellaAlPostoDelFile()
    {
        Archivio a;
        QFile::remove(a.cartella.file(QStringLiteral("Packages.dat")));
        QVERIFY(QDir(a.cartella.percorso()).mkdir(QStringLiteral("Packages.dat")));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!CaricaDatabase(a.stato, a.dialoghi)); // even with a count of 0
        QCOMPARE(a.dialoghi.ultimoBox().testo, kErroreApertura);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void contiNegativiNonCaricanoNulla()
    {
        Archivio a("1,\"A\"\r\n");
        a.stato.NumTipi = -5;
        QVERIFY(CaricaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.stato.NumTipi, 0);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.cartella.leggi(QStringLiteral("Tipi.dat")), QByteArray());
        QVERIFY(a.cartella.leggi(QStringLiteral("Info.ini")).contains("Numero Tipi=0\r\n"));
    }

    void righeInPiuSparisconoAlSalvataggio()
    {
        Archivio a("1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n");
        a.stato.NumTipi = 2;
        QVERIFY(CaricaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.stato.Tipi, (QList<Tipo>{{1, "A"}, {2, "B"}}));
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        QCOMPARE(a.cartella.leggi(QStringLiteral("Tipi.dat")), QByteArray("1,\"A\"\r\n2,\"B\"\r\n"));
    }

    void totalePezziA64Bit()
    {
        Stato s;
        Componente c;
        c.Quantita = INT_MAX;
        s.Componenti = {c, c, c};
        s.NumComponenti = 2; // slots beyond the count are not counted
        ContaPezzi(s);
        QCOMPARE(s.TotalePezzi, qint64(INT_MAX) * 2);
    }

    void ricerche()
    {
        Stato s;
        RiempiStatoDiEsempio(s);
        Componente doppio = s.Componenti[0];
        doppio.ID = 99;
        s.Componenti.append(doppio);
        s.NumComponenti = 3;
        s.Tipi.append({9, QStringLiteral("INTEGRATO")});
        s.NumTipi = 3;

        QCOMPARE(PosTipoDaID(s, 4), 2);
        QCOMPARE(PosTipoDaID(s, 99), 0);
        QCOMPARE(PosProduttoreDaID(s, 6), 2);
        QCOMPARE(PosPackageDaID(s, 7), 2);
        QCOMPARE(PosComponenteDaCodice(s, QStringLiteral("NE555")), 1); // lower position wins
        QCOMPARE(PosComponenteDaCodice(s, QStringLiteral("ne555")), 0);
        QCOMPARE(IDTipoDaNome(s, QStringLiteral("INTEGRATO")), 3);       // first match
        QCOMPARE(IDTipoDaNome(s, QStringLiteral("Integrato")), 0);       // case-sensitive
        QCOMPARE(IDProduttoreDaNome(s, QStringLiteral("Società Più")), 6);
        QCOMPARE(IDPackageDaNome(s, QStringLiteral("TO-92")), 7);
        QCOMPARE(IDPackageDaNome(s, QString()), 0);

        // Slots beyond the count are never searched.
        s.NumTipi = 1;
        QCOMPARE(PosTipoDaID(s, 4), 0);
        s.NumTipi = 0;
        QCOMPARE(PosTipoDaID(s, 3), 0);
        QCOMPARE(IDTipoDaNome(s, QStringLiteral("INTEGRATO")), 0);
        s.NumComponenti = -1;
        QCOMPARE(PosComponenteDaCodice(s, QStringLiteral("NE555")), 0);
    }
};

QTEST_GUILESS_MAIN(TestTabelle)
#include "tst_tabelle.moc"
