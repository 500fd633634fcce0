#include "ui/main/avvioapp.h"

#include "startup/bloccocartella.h"
#include "startup/cartelladati.h"
#include "store/stato.h"
#include "ui/main/frmmain.h"
#include "ui/widgets/dialoghiqt.h"

#include <QApplication>

int AvviaArvo(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Arvo"));

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
