#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

struct Stato;

// What the barcode of a printed label holds: "ARVO:" followed by the
// component's ID in decimal ("ARVO:12"). The ID never changes when the
// component is renamed or moved in the table, so an old label keeps
// pointing at its component.

QString TestoEtichetta(qint32 id);

// The ID a scanned text names, or nothing when the text is no label of this
// program. Tolerant of what scanners add or change: letters in any case,
// blanks, tabs, CR and LF around the text. The ID is a whole number from 1
// up, written with ASCII digits only (leading zeros allowed).
std::optional<qint32> LeggiTestoEtichetta(QStringView testo);

// Whether the text, blanks around aside, opens as a label of this program
// ("ARVO:" in any case), readable or not: a scanner's reading then gives
// the reason rather than take it for a part number.
bool SembraEtichetta(QStringView testo);

// The position (1 to the count) of the component a scanned label names; 0
// when the text is no label or no stored component has that ID.
qint32 ComponenteDaEtichetta(const Stato &stato, QStringView testo);
