#include "etichette/codiceetichetta.h"

#include "store/stato.h"

#include <algorithm>
#include <limits>

namespace {

constexpr QStringView Prefisso = u"ARVO:";

bool bianco(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QStringView Rifilato(QStringView testo)
{
    qsizetype inizio = 0, fine = testo.size();
    while (inizio < fine && bianco(testo[inizio]))
        ++inizio;
    while (fine > inizio && bianco(testo[fine - 1]))
        --fine;
    return testo.sliced(inizio, fine - inizio);
}

} // namespace

QString TestoEtichetta(qint32 id)
{
    return Prefisso.toString() + QString::number(id);
}

bool SembraEtichetta(QStringView testo)
{
    return Rifilato(testo).startsWith(Prefisso, Qt::CaseInsensitive);
}

std::optional<qint32> LeggiTestoEtichetta(QStringView testo)
{
    const QStringView t = Rifilato(testo);
    if (t.size() <= Prefisso.size() || !t.startsWith(Prefisso, Qt::CaseInsensitive))
        return std::nullopt;
    qint64 id = 0;
    for (const QChar c : t.sliced(Prefisso.size())) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        id = id * 10 + (c.unicode() - u'0');
        if (id > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    if (id < 1)
        return std::nullopt;
    return qint32(id);
}

qint32 ComponenteDaEtichetta(const Stato &stato, QStringView testo)
{
    const std::optional<qint32> id = LeggiTestoEtichetta(testo);
    if (!id)
        return 0;
    const qint32 num = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    for (qint32 pos = 1; pos <= num; ++pos)
        if (stato.componente(pos).ID == *id)
            return pos;
    return 0;
}
