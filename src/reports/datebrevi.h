#pragma once

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QString>

// The date part of stored dates in the user's short date form, for writing
// many rows: the form is read once and each distinct day is formatted once.
// An invalid date gives an empty text.
class DateBrevi {
public:
    DateBrevi();
    QString testo(const QDateTime &data);
    // Whether the user's locale and short date form are still the ones read.
    bool attuale() const;

private:
    // The form written by hand when it is made only of day, month and
    // four-digit year fields with plain separators and the locale writes
    // ASCII digits (the usual case): the same text, far cheaper than the
    // locale's general formatter on thousands of distinct days.
    QString aMano(const QDate &giorno) const;

    QLocale m_locale;
    QString m_formato;
    QHash<QDate, QString> m_giorni;
    struct Pezzo {
        char campo = 0; // 'd', 'M', 'y', or 0 for a literal character
        int cifre = 0;  // minimum number of digits
        QChar carattere;
    };
    QList<Pezzo> m_pezzi;
    bool m_semplice = false;
};
