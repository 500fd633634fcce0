#pragma once

#include "movimenti/rigamovimento.h"
#include "store/scritturasicura.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct Stato;
struct Percorsi;
class Dialoghi;

// Writing the history. The lines of an operation are appended to
// Movimenti.csv in the same crash-safe set as the tables and Info.ini the
// operation changes (store/scritturasicura.h): after a kill at any moment
// either the tables are the old ones and the file has none of the lines,
// or the tables are the new ones and the file has all of them. The file is
// only ever appended to.
//
// The number of an operation is one more than the number of the file's
// last whole line (1 for an empty or missing file); no counter is kept
// anywhere else. A file that does not end with a line end (its last line
// cut short, by a power cut or an editor) is read up to its last whole
// line, and the next append starts on a new line.

// What the end of the history says about the next append.
struct CodaMovimenti {
    bool nuovo = true;           // missing or empty: the header comes first
    bool rigaTroncata = false;   // the last line has no line end
    qint64 ultimaOperazione = 0; // number of the last whole line that reads, 0 when none
};

// Reads the end of the file (a missing file is a new history). Nothing,
// with a description in *errore, when it is not a regular file or cannot
// be read.
std::optional<CodaMovimenti> LeggiCodaMovimenti(const QString &percorso, QString *errore = nullptr);

// The bytes to append for the lines, numbered numero and dated momento
// (their own number and moment are ignored): the header first for a new
// file, a line end first after a line cut short.
QByteArray TestoAggiunta(const CodaMovimenti &coda, const QList<RigaMovimento> &righe, qint64 numero,
                         const QDateTime &momento);

// The file of a crash-safe set (store/scritturasicura.h) that appends the
// lines to the history of the data folder, numbered as the next operation
// (in *numero) and dated Adesso(). A set left half done in the folder is
// completed first. Nothing, with a description in *errore, when that fails
// or the history cannot be read. For a writer of its own set (a restore);
// the saves of the tables take SalvaOperazione.
std::optional<FileNuovo> AggiuntaMovimenti(const Percorsi &p, const QList<RigaMovimento> &righe,
                                          qint64 *numero = nullptr, QString *errore = nullptr);

// SalvaDatabase (store/tabelle.h) with the lines of one operation appended
// to the history in the same set, numbered as the next operation and dated
// Adesso(). No lines: a plain SalvaDatabase. On any failure (the history
// cannot be read or written too) the user sees "Errore nel salvataggio dei
// dati" and neither the files nor the history change; memory is left to the
// caller, as with SalvaDatabase. The operation's number goes to *numero.
bool SalvaOperazione(Stato &stato, Dialoghi &dialoghi, const QList<RigaMovimento> &righe,
                     qint64 *numero = nullptr);
bool SalvaOperazione(Stato &stato, Dialoghi &dialoghi, const QList<RigaMovimento> &righe,
                     const GuastoScrittura &guasto, qint64 *numero = nullptr);
