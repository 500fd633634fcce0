#pragma once

#include <QString>

struct Stato;
class Dialoghi;

// Start-up up to the main window: paths, first-start creation of missing
// files and folders, settings, backup copy and loading of the four tables.
// Returns true when the main window may be shown; on failure the message has
// already been shown through the dialogs seam and the program should end.
bool Main(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma);
