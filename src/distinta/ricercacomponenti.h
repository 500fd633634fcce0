#pragma once

#include <QList>
#include <QString>

struct Stato;

// The search behind linking a BOM line by hand: the components whose code
// or description hold every word typed, letter case aside ("10k 0805" finds
// "RES-10K-0805" and a "10K" described as "resistenza 0805"). The codes and
// descriptions are upper-cased once, into one text, so that each key typed
// costs one pass over it even with 100,000 components.
class RicercaComponenti {
public:
    explicit RicercaComponenti(const Stato &stato);

    // Positions (1-based, table order) of the components found, at most
    // `massimo` of them; how many were found in all goes to *trovati.
    // Nothing for a text without words.
    QList<qint32> cerca(const QString &testo, qsizetype massimo, qsizetype *trovati = nullptr) const;

private:
    QString m_testo;             // per component: code, U+001F, description, line feed
    QList<qsizetype> m_inizi;    // where each component's part starts, and the end
};
