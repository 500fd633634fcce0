// The [Finestra] section of Info.ini: what is believed of it, what is
// written, and where a remembered window goes on the screens there are.
#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "store/statofinestra.h"


class TestStatoFinestra : public QObject {
    Q_OBJECT

private slots:
    void lettura_data()
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
    void lettura()
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

    // Written after the other sections, which stay byte for byte; read back
    // the same; written again in place.
    void scrittura()
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
        QCOMPARE(c.leggi(QStringLiteral("Info.ini")),
                 prima + "[Finestra]\r\nX=3\r\nY=-4\r\nLarghezza=900\r\nAltezza=500\r\nMassimizzata=False\r\n"
                         "Larghezza colonne=1,2,3\r\nColonna ordinamento=2\r\nOrdine=Decrescente\r\n");
        const StatoFinestra letto = LeggiStatoFinestra(ini, 3);
        QCOMPARE(letto.geometria, s.geometria);
        QCOMPARE(letto.larghezzeColonne, s.larghezzeColonne);
        QCOMPARE(letto.colonnaOrdinamento, 2);
        QCOMPARE(letto.ordine, 1);
        s.massimizzata = true;
        s.colonnaOrdinamento = 0; // unknown: the old keys stay
        QVERIFY(ScriviStatoFinestra(ini, s));
        const QByteArray dopo = c.leggi(QStringLiteral("Info.ini"));
        QVERIFY(dopo.contains("Massimizzata=True\r\nLarghezza colonne=1,2,3\r\nColonna ordinamento=2\r\n"));
        QCOMPARE(dopo.count("[Finestra]"), 1);
    }

    void schermi_data()
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
    void schermi()
    {
        const auto [finestra, attesa] = Valori<QRect, QRect>("finestra", "attesa");
        const QList<QRect> schermi = {QRect(0, 0, 1366, 700), QRect(1366, 0, 1920, 1040)};
        QCOMPARE(GeometriaSuSchermo(finestra, schermi), attesa);
    }
};

QTEST_GUILESS_MAIN(TestStatoFinestra)
#include "tst_statofinestra.moc"
