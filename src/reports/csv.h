#pragma once

#include <QString>

struct Stato;
class Dialoghi;

// The message shown when the export fails.
inline const QString TitoloErroreCSV = QStringLiteral("Database non generato");
inline const QString TestoErroreCSV = QStringLiteral(
    "Errore nella creazione del file CSV\r\nForse il file \u00e8 gi\u00e0 aperto in altro programma");

// The text of the export: the fixed header line, then one line per
// component in table order with code, manufacturer, type, quantity, date
// entered (short date form) and description joined by SeparatoreCSV; only
// the description is cleaned of the separator (each occurrence becomes one
// blank; an empty separator leaves it as it is). Lines end with CR LF.
QString TestoCSV(const Stato &stato);

// Exports the whole component table to Exported/CSVlist.csv in
// Windows-1252, replacing the previous export. The file is written whole or
// not at all: when the export fails the previous file stays as it was, the
// user sees "Database non generato" (critical icon, OK) and the result is
// false. Memory is never changed. On success the file's full path goes to
// *percorso when asked.
bool EsportaCSV(const Stato &stato, Dialoghi &dialoghi, QString *percorso = nullptr);
