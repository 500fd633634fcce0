#include "components/scorta.h"

#include "components/regole.h"
#include "store/stato.h"

#include <algorithm>

namespace {

bool Vuoto(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
        || c == QLatin1Char('\n');
}

bool Cifra(QChar c, int base)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0' < base;
    return base == 16 && u >= u'A' && u <= u'F';
}

// Whether Val finds a number at the start of the text: the same walk as Val
// (blanks skipped everywhere, a sign, digits or a point followed by a digit,
// or "&H"/"&O" followed by a digit of that base), without computing it.
bool HaNumeroIniziale(const QString &testo)
{
    qsizetype i = 0;
    const qsizetype n = testo.size();
    auto prossimo = [&] {
        while (i < n && Vuoto(testo[i]))
            ++i;
        return i < n ? testo[i] : QChar();
    };
    QChar c = prossimo();
    if (c == QLatin1Char('&')) {
        ++i;
        const QChar prefisso = prossimo().toUpper();
        if (prefisso != QLatin1Char('H') && prefisso != QLatin1Char('O'))
            return false;
        ++i;
        return Cifra(prossimo(), prefisso == QLatin1Char('H') ? 16 : 8);
    }
    if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
        ++i;
        c = prossimo();
    }
    if (Cifra(c, 10))
        return true;
    if (c != QLatin1Char('.'))
        return false;
    ++i;
    return Cifra(prossimo(), 10);
}

qint32 Validi(const Stato &stato)
{
    return static_cast<qint32>(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
}

// The usual minimum, a few digits with perhaps a sign and a unit ("10",
// " 25 pz", "-2"), read without the general Val walk; false when the text
// needs that walk (a point, an exponent, digits after a blank, many digits,
// no digits at all).
bool LeggiInteroSemplice(const QString &testo, qint32 *minimo)
{
    const qsizetype n = testo.size();
    qsizetype i = 0;
    while (i < n && Vuoto(testo[i]))
        ++i;
    bool negativo = false;
    if (i < n && (testo[i] == QLatin1Char('-') || testo[i] == QLatin1Char('+'))) {
        negativo = testo[i] == QLatin1Char('-');
        ++i;
        while (i < n && Vuoto(testo[i]))
            ++i;
    }
    qint32 valore = 0;
    int cifre = 0;
    while (i < n && testo[i] >= QLatin1Char('0') && testo[i] <= QLatin1Char('9')) {
        if (++cifre > 9)
            return false;
        valore = valore * 10 + (testo[i].unicode() - u'0');
        ++i;
    }
    if (cifre == 0)
        return false;
    while (i < n && Vuoto(testo[i]))
        ++i;
    if (i < n) {
        const char16_t c = testo[i].unicode();
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'd' || c == u'D')
            return false;
    }
    *minimo = negativo ? -valore : valore;
    return true;
}

} // namespace

bool LeggiMinimo(const QString &testo, qint32 *minimo)
{
    // Most components have the field empty: the common case costs nothing.
    if (testo.isEmpty())
        return false;
    if (LeggiInteroSemplice(testo, minimo))
        return true;
    if (!HaNumeroIniziale(testo))
        return false;
    *minimo = LongDaTesto(testo);
    return true;
}


const QString &CampoExtra(const Componente &c, int campo)
{
    static const QString nessuno;
    switch (campo) {
    case 1: return c.Extra1;
    case 2: return c.Extra2;
    case 3: return c.Extra3;
    case 4: return c.Extra4;
    case 5: return c.Extra5;
    case 6: return c.Extra6;
    default: return nessuno;
    }
}

bool SottoScorta(const Componente &c, int campo)
{
    qint32 minimo = 0;
    return LeggiMinimo(CampoExtra(c, campo), &minimo) && c.Quantita < minimo;
}

qint32 ContaSottoScorta(const Stato &stato)
{
    qint32 n = 0;
    const qint32 num = Validi(stato);
    for (qint32 pos = 1; pos <= num; ++pos)
        n += SottoScorta(stato.componente(pos), stato.CampoMinimo) ? 1 : 0;
    return n;
}

QList<qint32> PosizioniSottoScorta(const Stato &stato)
{
    QList<qint32> posizioni;
    const qint32 num = Validi(stato);
    for (qint32 pos = 1; pos <= num; ++pos) {
        if (SottoScorta(stato.componente(pos), stato.CampoMinimo))
            posizioni.append(pos);
    }
    return posizioni;
}
