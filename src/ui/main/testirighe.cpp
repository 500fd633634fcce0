#include "ui/main/testirighe.h"

#include "store/records.h"

#include <algorithm>

void TestiRighe::preparaRiempimento()
{
    if (!m_date.attuale())
        m_date = DateBrevi();
}

void TestiRighe::scrivi(const Componente &c, qint32 posizione, QString *testi)
{
    testi[0] = c.Codice;
    testi[1] = c.NomeProduttore;
    testi[2] = c.NomeTipo;
    testi[3] = numero(c.Quantita);
    testi[4] = m_date.testo(c.DataInserimento);
    testi[5] = numero(posizione);
}

const QString &TestiRighe::numero(qint64 n)
{
    if (n >= 0 && n < LimiteDiretto) {
        const auto i = std::size_t(n);
        if (i >= m_numeri.size())
            m_numeri.resize(std::max(i + 1, m_numeri.size() * 2));
        QString &t = m_numeri[i];
        if (t.isNull())
            t = QString::number(n);
        return t;
    }
    auto it = m_altriNumeri.find(n);
    if (it == m_altriNumeri.end())
        it = m_altriNumeri.insert(n, QString::number(n));
    return *it;
}
