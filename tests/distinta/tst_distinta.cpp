// Reading a bill of materials and checking it against the stock, without
// any window: the columns and encodings a BOM comes in, the outcome of each
// line, the shopping list byte for byte, and taking the pieces off the stock
// all or nothing.

#include "common/bomkicad.h"
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "distinta/letturadistinta.h"
#include "distinta/verificadistinta.h"
#include "store/ini.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QDir>
#include <QStringEncoder>
#include <QTest>

namespace {


Componente pezzo(qint32 id, const char *codice, qint32 quantita, const char *produttore = "ACME")
{
    Componente c;
    c.ID = id;
    c.Codice = QString::fromUtf8(codice);
    c.Quantita = quantita;
    c.NomeProduttore = QString::fromUtf8(produttore);
    c.NomeTipo = QStringLiteral("IC");
    c.DataInserimento = QDateTime(QDate(2024, 1, 2), QTime(0, 0), Qt::UTC);
    return c;
}

// The drawers: 10K and 100NF by value, the capacitor's MPN with one piece
// only, two BC547 from different makers, the regulator both by value and by
// its MPN.
void magazzino(Stato &s)
{
    s.Componenti = {pezzo(1, "10K", 100),     pezzo(2, "100NF", 500),       pezzo(3, "GRM21BR71H104KA01", 1),
                    pezzo(4, "NE555", 5),     pezzo(5, "BC547", 10, "ST"), pezzo(6, "BC547", 3, "NXP"),
                    pezzo(7, "LM7805", 10),   pezzo(8, "L7805CV", 1),       pezzo(9, "TL072", 4)};
    s.NumComponenti = 9;
    s.ProssimoIDComponente = 10;
    ContaPezzi(s);
}

QStringList esiti(const VerificaDistinta &v)
{
    QStringList out;
    for (const VoceVerifica &voce : v.voci())
        out << voce.parte + '|' + voce.codice + '|' + TestoEsito(voce);
    return out;
}

struct Archivio {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    Archivio()
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        QDir().mkpath(cartella.file(QStringLiteral("Exported")));
        stato.Versione = VersioneDati;
        for (int i = 1; i <= 6; ++i)
            stato.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
        magazzino(stato);
        DialoghiFinti d;
        if (!SalvaDatabase(stato, d))
            qFatal("salvataggio iniziale fallito");
    }
};

} // namespace

class TestDistinta : public QObject {
    Q_OBJECT
private slots:
    void letturaKicad()
    {
        const LetturaDistinta l = LeggiDistinta(BomKicad);
        QVERIFY2(l.errore.isEmpty(), qPrintable(l.errore));
        QCOMPARE(l.separatore, QChar(u','));
        QCOMPARE(l.rigaIntestazione, 1);
        QVERIFY(l.haMpn && l.haValore);
        QCOMPARE(l.righe.size(), 7);
        const RigaDistinta &r = l.righe[0];
        QCOMPARE(r.numero, 2);
        QCOMPARE(r.riferimenti, QStringLiteral("R1,R2,R5"));
        QCOMPARE(r.valore, QStringLiteral("10k"));
        QCOMPARE(r.footprint, QStringLiteral("Resistor_SMD:R_0805_2012Metric"));
        QCOMPARE(r.quantita, 3);
        QCOMPARE(r.mpn, QString());
        QCOMPARE(l.righe[1].mpn, QStringLiteral("GRM21BR71H104KA01"));
        QCOMPARE(l.righe[6].numero, 8);
    }

    // Every outcome, letter case, the MPN winning over the value (and the
    // value used when the MPN is not in stock), for one and two boards.
    void verifica_data()
    {
        QTest::addColumn<int>("schede");
        QTest::addColumn<QString>("attesi"); // the outcome of each line, in file order
        QTest::addColumn<QString>("riepilogo");
        QTest::newRow("una scheda")
            << 1 << "Disponibile|Mancano 1|Disponibile|Da scegliere (2)|Disponibile|Disponibile|Non trovato"
            << "Disponibili 4 - Mancano pezzi 1 - Non trovati 1 - Da scegliere 1";
        QTest::newRow("due schede")
            << 2 << "Disponibile|Mancano 3|Disponibile|Da scegliere (2)|Mancano 1|Disponibile|Non trovato"
            << "Disponibili 3 - Mancano pezzi 2 - Non trovati 1 - Da scegliere 1";
        QTest::newRow("cinque schede")
            << 5 << "Disponibile|Mancano 9|Disponibile|Da scegliere (2)|Mancano 4|Mancano 1|Non trovato"
            << "Disponibili 2 - Mancano pezzi 3 - Non trovati 1 - Da scegliere 1";
    }
    void verifica()
    {
        QFETCH(int, schede);
        QFETCH(QString, attesi);
        QFETCH(QString, riepilogo);
        Stato s;
        magazzino(s);
        VerificaDistinta v(s, LeggiDistinta(BomKicad));
        v.calcola(s, schede);
        // Which part each line names and the code it found do not depend on
        // the boards.
        QStringList trovati, esito;
        for (const VoceVerifica &voce : v.voci()) {
            trovati << voce.parte + '=' + voce.codice;
            esito << TestoEsito(voce);
        }
        QCOMPARE(trovati.join(u' '), QStringLiteral("10k=10K GRM21BR71H104KA01=GRM21BR71H104KA01 ne555=NE555 "
                                                    "BC547= l7805cv=L7805CV TL072=TL072 1N4148="));
        QCOMPARE(esito.join(u'|'), attesi);
        QCOMPARE(TestoRiepilogo(v.riepilogo()), riepilogo);
        QCOMPARE(v.voci()[0].necessari, 3 * schede);
        QCOMPARE(v.voci()[1].giacenza, 1);
    }

    // Two components share the code: the line says so until one is picked,
    // and then counts on that one's stock only.
    void sceltaAmbigua()
    {
        Stato s;
        magazzino(s);
        VerificaDistinta v(s, LeggiDistinta(BomKicad));
        QCOMPARE(v.voci()[3].candidati, (QList<qint32>{5, 6}));
        QVERIFY(v.prelievi().size() == 5); // the BC547 line takes nothing yet
        QVERIFY(!v.scegli(3, 4));          // not one of its candidates
        QVERIFY(!v.scegli(0, 1));          // a line with one match has nothing to pick
        QVERIFY(v.scegli(3, 6));
        v.calcola(s, 1);
        QCOMPARE(TestoEsito(v.voci()[3]), QStringLiteral("Disponibile"));
        QCOMPARE(v.voci()[3].giacenza, 3);
        v.calcola(s, 2);
        QCOMPARE(TestoEsito(v.voci()[3]), QStringLiteral("Mancano 1"));
        QVERIFY(v.scegli(3, 5));
        v.calcola(s, 2);
        QCOMPARE(TestoEsito(v.voci()[3]), QStringLiteral("Disponibile"));
        QVERIFY(v.scegli(3, 0));
        v.calcola(s, 2);
        QCOMPARE(TestoEsito(v.voci()[3]), QStringLiteral("Da scegliere (2)"));
    }

    // The codes changed after the check was built: each line is matched
    // again, a pick stays while its component still matches, and one that
    // no longer does is dropped.
    void riconfronto()
    {
        Stato s;
        magazzino(s);
        VerificaDistinta v(s, LeggiDistinta(BomKicad));
        v.calcola(s, 2);
        QVERIFY(v.scegli(3, 6));
        s.componente(4).Codice = QStringLiteral("NE556"); // NE555 renamed
        s.componente(9).Codice = QStringLiteral("TL072CP"); // now found by its MPN
        v.riconfronta(s);
        QCOMPARE(v.schede(), 2);
        QCOMPARE(esiti(v)[2], QStringLiteral("ne555||Non trovato"));
        QCOMPARE(esiti(v)[5], QStringLiteral("TL072CP|TL072CP|Disponibile"));
        QCOMPARE(v.voci()[3].scelta, 6);
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
        s.componente(5).Codice = QStringLiteral("BC337");
        v.riconfronta(s);
        QCOMPARE(v.voci()[3].scelta, 0);
        QCOMPARE(TestoEsito(v.voci()[3]), QStringLiteral("Da scegliere (2)"));
    }

    // Reading from disk goes through the shared reader (whose refusals of
    // folders and FIFOs are tested with it), with the BOM's size limit.
    void fileSuDisco()
    {
        CartellaTest c;
        c.scrivi(QStringLiteral("scheda.csv"), BomKicad);
        const LetturaDistinta l = LeggiFileDistinta(c.file(QStringLiteral("scheda.csv")));
        QVERIFY2(l.errore.isEmpty(), qPrintable(l.errore));
        QCOMPARE(l.righe.size(), 7);
        const QString mancante = c.file(QStringLiteral("manca.csv"));
        QCOMPARE(LeggiFileDistinta(mancante).errore,
                 QString::fromUtf8("Impossibile leggere il file %1: non è un file normale o non è leggibile.")
                     .arg(QDir::toNativeSeparators(mancante)));

        // Larger than any BOM: refused without reading it all (a sparse file).
        QFile grande(c.file(QStringLiteral("grande.csv")));
        QVERIFY(grande.open(QIODevice::WriteOnly));
        QVERIFY(grande.resize(DimensioneMassimaDistinta + 10));
        grande.close();
        QVERIFY(LeggiFileDistinta(grande.fileName()).errore.startsWith(
            QString::fromUtf8("Il file è troppo grande per essere letto (oltre 64 MB)")));
    }

    // Lines that use the same component share its stock in file order, and
    // the pieces taken never exceed it. Lines that name the same part as
    // written ("10k" twice, blanks aside) are one line of their pieces
    // together; "10K" is written otherwise and stays a line of its own.
    void stessoComponenteSuPiuRighe()
    {
        Stato s;
        magazzino(s);
        const QByteArray bom = "Reference;Value;Quantity\r\nR1;10k;60\r\nR2;10K ;50\r\nR3; 10k;1\r\nU1;NE555;2\r\n";
        const LetturaDistinta l = LeggiDistinta(bom);
        QCOMPARE(l.righeUnite, 1);
        QCOMPARE(l.righe[0].riferimenti, QStringLiteral("R1,R3"));
        QCOMPARE(l.righe[0].quantita, 61);
        VerificaDistinta v(s, l);
        QCOMPARE(esiti(v), (QStringList{"10k|10K|Disponibile", "10K|10K|Mancano 11", "NE555|NE555|Disponibile"}));
        QCOMPARE(v.prelievi(), (QList<Prelievo>{{1, 100}, {4, 2}}));
    }

    // How many references a list names: separated by commas, semicolons or
    // blanks, ranges counted in full (either way round, with or without the
    // letters after the dash, blanks around the dash allowed).
    void riferimenti_data()
    {
        QTest::addColumn<QString>("elenco");
        QTest::addColumn<qint64>("quanti");
        QTest::addColumn<QString>("espansi"); // the first ones, at most 6, joined by "+"
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
        QFETCH(QString, elenco);
        QFETCH(qint64, quanti);
        QFETCH(QString, espansi);
        QCOMPARE(ContaRiferimenti(elenco), quanti);
        QCOMPARE(EspandiRiferimenti(elenco, 6).join(u'+'), espansi);
        if (quanti <= 6)
            QCOMPARE(EspandiRiferimenti(elenco).size(), quanti);
    }

    // Which column each header name stands for: one line of a file whose
    // header is given, read into references, value, MPN, stock code,
    // footprint and quantity.
    void colonne_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QTest::addColumn<QString>("letta"); // riferimenti|valore|mpn|codice|footprint|quantita
        QTest::newRow("JLCPCB: Comment, Designator, senza quantità")
            << QByteArray("\"Comment\",\"Designator\",\"Footprint\",\"LCSC Part #\"\n\"10k\",\"R1,R2,R3\",\"R_0805\",\"C17414\"\n")
            << "R1,R2,R3|10k|||R_0805|3";
        QTest::newRow("Eagle: Parts, Package")
            << QByteArray("\"Qty\";\"Value\";\"Device\";\"Package\";\"Parts\";\"Description\"\n"
                          "\"2\";\"100n\";\"C-EUC0805\";\"C0805\";\"C1, C2\";\"CAPACITOR\"\n")
            << "C1, C2|100n|||C0805|2";
        QTest::newRow("Eagle, elenco delle parti: Part") << QByteArray("Part;Value;Device;Package\nR7;10k;R-EU;R0805\n")
                                                         << "R7|10k|||R0805|1";
        QTest::newRow("KiBot: References prima di Part") << QByteArray("Row,Part,References,Value,Quantity Per PCB\n"
                                                                       "1,R_Small,R1 R2,10k,2\n")
                                                         << "R1 R2|10k||||2";
        QTest::newRow("Value vince su Comment, anche dopo")
            << QByteArray("Comment,Designator,Value,Qty\nResistenza,R1,10k,1\n") << "R1|10k||||1";
        QTest::newRow("Footprint vince su Package") << QByteArray("Ref,Value,Package,Footprint,Qty\nR1,10k,0805,R_0805,1\n")
                                                    << "R1|10k|||R_0805|1";
        QTest::newRow("Package/Footprint") << QByteArray("Designator,Comment,Package / Footprint,Quantity\nU1,NE555,DIP8,1\n")
                                           << "U1|NE555|||DIP8|1";
        QTest::newRow("Designation del circuito stampato")
            << QByteArray("\"Id\";\"Designator\";\"Footprint\";\"Quantity\";\"Designation\";\"Supplier and ref\";\n"
                          "1;\"R2,R1\";\"R_Axial\";2;\"R\";;;\n")
            << "R2,R1|R|||R_Axial|2";
        QTest::newRow("Codice") << QByteArray("Ref,Value,Codice,Qty\nR1,10k,RES-10K,1\n") << "R1|10k||RES-10K||1";
        QTest::newRow("IPN") << QByteArray("Ref,Value,ipn,Qty\nR1,10k,RES-10K,1\n") << "R1|10k||RES-10K||1";
        QTest::newRow("Arvo") << QByteArray("Ref,Value,ARVO,Qty\nR1,10k,RES-10K,1\n") << "R1|10k||RES-10K||1";
        QTest::newRow("Stock code") << QByteArray("Ref,Value,Stock Code,Qty\nR1,10k,RES-10K,1\n") << "R1|10k||RES-10K||1";
        QTest::newRow("Codice produttore resta MPN")
            << QByteArray("Ref,Value,Codice produttore,Qty\nR1,10k,RC0805,1\n") << "R1|10k|RC0805|||1";
        QTest::newRow("MPN segnaposto") << QByteArray("Reference,Value,MPN,Count\nC1,100n,ANY,1\n") << "C1|100n||||1";
        QTest::newRow("riga più corta dell'intestazione, valori con spazi")
            << QByteArray("Reference, Quantity, Value, Footprint, Datasheet, LCSC, MPN\nA1 ,1,\" Y_Driver\",\"Module:P\"\n")
            << "A1|Y_Driver|||Module:P|1";
    }
    void colonne()
    {
        QFETCH(QByteArray, dati);
        QFETCH(QString, letta);
        const LetturaDistinta l = LeggiDistinta(dati);
        QVERIFY2(l.errore.isEmpty(), qPrintable(l.errore));
        QCOMPARE(l.righe.size(), 1);
        const RigaDistinta &r = l.righe[0];
        QCOMPARE(r.errore, QString());
        QCOMPARE(QStringList({r.riferimenti, r.valore, r.mpn, r.codice, r.footprint, QString::number(r.quantita)})
                     .join(u'|'),
                 letta);
    }

    // Without a quantity column every line counts its references; a line
    // without any cannot be used. Lines of one part are added together, in
    // the place of the first.
    void quantitaDaiRiferimenti()
    {
        const LetturaDistinta l = LeggiDistinta("Reference, Value, Footprint\n\"R1\",\"10k\",\"R_0805\"\n"
                                                "\"C1 C2\",\"100n\",\"C_0805\"\n\"\",\"1k\",\"R_0805\"\n"
                                                "\"R2-R4\",\"10k\",\"R_0805\"\n\"R5\",\"10k\",\"R_0603\"\n");
        QVERIFY2(l.errore.isEmpty(), qPrintable(l.errore));
        QVERIFY(l.quantitaDaRiferimenti);
        QCOMPARE(l.righeUnite, 1);
        QStringList righe;
        for (const RigaDistinta &r : l.righe)
            righe << QStringLiteral("%1:%2:%3:%4").arg(r.numero).arg(r.riferimenti).arg(r.quantita).arg(r.errore);
        QCOMPARE(righe, (QStringList{"2:R1,R2-R4:4:", "3:C1 C2:2:",
                                     QString::fromUtf8("4::0:mancano i riferimenti, che danno la quantità"),
                                     "6:R5:1:"}));
        QCOMPARE(LeggiDistinta("Ref,Value\nR1-R1000001,10k\n").righe[0].errore,
                 QString::fromUtf8("troppi riferimenti: 1000001 (al massimo 1000000 per scheda)"));
        QVERIFY(!LeggiDistinta(BomKicad).quantitaDaRiferimenti);
    }

    // A stock code column is looked for first, then the MPN, then the
    // value: each one only when the one before finds nothing.
    void codiceDiMagazzino_data()
    {
        QTest::addColumn<QByteArray>("riga"); // Ref,Codice,MPN,Value,Qty
        QTest::addColumn<QString>("esito");   // parte|codice|esito
        QTest::newRow("codice prima dell'MPN") << QByteArray("U1,TL072,l7805cv,NE555,1") << "TL072|TL072|Disponibile";
        QTest::newRow("codice non trovato: MPN") << QByteArray("U1,X-1,l7805cv,NE555,1") << "l7805cv|L7805CV|Disponibile";
        QTest::newRow("né codice né MPN: valore") << QByteArray("U1,X-1,X-2,ne555,1") << "ne555|NE555|Disponibile";
        QTest::newRow("solo il codice") << QByteArray("U1,lm7805,,,1") << "lm7805|LM7805|Disponibile";
        QTest::newRow("nulla trovato: il codice") << QByteArray("U1,X-1,X-2,X-3,1") << "X-1||Non trovato";
        QTest::newRow("codice di due componenti") << QByteArray("Q1,bc547,TL072,,1") << "bc547||Da scegliere (2)";
    }
    void codiceDiMagazzino()
    {
        QFETCH(QByteArray, riga);
        QFETCH(QString, esito);
        Stato s;
        magazzino(s);
        VerificaDistinta v(s, LeggiDistinta("Ref,Codice,MPN,Value,Qty\n" + riga + "\n"));
        QCOMPARE(esiti(v), QStringList{esito});
    }

    // Separators, encodings, header names and lines before the header.
    void formati_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QTest::addColumn<QString>("separatore");
        QTest::addColumn<QString>("codifica");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("riferimenti");
        QTest::newRow("punto e virgola, Windows-1252")
            << QByteArray("Riferimenti;Valore;Quantit\xe0\r\n\"C1;C2\";4,7\xb5" "F;2\r\n") << ";"
            << "Windows-1252" << QString::fromUtf8("4,7µF") << "C1;C2";
        QTest::newRow("tabulazione, UTF-8") << QByteArray("Ref\tValue\tQty\nR1 R2\t4,7\xc2\xb5" "F\t2\n") << "\t"
                                            << "UTF-8" << QString::fromUtf8("4,7µF") << "R1 R2";
        QTest::newRow("UTF-8 con BOM, virgolette raddoppiate")
            << QByteArray("\xef\xbb\xbf\"Reference\",\"Value\",\"Quantity\"\r\n\"J1\",\"Conn \"\"A\"\"\",\"2\"\r\n")
            << "," << "UTF-8" << "Conn \"A\"" << "J1";
        QTest::newRow("righe prima dell'intestazione, solo CR")
            << QByteArray("Source: scheda.kicad_sch\rDate: 06/12/2026\r\rItem,Qty,Reference(s),Value,"
                          "Footprint\r1,2,\"R1, R2\",10k,R_0805\r")
            << "," << "Windows-1252" << "10k" << "R1, R2";
        QStringEncoder utf16(QStringConverter::Utf16LE);
        QTest::newRow("UTF-16 con BOM")
            << QByteArray("\xff\xfe" + QByteArray(utf16(QString::fromUtf8("Ref\tValue\tQty\r\nU1\tΩ\t1\r\n"))))
            << "\t" << "UTF-16" << QString::fromUtf8("Ω") << "U1";
        QTest::newRow("MPN senza valore, nomi in maiuscolo")
            << QByteArray("DESIGNATOR;MANUFACTURER PART NUMBER;QTY\r\nU1;NE555P;1\r\n") << ";"
            << "Windows-1252" << QString() << "U1";
    }
    void formati()
    {
        QFETCH(QByteArray, dati);
        QFETCH(QString, separatore);
        QFETCH(QString, codifica);
        QFETCH(QString, valore);
        QFETCH(QString, riferimenti);
        const LetturaDistinta l = LeggiDistinta(dati);
        QVERIFY2(l.errore.isEmpty(), qPrintable(l.errore));
        QCOMPARE(QString(l.separatore), separatore);
        QCOMPARE(l.codifica, codifica);
        QCOMPARE(l.righe.size(), 1);
        QCOMPARE(l.righe[0].valore, valore);
        QCOMPARE(l.righe[0].riferimenti, riferimenti);
        QCOMPARE(l.righe[0].errore, QString());
        QVERIFY(l.righe[0].quantita >= 1);
    }

    // Lines marked in a DNP column are not fitted: left out and counted.
    void nonMontare()
    {
        const LetturaDistinta l = LeggiDistinta("Refs,Value,Qty,DNP\r\nR1,10k,2,\r\nR2,22k,1,DNP\r\nR3,1k,1,0\r\n");
        QCOMPARE(l.nonMontate, 1);
        QCOMPARE(l.nonMontati, QStringList{"R2"});
        QCOMPARE(l.righe.size(), 2);
        QCOMPARE(l.righe[1].riferimenti, QStringLiteral("R3"));
    }

    // Files that cannot be a BOM: one clear message, no lines.
    void fileInutilizzabili_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QTest::addColumn<QString>("inizio");
        QTest::newRow("vuoto") << QByteArray() << QString::fromUtf8("Il file è vuoto");
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
        QFETCH(QByteArray, dati);
        QFETCH(QString, inizio);
        const LetturaDistinta l = LeggiDistinta(dati);
        QVERIFY2(l.errore.startsWith(inizio), qPrintable(l.errore));
        QVERIFY(l.righe.isEmpty());
    }

    // A line that cannot be used is kept, with its number and the reason,
    // and the lines around it are read.
    void righeConErrori()
    {
        QByteArray bom = "Reference,Value,Qty\r\nR1,10k,abc\r\nR2,10k,-3\r\nR3,,2\r\nR4,\"10k,2\r\nR5,10k,"
                         "99999999999999999999\r\n";
        bom += "R6," + QByteArray(3 * 1024 * 1024, 'k') + ",1\r\n";
        bom += "R7,NE555,2\r\nR8,10k,\r\nR9, \"10k\" x,1\r\n";
        Stato s;
        magazzino(s);
        const LetturaDistinta l = LeggiDistinta(bom);
        QVERIFY(l.errore.isEmpty());
        QStringList errori;
        for (const RigaDistinta &r : l.righe)
            errori << QString::number(r.numero) + ": " + r.errore;
        QCOMPARE(errori, (QStringList{
                             QString::fromUtf8("2: quantità non valida: \"abc\""),
                             QString::fromUtf8("3: quantità non valida: \"-3\""),
                             QString::fromUtf8("4: manca il componente (né valore né MPN)"),
                             "5: virgolette aperte e mai chiuse",
                             QString::fromUtf8("6: quantità troppo grande: 99999999999999999999 (al massimo "
                                               "1000000 per scheda)"),
                             "7: riga troppo lunga (3145733 caratteri, al massimo 65536)",
                             "8: ",
                             QString::fromUtf8("9: manca la quantità"),
                             "10: testo dopo le virgolette di chiusura",
                         }));
        VerificaDistinta v(s, l);
        QCOMPARE(TestoEsito(v.voci()[0]), QString::fromUtf8("Errore alla riga 2: quantità non valida: \"abc\""));
        QCOMPARE(TestoEsito(v.voci()[6]), QStringLiteral("Disponibile"));
        QCOMPARE(v.riepilogo().errori, 8);
        QCOMPARE(v.prelievi(), (QList<Prelievo>{{4, 2}}));
    }

    // The shopping list: short and missing lines only, quoted where a field
    // holds the separator or a quote, UTF-8 with a byte-order mark (Ω and µ
    // as in the BOM), CR LF, in Exported. (The window's test writes it with
    // ";", where a comma needs no quotes.)
    void listaMancanti()
    {
        Archivio a;
        const QByteArray bom = BomKicad + "\"J1,J2\",\"Morsetto \"\"5mm\"\" \xc2\xb5\",\"\",\"1\",\"\"\r\n"
                                          "\"R9\",\"4,7\xce\xa9\",\"R_0805\",\"1\",\"\"\r\n";
        VerificaDistinta v(a.stato, LeggiDistinta(bom));
        v.calcola(a.stato, 2);
        const QString percorso = EsportaMancanti(a.stato, v, a.dialoghi);
        QCOMPARE(percorso, a.cartella.file("Exported/Mancanti.csv"));
        QCOMPARE(a.cartella.leggi("Exported/Mancanti.csv"),
                 QByteArray("\xef\xbb\xbfRiferimenti,Componente,Footprint,Codice,Necessari,In magazzino,Da acquistare\r\n"
                            "\"C1,C2\",GRM21BR71H104KA01,Capacitor_SMD:C_0805_2012Metric,GRM21BR71H104KA01,4,1,3\r\n"
                            "U2,l7805cv,Package_TO_SOT_THT:TO-220-3_Vertical,L7805CV,2,1,1\r\n"
                            "D1,1N4148,Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal,,2,0,2\r\n"
                            "\"J1,J2\",\"Morsetto \"\"5mm\"\" \xc2\xb5\",,,2,0,2\r\n"
                            "R9,\"4,7\xce\xa9\",R_0805,,2,0,2\r\n"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void listaMancantiNonScrivibile()
    {
        Archivio a;
        QVERIFY(QDir().mkpath(a.cartella.file("Exported/Mancanti.csv/x")));
        VerificaDistinta v(a.stato, LeggiDistinta(BomKicad));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QCOMPARE(EsportaMancanti(a.stato, v, a.dialoghi), QString());
        const auto box = a.dialoghi.ultimoBox();
        QCOMPARE(box.testo, QString::fromUtf8("Errore nella creazione del file Mancanti.csv\r\nForse il file è già "
                                              "aperto in altro programma"));
        QCOMPARE(box.titolo, QStringLiteral("Lista non generata"));
        QCOMPARE(box.icona, Icona::Critica);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Taking the pieces is checked through the window (tst_frmdistinta); a
    // save that fails puts every quantity back and leaves the files as they
    // were.
    void prelevaSalvataggioFallito()
    {
        Archivio a;
        const QByteArray primaFile = a.cartella.leggi("Componenti.dat");
        const QByteArray primaIni = a.cartella.leggi("Info.ini");
        const QList<Componente> primaMemoria = a.stato.Componenti;
        const qint64 totale = a.stato.TotalePezzi;
        VerificaDistinta v(a.stato, LeggiDistinta(BomKicad));
        GuastoScrittura guasto;
        guasto.fileGuasto = 1;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!PrelevaComponenti(a.stato, a.dialoghi, v.prelievi(), guasto));
        QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        QCOMPARE(a.stato.Componenti, primaMemoria);
        QCOMPARE(a.stato.TotalePezzi, totale);
        QCOMPARE(a.cartella.leggi("Componenti.dat"), primaFile);
        QCOMPARE(a.cartella.leggi("Info.ini"), primaIni);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_GUILESS_MAIN(TestDistinta)
#include "tst_distinta.moc"
