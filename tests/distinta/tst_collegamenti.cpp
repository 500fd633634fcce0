// Linking BOM lines to components by hand, without any window: the key a
// line is linked by, the file Collegamenti.csv read and written back byte
// for byte, the check using the links, saving them (refused when read-only),
// and the search over codes and descriptions that finds the component.

#include "common/bomkicad.h"
#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "common/distintaprova.h"
#include "distinta/collegamenti.h"
#include "distinta/letturadistinta.h"
#include "distinta/ricercacomponenti.h"
#include "distinta/verificadistinta.h"

#include <QDir>

namespace {

// The stock names parts its own way: the KiCad BOM's "10k" and "100nF" are
// not codes here. IDs are not positions: they are what a link keeps.
void magazzino(Stato &s)
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

struct Archivio {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    Archivio()
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        magazzino(stato);
    }
};

} // namespace

class TestCollegamenti : public QObject {
    Q_OBJECT
private slots:
    // Two lines share a link when they carry the same MPN, or (without an
    // MPN) the same value and footprint: letter case, blanks around and a
    // footprint's library prefix aside.
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

    // The file: header, a byte-order mark, CR LF; quoted fields; a line
    // written twice counts once (the later); lines that cannot be read are
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

    // Any line can be linked (not found, ambiguous, found otherwise); lines
    // of the same key follow; a link to a component gone is left aside.
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
        magazzino(s);
        QStringList attesi{"10k||Non trovato",          "GRM21BR71H104KA01||Non trovato", "ne555|NE555|Disponibile",
                           "BC547||Da scegliere (2)",   "l7805cv|L7805CV|Disponibile",    "TL072CP||Non trovato",
                           "1N4148||Non trovato"};
        for (const QString &c : cambiate)
            attesi[c.section(u':', 0, 0).toInt()] = c.section(u':', 1);
        VerificaDistinta v(s, LeggiDistinta(BomKicad), Collegamenti::DaTesto(collegamenti));
        QCOMPARE(Esiti(v), attesi);
        // A linked line uses that component only: nothing to pick.
        for (int i = 0; i < v.voci().size(); ++i) {
            if (v.voci()[i].collegata) {
                QCOMPARE(v.voci()[i].candidati.size(), 1);
                QVERIFY(!v.scegli(i, 0));
            }
        }
    }

    // Two lines with one link share the component's stock in file order;
    // the component keeps its link when it moves in the table.
    void collegamentoSeguitoDaPiuRighe()
    {
        Stato s;
        magazzino(s);
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

    // Linking and unlinking from the check save the file at once.
    void collegaEScollega()
    {
        Archivio a;
        VerificaDistinta v(a.stato, LeggiDistinta(BomKicad), LeggiCollegamenti(a.stato));
        QVERIFY(v.collegamenti().isEmpty());
        QVERIFY(!a.cartella.esiste(NomeFileCollegamenti));
        QVERIFY(CollegaRiga(a.stato, v, 0, 1, a.dialoghi));                 // 10k
        QVERIFY(CollegaRiga(a.stato, v, 6, 7, a.dialoghi));                 // 1N4148
        QVERIFY(CollegaRiga(a.stato, v, 3, 5, a.dialoghi));                 // BC547: NXP
        QVERIFY(CollegaRiga(a.stato, v, 6, 6, a.dialoghi));                 // 1N4148 again: replaced
        QVERIFY(!CollegaRiga(a.stato, v, 7, 1, a.dialoghi));                // no such line
        QVERIFY(!CollegaRiga(a.stato, v, 0, 8, a.dialoghi));                // no such component
        const QByteArray atteso = "\xef\xbb\xbfMPN;Valore;Footprint;ID;Codice\r\n"
                                  ";10k;Resistor_SMD:R_0805_2012Metric;21;RES-10K-0805\r\n"
                                  ";1N4148;Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal;27;L7805CV\r\n"
                                  ";BC547;Package_TO_SOT_THT:TO-92_Inline;26;BC547\r\n";
        QCOMPARE(a.cartella.leggi(NomeFileCollegamenti), atteso);
        // The regulator's only piece went to the line before.
        QCOMPARE(Esiti(v)[6], QStringLiteral("1N4148|L7805CV|Mancano 1 (collegato)"));
        QVERIFY(ScollegaRiga(a.stato, v, 0, a.dialoghi));
        QVERIFY(!ScollegaRiga(a.stato, v, 0, a.dialoghi)); // nothing left to remove
        QVERIFY(!ScollegaRiga(a.stato, v, 2, a.dialoghi)); // never linked
        QCOMPARE(Esiti(v)[0], QStringLiteral("10k||Non trovato"));
        QCOMPARE(Esiti(v)[6], QStringLiteral("1N4148|L7805CV|Mancano 1 (collegato)")); // the others still hold
        QCOMPARE(a.cartella.leggi(NomeFileCollegamenti),
                 QByteArray("\xef\xbb\xbfMPN;Valore;Footprint;ID;Codice\r\n"
                            ";1N4148;Diode_THT:D_DO-35_SOD27_P7.62mm_Horizontal;27;L7805CV\r\n"
                            ";BC547;Package_TO_SOT_THT:TO-92_Inline;26;BC547\r\n"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Read-only: linking and unlinking are refused and told, nothing changes.
    // (A failed save and an unreadable file are tested through the window.)
    void solaLettura()
    {
        Archivio a;
        a.cartella.scrivi(NomeFileCollegamenti, "MPN;Valore;Footprint;ID;Codice\r\n;ne555;DIP-8_W7.62mm;29;\r\n");
        a.stato.SolaLettura = true;
        VerificaDistinta v(a.stato, LeggiDistinta(BomKicad), LeggiCollegamenti(a.stato));
        const QStringList prima = Esiti(v);
        QCOMPARE(prima[2], QStringLiteral("ne555|1N4148-TAP|Disponibile (collegato)"));
        for (int passo = 0; passo < 2; ++passo) {
            a.dialoghi.setNextAnswer(Risposta::Ok);
            QVERIFY(passo == 0 ? !CollegaRiga(a.stato, v, 0, 1, a.dialoghi) : !ScollegaRiga(a.stato, v, 2, a.dialoghi));
            QCOMPARE(a.dialoghi.ultimoBox().testo, QString::fromUtf8("Impossibile salvare il file Collegamenti.csv: il "
                                                                     "collegamento non è cambiato.\r\nl'archivio è "
                                                                     "aperto in sola lettura"));
            QCOMPARE(Esiti(v), prima);
        }
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The search to link by: every word in the code or the description,
    // letter case aside; at most so many listed, all counted.
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
    }
    void ricerca()
    {
        const auto [testo, massimo, posizioni] = Valori<QString, int, QList<qint32>>("testo", "massimo", "posizioni");
        const auto [trovati] = Valori<qsizetype>("trovati");
        Stato s;
        magazzino(s);
        s.componente(3).Descrizione = QString::fromUtf8("Timer, 10µF di\ndisaccoppiamento");
        s.Componenti.append(s.Componenti.first()); // beyond the count: not searched
        const RicercaComponenti r(s);
        qsizetype quanti = -1;
        QCOMPARE(r.cerca(testo, massimo, &quanti), posizioni);
        QCOMPARE(quanti, trovati);
    }
};

QTEST_GUILESS_MAIN(TestCollegamenti)
#include "tst_collegamenti.moc"
