#include "distinta/ricercacomponenti.h"

#include "store/cp1252.h"
#include "store/stato.h"

#include <algorithm>

RicercaComponenti::RicercaComponenti(const Stato &stato)
{
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    qsizetype lunghezza = 0;
    for (qint32 pos = 1; pos <= n; ++pos)
        lunghezza += stato.componente(pos).Codice.size() + stato.componente(pos).Descrizione.size() + 2;
    m_testo.reserve(lunghezza);
    m_inizi.reserve(n + 1);
    for (qint32 pos = 1; pos <= n; ++pos) {
        const Componente &c = stato.componente(pos);
        m_inizi.append(m_testo.size());
        m_testo += MaiuscoloCp1252(c.Codice);
        m_testo += u'\x1f';
        const qsizetype descrizione = m_testo.size();
        m_testo += MaiuscoloCp1252(c.Descrizione);
        // A word typed never holds a line break: none may join two parts.
        for (qsizetype i = descrizione; i < m_testo.size(); ++i) {
            if (m_testo[i] == u'\n' || m_testo[i] == u'\x1f')
                m_testo[i] = u' ';
        }
        m_testo += u'\n';
    }
    m_inizi.append(m_testo.size());
}

QList<qint32> RicercaComponenti::cerca(const QString &testo, qsizetype massimo, qsizetype *trovati) const
{
    QStringList parole = MaiuscoloCp1252(testo).simplified().split(QChar(u' '), Qt::SkipEmptyParts);
    QList<qint32> posizioni;
    qsizetype quanti = 0;
    if (!parole.isEmpty()) {
        // The longest word is looked for through the whole text; the others
        // only in the parts where it is.
        std::stable_sort(parole.begin(), parole.end(),
                         [](const QString &a, const QString &b) { return a.size() > b.size(); });
        const QStringView tutto(m_testo);
        qsizetype da = 0;
        while (true) {
            const qsizetype i = tutto.indexOf(parole.first(), da);
            if (i < 0)
                break;
            const qsizetype k = std::upper_bound(m_inizi.cbegin(), m_inizi.cend(), i) - m_inizi.cbegin() - 1;
            const QStringView parte = tutto.mid(m_inizi[k], m_inizi[k + 1] - m_inizi[k]);
            if (std::all_of(parole.cbegin() + 1, parole.cend(), [&](const QString &p) { return parte.contains(p); })) {
                ++quanti;
                if (posizioni.size() < massimo)
                    posizioni.append(qint32(k + 1));
            }
            da = m_inizi[k + 1];
        }
    }
    if (trovati)
        *trovati = quanti;
    return posizioni;
}
