#include "ricevi/confrontoricevi.h"

#include "store/stato.h"

#include <algorithm>

IndiceRicevi::IndiceRicevi(const Stato &stato, const Collegamenti &collegamenti)
    : m_codici(stato), m_collegamenti(collegamenti)
{
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    m_codiciPerPosizione.reserve(n);
    for (qint32 pos = 1; pos <= n; ++pos)
        m_codiciPerPosizione.append(stato.componente(pos).Codice);
    m_posizioneDaID.reserve(n);
    for (qint32 pos = n; pos >= 1; --pos) // the first of a repeated ID wins
        m_posizioneDaID.insert(stato.componente(pos).ID, pos);
}

ConfrontoRicevi IndiceRicevi::confronta(const Scansione &scansione) const
{
    ConfrontoRicevi c;
    if (!scansione.leggibile()) {
        c.esito = EsitoRicevi::NonLeggibile;
        c.motivo = scansione.motivo;
        return c;
    }
    if (scansione.formato == FormatoScansione::EtichettaArvo) {
        const qint32 pos = m_posizioneDaID.value(scansione.idComponente);
        if (pos == 0) {
            c.esito = EsitoRicevi::NonLeggibile;
            c.motivo = QStringLiteral("nel magazzino non c'\u00e8 il componente con ID %1 indicato dall'etichetta")
                           .arg(scansione.idComponente);
            return c;
        }
        c.candidati = {pos};
    }
    if (c.candidati.isEmpty() && !m_collegamenti.isEmpty()) {
        RigaDistinta riga;
        riga.mpn = scansione.codice;
        const qint32 id = m_collegamenti.id(riga);
        const qint32 pos = id > 0 ? m_posizioneDaID.value(id) : 0;
        if (pos > 0) {
            c.candidati = {pos};
            c.collegato = true;
        }
    }
    if (c.candidati.isEmpty())
        c.candidati = m_codici.cerca(scansione.codice);
    if (c.candidati.isEmpty() && !scansione.codiceDistributore.isEmpty()) {
        c.candidati = m_codici.cerca(scansione.codiceDistributore);
        c.perDistributore = !c.candidati.isEmpty();
    }
    if (c.candidati.size() == 1) {
        c.esito = EsitoRicevi::Aggiungi;
        c.posizione = c.candidati.first();
        c.codice = m_codiciPerPosizione[c.posizione - 1];
    } else {
        c.esito = c.candidati.isEmpty() ? EsitoRicevi::Nuovo : EsitoRicevi::DaScegliere;
    }
    return c;
}

QString TestoEsitoRicevi(const ConfrontoRicevi &confronto)
{
    switch (confronto.esito) {
    case EsitoRicevi::Aggiungi: return QStringLiteral("Aggiungi a ") + confronto.codice;
    case EsitoRicevi::Nuovo: return QStringLiteral("Nuovo componente");
    case EsitoRicevi::DaScegliere: return QStringLiteral("Da scegliere");
    case EsitoRicevi::NonLeggibile: return QStringLiteral("Non leggibile: ") + confronto.motivo;
    }
    return {};
}
