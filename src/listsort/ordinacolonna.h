#pragma once

#include "listsort/listaordinabile.h"

// Orders a list by the column with the given 1-based header index: number
// and date columns (header tag "NUMBER" or "DATE") by value, natural ones
// ("NATURAL") by their texts with the numbers in them by value, the others
// by their texts. Every call reverses the list's sorting direction. While the
// keys stand in the column, each cell keeps its text and former tag in its
// tag (text, NUL, tag); afterwards every cell shows exactly its former text
// and carries its former tag. The hourglass is shown and drawing is frozen
// meanwhile. Never reports an error: a row lacking the cell is left alone.
void OrdinaColonna(ListaOrdinabile &lista, int indiceColonna);
