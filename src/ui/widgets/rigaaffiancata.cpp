#include "ui/widgets/rigaaffiancata.h"

#include <QWidget>

#include <algorithm>

RigaAffiancata::RigaAffiancata(QWidget *genitore) : QLayout(genitore) {}

RigaAffiancata::~RigaAffiancata()
{
    while (QLayoutItem *e = takeAt(0))
        delete e;
}

void RigaAffiancata::addItem(QLayoutItem *elemento)
{
    m_elementi << elemento;
}

int RigaAffiancata::count() const
{
    return int(m_elementi.size());
}

QLayoutItem *RigaAffiancata::itemAt(int indice) const
{
    return indice >= 0 && indice < m_elementi.size() ? m_elementi[indice] : nullptr;
}

QLayoutItem *RigaAffiancata::takeAt(int indice)
{
    return indice >= 0 && indice < m_elementi.size() ? m_elementi.takeAt(indice) : nullptr;
}

QSize RigaAffiancata::somma(QSize (QLayoutItem::*misura)() const) const
{
    QSize s(0, 0);
    for (const QLayoutItem *e : m_elementi) {
        const QSize m = (e->*misura)();
        s = QSize(s.width() + m.width(), std::max(s.height(), m.height()));
    }
    if (m_elementi.size() > 1)
        s.rwidth() += spazio() * int(m_elementi.size() - 1);
    const QMargins margini = contentsMargins();
    return s.grownBy(margini);
}

QSize RigaAffiancata::sizeHint() const
{
    return somma(&QLayoutItem::sizeHint);
}

QSize RigaAffiancata::minimumSize() const
{
    return somma(&QLayoutItem::minimumSize);
}

Qt::Orientations RigaAffiancata::expandingDirections() const
{
    return Qt::Horizontal | Qt::Vertical;
}

int RigaAffiancata::spazio() const
{
    return std::max(spacing(), 0);
}

int RigaAffiancata::larghezzaLaterale(int larghezza) const
{
    const QLayoutItem *laterale = m_elementi[1];
    const int minima = laterale->minimumSize().width();
    const int voluta = std::max(laterale->sizeHint().width(), minima);
    const int perPrincipale = m_elementi[0]->minimumSize().width();
    return std::clamp(larghezza - spazio() - perPrincipale, minima, voluta);
}

void RigaAffiancata::setGeometry(const QRect &rettangolo)
{
    QLayout::setGeometry(rettangolo);
    const QRect r = rettangolo.marginsRemoved(contentsMargins());
    if (m_elementi.isEmpty())
        return;
    if (m_elementi.size() == 1) {
        m_elementi[0]->setGeometry(r);
        return;
    }
    const int laterale = larghezzaLaterale(r.width());
    const int principale = std::max(r.width() - spazio() - laterale, 0);
    m_elementi[0]->setGeometry(QRect(r.left(), r.top(), principale, r.height()));
    m_elementi[1]->setGeometry(QRect(r.left() + principale + spazio(), r.top(), laterale, r.height()));
}
