#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The texts that make a list column sort by value or by date when the list
// itself can only compare texts: for every cell a key whose plain text order
// (empty text first, "&" before the digits, equal-length texts compared
// character by character) is the order of the values.

enum class TipoColonna { Testo, Numero, Data, Naturale };

// The kind of a column from its header tag: "DATE", "NUMBER" or "NATURAL"
// in any case, anything else (empty included) is a text column. A natural
// column holds texts with numbers in them (drawer "A2", shelf "B10"): the
// numbers compare by value.
TipoColonna TipoDaTag(const QString &tag);

// The natural key of a text: every run of ASCII digits, leading zeros
// dropped, is written as its number of digits (two digits) followed by the
// digits, so that "A2" (key "A012") comes before "A10" (key "A0210");
// everything else is kept.
QString ChiaveNaturale(const QString &testo);

// Replaces each digit by its complement to 9 and "-" by a space; every other
// character is kept. The result is as long as the argument.
QString ChiaveNumero(const QString &testo);

// Reads a number written in the given locale: optional sign, digits with
// optional group separators as the locale allows, optional decimal separator
// and decimals. Surrounding blanks are ignored. Returns false (and leaves
// *valore alone) when the text is not a finite number.
bool LeggiNumero(const QString &testo, const QLocale &locale, double *valore);

// The number key of a text in the user's locale: for v >= 0 at least 30
// integer digits with leading zeros, the locale's decimal separator and 30
// decimals; for v < 0 "&" followed by ChiaveNumero of the key of -v; the
// empty text when the text is not a number.
QString ChiaveNumerica(const QString &testo);

// The date key of a text in the user's short date form: "yyyyMMddhhmmss",
// or the empty text when the text is not a date.
QString ChiaveData(const QString &testo);

// The same keys with the locale's settings looked up once, for building the
// keys of a whole column. Numbers are read in the given locale; dates always
// in the user's short date form.
class GeneratoreChiavi {
public:
    explicit GeneratoreChiavi(const QLocale &locale);

    QString numero(const QString &testo) const;
    QString numero(double valore) const; // empty for infinities and NaN
    QString data(const QString &testo) const;
    QString chiave(TipoColonna tipo, const QString &testo) const;
    bool leggiNumero(const QString &testo, double *valore) const;

private:
    QDate leggiDataVeloce(const QString &testo) const;

    QLocale m_locale;
    QString m_decimale;
    QString m_meno;
    QString m_piu;
    // The short date form reduced to day, month and four-digit year fields
    // with one separator between them, when it is that simple.
    struct Campo {
        char tipo = 0; // 'd', 'M' or 'y'
        int minimo = 0;
        int massimo = 0;
    };
    Campo m_campi[3];
    QChar m_separatori[2];
    bool m_dataSemplice = false;
};
