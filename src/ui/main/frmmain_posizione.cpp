// Where each component is kept: the Opzioni submenu that chooses the custom
// field holding the location, and the list column that shows it. The custom
// selection by a location cell lives with the other list handlers
// (frmmain_lista.cpp).

#include "ui/main/frmmain.h"

#include "components/scorta.h"
#include "store/stato.h"
#include "ui/main/colonnelista.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/misurapreferita.h"
#include "ui/widgets/riempimentocolonne.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

void FrmMain::creaPosizione()
{
    mnuPosizione = mnuOpt->addMenu(QStringLiteral("Posizione nel campo"));
    mnuPosizione->setObjectName(QStringLiteral("mnuPosizione"));
    auto *gruppo = new QActionGroup(this);
    gruppo->setExclusive(true);
    for (int i = 0; i <= 6; ++i) {
        QAction *a = mnuPosizione->addAction(i == 0 ? QStringLiteral("Nessuno") : QString());
        a->setObjectName(QStringLiteral("mnuCampoPosizione(%1)").arg(i));
        a->setCheckable(true);
        gruppo->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { impostaCampoPosizione(i); });
        mnuCampoPosizione[i] = a;
    }
    // The labels may have been renamed since the menu was last shown.
    connect(mnuPosizione, &QMenu::aboutToShow, this, &FrmMain::aggiornaSpuntePosizione);
    aggiornaSpuntePosizione();
}

void FrmMain::aggiornaSpuntePosizione()
{
    for (int i = 1; i <= 6; ++i)
        mnuCampoPosizione[i]->setText(m_stato.Etichette[i]);
    for (int i = 0; i <= 6; ++i)
        mnuCampoPosizione[i]->setChecked(m_stato.CampoPosizione == i);
}

void FrmMain::impostaCampoPosizione(int campo)
{
    if (campo < 0 || campo > 6)
        return;
    m_stato.CampoPosizione = campo;
    aggiornaSpuntePosizione();
    aggiornaColonnaPosizione();
}

void FrmMain::aggiornaColonnaPosizione()
{
    const int campo = m_stato.CampoPosizione >= 1 && m_stato.CampoPosizione <= 6 ? m_stato.CampoPosizione : 0;
    const QString titolo = campo > 0 ? m_stato.Etichette[campo] : QString();
    if (campo == m_campoColonna
        && (campo == 0 || LV->colonna(IndiceColonnaPosizione + 1).titolo == titolo))
        return;

    // The five columns keep the widths asked for; the location column gets
    // the one it had in this run, or its designed width.
    QList<int> volute = m_colonne->volute();
    if (m_campoColonna > 0 && !volute.isEmpty())
        m_larghezzaPosizione = volute.takeLast();
    QList<ListaReport::Colonna> colonne = ColonneListaComponenti();
    if (campo > 0) {
        colonne << ColonnaPosizione(titolo);
        volute << (m_larghezzaPosizione > 0 ? m_larghezzaPosizione : colonne.last().larghezza);
    }

    // A list sorted by the column that goes stays in its order, without the arrow.
    if (campo == 0 && LV->sorted() && LV->sortKey() == IndiceColonnaPosizione)
        LV->setSorted(false);
    if (v.ColonnaOrdinamento > colonne.size())
        v.ColonnaOrdinamento = 1;

    // The rows on screen stay (a search or a selection is not lost), with
    // their selected row; only the location cells are written.
    const int selezionata = LV->rigaSelezionata();
    LV->impostaColonne(colonne);
    m_campoColonna = campo;
    if (campo > 0) {
        LV->congelaDisegno(true);
        for (int r = 1; r <= LV->numeroRighe(); ++r) {
            const qint32 pos = LV->testo(r, 5).toInt();
            if (pos >= 1 && pos <= m_stato.NumComponenti && pos <= m_stato.Componenti.size())
                LV->impostaTesto(r, IndiceColonnaPosizione, CampoExtra(m_stato.componente(pos), campo));
        }
        LV->congelaDisegno(false);
    }
    LV->selezionaRiga(selezionata);

    delete m_colonne;
    m_colonne = new RiempimentoColonne(LV);
    m_colonne->impostaVolute(volute);
    m_colonne->adatta();
    if (auto *pannello = dynamic_cast<MisuraPreferita *>(LV->parentWidget()))
        pannello->allargaA(m_colonne->larghezzaVoluta());
}
