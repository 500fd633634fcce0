#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252 bytes of a text, one byte per character; a character the code
// page lacks becomes "?".
QByteArray TestoAnsi(const QString &testo);
