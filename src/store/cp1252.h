#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252, the single-byte code page of every file the program reads
// and writes. Encoding turns each character without a code (a surrogate pair
// counts as one character) into "?"; decoding maps every byte, the five
// unassigned ones to the control characters of the same value, so any file
// reads back byte for byte.

// Writes the encoded text at d, which has room for testo.size() bytes;
// returns the end of what was written.
char *CodificaCp1252In(char *d, QStringView testo);
// Appends the encoded text to out.
void AccodaCp1252(QByteArray &out, QStringView testo);
QByteArray CodificaCp1252(QStringView testo);
QString DecodificaCp1252(QByteArrayView byte);
