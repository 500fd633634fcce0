#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The text-level reading shared by every CSV file the program takes in (the
// import of components, the bill of materials): the encoding, the fields of
// one line, the separator a header suggests and the file on disk. What the
// columns mean is left to each reader.

// The text of a CSV file.
struct TestoDecodificato {
    QString testo;
    QString codifica;     // the encoding's name, for the preview
    bool binario = false; // a NUL in the text: not a text file, testo left empty
};

// Decodes the bytes of a file:
// - UTF-16 (either byte order) when it starts with its byte-order mark, as a
//   spreadsheet saves "Unicode text";
// - UTF-8 when it starts with its byte-order mark or is valid UTF-8
//   throughout;
// - otherwise Windows-1252, the program's own files' code page.
// The mark is not part of the text.
TestoDecodificato DecodificaCSV(QByteArrayView dati);

// Splits one line at the separator. A field that starts with a double quote
// (blanks before it do not count) ends at the next double quote not doubled,
// "" standing for one, so the separator may appear inside; after it only
// blanks may come before the next separator. Other fields are taken as
// written, blanks included. Returns false with the reason, in Italian, when
// a quote is never closed or text follows a closing quote.
bool DividiCampiCSV(QStringView riga, QChar separatore, QStringList *campi, QString *motivo);

// The separators among tab, ";" and "," that occur in a header line, the most
// frequent first (on a tie, in that order).
QList<QChar> SeparatoriIntestazione(QStringView intestazione);

// The separator's name for the preview: "virgola", "punto e virgola",
// "tabulazione".
QString NomeSeparatoreCSV(QChar separatore);

// The content of the file at the path when it is a regular file (its links
// followed) of at most limite bytes. A folder, a FIFO or a device is never
// opened for reading or waited on. Otherwise nothing, with the message for
// the user in *errore.
std::optional<QByteArray> LeggiFileTestoCSV(const QString &percorso, qint64 limite, QString *errore);

// The message for a file larger than the limit, in bytes.
QString MessaggioFileTroppoGrande(qint64 limite);
