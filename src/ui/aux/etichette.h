#pragma once

#include <QPoint>
#include <functional>

struct Stato;
class Dialoghi;
class QWidget;

// Opens the custom-labels window modally over the main window, at posizione
// (its outer top-left corner), and returns when it has been closed. Then,
// however the window was closed, applicaEtichette puts the labels on the main
// window's captions and Info.ini is written. dialoghi shows the window's
// messages.
void ApriEtichette(Stato &stato, Dialoghi &dialoghi, QWidget *finestraPrincipale, const QPoint &posizione,
                   const std::function<void()> &applicaEtichette);
