#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// A keyboard-emulating scanner sends, for each character of the code, the key
// that types it on the keyboard it was set up for (a US one, unless told
// otherwise). On a computer set up for another layout the same keys type
// other characters: on a German keyboard "[)>" comes out as "ü=:", "-" as
// "ß", "Y" and "Z" swap. A layout's table pairs each character a US
// keyboard types with what the same key, with or without Shift, types on the
// other layout, so that the text can be put back character by character.
//
// A dead key of the other layout (the German "^" and "´", the French "^")
// may join the next character into an accented one; such a text cannot be
// put back whole.

struct Tastiera {
    QString nome;     // "tedesca", "italiana", "francese"
    QString us;       // characters a US keyboard types ...
    QString locale;   // ... and what the same keys type on this layout
};

// The layouts known, in the order they are tried.
const QList<Tastiera> &TastiereConosciute();

// The text as the scanner meant it: each character the layout types put
// back to the US one of the same key; any other character kept.
QString DisfaTastiera(QStringView testo, const Tastiera &tastiera);
