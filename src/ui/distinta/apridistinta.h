#pragma once

#include <functional>

struct Stato;
class Dialoghi;
class QWidget;

// What the bill-of-materials window needs of the main window, given when it
// opens. Nothing of the main window is touched unless the pieces are taken.
struct AccessoDistinta {
    QWidget *finestra = nullptr; // owner of the modal window
    // Called before the stock changes: the main window settles what its
    // editor holds (saved or given up); false stops the taking.
    std::function<bool()> primaDiPrelevare;
    // Called after the pieces were taken and saved: the main list, its
    // counters and marks follow the new quantities.
    std::function<void()> dopoPrelievo;
    // Called when the save of a taking failed: every quantity is back as it
    // was, and the main window says that nothing was saved.
    std::function<void()> prelievoNonSalvato;
};

// Asks for a BOM file, reads it and, when it can be used, opens the check
// window modally; returns when it has been closed. A file that cannot be
// used is reported in a message box and no window opens.
void ApriFinestraDistinta(Stato &stato, Dialoghi &dialoghi, const AccessoDistinta &accesso);
