#include "ui/main/testinumeri.h"

const QString &TestiNumeri::testo(qint64 numero)
{
    if (numero >= 0 && numero < LimiteDiretto) {
        const auto i = std::size_t(numero);
        if (i >= m_diretti.size())
            m_diretti.resize(std::max(i + 1, m_diretti.size() * 2));
        QString &t = m_diretti[i];
        if (t.isNull())
            t = QString::number(numero);
        return t;
    }
    auto it = m_altri.find(numero);
    if (it == m_altri.end())
        it = m_altri.insert(numero, QString::number(numero));
    return *it;
}
