#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

struct Stato;
struct Componente;

// The texts of the detail panel from which a component is stored.
struct ValoriPannello {
    QString codice;     // txCodice
    QString quantita;   // txQty
    QString tipo;       // cmbTipo text
    QString produttore; // selected entry of LP, empty when none
    QString package;    // cmbPack text
    QString pins;       // txPins
    QString descrizione;
    QString note;
    QString datasheet;  // txPDF
    QString immagine;   // txPic
    std::array<QString, 6> extra;

    bool operator==(const ValoriPannello &) const = default;
};

// Every text of the panel, in the order of the fields above.
QStringList TestiPannello(const ValoriPannello &valori);

// The files are Windows-1252: a character outside it would be written as
// "?" and come back changed at the next start. Returns the message that
// refuses a save naming the first such character of the texts, or an empty
// text when every character can be stored.
QString AvvisoCaratteriNonSalvabili(const QStringList &testi);

// The record the panel describes, with the given ID and entry date: IDs of
// type, manufacturer and package looked up by name (0 when not found), the
// code upper-cased within the code page (not trimmed), description, notes and custom fields
// through PulisciTesto, quantity and pins through LongDaTesto. Code, type and
// manufacturer names, datasheet and picture are kept as typed except that a
// double quote becomes a single quote: the table file cannot hold one.
Componente ComponenteDaPannello(const Stato &stato, const ValoriPannello &valori,
                                qint32 id, const QDateTime &dataInserimento);

// The text of the numeric-code conflict question for a new component with
// numeric code n and upper-cased code: a heading line, "> " and the code of
// every stored component with that numeric code (table order), an empty
// line and the question; lines joined by CR LF. Empty when no stored
// component shares n.
QString TestoConflitto(const Stato &stato, qint32 n, const QString &codiceMaiuscolo);

// A new record takes the next ID from its counter in Info.ini. A counter at
// the largest 32-bit value (only a hand-edited Info.ini gets there) has no
// ID left to give: counting on would wrap to negative IDs that clash with
// stored ones. Returns the message that refuses the new record, naming the
// counter's key, or an empty text when the counter can give an ID.
QString AvvisoIDEsauriti(qint32 prossimoID, const QString &chiaveIni);

// Removes the component at a position (1-based), moving the ones behind it
// down by one and lowering the count. IDs do not change. A position outside
// 1 to the count changes nothing.
void EliminaPosizione(Stato &stato, qint32 pos);

// Positions (1-based, table order) of the components whose code matches
// "*" + the upper-cased search text + "*". With ancheDescrizione, also those
// whose description, upper-cased, matches the same pattern.
QList<qint32> CercaCodici(const Stato &stato, const QString &testoRicerca,
                          bool ancheDescrizione = false);
