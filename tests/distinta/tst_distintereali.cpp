// Real bills of materials from open-hardware projects (tests/data/distinta,
// sources and licences in FONTI.md), each checked against a stock built for
// it: the outcome of every line (found, short, ambiguous, linked by hand,
// not found) and its pieces. The three LumenPnP files describe one board in
// three formats and are checked against each other reference by reference.

#include "common/cartellatest.h"
#include "distinta/collegamenti.h"
#include "distinta/letturadistinta.h"
#include "distinta/verificadistinta.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTest>

namespace {

QString Percorso(const QString &nome) { return QStringLiteral(ARVO_DISTINTE_REALI "/") + nome; }

LetturaDistinta Leggi(const QString &nome)
{
    const LetturaDistinta l = LeggiFileDistinta(Percorso(nome));
    if (!l.errore.isEmpty())
        QTest::qFail(qPrintable(nome + ": " + l.errore), __FILE__, __LINE__);
    return l;
}

// "ID:CODICE:PEZZI:PRODUTTORE" for each component, in table order.
void Riempi(Stato &s, const QStringList &componenti)
{
    for (const QString &voce : componenti) {
        const QStringList p = voce.split(u':');
        Componente c;
        c.ID = p[0].toInt();
        c.Codice = p[1];
        c.Quantita = p[2].toInt();
        c.NomeProduttore = p.value(3, QStringLiteral("ACME"));
        c.NomeTipo = QStringLiteral("IC");
        c.DataInserimento = QDateTime(QDate(2024, 1, 2), QTime(0, 0), Qt::UTC);
        s.Componenti.append(c);
    }
    s.NumComponenti = qint32(s.Componenti.size());
    s.ProssimoIDComponente = 1000;
    ContaPezzi(s);
}

// The same board in three files: a stock by value, the 2.7k resistors and
// the "Bottom Camera" connector linked by hand (the link of the connector
// written with KiCad's library prefix, which the other two files leave out).
const QStringList MagazzinoLumen{"1:100N:20",  "2:10K:10",          "3:10U:5:KEMET", "4:10U:5:MURATA",    "5:TL072:3",
                                 "6:STM32F407VETX:1", "7:RES-2K7-0805:100", "8:CONN-USB-A:2", "9:AO3400A:8"};
const QByteArray CollegamentiLumen = "MPN;Valore;Footprint;ID;Codice\r\n"
                                     ";2.7k;R_0805_2012Metric;7;RES-2K7-0805\r\n"
                                     ";Bottom Camera;Connector_USB:USB_A_Stewart_SS-52100-001_Horizontal;8;CONN-USB-A\r\n";

// One reference's value and footprint (without its library prefix).
QMap<QString, QString> PerRiferimento(const LetturaDistinta &l)
{
    QMap<QString, QString> m;
    for (const RigaDistinta &r : l.righe) {
        const QString footprint = r.footprint.mid(r.footprint.lastIndexOf(u':') + 1);
        for (const QString &rif : EspandiRiferimenti(r.riferimenti))
            m.insert(rif, r.valore + u'|' + footprint);
    }
    return m;
}

qint64 Pezzi(const LetturaDistinta &l)
{
    qint64 n = 0;
    for (const RigaDistinta &r : l.righe)
        n += r.quantita;
    return n;
}

} // namespace

class TestDistinteReali : public QObject {
    Q_OBJECT
private slots:
    // Every line of each file: the ones listed with their outcome
    // ("line|part|per board|code|outcome"), every other one not found;
    // the number of lines and of pieces; and, on every line, as many
    // references as pieces (counted from the list when the file has no
    // quantity column, read from it otherwise).
    void righe_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("magazzino");
        QTest::addColumn<QByteArray>("collegamenti");
        QTest::addColumn<QStringList>("attesi");
        QTest::addColumn<int>("nonTrovati");
        QTest::addColumn<qint64>("pezzi");
        QTest::addColumn<QString>("letto"); // separator, header line, quantity from references, lines joined, DNP

        // KiBot's two files list the board in the same order.
        const QStringList kibot{"8|100n|12|100N|Disponibile",
                                "10|10u|1||Da scegliere (2)",
                                "11|10u|3||Da scegliere (2)",
                                "20|Bottom Camera|3|CONN-USB-A|Mancano 1 (collegato)",
                                "36|AO3400A|8|AO3400A|Disponibile",
                                "41|2.7k|12|RES-2K7-0805|Disponibile (collegato)",
                                "44|10k|15|10K|Mancano 5",
                                "54|STM32F407VETx|1|STM32F407VETX|Disponibile",
                                "55|TL072|1|TL072|Disponibile"};
        QTest::newRow("KiBot") << "kibot.csv" << MagazzinoLumen << CollegamentiLumen << kibot << 49 << qint64(234)
                               << ",|1|no|0|";
        QTest::newRow("JLCPCB") << "jlcpcb.csv" << MagazzinoLumen << CollegamentiLumen << kibot << 49 << qint64(234)
                                << ",|1|yes|0|";
        // Here J14 is alone under "Bottom Camera"; J15 and J16 have values
        // of their own and no link.
        QTest::newRow("KiCad 5") << "kicad5-bom2grouped.csv" << MagazzinoLumen << CollegamentiLumen
                                 << QStringList{"5|100n|12|100N|Disponibile",
                                                "7|10u|1||Da scegliere (2)",
                                                "8|10u|3||Da scegliere (2)",
                                                "24|Bottom Camera|1|CONN-USB-A|Disponibile (collegato)",
                                                "59|AO3400A|8|AO3400A|Disponibile",
                                                "60|10k|15|10K|Mancano 5",
                                                "62|2.7k|12|RES-2K7-0805|Disponibile (collegato)",
                                                "72|STM32F407VETx|1|STM32F407VETX|Disponibile",
                                                "78|TL072|1|TL072|Disponibile"}
                                 << 74 << qint64(246) << ",|1|no|0|";
        // Found by MPN, short, two makers of one MPN, a value with commas
        // and an MPN linked by hand.
        QTest::newRow("KiCad 6, preambolo") << "kicad6-grouped-extvalue.csv"
                                            << QStringList{"1:C3216X7R1H105K160AE:1", "2:ICE40UP5K-SG48ITR:0",
                                                           "3:RES-10K-0402:5",        "4:CH552E:2:WCH",
                                                           "5:CH552E:1:NANJING",      "6:USBLC6-2SC6:10",
                                                           "7:FLASH-8M-USON:3"}
                                            << QByteArray("MPN;Valore;Footprint;ID;Codice\r\n"
                                                          ";\"10k,1/16W,5%\";mta1:ERJ2G(0402)_L;3;RES-10K-0402\r\n"
                                                          "W25Q80DVUXIE;;;7;FLASH-8M-USON\r\n")
                                            << QStringList{"9|C3216X7R1H105K160AE|1|C3216X7R1H105K160AE|Disponibile",
                                                           "15|10k,1/16W,5%|9|RES-10K-0402|Mancano 4 (collegato)",
                                                           "21|CH552E|1||Da scegliere (2)",
                                                           "22|USBLC6-2SC6|1|USBLC6-2SC6|Disponibile",
                                                           "23|ICE40UP5K-SG48ITR|1|ICE40UP5K-SG48ITR|Mancano 1",
                                                           "24|W25Q80DVUXIE|1|FLASH-8M-USON|Disponibile (collegato)"}
                                            << 14 << qint64(47) << ",|6|no|0|";
        QTest::newRow("KiCad 8") << "kicad8-grouped.csv"
                                 << QStringList{"1:1N4148:20", "2:XIAO-RP2040-DIP:1", "3:CONN_01X04_PIN:0"}
                                 << QByteArray(";D;Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal;1;1N4148\r\n")
                                 << QStringList{"2|D|9|1N4148|Disponibile (collegato)",
                                                "3|Conn_01x04_Pin|1|CONN_01X04_PIN|Mancano 1",
                                                "6|XIAO-RP2040-DIP|1|XIAO-RP2040-DIP|Disponibile"}
                                 << 2 << qint64(21) << ",|1|no|0|";
        QTest::newRow("KiCad, circuito stampato") << "kicad-pcbnew-bom.csv"
                                                  << QStringList{"1:RES-1K-AX:5", "2:SK6812MINI:100", "3:PICO:2"}
                                                  << QByteArray(";R;R_Axial_DIN0204_L3.6mm_D1.6mm_P7.62mm_Horizontal;1;\r\n")
                                                  << QStringList{"3|R|8|RES-1K-AX|Mancano 3 (collegato)",
                                                                 "8|SK6812MINI|42|SK6812MINI|Disponibile",
                                                                 "9|Pico|2|PICO|Disponibile"}
                                                  << 5 << qint64(182) << ";|1|no|0|";
        // One line per reference: lines of one part added together; three
        // switches of one MPN but different values share its two pieces; a
        // component coded "ANY" is not what the placeholder MPN means, so
        // the capacitors linked by value and footprint keep their link.
        QTest::newRow("una riga per riferimento, DNP")
            << "per-reference-dnp.csv"
            << QStringList{"1:LP5907MFX-3.3/NOPB:10", "2:ICE40UP5K-SG48I:1", "3:CPDFR5V0:5", "4:C-100N-0805:100",
                           "5:PTS525SM15SMTR2 LFS:2",  "6:ANY:1000"}
            << QByteArray(";\"0805, 100nF, 10V, X5R, 20%\";C_0805_2012Metric_Pad1.15x1.40mm_HandSolder;4;\r\n")
            << QStringList{"2|LP5907MFX-3.3/NOPB|1|LP5907MFX-3.3/NOPB|Disponibile",
                           "17|0805, 100nF, 10V, X5R, 20%|8|C-100N-0805|Disponibile (collegato)",
                           "23|PTS525SM15SMTR2 LFS|1|PTS525SM15SMTR2 LFS|Disponibile",
                           "24|PTS525SM15SMTR2 LFS|1|PTS525SM15SMTR2 LFS|Disponibile",
                           "48|ICE40UP5K-SG48I|1|ICE40UP5K-SG48I|Disponibile",
                           "50|PTS525SM15SMTR2 LFS|1|PTS525SM15SMTR2 LFS|Mancano 1",
                           "56|CPDFR5V0|6|CPDFR5V0|Mancano 1"}
            << 15 << qint64(52) << ",|1|no|30|U9 U6 SW2 R4 U8 C19 C16 J3 R13 J2";
        QTest::newRow("una riga per riferimento, senza quantità")
            << "per-reference.csv" << QStringList{"1:470R:1", "2:10UF:10", "3:100NF:2", "4:CP2102N-A01-GQFN20:1"}
            << QByteArray()
            << QStringList{"6|470R|2|470R|Mancano 1", "8|10uF|2|10UF|Disponibile", "9|100nF|2|100NF|Disponibile",
                           "12|CP2102N-A01-GQFN20|1|CP2102N-A01-GQFN20|Disponibile"}
            << 10 << qint64(17) << ",|1|yes|3|";
        // Written here in the shape of Eagle's BOM export (no Eagle file
        // with a licence that allows copying was found): a pin header
        // without a value cannot be looked for.
        QTest::newRow("Eagle (sintetico)")
            << "eagle-sintetico.csv"
            << QStringList{"1:10K:3", "2:100N:1", "3:C-4U7-1206:10", "4:NE555N:0", "5:BC547:5:ST", "6:BC547:5:NXP"}
            << QByteArray(";4,7\xc2\xb5;C1206;3;C-4U7-1206\r\n")
            << QStringList{"2|10k|3|10K|Disponibile", "3|100n|2|100N|Mancano 1",
                           QString::fromUtf8("4|4,7µ|1|C-4U7-1206|Disponibile (collegato)"), "5|NE555N|1|NE555N|Mancano 1",
                           "6|BC547|2||Da scegliere (2)",
                           QString::fromUtf8("7||0||Errore alla riga 7: manca il componente (né valore né MPN)")}
            << 0 << qint64(9) << ";|1|no|0|";
    }
    void righe()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, magazzino);
        QFETCH(QByteArray, collegamenti);
        QFETCH(QStringList, attesi);
        QFETCH(int, nonTrovati);
        QFETCH(qint64, pezzi);
        QFETCH(QString, letto);
        CartellaTest cartella;
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        Riempi(s, magazzino);
        if (!collegamenti.isEmpty())
            cartella.scrivi(NomeFileCollegamenti, collegamenti);

        const LetturaDistinta l = Leggi(file);
        QCOMPARE(QStringList({QString(l.separatore), QString::number(l.rigaIntestazione),
                              l.quantitaDaRiferimenti ? QStringLiteral("yes") : QStringLiteral("no"),
                              QString::number(l.righeUnite), l.nonMontati.join(u' ')})
                     .join(u'|'),
                 letto);
        QCOMPARE(l.nonMontate, int(l.nonMontati.size()));
        QCOMPARE(Pezzi(l), pezzi);
        for (const RigaDistinta &r : l.righe) {
            if (r.errore.isEmpty())
                QVERIFY2(ContaRiferimenti(r.riferimenti) == r.quantita, qPrintable(r.riferimenti));
        }

        const VerificaDistinta v(s, l, LeggiCollegamenti(s));
        QStringList trovati;
        int mancanti = 0;
        for (const VoceVerifica &voce : v.voci()) {
            if (voce.esito == EsitoRiga::NonTrovato) {
                ++mancanti;
                QCOMPARE(voce.codice, QString());
                QCOMPARE(voce.mancanti, voce.necessari);
                continue;
            }
            trovati << QStringLiteral("%1|%2|%3|%4|%5")
                           .arg(voce.riga.numero)
                           .arg(voce.parte)
                           .arg(voce.riga.quantita)
                           .arg(voce.codice, TestoEsito(voce));
        }
        QCOMPARE(trovati, attesi);
        QCOMPARE(mancanti, nonTrovati);
    }

    // KiBot's BOM and JLCPCB's (written by KiBot for the same board) agree
    // line by line: the quantity JLCPCB's file leaves out is the number of
    // references the other states. The KiCad 5 file has the same 234
    // references with the same footprints, and twelve more (fiducials,
    // holes, test points, two solder jumpers), and the same values but for
    // connectors that KiBot groups under one value.
    void stessaScheda()
    {
        const LetturaDistinta kibot = Leggi(QStringLiteral("kibot.csv"));
        const LetturaDistinta jlc = Leggi(QStringLiteral("jlcpcb.csv"));
        const LetturaDistinta kicad5 = Leggi(QStringLiteral("kicad5-bom2grouped.csv"));
        QCOMPARE(kibot.righe.size(), jlc.righe.size());
        for (qsizetype i = 0; i < kibot.righe.size(); ++i) {
            const RigaDistinta &a = kibot.righe[i];
            const RigaDistinta &b = jlc.righe[i];
            QCOMPARE(b.valore, a.valore);
            QCOMPARE(b.footprint, a.footprint);
            QCOMPARE(EspandiRiferimenti(b.riferimenti), EspandiRiferimenti(a.riferimenti));
            QCOMPARE(b.quantita, a.quantita);
        }
        const QMap<QString, QString> perKibot = PerRiferimento(kibot);
        const QMap<QString, QString> perKicad5 = PerRiferimento(kicad5);
        QCOMPARE(perKibot.size(), 234);
        QCOMPARE(perKicad5.size(), 246);
        QSet<QString> soloKicad5(perKicad5.keyBegin(), perKicad5.keyEnd());
        soloKicad5.subtract(QSet<QString>(perKibot.keyBegin(), perKibot.keyEnd()));
        QCOMPARE(soloKicad5, (QSet<QString>{"FID1", "FID2", "FID3", "H1", "H2", "H3", "H4", "TP1", "TP2", "TP3",
                                            "JP33", "JP34"}));
        QStringList diversi;
        for (auto it = perKibot.cbegin(); it != perKibot.cend(); ++it) {
            const QString altro = perKicad5.value(it.key());
            QCOMPARE(altro.section(u'|', 1), it.value().section(u'|', 1)); // footprint
            if (altro != it.value())
                diversi << it.key() + u'=' + altro.section(u'|', 0, 0);
        }
        // KiBot groups connectors of one symbol and footprint under the
        // first one's value: 25 of them carry a value of their own in the
        // KiCad 5 file, every other reference the same value.
        QCOMPARE(diversi.size(), 25);
        for (const QString &d : diversi)
            QVERIFY2(d.startsWith(u'J') && !d.startsWith(QStringLiteral("JP")), qPrintable(d));
        QVERIFY(diversi.contains(QStringLiteral("J15=AUX USB")));
        QVERIFY(diversi.contains(QStringLiteral("J16=Top Camera")));
    }
};

QTEST_GUILESS_MAIN(TestDistinteReali)
#include "tst_distintereali.moc"
