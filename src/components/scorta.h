#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

struct Stato;
struct Componente;

// Low stock. A component is under stock when its quantity is below its
// minimum, the number held in one of the six custom fields (Stato::CampoMinimo).
//
// The minimum is read the way the program reads every number typed into a
// box: the leading number of the text by the Val rule, rounded to a whole
// number with halves to the even neighbour (LongDaTesto). So "10", " 10 pz"
// and "1e1" all mean 10; "3,5" means 3 (the comma ends the number, as in the
// quantity box) and "3.5" means 4. A text with no leading number (empty,
// blanks, "abc", "-", ".") means the component has no minimum. A negative
// minimum is kept as it is: only a quantity lower still is under it.

// Whether the text holds a minimum, and which (in *minimo).
bool LeggiMinimo(const QString &testo, qint32 *minimo);

// The text of custom field 1-6 of a component; empty for any other number.
const QString &CampoExtra(const Componente &c, int campo);

// Whether the component is under stock with the minimum in the given field.
bool SottoScorta(const Componente &c, int campo);

// How many of the components (positions 1 to the count) are under stock.
qint32 ContaSottoScorta(const Stato &stato);

// The positions (1-based, table order) of the components under stock.
QList<qint32> PosizioniSottoScorta(const Stato &stato);
