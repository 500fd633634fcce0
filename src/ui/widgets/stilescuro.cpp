#include "ui/widgets/stilescuro.h"

#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

namespace {

// a and b mixed, quanto parts of a in 100.
QColor mescola(const QColor &a, const QColor &b, int quanto)
{
    const auto parte = [quanto](int x, int y) { return (x * quanto + y * (100 - quanto)) / 100; };
    return QColor(parte(a.red(), b.red()), parte(a.green(), b.green()), parte(a.blue(), b.blue()));
}

// Fusion, with check boxes and radio buttons of its own. Fusion draws their
// frame a shade darker than the window, which is lost on a dark background
// (and the box is filled with the background of a list, so an empty box in
// a list does not show at all); here the frame is a light grey between the
// text and the background, the disabled text's grey when disabled, and the
// mark is drawn in the text colour of the state.
class StileScuroFusion : public QProxyStyle {
public:
    StileScuroFusion() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {
        setObjectName(NomeStileScuro());
    }

    void drawPrimitive(PrimitiveElement elemento, const QStyleOption *opzione, QPainter *pittore,
                       const QWidget *widget) const override
    {
        if (elemento != PE_IndicatorCheckBox && elemento != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(elemento, opzione, pittore, widget);
            return;
        }
        const QPalette &p = opzione->palette;
        const bool attivo = opzione->state & State_Enabled;
        QColor riempimento = p.color(QPalette::Base);
        if (opzione->state & State_Sunken)
            riempimento = mescola(p.color(QPalette::WindowText), riempimento, 15);
        QColor bordo = attivo ? mescola(p.color(QPalette::Text), p.color(QPalette::Base), 65)
                              : p.color(QPalette::Disabled, QPalette::Text);
        if (attivo && (opzione->state & State_HasFocus) && (opzione->state & State_KeyboardFocusChange))
            bordo = p.color(QPalette::Highlight);
        const QColor segno = p.color(attivo ? QPalette::Normal : QPalette::Disabled, QPalette::Text);

        pittore->save();
        pittore->setRenderHint(QPainter::Antialiasing, true);
        // The frame lies on the outermost pixels; a circle's is thicker, as
        // smoothing spreads a thin curve over pixels it only partly covers.
        const qreal linea = elemento == PE_IndicatorRadioButton ? 2.0 : 1.0;
        const QRectF r = QRectF(opzione->rect).adjusted(linea / 2, linea / 2, -linea / 2, -linea / 2);
        pittore->setPen(QPen(bordo, linea));
        pittore->setBrush(riempimento);
        if (elemento == PE_IndicatorRadioButton) {
            pittore->drawEllipse(r);
            if (opzione->state & State_On) {
                pittore->setPen(Qt::NoPen);
                pittore->setBrush(segno);
                const qreal raggio = r.width() / 4.5;
                pittore->drawEllipse(r.center(), raggio, raggio);
            }
        } else {
            pittore->drawRect(r);
            const qreal l = r.width();
            if (opzione->state & State_NoChange) {
                pittore->fillRect(r.adjusted(l * 0.25, l * 0.25, -l * 0.25, -l * 0.25), segno);
            } else if (opzione->state & State_On) {
                QPainterPath spunta;
                spunta.moveTo(r.left() + l * 0.22, r.top() + l * 0.52);
                spunta.lineTo(r.left() + l * 0.42, r.top() + l * 0.72);
                spunta.lineTo(r.left() + l * 0.78, r.top() + l * 0.30);
                const qreal tratto = std::max<qreal>(1.5, l * 0.14);
                pittore->setPen(QPen(segno, tratto, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                pittore->setBrush(Qt::NoBrush);
                pittore->drawPath(spunta);
            }
        }
        pittore->restore();
    }
};

} // namespace

QString NomeStileScuro()
{
    return QStringLiteral("StileScuro");
}

QStyle *CreaStileScuro()
{
    return new StileScuroFusion;
}
