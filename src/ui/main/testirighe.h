#pragma once

#include "reports/datebrevi.h"

#include <QHash>
#include <QString>

#include <vector>

struct Componente;

// The texts of the main list's rows: code, manufacturer, type, quantity,
// date entered and the hidden position. Every text is shared: codes and
// names with the component, numbers and dates with every other row showing
// the same value, each made once for the window's life. A list of 100,000
// components then holds a few thousand strings of its own, and emptying it
// only drops references instead of freeing them one by one, which is what
// made refilling and searching a large list slow.
class TestiRighe {
public:
    // Called before each fill: starts the dates over when the user's short
    // date form has changed since the last fill.
    void preparaRiempimento();
    // The six texts of the row of component c at a position.
    void scrivi(const Componente &c, qint32 posizione, QString *testi);

private:
    const QString &numero(qint64 n);

    DateBrevi m_date;
    // Small non-negative numbers (positions, most quantities) by index;
    // any other number by hash.
    static constexpr qint64 LimiteDiretto = 1 << 18;
    std::vector<QString> m_numeri;
    QHash<qint64, QString> m_altriNumeri;
};
