// Receiving an order from the main window: Componenti -> "Ricevi
// componenti…" opens the window where the bags are scanned; once they are
// registered the pick lists, the list, its counters and marks follow.

#include "ui/main/frmmain.h"

#include "store/stato.h"
#include "ui/ricevi/frmricevi.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTimer>

void FrmMain::creaRicevi()
{
    mnuComp->addSeparator();
    mnuRicevi = mnuComp->addAction(QStringLiteral("Ricevi componenti\u2026"));
    mnuRicevi->setObjectName(QStringLiteral("mnuRicevi"));
    mnuRicevi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(mnuRicevi, &QAction::triggered, this, &FrmMain::ApriRicevi);
    // A read-only archive receives nothing.
    m_gruppoModifiche->addAction(mnuRicevi);
}

void FrmMain::ApriRicevi()
{
    if (m_stato.SolaLettura)
        return;
    AccessoRicevi accesso;
    accesso.finestra = this;
    accesso.tipo = m_tipoRicevi;
    accesso.primaDiRegistrare = [this] { return ConfermaAbbandonoModifiche(); };
    accesso.dopoRegistrazione = [this](const QString &riepilogo) {
        // New types and manufacturers may have come with new components;
        // the panel may show a quantity that is no longer true.
        CaricaTabelle();
        AnnullaModifica();
        LV->setSortOrder((LV->sortOrder() + 1) % 2);
        RiempiLista();
        ordinaLista();
        MostraMessaggio(riepilogo);
        Timer->start();
    };
    accesso.nonSalvato = [this] { segnalaNonSalvato(QStringLiteral("nessun pezzo \u00e8 stato registrato")); };
    FrmRicevi finestra(m_stato, m_dialoghi, accesso, this);
    if (finestra.exec() == QDialog::Accepted)
        m_tipoRicevi = finestra.tipo();
}
