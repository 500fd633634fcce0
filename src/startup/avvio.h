#pragma once

#include <QString>

struct Stato;
class Dialoghi;

// Start-up up to the main window: paths, completion of an interrupted save,
// first-start creation of missing files and folders, settings, loading of
// the four tables and the backup copy. Returns true when the main window may
// be shown; on failure the message has already been shown through the
// dialogs seam and the program should end. The program's own files (manual,
// background, PDF viewer) are read from cartellaRisorse when given.
bool Main(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma,
          const QString &cartellaRisorse = QString());

// Copies the four table files and Info.ini into the Backups folder, all
// five replaced together. Returns false with a description on failure.
bool CopiaBackup(const Stato &stato, QString *errore = nullptr);
