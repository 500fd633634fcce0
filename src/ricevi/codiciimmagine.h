#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// The barcodes of a picture (a phone's photo of the bags, a scan of a
// delivery note), read with zxing-cpp: every DataMatrix, QR code and
// Code 128 in it, wherever it lies and however it is turned. Each code's
// text then goes through LeggiScansione (scansione.h).
//
// Pictures of any format Qt reads (JPEG, PNG, BMP, GIF, WebP, TIFF with the
// image-format plugins), of up to 20 megapixels: a larger one is refused
// before it is decoded, so that a huge or hostile file cannot take the
// memory.

enum class TipoCodice { DataMatrix, QR, Code128 };

struct CodiceImmagine {
    QString testo;
    TipoCodice tipo = TipoCodice::DataMatrix;
    QRect riquadro; // where it lies in the picture
};

struct LetturaImmagine {
    QList<CodiceImmagine> codici; // top to bottom, then left to right
    // Not empty: the picture could not be read, and the message for the
    // user. A picture without codes has neither codes nor message.
    QString errore;
};

inline constexpr qint64 PixelMassimiImmagine = 20000000;
// Larger than any picture file of 20 megapixels.
inline constexpr qint64 DimensioneMassimaFileImmagine = 256LL * 1024 * 1024;
extern const QString MessaggioNessunCodice;

LetturaImmagine LeggiCodiciImmagine(const QString &percorso);
LetturaImmagine LeggiCodiciImmagine(const QImage &immagine);

// "DataMatrix", "QR", "Code 128".
QString NomeTipoCodice(TipoCodice tipo);

// The code of the text drawn black on white, each module (a DataMatrix or
// QR cell, the narrowest bar) `modulo` pixels wide, with the quiet zone the
// symbology asks for around it; a Code 128 is 40 modules tall. A null image
// when the text cannot be encoded.
QImage ImmagineCodice(TipoCodice tipo, const QString &testo, int modulo);
