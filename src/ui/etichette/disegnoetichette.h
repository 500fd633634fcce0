#pragma once

#include "etichette/impaginazione.h"

#include <QImage>
#include <QList>
#include <QPageLayout>

class QPagedPaintDevice;
class QPainter;

// The labels of one run as they are drawn: the format, the start position on
// the first sheet, what each label says.
struct LavoroEtichette {
    FormatoEtichette formato;
    int inizio = 1;
    QList<ContenutoEtichetta> etichette;

    int pagine() const { return PagineEtichette(formato, int(etichette.size()), inizio); }
};

// The page of the format: its size, portrait, drawn from the paper's corner
// (the labels are placed on the sheet, whatever the printer's margins).
QPageLayout PaginaEtichette(const FormatoEtichette &formato);

// One label in its rectangle (device units): the code large, the
// description, the location, manufacturer and package, and the DataMatrix
// on the right, its modules whole device pixels so that it stays sharp.
void DisegnaEtichetta(QPainter &p, const QRectF &rettangolo, const ContenutoEtichetta &etichetta);

// Every page of the run on a paged device (a PDF writer or a printer set to
// PaginaEtichette). False when the device could not be drawn on.
bool DisegnaEtichette(QPagedPaintDevice &dispositivo, const LavoroEtichette &lavoro);

// One page (0-based) as an image at `dpi`, on white, each label's outline
// drawn in grey: the preview of the window and the picture of the manual.
QImage ImmaginePaginaEtichette(const LavoroEtichette &lavoro, int pagina, double dpi);
