#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

// The user's locale for numbers and dates: the default locale, or Italian
// where the system gives the neutral "C" locale. Tests pin it with
// QLocale::setDefault.
QLocale LocaleUtente();

// The user's short date form with the year widened to four digits, for
// example "dd/MM/yyyy" in Italian or "M/d/yyyy" in US English.
QString FormatoDataBreve();

// A date written in the user's short date form.
QString DataBreve(const QDate &data);

// Reads a text written in the user's short date form (a time of day may
// follow, "hh:mm" or "hh:mm:ss"). Returns an invalid QDateTime when the text
// is not a date.
QDateTime LeggiDataBreve(const QString &testo);
