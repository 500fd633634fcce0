#pragma once

#include "ui/main/colonnelista.h"

#include <QList>
#include <QStringList>

struct Stato;
class QTreeWidget;

// The rows of the main component list (code, manufacturer, type, quantity,
// date entered, hidden position), built straight from the state as the main
// window builds them; its columns are ColonneListaComponenti().
QList<QStringList> RigheListaPrincipale(const Stato &stato);

// The baseline of a list: the same rows put into a plain QTreeWidget, one
// item per row, with one addTopLevelItems.
void RiempiAlbero(QTreeWidget &albero, const QList<QStringList> &righe);

// A plain QTreeWidget shaped like the main list (same headers and size,
// position column hidden), shown.
void PreparaAlbero(QTreeWidget &albero);
