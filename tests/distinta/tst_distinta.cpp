// Bills of materials without any window: reading them, the component a line stands for, a pick and matching again,
// the shopping list; lines linked by hand (the key, Collegamenti.csv, the search); and real BOMs of open-hardware
// projects (tests/data/distinta, sources and licences in FONTI.md), each checked against a stock built for it.

#include "common/bomkicad.h"
#include "common/cartellatest.h"
#include "common/distintaprova.h"
#include "common/verifiche.h"
#include "distinta/collegamenti.h"
#include "distinta/letturadistinta.h"
#include "distinta/ricercacomponenti.h"
#include "distinta/verificadistinta.h"

#include <QDir>
#include <QFile>

namespace {

// 10K and 100NF by value, the capacitor's MPN with one piece, two BC547 of two makers, the regulator by value and MPN.
void magazzino(Stato &s)
{
    RiempiMagazzino(s, {"1:10K:100", "2:100NF:500", "3:GRM21BR71H104KA01:1", "4:NE555:5", "5:BC547:10:ST",
                        "6:BC547:3:NXP", "7:LM7805:10", "8:L7805CV:1", "9:TL072:4"});
}

// A stock naming parts its own way (the KiCad BOM's "10k" and "100nF" are no codes), IDs not positions.
void magazzinoCodiciPropri(Stato &s)
{
    RiempiMagazzino(s, {"21:RES-10K-0805:100:YAGEO:Resistenza 10k 1% 0805",
                        "22:C-100N-0805:500:MURATA:Condensatore 100nF X7R 0805", "23:NE555:5", "25:BC547:10:ST",
                        "26:BC547:3:NXP", "27:L7805CV:1:ST:Regolatore 5V TO-220", "29:1N4148-TAP:1:VISHAY:Diodo di segnale"});
}

RigaDistinta Riga(const QStringList &campi) // mpn, valore, footprint
{
    RigaDistinta r;
    r.mpn = campi[0];
    r.valore = campi[1];
    r.footprint = campi[2];
    r.quantita = 1;
    return r;
}

QString Percorso(const QString &nome) { return QStringLiteral(ARVO_DISTINTE_REALI "/") + nome; }

LetturaDistinta Leggi(const QString &nome)
{
    const LetturaDistinta l = LeggiFileDistinta(Percorso(nome));
    if (!l.errore.isEmpty())
        QTest::qFail(qPrintable(nome + ": " + l.errore), __FILE__, __LINE__);
    return l;
}

} // namespace

class TestDistinta : public QObject {
    Q_OBJECT
private slots:
    // A pick among the components of one code; codes changed later: each line matched again, a pick kept if it fits.
    void sceltaERiconfronto()
    {
        Stato s;
        magazzino(s);
        VerificaDistinta v(s, LeggiDistinta(BomKicad));
        v.calcola(s, 2);
        QCOMPARE(v.voci()[3].candidati, (QList<qint32>{5, 6}));
        QVERIFY(!v.scegli(3, 4)); // not one of its candidates
        QVERIFY(!v.scegli(0, 1)); // a line with one match has nothing to pick
        QVERIFY(v.scegli(3, 6));
        s.componente(4).Codice = QStringLiteral("NE556");   // NE555 renamed
        s.componente(9).Codice = QStringLiteral("TL072CP"); // now found by its MPN
        v.riconfronta(s);
        QCOMPARE(v.schede(), 2);
        QCOMPARE(Esiti(v).mid(2, 4), (QStringList{"ne555||Non trovato", "BC547|BC547|Mancano 1",
                                                  "l7805cv|L7805CV|Mancano 1", "TL072CP|TL072CP|Disponibile"}));
        s.componente(6).Codice = QStringLiteral("BC548");
        v.riconfronta(s);
        // One BC547 is left: the line uses it.
        QCOMPARE(v.voci()[3].candidati, QList<qint32>{5});
        QCOMPARE(v.voci()[3].scelta, 5);
        s.componente(6).Codice = QStringLiteral("bc547");
        s.componente(7).Codice = QStringLiteral("BC547");
        v.riconfronta(s);
        // Three now: the one used stays, no other is picked silently.
        QCOMPARE(v.voci()[3].candidati, (QList<qint32>{5, 6, 7}));
        QCOMPARE(v.voci()[3].scelta, 5);
        QVERIFY(v.scegli(3, 0));
        v.calcola(s, 2);
        QCOMPARE(TestoEsito(v.voci()[3]), QStringLiteral("Da scegliere (3)"));
        QVERIFY(v.scegli(3, 5));
        s.componente(5).Codice = QStringLiteral("BC337");
        v.riconfronta(s);
        QCOMPARE(v.voci()[3].scelta, 0);
        QCOMPARE(TestoEsito(v.voci()[3]), QStringLiteral("Da scegliere (2)"));
    }

    // Larger than any BOM: refused without reading it all (a sparse file); the rest is the shared reader's.
    void fileTroppoGrande()
    {
        CartellaTest c;
        QFile grande(c.file(QStringLiteral("grande.csv")));
        QVERIFY(grande.open(QIODevice::WriteOnly) && grande.resize(DimensioneMassimaDistinta + 10));
        grande.close();
        QVERIFY(LeggiFileDistinta(grande.fileName()).errore.startsWith(
            QString::fromUtf8("Il file è troppo grande per essere letto (oltre 64 MB)")));
    }

    // References named by a list: commas, semicolons or blanks between; ranges in full (either way round, letters
    // after the dash or not, blanks around it).
    void riferimenti_data()
    {
        // espansi: the first ones, at most 6, joined by "+"
        Colonne<QString, qint64, QString>("elenco", "quanti", "espansi");
        QTest::newRow("virgole") << "R1,R2,R5" << qint64(3) << "R1+R2+R5";
        QTest::newRow("virgole e spazi") << "C1, C2,  C3" << qint64(3) << "C1+C2+C3";
        QTest::newRow("spazi, uno alla fine") << "A2 A3 A4 A5 A6 A7 A8 " << qint64(7) << "A2+A3+A4+A5+A6+A7";
        QTest::newRow("punto e virgola") << "C1;C2" << qint64(2) << "C1+C2";
        QTest::newRow("intervallo") << "R1-R4" << qint64(4) << "R1+R2+R3+R4";
        QTest::newRow("intervallo senza lettere dopo") << "R1-4" << qint64(4) << "R1+R2+R3+R4";
        QTest::newRow("intervallo al contrario") << "C12-C10" << qint64(3) << "C12+C11+C10";
        QTest::newRow("intervallo con spazi e altri") << "R1 - R3, R7" << qint64(4) << "R1+R2+R3+R7";
        QTest::newRow("intervallo di uno") << "U3-U3" << qint64(1) << "U3";
        QTest::newRow("intervallo grande") << "R1-R1000000" << qint64(1000000) << "R1+R2+R3+R4+R5+R6";
        QTest::newRow("lettere diverse: un nome") << "R1-C4" << qint64(1) << "R1-C4";
        QTest::newRow("senza numero: un nome") << "U-A" << qint64(1) << "U-A";
        QTest::newRow("vuoto") << "  " << qint64(0) << "";
    }
    void riferimenti()
    {
        const auto [elenco, quanti, espansi] = Valori<QString, qint64, QString>("elenco", "quanti", "espansi");
        QCOMPARE(ContaRiferimenti(elenco), quanti);
        QCOMPARE(EspandiRiferimenti(elenco, 6).join(u'+'), espansi);
        if (quanti <= 6)
            QCOMPARE(EspandiRiferimenti(elenco).size(), quanti);
    }

    // Separators, encodings, header names (more in the real BOMs below) and lines before the header (the shared
    // reader's marks and quotes are tested with it).
    void colonne_data()
    {
        Colonne<QByteArray, QString>("dati", "letta");
        QTest::newRow("Eagle, elenco delle parti: Part") << QByteArray("Part;Value;Device;Package\nR7;10k;R-EU;R0805\n")
                                                         << ";|Windows-1252|R7|10k|||R0805|1";
        QTest::newRow("Value vince su Comment, anche dopo")
            << QByteArray("Comment,Designator,Value,Qty\nResistenza,R1,10k,1\n") << ",|Windows-1252|R1|10k||||1";
        QTest::newRow("Footprint vince su Package") << QByteArray("Ref,Value,Package,Footprint,Qty\nR1,10k,0805,R_0805,1\n")
                                                    << ",|Windows-1252|R1|10k|||R_0805|1";
        QTest::newRow("Package/Footprint") << QByteArray("Designator,Comment,Package / Footprint,Quantity\nU1,NE555,DIP8,1\n")
                                           << ",|Windows-1252|U1|NE555|||DIP8|1";
        for (const char *codice : {"Codice", "ipn", "ARVO", "Stock Code"})
            QTest::newRow(codice) << "Ref,Value," + QByteArray(codice) + ",Qty\nR1,10k,RES-10K,1\n"
                                  << ",|Windows-1252|R1|10k||RES-10K||1";
        QTest::newRow("Codice produttore resta MPN")
            << QByteArray("Ref,Value,Codice produttore,Qty\nR1,10k,RC0805,1\n") << ",|Windows-1252|R1|10k|RC0805|||1";
        QTest::newRow("MPN segnaposto") << QByteArray("Reference,Value,MPN,Count\nC1,100n,ANY,1\n")
                                        << ",|Windows-1252|C1|100n||||1";
        QTest::newRow("riga più corta dell'intestazione, valori con spazi")
            << QByteArray("Reference, Quantity, Value, Footprint, Datasheet, LCSC, MPN\nA1 ,1,\" Y_Driver\",\"Module:P\"\n")
            << ",|Windows-1252|A1|Y_Driver|||Module:P|1";
        QTest::newRow("punto e virgola, Windows-1252")
            << QByteArray("Riferimenti;Valore;Quantit\xe0\r\n\"C1;C2\";4,7\xb5" "F;2\r\n")
            << QString::fromUtf8(";|Windows-1252|C1;C2|4,7µF||||2");
        QTest::newRow("tabulazione, UTF-8") << QByteArray("Ref\tValue\tQty\nR1 R2\t4,7\xc2\xb5" "F\t2\n")
                                            << QString::fromUtf8("\t|UTF-8|R1 R2|4,7µF||||2");
        QTest::newRow("righe prima dell'intestazione, solo CR")
            << QByteArray("Source: scheda.kicad_sch\rDate: 06/12/2026\r\rItem,Qty,Reference(s),Value,"
                          "Footprint\r1,2,\"R1, R2\",10k,R_0805\r")
            << ",|Windows-1252|R1, R2|10k|||R_0805|2";
        QTest::newRow("MPN senza valore, nomi in maiuscolo")
            << QByteArray("DESIGNATOR;MANUFACTURER PART NUMBER;QTY\r\nU1;NE555P;1\r\n") << ";|Windows-1252|U1||NE555P|||1";
    }
    void colonne()
    {
        const auto [dati, letta] = Valori<QByteArray, QString>("dati", "letta");
        const LetturaDistinta l = LeggiDistinta(dati);
        QVERIFY2(l.errore.isEmpty(), qPrintable(l.errore));
        QCOMPARE(l.righe.size(), 1);
        const RigaDistinta &r = l.righe[0];
        QCOMPARE(r.errore, QString());
        QCOMPARE(QStringList({l.separatore, l.codifica, r.riferimenti, r.valore, r.mpn, r.codice, r.footprint,
                              QString::number(r.quantita)})
                     .join(u'|'),
                 letta);
    }

    // A line that cannot be used kept with its reason; without a quantity column the references counted; lines of
    // one part as written ("10k", not "10K") joined in the place of the first; lines marked DNP left out.
    void righe_data()
    {
        Colonne<QByteArray, QStringList, QString>("dati", "righe", "uniteENonMontati");
        QTest::newRow("errori")
            << "Reference,Value,Qty\r\nR1,10k,abc\r\nR2,10k,-3\r\nR3,,2\r\nR4,\"10k,2\r\nR5,10k,99999999999999999999\r\n"
                   "R6," + QByteArray(3 * 1024 * 1024, 'k') + ",1\r\nR7,NE555,2\r\nR8,10k,\r\nR9, \"10k\" x,1\r\n"
            << QStringList{QString::fromUtf8("2|R1|0|quantità non valida: \"abc\""),
                           QString::fromUtf8("3|R2|0|quantità non valida: \"-3\""),
                           QString::fromUtf8("4|R3|0|manca il componente (né valore né MPN)"),
                           "5||0|virgolette aperte e mai chiuse",
                           QString::fromUtf8("6|R5|0|quantità troppo grande: 99999999999999999999 (al massimo "
                                             "1000000 per scheda)"),
                           "7||0|riga troppo lunga (3145733 caratteri, al massimo 65536)", "8|R7|2|",
                           QString::fromUtf8("9|R8|0|manca la quantità"), "10||0|testo dopo le virgolette di chiusura"}
            << "0|";
        QTest::newRow("quantità dai riferimenti")
            << QByteArray("Reference, Value, Footprint\n\"R1\",\"10k\",\"R_0805\"\n\"C1 C2\",\"100n\",\"C_0805\"\n"
                          "\"\",\"1k\",\"R_0805\"\n\"R2-R4\",\"10k\",\"R_0805\"\n\"R5\",\"10k\",\"R_0603\"\n")
            << QStringList{"2|R1,R2-R4|4|", "3|C1 C2|2|",
                           QString::fromUtf8("4||0|mancano i riferimenti, che danno la quantità"), "6|R5|1|"}
            << "1|";
        QTest::newRow("troppi riferimenti")
            << QByteArray("Ref,Value\nR1-R1000001,10k\n")
            << QStringList{"2|R1-R1000001|0|troppi riferimenti: 1000001 (al massimo 1000000 per scheda)"} << "0|";
        QTest::newRow("stessa parte") << QByteArray("Reference;Value;Quantity\r\nR1;10k;60\r\nR2;10K ;50\r\nR3; 10k;1\r\n")
                                      << QStringList{"2|R1,R3|61|", "3|R2|50|"} << "1|";
        QTest::newRow("DNP") << QByteArray("Refs,Value,Qty,DNP\r\nR1,10k,2,\r\nR2,22k,1,DNP\r\nR3,1k,1,0\r\nR4,1k,1,X\r\n")
                             << QStringList{"2|R1|2|", "4|R3|1|"} << "0|R2 R4";
    }
    void righe()
    {
        const auto [dati, righe] = Valori<QByteArray, QStringList>("dati", "righe");
        const auto [uniteENonMontati] = Valori<QString>("uniteENonMontati");
        const LetturaDistinta l = LeggiDistinta(dati);
        QVERIFY2(l.errore.isEmpty(), qPrintable(l.errore));
        QStringList lette;
        for (const RigaDistinta &r : l.righe)
            lette << QStringLiteral("%1|%2|%3|%4").arg(r.numero).arg(r.riferimenti).arg(r.quantita).arg(r.errore);
        QCOMPARE(lette, righe);
        QCOMPARE(QStringLiteral("%1|%2").arg(l.righeUnite).arg(l.nonMontati.join(u' ')), uniteENonMontati);
        QCOMPARE(l.nonMontate, int(l.nonMontati.size()));
    }

    // A line's component: stock code, else MPN, else value, case and blanks aside; lines of one share its stock.
    void esiti_data()
    {
        // righe: Ref,Codice,MPN,Value,Qty; esiti: parte|codice|esito
        Colonne<QByteArray, QStringList>("righe", "esiti");
        QTest::newRow("codice prima dell'MPN") << QByteArray("U1,TL072,l7805cv,NE555,1") << QStringList{"TL072|TL072|Disponibile"};
        QTest::newRow("codice non trovato: MPN") << QByteArray("U1,X-1,l7805cv,NE555,1")
                                                 << QStringList{"l7805cv|L7805CV|Disponibile"};
        QTest::newRow("né codice né MPN: valore") << QByteArray("U1,X-1,X-2,ne555,1") << QStringList{"ne555|NE555|Disponibile"};
        QTest::newRow("solo il codice") << QByteArray("U1, lm7805 ,,,1") << QStringList{"lm7805|LM7805|Disponibile"};
        QTest::newRow("nulla trovato: il codice") << QByteArray("U1,X-1,X-2,X-3,1") << QStringList{"X-1||Non trovato"};
        QTest::newRow("codice di due componenti") << QByteArray("Q1,bc547,TL072,,1") << QStringList{"bc547||Da scegliere (2)"};
        QTest::newRow("righe di un componente") << QByteArray("R1,,,10k,60\nR2,,,10K,50\nU1,,,NE555,2")
                                               << QStringList{"10k|10K|Disponibile", "10K|10K|Mancano 10",
                                                              "NE555|NE555|Disponibile"};
    }
    void esiti()
    {
        const auto [righe, esiti] = Valori<QByteArray, QStringList>("righe", "esiti");
        Stato s;
        magazzino(s);
        VerificaDistinta v(s, LeggiDistinta("Ref,Codice,MPN,Value,Qty\n" + righe + "\n"));
        QCOMPARE(Esiti(v), esiti);
    }

    // Files that cannot be a BOM: one clear message, no lines.
    void fileInutilizzabili_data()
    {
        Colonne<QByteArray, QString>("dati", "inizio");
        QTest::newRow("vuoto") << QByteArray() << QString::fromUtf8("Il file è vuoto: non contiene una distinta base.");
        QTest::newRow("binario") << QByteArray("PK\x03\x04\0\0\x14\0", 8)
                                 << QString::fromUtf8("Il file non è un testo CSV");
        QTest::newRow("nessuna colonna nota")
            << QByteArray("Nome,Colore\r\nA,rosso\r\n")
            << QString::fromUtf8("Nel file non c'è un'intestazione riconoscibile: servono una colonna del componente "
                                 "(\"Value\", \"Comment\", \"Valore\", \"MPN\" o \"Codice\") e una della quantità "
                                 "(\"Qty\", \"Quantity\", \"Quantità\") o dei riferimenti (\"Reference\", "
                                 "\"Designator\", \"Parts\").");
        QTest::newRow("valore senza quantità né riferimenti") << QByteArray("Value,Footprint\r\n10k,R_0805\r\n")
                                                              << "Nel file non c'è un'intestazione riconoscibile";
        QTest::newRow("quantità senza componente") << QByteArray("Reference,Qty\r\nR1,2\r\n")
                                                   << "Nel file non c'è un'intestazione riconoscibile";
        QTest::newRow("solo intestazione") << QByteArray("Reference,Value,Qty\r\n\r\n")
                                           << "La distinta base non contiene righe";
        QTest::newRow("troppe righe") << ("Reference,Value,Qty\r\n" + QByteArray("R,A,1\n").repeated(100001))
                                      << QString::fromUtf8("La distinta base ha troppe righe (più di 100000)");
        QTest::newRow("solo fine riga") << QByteArray(20 * 1024 * 1024, '\n')
                                        << "Nel file non c'è un'intestazione riconoscibile";
        QTest::newRow("intestazione di molti MB") << QByteArray(8 * 1024 * 1024, 'x')
                                                  << "Nel file non c'è un'intestazione riconoscibile";
    }
    void fileInutilizzabili()
    {
        const auto [dati, inizio] = Valori<QByteArray, QString>("dati", "inizio");
        const LetturaDistinta l = LeggiDistinta(dati);
        QVERIFY2(l.errore.startsWith(inizio), qPrintable(l.errore));
        QVERIFY(l.righe.isEmpty());
    }

    // The shopping list: short and missing lines, the options' separator, quotes where needed, UTF-8 with a BOM,
    // CR LF, in Exported; a list that cannot be written is told.
    void listaMancanti()
    {
        CartellaTest c;
        Stato s;
        DialoghiFinti d;
        s.percorsi = Percorsi::DaCartella(c.percorso());
        s.SeparatoreCSV = QStringLiteral(";");
        magazzino(s);
        const QByteArray bom = BomKicad + "\"J1;J2\",\"Morsetto \"\"5mm\"\" \xc2\xb5\",\"\",\"1\",\"\"\r\n"
                                          "\"R9\",\"4,7\xce\xa9\",\"R_0805\",\"1\",\"\"\r\n";
        VerificaDistinta v(s, LeggiDistinta(bom));
        v.calcola(s, 2);
        QVERIFY(QDir().mkpath(c.file("Exported")));
        QCOMPARE(EsportaMancanti(s, v, d), c.file("Exported/Mancanti.csv"));
        QCOMPARE(c.leggi("Exported/Mancanti.csv"),
                 QByteArray("\xef\xbb\xbfRiferimenti;Componente;Footprint;Codice;Necessari;In magazzino;Da acquistare\r\n"
                            "C1,C2;GRM21BR71H104KA01;Capacitor_SMD:C_0805_2012Metric;GRM21BR71H104KA01;4;1;3\r\n"
                            "U2;l7805cv;Package_TO_SOT_THT:TO-220-3_Vertical;L7805CV;2;1;1\r\n"
                            "D1;1N4148;Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal;;2;0;2\r\n"
                            "\"J1;J2\";\"Morsetto \"\"5mm\"\" \xc2\xb5\";;;2;0;2\r\n"
                            "R9;4,7\xce\xa9;R_0805;;2;0;2\r\n"));

        QVERIFY(QFile::remove(c.file("Exported/Mancanti.csv")));
        QVERIFY(QDir().mkpath(c.file("Exported/Mancanti.csv/x")));
        d.setNextAnswer(Risposta::Ok);
        QCOMPARE(EsportaMancanti(s, v, d), QString());
        VerificaBox(d, QString::fromUtf8("Errore nella creazione del file Mancanti.csv\r\nForse il file è già aperto "
                                         "in altro programma"),
                    Icona::Critica, Pulsanti::Ok, QStringLiteral("Lista non generata"));
        VERIFICA_DIALOGHI(d);
    }

    // Lines share a link by MPN or (without one) by value and footprint: case, blanks and library prefix aside.
    void chiavi_data()
    {
        // prima: mpn, valore, footprint
        Colonne<QStringList, QStringList, bool>("prima", "seconda", "stessa");
        QTest::newRow("MPN, maiuscole e spazi") << QStringList{"grm21", "100n", "C_0805"}
                                                << QStringList{" GRM21 ", "100nF", "C_0603"} << true;
        QTest::newRow("MPN contro valore") << QStringList{"GRM21", "", ""} << QStringList{"", "GRM21", ""} << false;
        QTest::newRow("valore e footprint") << QStringList{"", "10k", "R_0805"} << QStringList{"", " 10K", "r_0805 "}
                                            << true;
        QTest::newRow("libreria del footprint") << QStringList{"", "10k", "Resistor_SMD:R_0805_2012Metric"}
                                                << QStringList{"", "10k", "R_0805_2012Metric"} << true;
        QTest::newRow("altro footprint") << QStringList{"", "10k", "R_0805"} << QStringList{"", "10k", "R_0603"}
                                         << false;
        QTest::newRow("altro valore") << QStringList{"", "10k", "R_0805"} << QStringList{"", "1k", "R_0805"} << false;
        QTest::newRow("senza footprint") << QStringList{"", "10k", ""} << QStringList{"", "10k", "R_0805"} << false;
        QTest::newRow("µ e Ω restano") << QStringList{"", "4,7µ", "C1206"} << QStringList{"", "4,7µ", "C1206"}
                                       << true;
    }
    void chiavi()
    {
        const auto [prima, seconda, stessa] = Valori<QStringList, QStringList, bool>("prima", "seconda", "stessa");
        const QString a = ChiaveCollegamento(prima[0], prima[1], prima[2]);
        const QString b = ChiaveCollegamento(seconda[0], seconda[1], seconda[2]);
        QVERIFY(!a.isEmpty() && !b.isEmpty());
        QCOMPARE(a == b, stessa);
        // The links follow the key.
        Collegamenti c;
        QVERIFY(c.collega(Riga(prima), 7, "X"));
        QCOMPARE(c.id(Riga(seconda)), stessa ? 7 : 0);
        QCOMPARE(ChiaveCollegamento("", " ", "R_0805"), QString());
        QVERIFY(!c.collega(Riga({"", "", "R_0805"}), 7, "X"));
    }

    // Collegamenti.csv: header, BOM, CR LF, quoted fields; a line twice counts once (the later); unreadable lines
    // kept and written back after the others.
    void file()
    {
        const QByteArray dati = "\xef\xbb\xbfMPN;Valore;Footprint;ID;Codice\r\n"
                                ";10k;Resistor_SMD:R_0805_2012Metric;21;RES-10K-0805\r\n"
                                "GRM21BR71H104KA01;;;22;C-100N-0805\r\n"
                                ";\"4,7\xc2\xb5;X\";C1206;23;NE555\r\n"
                                "grm21br71h104ka01;;;26;BC547\r\n"
                                ";1k;R_0805;abc;X\r\n"
                                "\r\n"
                                ";2k;R_0805\n"
                                ";;R_0805;5;Y\n";
        const Collegamenti c = Collegamenti::DaTesto(dati);
        QCOMPARE(c.voci(), (QList<Collegamento>{{"", "10k", "Resistor_SMD:R_0805_2012Metric", 21, "RES-10K-0805"},
                                                {"grm21br71h104ka01", "", "", 26, "BC547"},
                                                {"", QString::fromUtf8("4,7µ;X"), "C1206", 23, "NE555"}}));
        QCOMPARE(c.righeIlleggibili(), (QStringList{";1k;R_0805;abc;X", ";2k;R_0805", ";;R_0805;5;Y"}));
        QCOMPARE(c.testo(), QByteArray("\xef\xbb\xbfMPN;Valore;Footprint;ID;Codice\r\n"
                                       ";10k;Resistor_SMD:R_0805_2012Metric;21;RES-10K-0805\r\n"
                                       "grm21br71h104ka01;;;26;BC547\r\n"
                                       ";\"4,7\xc2\xb5;X\";C1206;23;NE555\r\n"
                                       ";1k;R_0805;abc;X\r\n"
                                       ";2k;R_0805\r\n"
                                       ";;R_0805;5;Y\r\n"));
        QCOMPARE(Collegamenti::DaTesto(c.testo()).testo(), c.testo());
        QVERIFY(Collegamenti::DaTesto(QByteArray()).isEmpty());
        QVERIFY(Collegamenti::DaTesto(QByteArray("\0\1\2", 3)).isEmpty());
    }

    // Any line can be linked (not found, ambiguous, found otherwise); a link to a component gone is left aside.
    void verificaConCollegamenti_data()
    {
        // cambiate: "line:outcome" of the lines that differ without links
        Colonne<QByteArray, QStringList>("collegamenti", "cambiate");
        const QByteArray intestazione = "MPN;Valore;Footprint;ID;Codice\r\n";
        QTest::newRow("nessuno") << QByteArray() << QStringList();
        QTest::newRow("non trovati e ambiguo")
            << intestazione + ";10k;R_0805_2012Metric;21;\r\n"
                              "grm21br71h104ka01;;;22;\r\n"
                              ";bc547;Package_TO_SOT_THT:TO-92_Inline;26;\r\n"
            << QStringList{"0:10k|RES-10K-0805|Disponibile (collegato)",
                           "1:GRM21BR71H104KA01|C-100N-0805|Disponibile (collegato)",
                           "3:BC547|BC547|Disponibile (collegato)"};
        QTest::newRow("trovato, collegato ad altro") << intestazione + ";NE555;Package_DIP:DIP-8_W7.62mm;29;\r\n"
                                                     << QStringList{"2:ne555|1N4148-TAP|Disponibile (collegato)"};
        QTest::newRow("per MPN, non per valore") << intestazione + "TL072CP;;;27;\r\n;1N4148;;29;\r\n"
                                                 << QStringList{"5:TL072CP|L7805CV|Mancano 1 (collegato)"};
        QTest::newRow("componente eliminato") << intestazione + ";ne555;DIP-8_W7.62mm;24;\r\n" << QStringList();
    }
    void verificaConCollegamenti()
    {
        const auto [collegamenti, cambiate] = Valori<QByteArray, QStringList>("collegamenti", "cambiate");
        Stato s;
        magazzinoCodiciPropri(s);
        QStringList attesi{"10k||Non trovato",          "GRM21BR71H104KA01||Non trovato", "ne555|NE555|Disponibile",
                           "BC547||Da scegliere (2)",   "l7805cv|L7805CV|Disponibile",    "TL072CP||Non trovato",
                           "1N4148||Non trovato"};
        for (const QString &c : cambiate)
            attesi[c.section(u':', 0, 0).toInt()] = c.section(u':', 1);
        const VerificaDistinta v(s, LeggiDistinta(BomKicad), Collegamenti::DaTesto(collegamenti));
        QCOMPARE(Esiti(v), attesi);
    }

    // Two lines of one link share the stock in file order; the link follows the component moved in the table.
    void collegamentoSeguitoDaPiuRighe()
    {
        Stato s;
        magazzinoCodiciPropri(s);
        const QByteArray bom = "Ref,Value,Footprint,Qty\n"
                               "R1,10k,Resistor_SMD:R_0805_2012Metric,60\n"
                               "R2,10K,R_0805_2012Metric,50\n"
                               "R3,10k,R_0603,1\n";
        const Collegamenti c = Collegamenti::DaTesto(";10k;R_0805_2012Metric;21;\r\n");
        VerificaDistinta v(s, LeggiDistinta(bom), c);
        QCOMPARE(Esiti(v), (QStringList{"10k|RES-10K-0805|Disponibile (collegato)",
                                        "10K|RES-10K-0805|Mancano 10 (collegato)", "10k||Non trovato"}));
        s.Componenti.move(0, 6);
        v.riconfronta(s);
        QCOMPARE(v.voci()[0].scelta, 7);
        QCOMPARE(v.prelievi(), (QList<Prelievo>{{7, 100}}));
    }

    // Linking and unlinking from the check save the file at once; read-only, both are refused and told (a failed
    // save: the window's test).
    void collegaEScollega()
    {
        CartellaTest cartella;
        Stato s;
        DialoghiFinti d;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        magazzinoCodiciPropri(s);
        VerificaDistinta v(s, LeggiDistinta(BomKicad), LeggiCollegamenti(s));
        QVERIFY(v.collegamenti().isEmpty());
        QVERIFY(!cartella.esiste(NomeFileCollegamenti));
        QVERIFY(CollegaRiga(s, v, 0, 1, d));  // 10k
        QVERIFY(CollegaRiga(s, v, 6, 7, d));  // 1N4148
        QVERIFY(CollegaRiga(s, v, 3, 5, d));  // BC547: NXP
        QVERIFY(CollegaRiga(s, v, 6, 6, d));  // 1N4148 again: replaced
        QVERIFY(!CollegaRiga(s, v, 7, 1, d)); // no such line
        QVERIFY(!CollegaRiga(s, v, 0, 8, d)); // no such component
        const QByteArray atteso = "\xef\xbb\xbfMPN;Valore;Footprint;ID;Codice\r\n"
                                  ";10k;Resistor_SMD:R_0805_2012Metric;21;RES-10K-0805\r\n"
                                  ";1N4148;Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal;27;L7805CV\r\n"
                                  ";BC547;Package_TO_SOT_THT:TO-92_Inline;26;BC547\r\n";
        QCOMPARE(cartella.leggi(NomeFileCollegamenti), atteso);
        // The regulator's only piece went to the line before.
        QCOMPARE(Esiti(v)[6], QStringLiteral("1N4148|L7805CV|Mancano 1 (collegato)"));
        QVERIFY(ScollegaRiga(s, v, 0, d));
        QVERIFY(!ScollegaRiga(s, v, 0, d)); // nothing left to remove
        QVERIFY(!ScollegaRiga(s, v, 2, d)); // never linked
        QCOMPARE(Esiti(v)[0], QStringLiteral("10k||Non trovato"));
        QCOMPARE(Esiti(v)[6], QStringLiteral("1N4148|L7805CV|Mancano 1 (collegato)")); // the others still hold
        const QByteArray rimasti = "\xef\xbb\xbfMPN;Valore;Footprint;ID;Codice\r\n"
                                   ";1N4148;Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal;27;L7805CV\r\n"
                                   ";BC547;Package_TO_SOT_THT:TO-92_Inline;26;BC547\r\n";
        QCOMPARE(cartella.leggi(NomeFileCollegamenti), rimasti);

        s.SolaLettura = true;
        const QStringList prima = Esiti(v);
        for (int passo = 0; passo < 2; ++passo) {
            d.setNextAnswer(Risposta::Ok);
            QVERIFY(passo == 0 ? !CollegaRiga(s, v, 0, 1, d) : !ScollegaRiga(s, v, 6, d));
            QCOMPARE(d.ultimoBox().testo, QString::fromUtf8("Impossibile salvare il file Collegamenti.csv: il "
                                                            "collegamento non è cambiato.\r\nl'archivio è aperto in "
                                                            "sola lettura"));
            QCOMPARE(Esiti(v), prima);
        }
        QCOMPARE(cartella.leggi(NomeFileCollegamenti), rimasti);
        VERIFICA_DIALOGHI(d);
    }

    // The search to link by: every word in code or description, case aside; at most so many listed, all counted.
    void ricerca_data()
    {
        Colonne<QString, int, QList<qint32>, qsizetype>("testo", "massimo", "posizioni", "trovati");
        QTest::newRow("codice") << "10k" << 10 << QList<qint32>{1} << qsizetype(1);
        QTest::newRow("parte del codice, più componenti") << "0805" << 10 << QList<qint32>{1, 2} << qsizetype(2);
        QTest::newRow("descrizione") << "regolatore" << 10 << QList<qint32>{6} << qsizetype(1);
        QTest::newRow("due parole, codice e descrizione") << "  c-100n   x7r " << 10 << QList<qint32>{2} << qsizetype(1);
        QTest::newRow("parole in ordine diverso") << "0805 RES" << 10 << QList<qint32>{1} << qsizetype(1);
        QTest::newRow("una parola manca") << "0805 NPO" << 10 << QList<qint32>{} << qsizetype(0);
        QTest::newRow("limite") << "bc547" << 1 << QList<qint32>{4} << qsizetype(2);
        QTest::newRow("non tra due componenti") << "TAPRES" << 10 << QList<qint32>{} << qsizetype(0);
        QTest::newRow("non tra codice e descrizione") << "TAPDIODO" << 10 << QList<qint32>{} << qsizetype(0);
        QTest::newRow("vuoto") << "   " << 10 << QList<qint32>{} << qsizetype(0);
        QTest::newRow("µ nella descrizione") << QString::fromUtf8("µf") << 10 << QList<qint32>{3} << qsizetype(1);
        QTest::newRow("codice in minuscolo nella tabella") << "L7805" << 10 << QList<qint32>{6} << qsizetype(1);
    }
    void ricerca()
    {
        const auto [testo, massimo, posizioni] = Valori<QString, int, QList<qint32>>("testo", "massimo", "posizioni");
        const auto [trovati] = Valori<qsizetype>("trovati");
        Stato s;
        magazzinoCodiciPropri(s);
        s.componente(3).Descrizione = QString::fromUtf8("Timer, 10µF di\ndisaccoppiamento");
        s.componente(6).Codice = QStringLiteral("l7805cv"); // as a hand-edited table may hold it
        s.Componenti.append(s.Componenti.first()); // beyond the count: not searched
        const RicercaComponenti r(s);
        qsizetype quanti = -1;
        QCOMPARE(r.cerca(testo, massimo, &quanti), posizioni);
        QCOMPARE(quanti, trovati);
    }

    // Real BOMs: NAME.attesi holds the stock ("magazzino: ID:CODICE:PEZZI[:PRODUTTORE]"), the links made by hand
    // ("collegamento:" lines of Collegamenti.csv) and what the check gives: "letto: separator|header line|quantity
    // from references|lines joined|not fitted", the pieces per board, the lines not found and every other line
    // ("riga: line|part|per board|code|outcome").
    void distinteReali_data()
    {
        Colonne<QString>("file");
        for (const char *f : {"kibot", "jlcpcb", "kicad5-bom2grouped", "kicad6-grouped-extvalue", "kicad8-grouped",
                              "kicad-pcbnew-bom", "per-reference-dnp", "per-reference", "eagle-sintetico"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void distinteReali()
    {
        const auto [file] = Valori<QString>("file");
        QFile f(Percorso(file + QStringLiteral(".attesi")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QStringList magazzino, attesi;
        QByteArray collegamenti = "MPN;Valore;Footprint;ID;Codice\r\n";
        for (const QString &riga : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            if (riga.startsWith(QStringLiteral("magazzino: ")))
                magazzino << riga.section(QStringLiteral(": "), 1);
            else if (riga.startsWith(QStringLiteral("collegamento: ")))
                collegamenti += riga.section(QStringLiteral(": "), 1).toUtf8() + "\r\n";
            else if (!riga.startsWith(u'#'))
                attesi << riga;
        }
        CartellaTest cartella;
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        RiempiMagazzino(s, magazzino);
        cartella.scrivi(NomeFileCollegamenti, collegamenti);

        const LetturaDistinta l = Leggi(file + QStringLiteral(".csv"));
        QCOMPARE(l.nonMontate, int(l.nonMontati.size()));
        qint64 pezzi = 0;
        for (const RigaDistinta &r : l.righe)
            pezzi += r.quantita;
        const VerificaDistinta v(s, l, LeggiCollegamenti(s));
        QStringList visti{QStringLiteral("letto: %1|%2|%3|%4|%5")
                              .arg(l.separatore)
                              .arg(l.rigaIntestazione)
                              .arg(l.quantitaDaRiferimenti ? "yes" : "no")
                              .arg(l.righeUnite)
                              .arg(l.nonMontati.join(u' ')),
                          QStringLiteral("pezzi: %1").arg(pezzi), QString()};
        int nonTrovati = 0;
        for (const VoceVerifica &voce : v.voci()) {
            if (voce.esito == EsitoRiga::NonTrovato) {
                ++nonTrovati;
                continue;
            }
            visti << QStringLiteral("riga: %1|%2|%3|%4|%5")
                         .arg(voce.riga.numero)
                         .arg(voce.parte)
                         .arg(voce.riga.quantita)
                         .arg(voce.codice, TestoEsito(voce));
        }
        visti[2] = QStringLiteral("non trovati: %1").arg(nonTrovati);
        QCOMPARE(visti, attesi);
    }
};

QTEST_GUILESS_MAIN(TestDistinta)
#include "tst_distinta.moc"
