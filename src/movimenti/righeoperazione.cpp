#include "movimenti/righeoperazione.h"

#include "store/stato.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

RigaMovimento Riga(const Componente &c, const QString &movimento, const QString &nota)
{
    RigaMovimento r;
    r.movimento = movimento;
    r.id = c.ID;
    r.codice = c.Codice;
    r.produttore = c.NomeProduttore;
    r.nota = nota;
    return r;
}

qint32 Validi(const Stato &s)
{
    return qint32(std::clamp<qsizetype>(s.NumComponenti, 0, s.Componenti.size()));
}

} // namespace

RigaMovimento RigaCreazione(const Componente &c, const QString &movimento, const QString &nota)
{
    RigaMovimento r = Riga(c, movimento, nota);
    r.dopo = c.Quantita;
    return r;
}

RigaMovimento RigaRimozione(const Componente &c, const QString &movimento, const QString &nota)
{
    RigaMovimento r = Riga(c, movimento, nota);
    r.prima = c.Quantita;
    r.dettagli = TestoRecord(c);
    return r;
}

std::optional<RigaMovimento> RigaCambio(const Componente &prima, const Componente &dopo,
                                        const QString &movimento, const QString &nota)
{
    const QList<CampoCambiato> campi = CampiCambiati(prima, dopo);
    if (campi.isEmpty() && prima.Quantita == dopo.Quantita)
        return std::nullopt;
    // Code and manufacturer as they are after the change.
    RigaMovimento r = Riga(dopo, movimento, nota);
    r.prima = prima.Quantita;
    r.dopo = dopo.Quantita;
    r.dettagli = TestoCambiamenti(campi);
    return r;
}

QList<RigaMovimento> RigheSalvataggio(const Componente *prima, const Componente &dopo)
{
    if (!prima)
        return {RigaCreazione(dopo, TestoMovimento(TipoMovimento::Nuovo))};
    if (const auto r = RigaCambio(*prima, dopo, TestoMovimento(TipoMovimento::Modifica)))
        return {*r};
    return {};
}

QList<RigaMovimento> RigheEliminazione(const Componente &c)
{
    return {RigaRimozione(c, TestoMovimento(TipoMovimento::Eliminazione))};
}

QList<RigaMovimento> RigheDaConfronto(const Stato &prima, const Stato &dopo, const QString &movimento,
                                      const QString &nota)
{
    const qint32 numPrima = Validi(prima), numDopo = Validi(dopo);
    // Each ID's first position before; a damaged table with an ID twice
    // pairs its later records as created or removed.
    QHash<qint32, qint32> posizioni;
    posizioni.reserve(numPrima);
    for (qint32 i = numPrima; i >= 1; --i)
        posizioni[prima.componente(i).ID] = i;
    std::vector<bool> usati(std::size_t(numPrima) + 1, false);

    QList<RigaMovimento> righe;
    for (qint32 i = 1; i <= numDopo; ++i) {
        const Componente &c = dopo.componente(i);
        const qint32 pos = posizioni.value(c.ID, 0);
        if (pos == 0 || usati[std::size_t(pos)]) {
            righe.append(RigaCreazione(c, movimento, nota));
            continue;
        }
        usati[std::size_t(pos)] = true;
        const Componente &vecchio = prima.componente(pos);
        if (vecchio == c)
            continue;
        if (const auto r = RigaCambio(vecchio, c, movimento, nota))
            righe.append(*r);
    }
    for (qint32 i = 1; i <= numPrima; ++i) {
        if (!usati[std::size_t(i)])
            righe.append(RigaRimozione(prima.componente(i), movimento, nota));
    }
    return righe;
}
