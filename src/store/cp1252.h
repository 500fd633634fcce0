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

// True when the character has a code in Windows-1252.
bool InCp1252(char16_t c);

// The text upper-cased as far as the files can hold it: a character becomes
// its upper case only when that is one character with a code in
// Windows-1252 ("a" to "A", "é" to "É"); otherwise it stays as typed ("µ"
// stays "µ" rather than becoming a Greek capital, "ß" stays "ß" rather than
// "SS", "ƒ" stays "ƒ"). The length never changes.
QString MaiuscoloCp1252(QStringView testo);

// The first character of the text that Windows-1252 cannot hold (a
// surrogate pair is one character), or an empty text when every one fits.
QString PrimoCarattereFuoriCp1252(QStringView testo);
