#include "ricevi/codiciimmagine.h"

#include "store/fileincartella.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <ZXing/ReadBarcode.h>

#include <QPolygon>
#include <QTransform>

#include <algorithm>
#include <functional>
#include <vector>

const QString MessaggioNessunCodice =
    QStringLiteral("Nell'immagine non c'\u00e8 nessun codice DataMatrix, QR o Code 128 leggibile.");

namespace {

ZXing::BarcodeFormat FormatoZXing(TipoCodice tipo)
{
    switch (tipo) {
    case TipoCodice::DataMatrix: return ZXing::BarcodeFormat::DataMatrix;
    case TipoCodice::QR: return ZXing::BarcodeFormat::QRCode;
    case TipoCodice::Code128: return ZXing::BarcodeFormat::Code128;
    }
    return ZXing::BarcodeFormat::None;
}

QString TroppoGrande(const QString &nome, QSize dimensione)
{
    const QString chi = nome.isEmpty() ? QStringLiteral("L'immagine") : QStringLiteral("L'immagine \"%1\"").arg(nome);
    return QStringLiteral("%1 misura %2 x %3 pixel (%4 megapixel): si leggono immagini fino a %5 megapixel.")
        .arg(chi)
        .arg(dimensione.width())
        .arg(dimensione.height())
        .arg(QLocale(QLocale::Italian).toString(double(dimensione.width()) * dimensione.height() / 1e6, 'f', 1))
        .arg(PixelMassimiImmagine / 1000000);
}

bool Troppi(QSize dimensione)
{
    return qint64(dimensione.width()) * dimensione.height() > PixelMassimiImmagine;
}

// zxing-cpp 1.4 as Debian builds it keeps its assertions, and one of them
// stops the program when two readings of a linear code taken at different
// scales, or turned, are compared (Result::operator==, "lineCount() == 1").
// Code 128 is therefore read at full scale without zxing's own turning, and
// the picture turned a quarter is read again separately. Its DataMatrix
// detector starts from the middle lines of the picture and gives one symbol
// at most: DataMatrix codes are looked for in strips, the middle line of each
// crossing a different height, and each code found is whitened before the
// strip is read again.

CodiceImmagine Codice(const ZXing::Result &r, TipoCodice tipo, const std::function<QPoint(ZXing::PointI)> &punto)
{
    CodiceImmagine c;
    c.testo = QString::fromStdString(r.text());
    c.tipo = tipo;
    QPolygon poligono;
    for (const ZXing::PointI &p : r.position())
        poligono << punto(p);
    c.riquadro = poligono.boundingRect();
    return c;
}

QPoint Uguale(ZXing::PointI p) { return {p.x, p.y}; }

void LeggiQR(const ZXing::ImageView &vista, QList<CodiceImmagine> *codici)
{
    ZXing::DecodeHints s;
    s.setFormats(ZXing::BarcodeFormat::QRCode);
    s.setTryHarder(true);
    for (const ZXing::Result &r : ZXing::ReadBarcodes(vista, s)) {
        if (r.isValid())
            codici->append(Codice(r, TipoCodice::QR, Uguale));
    }
}

void LeggiCode128(const ZXing::ImageView &vista, QList<CodiceImmagine> *codici)
{
    ZXing::DecodeHints s;
    s.setFormats(ZXing::BarcodeFormat::Code128);
    s.setTryHarder(true);
    s.setTryRotate(false);
    s.setTryDownscale(false);
    QList<CodiceImmagine> trovati;
    for (const ZXing::Result &r : ZXing::ReadBarcodes(vista, s)) {
        if (r.isValid())
            trovati.append(Codice(r, TipoCodice::Code128, Uguale));
    }
    // A quarter turn: the point (x, y) of the turned picture is (y, h - 1 - x).
    const int h = vista.height();
    for (const ZXing::Result &r : ZXing::ReadBarcodes(vista.rotated(90), s)) {
        if (!r.isValid())
            continue;
        const CodiceImmagine c =
            Codice(r, TipoCodice::Code128, [h](ZXing::PointI p) { return QPoint(p.y, h - 1 - p.x); });
        // A slanting code may be read both ways.
        if (std::none_of(trovati.cbegin(), trovati.cend(), [&](const CodiceImmagine &t) {
                return t.testo == c.testo && t.riquadro.adjusted(-2, -2, 2, 2).intersects(c.riquadro);
            }))
            trovati.append(c);
    }
    codici->append(trovati);
}

// Black (0) where a pixel is darker than the mean of the square of side
// `lato` around it by 15% and by at least 12 levels, white (255) elsewhere.
// The sums run over a sliding window, so the memory is one row of sums.
QImage Binarizza(const QImage &grigia, int lato)
{
    const int w = grigia.width();
    const int h = grigia.height();
    const int r = lato / 2;
    QImage bianconera(w, h, QImage::Format_Grayscale8);
    std::vector<quint32> colonne(w, 0);
    std::vector<quint32> riga(w);
    const auto sommaRiga = [&](int y, int segno) {
        const uchar *p = grigia.constScanLine(y);
        quint32 s = 0;
        for (int x = 0; x <= std::min(r, w - 1); ++x)
            s += p[x];
        for (int x = 0; x < w; ++x) {
            riga[x] = s;
            if (x + r + 1 < w)
                s += p[x + r + 1];
            if (x - r >= 0)
                s -= p[x - r];
        }
        for (int x = 0; x < w; ++x)
            colonne[x] = segno > 0 ? colonne[x] + riga[x] : colonne[x] - riga[x];
    };
    for (int y = 0; y <= std::min(r, h - 1); ++y)
        sommaRiga(y, 1);
    for (int y = 0; y < h; ++y) {
        const uchar *p = grigia.constScanLine(y);
        uchar *o = bianconera.scanLine(y);
        const qint64 righe = std::min(h - 1, y + r) - std::max(0, y - r) + 1;
        for (int x = 0; x < w; ++x) {
            const qint64 n = righe * (std::min(w - 1, x + r) - std::max(0, x - r) + 1);
            const qint64 somma = colonne[x];
            const qint64 v = qint64(p[x]) * n;
            o[x] = (v * 100 < somma * 85 && somma - v > 12 * n) ? 0 : 255;
        }
        if (y + r + 1 < h)
            sommaRiga(y + r + 1, 1);
        if (y - r >= 0)
            sommaRiga(y - r, -1);
    }
    return bianconera;
}

// The DataMatrix codes of a black and white picture whose middle lines, one
// strip after another, cross them from side to side; each code found is
// whitened in the picture. `punto` takes a point of the picture to the
// original one.
void StrisceDataMatrix(QImage &bianconera, const std::function<QPoint(QPoint)> &punto,
                       QList<CodiceImmagine> *codici)
{
    const int w = bianconera.width();
    const int h = bianconera.height();
    ZXing::DecodeHints s;
    s.setFormats(ZXing::BarcodeFormat::DataMatrix);
    s.setBinarizer(ZXing::Binarizer::BoolCast);
    s.setTryHarder(true);
    s.setTryDownscale(false);
    // Codes of up to 320 pixels in strips of 480, middle lines 30 apart (a
    // code of 60 pixels, two pixels a module, is crossed near its middle);
    // larger ones in taller strips further apart.
    struct Passo { int altezza; int passo; };
    for (const Passo passo : {Passo{480, 30}, Passo{1800, 150}}) {
        if (passo.altezza > 480 && h <= 480)
            break; // the first strips held the whole picture
        for (int mezzo = passo.passo / 2; mezzo < h; mezzo += passo.passo) {
            // The detector starts from the middle line of what it is given.
            const int meta = std::min({passo.altezza / 2, mezzo, h - mezzo});
            const int cima = mezzo - meta;
            const int altezza = 2 * meta;
            if (altezza < 16)
                continue;
            // A line that never turns from white to black and back crosses
            // no code.
            const uchar *linea = bianconera.constScanLine(mezzo);
            int cambi = 0;
            for (int x = 1; x < w && cambi < 2; ++x)
                cambi += linea[x] != linea[x - 1];
            if (cambi < 2)
                continue;
            while (true) {
                const ZXing::ImageView striscia(bianconera.constScanLine(cima), w, altezza, ZXing::ImageFormat::Lum,
                                                int(bianconera.bytesPerLine()));
                const ZXing::Results risultati = ZXing::ReadBarcodes(striscia, s);
                if (risultati.empty() || !risultati.front().isValid())
                    break;
                const CodiceImmagine qui = Codice(risultati.front(), TipoCodice::DataMatrix,
                                                  [cima](ZXing::PointI p) { return QPoint(p.x, p.y + cima); });
                // Whitened, with a margin, so that the strip shows the next one.
                const int margine = std::max(4, qui.riquadro.width() / 8);
                const QRect bianco = qui.riquadro.adjusted(-margine, -margine, margine, margine) & bianconera.rect();
                for (int y = bianco.top(); y <= bianco.bottom(); ++y)
                    std::fill_n(bianconera.scanLine(y) + bianco.left(), bianco.width(), uchar(255));
                CodiceImmagine c = qui;
                c.riquadro = QRect(punto(qui.riquadro.topLeft()), punto(qui.riquadro.bottomRight())).normalized();
                codici->append(c);
            }
        }
    }
}

void LeggiDataMatrix(const QImage &grigia, QList<CodiceImmagine> *codici)
{
    const int w = grigia.width();
    const int h = grigia.height();
    QImage bianconera = Binarizza(grigia, std::max(32, std::min(w, h) / 24));
    StrisceDataMatrix(bianconera, [](QPoint p) { return p; }, codici);
    // The detector finds a code turned a quarter only from a line that
    // crosses it up and down: the picture turned a quarter (the codes found
    // already whitened) is read again. The point (x, y) of the turned
    // picture is (y, h - 1 - x).
    QImage girata = bianconera.transformed(QTransform().rotate(90));
    StrisceDataMatrix(girata, [h](QPoint p) { return QPoint(p.y(), h - 1 - p.x()); }, codici);
}

} // namespace

QString NomeTipoCodice(TipoCodice tipo)
{
    switch (tipo) {
    case TipoCodice::DataMatrix: return QStringLiteral("DataMatrix");
    case TipoCodice::QR: return QStringLiteral("QR");
    case TipoCodice::Code128: return QStringLiteral("Code 128");
    }
    return {};
}

LetturaImmagine LeggiCodiciImmagine(const QString &percorso)
{
    LetturaImmagine lettura;
    const QString nome = QFileInfo(percorso).fileName();
    const std::optional<QByteArray> dati = LeggiFileRegolare(percorso, DimensioneMassimaFileImmagine + 1);
    if (!dati) {
        lettura.errore = QStringLiteral("Il file \"%1\" non esiste o non si pu\u00f2 leggere.").arg(nome);
        return lettura;
    }
    if (dati->size() > DimensioneMassimaFileImmagine) {
        lettura.errore = QStringLiteral("Il file \"%1\" \u00e8 troppo grande per un'immagine di %2 megapixel.")
                             .arg(nome)
                             .arg(PixelMassimiImmagine / 1000000);
        return lettura;
    }
    QBuffer buffer;
    buffer.setData(*dati);
    buffer.open(QIODevice::ReadOnly);
    QImageReader lettore(&buffer);
    lettore.setDecideFormatFromContent(true);
    // Before the picture is decoded, from its header.
    const QSize dimensione = lettore.size();
    if (dimensione.isValid() && Troppi(dimensione)) {
        lettura.errore = TroppoGrande(nome, dimensione);
        return lettura;
    }
    const QImage immagine = lettore.read();
    if (immagine.isNull()) {
        lettura.errore = QStringLiteral("Il file \"%1\" non \u00e8 un'immagine che si possa leggere.").arg(nome);
        return lettura;
    }
    if (Troppi(immagine.size())) {
        lettura.errore = TroppoGrande(nome, immagine.size());
        return lettura;
    }
    return LeggiCodiciImmagine(immagine);
}

LetturaImmagine LeggiCodiciImmagine(const QImage &immagine)
{
    LetturaImmagine lettura;
    if (immagine.isNull())
        return lettura;
    if (Troppi(immagine.size())) {
        lettura.errore = TroppoGrande(QString(), immagine.size());
        return lettura;
    }
    const QImage grigia = immagine.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView vista(grigia.constBits(), grigia.width(), grigia.height(), ZXing::ImageFormat::Lum,
                                 int(grigia.bytesPerLine()));
    LeggiQR(vista, &lettura.codici);
    LeggiCode128(vista, &lettura.codici);
    LeggiDataMatrix(grigia, &lettura.codici);
    std::stable_sort(lettura.codici.begin(), lettura.codici.end(), [](const CodiceImmagine &a, const CodiceImmagine &b) {
        return a.riquadro.top() != b.riquadro.top() ? a.riquadro.top() < b.riquadro.top()
                                                    : a.riquadro.left() < b.riquadro.left();
    });
    return lettura;
}

QImage ImmagineCodice(TipoCodice tipo, const QString &testo, int modulo)
{
    ZXing::BitMatrix matrice;
    try {
        ZXing::MultiFormatWriter scrittore(FormatoZXing(tipo));
        scrittore.setMargin(0);
        matrice = scrittore.encode(testo.toStdWString(), 0, 0);
    } catch (const std::exception &) {
        return {};
    }
    if (matrice.width() <= 0 || matrice.height() <= 0 || modulo <= 0)
        return {};
    const bool lineare = tipo == TipoCodice::Code128;
    // Quiet zone: 10 modules beside a linear code, 4 around a QR code, 2 around a DataMatrix.
    const int bordo = lineare ? 10 : tipo == TipoCodice::QR ? 4 : 2;
    const int righe = lineare ? 40 : matrice.height();
    QImage immagine((matrice.width() + 2 * bordo) * modulo, (righe + 2 * (lineare ? 2 : bordo)) * modulo,
                    QImage::Format_Grayscale8);
    immagine.fill(255);
    const int sopra = (lineare ? 2 : bordo) * modulo;
    for (int y = 0; y < righe; ++y) {
        for (int x = 0; x < matrice.width(); ++x) {
            if (!matrice.get(x, lineare ? 0 : y))
                continue;
            for (int dy = 0; dy < modulo; ++dy) {
                uchar *riga = immagine.scanLine(sopra + y * modulo + dy);
                std::fill_n(riga + (bordo + x) * modulo, modulo, uchar(0));
            }
        }
    }
    return immagine;
}
