#pragma once

#include <QPoint>
#include <QString>
#include <functional>

struct Stato;
class Dialoghi;
class QWidget;

// What the tables window needs of the main window, given when it opens.
struct AccessoPrincipale {
    QWidget *finestra = nullptr;  // owner of the modal window
    QPoint posizione;             // outer top-left corner for the window
    std::function<void(const QString &)> mostraMessaggio; // the "msg" panel
    std::function<void()> caricaTabelle;                  // refill the pick lists
};

// Opens the tables window modally and returns when it has been closed.
void ApriFinestraTabelle(Stato &stato, Dialoghi &dialoghi, const AccessoPrincipale &principale);
