#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>

struct Stato;
class Dialoghi;

// Web address printed in the listing footer.
inline const QString IndirizzoWeb = QStringLiteral("www.arvo-componenti.it");

// Message shown when the listing cannot be written.
inline const QString TitoloErroreStampa = QStringLiteral("Stampa non generata");
inline const QString TestoErroreStampa =
    QStringLiteral("Errore nella creazione della lista di stampa\r\n"
                   "Controllare che la cartella Stampe esista e che il file "
                   "non sia aperto in altro programma");

// "Stampa_" + the date in the user's short date form + ".txt", with "/" and
// every other character a file name cannot hold removed (digits and the
// other separators stay: 05/12/2026 -> Stampa_05122026.txt).
QString NomeFileStampa(const QDate &data);

// The text of the listing, lines ended by CR LF: heading with the number of
// rows given and the date, column titles, one fixed-width line of 66
// characters per row, footer. Each row is a position in Componenti; a
// position outside 1 to the count gives no line.
QString TestoStampa(const Stato &stato, const QList<qint32> &posizioniRighe, const QDate &data);

// Writes the listing of the given list rows (each row's position in
// Componenti, in list order) into Stampe, named after today's date, in
// Windows-1252, replacing a listing of the same day. An empty list writes
// nothing. When the listing cannot be written the user is told (critical
// icon, OK) and no partial file is left: the file is written whole or not at
// all. Returns true when a file was written, and then its full path in
// *percorso when asked.
bool CreatFileStampa(const Stato &stato, const QList<qint32> &posizioniRighe, Dialoghi &dialoghi,
                     QString *percorso = nullptr);
