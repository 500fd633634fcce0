// The main window on an archive another copy holds: every command that would
// change data is disabled, the caption says so, and the status bar tells
// where listings and exports go instead of the archive's own folders.

#include "ui/main/frmmain.h"

#include "startup/solalettura.h"
#include "store/stato.h"

#include <QAction>
#include <QActionGroup>

void FrmMain::creaSolaLettura()
{
    // A disabled group keeps its actions disabled whatever the editor
    // states set, and ignores their triggers (shortcuts included).
    m_gruppoModifiche = new QActionGroup(this);
    m_gruppoModifiche->setObjectName(QStringLiteral("gruppoModifiche"));
    m_gruppoModifiche->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (const char *chiave : {"new", "edit", "save", "del", "list", "custom"})
        m_gruppoModifiche->addAction(bottone(QLatin1String(chiave)));
    for (QAction *voce : {mnuNew, mnuEdit, mnuUpdate, mnuDel, mnuList, mnuExtra, mnuImporta, mnuRipristina})
        m_gruppoModifiche->addAction(voce);
}

void FrmMain::applicaSolaLettura()
{
    m_gruppoModifiche->setEnabled(!m_stato.SolaLettura);
    if (m_stato.SolaLettura)
        Messaggi[0] = QStringLiteral("Sola lettura: nessuna modifica viene salvata; stampe ed esportazioni "
                                     "vanno nella cartella ")
                      + CartellaUscitaSolaLettura(m_stato);
}

QString FrmMain::titolo() const
{
    QString t = QStringLiteral("Arvo - Gestione Componenti - Versione ") + VersioneEstesa;
    if (m_stato.SolaLettura)
        t += QStringLiteral(" (sola lettura)");
    return t;
}
