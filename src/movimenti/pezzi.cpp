#include "movimenti/pezzi.h"

#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <limits>

CalcoloPezzi CalcolaPezzi(qint32 quantita, VersoPezzi verso, qint64 pezzi)
{
    CalcoloPezzi c;
    c.pezzi = pezzi;
    if (verso == VersoPezzi::Aggiunta) {
        c.quantita = qint64(quantita) + pezzi;
        c.oltreMassimo = c.quantita > std::numeric_limits<qint32>::max();
        return c;
    }
    // The stock never goes below zero: at most what there is is taken.
    const qint64 disponibili = qMax<qint64>(quantita, 0);
    if (pezzi > disponibili) {
        c.oltreScorta = true;
        c.pezzi = disponibili;
    }
    c.quantita = qint64(quantita) - c.pezzi;
    return c;
}

bool SalvaPezzi(Stato &stato, Dialoghi &dialoghi, qint32 posizione, VersoPezzi verso, qint32 quantita,
                const QString &nota, const GuastoScrittura &guasto)
{
    if (posizione < 1 || posizione > stato.NumComponenti || posizione > stato.Componenti.size())
        return false;
    Componente &c = stato.componente(posizione);
    const Componente prima = c;
    c.Quantita = quantita;
    const QString movimento =
        TestoMovimento(verso == VersoPezzi::Aggiunta ? TipoMovimento::AggiuntaPezzi : TipoMovimento::PrelievoPezzi);
    QList<RigaMovimento> righe;
    if (const auto riga = RigaCambio(prima, c, movimento, nota.trimmed()))
        righe.append(*riga);
    if (SalvaOperazione(stato, dialoghi, righe, guasto))
        return true;
    c = prima;
    ContaPezzi(stato);
    return false;
}
