#include "store/tabelle.h"

#include "store/stato.h"

// Placeholder bodies: the table-file reader and writer replace them.
bool CaricaDatabase(Stato &, Dialoghi &) { return true; }
bool SalvaDatabase(Stato &stato, Dialoghi &) { ContaPezzi(stato); return true; }
void ContaPezzi(Stato &stato)
{
    stato.TotalePezzi = 0;
    for (qint32 i = 1; i <= stato.NumComponenti; ++i)
        stato.TotalePezzi += stato.componente(i).Quantita;
}
