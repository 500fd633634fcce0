#include "store/numeri.h"

namespace {

template <typename Car>
EsitoNumero leggi(const Car *p, qsizetype n, qint32 *valore)
{
    auto car = [&](qsizetype i) { return char16_t(p[i]); };
    qsizetype a = 0;
    qsizetype b = n;
    while (a < b && (car(a) == u' ' || car(a) == u'\t'))
        ++a;
    while (b > a && (car(b - 1) == u' ' || car(b - 1) == u'\t'))
        --b;
    bool negativo = false;
    if (a < b && (car(a) == u'-' || car(a) == u'+')) {
        negativo = car(a) == u'-';
        ++a;
    }
    constexpr qint64 kLimite = qint64(1) << 32; // beyond any 32-bit value
    qint64 intero = 0;
    int cifre = 0;
    while (a < b && car(a) >= u'0' && car(a) <= u'9') {
        if (intero < kLimite)
            intero = intero * 10 + (car(a) - u'0');
        ++a;
        ++cifre;
    }
    int primaDecimale = -1;
    bool restoNonNullo = false;
    if (a < b && car(a) == u'.') {
        ++a;
        while (a < b && car(a) >= u'0' && car(a) <= u'9') {
            const int c = car(a) - u'0';
            if (primaDecimale < 0)
                primaDecimale = c;
            else if (c != 0)
                restoNonNullo = true;
            ++a;
            ++cifre;
        }
    }
    if (cifre == 0 || a != b)
        return EsitoNumero::NonNumero;
    if (primaDecimale > 5 || (primaDecimale == 5 && (restoNonNullo || intero % 2 == 1)))
        ++intero;
    const qint64 risultato = negativo ? -intero : intero;
    if (risultato < qint64(INT32_MIN) || risultato > qint64(INT32_MAX))
        return EsitoNumero::FuoriIntervallo;
    *valore = qint32(risultato);
    return EsitoNumero::Ok;
}

} // namespace

EsitoNumero LeggiNumero(QByteArrayView testo, qint32 *valore)
{
    return leggi(reinterpret_cast<const unsigned char *>(testo.data()), testo.size(), valore);
}

EsitoNumero LeggiNumero(QStringView testo, qint32 *valore)
{
    return leggi(testo.utf16(), testo.size(), valore);
}

qint32 LeggiNumeroIntero(QStringView testo, bool *ok)
{
    qint32 valore = 0;
    *ok = LeggiNumero(testo, &valore) == EsitoNumero::Ok;
    return *ok ? valore : 0;
}
