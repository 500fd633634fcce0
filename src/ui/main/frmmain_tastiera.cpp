// The keyboard path through the main window: Alt mnemonics on the menus, a
// Tab order that follows the screen, the extra shortcuts (F1 manual, Ctrl+F
// search box, Ctrl+Q quit) and the focus in "Codice" when editing starts.

#include "ui/main/frmmain.h"

#include "ui/main/listafile.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/mnemonici.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeView>

void FrmMain::impostaTastiera()
{
    AssegnaMnemonici(menuBar());

    mnuHelp->setShortcut(QKeySequence(Qt::Key_F1));
    mnuQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    auto *cerca = new QAction(this);
    cerca->setObjectName(QStringLiteral("azioneCerca"));
    cerca->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    cerca->setShortcutContext(Qt::WindowShortcut);
    addAction(cerca);
    connect(cerca, &QAction::triggered, this, [this] {
        txSearch->setFocus(Qt::ShortcutFocusReason);
        txSearch->selectAll();
    });

    // Editing starts in "Codice", whichever command started it. These run
    // after the commands' own handlers, connected earlier.
    for (QAction *a : {bottone(QStringLiteral("new")), bottone(QStringLiteral("edit")), mnuNew, mnuEdit}) {
        connect(a, &QAction::triggered, this, [this] {
            if (txCodice->isEnabled() && txCodice->isVisibleTo(this))
                txCodice->setFocus(Qt::OtherFocusReason);
        });
    }

    // Top to bottom, left to right: the search box over the list, the
    // detail panel row by row, then the datasheet and picture frame.
    QList<QWidget *> ordine = {txSearch, LV->vista(), txCodice, txQty, cmbTipo, txDatains, LP,
                               cmbPack, txPins, txPackDesc, txDesc, txNote};
    for (int i = 1; i <= 6; ++i)
        ordine << txExtra[i];
    ordine << txPDF << btnLoadPDF << btnClearPDF << txPic << btnLoadPic << btnClearJPG << FLP
           << btnAddJPG;
    for (qsizetype i = 1; i < ordine.size(); ++i)
        setTabOrder(ordine[i - 1], ordine[i]);
}
