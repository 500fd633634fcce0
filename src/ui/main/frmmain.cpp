#include "ui/main/frmmain.h"

#include "store/dialoghi.h"
#include "store/stato.h"

FrmMain::FrmMain(Stato &stato, Dialoghi &dialoghi, QWidget *parent)
    : QMainWindow(parent), m_stato(stato), m_dialoghi(dialoghi)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Arvo - Gestione Componenti - Versione ") + VersioneEstesa);
}
