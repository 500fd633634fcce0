#include "ui/widgets/tavolozza.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <optional>

namespace {

const QString NomeStileScuro = QStringLiteral("StileScuro");

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
class StileScuro : public QProxyStyle {
public:
    StileScuro() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {
        setObjectName(NomeStileScuro);
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

struct Chiaro {
    QPalette tavolozza;
    QString stile;
};

// The desktop's palette and style, kept from before the first change.
std::optional<Chiaro> &chiaro()
{
    static std::optional<Chiaro> c;
    return c;
}

} // namespace

QPalette TavolozzaScura()
{
    const QColor finestra(45, 45, 45);
    const QColor base(30, 30, 30);
    const QColor testo(230, 230, 230);
    const QColor spento(128, 128, 128);
    const QColor evidenza(42, 130, 218);
    QPalette p;
    p.setColor(QPalette::Window, finestra);
    p.setColor(QPalette::WindowText, testo);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, finestra);
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 60));
    p.setColor(QPalette::ToolTipText, testo);
    p.setColor(QPalette::PlaceholderText, spento);
    p.setColor(QPalette::Text, testo);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, testo);
    p.setColor(QPalette::BrightText, QColor(255, 80, 80));
    p.setColor(QPalette::Light, QColor(80, 80, 80));
    p.setColor(QPalette::Midlight, QColor(66, 66, 66));
    p.setColor(QPalette::Mid, QColor(40, 40, 40));
    p.setColor(QPalette::Dark, QColor(25, 25, 25));
    p.setColor(QPalette::Shadow, QColor(10, 10, 10));
    p.setColor(QPalette::Highlight, evidenza);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::LinkVisited, QColor(180, 140, 255));
    for (auto ruolo : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, ruolo, spento);
    p.setColor(QPalette::Disabled, QPalette::Base, finestra);
    return p;
}

void ApplicaTavolozza(bool temaChiaro)
{
    std::optional<Chiaro> &luce = chiaro();
    if (!luce)
        luce = Chiaro{QApplication::palette(), QApplication::style()->name()};
    const bool scuro = QApplication::style()->objectName() == NomeStileScuro;
    if (temaChiaro) {
        if (scuro || QApplication::style()->name().compare(luce->stile, Qt::CaseInsensitive) != 0)
            QApplication::setStyle(QStyleFactory::create(luce->stile));
        QApplication::setPalette(luce->tavolozza);
        return;
    }
    if (!scuro)
        QApplication::setStyle(new StileScuro);
    QApplication::setPalette(TavolozzaScura());
}

ColoriAvviso ColoriRigaAvviso(bool chiaro)
{
    if (chiaro)
        return {QColor(255, 200, 200), QColor(128, 0, 0)};
    return {QColor(150, 30, 30), QColor(255, 255, 255)};
}
