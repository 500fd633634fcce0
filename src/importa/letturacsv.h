#pragma once

#include "store/records.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct Stato;

// Reading a CSV file of components for the import: the program's own export
// (header "Codice | Produttore | Tipo | Qtà | Inserito | Descrizione", then
// fields joined by "," or ";") or the same columns, in any order, as a
// spreadsheet saves them.
//
// - Encoding, quoted fields and reading from disk as every CSV file the
//   program reads (csv/testocsv.h): UTF-16 by its byte-order mark, UTF-8,
//   else Windows-1252, the export's own; a field that starts with a double
//   quote ends at the next lone double quote, "" standing for one (as
//   spreadsheets write a field that holds the separator).
// - A quoted field may hold line breaks (a spreadsheet's multi-line cell):
//   the lines it spans make one record, numbered by its first line, and
//   each break in the field becomes one blank, as the clean-up of saved
//   text turns a CR LF into one. When the lines so joined do not make a
//   record of the header's columns, the first of them is read alone (and
//   reported), and the others too, one by one.
// - Header: the first line that is not blank. Its names are split at "|"
//   when it has one (the export's header), else at the most frequent of
//   tab, ";" and "," that gives a "Codice" column. Names are matched
//   without regard to case or surrounding blanks; "Codice" is required,
//   every other column is optional, unknown columns are ignored.
// - Separator: the one that splits the header; with the export's header,
//   whichever of "," and ";" splits more of the first data lines into
//   exactly the header's number of fields (on a tie, the CSV separator of
//   the options).
// - Fields: every one trimmed of blanks (no-break spaces and tabs
//   included). Free texts pass PulisciTesto, codes are upper-cased within
//   Windows-1252 (MaiuscoloCp1252), as when a component is saved; names of
//   types, manufacturers and packages are kept as written (the plan finds
//   them in the tables). A line with a character the files cannot hold is
//   refused, as the panel's save is.
// - Dates: see LeggiDataImportata; an empty one is today.
// - Each line that cannot be read is reported with its number and the
//   reason, in Italian, and left out; blank lines are skipped.

// One column of the file, by what it holds.
enum class CampoCSV {
    Nessuno, // a column that is not recognised, or repeats one already seen
    Codice, Produttore, Tipo, Quantita, Inserito, Descrizione,
    Package, Pins, Note, Datasheet, Immagine,
    Extra1, Extra2, Extra3, Extra4, Extra5, Extra6,
};

struct RigaCSV {
    int numero = 0;         // line number in the file, from 1
    Componente componente;  // the fields read; IDs and numeric code not set
    QString package;        // the package's name, when the file has the column
};

struct ErroreRiga {
    int numero = 0;
    QString motivo;
    bool operator==(const ErroreRiga &) const = default;
};

struct LetturaCSV {
    // Not empty when the file cannot be imported at all: the message for
    // the user. Nothing else is then meaningful.
    QString errore;
    QString codifica;        // "UTF-8", "UTF-16" or "Windows-1252"
    QChar separatore;
    QList<CampoCSV> colonne; // what each column of the file holds, in file order
    QStringList ignorate;    // header names that were not recognised
    QList<RigaCSV> righe;    // the lines read, in file order
    QList<ErroreRiga> errori;
    // Unreadable lines past the first ErroriConservati are only counted.
    qsizetype erroriOmessi = 0;
    bool haPackage = false;  // the file names packages
    bool interrotta = false; // the reading was stopped through its progress callback
};

// Limits that keep a damaged or hostile file from taking the program's
// memory or time.
inline constexpr qsizetype DimensioneMassimaCSV = 256LL * 1024 * 1024;
inline constexpr qsizetype LunghezzaMassimaRiga = 1024 * 1024;         // characters of a data line
inline constexpr qsizetype LunghezzaMassimaIntestazione = 2 * 1024 * 1024;
inline constexpr qsizetype ColonneMassime = 200000;
inline constexpr qsizetype ErroriConservati = 10000;

// Told how far the reading is, from 0 to totale (a share of the file's
// text), now and then: often enough for a progress bar, never for every
// line. Returning false stops the reading: the result is then empty but
// for interrotta.
using AvanzamentoCSV = std::function<bool(qint64 fatto, qint64 totale)>;

// Reads the bytes of a file. The state gives the custom field labels (a
// column may be named by one), the CSV separator of the options (the
// tie-break), the user's date form, and nothing else; it is not changed.
LetturaCSV LeggiCSV(const QByteArray &dati, const Stato &stato, const AvanzamentoCSV &avanzamento = {});

// Reads a file from disk, with a message when it is not a regular file (a
// folder, a FIFO, a device), cannot be read or is too large.
LetturaCSV LeggiFileCSV(const QString &percorso, const Stato &stato, const AvanzamentoCSV &avanzamento = {});

// A date of the import's Inserito column, as Italian users and their
// spreadsheets write it: day, month and year separated by "/", "." or "-"
// (dd/mm/yyyy, d/m/yyyy, dd/mm/yy), or year first (yyyy-mm-dd); a time of
// day may follow after blanks or a "T" (h:mm or h:mm:ss) and is kept. A
// two-digit year is the one ending in those digits from 89 years before to
// 10 years after the year of oggi (in 2026: "36" is 2036, "37" is 1937).
// The user's own short date form (the export's) is read first when it is
// another one (month first, say). Invalid QDateTime when the text is none
// of these or names no real day or time.
QDateTime LeggiDataImportata(QStringView testo, const QDate &oggi);
