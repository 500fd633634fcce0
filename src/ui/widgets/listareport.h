#pragma once

#include "listsort/listaordinabile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QTreeView;

// The report-style list used by the main window (LV) and by the three lists
// of the tables window (LVP, LVT, LVG): columns with headers, rows made of a
// text and a tag per cell, an optional check box per row, one selected row,
// and the sort properties the column sort works on (SortKey, SortOrder,
// Sorted). It stays fast with 100,000 rows: cells live in a plain table
// behind a Qt model, and bulk changes cost one model reset, not a signal per
// cell.
//
// Numbering follows the list's own conventions: rows are 1-based (0 = none);
// a column is addressed by its 0-based number, 0 being the row's own
// Text/Tag and k >= 1 its ListSubItems(k); column headers carry a 1-based
// Index.
//
// Mouse events reach the owner in this order for a click with either button:
// pressioneMouse, then rigaCliccata when the press was on a row (which also
// becomes the selected row), then rilascioMouse, then cliccata. Coordinates
// are pixels in the list's viewport, x measured from the left edge of the
// first column as the header reports the columns' left edges (so x compares
// directly with sinistraColonna and larghezzaColonna, horizontal scrolling
// included). The second press of a double click is reported like a press
// (pressioneMouse, rigaCliccata) and is followed by doppioClic.
//
// Keyboard users browse too: when the arrow keys (or Page Up/Down, Home, End)
// move the selection to another row, the list emits rigaCliccata for the new
// row and then cliccata, as a click on that row would.
//
// SortKey, SortOrder and Sorted: setting Sorted to true orders the rows at
// once by the texts of column SortKey (stable, character by character,
// ignoring case); check boxes, the selection and hidden columns travel with
// their rows. Rows added later are appended, not placed in order. The
// header shows the sort arrow on column SortKey in direction SortOrder while
// Sorted is true, and none once it is set to false.
class ListaReport : public QWidget, public ListaOrdinabile {
    Q_OBJECT
public:
    struct Colonna {
        QString titolo;
        QString tag;
        int larghezza = 100; // pixels
        Qt::Alignment allineamento = Qt::AlignLeft;
        // Kept with every row and sorted with it, but not shown to the user.
        bool nascosta = false;
    };

    explicit ListaReport(QWidget *parent = nullptr);
    ~ListaReport() override;

    // The view inside the control (for tests and for focus handling).
    QTreeView *vista() const;

    // Columns (fixed by the owner, usually once).
    void impostaColonne(const QList<Colonna> &colonne);
    const Colonna &colonna(int indice) const; // 1-based Index
    int sinistraColonna(int indice) const;    // left edge in pixels, 1-based Index
    int larghezzaColonna(int indice) const;   // width in pixels, 1-based Index

    // Rows.
    void svuota();
    // Appends a row: testi[0] is the row's text, testi[k] its sub-item k.
    // Missing trailing cells stay empty; texts beyond the last column are
    // not kept. Returns the new row's number.
    int aggiungiRiga(const QStringList &testi);
    // Appends many rows with one model change.
    void aggiungiRighe(const QList<QStringList> &righe);
    // Appends quante rows with one model change, their texts written by
    // scrivi(i, testi) straight into the cells of the i-th new row:
    // testi[0] is the row's text, testi[k] its sub-item k, numeroColonne()
    // of them, empty on entry. No list of rows is built on the way, which
    // matters with 100,000 rows.
    void aggiungiRighe(qsizetype quante, const std::function<void(qsizetype, QString *)> &scrivi);

    // Check boxes in the first column (off by default).
    void impostaCaselle(bool attive);
    bool spunta(int riga) const;
    void impostaSpunta(int riga, bool spuntata);

    // Selected row, 0 when none.
    int rigaSelezionata() const;
    void selezionaRiga(int riga);
    void mostraRiga(int riga); // scroll the row into view

    // Widens each shown column, where needed, so that its header and the
    // texts of its cells (with the check box in the first column, when there
    // are check boxes) show whole at the list's font; a column never becomes
    // narrower. With very many rows only the longest texts are measured.
    void adattaColonne();
    // The width a column needs for its header and cells (0-based column).
    int larghezzaNecessaria(int colonna) const;
    // The width the list needs to show all its columns side by side: the
    // shown columns, the frame and the vertical scroll bar.
    int larghezzaColonne() const;

    // Colours of the list's background and text.
    void impostaColori(const QColor &sfondo, const QColor &testo);

    // Highlighted rows, drawn in their own background and text colours (a
    // warning). The mark travels with its row through sorting and is
    // dropped when the list is emptied; rows added later are not marked.
    // impostaEvidenze marks exactly the given rows (1-based) with one model
    // change; a list that never marks a row pays nothing for the feature.
    void impostaEvidenze(const QList<int> &righe);
    bool evidenziata(int riga) const;
    void impostaColoriEvidenza(const QColor &sfondo, const QColor &testo);

    // ListaOrdinabile: what the column sort works on.
    int numeroRighe() const override;
    int numeroColonne() const override;
    QString tagColonna(int indice) const override;
    bool haCella(int riga, int colonna) const override;
    QString testo(int riga, int colonna) const override;
    QString tag(int riga, int colonna) const override;
    void impostaTesto(int riga, int colonna, const QString &testo) override;
    void impostaTag(int riga, int colonna, const QString &tag) override;
    int sortKey() const override;
    void setSortKey(int colonna) override;
    int sortOrder() const override;
    void setSortOrder(int ordine) override;
    bool sorted() const override;
    void setSorted(bool ordinata) override;
    int mousePointer() const override;
    void setMousePointer(int puntatore) override;
    void congelaDisegno(bool congela) override;

signals:
    void pressioneMouse(Qt::MouseButton pulsante, Qt::KeyboardModifiers modificatori, int x, int y);
    void rigaCliccata(int riga);
    void rilascioMouse(Qt::MouseButton pulsante, Qt::KeyboardModifiers modificatori, int x, int y);
    void cliccata();
    void doppioClic(int riga);
    void intestazioneCliccata(int indice); // 1-based column Index
    // The user ticked or unticked a row's check box.
    void spuntaCambiata(int riga, bool spuntata);

private:
    class Dati;
    Dati *d;
};
