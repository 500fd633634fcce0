#pragma once

#include <QString>
#include <QtGlobal>

// The number formed by the decimal digits of a component code, read left to
// right, every other character skipped (74HC00 -> 7400).
qint32 NumeroDaCodice(const QString &codice);

// Cleans free text before it is stored: double quotes become single quotes,
// commas become " - ", every CR LF pair becomes one blank.
QString PulisciTesto(const QString &testo);

// The leading number of a text, read as the classic Val function reads it:
// blanks skipped, optional sign, digits, "." as decimal point, exponent;
// 0 when there is no leading number.
double Val(const QString &testo);

// Val converted to a 32-bit integer, halves to the even neighbour.
qint32 LongDaTesto(const QString &testo);
