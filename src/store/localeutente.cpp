#include "store/localeutente.h"

#include <QRegularExpression>

QLocale LocaleUtente()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::Italian, QLocale::Italy);
    return locale;
}

QString FormatoDataBreve()
{
    QString formato = LocaleUtente().dateFormat(QLocale::ShortFormat);
    // Widen a two-digit year ("yy") to four digits; leave "yyyy" alone.
    static const QRegularExpression anno(QStringLiteral("y+"));
    formato.replace(anno, QStringLiteral("yyyy"));
    return formato;
}

QString DataBreve(const QDate &data)
{
    return LocaleUtente().toString(data, FormatoDataBreve());
}

QDateTime LeggiDataBreve(const QString &testo)
{
    const QString t = testo.trimmed();
    if (t.isEmpty())
        return {};
    const QLocale locale = LocaleUtente();
    const QString formato = FormatoDataBreve();
    const QDate data = locale.toDate(t, formato);
    if (data.isValid())
        return QDateTime(data, QTime(0, 0), Qt::UTC);
    for (const QString &ora : {QStringLiteral(" hh:mm:ss"), QStringLiteral(" hh:mm"),
                               QStringLiteral(" H:mm:ss"), QStringLiteral(" H:mm")}) {
        const QDateTime dt = locale.toDateTime(t, formato + ora);
        if (dt.isValid())
            return QDateTime(dt.date(), dt.time(), Qt::UTC);
    }
    return {};
}
