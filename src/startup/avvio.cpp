#include "startup/avvio.h"

#include "store/dialoghi.h"
#include "store/stato.h"

bool Main(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma)
{
    Q_UNUSED(dialoghi);
    stato.percorsi = Percorsi::DaCartella(cartellaProgramma);
    return true;
}
