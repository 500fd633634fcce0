// Low stock: how a minimum is read from a custom field, which components
// are under it, and the Info.ini keys of the optional features (absent
// while unused, kept once written, damaged values read as the defaults).

#include "common/cartellatest.h"
#include "components/scorta.h"
#include "store/aiutiarchivio.h"
#include "store/ini.h"
#include "store/stato.h"

#include "common/verifiche.h"

namespace {

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

class TestScorta : public QObject {
    Q_OBJECT
private slots:
    void letturaDelMinimo_data()
    {
        Colonne<QString, bool, int>("testo", "haMinimo", "minimo");
        QTest::newRow("vuoto") << "" << false << 0;
        QTest::newRow("solo spazi") << "   " << false << 0;
        QTest::newRow("lettere") << "abc" << false << 0;
        QTest::newRow("segno da solo") << "-" << false << 0;
        QTest::newRow("punto da solo") << "." << false << 0;
        QTest::newRow("esadecimale senza cifre") << "&H" << false << 0;
        QTest::newRow("intero") << "10" << true << 10;
        QTest::newRow("zero") << "0" << true << 0;
        QTest::newRow("con unita") << " 12 pz" << true << 12;
        QTest::newRow("virgola: si ferma") << "3,5" << true << 3;
        QTest::newRow("punto: arrotonda") << "3.5" << true << 4;
        QTest::newRow("mezzo al pari") << "2.5" << true << 2;
        QTest::newRow("solo decimali") << ".6" << true << 1;
        QTest::newRow("negativo") << "-2" << true << -2;
        QTest::newRow("segno staccato") << "- 7" << true << -7;
        QTest::newRow("esponente") << "1e1" << true << 10;
        QTest::newRow("esadecimale") << "&H10" << true << 16;
        QTest::newRow("enorme") << "1e30" << true << 2147483647;
        QTest::newRow("dieci cifre") << "2147483648" << true << 2147483647;
        QTest::newRow("nove cifre") << "-999999999 pz" << true << -999999999;
        QTest::newRow("cifre staccate") << "1 2" << true << 12;
        QTest::newRow("esponente dopo spazio") << "3 e2" << true << 300;
        QTest::newRow("unita con D") << "4 DIP" << true << 4;
        QTest::newRow("decimale dopo spazio") << "2 .5" << true << 2;
        QTest::newRow("segno e spazi") << " + 8" << true << 8;
    }
    void letturaDelMinimo()
    {
        const auto [testo, haMinimo, minimo] = Valori<QString, bool, int>("testo", "haMinimo", "minimo");
        qint32 letto = -999;
        QCOMPARE(LeggiMinimo(testo, &letto), haMinimo);
        if (haMinimo)
            QCOMPARE(letto, minimo);
    }

    void sottoScorta_data()
    {
        Colonne<int, QString, int, bool>("campo", "minimo", "quantita", "sotto");
        QTest::newRow("campo 1, sotto") << 1 << "10" << 9 << true;
        QTest::newRow("campo 1, pari al minimo") << 1 << "10" << 10 << false;
        QTest::newRow("campo 4, sotto") << 4 << "5 pezzi" << 4 << true;
        QTest::newRow("campo 6, sopra") << 6 << "5" << 6 << false;
        // How a minimum is read is letturaDelMinimo's.
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

    // Counting and listing look at positions 1 to the count only, with the
    // field the state names.
    void contaEPosizioni()
    {
        Stato s;
        s.Componenti = {conMinimo(1, 1, "5"), conMinimo(9, 1, "5"), conMinimo(0, 4, "1"),
                        conMinimo(2, 1, "3"), conMinimo(0, 1, "9")};
        s.NumComponenti = 4; // the fifth is a spare slot
        QCOMPARE(ContaSottoScorta(s), 2);
        QCOMPARE(PosizioniSottoScorta(s), (QList<qint32>{1, 4}));
        s.CampoMinimo = 4;
        QCOMPARE(ContaSottoScorta(s), 1);
        QCOMPARE(PosizioniSottoScorta(s), (QList<qint32>{3}));
        s.NumComponenti = 0;
        QCOMPARE(ContaSottoScorta(s), 0);
    }

    // Unused, the features leave Info.ini exactly as it was; once set, their
    // keys go in sections of their own (read back in valoriLetti).
    void chiaviInfoIni()
    {
        CartellaTest cartella;
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        cartella.scrivi(QStringLiteral("Info.ini"), IniPrimoAvvio());
        QVERIFY(LeggiInfo(s));
        QCOMPARE(QPair(s.CampoMinimo, s.CercaDescrizione), QPair(1, false));
        // Unused, then set, then back to the defaults: the keys stay, with the default values.
        for (const auto &[campo, cerca, aggiunta] :
             {std::tuple<int, bool, QByteArray>{1, false, ""},
              {4, true, "[Scorta]\r\nCampo minimo=4\r\n[Ricerca]\r\nCerca nella descrizione=True\r\n"},
              {1, false, "[Scorta]\r\nCampo minimo=1\r\n[Ricerca]\r\nCerca nella descrizione=False\r\n"}}) {
            s.CampoMinimo = campo;
            s.CercaDescrizione = cerca;
            ScriviInfo(s);
            QCOMPARE(cartella.leggi(QStringLiteral("Info.ini")), IniPrimoAvvio() + aggiunta);
        }
    }

    // The keys as ScriviInfo writes them come back; damaged values are read
    // as the defaults.
    void valoriLetti_data()
    {
        Colonne<QByteArray, int, bool>("aggiunta", "campo", "cerca");
        QTest::newRow("come scritti") << QByteArray("[Scorta]\r\nCampo minimo=4\r\n[Ricerca]\r\nCerca nella descrizione=True\r\n") << 4 << true;
        QTest::newRow("campo 6, Vero") << QByteArray("[Scorta]\r\nCampo minimo=6\r\n[Ricerca]\r\nCerca nella descrizione=Vero\r\n") << 6 << true;
        QTest::newRow("campo 0") << QByteArray("[Scorta]\r\nCampo minimo=0\r\n") << 1 << false;
        QTest::newRow("campo 7") << QByteArray("[Scorta]\r\nCampo minimo=7\r\n") << 1 << false;
        QTest::newRow("campo in lettere") << QByteArray("[Scorta]\r\nCampo minimo=quattro\r\n") << 1 << false;
        QTest::newRow("campo vuoto") << QByteArray("[Scorta]\r\nCampo minimo=\r\n") << 1 << false;
        QTest::newRow("true minuscolo") << QByteArray("[Ricerca]\r\nCerca nella descrizione=true\r\n") << 1 << false;
        QTest::newRow("nomi in minuscolo") << QByteArray("[scorta]\r\ncampo minimo=3\r\n") << 3 << false;
    }
    void valoriLetti()
    {
        const auto [aggiunta] = Valori<QByteArray>("aggiunta");
        CartellaTest cartella;
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        cartella.scrivi(QStringLiteral("Info.ini"), IniPrimoAvvio() + aggiunta);
        QVERIFY(LeggiInfo(s));
        QTEST(s.CampoMinimo, "campo");
        QTEST(s.CercaDescrizione, "cerca");
    }
};

QTEST_APPLESS_MAIN(TestScorta)
#include "tst_scorta.moc"
