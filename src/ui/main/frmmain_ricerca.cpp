// Search by code, showing the whole table again, the print listing of the
// rows on screen and the CSV export.

#include "ui/main/frmmain.h"

#include "components/operazioni.h"
#include "etichette/codiceetichetta.h"
#include "reports/csv.h"
#include "reports/stampa.h"
#include "store/stato.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>

bool FrmMain::CercaComponenti()
{
    // A label read by a scanner typing into the box names one component.
    const qint32 etichetta = ComponenteDaEtichetta(m_stato, txSearch->text());
    const QList<qint32> trovati = etichetta > 0                ? QList<qint32>{etichetta}
                                  : m_stato.NumComponenti == 0 ? QList<qint32>()
                                                               : CercaCodici(m_stato, txSearch->text(), m_stato.CercaDescrizione);
    if (trovati.isEmpty()) {
        // The list, the panel and the buttons stay as they are; only the
        // status bar says that the search did run.
        const QString cercato = txSearch->text();
        MostraAvviso(cercato.isEmpty() ? QStringLiteral("Nessun componente trovato")
                                       : QStringLiteral("Nessun componente trovato per \"%1\"").arg(cercato));
        return true;
    }
    // The first match replaces what the panel shows.
    if (!ConfermaAbbandonoModifiche())
        return false;

    m_soloScorta = false; // the found rows replace the list of low stock
    LV->setSorted(false);
    LV->svuota();
    mostraRighe(trovati);

    v.IndiceVoce = 1;
    v.PosCorrente = trovati.first();
    LV->selezionaRiga(1);
    MostraComponente();
    MostraMessaggio(Messaggi[3]);
    bottone(QStringLiteral("reselect"))->setEnabled(true);
    AggiornaContatori();
    // The next label scanned replaces this one instead of adding to it.
    if (etichetta > 0)
        txSearch->selectAll();
    return true;
}

void FrmMain::txSearch_Click()
{
    // A click selects what was typed, ready to be overtyped.
    txSearch->setSelection(0, 99);
}

void FrmMain::Riseleziona()
{
    // Showing every component again empties the panel.
    if (!ConfermaAbbandonoModifiche())
        return;
    bottone(QStringLiteral("reselect"))->setEnabled(false);
    m_soloScorta = false;
    PulisciCampi();
    RiempiLista();
}

QList<qint32> FrmMain::posizioniLista() const
{
    // The rows in the order the list shows them, each back to its position.
    QList<qint32> posizioni;
    posizioni.reserve(LV->numeroRighe());
    for (int r = 1; r <= LV->numeroRighe(); ++r)
        posizioni.append(LV->testo(r, 5).toInt());
    return posizioni;
}

void FrmMain::CreaStampa()
{
    const QList<qint32> posizioni = posizioniLista();
    QString percorso;
    if (CreatFileStampa(m_stato, posizioni, m_dialoghi, &percorso)) {
        MostraMessaggio(QStringLiteral("Stampa creata: ") + QDir::toNativeSeparators(percorso));
        offriStampaSuCarta(posizioni, percorso);
    }
}

void FrmMain::EsportaCSVMenu()
{
    QString percorso;
    if (EsportaCSV(m_stato, m_dialoghi, &percorso))
        MostraMessaggio(QStringLiteral("Esportazione CSV creata: ") + QDir::toNativeSeparators(percorso));
}
