#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

// Reading a whole number (32-bit signed) as the files store it: optional
// blanks around, an optional sign, digits, an optional fraction after a dot
// that is rounded to the nearest whole number (halves to the even one).
enum class EsitoNumero {
    Ok,
    NonNumero,       // not a number at all (the empty text included)
    FuoriIntervallo, // a number outside the 32-bit range
};

EsitoNumero LeggiNumero(QByteArrayView testo, qint32 *valore);
EsitoNumero LeggiNumero(QStringView testo, qint32 *valore);

// True only for a number inside the range; *ok says which.
qint32 LeggiNumeroIntero(QStringView testo, bool *ok);
