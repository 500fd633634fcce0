#include "reports/datebrevi.h"

#include "store/localeutente.h"

DateBrevi::DateBrevi() : m_locale(LocaleUtente()), m_formato(FormatoDataBreve())
{
    m_semplice = m_locale.zeroDigit() == QLatin1String("0");
    for (qsizetype i = 0; m_semplice && i < m_formato.size();) {
        const QChar c = m_formato[i];
        qsizetype j = i;
        while (j < m_formato.size() && m_formato[j] == c)
            ++j;
        const int lungo = int(j - i);
        if ((c == u'd' || c == u'M') && lungo <= 2) {
            m_pezzi.append({char(c.unicode()), lungo, {}});
        } else if (c == u'y' && lungo == 4) {
            m_pezzi.append({'y', 4, {}});
        } else if (!c.isLetter() && c != u'\'') {
            for (int k = 0; k < lungo; ++k)
                m_pezzi.append({0, 0, c});
        } else {
            m_semplice = false; // names of days or months, quoted text, ...
        }
        i = j;
    }
}

bool DateBrevi::attuale() const
{
    return m_formato == FormatoDataBreve() && m_locale == LocaleUtente();
}

QString DateBrevi::aMano(const QDate &giorno) const
{
    int anno = 0, mese = 0, g = 0;
    giorno.getDate(&anno, &mese, &g);
    QString out;
    out.reserve(16);
    for (const Pezzo &p : m_pezzi) {
        if (p.campo == 0) {
            out.append(p.carattere);
            continue;
        }
        const int v = p.campo == 'd' ? g : p.campo == 'M' ? mese : anno;
        char16_t cifre[4];
        int n = 0;
        for (int x = v; x > 0 || n < p.cifre; x /= 10)
            cifre[n++] = char16_t(u'0' + x % 10);
        while (n > 0)
            out.append(QChar(cifre[--n]));
    }
    return out;
}

QString DateBrevi::testo(const QDateTime &data)
{
    if (!data.isValid())
        return {};
    const QDate giorno = data.date();
    auto it = m_giorni.constFind(giorno);
    if (it == m_giorni.constEnd()) {
        // Years outside 1000-9999 (none in practice) go to the locale.
        const bool aManoOk = m_semplice && giorno.year() >= 1000 && giorno.year() <= 9999;
        it = m_giorni.insert(giorno, aManoOk ? aMano(giorno) : m_locale.toString(giorno, m_formato));
    }
    return *it;
}
