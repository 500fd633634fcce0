#include "ui/main/avvioapp.h"

#include "startup/bloccocartella.h"
#include "startup/cartelladati.h"
#include "store/stato.h"
#include "ui/main/frmmain.h"
#include "ui/widgets/dialoghiqt.h"
#include "ui/widgets/iconebarra.h"

#include <QApplication>

void PreparaApplicazione()
{
    QApplication::setApplicationName(QStringLiteral("Arvo"));
    // Every window, and every message box owned by one, shows the program's icon.
    QApplication::setWindowIcon(IconaProgramma());
}

int AvviaArvo(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PreparaApplicazione();

    Stato stato;
    DialoghiQt dialoghi;
    // Held until the program ends: one running program per program folder.
    BloccoCartella blocco;
    if (!AvviaDaCartellaProgramma(stato, dialoghi, QCoreApplication::applicationDirPath(),
                                  AmbienteUtente::DiSistema(), &blocco))
        return 1;

    FrmMain finestra(stato, dialoghi);
    dialoghi.impostaGenitore(&finestra);
    finestra.Form_Load();
    return app.exec();
}
