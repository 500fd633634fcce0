#pragma once

#include "ui/widgets/listareport.h"

#include <QList>
#include <QStringList>

struct Stato;
class QTreeWidget;

// The rows and columns of the main component list (code, manufacturer,
// type, quantity, date entered, hidden position), built straight from the
// state as the main window builds them.
QList<ListaReport::Colonna> ColonneListaPrincipale();
QList<QStringList> RigheListaPrincipale(const Stato &stato);

// The baseline of a list: the same rows put into a plain QTreeWidget, one
// item per row, with one addTopLevelItems.
void RiempiAlbero(QTreeWidget &albero, const QList<QStringList> &righe);
