#pragma once

// An ISO/IEC 15434 envelope of format 06 as a scanner sends it, its fields written with "|" between them:
// Busta("1PNE555|Q25").

#include <QString>

inline QString Busta(QString campi)
{
    return QStringLiteral("[)>\x1e" "06\x1d") + campi.replace(u'|', u'\x1d') + QStringLiteral("\x1e\x04");
}
