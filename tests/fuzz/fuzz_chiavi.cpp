// Sort keys of number and date columns on arbitrary cell texts, under a locale with a decimal comma or a decimal point
// (the first input byte picks it). The rest is two cell texts separated by a zero byte.
//   - ChiaveNumero keeps the length and undoes itself (but for "-");
//   - a number key is empty exactly when the text is no number, and is the
//     value written with 30 integer digits and 30 decimals;
//   - the order of two number keys is the order of the two values;
//   - a date key is empty or 14 digits, the date and time the short date
//     reader gives.
#include "listsort/chiavi.h"
#include "store/localeutente.h"
#include "verifica.h"

#include <QLocale>
#include <QString>

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

const QLocale &Locale(uint8_t scelta)
{
    static const QLocale locali[] = {
        QLocale(QLocale::Italian, QLocale::Italy),        // 1.234,5  dd/MM/yy
        QLocale(QLocale::English, QLocale::UnitedStates), // 1,234.5  M/d/yy
        QLocale(QLocale::German, QLocale::Germany),       // 1.234,5  dd.MM.yy
        QLocale(QLocale::English, QLocale::UnitedKingdom) // 1,234.5  dd/MM/yyyy
    };
    return locali[scelta % 4];
}

// The key of a value below 10^30 written independently of the code under
// test: the exact decimal expansion rounded to 30 decimals.
QString KeyAttesa(double v, const QString &decimale)
{
    if (v < 0)
        return QLatin1Char('&') + ChiaveNumero(KeyAttesa(-v, decimale));
    char buffer[400];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v == 0 ? 0.0 : v,
                                 std::chars_format::fixed, 30);
    Verifica(r.ec == std::errc());
    QString s = QString::fromLatin1(buffer, r.ptr - buffer);
    const qsizetype punto = s.indexOf(QLatin1Char('.'));
    s.replace(punto, 1, decimale);
    return QString(qMax<qsizetype>(0, 30 - punto), QLatin1Char('0')) + s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    if (dimensione < 1)
        return 0;
    const QLocale &locale = Locale(dati[0]);
    QLocale::setDefault(locale);
    const QByteArray resto(reinterpret_cast<const char *>(dati) + 1, qsizetype(dimensione - 1));
    const qsizetype zero = resto.indexOf('\0');
    const QString a = QString::fromUtf8(zero < 0 ? resto : resto.left(zero));
    const QString b = zero < 0 ? QString() : QString::fromUtf8(resto.mid(zero + 1));
    const QString decimale = locale.decimalPoint();

    // ChiaveNumero.
    const QString c = ChiaveNumero(a);
    Verifica(c.size() == a.size());
    QString senzaMeno = a;
    senzaMeno.replace(QLatin1Char('-'), QLatin1Char(' '));
    Verifica(ChiaveNumero(c) == senzaMeno);

    // Number keys.
    const GeneratoreChiavi chiavi(locale);
    double valori[2] = {0, 0};
    bool numeri[2] = {false, false};
    QString keys[2];
    const QString *testi[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        keys[i] = ChiaveNumerica(*testi[i]);
        Verifica(keys[i] == chiavi.numero(*testi[i]));
        numeri[i] = LeggiNumero(*testi[i], locale, &valori[i]);
        Verifica(keys[i].isEmpty() == !numeri[i]);
        if (!numeri[i])
            continue;
        Verifica(std::isfinite(valori[i]));
        if (std::fabs(valori[i]) < 1e30) {
            Verifica(keys[i].size() == (valori[i] < 0 ? 62 : 61));
            Verifica(keys[i] == KeyAttesa(valori[i], decimale));
        }
    }
    if (numeri[0] && numeri[1] && std::fabs(valori[0]) < 1e30 && std::fabs(valori[1]) < 1e30) {
        const int confronto = keys[0].compare(keys[1]);
        if (valori[0] < valori[1])
            Verifica(confronto <= 0);
        else if (valori[0] > valori[1])
            Verifica(confronto >= 0);
        else
            Verifica(confronto == 0);
    }

    // Date keys.
    for (const QString *t : testi) {
        const QString k = ChiaveData(*t);
        Verifica(k == chiavi.data(*t));
        Verifica(k.isEmpty() || k.size() == 14);
        for (const QChar ch : k)
            Verifica(ch >= QLatin1Char('0') && ch <= QLatin1Char('9'));
        const QDateTime letta = LeggiDataBreve(*t);
        if (!k.isEmpty()) {
            Verifica(letta.isValid());
            Verifica(k == letta.toString(QStringLiteral("yyyyMMddhhmmss")));
        } else {
            Verifica(!letta.isValid() || letta.date().year() < 0 || letta.date().year() > 9999);
        }
    }
    return 0;
}
