#pragma once

#include <QString>

// A field of a CSV file the BOM check writes (the shopping list, the links),
// quoted when it holds the separator, a double quote or a line break, a
// double quote inside written twice.
inline QString CampoCSV(const QString &testo, const QString &sep)
{
    if (!testo.contains(sep) && !testo.contains(u'"') && !testo.contains(u'\r') && !testo.contains(u'\n'))
        return testo;
    QString quotato = testo;
    quotato.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quotato + u'"';
}
