#include "ui/distinta/apridistinta.h"

#include "distinta/letturadistinta.h"
#include "store/dialoghi.h"
#include "ui/distinta/frmdistinta.h"

#include <QDir>

void ApriFinestraDistinta(Stato &stato, Dialoghi &dialoghi, const AccessoDistinta &accesso)
{
    const QString percorso = dialoghi.apriFile(QStringLiteral("Verifica distinta base"), QDir::homePath(),
                                               QStringLiteral("Distinta base CSV|*.csv;*.txt;*.tsv"));
    if (percorso.isEmpty())
        return;
    const LetturaDistinta lettura = LeggiFileDistinta(percorso);
    if (!lettura.errore.isEmpty()) {
        dialoghi.messaggio(lettura.errore, Icona::Esclamazione, Pulsanti::Ok,
                           QStringLiteral("Verifica distinta base"));
        return;
    }
    FrmDistinta finestra(stato, dialoghi, accesso, percorso, lettura, accesso.finestra);
    finestra.exec();
}
