// The labels: the barcode's text and symbol, where each label goes on a sheet, what it says, the location's field.

#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "etichette/codiceetichetta.h"
#include "etichette/datamatrix.h"
#include "etichette/impaginazione.h"
#include "store/aiutiarchivio.h"
#include "store/ini.h"
#include "store/stato.h"

#include <ZXing/ReadBarcode.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The symbol drawn four pixels a module with a quiet zone, and read back by the barcode reader.
QString Rileggi(const MatriceDataMatrix &m)
{
    constexpr int Scala = 4, Bordo = 2;
    const int w = (m.larghezza + 2 * Bordo) * Scala, h = (m.altezza + 2 * Bordo) * Scala;
    std::vector<unsigned char> pixel(std::size_t(w) * std::size_t(h), 255);
    for (int y = 0; y < m.altezza; ++y)
        for (int x = 0; x < m.larghezza; ++x)
            if (m.scuro(x, y))
                for (int dy = 0; dy < Scala; ++dy)
                    for (int dx = 0; dx < Scala; ++dx)
                        pixel[std::size_t((y + Bordo) * Scala + dy) * std::size_t(w) + std::size_t((x + Bordo) * Scala + dx)] = 0;
    const ZXing::Result r = ZXing::ReadBarcode({pixel.data(), w, h, ZXing::ImageFormat::Lum},
                                               ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix));
    return r.isValid() ? QString::fromStdWString(r.text()) : QString();
}

// NE555 (ID 12, TO92), bc547 (ID 30, a package not in the table), 2N2222 (ID 31, none): all with the same description,
// maker and location.
Stato StatoConPackage()
{
    Stato s;
    s.Packages = {{4, "DIP8", "", ""}, {9, "TO92", "", ""}};
    s.NumPackages = 2;
    Componente c;
    c.Descrizione = u"Timer di precisione"_s;
    c.NomeProduttore = u"TI"_s;
    c.Extra3 = u"Cassetto A2"_s;
    for (const auto &[id, codice, package] : {std::tuple{12, "NE555", 9}, {30, "bc547", 7}, {31, "2N2222", 0}}) {
        c.ID = id;
        c.Codice = QString::fromLatin1(codice);
        c.IDPackage = package;
        s.Componenti << c;
    }
    s.NumComponenti = 3;
    return s;
}

} // namespace

class TestEtichette : public QObject {
    Q_OBJECT
private slots:
    void letturaDelTesto_data()
    {
        Colonne<QString, int>("letto", "id"); // 0: not a label
        QTest::newRow("come scritto") << "ARVO:12" << 12;
        QTest::newRow("minuscole") << "arvo:12" << 12;
        QTest::newRow("spazi e a capo dello scanner") << " \tArVo:7\r\n" << 7;
        QTest::newRow("zeri iniziali") << "ARVO:0042" << 42;
        QTest::newRow("il piu' grande") << "ARVO:2147483647" << 2147483647;
        QTest::newRow("30 cifre") << "ARVO:" + QString(30, u'9') << 0;
        QTest::newRow("oltre il piu' grande") << "ARVO:2147483648" << 0;
        QTest::newRow("senza numero") << "ARVO:" << 0;
        QTest::newRow("zero") << "ARVO:0" << 0;
        QTest::newRow("negativo") << "ARVO:-3" << 0;
        QTest::newRow("lettera dopo") << "ARVO:12a" << 0;
        QTest::newRow("spazio in mezzo") << "ARVO: 12" << 0;
        QTest::newRow("senza due punti") << "ARVO12" << 0;
        QTest::newRow("altro prefisso") << "XARVO:12" << 0;
        QTest::newRow("cifre non ASCII") << QString::fromUtf8("ARVO:\u0661\u0662") << 0;
        QTest::newRow("un codice qualsiasi") << "NE555" << 0;
        QTest::newRow("vuoto") << "" << 0;
    }
    void letturaDelTesto()
    {
        const auto [letto, id] = Valori<QString, int>("letto", "id");
        const std::optional<qint32> r = LeggiTestoEtichetta(letto);
        QCOMPARE(r.has_value(), id > 0);
        QCOMPARE(r.value_or(0), id);
        if (id > 0)
            QCOMPARE(LeggiTestoEtichetta(TestoEtichetta(id)), std::optional<qint32>(id));
    }

    // The symbol holds exactly the text, whatever its length.
    void simboloRiletto_data()
    {
        Colonne<int>("id");
        for (const int id : {1, 12, 999, 65536, 2147483647})
            QTest::addRow("%d", id) << id;
    }
    void simboloRiletto()
    {
        QFETCH(int, id);
        const MatriceDataMatrix m = CodificaDataMatrix(TestoEtichetta(id));
        QVERIFY(m.valida());
        QCOMPARE(m.moduli.size(), std::size_t(m.larghezza * m.altezza));
        QCOMPARE(Rileggi(m), TestoEtichetta(id));
    }

    // Across, then down, then onto the next sheet, the first label where the sheet's free places begin.
    void posti_data()
    {
        // The top left corners of the first and the last label, and the labels' size, in millimetres.
        Colonne<int, int, int, int, QString>("formato", "quante", "inizio", "pagine", "posti");
        QTest::newRow("3x8 dall'inizio") << 0 << 3 << 1 << 1 << "0,0.5 140,0.5 70x37";
        QTest::newRow("3x8 un foglio intero") << 0 << 24 << 1 << 1 << "0,0.5 140,259.5 70x37";
        QTest::newRow("3x8 da 5, sul secondo foglio") << 0 << 21 << 5 << 2 << "70,37.5 0,0.5 70x37";
        QTest::newRow("3x8 dall'ultimo posto") << 0 << 2 << 24 << 2 << "140,259.5 0,0.5 70x37";
        QTest::newRow("3x8 inizio oltre il foglio") << 0 << 1 << 99 << 1 << "140,259.5 140,259.5 70x37";
        QTest::newRow("3x8 inizio zero") << 0 << 1 << 0 << 1 << "0,0.5 0,0.5 70x37";
        QTest::newRow("4x10 riga 2") << 1 << 2 << 4 << 1 << "153.5,21.5 8,46.9 48.5x25.4";
        QTest::newRow("4x10 tre fogli") << 1 << 81 << 1 << 3 << "8,21.5 8,21.5 48.5x25.4";
        QTest::newRow("rotolo") << 2 << 3 << 1 << 3 << "0,0 0,0 62x29";
        QTest::newRow("rotolo, l'inizio non conta") << 2 << 2 << 7 << 2 << "0,0 0,0 62x29";
        QTest::newRow("nessuna") << 0 << 0 << 1 << 0 << "";
    }
    void posti()
    {
        const auto [f, quante, inizio, pagine] = Valori<int, int, int, int>("formato", "quante", "inizio", "pagine");
        const FormatoEtichette &formato = FormatiEtichette().at(f);
        const QList<PostoEtichetta> posti = PostiEtichette(formato, quante, inizio);
        QCOMPARE(posti.size(), quante);
        QCOMPARE(PagineEtichette(formato, quante, inizio), pagine);
        if (quante == 0)
            return;
        const auto angolo = [](const QRectF &r) { return u"%1,%2 "_s.arg(r.x()).arg(r.y()); };
        const QRectF primo = posti.first().rettangolo;
        QTEST(angolo(primo) + angolo(posti.last().rettangolo) + u"%1x%2"_s.arg(primo.width()).arg(primo.height()),
              "posti");
        QCOMPARE(posti.last().rettangolo.size(), primo.size());
        QCOMPARE(posti.first().pagina, 0);
        QCOMPARE(posti.last().pagina, pagine - 1);
    }

    // Every sheet format is filled edge to edge by its grid, as the manufacturer cuts it.
    void formati()
    {
        const QList<FormatoEtichette> &f = FormatiEtichette();
        QCOMPARE(f.size(), 3);
        for (const FormatoEtichette &formato : f.first(2)) {
            QCOMPARE(formato.pagina, QSizeF(210, 297));
            // Centred: the margin left over is the same on both sides.
            const double destra = formato.pagina.width() - formato.primo.x() - formato.colonne * formato.passo.width();
            const double sotto = formato.pagina.height() - formato.primo.y() - formato.righe * formato.passo.height();
            QVERIFY(qAbs(destra - formato.primo.x()) < 1e-9);
            QVERIFY(qAbs(sotto - formato.primo.y()) < 1e-9);
        }
    }

    void contenuto_data()
    {
        // The position in the table and the location's field; the code, location, package and barcode text shown.
        Colonne<int, int, QString>("posizione", "campo", "atteso");
        QTest::newRow("con package e posizione") << 1 << 3 << "NE555|Cassetto A2|TO92|ARVO:12";
        QTest::newRow("senza campo posizione") << 1 << 0 << "NE555||TO92|ARVO:12";
        QTest::newRow("campo vuoto") << 1 << 4 << "NE555||TO92|ARVO:12";
        QTest::newRow("package non in tabella") << 2 << 3 << "bc547|Cassetto A2||ARVO:30";
        QTest::newRow("nessun package") << 3 << 3 << "2N2222|Cassetto A2||ARVO:31";
    }
    void contenuto()
    {
        const auto [posizione, campo] = Valori<int, int>("posizione", "campo");
        const ContenutoEtichetta e = ContenutoDi(StatoConPackage(), posizione, campo);
        QCOMPARE(e.descrizione + u'|' + e.produttore, u"Timer di precisione|TI"_s);
        QTEST(QStringList({e.codice, e.posizione, e.package, e.testoCodice}).join(u'|'), "atteso");
    }

    void tuttiPerCodice()
    {
        Stato s = StatoConPackage();
        QCOMPARE(PosizioniPerCodice(s), (QList<qint32>{3, 2, 1})); // 2N2222, bc547, NE555
        s.NumComponenti = 2; // a spare slot is no component
        QCOMPARE(PosizioniPerCodice(s), (QList<qint32>{2, 1}));
    }

    // The location's field read from Info.ini (written: tst_frmmain_posizione).
    void valoreLetto_data()
    {
        Colonne<QByteArray, int>("riga", "campo");
        QTest::newRow("6") << QByteArray("Campo=6") << 6;
        QTest::newRow("1 con spazi") << QByteArray("Campo= 1 ") << 1;
        QTest::newRow("7") << QByteArray("Campo=7") << 0;
        QTest::newRow("negativo") << QByteArray("Campo=-2") << 0;
        QTest::newRow("lettere") << QByteArray("Campo=tre") << 0;
        QTest::newRow("vuoto") << QByteArray("Campo=") << 0;
    }
    void valoreLetto()
    {
        QFETCH(QByteArray, riga);
        CartellaTest cartella;
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        cartella.scrivi(u"Info.ini"_s, IniPrimoAvvio() + "[Posizione]\r\n" + riga + "\r\n");
        QVERIFY(LeggiInfo(s));
        QTEST(s.CampoPosizione, "campo");
    }
};

QTEST_APPLESS_MAIN(TestEtichette)
#include "tst_etichette.moc"
