#include "reports/datebrevi.h"

#include "store/localeutente.h"

DateBrevi::DateBrevi() : m_locale(LocaleUtente()), m_formato(FormatoDataBreve()) {}

QString DateBrevi::testo(const QDateTime &data)
{
    if (!data.isValid())
        return {};
    const QDate giorno = data.date();
    auto it = m_giorni.constFind(giorno);
    if (it == m_giorni.constEnd())
        it = m_giorni.insert(giorno, m_locale.toString(giorno, m_formato));
    return *it;
}
