#include "components/operazioni.h"

#include "store/stato.h"

// Placeholder bodies: the component operations replace them.
Componente ComponenteDaPannello(const Stato &, const ValoriPannello &, qint32 id, const QDateTime &d)
{
    Componente c;
    c.ID = id;
    c.DataInserimento = d;
    return c;
}
QString TestoConflitto(const Stato &, qint32, const QString &) { return {}; }
void EliminaPosizione(Stato &, qint32) {}
QList<qint32> CercaCodici(const Stato &, const QString &) { return {}; }
