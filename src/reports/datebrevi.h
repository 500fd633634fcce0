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

private:
    QLocale m_locale;
    QString m_formato;
    QHash<QDate, QString> m_giorni;
};
