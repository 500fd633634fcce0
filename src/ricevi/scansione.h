#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// Reading what a barcode scanner types when it reads the label of a bag of
// components, or the text of a code found in a picture.
//
// The shapes understood, tried in this order (the first that recognises the
// text reads it):
// 1. A reader of the list that knows the text by how it opens: the ISO/IEC
//    15434 envelope of the distributors' labels ("[)>", busta15434.h), LCSC's
//    QR text ("{pbn:...", etichettelcsc.h), the program's own labels
//    ("ARVO:12", etichettearvo.h), and any reader added to the list.
// 2. The same after undoing a keyboard layout: a scanner that types for a US
//    keyboard on a computer set up for a German, Italian or French one turns
//    "[)>" into "ü=:", "è=:" or "^0/", and every other symbol of the label as
//    well (tastiere.h). The whole text is put back when its opening then
//    reads as one of the formats.
// 3. A reader that knows the text by its content alone: an envelope whose
//    header was lost (its fields still separated, or laid out as a known
//    distributor lays them out), LCSC's fields without the braces.
// 4. Anything else is a plain code (a 1D barcode, a code typed by hand): its
//    text, trimmed, is the part number. A text too long for a code, or one
//    holding control characters, cannot be read.
//
// Nothing is guessed: a text that fits none of these, or fits one in more
// than one way, gives the reason in Italian instead of fields.

enum class FormatoScansione {
    Nessuno,        // not read (motivo says why)
    Busta15434,     // ISO/IEC 15434 format 06, ECIA data identifiers
    Lcsc,           // LCSC's "{pbn:...,pm:...,qty:...}"
    CodiceSemplice, // the whole text is the part number
    EtichettaArvo,  // a label of this program: "ARVO:<ID>"
    Altro,          // a reader added to the list
};

// One field as the label carries it: its data identifier ("1P", "Q",
// "11Z"; LCSC's key, "pc", "pbn") and its value. A field of an envelope
// whose text opens with no identifier has an empty one.
struct CampoScansione {
    QString identificatore;
    QString valore;
    bool operator==(const CampoScansione &) const = default;
};

struct Scansione {
    QString testo;   // the text as received
    FormatoScansione formato = FormatoScansione::Nessuno;
    // Not empty: the text cannot be read, and why ("quantità \"10 pz\" non
    // valida"); the fields below are then meaningless.
    QString motivo;

    QString codice;             // manufacturer part number (1P, LCSC pm, the plain code)
    qint32 idComponente = 0;    // the component's ID on a label of this program; 0 otherwise
    qint32 quantita = 0;        // pieces in the bag (Q, qty); 0 when the label does not say
    QString produttore;         // manufacturer (1V, else V)
    QString codiceDistributore; // distributor's or customer's part number (P, LCSC pc)
    QString ordineCliente;      // customer's purchase order (K)
    QString ordine;             // distributor's order number (1K, LCSC on)
    QString fattura;            // invoice (10K)
    QString lotto;              // lot (1T)
    QString dataCodice;         // date code (9D, else 10D)
    QString paese;              // country of origin (4L)
    // Every other field, in the order of the label (11K, 14K, 30P, 11Z to
    // 20Z, LCSC's pbn, mc, ...).
    QList<CampoScansione> altri;

    // The keyboard layout that had turned the text ("tedesca", "italiana",
    // "francese"), undone before reading; empty when none.
    QString tastiera;
    // The envelope came without its field separators and was split where a
    // distributor's label puts its fields.
    bool senzaSeparatori = false;

    bool leggibile() const { return motivo.isEmpty(); }
};

// Limits of a reading.
inline constexpr qsizetype LunghezzaMassimaScansione = 4000;   // characters of a whole text
inline constexpr qsizetype LunghezzaMassimaCodiceSemplice = 60; // characters of a plain code
inline constexpr qint32 QuantitaMassimaScansione = 1000000;     // pieces in one bag

// One format of label. A reader either recognises a text (true, and the
// reading in *esito, readable or with its reason) or leaves it to the next.
class LettoreFormato {
public:
    virtual ~LettoreFormato() = default;
    // By how the text opens (a header, a brace).
    virtual bool leggiConIntestazione(QStringView testo, Scansione *esito) const = 0;
    // By its content alone, when no reader knew its opening.
    virtual bool leggiSenzaIntestazione(QStringView, Scansione *) const { return false; }
};

// The ordered list of readers, with the keyboard layouts and the plain code
// behind them.
class LettoriScansione {
public:
    // The envelope, LCSC's QR text and the program's own labels.
    LettoriScansione();
    // Adds a reader after those already in the list.
    void aggiungi(std::unique_ptr<LettoreFormato> lettore);
    Scansione leggi(const QString &testo) const;

private:
    std::vector<std::unique_ptr<LettoreFormato>> m_lettori;
};

// The reading with the standard readers.
Scansione LeggiScansione(const QString &testo);

// Checks shared by the readers, each giving the reason for the user or an
// empty text.
// A quantity of the label: decimal digits only (leading zeros allowed),
// 1 to QuantitaMassimaScansione; *quantita is set when it can be read.
QString MotivoQuantita(QStringView valore, qint32 *quantita);
// A part number that the data files can keep: not empty, no control
// characters, every character one of Windows-1252.
QString MotivoCodice(QStringView codice, const QString &nomeCampo);
