// Component rules on arbitrary input: the text before the first zero byte is
// read as a number, cleaned and matched; the rest is used as a Like pattern.
#include "components/like.h"
#include "components/regole.h"
#include "verifica.h"

#include <QString>

#include <cmath>
#include <cstdint>

namespace {

// A pattern that matches exactly the text: every wildcard put in brackets.
QString SchemaLetterale(const QString &testo)
{
    QString schema;
    for (const QChar c : testo) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#')
            || c == QLatin1Char('['))
            schema += QLatin1Char('[') + QString(c) + QLatin1Char(']');
        else
            schema += c;
    }
    return schema;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    const QByteArray byte(reinterpret_cast<const char *>(dati), static_cast<qsizetype>(dimensione));
    const qsizetype zero = byte.indexOf('\0');
    const QString testo = QString::fromUtf8(zero < 0 ? byte : byte.left(zero));
    const QString schema = zero < 0 ? QString() : QString::fromUtf8(byte.mid(zero + 1));

    const double v = Val(testo);
    Verifica(!std::isnan(v));
    // Blanks anywhere are skipped.
    QString senzaSpazi = testo;
    senzaSpazi.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    senzaSpazi.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    Verifica(Val(senzaSpazi) == v);
    // The Long is the value rounded, or the nearest end of the range.
    const qint32 l = LongDaTesto(testo);
    if (v >= 2147483647.0)
        Verifica(l == 2147483647);
    else if (v <= -2147483648.0)
        Verifica(l == -2147483647 - 1);
    else
        Verifica(std::fabs(double(l) - v) <= 0.5);
    Verifica(NumeroDaCodice(testo) >= 0);

    const QString pulito = PulisciTesto(testo);
    Verifica(!pulito.contains(QLatin1Char('"')));
    Verifica(!pulito.contains(QLatin1Char(',')));
    Verifica(!pulito.contains(QStringLiteral("\r\n")));

    Verifica(Like(testo, QStringLiteral("*")));
    Verifica(Like(testo, SchemaLetterale(testo)));
    const bool trovato = Like(testo, schema);
    Verifica(SchemaLike(schema).corrisponde(testo) == trovato);
    // A star around a matching pattern still matches.
    if (trovato)
        Verifica(Like(testo, QStringLiteral("*") + schema + QStringLiteral("*")));
    return 0;
}
