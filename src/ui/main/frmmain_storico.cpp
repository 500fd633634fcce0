// The stock history from the main window: Visualizza -> "Storico
// movimenti…" and the undo it offers; Componenti -> "Aggiungi pezzi…" and
// "Preleva pezzi…" for the component shown, also on the list's context
// menu. After either the list, its counters and low-stock marks follow.

#include "ui/main/frmmain.h"

#include "components/scorta.h"
#include "store/stato.h"
#include "ui/pezzi/frmpezzi.h"
#include "ui/storico/frmstorico.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QTreeView>

void FrmMain::creaStorico()
{
    mnuStorico = new QAction(QStringLiteral("Storico movimenti\u2026"), this);
    mnuStorico->setObjectName(QStringLiteral("mnuStorico"));
    mnuStorico->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuShow->addAction(mnuStorico);
    connect(mnuStorico, &QAction::triggered, this, &FrmMain::ApriStorico);

    // Componenti: after "Elimina", the commands on the quantity alone. "+"
    // adds and "-" takes, from the main keyboard or the keypad.
    mnuComp->addSeparator();
    mnuAggiungiPezzi = mnuComp->addAction(QStringLiteral("Aggiungi pezzi\u2026"));
    mnuAggiungiPezzi->setObjectName(QStringLiteral("mnuAggiungiPezzi"));
    mnuAggiungiPezzi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus));
    mnuPrelevaPezzi = mnuComp->addAction(QStringLiteral("Preleva pezzi\u2026"));
    mnuPrelevaPezzi->setObjectName(QStringLiteral("mnuPrelevaPezzi"));
    mnuPrelevaPezzi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(mnuAggiungiPezzi, &QAction::triggered, this, [this] { ApriPezzi(VersoPezzi::Aggiunta); });
    connect(mnuPrelevaPezzi, &QAction::triggered, this, [this] { ApriPezzi(VersoPezzi::Prelievo); });
    // A read-only archive takes no pieces in or out.
    m_gruppoModifiche->addAction(mnuAggiungiPezzi);
    m_gruppoModifiche->addAction(mnuPrelevaPezzi);
    // The items follow the panel; the menu checks them once more as it opens.
    connect(mnuComp, &QMenu::aboutToShow, this, &FrmMain::aggiornaVociPezzi);

    m_menuLista = new QMenu(this);
    m_menuLista->setObjectName(QStringLiteral("menuLista"));
    m_menuLista->addAction(mnuAggiungiPezzi);
    m_menuLista->addAction(mnuPrelevaPezzi);
    m_menuLista->addSeparator();
    m_menuLista->addAction(mnuStorico);

    // A click of the right button shows the component like any click (and
    // on a manufacturer or a type starts a selection instead): the menu
    // comes after it, when the component is on show.
    connect(LV, &ListaReport::rilascioMouse, this,
            [this](Qt::MouseButton pulsante, Qt::KeyboardModifiers, int, int) { m_pulsanteLista = pulsante; });
    connect(LV, &ListaReport::cliccata, this, [this] {
        const Qt::MouseButton pulsante = m_pulsanteLista;
        m_pulsanteLista = Qt::NoButton;
        if (pulsante == Qt::RightButton)
            menuLista(QCursor::pos());
    });
    aggiornaVociPezzi();
}

void FrmMain::aggiornaVociPezzi()
{
    if (!mnuAggiungiPezzi)
        return;
    const bool mostrato = m_componenteMostrato && !v.NuovoInserimento && v.PosCorrente >= 1
        && v.PosCorrente <= m_stato.NumComponenti && !bottone(QStringLiteral("undo"))->isEnabled();
    mnuAggiungiPezzi->setEnabled(mostrato);
    mnuPrelevaPezzi->setEnabled(mostrato);
}

void FrmMain::menuLista(const QPoint &dove)
{
    aggiornaVociPezzi();
    if (!m_componenteMostrato || v.PosCorrente < 1)
        return;
    m_menuLista->popup(dove);
}

void FrmMain::ApriPezzi(VersoPezzi verso)
{
    aggiornaVociPezzi();
    QAction *voce = verso == VersoPezzi::Aggiunta ? mnuAggiungiPezzi : mnuPrelevaPezzi;
    if (!voce->isEnabled())
        return;
    const qint32 pos = v.PosCorrente;
    FrmPezzi finestra(m_stato, m_dialoghi, pos, verso, this);
    if (finestra.exec() != QDialog::Accepted) {
        if (finestra.salvataggioFallito())
            segnalaNonSalvato(verso == VersoPezzi::Aggiunta
                                  ? QStringLiteral("nessun pezzo \u00e8 stato aggiunto")
                                  : QStringLiteral("nessun pezzo \u00e8 stato prelevato"));
        return;
    }
    aggiornaRigaComponente(pos);
    MostraComponente();
    const Componente &c = m_stato.componente(pos);
    // Counts after their nouns: right for one as for many.
    MostraMessaggio(QStringLiteral("Operazione completata: %1, pezzi %2 %3, quantit\u00e0 %4")
                        .arg(c.Codice,
                             verso == VersoPezzi::Aggiunta ? QStringLiteral("aggiunti") : QStringLiteral("prelevati"))
                        .arg(finestra.pezziMossi())
                        .arg(c.Quantita));
    Timer->start();
}

void FrmMain::aggiornaRigaComponente(qint32 posizione)
{
    const int riga = rigaDelComponente(posizione);
    if (riga >= 1) {
        const Componente &c = m_stato.componente(posizione);
        QString testi[6];
        m_righe.scrivi(c, posizione, testi);
        for (int k = 0; k < 6; ++k) {
            if (LV->testo(riga, k) != testi[k])
                LV->impostaTesto(riga, k, testi[k]);
        }
        const bool sotto = SottoScorta(c, m_stato.CampoMinimo);
        if (sotto != LV->evidenziata(riga)) {
            QList<int> marcate;
            for (int r = 1; r <= LV->numeroRighe(); ++r) {
                if (r == riga ? sotto : LV->evidenziata(r))
                    marcate.append(r);
            }
            LV->impostaEvidenze(marcate);
        }
    }
    AggiornaContatori();
}

void FrmMain::ApriStorico()
{
    AccessoStorico accesso;
    accesso.finestra = this;
    if (m_componenteMostrato && !v.NuovoInserimento && v.PosCorrente >= 1 && v.PosCorrente <= m_stato.NumComponenti) {
        accesso.idComponente = m_stato.componente(v.PosCorrente).ID;
        accesso.codiceComponente = m_stato.componente(v.PosCorrente).Codice;
    }
    // A component being edited could be saved later with what it held
    // before the undo: its changes are saved or given up first.
    accesso.primaDiAnnullare = [this] { return ConfermaAbbandonoModifiche(); };
    accesso.dopoAnnullamento = [this](qint64 annullata, qint64) {
        // Positions may have changed (a component removed or back): the
        // panel is emptied, and the list refilled and sorted as the user
        // last saw it.
        AnnullaModifica();
        LV->setSortOrder((LV->sortOrder() + 1) % 2);
        RiempiLista();
        ordinaLista();
        MostraMessaggio(QStringLiteral("Operazione completata: annullata l'operazione %1").arg(annullata));
        Timer->start();
    };
    accesso.annullamentoNonSalvato = [this] {
        segnalaNonSalvato(QStringLiteral("l'operazione non \u00e8 stata annullata"));
    };
    ApriFinestraStorico(m_stato, m_dialoghi, accesso);
}
