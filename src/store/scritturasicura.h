#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QList>
#include <QString>
#include <QStringList>

// Replacing a set of files in one folder so that a failure or a kill at any
// moment leaves either the whole old set or the whole new set:
//   1. every new file is written beside its target as "<name>.nuovo",
//      flushed and synced to disk;
//   2. the journal "Salvataggio.giornale" (the list of names) is written and
//      renamed into place: from here on the new set counts as written;
//   3. each temporary is renamed over its target, the folder is synced and
//      the journal removed.
// RecuperaScrittura, run before the folder is read, finishes step 3 when the
// journal is there and otherwise deletes leftover temporaries.
//
// A file of the set may instead be appended to (FileNuovo::aggiunta), as a
// log that is never rewritten: the bytes to append travel inside the
// journal, together with the length the file had before, and are appended
// once the journal is in place, before the renames. Recovery cuts the file
// back to that length and appends them again, so an append cut short by a
// kill is completed with the rest of the set; without the journal the file
// was never touched. A failed append (a full disk) is cut back and the
// journal removed: the old set stays whole. Only the file's end is ever
// written.
//
// The journal is one line per replaced file (its name, CR LF) and, for each
// appended file, a line "+<length before> <bytes> <name>" followed by the
// bytes themselves.
// A file that is a symbolic link is written through to its target: the
// temporary goes beside the target and replaces it, and the link stays. The
// journal keeps the names in the folder; recovery follows the links again.
// A replaced file keeps its access rights, and, when the superuser writes in
// a folder of another user, its owner and group; a new file gets the owner
// and group of its folder (EreditaProprietario).

class QFileInfo;

struct FileNuovo {
    QString nome; // bare file name inside the folder
    QByteArray contenuto;
    // contenuto is appended to the file (created when missing) instead of
    // replacing it.
    bool aggiunta = false;
};

// Test seam: a failure or a simulated kill at a chosen point.
struct GuastoScrittura {
    // Writing the temporary of the file with this index (0-based) fails.
    int fileGuasto = -1;
    // Stops dead, as a killed process would, after this many steps (each
    // temporary written, the journal, each append, each rename, the journal
    // removed).
    int interrompiDopoPassi = -1;
    // The append to a file stops dead after this many of its bytes (a kill
    // in the middle of the append).
    qsizetype aggiuntaInterrotta = -1;
    // Appending to the file with this index (0-based) fails, as on a full
    // disk, after half of its bytes were written.
    int aggiuntaGuasta = -1;
    // Replacing the target of the file with this index (0-based) by its
    // temporary fails, the temporary staying in place.
    int rinominaGuasta = -1;
    // Putting the temporary of the file with this index (0-based) on the
    // disk (fsync) fails, as on a full or failing disk.
    int sincronizzazioneGuasta = -1;
};

// Writes the set into the folder. Returns false (with a description in
// *errore) when the new set could not be put in place; then the targets
// still hold the old set, unless the journal was already in place, in which
// case the next RecuperaScrittura completes the new set. A target that
// this user may not write (ScrivibileDaUtente), whose owner-write
// permission is off, or that is not a regular file (a folder, a FIFO, a
// device) is refused before anything is written: replacing it through the
// folder would override its owner's choice. A set of one replaced file
// skips the journal: its rename alone is atomic.
bool ScriviInsieme(const QString &cartella, const QList<FileNuovo> &files,
                   QString *errore = nullptr, const GuastoScrittura &guasto = {});

// Completes or undoes an interrupted ScriviInsieme in the folder, for the
// given file names. Returns false when a pending rename could not be done.
bool RecuperaScrittura(const QString &cartella, const QStringList &nomi,
                       QString *errore = nullptr);

// Whether the temporaries of a save of these files (and of its journal) can
// be created in the folder: each is written, synced and removed. False, with
// a description naming the first that failed; a folder like that fails
// every save.
bool ProvaTemporanei(const QString &cartella, const QStringList &nomi, QString *errore = nullptr);

// Whether a user may write a file, by its mode bits alone: the owner's bit
// for its owner, the group's bit for a member of its group, the others' bit
// for anybody else. The superuser (user 0) writes on the owner's behalf, so
// the owner's bit decides: a file its owner made read-only stays so, any
// other is replaced keeping its owner, group and mode.
bool PermessoScrittura(QFileDevice::Permissions permessi, uint proprietario, uint gruppo,
                       uint utente, const QList<uint> &gruppiUtente);
// The same for the file and the user running the program.
bool ScrivibileDaUtente(const QFileInfo &info);

// For a file or folder the program has just created: when the program runs
// as the superuser inside a folder that belongs to another user, the new
// entry is given that folder's owner and group, so that no file of the
// superuser is left among the user's. Does nothing otherwise (a normal user,
// a folder of the superuser, an entry not owned by the superuser).
void EreditaProprietario(const QString &percorso);

// Puts a folder's entries (names created, renamed, removed) on the disk.
void SincronizzaCartella(const QString &cartella);

// The name of a file's temporary and of the journal, for tests and tools.
QString NomeTemporaneo(const QString &nome);
inline const QString NomeGiornale = QStringLiteral("Salvataggio.giornale");
