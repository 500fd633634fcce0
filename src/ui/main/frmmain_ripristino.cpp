// Going back to a dated copy of the data from the main window: changes
// being typed are settled first, then the restore window; once the copy is
// loaded the whole window shows it, as after a start.

#include "ui/main/frmmain.h"

#include "store/stato.h"
#include "ui/ripristino/frmripristino.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QTimer>

void FrmMain::ApriRipristino()
{
    // The panel is emptied by the reload: what it holds is saved or given
    // up first, as the user says.
    if (!ConfermaAbbandonoModifiche())
        return;
    AccessoRipristino accesso;
    accesso.dopoRipristino = [this](const QString &quando) {
        if (m_finestraImmagine)
            m_finestraImmagine->close();
        // A fresh browsing state on the new data; the picture box keeps
        // its size and the list its column and direction of sorting
        // (ordinaLista reverses the direction, so it is reversed first).
        const VariabiliForm prima = v;
        v = VariabiliForm{};
        v.LarghezzaPic = prima.LarghezzaPic;
        v.AltezzaPic = prima.AltezzaPic;
        v.ColonnaOrdinamento = prima.ColonnaOrdinamento;
        m_soloScorta = false;
        bottone(QStringLiteral("reselect"))->setEnabled(false);
        if (m_stato.NumProduttori > 0 && m_stato.NumTipi > 0)
            LV->setSortOrder((LV->sortOrder() + 1) % 2);
        mostraArchivio();
        aggiornaSpunteEstese();
        MostraMessaggio(QStringLiteral("Operazione completata: ripristinata la copia del ") + quando);
        Timer->start();
    };
    FrmRipristina finestra(m_stato, m_dialoghi, accesso, this);
    finestra.exec();
}
