// The component rules: the code matcher, numbers read from text, the numeric part of a code, cleaned texts, the
// records the detail panel makes, finds and deletes; low stock, its minimum read from a custom field, and the
// Info.ini keys of the optional features (absent while unused, damaged values read as the defaults).
#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "components/like.h"
#include "components/operazioni.h"
#include "components/regole.h"
#include "components/scorta.h"
#include "store/aiutiarchivio.h"
#include "store/ini.h"
#include "store/stato.h"

#include <limits>

namespace {

Stato ConCodici(const QStringList &codici)
{
    Stato s;
    for (const QString &codice : codici) {
        Componente c;
        c.ID = qint32(s.Componenti.size()) + 10;
        c.Codice = codice;
        c.CodiceNumerico = 547;
        s.Componenti.append(c);
    }
    s.NumComponenti = qint32(s.Componenti.size());
    return s;
}

QStringList Codici(const Stato &s)
{
    QStringList codici;
    for (qint32 pos = 1; pos <= s.NumComponenti; ++pos)
        codici << s.componente(pos).Codice;
    return codici;
}

Componente conMinimo(qint32 quantita, int campo, const QString &minimo)
{
    Componente c;
    c.Codice = QStringLiteral("X");
    c.Quantita = quantita;
    QString *campi[] = {&c.Extra1, &c.Extra2, &c.Extra3, &c.Extra4, &c.Extra5, &c.Extra6};
    *campi[campo - 1] = minimo;
    return c;
}

} // namespace

class TestComponenti : public QObject {
    Q_OBJECT
private slots:
    void like_data()
    {
        Colonne<QString, QString, bool>("testo", "schema", "atteso");
        QTest::newRow("equal") << "NE555" << "NE555" << true;
        QTest::newRow("case differs") << "NE555" << "ne555" << false;
        QTest::newRow("empty pattern") << "A" << "" << false;
        QTest::newRow("contains") << "74HC00" << "*HC*" << true;
        QTest::newRow("star needs backtracking") << "AXBXC" << "*X*C" << true;
        QTest::newRow("star must reach end") << "ABCD" << "*C" << false;
        QTest::newRow("leading star") << "XC" << "*C" << true;
        QTest::newRow("leading star, nothing before") << "C" << "*C" << true;
        QTest::newRow("trailing star") << "CX" << "C*" << true;
        QTest::newRow("question") << "74LS00" << "*7?L*" << true;
        QTest::newRow("question needs one") << "7L" << "7?L" << false;
        QTest::newRow("hash digit") << "R10" << "R##" << true;
        QTest::newRow("hash not other digit") << QString::fromUtf8("R1\u0663") << "R##" << false;
        QTest::newRow("range in") << "B" << "[A-C]" << true;
        QTest::newRow("negated in") << "D" << "[!A-C]" << true;
        QTest::newRow("star in brackets is literal") << "A*" << "A[*]" << true;
        QTest::newRow("bracket in brackets") << "[" << "[[]" << true;
        QTest::newRow("hyphen first") << "-" << "[-A]" << true;
        QTest::newRow("descending range empty") << "B" << "[C-A]" << false;
        QTest::newRow("empty list is an empty text") << "AB" << "A[]B" << true;
        QTest::newRow("negated empty list any") << "AXB" << "A[!]B" << true;
        QTest::newRow("closing bracket alone") << "A]" << "A]" << true;
        // An opening bracket without its closing one stands for itself.
        QTest::newRow("unclosed literal") << "[AB" << "[AB" << true;
        QTest::newRow("unclosed in search") << "X[AB7" << "*[AB*" << true;
        QTest::newRow("unclosed, wildcards still work") << "[X1" << "[?#" << true;
        // A character outside the BMP is one character; a lone surrogate is
        // one of its own, in the text and in the pattern alike.
        QTest::newRow("one question, one emoji") << QString::fromUtf8("A\U0001F600B") << "A?B" << true;
        QTest::newRow("star backtracks over emoji")
            << QString::fromUtf8("X\U0001F600\U0001F600B\U0001F600B") << "X*??B" << true;
        const QString solo(QChar(char16_t(0xD89B)));
        QTest::newRow("lone surrogate matches itself") << solo << solo << true;
        QTest::newRow("lone surrogate is not U+FFFD") << QString(QChar(0xFFFD)) << solo << false;
        // The exponential trap of naive backtracking, answered at once.
        const QString molte(10000, u'A'), schema = QStringLiteral("*A").repeated(200);
        QTest::newRow("many stars, no B") << molte << schema + "*B" << false;
        QTest::newRow("many stars, B at the end") << molte + "B" << schema + "*B" << true;
        QTest::newRow("200 stars, no B") << molte << QString(200, u'*') + "B" << false;
        QTest::newRow("many stars, no ?B") << molte << schema + "?*B*" << false;
    }
    void like()
    {
        const auto [testo, schema] = Valori<QString, QString>("testo", "schema");
        QTEST(Like(testo, schema), "atteso");
    }

    void numeroDaCodiceEPulisciTesto()
    {
        QCOMPARE(NumeroDaCodice("1N4148"), 14148);
        QCOMPARE(NumeroDaCodice("0805-01"), 80501); // leading zeros
        QCOMPARE(NumeroDaCodice("RELAY"), 0);
        QCOMPARE(NumeroDaCodice("A\u0663\u0661\u0662"), 0); // only ASCII digits
        QCOMPARE(NumeroDaCodice("X2147483647"), 2147483647);
        QCOMPARE(NumeroDaCodice("X2147483648"), 2147483647); // capped
        QCOMPARE(NumeroDaCodice(QString(40, QLatin1Char('9'))), 2147483647);
        QCOMPARE(PulisciTesto("a\rb\nc\n\rd"), "a\rb\nc\n\rd"); // lone CR, lone LF, LF CR: kept
        QCOMPARE(PulisciTesto("a\r\r\n\nb"), "a\r \nb");
    }

    // Val and its Long; a minimum of stock is read from the same texts (minimo: one is found), as the Long.
    void val_data()
    {
        Colonne<QString, double, qint32, bool>("testo", "atteso", "intero", "minimo");
        QTest::newRow("12 pz") << " 12 pz" << 12.0 << 12 << true;
        QTest::newRow("comma stops") << "3,5" << 3.0 << 3 << true;
        QTest::newRow("abc") << "abc" << 0.0 << 0 << false;
        QTest::newRow("empty") << "" << 0.0 << 0 << false;
        QTest::newRow("blanks only") << "   " << 0.0 << 0 << false;
        QTest::newRow("sign alone") << "-" << 0.0 << 0 << false;
        QTest::newRow("point alone") << "." << 0.0 << 0 << false;
        QTest::newRow("hexadecimal without digits") << "&H" << 0.0 << 0 << false;
        QTest::newRow("integer") << "10" << 10.0 << 10 << true;
        QTest::newRow("zero") << "0" << 0.0 << 0 << true;
        QTest::newRow("negative") << "-2" << -2.0 << -2 << true;
        QTest::newRow("blank after sign") << "- 3" << -3.0 << -3 << true;
        QTest::newRow("plus and blanks") << " + 8" << 8.0 << 8 << true;
        QTest::newRow("two signs") << "--3" << 0.0 << 0 << false;
        QTest::newRow("half down to even") << "2.5" << 2.5 << 2 << true;
        QTest::newRow("half up to even") << "3.5" << 3.5 << 4 << true;
        QTest::newRow("negative half to even") << "-2.5" << -2.5 << -2 << true;
        QTest::newRow("blanks anywhere") << " 1 2 " << 12.0 << 12 << true;
        QTest::newRow("point after a blank") << "2 .5" << 2.5 << 2 << true;
        QTest::newRow("tabs and line breaks") << "\t1\r\n0" << 10.0 << 10 << true;
        QTest::newRow("exponent") << "1e1" << 10.0 << 10 << true;
        QTest::newRow("exponent after a blank") << "3 e2" << 300.0 << 300 << true;
        QTest::newRow("exponent D, negative") << "25D-1" << 2.5 << 2 << true;
        QTest::newRow("exponent with blanks") << "1 E + 2" << 100.0 << 100 << true;
        QTest::newRow("exponent without digits") << "4e" << 4.0 << 4 << true;
        QTest::newRow("unit starting with D") << "4 DIP" << 4.0 << 4 << true;
        QTest::newRow("leading point") << ".5" << 0.5 << 0 << true;
        QTest::newRow("leading point, rounds up") << ".6" << 0.6 << 1 << true;
        QTest::newRow("second point stops") << "1.2.3" << 1.2 << 1 << true;
        QTest::newRow("hexadecimal") << "&H10" << 16.0 << 16 << true;
        QTest::newRow("hexadecimal lower case") << "&h1f" << 31.0 << 31 << true;
        QTest::newRow("octal stops at 8") << "&O78" << 7.0 << 7 << true;
        QTest::newRow("ampersand alone") << "&12" << 0.0 << 0 << false;
        QTest::newRow("nine digits") << "-999999999 pz" << -999999999.0 << -999999999 << true;
        QTest::newRow("ten digits clamp") << "2147483648" << 2147483648.0 << 2147483647 << true;
        QTest::newRow("smallest Long") << "-2147483648" << -2147483648.0 << std::numeric_limits<qint32>::min() << true;
        QTest::newRow("rounds past the top clamps") << "2147483647.5" << 2147483647.5 << 2147483647 << true;
        QTest::newRow("below range clamps") << "-1e12" << -1e12 << std::numeric_limits<qint32>::min() << true;
        QTest::newRow("large exponent clamps") << "1e30" << 1e30 << 2147483647 << true;
        QTest::newRow("tiny exponent is 0") << "1e-999999" << 0.0 << 0 << true;
        // Beyond a double: infinity with its sign, and the Long clamps.
        QTest::newRow("huge exponent") << "1e999999999999" << qInf() << 2147483647 << true;
        QTest::newRow("huge negative") << "-7e400" << -qInf() << std::numeric_limits<qint32>::min() << true;
        QTest::newRow("four hundred digits") << QString(400, QLatin1Char('9')) << qInf() << 2147483647 << true;
    }
    void val()
    {
        const auto [testo, intero, minimo] = Valori<QString, qint32, bool>("testo", "intero", "minimo");
        QTEST(Val(testo), "atteso");
        QCOMPARE(LongDaTesto(testo), intero);
        qint32 letto = -999;
        QCOMPARE(LeggiMinimo(testo, &letto), minimo);
        QCOMPARE(letto, minimo ? intero : -999);
    }

    void componenteDaPannello()
    {
        Stato s;
        s.Tipi = {{7, "DIODO"}, {3, "TRANSISTOR"}};
        s.Produttori = {{9, "PHILIPS"}};
        s.Packages = {{4, "TO92", "", ""}, {5, "SOT23", "", ""}};
        s.NumTipi = s.NumPackages = 2;
        s.NumProduttori = 1;
        ValoriPannello v{.codice = " bc\"547b ", .quantita = "2.5", .tipo = "TRANSISTOR", .produttore = "PHILIPS",
                         .package = "SOT23", .pins = "3 pin", .descrizione = "NPN \"general\", 45V\r\n100mA",
                         .note = "a,b", .datasheet = "BC547 \"rev\",2.pdf", .immagine = "bc\"547.jpg",
                         .extra = {"x,1", "\"2\"", "3\r\n", "4", "", "6\n"}};
        const QDateTime data(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
        // IDs (not positions) looked up; the code upper-cased, not trimmed; the
        // quantity rounded half to even; quotes, commas and line breaks cleaned.
        const Componente atteso{.ID = 42, .IDProduttore = 9, .IDTipo = 3, .IDPackage = 5, .Pins = 3,
                                .NomeTipo = "TRANSISTOR", .Codice = " BC'547B ", .CodiceNumerico = 547, .Quantita = 2,
                                .NomeProduttore = "PHILIPS", .Descrizione = "NPN 'general' -  45V 100mA",
                                .Datasheet = "BC547 'rev',2.pdf", .Immagine = "bc'547.jpg", .Note = "a - b",
                                .DataInserimento = data, .Extra1 = "x - 1", .Extra2 = "'2'", .Extra3 = "3 ",
                                .Extra4 = "4", .Extra5 = "", .Extra6 = "6\n"};
        QCOMPARE(ComponenteDaPannello(s, v, 42, data), atteso);

        // Names are exact and case-sensitive: unknown or empty ones give 0.
        v.tipo = "transistor";
        v.produttore = "\"P\"";
        v.package.clear();
        const Componente c = ComponenteDaPannello(s, v, 1, QDateTime());
        QCOMPARE(QList<qint32>({c.IDTipo, c.IDProduttore, c.IDPackage}), QList<qint32>({0, 0, 0}));
        QCOMPARE(c.NomeTipo, "transistor");
        QCOMPARE(c.NomeProduttore, "'P'");
    }

    void testoConflitto()
    {
        Stato s = ConCodici({"BC547C", "NE555", "BC547A", "BC547D"});
        s.Componenti[1].CodiceNumerico = 555;
        s.NumComponenti = 3; // storage past the count is not a component
        QCOMPARE(TestoConflitto(s, 547, "BC547B"),
                 "Ci sono altri componenti con lo stesso codice numerico [547] of BC547B:\r\n"
                 "> BC547C\r\n> BC547A\r\n\r\nDevo continuare comunque ?");
        QCOMPARE(TestoConflitto(s, 317, "LM317T"), QString());
    }

    void eliminaPosizione()
    {
        Stato s = ConCodici({"A", "B", "C", "D", "E"});
        EliminaPosizione(s, 2);
        QCOMPARE(Codici(s), QStringList({"A", "C", "D", "E"}));
        QCOMPARE(s.componente(2).ID, 12); // records keep their IDs
        EliminaPosizione(s, 4);
        for (qint32 fuori : {0, 4, -1})
            EliminaPosizione(s, fuori);
        QCOMPARE(Codici(s), QStringList({"A", "C", "D"}));

        Stato unico = ConCodici({"SOLO"});
        EliminaPosizione(unico, 1);
        QCOMPARE(unico.NumComponenti, 0);
    }

    void cercaCodici()
    {
        Stato s = ConCodici({"74HC00", "74LS00", "LM317T"});
        QCOMPARE(CercaCodici(s, "###t"), QList<qint32>{3});
        QCOMPARE(CercaCodici(s, "[!7]m"), QList<qint32>{3});
        QCOMPARE(CercaCodici(s, "xyz"), QList<qint32>{});
        s.NumComponenti = 1;
        QCOMPARE(CercaCodici(s, QString()), QList<qint32>{1});
        s.NumComponenti = 0;
        QCOMPARE(CercaCodici(s, QString()), QList<qint32>{});
    }

    void sottoScorta_data()
    {
        Colonne<int, QString, int, bool>("campo", "minimo", "quantita", "sotto");
        QTest::newRow("campo 1, sotto") << 1 << "10" << 9 << true;
        QTest::newRow("campo 1, pari al minimo") << 1 << "10" << 10 << false;
        QTest::newRow("campo 4, sotto") << 4 << "5 pezzi" << 4 << true;
        QTest::newRow("campo 6, sopra") << 6 << "5" << 6 << false;
        // How a minimum is read is val's.
        QTest::newRow("vuoto: nessun minimo") << 1 << "" << -100 << false;
        QTest::newRow("3.5 vale 4: 3 e sotto") << 1 << "3.5" << 3 << true;
        QTest::newRow("minimo negativo, quantita zero") << 1 << "-2" << 0 << false;
        QTest::newRow("minimo negativo, quantita piu bassa") << 1 << "-2" << -3 << true;
    }
    void sottoScorta()
    {
        const auto [campo, minimo, quantita] = Valori<int, QString, int>("campo", "minimo", "quantita");
        const Componente c = conMinimo(quantita, campo, minimo);
        QTEST(SottoScorta(c, campo), "sotto");
        // The other fields never count.
        for (int altro = 1; altro <= 6; ++altro)
            if (altro != campo)
                QVERIFY(!SottoScorta(c, altro));
    }

    // Counting and listing look at positions 1 to the count only, with the field the state names.
    void contaEPosizioni()
    {
        Stato s;
        s.Componenti = {conMinimo(1, 1, "5"), conMinimo(0, 4, "1"), conMinimo(0, 4, "9")};
        s.NumComponenti = 2; // the third is a spare slot
        s.CampoMinimo = 4;
        QCOMPARE(ContaSottoScorta(s), 1);
        QCOMPARE(PosizioniSottoScorta(s), QList<qint32>{2});
    }

    // The keys as ScriviInfo writes them come back; damaged values are read as the defaults. Written again: absent
    // while unused, else in sections of their own, kept (with the default value) once there ("scritta" null: as read).
    void valoriLetti_data()
    {
        Colonne<QByteArray, int, bool, QByteArray>("aggiunta", "campo", "cerca", "scritta");
        const auto riga = [](const char *nome, const QByteArray &aggiunta, int campo, bool cerca,
                             const QByteArray &scritta = {}) {
            QTest::newRow(nome) << aggiunta << campo << cerca << scritta;
        };
        const QByteArray minimoUno = "[Scorta]\r\nCampo minimo=1\r\n";
        riga("assenti", "", 1, false);
        riga("come scritti", "[Scorta]\r\nCampo minimo=4\r\n[Ricerca]\r\nCerca nella descrizione=True\r\n", 4, true);
        riga("campo 6, Vero", "[Scorta]\r\nCampo minimo=6\r\n[Ricerca]\r\nCerca nella descrizione=Vero\r\n", 6, true,
             "[Scorta]\r\nCampo minimo=6\r\n[Ricerca]\r\nCerca nella descrizione=True\r\n");
        riga("campo 0", "[Scorta]\r\nCampo minimo=0\r\n", 1, false, minimoUno);
        riga("campo 7", "[Scorta]\r\nCampo minimo=7\r\n", 1, false, minimoUno);
        riga("campo in lettere", "[Scorta]\r\nCampo minimo=quattro\r\n", 1, false, minimoUno);
        riga("campo vuoto", "[Scorta]\r\nCampo minimo=\r\n", 1, false, minimoUno);
        riga("true minuscolo", "[Ricerca]\r\nCerca nella descrizione=true\r\n", 1, false,
             "[Ricerca]\r\nCerca nella descrizione=False\r\n");
        riga("nomi in minuscolo", "[scorta]\r\ncampo minimo=3\r\n", 3, false);
    }
    void valoriLetti()
    {
        const auto [aggiunta, scritta] = Valori<QByteArray, QByteArray>("aggiunta", "scritta");
        CartellaTest cartella;
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        cartella.scrivi(QStringLiteral("Info.ini"), IniPrimoAvvio() + aggiunta);
        QVERIFY(LeggiInfo(s));
        QTEST(s.CampoMinimo, "campo");
        QTEST(s.CercaDescrizione, "cerca");
        ScriviInfo(s);
        QCOMPARE(cartella.leggi(QStringLiteral("Info.ini")), IniPrimoAvvio() + (scritta.isNull() ? aggiunta : scritta));
    }
};

QTEST_GUILESS_MAIN(TestComponenti)
#include "tst_componenti.moc"
