// Reading what a scanner types: the labels collected in tests/data/scansioni as scanners really delivered them, the
// separators in every form, texts without separators, keyboard layouts, the reasons a text cannot be read.

#include "common/buste.h"
#include "common/campioniscansione.h"
#include "common/verifiche.h"
#include "ricevi/scansione.h"
#include "ricevi/tastiere.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A long value (20Z's padding) as its start and length.
QString Breve(const QString &v)
{
    return v.size() > 24 ? v.left(8) + u"...(%1)"_s.arg(v.size()) : v;
}

// The reading on one line: the format, the known fields by their identifiers ("1P=", "Q=", ...), every other field
// ("11Z:PICK"), the layout undone and whether the separators were missing; or the reason.
QString Riassunto(const Scansione &s)
{
    if (!s.leggibile())
        return u"Non leggibile: "_s + s.motivo;
    static const char *const nomi[] = {"nessuno", "15434", "LCSC", "semplice", "Arvo", "altro"};
    QStringList p{QString::fromLatin1(nomi[int(s.formato)])};
    const auto campo = [&](const char *id, const QString &v) {
        if (!v.isEmpty())
            p << QString::fromLatin1(id) + u'=' + Breve(v);
    };
    campo("1P", s.codice);
    if (s.idComponente != 0)
        p << u"ID=%1"_s.arg(s.idComponente);
    if (s.quantita != 0)
        p << u"Q=%1"_s.arg(s.quantita);
    for (const auto &[id, v] : {std::pair{"1V", &s.produttore}, {"P", &s.codiceDistributore}, {"K", &s.ordineCliente},
                                {"1K", &s.ordine}, {"10K", &s.fattura}, {"1T", &s.lotto}, {"9D", &s.dataCodice},
                                {"4L", &s.paese}})
        campo(id, *v);
    for (const CampoScansione &c : s.altri)
        p << c.identificatore + u':' + Breve(c.valore);
    if (!s.tastiera.isEmpty())
        p << u"tastiera "_s + s.tastiera;
    if (s.senzaSeparatori)
        p << u"senza separatori"_s;
    return p.join(u' ');
}

const QString DigiKey = u"15434 1P=LM358BIDDFR Q=10 P=296-LM358BIDDFRCT-ND 1K=72991337 10K=85781337 4L=PH 11K:1 "
                        "11Z:PICK 12Z:15221337 13Z:361337 20Z:00000000...(175)"_s;
const QString DigiKey2023 = u"15434 1P=TFM252012ALMA3R3MTAA Q=10 P=445-175186-1-ND 1K=95952283 10K=118292010 "
                            "1T=0844718727 9D=2532 4L=JP 30P:445-175186-1-ND 11K:1 11Z:PICK 12Z:7795258 "
                            "13Z:999999 20Z:00000000...(75)"_s;
const QString DigiKeyConfezione = u"15434 1P=AZ1117EH-3.3TRG1 Q=1 P=AZ1117EH-3.3TRG1DICT-ND 1T=H510592.U1 9D=1719 "
                                  "4L=CN J:2DA5B02E...(39) 14Z:170507 11Z:PREPACK 15Z:1.0.1 12Z:5001336 13Z:000000"_s;
const QString MouserVecchio = u"15434 1P=LDK320ADU33R Q=32 1V=STMicro K=21421337 4L=CN 14K:033 11K:060931337"_s;
const QString SenzaSeparatoriAmbiguo =
    u"Non leggibile: mancano i separatori dei campi e il testo si pu\u00f2 dividere in pi\u00f9 modi"_s;

// The fields of the small label the separator test writes in every form.
const QStringList CampiProva{"P296-LM358BIDDFRCT-ND", "1PLM358BIDDFR", "K",         "1K72991337",
                             "10K85781337",           "11K1",          "4LPH",      "Q10",
                             "11ZPICK",               "12Z15221337",   "13Z361337", "20Z000"};
const QString LettaProva = u"15434 1P=LM358BIDDFR Q=10 P=296-LM358BIDDFRCT-ND 1K=72991337 "
                           "10K=85781337 4L=PH 11K:1 11Z:PICK 12Z:15221337 13Z:361337 20Z:000"_s;

// A made-up format, for the list of readers: "ARVO|code|pieces".
class LettoreProva : public LettoreFormato {
public:
    bool leggiConIntestazione(QStringView testo, Scansione *esito) const override
    {
        if (!testo.startsWith(u"ARVO|"))
            return false;
        const QList<QStringView> parti = testo.split(u'|');
        esito->formato = FormatoScansione::Altro;
        esito->codice = parti.value(1).toString();
        esito->motivo = MotivoQuantita(parti.value(2), &esito->quantita);
        return true;
    }
};

} // namespace

class TestScansione : public QObject {
    Q_OBJECT
private slots:
    // The labels as the sources show them (FONTI.md), then texts written here to reach each rule: boundaries,
    // repeated fields, the reasons.
    void letture_data()
    {
        Colonne<QString, QString>("testo", "atteso");
        const auto riga = [](const char *nome, const QString &testo, const QString &atteso) {
            QTest::newRow(nome) << testo << atteso;
        };
        const auto campione = [&](const char *nome, const QString &atteso) {
            riga(nome, Campione(QString::fromLatin1(nome)), atteso);
        };
        const auto no = [&](const char *nome, const QString &testo, const QString &motivo) {
            riga(nome, testo, u"Non leggibile: "_s + motivo);
        };
        campione("digikey-controlli", DigiKey);
        campione("digikey-senza-separatori", DigiKey + u" senza separatori"_s);
        campione("digikey-2023-testo", DigiKey2023);
        campione("digikey-2023-tedesca", DigiKey2023 + u" tastiera tedesca senza separatori"_s);
        campione("digikey-teemi-mac", u"15434 1P=RT1206FRE07100KL Q=100 P=YAG3365CT-ND 1K=52907693 10K=60548898 "
                                      "11K:1 11Z:PICK 12Z:5418070 13Z:862411 20Z:00000000...(75)"_s);
        // "...07100KL" then an empty K field, or "...07100" then K "LK".
        campione("digikey-teemi-senza-separatori", SenzaSeparatoriAmbiguo);
        campione("digikey-confezione-cp437", DigiKeyConfezione);
        campione("digikey-confezione-grezzo", DigiKeyConfezione);
        campione("mouser", u"15434 1P=MC34063ADR Q=3 1V=TI K=P0-1337 4L=MX 14K:011 11K:073121337"_s);
        campione("mouser-vecchio", MouserVecchio);
        campione("mouser-gs-testo", MouserVecchio);
        campione("mouser-italiana", MouserVecchio + u" tastiera italiana senza separatori"_s);
        campione("mouser-senza-1p", u"Non leggibile: l'etichetta non riporta il codice del produttore (1P)"_s);
        campione("lcsc", u"LCSC 1P=ST-1-102-A01-T000-RS Q=2 P=C312270 1K=SO2009291337 pbn:PICK2009291337 mc: cc:1 "
                         "pdi:34421807"_s);
        campione("lcsc-senza-pm", u"Non leggibile: l'etichetta LCSC non riporta il codice del produttore (pm)"_s);
        campione("lcsc-a-mano", u"LCSC 1P=AMS1117-3.3 Q=1"_s);
        campione("lcsc-francese", u"LCSC 1P=NE555P Q=25 tastiera francese"_s);
        campione("gs1-formato-05",
                 u"Non leggibile: busta ISO/IEC 15434 di formato 05: si leggono solo le etichette di formato 06"_s);
        campione("tme-datamatrix", u"Non leggibile: testo con spazi in un formato sconosciuto"_s);
        campione("tme-qr", u"Non leggibile: testo di 128 caratteri in un formato sconosciuto"_s);
        const QString sessanta(60, u'X'), trentaNove = u"ARVO:"_s + QString(30, u'9');
        riga("codice scritto a mano", u"  lm317t\r\n"_s, u"semplice 1P=lm317t"_s);
        riga("codice di 60 caratteri", sessanta, u"semplice 1P=XXXXXXXX...(60)"_s);
        no("codice di 61 caratteri", sessanta + u'X', u"testo di 61 caratteri in un formato sconosciuto"_s);
        no("vuoto", QString(), u"nessun testo letto"_s);
        no("solo spazi", u" \t\r\n"_s, u"nessun testo letto"_s);
        no("carattere di controllo", u"BC\x07" "547"_s, u"il codice contiene caratteri di controllo"_s);
        no("4000 caratteri", QString(4000, u'1'), u"testo di 4000 caratteri in un formato sconosciuto"_s);
        no("4001 caratteri", QString(4001, u'1'), u"testo troppo lungo (4001 caratteri, al massimo 4000)"_s);
        riga("un campo solo", Busta(u"1PLM358"_s), u"15434 1P=LM358"_s);
        riga("senza intestazione", u"1PLM358\x1dQ10"_s, u"15434 1P=LM358 Q=10"_s);
        riga("campo ripetuto uguale", Busta(u"1PLM358|Q5|1PLM358"_s), u"15434 1P=LM358 Q=5"_s);
        no("campo ripetuto diverso", Busta(u"1PLM358|Q5|Q6"_s), u"il campo Q compare due volte con valori diversi"_s);
        riga("1V prima di V", Busta(u"VACME|1PX|1VTI|10D2301|9D2252"_s), u"15434 1P=X 1V=TI 9D=2252 V:ACME 10D:2301"_s);
        riga("V e 10D da soli", Busta(u"1PX|VACME|10D2301"_s), u"15434 1P=X 1V=ACME 9D=2301"_s);
        riga("campo senza identificatore", Busta(u"1PX|18|Q5"_s), u"15434 1P=X Q=5 :18"_s);
        no("senza 1P", Busta(u"Q10"_s), u"l'etichetta non riporta il codice del produttore (1P)"_s);
        no("1P vuoto", Busta(u"1P|Q10"_s), u"l'etichetta non riporta il codice del produttore (1P)"_s);
        no("carattere che i file non tengono", Busta(u"1P\u7535\u963b|Q5"_s),
           u"il codice (1P) contiene il carattere \"\u7535\", che i file dei dati non possono conservare"_s);
        no("quantit\u00e0 con le unit\u00e0", Busta(u"1PX|Q10 PCS"_s), u"quantit\u00e0 \"10 PCS\" non valida"_s);
        no("quantit\u00e0 zero", Busta(u"1PX|Q000"_s), u"quantit\u00e0 \"000\" non valida"_s);
        riga("quantit\u00e0 massima", Busta(u"1PX|Q01000000"_s), u"15434 1P=X Q=1000000"_s);
        no("quantit\u00e0 oltre il massimo", Busta(u"1PX|Q1000001"_s),
           u"quantit\u00e0 1000001 oltre il massimo di 1000000 pezzi"_s);
        no("quantit\u00e0 di 20 cifre", Busta(u"1PX|Q99999999999999999999"_s),
           u"quantit\u00e0 99999999999999999999 oltre il massimo di 1000000 pezzi"_s);
        no("intestazione senza formato", u"[)>\x1e"_s, u"dopo \"[)>\" manca il numero del formato"_s);
        no("formato 12", u"[)>\x1e" "12\x1dTesto\x1e\x04"_s,
           u"busta ISO/IEC 15434 di formato 12: si leggono solo le etichette di formato 06"_s);
        no("senza separatori e fuori dalle disposizioni", u"[)>06" "1PLM358Q10"_s,
           u"mancano i separatori dei campi e i campi non sono disposti come nell'etichetta di un distributore "
           "conosciuto"_s);
        riga("LCSC senza graffe", u"pm:NE555P,qty:10,pc:C7593"_s, u"LCSC 1P=NE555P Q=10 P=C7593"_s);
        riga("LCSC senza la graffa di chiusura", u"{pm:NE555P,qty:10"_s, u"LCSC 1P=NE555P Q=10"_s);
        riga("LCSC, virgola in un valore", u"{pm:CL21B104KBCNNNC,qty:4000,note:1,5 mm,wc:ZH}"_s,
             u"LCSC 1P=CL21B104KBCNNNC Q=4000 note:1,5 mm wc:ZH"_s);
        no("LCSC, quantit\u00e0 con le unit\u00e0", u"{pm:NE555P,qty:10pz}"_s, u"quantit\u00e0 \"10pz\" non valida"_s);
        no("LCSC, pm ripetuto", u"{pm:NE555P,qty:1,pm:NE556}"_s, u"il campo pm compare due volte con valori diversi"_s);
        // The program's own labels (which IDs are valid: tst_etichette).
        riga("etichetta di Arvo", u"ARVO:12"_s, u"Arvo ID=12"_s);
        riga("etichetta di Arvo, minuscole, zeri e a capo", u" arvo:0012\r\n"_s, u"Arvo ID=12"_s);
        riga("etichetta di Arvo, tastiera tedesca", u"ARVO\u00d612"_s, u"Arvo ID=12 tastiera tedesca"_s);
        no("etichetta di Arvo, ID di 30 cifre", u" "_s + trentaNove + u"\r\n"_s,
           u"l'etichetta di Arvo \"%1\" non riporta un numero di componente valido"_s.arg(trentaNove));
        riga("ARVO senza i due punti", u"ARVO12"_s, u"semplice 1P=ARVO12"_s);
        // Without separators the fields are split where the label's layout puts them: a "Q" with digits inside a part
        // number stays part of it unless the layout puts the quantity exactly there. Digi-Key's empty K field after the
        // part number makes every part number holding a "K" split two ways, and such a text is not read.
        for (const QString &codice : {u"BSS138Q"_s, u"IRF540NQ1"_s, u"LM358DRQ10"_s, u"AB11K1"_s})
            riga(qPrintable(u"Mouser senza separatori, "_s + codice),
                 u">[)>06K2142133714K0331P%1Q3211K0609313374LCN1VSTMicro"_s.arg(codice),
                 QString(MouserVecchio).replace(u"LDK320ADU33R"_s, codice) + u" senza separatori"_s);
        for (const QString &codice : {u"BSS138Q10"_s, u"RC0805FR-0710KL"_s, u"AB1K5"_s})
            riga(qPrintable(u"Digi-Key senza separatori, "_s + codice),
                 u"[)>06"_s + QStringList(CampiProva).replaceInStrings(u"1PLM358BIDDFR"_s, u"1P"_s + codice).join(""),
                 codice.contains(u'K') ? SenzaSeparatoriAmbiguo
                                       : QString(LettaProva).replace(u"LM358BIDDFR "_s, codice + u' ')
                                             + u" senza separatori"_s);
    }
    void letture()
    {
        const auto [testo, atteso] = Valori<QString, QString>("testo", "atteso");
        const Scansione s = LeggiScansione(testo);
        QCOMPARE(Riassunto(s), atteso);
        QCOMPARE(s.testo, testo);
    }

    // One label with its separators (RS after "[)>", GS between fields, the trailer) in every form scanners give them.
    void separatori_data()
    {
        Colonne<QString, QString, QString, QString, QString>("prima", "rs", "gs", "fine", "atteso");
        const auto riga = [](const char *nome, const char16_t *prima, const char16_t *rs, const char16_t *gs,
                             const char16_t *fine, const QString &atteso = LettaProva) {
            QTest::newRow(nome) << QString::fromUtf16(prima) << QString::fromUtf16(rs) << QString::fromUtf16(gs)
                                << QString::fromUtf16(fine) << atteso;
        };
        riga("caratteri di controllo", u"", u"\x1e", u"\x1d", u"\x1e\x04");
        riga("figure di controllo", u"", u"\u241e", u"\u241d", u"\u241e\u2404");
        riga("Alt+codice (code page 437)", u"", u"\u25b2", u"\u2194", u"\u25b2\u2666");
        riga("tasti F9 e F8 del Mac", u"", u"\uf70c", u"\uf70b", u"\uf70c");
        riga("fine sconosciuta", u"", u"\uf70c", u"\uf70b", u"\uf70c\uf701");
        riga("{GS}", u"", u"{RS}", u"{GS}", u"{RS}{EOT}");
        riga("<gs> minuscolo", u"", u"<rs>", u"<gs>", u"<rs><eot>");
        riga("[GS]", u"", u"[RS]", u"[GS]", u"[RS][EOT]");
        riga("notazione ^", u"", u"^^", u"^]", u"^^^D");
        riga("Ctrl perso", u"", u"^", u"]", u"^D");
        riga("carattere insolito dall'intestazione", u"", u"\u2192", u"\u2190", u"\u2192");
        riga("> davanti, senza RS e senza fine", u">", u"", u"\x1d", u"");
        riga("resto dopo la fine", u"", u"\x1e", u"\x1d", u"\x1eV\r");
        riga("a capo e spazi intorno", u"  ", u"\x1e", u"\x1d", u"\x1e\x04\r\n");
        riga("nessun separatore", u"", u"", u"", u"", LettaProva + u" senza separatori"_s);
    }
    void separatori()
    {
        const auto [prima, rs, gs, fine, atteso] =
            Valori<QString, QString, QString, QString, QString>("prima", "rs", "gs", "fine", "atteso");
        const QString testo = prima + u"[)>"_s + rs + u"06"_s + gs + CampiProva.join(gs) + fine;
        QCOMPARE(Riassunto(LeggiScansione(testo)), atteso);
        // The header lost, or garbled by an unknown layout: the fields are still found by their identifiers, when the
        // separators are in a form known without the header.
        if (!gs.isEmpty() && gs != u"]" && gs != u"\u2190") {
            QCOMPARE(Riassunto(LeggiScansione(CampiProva.join(gs) + fine)), atteso);
            QCOMPARE(Riassunto(LeggiScansione(u"\u00fc=\u00d606"_s + gs + CampiProva.join(gs))), atteso);
        }
    }

    // What scanners set up for a US keyboard typed on other layouts, as users reported it, put back.
    void tastiere_data()
    {
        Colonne<QString, QString, QString>("tastiera", "digitato", "inteso");
        QTest::newRow("tedesca, / diventa -") << "tedesca" << "123-456" << "123/456"; // php-barcode#2
        QTest::newRow("italiana, _ diventa ?") << "italiana" << "test?123" << "test_123"; // qrcodejs#236
        QTest::newRow("tedesca, Y e Z") << "tedesca" << "11Y20Yz" << "11Z20Zy";
        QTest::newRow("francese, intestazione") << "francese" << "^0/\u00e0-" << "[)>06";
        QTest::newRow("francese, lettere e cifre") << "francese" << "&Pa," << "1Pqm";
        QTest::newRow("caratteri senza tasto") << "tedesca" << "\u241d\x1d\u00b5" << "\u241d\x1d\u00b5";
    }
    void tastiere()
    {
        const auto [nome, digitato, inteso] = Valori<QString, QString, QString>("tastiera", "digitato", "inteso");
        const auto &tastiere = TastiereConosciute();
        const auto t = std::find_if(tastiere.cbegin(), tastiere.cend(), [&](const Tastiera &k) { return k.nome == nome; });
        QVERIFY(t != tastiere.cend());
        QCOMPARE(DisfaTastiera(digitato, *t), inteso);
        // Each layout pairs the same keys: one character each, none twice.
        QCOMPARE(t->locale.size(), t->us.size());
        for (const QChar c : t->locale)
            QCOMPARE(t->locale.count(c), 1);
    }

    // A reader added to the list comes after the standard ones and before the plain code; layouts are undone for it.
    void lettoreAggiunto()
    {
        LettoriScansione lettori;
        QCOMPARE(Riassunto(lettori.leggi(u"ARVO|BC547|25"_s)), u"semplice 1P=ARVO|BC547|25"_s);
        lettori.aggiungi(std::make_unique<LettoreProva>());
        QCOMPARE(Riassunto(lettori.leggi(u"ARVO|BC547|25"_s)), u"altro 1P=BC547 Q=25"_s);
        // "|" on Italian.
        QCOMPARE(Riassunto(lettori.leggi(u"ARVO\u00a7BC547\u00a725"_s)), u"altro 1P=BC547 Q=25 tastiera italiana"_s);
        QCOMPARE(Riassunto(lettori.leggi(u"ARVO|BC547|molti"_s)), u"Non leggibile: quantit\u00e0 \"molti\" non valida"_s);
        QCOMPARE(Riassunto(lettori.leggi(Campione(u"lcsc-a-mano"_s))), u"LCSC 1P=AMS1117-3.3 Q=1"_s);
    }
};

QTEST_GUILESS_MAIN(TestScansione)
#include "tst_scansione.moc"
