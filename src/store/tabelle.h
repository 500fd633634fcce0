#pragma once

#include "store/filetabelle.h"

#include <QList>
#include <QString>

struct Stato;
struct GuastoScrittura;
struct FileNuovo;
class Dialoghi;

// A count of Info.ini that its table file proved too low.
struct ConteggioCorretto {
    TabellaFile tabella;
    qint32 dichiarato; // as Info.ini gave it
    qint32 trovato;    // the whole records of the file
};

// Replaces the four tables by the content of the four table files, reading
// as many records as the counts from Info.ini say, or every record a file
// holds when that is more: the table files are the truth, so a count that
// is too low (a damaged or hand-edited Info.ini) never drops a record. Such
// a count is raised to the records read and listed in *corretti. On failure
// (a file that cannot be read, fewer records than its count) shows
// "Errore nell'apertura files del DB" and returns false; the caller ends the
// program. Negative counts load nothing and become 0.
bool CaricaDatabase(Stato &stato, Dialoghi &dialoghi, QList<ConteggioCorretto> *corretti = nullptr);

// Writes Info.ini and the four table files from memory, then recomputes the
// total of pieces. On failure shows "Errore nel salvataggio dei dati" and
// returns false; memory is unchanged and the files on disk still load.
// The five files are replaced together (see store/scritturasicura.h): a
// failure or a kill at any moment leaves either the old or the new set.
// A read-only state (Stato::SolaLettura) writes nothing: the message is
// MessaggioSolaLettura and the result false.
bool SalvaDatabase(Stato &stato, Dialoghi &dialoghi);
// The same with an injected failure (test seam).
bool SalvaDatabase(Stato &stato, Dialoghi &dialoghi, const GuastoScrittura &guasto);
// The same with more files in the same set (the lines that the operation
// appends to the history, movimenti/registro.h).
bool SalvaDatabase(Stato &stato, Dialoghi &dialoghi, const GuastoScrittura &guasto,
                   const QList<FileNuovo> &altri);

inline const QString MessaggioSolaLettura =
    QStringLiteral("L'archivio è aperto in sola lettura: le modifiche non possono essere salvate.");

// Sets TotalePezzi to the sum of the quantities of the components.
void ContaPezzi(Stato &stato);
