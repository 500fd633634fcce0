// Opening the bill-of-materials check and following the stock it takes.

#include "ui/main/frmmain.h"

#include "ui/distinta/apridistinta.h"
#include "ui/widgets/listareport.h"

#include <QTimer>

void FrmMain::ApriDistinta()
{
    AccessoDistinta accesso;
    accesso.finestra = this;
    // A component being edited could be saved later with the quantity it
    // had before the taking: its changes are saved or given up first.
    accesso.primaDiPrelevare = [this] { return ConfermaAbbandonoModifiche(); };
    accesso.dopoPrelievo = [this] {
        // The panel may show a quantity that is no longer true: it is
        // emptied, and the list refilled and sorted as the user last saw it.
        AnnullaModifica();
        LV->setSortOrder((LV->sortOrder() + 1) % 2);
        RiempiLista();
        ordinaLista();
        MostraMessaggio(QStringLiteral("Operazione completata: pezzi prelevati per la distinta base"));
        Timer->start();
    };
    accesso.prelievoNonSalvato = [this] { segnalaNonSalvato(QStringLiteral("nessun pezzo \u00e8 stato prelevato")); };
    ApriFinestraDistinta(m_stato, m_dialoghi, accesso);
}
