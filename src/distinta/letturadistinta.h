#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Reading a bill of materials saved as CSV: KiCad's BOM exports (grouped by
// value, or one line per reference), KiBot's, JLCPCB's assembly BOM, Eagle's,
// and any CSV whose header names a part column (a stock code, a
// manufacturer part number or a value) and a quantity or reference column.
//
// - Encoding, quoted fields and reading from disk as for the CSV import
//   (csv/testocsv.h): UTF-16 by its byte-order mark (a spreadsheet's
//   "Unicode text"), UTF-8, else Windows-1252.
// - Header: the first line, among the first ones, that names a part column
//   and a quantity or reference column; lines before it (a title, a date,
//   the tool that wrote the file) are skipped. Names are matched without
//   regard to case or surrounding blanks; unknown columns are ignored. Where
//   a file has two names for the same thing, the specific one wins
//   ("Value" over "Comment", "Footprint" over "Package", "References" over
//   KiBot's "Part", which names the symbol).
// - Separator: the one among tab, ";" and "," that splits that header into
//   recognised columns, trying the most frequent first.
// - Fields: a quoted reference list such as "R1,R2,R5" stays one field.
//   Blanks around a field are dropped; a line may have fewer fields than the
//   header (the missing ones are empty). A placeholder in the MPN column
//   ("ANY", "DNP", "N/A", "-", "~") counts as no MPN.
// - Quantity: from the quantity column; a file without one gives each line
//   the number of its references ("R1,R2,R5", "R1 R2 R5" and "R1-R3" all
//   count 3).
// - Lines that name the same part (same stock code, MPN, value and
//   footprint, as written) become one line with their references together
//   and their quantities added: a list of one line per reference comes out
//   as one line per part.
// - A line that cannot be used keeps its place with the reason, in Italian;
//   blank lines are skipped, and so are lines marked in a "DNP" column
//   (not fitted on the board), which are counted and named.

struct RigaDistinta {
    int numero = 0;        // line number in the file, from 1 (the first of lines joined)
    QString riferimenti;   // "R1,R2,R5"
    QString valore;        // the value column ("10k", "NE555")
    QString mpn;           // the manufacturer part number, when the file has one
    QString codice;        // the stock code, when the file has a column for it
    QString footprint;
    qint64 quantita = 0;   // pieces per board
    QString errore;        // not empty: the line cannot be used, and why
};

struct LetturaDistinta {
    // Not empty when the file cannot be used at all: the message for the
    // user. Nothing else is then meaningful.
    QString errore;
    QString codifica; // "UTF-8", "UTF-16" or "Windows-1252"
    QChar separatore;
    int rigaIntestazione = 0; // line number of the header
    bool haMpn = false;
    bool haValore = false;
    bool haCodice = false;
    // No quantity column: each line's quantity is the number of its
    // references.
    bool quantitaDaRiferimenti = false;
    int nonMontate = 0;       // lines marked "do not populate" (a DNP column), left out
    QStringList nonMontati;   // their references (or values, when they have none), in file order
    int righeUnite = 0;       // lines added to an earlier line of the same part
    QList<RigaDistinta> righe; // in file order, unusable ones included
};

// Limits that keep a damaged or hostile file from taking the program's
// memory or time.
inline constexpr qsizetype DimensioneMassimaDistinta = 64LL * 1024 * 1024;
inline constexpr qsizetype LunghezzaMassimaRigaDistinta = 64 * 1024; // characters
inline constexpr int RigheCercaIntestazione = 50; // non-blank lines searched for the header
inline constexpr qsizetype MassimoRigheDistinta = 100000; // component lines
inline constexpr qint64 QuantitaMassimaDistinta = 1000000; // pieces per board

LetturaDistinta LeggiDistinta(const QByteArray &dati);

// Reads a file from disk, with a message when it is not a regular file
// (a folder, a FIFO, a device), cannot be read or is too large.
LetturaDistinta LeggiFileDistinta(const QString &percorso);

// The references of a list, split at commas, semicolons and blanks, a range
// "R1-R4" (or "R1-4", either way round) standing for each reference in it.
// ContaRiferimenti counts them without writing them out; EspandiRiferimenti
// writes at most `massimo` of them.
qint64 ContaRiferimenti(QStringView testo);
QStringList EspandiRiferimenti(QStringView testo, qsizetype massimo = QuantitaMassimaDistinta);
