// The barcodes of a picture: several codes of each kind on one sheet, turned, in every picture format read; the files
// and pictures refused.

#include "common/campioniscansione.h"
#include "common/cartellatest.h"
#include "common/fogliocodici.h"
#include "common/verifiche.h"
#include "ricevi/codiciimmagine.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString Voce(TipoCodice tipo, const QString &testo) { return NomeTipoCodice(tipo) + u": "_s + testo; }

// The codes read, one "kind: text" each, in the order given.
QStringList Letti(const LetturaImmagine &lettura)
{
    QStringList out;
    for (const CodiceImmagine &c : lettura.codici)
        out << Voce(c.tipo, c.testo);
    return out;
}

QByteArray Codifica(const QImage &immagine, const char *formato)
{
    QByteArray dati;
    QBuffer b(&dati);
    return b.open(QIODevice::WriteOnly) && immagine.save(&b, formato, 95) ? dati : QByteArray();
}

} // namespace

class TestCodiciImmagine : public QObject {
    Q_OBJECT
private slots:
    // Every code, top to bottom and left to right, its text exactly as written (the envelope's control characters too).
    void codici_data()
    {
        Colonne<QList<Posto>, int, QStringList>("posti", "gradi", "attesi");
        constexpr auto DM = TipoCodice::DataMatrix, QR = TipoCodice::QR, C128 = TipoCodice::Code128;
        const QString dk = Campione(u"digikey-controlli"_s), mouser = Campione(u"mouser"_s),
                      lcsc = Campione(u"lcsc"_s);
        const QList<Posto> treTipi{{QR, lcsc, 4, {700, 60}}, {DM, dk, 3, {60, 80}}, {C128, u"LM358N"_s, 2, {100, 700}}};
        const QStringList treLetti{Voce(QR, lcsc), Voce(DM, dk), Voce(C128, u"LM358N"_s)};
        QTest::newRow("DataMatrix, QR e Code 128") << treTipi << 0 << treLetti;
        // Turned a quarter clockwise the left side comes on top; three quarters, the right side.
        QTest::newRow("girata di un quarto") << treTipi << 90 << QStringList{treLetti[1], treLetti[2], treLetti[0]};
        QTest::newRow("girata di tre quarti") << treTipi << 270 << QStringList{treLetti[0], treLetti[2], treLetti[1]};
        QTest::newRow("inclinata") << treTipi << 15 << QStringList{treLetti[1], treLetti[0], treLetti[2]};
        QTest::newRow("tre DataMatrix sulla stessa riga")
            << QList<Posto>{{DM, mouser, 3, {40, 100}}, {DM, u"BC547"_s, 4, {500, 110}}, {DM, lcsc, 3, {800, 90}}} << 0
            << QStringList{Voce(DM, lcsc), Voce(DM, mouser), Voce(DM, u"BC547"_s)};
        QTest::newRow("DataMatrix piccolo e grande")
            << QList<Posto>{{DM, u"NE555P"_s, 2, {50, 50}}, {DM, mouser, 12, {300, 400}}} << 0
            << QStringList{Voce(DM, u"NE555P"_s), Voce(DM, mouser)};
        QTest::newRow("due Code 128 uno sopra l'altro")
            << QList<Posto>{{C128, u"C312270"_s, 2, {60, 60}}, {C128, u"296-LM358BIDDFRCT-ND"_s, 2, {60, 400}}} << 0
            << QStringList{Voce(C128, u"C312270"_s), Voce(C128, u"296-LM358BIDDFRCT-ND"_s)};
        QTest::newRow("nessun codice") << QList<Posto>{} << 0 << QStringList{};
    }
    void codici()
    {
        const auto [posti, gradi, attesi] = Valori<QList<Posto>, int, QStringList>("posti", "gradi", "attesi");
        const LetturaImmagine lettura = LeggiCodiciImmagine(Foglio({1200, 1000}, posti, gradi));
        QCOMPARE(lettura.errore, QString());
        QCOMPARE(Letti(lettura).join(u" | "), attesi.join(u" | "));
        // Each code lies where it was drawn (not turned: the places are known).
        if (gradi == 0) {
            for (const CodiceImmagine &c : lettura.codici) {
                const auto posto = std::find_if(posti.cbegin(), posti.cend(),
                                                [&](const Posto &p) { return p.testo == c.testo; });
                QVERIFY(posto != posti.cend());
                const QRect disegnato(posto->dove, ImmagineCodice(posto->tipo, posto->testo, posto->modulo).size());
                QVERIFY2(disegnato.contains(c.riquadro.center()), qPrintable(c.testo));
            }
        }
    }

    // The picture files the program reads, and those it refuses.
    void file_data()
    {
        Colonne<QString, QByteArray, QString>("nome", "formato", "errore"); // no error: the QR code is read
        const auto riga = [](const char *nome, const char *formato, const QString &errore = QString()) {
            QTest::newRow(nome) << QString::fromLatin1(nome) << QByteArray(formato)
                                << (errore.isEmpty() ? errore : errore.arg(QLatin1String(nome)));
        };
        const QString manca = u"Il file \"%1\" non esiste o non si pu\u00f2 leggere."_s,
                      illeggibile = u"Il file \"%1\" non \u00e8 un'immagine che si possa leggere."_s;
        for (const char *formato : {"png", "jpg", "bmp", "webp", "tif"})
            riga(qPrintable(u"foto."_s + QLatin1String(formato)), formato);
        riga("foto.dat", "png"); // the name says nothing: the content does
        riga("manca.png", "", manca);
        riga("cartella.png", "cartella", manca);
        riga("testo.png", "testo", illeggibile);
        riga("troncata.png", "troncata", illeggibile);
        riga("grande.png", "grande",
             u"L'immagine \"%1\" misura 5000 x 4001 pixel (20,0 megapixel): si leggono immagini fino a 20 "
             "megapixel."_s);
    }
    void file()
    {
        const auto [nome, formato, errore] = Valori<QString, QByteArray, QString>("nome", "formato", "errore");
        CartellaTest cartella;
        const QImage foglio = Foglio({400, 300}, {{TipoCodice::QR, u"{pm:NE555P,qty:25}"_s, 5, {60, 40}}});
        if (formato == "cartella") {
            QVERIFY(QDir(cartella.percorso()).mkdir(nome));
        } else if (formato == "testo") {
            cartella.scrivi(nome, "[)>\x1e" "06\x1d" "1PNE555P\x1e\x04");
        } else if (formato == "troncata") {
            cartella.scrivi(nome, Codifica(foglio, "png").left(200));
        } else if (formato == "grande") {
            // Only the header counts: the picture is never decoded.
            QImage grande(5000, 4001, QImage::Format_Mono);
            grande.fill(1);
            cartella.scrivi(nome, Codifica(grande, "png"));
        } else if (!formato.isEmpty()) {
            const QByteArray dati = Codifica(foglio, formato.constData());
            QVERIFY2(!dati.isEmpty(), formato.constData());
            cartella.scrivi(nome, dati);
        }
        const LetturaImmagine lettura = LeggiCodiciImmagine(cartella.file(nome));
        QCOMPARE(lettura.errore, errore);
        const QStringList letto{Voce(TipoCodice::QR, u"{pm:NE555P,qty:25}"_s)};
        QCOMPARE(Letti(lettura), errore.isEmpty() ? letto : QStringList());
    }

    // The largest picture read, and one pixel more refused however it comes.
    void limiteDeiPixel()
    {
        QImage limite(5000, 4000, QImage::Format_Grayscale8);
        limite.fill(255);
        QCOMPARE(LeggiCodiciImmagine(limite).errore, QString());
        const QImage oltre(4001, 5000, QImage::Format_Grayscale8);
        QCOMPARE(LeggiCodiciImmagine(oltre).errore,
                 u"L'immagine misura 4001 x 5000 pixel (20,0 megapixel): si leggono immagini fino a 20 megapixel."_s);
    }
};

QTEST_GUILESS_MAIN(TestCodiciImmagine)
#include "tst_codiciimmagine.moc"
