#pragma once

#include "store/records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The stock history: the file Movimenti.csv in the data folder, one line per
// change of a component, only ever appended to (movimenti/registro.h). The
// lines of one operation (a save, a deletion, an import, a taking...) carry
// the same number and are written together with the tables they change.
//
// The file is UTF-8 with a byte-order mark and CR LF line ends, for a
// spreadsheet and for the program's own import: a header line, then every
// field between double quotes ("" stands for one), separated by semicolons.
// A field never holds a line end: CR and LF are written as the symbols
// U+240D and U+240A, which no table text can hold (they are outside
// Windows-1252), and read back as CR and LF. The columns, in order:
//
//   Data e ora  local date and time of the operation, yyyy-MM-dd hh:mm:ss
//   Operazione  the operation's number: 1 for the first, one more for each
//   Movimento   what happened: "Nuovo", "Modifica", "Eliminazione",
//               "Importazione <file>", "Distinta <file> × N schede",
//               "Aggiunta pezzi", "Prelievo pezzi", "Ricevimento",
//               "Annullamento dell'operazione N", "Ripristino"
//   ID          the component's ID
//   Codice      its code, as it was
//   Produttore  its manufacturer's name, as it was
//   Prima       the quantity before; empty when the component did not exist
//   Dopo        the quantity after; empty when it no longer exists
//   Differenza  Dopo minus Prima (an empty one counting as 0), signed: +5, -3, 0
//   Nota        the user's note, when there is one
//   Dettagli    a changed component: the other fields that changed, as
//                 Descrizione: "vecchia" → "nuova"; Pins: "8" → "14"
//               a component removed: the whole record, so that it can be
//               put back, as
//                 Codice: "NE555"; Codice numerico: "555"; Quantità: "10"; ...
//               Values are quoted, a double quote inside doubled.
//
// What a line did follows from Prima and Dopo: Prima empty, the component
// was created; Dopo empty, it was removed (Dettagli holds it); both, it was
// changed (quantity and the fields in Dettagli).

inline const QString NomeFileMovimenti = QStringLiteral("Movimenti.csv");

// The kinds of operation, by the text of the Movimento column.
enum class TipoMovimento {
    Nuovo,
    Modifica,
    Eliminazione,
    Importazione,
    Distinta,
    AggiuntaPezzi,
    PrelievoPezzi,
    Ricevimento,
    Annullamento,
    Ripristino,
    Altro, // a text the program does not write
};

// The Movimento text of the simple kinds ("Nuovo", "Aggiunta pezzi"...); the
// kinds that name something take the functions below.
QString TestoMovimento(TipoMovimento tipo);
// "Importazione <file>": the file's name without its folder.
QString MovimentoImportazione(const QString &file);
// "Distinta <file> × N schede" ("× 1 scheda" for one board).
QString MovimentoDistinta(const QString &file, qint32 schede);
// "Annullamento dell'operazione N".
QString MovimentoAnnullamento(qint64 operazione);
// The kind of a Movimento text; for an undo, the operation undone in
// *annullata.
TipoMovimento TipoDiMovimento(const QString &movimento, qint64 *annullata = nullptr);

// One line of the history.
struct RigaMovimento {
    QDateTime momento; // local time, whole seconds
    qint64 operazione = 0;
    QString movimento;
    qint32 id = 0;
    QString codice;
    QString produttore;
    std::optional<qint32> prima; // none: the component did not exist before
    std::optional<qint32> dopo;  // none: it does not exist after
    QString nota;
    QString dettagli;

    // Dopo minus Prima, a missing one counting as 0.
    qint64 differenza() const { return qint64(dopo.value_or(0)) - qint64(prima.value_or(0)); }
    bool creazione() const { return !prima && dopo; }
    bool rimozione() const { return prima && !dopo; }

    bool operator==(const RigaMovimento &) const = default;
};

// The byte-order mark and the header line, CR LF included.
QByteArray IntestazioneMovimenti();
// One line of the file, CR LF included.
QByteArray TestoRigaMovimento(const RigaMovimento &riga);
// One line of the file (without its line end) read back; nothing when it is
// not a whole line of the history (the header, a line cut short, a field
// that cannot be read).
std::optional<RigaMovimento> LeggiRigaMovimento(QByteArrayView riga);

// ------------------------------------------------------------ Dettagli

// A field of a component by its name in the history: "Codice", "Codice
// numerico", "Quantità", "Tipo", "ID tipo", "Produttore", "ID produttore",
// "ID package", "Pins", "Descrizione", "Note", "Datasheet", "Immagine",
// "Data inserimento", "Campo personale 1" to "Campo personale 6". The ID is
// the line's own column. Dates are written yyyy-MM-dd, with " hh:mm:ss" when
// a time of day is stored.
struct CampoCambiato {
    QString campo;
    QString prima;
    QString dopo;

    bool operator==(const CampoCambiato &) const = default;
};

// Every field but the ID and the quantity that differs between the two
// records, in the order above.
QList<CampoCambiato> CampiCambiati(const Componente &prima, const Componente &dopo);
// The Dettagli text of changed fields, and back (nothing when it cannot be
// read).
QString TestoCambiamenti(const QList<CampoCambiato> &campi);
std::optional<QList<CampoCambiato>> LeggiCambiamenti(const QString &testo);

// The Dettagli text of a whole record, and back with the given ID (nothing
// when a field is missing or cannot be read).
QString TestoRecord(const Componente &c);
std::optional<Componente> LeggiRecord(const QString &testo, qint32 id);

// A field's value as the history writes it (empty for an unknown name), and
// a value put into a field (false, the record untouched, when the name is
// unknown or the value does not fit the field).
QString ValoreCampo(const Componente &c, const QString &campo);
bool ImpostaCampo(Componente &c, const QString &campo, const QString &valore);
