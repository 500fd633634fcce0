#include "listsort/chiavi.h"

#include "store/localeutente.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int CifreIntere = 30;
constexpr int CifreDecimali = 30;

bool cifra(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Reads a run of ASCII digits at s[i...], between minimo and massimo long.
bool leggiCifre(const QString &s, qsizetype &i, int minimo, int massimo, int *valore)
{
    int n = 0;
    int v = 0;
    while (i < s.size() && n < massimo && cifra(s[i])) {
        v = v * 10 + (s[i].unicode() - '0');
        ++i;
        ++n;
    }
    *valore = v;
    return n >= minimo;
}

} // namespace

TipoColonna TipoDaTag(const QString &tag)
{
    const QString t = tag.toUpper();
    if (t == QLatin1String("DATE"))
        return TipoColonna::Data;
    if (t == QLatin1String("NUMBER"))
        return TipoColonna::Numero;
    if (t == QLatin1String("NATURAL"))
        return TipoColonna::Naturale;
    return TipoColonna::Testo;
}

QString ChiaveNaturale(const QString &testo)
{
    QString chiave;
    chiave.reserve(testo.size() + 8);
    for (qsizetype i = 0; i < testo.size();) {
        if (!cifra(testo[i])) {
            chiave += testo[i++];
            continue;
        }
        while (i + 1 < testo.size() && testo[i] == u'0' && cifra(testo[i + 1]))
            ++i;
        qsizetype fine = i;
        while (fine < testo.size() && cifra(testo[fine]))
            ++fine;
        const int cifre = int(std::min<qsizetype>(fine - i, 99));
        chiave += QChar(char16_t(u'0' + cifre / 10));
        chiave += QChar(char16_t(u'0' + cifre % 10));
        chiave += QStringView(testo).sliced(i, fine - i);
        i = fine;
    }
    return chiave;
}

QString ChiaveNumero(const QString &testo)
{
    QString r = testo;
    for (QChar &c : r) {
        if (cifra(c))
            c = QChar(u'9' - (c.unicode() - u'0'));
        else if (c == u'-')
            c = u' ';
    }
    return r;
}

bool LeggiNumero(const QString &testo, const QLocale &locale, double *valore)
{
    return GeneratoreChiavi(locale).leggiNumero(testo, valore);
}

QString ChiaveNumerica(const QString &testo)
{
    return GeneratoreChiavi(LocaleUtente()).numero(testo);
}

QString ChiaveData(const QString &testo)
{
    return GeneratoreChiavi(LocaleUtente()).data(testo);
}

GeneratoreChiavi::GeneratoreChiavi(const QLocale &locale)
    : m_locale(locale), m_decimale(locale.decimalPoint()), m_meno(locale.negativeSign()),
      m_piu(locale.positiveSign())
{
    // Look at the short date form once: "dd/MM/yyyy", "M/d/yyyy",
    // "dd.MM.yyyy" and the like can be read by hand, which is much cheaper
    // than the general date reader on a column of 100,000 cells.
    const QString formato = FormatoDataBreve();
    qsizetype i = 0;
    int campi = 0;
    bool ok = true;
    while (ok && i < formato.size()) {
        const QChar c = formato[i];
        qsizetype j = i;
        while (j < formato.size() && formato[j] == c)
            ++j;
        const int lungo = int(j - i);
        if (campi < 3 && (c == u'd' || c == u'M') && lungo <= 2) {
            m_campi[campi++] = {char(c.unicode()), lungo, 2};
        } else if (campi < 3 && c == u'y' && lungo == 4) {
            m_campi[campi++] = {'y', 4, 4};
        } else if (lungo == 1 && campi >= 1 && campi <= 2 && !c.isLetterOrNumber()
                   && m_separatori[campi - 1].isNull()) {
            m_separatori[campi - 1] = c;
        } else {
            ok = false;
        }
        i = j;
    }
    m_dataSemplice = ok && campi == 3 && !m_separatori[0].isNull() && !m_separatori[1].isNull()
                     && m_campi[0].tipo != m_campi[1].tipo && m_campi[1].tipo != m_campi[2].tipo
                     && m_campi[0].tipo != m_campi[2].tipo;
}

bool GeneratoreChiavi::leggiNumero(const QString &grezzo, double *valore) const
{
    const QString testo = grezzo.trimmed();
    if (testo.isEmpty())
        return false;

    // The usual case by hand: sign, digits, decimal separator, decimals.
    char buffer[128];
    std::size_t n = 0;
    qsizetype i = 0;
    if (testo.startsWith(m_meno)) {
        buffer[n++] = '-';
        i = m_meno.size();
    } else if (testo.startsWith(u'-')) {
        buffer[n++] = '-';
        i = 1;
    } else if (testo.startsWith(m_piu) || testo.startsWith(u'+')) {
        i = testo.startsWith(m_piu) ? m_piu.size() : 1;
    }
    bool cifre = false;
    bool decimale = false;
    bool semplice = true;
    while (i < testo.size() && semplice) {
        if (n + 1 >= sizeof buffer) {
            semplice = false;
        } else if (cifra(testo[i])) {
            buffer[n++] = char(testo[i].unicode());
            cifre = true;
            ++i;
        } else if (!decimale && QStringView(testo).mid(i).startsWith(m_decimale)) {
            buffer[n++] = '.';
            decimale = true;
            i += m_decimale.size();
        } else {
            semplice = false;
        }
    }
    if (semplice && cifre) {
        double v = 0;
        const auto r = std::from_chars(buffer, buffer + n, v);
        if (r.ec == std::errc() && r.ptr == buffer + n && std::isfinite(v)) {
            *valore = v;
            return true;
        }
    }

    // Anything else (group separators, exponents) as the locale reads it.
    bool ok = false;
    const double v = m_locale.toDouble(testo, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *valore = v;
    return true;
}

QString GeneratoreChiavi::numero(double v) const
{
    if (!std::isfinite(v))
        return {};
    if (v < 0)
        return QLatin1Char('&') + ChiaveNumero(numero(-v));
    if (v == 0)
        v = 0; // no "-0"
    if (v < 1e15 && v == std::floor(v)) {
        // Whole numbers (the usual case, quantities) written by hand: the
        // same text as the general path below, much cheaper.
        auto intero = quint64(v);
        QString k(qsizetype(CifreIntere + m_decimale.size() + CifreDecimali), u'0');
        QChar *p = k.data() + CifreIntere;
        do {
            *--p = QChar(char16_t(u'0' + intero % 10));
            intero /= 10;
        } while (intero != 0);
        for (qsizetype i = 0; i < m_decimale.size(); ++i)
            k[CifreIntere + i] = m_decimale[i];
        return k;
    }
    // Exact decimal digits of the double, correctly rounded to 30 decimals:
    // equal values give equal texts and larger values never smaller ones.
    char buffer[400];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, CifreDecimali);
    if (r.ec != std::errc())
        return {};
    const std::size_t lungo = std::size_t(r.ptr - buffer);
    const std::size_t intere = lungo - CifreDecimali - 1;
    const std::size_t zeri = intere < std::size_t(CifreIntere) ? CifreIntere - intere : 0;
    QString k;
    k.reserve(qsizetype(zeri + lungo + std::size_t(m_decimale.size())));
    k.fill(u'0', qsizetype(zeri));
    k.append(QLatin1String(buffer, qsizetype(intere)));
    k.append(m_decimale);
    k.append(QLatin1String(buffer + intere + 1, CifreDecimali));
    return k;
}

QString GeneratoreChiavi::numero(const QString &testo) const
{
    double v = 0;
    if (!leggiNumero(testo, &v))
        return {};
    return numero(v);
}

QDate GeneratoreChiavi::leggiDataVeloce(const QString &grezzo) const
{
    if (!m_dataSemplice)
        return {};
    const QString testo = grezzo.trimmed();
    int giorno = 0;
    int mese = 0;
    int anno = 0;
    qsizetype i = 0;
    for (int k = 0; k < 3; ++k) {
        int v = 0;
        if (!leggiCifre(testo, i, m_campi[k].minimo, m_campi[k].massimo, &v))
            return {};
        (m_campi[k].tipo == 'd' ? giorno : m_campi[k].tipo == 'M' ? mese : anno) = v;
        if (k < 2) {
            if (i >= testo.size() || testo[i] != m_separatori[k])
                return {};
            ++i;
        }
    }
    if (i != testo.size())
        return {};
    return QDate(anno, mese, giorno);
}

QString GeneratoreChiavi::data(const QString &testo) const
{
    QDate d = leggiDataVeloce(testo);
    QTime t(0, 0);
    if (!d.isValid()) {
        const QDateTime quando = LeggiDataBreve(testo);
        if (!quando.isValid())
            return {};
        d = quando.date();
        t = quando.time();
    }
    // yyyyMMddhhmmss, by hand: a formatter call per cell is slow.
    int anno = 0, mese = 0, giorno = 0;
    d.getDate(&anno, &mese, &giorno);
    if (anno < 0 || anno > 9999)
        return {};
    const int campi[6] = {anno, mese, giorno, t.hour(), t.minute(), t.second()};
    QString k(14, Qt::Uninitialized);
    QChar *p = k.data();
    auto scrivi = [&p](int valore, int cifre) {
        for (int i = cifre - 1; i >= 0; --i) {
            p[i] = QChar(char16_t(u'0' + valore % 10));
            valore /= 10;
        }
        p += cifre;
    };
    scrivi(campi[0], 4);
    for (int i = 1; i < 6; ++i)
        scrivi(campi[i], 2);
    return k;
}

QString GeneratoreChiavi::chiave(TipoColonna tipo, const QString &testo) const
{
    switch (tipo) {
    case TipoColonna::Numero:
        return numero(testo);
    case TipoColonna::Data:
        return data(testo);
    case TipoColonna::Naturale:
        return ChiaveNaturale(testo);
    case TipoColonna::Testo:
        break;
    }
    return testo;
}
