#pragma once

#include <QString>
#include <QtGlobal>

// The number formed by the ASCII decimal digits of a component code, read
// left to right, every other character skipped (74HC00 -> 7400, no digits
// -> 0). When the digits form a number above 2147483647 the result stays at
// 2147483647: the save of such a code goes on, and every code that long
// shares that one numeric code (so the conflict warning lists them together).
qint32 NumeroDaCodice(const QString &codice);

// Cleans free text before it is stored: double quotes become single quotes,
// commas become " - ", every CR LF pair becomes one blank. A lone CR or a
// lone LF is kept.
QString PulisciTesto(const QString &testo);

// The leading number of a text, read as the classic Val function reads it:
// blanks, tabs, CR and LF are skipped anywhere; then an optional sign,
// digits, "." as decimal point, an exponent introduced by E, e, D or d with
// an optional sign; reading stops at the first character that cannot go on
// with the number. 0 when there is no leading number ("12 pz" -> 12,
// "3,5" -> 3, "abc" -> 0, " 1 2 " -> 12). "&H" and "&O" read hexadecimal
// and octal digits (always as a non-negative value). An exponent too large
// for a double gives plus or minus infinity, one too small gives 0.
double Val(const QString &testo);

// Val converted to a 32-bit integer: rounded to the nearest integer, halves
// to the even neighbour (2.5 -> 2, 3.5 -> 4). A value outside the 32-bit
// range is clamped to -2147483648 or 2147483647 instead of failing.
qint32 LongDaTesto(const QString &testo);
