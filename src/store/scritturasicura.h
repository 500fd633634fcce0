#pragma once

#include <QByteArray>
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

struct FileNuovo {
    QString nome; // bare file name inside the folder
    QByteArray contenuto;
};

// Test seam: a failure or a simulated kill at a chosen point.
struct GuastoScrittura {
    // Writing the temporary of the file with this index (0-based) fails.
    int fileGuasto = -1;
    // Stops dead, as a killed process would, after this many steps (each
    // temporary written, the journal, each rename, the journal removed).
    int interrompiDopoPassi = -1;
};

// Writes the set into the folder. Returns false (with a description in
// *errore) when the new set could not be put in place; then the targets
// still hold the old set, unless the journal was already in place, in which
// case the next RecuperaScrittura completes the new set. A target whose
// owner-write permission is off is refused. A set of one file skips the
// journal: its rename alone is atomic.
bool ScriviInsieme(const QString &cartella, const QList<FileNuovo> &files,
                   QString *errore = nullptr, const GuastoScrittura &guasto = {});

// Completes or undoes an interrupted ScriviInsieme in the folder, for the
// given file names. Returns false when a pending rename could not be done.
bool RecuperaScrittura(const QString &cartella, const QStringList &nomi,
                       QString *errore = nullptr);

// The name of a file's temporary and of the journal, for tests and tools.
QString NomeTemporaneo(const QString &nome);
inline const QString NomeGiornale = QStringLiteral("Salvataggio.giornale");
