#pragma once

#include <QString>

// What the column sort needs of a report list: rows numbered from 1 whose
// cells have a text and a tag, column headers with a tag, and the list's sort
// properties. A column is addressed by its 0-based number: 0 is the row's
// own Text/Tag, k >= 1 the row's ListSubItems(k). A column header is
// addressed by its 1-based Index.
class ListaOrdinabile {
public:
    virtual ~ListaOrdinabile() = default;

    virtual int numeroRighe() const = 0;
    virtual int numeroColonne() const = 0;
    virtual QString tagColonna(int indice) const = 0;

    virtual bool haCella(int riga, int colonna) const = 0;
    virtual QString testo(int riga, int colonna) const = 0;
    virtual QString tag(int riga, int colonna) const = 0;
    virtual void impostaTesto(int riga, int colonna, const QString &testo) = 0;
    virtual void impostaTag(int riga, int colonna, const QString &tag) = 0;

    // SortKey: 0-based column; SortOrder: 0 ascending, 1 descending;
    // setting Sorted to true orders the rows at once.
    virtual int sortKey() const = 0;
    virtual void setSortKey(int colonna) = 0;
    virtual int sortOrder() const = 0;
    virtual void setSortOrder(int ordine) = 0;
    virtual bool sorted() const = 0;
    virtual void setSorted(bool ordinata) = 0;

    // MousePointer: 0 default, 11 hourglass.
    virtual int mousePointer() const = 0;
    virtual void setMousePointer(int puntatore) = 0;
    // Freezes (true) or releases (false) the drawing of the list.
    virtual void congelaDisegno(bool congela) = 0;
};
