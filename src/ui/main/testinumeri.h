#pragma once

#include <QHash>
#include <QString>

#include <algorithm>

#include <vector>

// The texts of whole numbers, each made once and then shared by every list
// row that shows the same number (a quantity, a position). A list of
// 100,000 components then holds a few hundred quantity texts instead of
// 100,000, and emptying it only drops references: nothing is freed row by
// row, which is what made refilling a large list slow. The texts are kept
// for the window's life; the text of a number never changes.
class TestiNumeri {
public:
    const QString &testo(qint64 numero);

private:
    // Small non-negative numbers (positions, most quantities) by index;
    // any other number by hash.
    static constexpr qint64 LimiteDiretto = 1 << 18;
    std::vector<QString> m_diretti;
    QHash<qint64, QString> m_altri;
};
