#pragma once

#include "store/records.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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
// - Header: the first line that is not blank. Its names are split at "|"
//   when it has one (the export's header), else at the most frequent of
//   tab, ";" and "," that gives a "Codice" column. Names are matched
//   without regard to case or surrounding blanks; "Codice" is required,
//   every other column is optional, unknown columns are ignored.
// - Separator: the one that splits the header; with the export's header,
//   whichever of "," and ";" splits more of the first data lines into
//   exactly the header's number of fields (on a tie, the CSV separator of
//   the options).
// - Fields: unquoted ones are taken as written, blanks included. Free
//   texts pass PulisciTesto, codes are upper-cased within Windows-1252
//   (MaiuscoloCp1252), as when a component is saved. A line with a
//   character the files cannot hold is refused, as the panel's save is.
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
};

// Limits that keep a damaged or hostile file from taking the program's
// memory or time.
inline constexpr qsizetype DimensioneMassimaCSV = 256LL * 1024 * 1024;
inline constexpr qsizetype LunghezzaMassimaRiga = 1024 * 1024;         // characters of a data line
inline constexpr qsizetype LunghezzaMassimaIntestazione = 2 * 1024 * 1024;
inline constexpr qsizetype ColonneMassime = 200000;
inline constexpr qsizetype ErroriConservati = 10000;

// Reads the bytes of a file. The state gives the custom field labels (a
// column may be named by one), the CSV separator of the options (the
// tie-break) and nothing else; it is not changed.
LetturaCSV LeggiCSV(const QByteArray &dati, const Stato &stato);

// Reads a file from disk, with a message when it is not a regular file (a
// folder, a FIFO, a device), cannot be read or is too large.
LetturaCSV LeggiFileCSV(const QString &percorso, const Stato &stato);
