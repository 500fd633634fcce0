#pragma once

#include <QString>

#include <functional>

class Dialoghi;

// Which folder is the database, and where the program's own read-only files
// (Manual/manual.html, back.jpg, Sumatra/) are read from.
//
// The program folder (the executable's folder) is the database when it
// already holds Info.ini, or when it is writable and is not an installation
// in a system tree (a "bin" folder with "share/arvo" beside it): the
// portable mode, where everything lives beside the executable. Otherwise the
// database is $XDG_DATA_HOME/Arvo, or ~/.local/share/Arvo when that variable
// is unset or not an absolute path, and the program's own files are read
// from the installation's share folder (<prefix>/share/arvo) when there is
// one, else from the program folder.
struct CartelleProgramma {
    QString dati;     // the database folder, no trailing separator
    QString risorse;  // the folder of the program's own files, no trailing separator
    bool portatile = true;
};

// What the choice looks at besides the folders themselves; tests give their
// own, the program takes the process's (DiSistema).
struct AmbienteUtente {
    QString xdgDataHome; // empty when unset
    QString home;
    std::function<bool(const QString &)> scrivibile;

    static AmbienteUtente DiSistema();
};

CartelleProgramma ScegliCartelle(const QString &cartellaProgramma, const AmbienteUtente &ambiente);

// Makes sure the database folder exists and can be written, creating it (and
// its parents) when missing. Nothing else is written. On failure returns
// false and *messaggio holds the Italian text for the user, naming the folder.
bool PreparaCartellaDati(const CartelleProgramma &cartelle, const AmbienteUtente &ambiente,
                         QString *messaggio);

// The whole start-up from the executable's folder: the choice above, the
// database folder made ready, then Main on it. A database folder that cannot
// be made ready is reported through the dialogs seam and nothing is written.
// The folder's lock is kept in *blocco when given (the program holds it until
// it ends), else only while the start-up runs.
struct Stato;
class BloccoCartella;
bool AvviaDaCartellaProgramma(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma,
                              const AmbienteUtente &ambiente, BloccoCartella *blocco = nullptr);
