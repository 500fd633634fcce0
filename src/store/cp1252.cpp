#include "store/cp1252.h"

namespace {

// Characters of the bytes 0x80 to 0x9F; the unassigned bytes keep their own
// value.
constexpr char16_t kAlti[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of a character, or 0 when the code page has none (the character
// U+0000 itself is byte 0 but never asked for here).
char byteCarattere(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i) {
        if (kAlti[i] == c)
            return char(0x80 + i);
    }
    return 0;
}

char codificaCarattere(char16_t c)
{
    const char b = byteCarattere(c);
    return b != 0 || c == 0 ? b : '?';
}

} // namespace

bool InCp1252(char16_t c)
{
    return c == 0 || byteCarattere(c) != 0;
}

QString MaiuscoloCp1252(QStringView testo)
{
    QString out = testo.toString();
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = d[i];
        if (c < 0x80) {
            if (c >= u'a' && c <= u'z')
                d[i] = char16_t(c - 0x20);
            continue;
        }
        if (!InCp1252(c))
            continue; // kept as typed; a save refuses it with a message
        // QString's upper case, not QChar's: "ß" gives "SS" there, which is
        // not one character and so is left alone.
        const QString maiuscolo = QString(QChar(c)).toUpper();
        if (maiuscolo.size() == 1 && InCp1252(maiuscolo.at(0).unicode()))
            d[i] = maiuscolo.at(0).unicode();
    }
    return out;
}

QString PrimoCarattereFuoriCp1252(QStringView testo)
{
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const char16_t c = testo.at(i).unicode();
        if (InCp1252(c))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < testo.size()
            && QChar::isLowSurrogate(testo.at(i + 1).unicode()))
            return testo.mid(i, 2).toString();
        return QString(QChar(c));
    }
    return QString();
}

char *CodificaCp1252In(char *d, QStringView testo)
{
    const char16_t *s = testo.utf16();
    const char16_t *fine = s + testo.size();
    while (s < fine) {
        const char16_t c = *s++;
        if (c < 0x80) {
            *d++ = char(c);
        } else if (QChar::isHighSurrogate(c) && s < fine && QChar::isLowSurrogate(*s)) {
            ++s; // one character outside the code page, one "?"
            *d++ = '?';
        } else {
            *d++ = codificaCarattere(c);
        }
    }
    return d;
}

void AccodaCp1252(QByteArray &out, QStringView testo)
{
    const qsizetype inizio = out.size();
    out.resize(inizio + testo.size());
    char *fine = CodificaCp1252In(out.data() + inizio, testo);
    out.resize(fine - out.constData());
}

QByteArray CodificaCp1252(QStringView testo)
{
    QByteArray out;
    AccodaCp1252(out, testo);
    return out;
}

QString DecodificaCp1252(QByteArrayView byte)
{
    const char *s = byte.data();
    const qsizetype n = byte.size();
    if (n == 0)
        return QString();
    bool soloLatin1 = true;
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 0x80 && b < 0xA0) {
            soloLatin1 = false;
            break;
        }
    }
    // Outside 0x80-0x9F the code page is Latin-1, which Qt decodes fast.
    if (soloLatin1)
        return QString::fromLatin1(s, n);
    QString out(n, Qt::Uninitialized);
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? kAlti[b - 0x80] : char16_t(b);
    }
    return out;
}
