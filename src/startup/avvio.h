#pragma once

#include <QString>

struct Stato;
class Dialoghi;
class BloccoCartella;

// Start-up up to the main window: paths, the program folder's lock,
// completion of an interrupted save, first-start creation of missing files
// and folders, settings, loading of the four tables and the backup copy.
// Returns true when the main window may be shown; on failure the message has
// already been shown through the dialogs seam and the program should end.
// The program's own files (manual, background, PDF viewer) are read from
// cartellaRisorse when given, else from the program folder.
//
// The lock is taken before anything is written and stays in *blocco, which
// the program keeps until it ends. When another running copy holds it, a
// critical message naming the folder is shown (and written on the standard
// error as well) and nothing at all is written.
bool Main(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma, BloccoCartella &blocco,
          const QString &cartellaRisorse = QString());

// The same start-up holding the folder's lock only while it runs: for tools
// and tests that start again on the same folder within one process.
bool Main(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma,
          const QString &cartellaRisorse = QString());

// Reads the settings and the four tables of the program folder already set
// up in stato.percorsi again, as a start does (counts and next IDs put right
// from the table files), without the lock, the backup or the folder
// creation: for a folder whose files were just replaced while the program
// runs. False when they cannot be loaded, the message already shown; the
// state is then as it was.
bool RicaricaArchivio(Stato &stato, Dialoghi &dialoghi);

// Copies the four table files and Info.ini into the Backups folder, all
// five replaced together. Returns false with a description on failure.
bool CopiaBackup(const Stato &stato, QString *errore = nullptr);
