#include "ui/widgets/pagine.h"

#include "store/scritturasicura.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>

bool ScriviPdf(const QString &percorso, const QPageLayout &pagina, const QString &titolo,
               const DisegnoPagine &disegno)
{
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool scritto = false;
    {
        // The writer puts the document into the file when its painter ends.
        QPdfWriter pdf(&file);
        pdf.setResolution(600);
        pdf.setTitle(titolo);
        pdf.setCreator(QStringLiteral("Arvo"));
        pdf.setPageLayout(pagina);
        scritto = disegno(pdf);
    }
    if (!scritto || !file.commit()) {
        file.cancelWriting();
        return false;
    }
    EreditaProprietario(percorso);
    return true;
}

EsitoStampa StampaPagine(const SceltaStampante &scelta, QWidget *genitore, const QPageLayout &pagina,
                  const QString &titolo, const DisegnoPagine &disegno)
{
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setDocName(titolo);
    stampante.setCreator(QStringLiteral("Arvo"));
    stampante.setPageLayout(pagina);
    if (!scelta || !scelta(stampante, genitore))
        return EsitoStampa::Annullato;
    return disegno(stampante) ? EsitoStampa::Stampato : EsitoStampa::Errore;
}

QPageLayout PaginaTesto()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

bool DisegnaTesto(QPagedPaintDevice &dispositivo, const QString &testo)
{
    QStringList righe = testo.split(QLatin1Char('\n'));
    for (QString &r : righe)
        if (r.endsWith(QLatin1Char('\r')))
            r.chop(1);
    // The text's own last line end leaves no line of its own.
    if (righe.size() > 1 && righe.last().isEmpty())
        righe.removeLast();

    QPainter p;
    if (!p.begin(&dispositivo))
        return false;
    // The painter starts at the corner of the printable area: the layout's
    // margins are outside it.
    const QRectF origine(0, 0, dispositivo.width(), dispositivo.height());

    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(10);
    qsizetype larghe = 1;
    for (const QString &r : righe)
        larghe = std::max(larghe, r.size());
    {
        const QFontMetricsF m(font, &dispositivo);
        const double serve = m.horizontalAdvance(QString(larghe, QLatin1Char('M')));
        if (serve > origine.width())
            font.setPointSizeF(std::max(4.0, 10 * origine.width() / serve));
    }
    p.setFont(font);
    const QFontMetricsF m(font, &dispositivo);
    const double riga = m.lineSpacing();
    // Two lines' room is kept for the footer.
    const int perPagina = std::max(1, int((origine.height() - 2 * riga) / riga));
    const int pagine = std::max<int>(1, int((righe.size() + perPagina - 1) / perPagina));
    for (int pagina = 0; pagina < pagine; ++pagina) {
        if (pagina > 0 && !dispositivo.newPage()) {
            p.end();
            return false;
        }
        for (int i = 0; i < perPagina; ++i) {
            const qsizetype k = qsizetype(pagina) * perPagina + i;
            if (k >= righe.size())
                break;
            p.drawText(QPointF(origine.left(), origine.top() + i * riga + m.ascent()), righe[k]);
        }
        const QString piede = QStringLiteral("Pagina %1 di %2").arg(pagina + 1).arg(pagine);
        p.drawText(QRectF(origine.left(), origine.bottom() - riga, origine.width(), riga),
                   Qt::AlignHCenter | Qt::AlignBottom, piede);
    }
    return p.end();
}
