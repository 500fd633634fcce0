#include "ui/aux/etichette.h"

#include "store/ini.h"
#include "store/stato.h"
#include "ui/aux/frmcustom.h"

void ApriEtichette(Stato &stato, Dialoghi &dialoghi, QWidget *finestraPrincipale, const QPoint &posizione,
                   const std::function<void()> &applicaEtichette)
{
    {
        FrmCustom finestra(stato, dialoghi, posizione, finestraPrincipale);
        finestra.exec();
    }
    if (applicaEtichette)
        applicaEtichette();
    ScriviInfo(stato);
}
