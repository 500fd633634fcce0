#pragma once

#include "ricevi/scansione.h"

#include <QList>
#include <QString>

// The ISO/IEC 15434 envelope of the distributors' bag labels (Digi-Key,
// Mouser, Newark, TI and the makers that follow the ECIA label standard):
//
//     [)> RS 06 GS P296-1395-1-ND GS 1PLM358DR GS ... GS Q10 RS EOT
//
// "[)>", the record separator RS, the format number (06: fields opened by
// ANSI MH10.8.2 data identifiers), then fields split by the group separator
// GS, each a data identifier (up to three digits and a capital letter: "P",
// "1P", "10K", "20Z") followed by its value; RS and EOT close it.
//
// The separators as they arrive:
// - as the control characters themselves;
// - as the Unicode control pictures (U+241E, U+241D, U+2404);
// - as the glyphs of code page 437 that Windows types for Alt+030, Alt+029
//   and Alt+004 ("▲", "↔", "♦"), when a scanner enters them through the
//   numeric keypad;
// - as the private-use characters a Mac gives for the F9 and F8 keys
//   (U+F70C, U+F70B), when a scanner sends function keys for RS and GS;
// - as text: "{GS}", "<GS>", "[GS]" and the caret notation "^]" (RS and
//   EOT alike, letter case aside);
// - as the bare key without Ctrl ("^" for RS, "]" for GS), when the header
//   shows them so ("[)>^06]");
// - as any other single character that is no letter, digit or printable
//   ASCII, when the header shows it in the separator's place: part numbers
//   are ASCII, so such a character is never part of one;
// - or not at all (a text box dropped them). The fields are then found where
//   the labels of the distributors known here put them, in their order,
//   each value of the shape its identifier takes (a quantity is digits, a
//   date code four digits, a country two capital letters; a part number
//   anything), every field of the layout present. One way of splitting the
//   text must fit, and only one: a part number ending in "K" before an empty
//   "K" field, for example, can be split two ways, and such a text is not
//   read. Nothing is taken for a field just because it looks like one: "Q10"
//   inside a part number stays there unless the layout puts the quantity
//   exactly there.
//
// The header may come with a ">" before it (Mouser's labels), without its
// trailer, or lost: a text without "[)>" is an envelope when its fields are
// separated and at least one of them opens with a data identifier of the
// label standard, or when it fits a known layout whole. A first field that
// holds the remains of a garbled header ("...06") is dropped.
//
// Fields: 1P is the part number (required), Q the quantity, 1V (else V) the
// manufacturer, P the distributor's or customer's part number, K the
// customer's order, 1K the distributor's order, 10K the invoice, 1T the lot,
// 9D (else 10D) the date code, 4L the country; every other field is kept as
// it is. A field given twice with different values makes the label
// unreadable.
class LettoreBusta15434 : public LettoreFormato {
public:
    bool leggiConIntestazione(QStringView testo, Scansione *esito) const override;
    bool leggiSenzaIntestazione(QStringView testo, Scansione *esito) const override;
};

// A distributor's layout of the fields, for an envelope without separators.
struct DisposizioneEtichetta {
    QString nome;
    QList<QString> identificatori; // in order, all present
};
const QList<DisposizioneEtichetta> &DisposizioniConosciute();
