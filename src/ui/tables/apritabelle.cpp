#include "ui/tables/apritabelle.h"

#include "ui/tables/frmliste.h"

void ApriFinestraTabelle(Stato &stato, Dialoghi &dialoghi, const AccessoPrincipale &principale)
{
    FrmListe finestra(stato, dialoghi, principale, principale.finestra);
    finestra.exec();
}
