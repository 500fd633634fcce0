// Low stock in the main window: the menu items that narrow the list to the
// components under stock and choose the field holding the minimum, the
// status-bar panel with their number, the warning colours of their rows;
// and the option that lets the search look at descriptions too. The menu
// items of the CSV import are added here as well (frmmain_importa.cpp).

#include "ui/main/frmmain.h"

#include "components/scorta.h"
#include "store/stato.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/tavolozza.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

void FrmMain::creaEstensioni()
{
    // Programma: the import, right after the export.
    mnuImporta = new QAction(QStringLiteral("Importa da testo CSV\u2026"), this);
    mnuImporta->setObjectName(QStringLiteral("mnuImporta"));
    const QList<QAction *> voci = mnuProg->actions();
    const qsizetype dopoEsporta = voci.indexOf(mnuCSV) + 1;
    mnuProg->insertAction(dopoEsporta > 0 && dopoEsporta < voci.size() ? voci[dopoEsporta] : nullptr,
                          mnuImporta);
    connect(mnuImporta, &QAction::triggered, this, &FrmMain::ImportaCSV);

    // Visualizza: the components under stock.
    mnuShow->addSeparator();
    mnuScorta = mnuShow->addAction(QStringLiteral("Componenti sotto scorta"));
    mnuScorta->setObjectName(QStringLiteral("mnuScorta"));
    mnuScorta->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(mnuScorta, &QAction::triggered, this, &FrmMain::MostraSottoScorta);

    // Opzioni: the field of the minimum, one of the six custom fields shown
    // by their labels, and the search in descriptions.
    mnuOpt->addSeparator();
    mnuMinimo = mnuOpt->addMenu(QStringLiteral("Quantit\u00e0 minima nel campo"));
    mnuMinimo->setObjectName(QStringLiteral("mnuMinimo"));
    auto *gruppo = new QActionGroup(this);
    gruppo->setExclusive(true);
    for (int i = 1; i <= 6; ++i) {
        QAction *a = mnuMinimo->addAction(QString());
        a->setObjectName(QStringLiteral("mnuCampoMinimo(%1)").arg(i));
        a->setCheckable(true);
        gruppo->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { impostaCampoMinimo(i); });
        mnuCampoMinimo[i] = a;
    }
    // The labels may have been edited since the last time.
    connect(mnuMinimo, &QMenu::aboutToShow, this, &FrmMain::aggiornaSpunteEstese);
    mnuCercaDesc = mnuOpt->addAction(QStringLiteral("Cerca anche nella descrizione"));
    mnuCercaDesc->setObjectName(QStringLiteral("mnuCercaDesc"));
    mnuCercaDesc->setCheckable(true);
    connect(mnuCercaDesc, &QAction::triggered, this, [this](bool attiva) {
        m_stato.CercaDescrizione = attiva;
        aggiornaSpunteEstese();
    });

    // The status bar: the number of components under stock, last.
    numScorta = new QLabel(statusBar());
    numScorta->setObjectName(QStringLiteral("numScorta"));
    numScorta->setFrameShape(QFrame::Panel);
    numScorta->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(numScorta, 0);

    aggiornaSpunteEstese();
    aggiornaScorta();
}

void FrmMain::aggiornaSpunteEstese()
{
    if (!mnuCercaDesc)
        return;
    for (int i = 1; i <= 6; ++i) {
        mnuCampoMinimo[i]->setText(m_stato.Etichette[i]);
        mnuCampoMinimo[i]->setChecked(m_stato.CampoMinimo == i);
    }
    mnuCercaDesc->setChecked(m_stato.CercaDescrizione);
}

void FrmMain::applicaColoriScorta()
{
    const ColoriAvviso colori = ColoriRigaAvviso(m_stato.TemaChiaro);
    LV->impostaColoriEvidenza(colori.sfondo, colori.testo);
}

void FrmMain::aggiornaScorta()
{
    const qint32 n = m_sottoScortaNoto >= 0 ? m_sottoScortaNoto : ContaSottoScorta(m_stato);
    m_sottoScortaNoto = -1;
    if (numScorta)
        numScorta->setText(QStringLiteral("Sotto scorta %1").arg(n));
}

void FrmMain::MostraSottoScorta()
{
    // Like a custom selection: only the components under stock, message 3,
    // "Riseleziona" to see them all again. Every refill keeps to them (a
    // save, a deletion, an import) until "Riseleziona" or a search.
    // Without types or manufacturers the window waits for the tables to be
    // filled and shows no list at all (see Form_Load): nothing to narrow.
    if (m_stato.NumTipi == 0 || m_stato.NumProduttori == 0)
        return;
    // The narrowed list empties the panel: changes not saved yet are asked
    // about first, as before a search.
    if (!ConfermaAbbandonoModifiche())
        return;
    m_soloScorta = true;
    PulisciCampi();
    RiempiLista();
    bottone(QStringLiteral("reselect"))->setEnabled(true);
}

void FrmMain::impostaCampoMinimo(int campo)
{
    if (campo < 1 || campo > 6)
        return;
    m_stato.CampoMinimo = campo;
    aggiornaSpunteEstese();
    // While a component is typed in, the list is not refilled: that would
    // throw the typing away.
    if (m_soloScorta && !bottone(QStringLiteral("save"))->isEnabled()) {
        // The narrowed list follows the new minimums.
        PulisciCampi();
        RiempiLista();
        return;
    }
    // Otherwise the rows on screen are only coloured again, in place.
    QList<int> sotto;
    for (int r = 1; r <= LV->numeroRighe(); ++r) {
        const qint32 pos = LV->testo(r, 5).toInt();
        if (pos >= 1 && pos <= m_stato.NumComponenti && pos <= m_stato.Componenti.size()
            && SottoScorta(m_stato.componente(pos), campo))
            sotto.append(r);
    }
    LV->impostaEvidenze(sotto);
    aggiornaScorta();
}
