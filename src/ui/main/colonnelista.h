#pragma once

#include "ui/widgets/listareport.h"

#include <QList>

// The columns of the main component list LV: code, manufacturer, type,
// quantity (sorted as numbers), date entered (sorted as dates), and the
// hidden position in Componenti that travels with each row.
QList<ListaReport::Colonna> ColonneListaComponenti();

// The column of the components' location, after those, when a custom field
// is chosen to hold it: headed by the field's label, sorted with the
// numbers in the texts by value ("A2" before "A10"). Its 0-based number.
ListaReport::Colonna ColonnaPosizione(const QString &titolo);
inline constexpr int IndiceColonnaPosizione = 6;
