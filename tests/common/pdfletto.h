#pragma once

// A PDF read back as the user would see it: its pages' sizes (pdfinfo), its
// pages as pictures (pdftoppm), its text (pdftotext), and the DataMatrix
// symbols found in a part of a page (zxing-cpp). Poppler's tools come from
// poppler-utils; a test that needs one fails when it is missing.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QStringList>
#include <QTemporaryDir>

#include <ZXing/ReadBarcode.h>

namespace pdf {

// The output of a poppler tool, empty when it could not run or failed.
inline QByteArray Esegui(const QString &programma, const QStringList &argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}

// The size of each page in millimetres.
inline QList<QSizeF> PagineMm(const QString &file)
{
    const QString info = QString::fromUtf8(Esegui(QStringLiteral("pdfinfo"), {"-f", "1", "-l", "100000", file}));
    static const QRegularExpression riga(QStringLiteral("^Page +\\d+ size: +([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption);
    QList<QSizeF> pagine;
    for (auto m = riga.globalMatch(info); m.hasNext();) {
        const auto r = m.next();
        pagine << QSizeF(r.captured(1).toDouble(), r.captured(2).toDouble()) * (25.4 / 72);
    }
    return pagine;
}

// The pages drawn at `dpi`, grey levels, in order.
inline QList<QImage> Immagini(const QString &file, int dpi)
{
    QTemporaryDir dir;
    Esegui(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-gray", file, dir.filePath(QStringLiteral("p"))});
    QList<QImage> immagini;
    for (const QString &n : QDir(dir.path()).entryList({QStringLiteral("p-*.pgm")}, QDir::Files, QDir::Name))
        immagini << QImage(dir.filePath(n)).convertToFormat(QImage::Format_Grayscale8);
    return immagini;
}

// The text, as pdftotext lays it out (pages end with a form feed).
inline QString Testo(const QString &file)
{
    return QString::fromUtf8(Esegui(QStringLiteral("pdftotext"), {"-layout", file, "-"}));
}

// The texts of the DataMatrix symbols found in a part of a picture.
inline QStringList DataMatrix(const QImage &immagine, const QRect &parte)
{
    const QImage grigio = immagine.copy(parte & immagine.rect()).convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView vista(grigio.constBits(), grigio.width(), grigio.height(), ZXing::ImageFormat::Lum,
                                 int(grigio.bytesPerLine()));
    QStringList testi;
    for (const ZXing::Result &r :
         ZXing::ReadBarcodes(vista, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix).setTryHarder(true)))
        if (r.isValid())
            testi << QString::fromStdWString(r.text());
    return testi;
}

// The rectangle in millimetres as pixels of a page drawn at `dpi`.
inline QRect InPixel(const QRectF &mm, int dpi)
{
    const double k = dpi / 25.4;
    return QRectF(mm.topLeft() * k, mm.size() * k).toAlignedRect();
}

// True when the part of the picture (what of it is on the picture) holds nothing darker than light grey.
inline bool Bianca(const QImage &immagine, const QRect &parte)
{
    const QImage g = immagine.copy(parte & immagine.rect()).convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < g.height(); ++y) {
        const uchar *riga = g.constScanLine(y);
        for (int x = 0; x < g.width(); ++x)
            if (riga[x] < 200)
                return false;
    }
    return true;
}

} // namespace pdf
