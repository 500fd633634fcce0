#pragma once

#include <QStringView>
#include <QtGlobal>

// A whole number in decimal (as QString::number writes it), into a buffer
// of the caller: no allocation per number when writing many rows.
inline QStringView Intero(qint32 v, char16_t (&buffer)[16])
{
    char16_t *fine = buffer + 16;
    char16_t *p = fine;
    // Negative values through a wider type, so the smallest one is kept.
    qint64 x = v < 0 ? -qint64(v) : qint64(v);
    do {
        *--p = char16_t(u'0' + x % 10);
        x /= 10;
    } while (x != 0);
    if (v < 0)
        *--p = u'-';
    return QStringView(p, fine - p);
}
