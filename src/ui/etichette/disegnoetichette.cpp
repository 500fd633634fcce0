#include "ui/etichette/disegnoetichette.h"

#include "etichette/datamatrix.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double MmPerPollice = 25.4;
constexpr double PuntiPerMm = 72.0 / MmPerPollice;

QRectF inUnita(const QRectF &mm, double unitaPerMm)
{
    return QRectF(mm.x() * unitaPerMm, mm.y() * unitaPerMm, mm.width() * unitaPerMm, mm.height() * unitaPerMm);
}

// The symbol with its modules on whole device units, in the square of side
// `lato` at the top right of `zona`; returns its left edge.
double disegnaSimbolo(QPainter &p, const QRectF &zona, double lato, const QString &testo)
{
    const MatriceDataMatrix m = CodificaDataMatrix(testo);
    if (!m.valida())
        return zona.right();
    const int modulo = std::max(1, int(std::floor(lato / std::max(m.larghezza, m.altezza))));
    const int sinistra = int(std::floor(zona.right() - modulo * m.larghezza));
    const int alto = int(std::round(zona.top() + (zona.height() - modulo * m.altezza) / 2));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int y = 0; y < m.altezza; ++y) {
        // Runs of dark modules in a row become one rectangle each.
        int x = 0;
        while (x < m.larghezza) {
            if (!m.scuro(x, y)) {
                ++x;
                continue;
            }
            int fine = x;
            while (fine < m.larghezza && m.scuro(fine, y))
                ++fine;
            p.drawRect(QRect(sinistra + x * modulo, alto + y * modulo, (fine - x) * modulo, modulo));
            x = fine;
        }
    }
    p.restore();
    return sinistra;
}

// One line of text in the font, cut with an ellipsis to the width; returns
// the height taken. A line that may shrink is first made smaller, down to
// 60% of its size, so that it fits whole.
double riga(QPainter &p, QFont font, const QPointF &punto, double larghezza, const QString &testo,
            bool restringi = false)
{
    const QString pulito = testo.simplified();
    const QFontMetricsF intera(font, p.device());
    if (pulito.isEmpty())
        return intera.height();
    if (restringi && larghezza > 0) {
        const double serve = intera.horizontalAdvance(pulito);
        if (serve > larghezza)
            font.setPointSizeF(font.pointSizeF() * std::max(0.6, larghezza / serve));
    }
    // The line keeps its height and its baseline when the font shrinks.
    const QFontMetricsF m(font, p.device());
    p.setFont(font);
    p.drawText(QPointF(punto.x(), punto.y() + intera.ascent()), m.elidedText(pulito, Qt::ElideRight, larghezza));
    return intera.height();
}

} // namespace

QPageLayout PaginaEtichette(const FormatoEtichette &formato)
{
    QPageLayout layout(QPageSize(formato.pagina, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void DisegnaEtichetta(QPainter &p, const QRectF &rettangolo, const ContenutoEtichetta &e)
{
    const double perMm = p.device()->logicalDpiX() / MmPerPollice;
    const double altezzaMm = rettangolo.height() / perMm;
    // A margin inside the label: the printers and the cut edges of the sheet.
    const double bordo = std::clamp(altezzaMm * 0.08, 1.5, 3.0) * perMm;
    const QRectF dentro = rettangolo.adjusted(bordo, bordo, -bordo, -bordo);

    // The symbol as high as the label allows, at most about a third of its
    // width and 20 mm (modules of 1.5 mm and more read from afar),
    // with 2 mm of quiet room between it and the text.
    const double lato = std::min({dentro.height(), dentro.width() * 0.36, 20 * perMm});
    const double sinistraSimbolo = disegnaSimbolo(p, dentro, lato, e.testoCodice);
    const double larghezzaTesto = std::max(0.0, sinistraSimbolo - dentro.left() - 2 * perMm);

    // Font sizes from the label's height: the code about a fifth of it.
    const auto font = [&](double mm, bool grassetto) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setStyleHint(QFont::SansSerif);
        f.setPointSizeF(std::max(4.0, mm * PuntiPerMm));
        f.setBold(grassetto);
        return f;
    };
    const double scala = std::min(altezzaMm, 40.0);
    p.save();
    p.setPen(Qt::black);
    QPointF punto = dentro.topLeft();
    punto.ry() += riga(p, font(scala * 0.16, true), punto, larghezzaTesto, e.codice, true);
    punto.ry() += riga(p, font(scala * 0.085, false), punto, larghezzaTesto, e.descrizione);
    if (!e.posizione.isEmpty())
        punto.ry() += riga(p, font(scala * 0.10, true), punto, larghezzaTesto, e.posizione);
    QStringList sotto;
    for (const QString &s : {e.produttore, e.package})
        if (!s.trimmed().isEmpty())
            sotto << s.trimmed();
    riga(p, font(scala * 0.075, false), punto, larghezzaTesto, sotto.join(QStringLiteral(" \u00b7 ")));
    p.restore();
}

namespace {

void disegnaPagina(QPainter &p, const LavoroEtichette &lavoro, const QList<PostoEtichetta> &posti, int pagina,
                   double perMm, bool contorni)
{
    for (qsizetype i = 0; i < posti.size(); ++i) {
        if (posti[i].pagina != pagina)
            continue;
        const QRectF r = inUnita(posti[i].rettangolo, perMm);
        if (contorni) {
            p.save();
            p.setPen(QPen(QColor(170, 170, 170), 0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
            p.restore();
        }
        DisegnaEtichetta(p, r, lavoro.etichette[i]);
    }
}

} // namespace

bool DisegnaEtichette(QPagedPaintDevice &dispositivo, const LavoroEtichette &lavoro)
{
    QPainter p;
    if (!p.begin(&dispositivo))
        return false;
    const double perMm = dispositivo.logicalDpiX() / MmPerPollice;
    const QList<PostoEtichetta> posti = PostiEtichette(lavoro.formato, int(lavoro.etichette.size()), lavoro.inizio);
    const int pagine = std::max(lavoro.pagine(), 1);
    for (int pagina = 0; pagina < pagine; ++pagina) {
        if (pagina > 0 && !dispositivo.newPage()) {
            p.end();
            return false;
        }
        disegnaPagina(p, lavoro, posti, pagina, perMm, false);
    }
    return p.end();
}

QImage ImmaginePaginaEtichette(const LavoroEtichette &lavoro, int pagina, double dpi)
{
    const double perMm = dpi / MmPerPollice;
    const QSize misura(std::max(1, int(std::lround(lavoro.formato.pagina.width() * perMm))),
                       std::max(1, int(std::lround(lavoro.formato.pagina.height() * perMm))));
    QImage immagine(misura, QImage::Format_RGB32);
    const int puntiPerMetro = int(std::lround(dpi / 0.0254));
    immagine.setDotsPerMeterX(puntiPerMetro);
    immagine.setDotsPerMeterY(puntiPerMetro);
    immagine.fill(Qt::white);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Every place of the sheet dashed, the free ones too, so that the start
    // position can be matched with a sheet already used.
    if (!lavoro.formato.rotolo) {
        p.setPen(QPen(QColor(210, 210, 210), 0, Qt::DashLine));
        const QList<PostoEtichetta> tutti = PostiEtichette(lavoro.formato, lavoro.formato.perPagina(), 1);
        for (const PostoEtichetta &posto : tutti)
            p.drawRect(inUnita(posto.rettangolo, perMm));
    }
    const QList<PostoEtichetta> posti = PostiEtichette(lavoro.formato, int(lavoro.etichette.size()), lavoro.inizio);
    disegnaPagina(p, lavoro, posti, pagina, perMm, true);
    return immagine;
}
