#pragma once

#include "ui/widgets/listareport.h"

#include <QList>

// The columns of the main component list LV: code, manufacturer, type,
// quantity (sorted as numbers), date entered (sorted as dates), and the
// hidden position in Componenti that travels with each row.
QList<ListaReport::Colonna> ColonneListaComponenti();
