#include "reports/ansi.h"

namespace {

// The characters of bytes 0x80 to 0x9F; 0 where the code page has none.
constexpr char16_t Alti[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (Alti[i] != 0 && Alti[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray TestoAnsi(const QString &testo)
{
    QByteArray out(testo.size(), Qt::Uninitialized);
    char *scrivi = out.data();
    const QChar *c = testo.constData();
    const QChar *fine = c + testo.size();
    for (; c < fine; ++c) {
        if (c->isHighSurrogate() && c + 1 < fine && c[1].isLowSurrogate()) {
            *scrivi++ = '?'; // a character outside the 16-bit range: one byte
            ++c;
        } else {
            *scrivi++ = Byte(c->unicode());
        }
    }
    out.truncate(scrivi - out.constData());
    return out;
}
