#pragma once

#include "ui/widgets/sceltastampante.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPageLayout;

// Pages drawn by the program go to two places: a PDF file in the program's
// folders, or a printer the user picks. One drawing function serves both.
using DisegnoPagine = std::function<bool(QPagedPaintDevice &dispositivo)>;

// Writes the pages into a PDF file, whole or not at all: the file appears
// (replacing one of the same name) only when every page has been written.
// The pages have the given layout; titolo is the document's title.
bool ScriviPdf(const QString &percorso, const QPageLayout &pagina, const QString &titolo,
               const DisegnoPagine &disegno);

// Asks where to print (through the seam, with the printer set to the
// layout and named titolo), then draws the pages on the printer.
enum class EsitoStampa { Stampato, Annullato, Errore };
EsitoStampa StampaPagine(const SceltaStampante &scelta, QWidget *genitore, const QPageLayout &pagina,
                  const QString &titolo, const DisegnoPagine &disegno);

// A text of fixed-width lines (CR LF or LF ends) on A4 pages with margins of
// 15 mm: a monospaced font of 10 points, smaller when the widest line would
// not fit across, as many lines a page as fit, and "Pagina N di M" centred
// in the footer.
QPageLayout PaginaTesto();
bool DisegnaTesto(QPagedPaintDevice &dispositivo, const QString &testo);
