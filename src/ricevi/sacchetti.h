#pragma once

#include "ricevi/scansione.h"

#include <QList>
#include <QString>

// A bag scanned twice in one session. Two readings are of the same bag
// when
// - both carry a lot and an order reference (K, 1K or 10K; LCSC's order)
//   and these agree, with the same part number (letter case aside); or
// - they say the same: every field the same, whatever form the separators
//   came in (a label photographed and the same label scanned), or the same
//   plain code.
// A reading that cannot be read is never the same bag as another: nothing
// would be added twice.

// The bag's lot and order, with its part number; empty when the label
// lacks the lot or every order reference.
QString ChiaveLottoOrdine(const Scansione &scansione);
// What the reading says, field by field.
QString ContenutoScansione(const Scansione &scansione);

// The position (0-based) of the first reading in `lette` of the same bag as
// `nuova`; -1 when there is none.
qsizetype SacchettoGiaLetto(const QList<Scansione> &lette, const Scansione &nuova);
