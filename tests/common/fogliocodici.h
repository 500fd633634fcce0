#pragma once

// Pictures of barcodes as a photo of received bags shows them: codes drawn with zxing-cpp's writer on a white sheet,
// turned when asked.

#include "ricevi/codiciimmagine.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

// One code drawn on a sheet: its kind, text, module in pixels and the top left corner of its picture (quiet zone
// included).
struct Posto {
    TipoCodice tipo;
    QString testo;
    int modulo;
    QPoint dove;
};

// A white sheet with the codes on it, turned by `gradi`, grey like a photo.
inline QImage Foglio(QSize dimensione, const QList<Posto> &posti, int gradi = 0)
{
    QImage foglio(dimensione, QImage::Format_RGB32);
    foglio.fill(Qt::white);
    QPainter p(&foglio);
    for (const Posto &posto : posti) {
        const QImage codice = ImmagineCodice(posto.tipo, posto.testo, posto.modulo);
        Q_ASSERT(!codice.isNull());
        p.drawImage(posto.dove, codice);
    }
    p.end();
    if (gradi == 0)
        return foglio;
    // Turned on a white ground, as a photo taken askew shows it.
    const QImage girato = foglio.convertToFormat(QImage::Format_ARGB32)
                              .transformed(QTransform().rotate(gradi), Qt::SmoothTransformation);
    QImage foto(girato.size(), QImage::Format_RGB32);
    foto.fill(Qt::white);
    QPainter(&foto).drawImage(0, 0, girato);
    return foto;
}
