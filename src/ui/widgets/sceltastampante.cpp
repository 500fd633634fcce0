#include "ui/widgets/sceltastampante.h"

#include <QPrintDialog>
#include <QPrinter>

bool DialogoStampaQt(QPrinter &stampante, QWidget *genitore)
{
    QPrintDialog dialogo(&stampante, genitore);
    dialogo.setWindowTitle(QStringLiteral("Stampa"));
    return dialogo.exec() == QDialog::Accepted;
}
