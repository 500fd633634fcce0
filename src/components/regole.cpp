#include "components/regole.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr qint32 LongMassimo = std::numeric_limits<qint32>::max();
constexpr qint32 LongMinimo = std::numeric_limits<qint32>::min();

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
        || c == QLatin1Char('\n');
}

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Walks the characters of a text the way Val sees them: blanks skipped.
class Lettore {
public:
    explicit Lettore(const QString &testo) : m_testo(testo) { salta(); }
    bool fine() const { return m_pos >= m_testo.size(); }
    QChar corrente() const { return fine() ? QChar() : m_testo.at(m_pos); }
    void avanza()
    {
        ++m_pos;
        salta();
    }

private:
    void salta()
    {
        while (m_pos < m_testo.size() && IsBlank(m_testo.at(m_pos)))
            ++m_pos;
    }
    const QString &m_testo;
    qsizetype m_pos = 0;
};

int ValoreCifra(QChar c)
{
    if (IsAsciiDigit(c))
        return c.unicode() - u'0';
    const QChar m = c.toUpper();
    if (m >= QLatin1Char('A') && m <= QLatin1Char('F'))
        return m.unicode() - u'A' + 10;
    return -1;
}

// "&H..." and "&O...": the digits of the base that follow the prefix.
double LeggiBase(Lettore &l, int base)
{
    double valore = 0;
    for (int cifra = ValoreCifra(l.corrente()); cifra >= 0 && cifra < base;
         cifra = ValoreCifra(l.corrente())) {
        valore = valore * base + cifra;
        l.avanza();
    }
    return valore;
}

// Whether a plain decimal number (sign, digits, point, digits, optional
// exponent) that does not fit a double is too large rather than too small:
// its decimal order of magnitude is positive.
bool TroppoGrande(const std::string &numero)
{
    const auto posE = numero.find('e');
    const std::string mantissa = numero.substr(0, posE);
    long long ordine = 0;
    const auto punto = mantissa.find('.');
    const std::string intera = mantissa.substr(0, punto);
    const auto primaCifra = intera.find_first_not_of("-0");
    if (primaCifra != std::string::npos) {
        ordine = static_cast<long long>(intera.size() - primaCifra);
    } else if (punto != std::string::npos) {
        const std::string frazione = mantissa.substr(punto + 1);
        const auto nonZero = frazione.find_first_not_of('0');
        ordine = nonZero == std::string::npos ? 0 : -static_cast<long long>(nonZero);
    }
    if (posE != std::string::npos)
        ordine += std::stoll(numero.substr(posE + 1));
    return ordine > 0;
}

} // namespace

qint32 NumeroDaCodice(const QString &codice)
{
    qint64 n = 0;
    for (const QChar c : codice) {
        if (!IsAsciiDigit(c))
            continue;
        n = n * 10 + (c.unicode() - u'0');
        if (n > LongMassimo)
            return LongMassimo;
    }
    return static_cast<qint32>(n);
}

QString PulisciTesto(const QString &testo)
{
    QString pulito = testo;
    pulito.replace(QLatin1Char('"'), QLatin1Char('\''));
    pulito.replace(QLatin1Char(','), QStringLiteral(" - "));
    // Replacing each CR LF pair by a blank, left to right, cannot form a new
    // pair, so one pass equals replacing the first pair until none is left.
    pulito.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return pulito;
}

double Val(const QString &testo)
{
    Lettore l(testo);

    if (l.corrente() == QLatin1Char('&')) {
        l.avanza();
        const QChar prefisso = l.corrente().toUpper();
        if (prefisso == QLatin1Char('H')) {
            l.avanza();
            return LeggiBase(l, 16);
        }
        if (prefisso == QLatin1Char('O')) {
            l.avanza();
            return LeggiBase(l, 8);
        }
        return 0;
    }

    // The accepted characters, in the plain form from_chars reads.
    std::string numero;
    if (l.corrente() == QLatin1Char('-') || l.corrente() == QLatin1Char('+')) {
        if (l.corrente() == QLatin1Char('-'))
            numero += '-';
        l.avanza();
    }
    bool cifre = false;
    while (IsAsciiDigit(l.corrente())) {
        numero += static_cast<char>(l.corrente().unicode());
        cifre = true;
        l.avanza();
    }
    if (l.corrente() == QLatin1Char('.')) {
        numero += '.';
        l.avanza();
        while (IsAsciiDigit(l.corrente())) {
            numero += static_cast<char>(l.corrente().unicode());
            cifre = true;
            l.avanza();
        }
    }
    if (!cifre)
        return 0;

    const QChar e = l.corrente().toUpper();
    if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
        l.avanza();
        bool negativo = false;
        if (l.corrente() == QLatin1Char('-') || l.corrente() == QLatin1Char('+')) {
            negativo = l.corrente() == QLatin1Char('-');
            l.avanza();
        }
        // Saturate the exponent: anything this large already over- or
        // underflows a double, whatever the mantissa.
        qint64 esponente = 0;
        while (IsAsciiDigit(l.corrente())) {
            if (esponente < 1'000'000)
                esponente = esponente * 10 + (l.corrente().unicode() - u'0');
            l.avanza();
        }
        numero += 'e';
        numero += negativo ? '-' : '+';
        numero += std::to_string(esponente);
    }

    double valore = 0;
    const std::from_chars_result letto =
        std::from_chars(numero.data(), numero.data() + numero.size(), valore);
    if (letto.ec == std::errc::result_out_of_range) {
        const bool negativo = numero.front() == '-';
        if (!TroppoGrande(numero))
            return negativo ? -0.0 : 0.0;
        const double inf = std::numeric_limits<double>::infinity();
        return negativo ? -inf : inf;
    }
    return valore;
}

qint32 LongDaTesto(const QString &testo)
{
    const double x = Val(testo);
    const double giu = std::floor(x);
    const double resto = x - giu;
    double arrotondato = giu;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(giu, 2.0) != 0.0))
        arrotondato = giu + 1;
    if (arrotondato >= static_cast<double>(LongMassimo))
        return LongMassimo;
    if (arrotondato <= static_cast<double>(LongMinimo))
        return LongMinimo;
    return static_cast<qint32>(arrotondato);
}
