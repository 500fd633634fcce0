#include "ui/widgets/tavolozza.h"

#include "ui/widgets/stilescuro.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <optional>

namespace {

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
    const bool scuro = QApplication::style()->objectName() == NomeStileScuro();
    if (temaChiaro) {
        if (scuro || QApplication::style()->name().compare(luce->stile, Qt::CaseInsensitive) != 0)
            QApplication::setStyle(QStyleFactory::create(luce->stile));
        QApplication::setPalette(luce->tavolozza);
        return;
    }
    if (!scuro)
        QApplication::setStyle(CreaStileScuro());
    QApplication::setPalette(TavolozzaScura());
}

ColoriAvviso ColoriRigaAvviso(bool chiaro)
{
    if (chiaro)
        return {QColor(255, 200, 200), QColor(128, 0, 0)};
    return {QColor(150, 30, 30), QColor(255, 255, 255)};
}
