#pragma once

#include "ricevi/scansione.h"

// The labels this program prints: a DataMatrix holding "ARVO:" and the
// component's ID in decimal ("ARVO:12"). The ID stays when the component is
// renamed or moves in the table, so the label names its component without
// any part number.
//
// Read when the text, blanks and line ends around it aside, opens with
// "ARVO:" in any letter case. What follows must be the ID: ASCII digits
// only (leading zeros allowed), from 1 to the largest ID a component can
// have; anything else makes the label unreadable, with the reason. The
// reading carries the ID and no part number or quantity: the match with the
// stock goes by the ID alone (confrontoricevi.h).
class LettoreEtichettaArvo : public LettoreFormato {
public:
    bool leggiConIntestazione(QStringView testo, Scansione *esito) const override;
};
