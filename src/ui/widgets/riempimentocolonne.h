#pragma once

#include <QList>
#include <QObject>

class ListaReport;

// One column's widths, in pixels, for DistribuisciLarghezze.
struct MisureColonna {
    int voluta = 0;     // the width asked for: the designed one or the one the user dragged
    int necessaria = 0; // the width its header and cells need to show whole
    int minima = 0;     // the narrowest it may become (its header's width; its need when it must not be cut)
};

// The widths of columns that share a given room. When their needs fit, the
// room is shared in proportion to the widths asked for, no column getting
// less than it needs (those are held at their need and the others share the
// rest); the widths then add up to the room exactly. When the needs do not
// fit but the minimums do, every column gives up the same part of what it
// needs beyond its minimum, and the widths again add up to the room. When
// not even the minimums fit, every column gets its minimum.
QList<int> DistribuisciLarghezze(const QList<MisureColonna> &colonne, int spazio);

// Keeps the shown columns of a report list filling the list's visible
// width: on a wider window they widen, in the proportions of the widths
// asked for; on a narrower one they narrow down to what their texts need,
// then text columns down to their header (their long texts are cut short
// with an ellipsis), while numbers and dates always show whole. So the list
// shows every column side by side with no horizontal scroll bar wherever
// the headers fit. A column the user drags keeps the new width as the one
// it asks for (and may be narrower than its texts); the next change of the
// list's size fills the width again in the new proportions.
//
// The helper sets the list's minimum width to what the headers need.
class RiempimentoColonne : public QObject {
public:
    // Starts from the columns' designed widths; the helper belongs to the list.
    explicit RiempimentoColonne(ListaReport *lista);

    // Measures the texts of the cells again (after the list was filled) and
    // fits the columns to the list's width.
    void adatta();

    // The widths asked for, one per shown column, left to right.
    QList<int> volute() const;
    // New widths asked for (remembered ones): a value below 1 or missing
    // leaves that column's as it was.
    void impostaVolute(const QList<int> &larghezze);

    // The width of the whole list (frame and vertical scroll bar included)
    // that shows every column at the width asked for, or wider where its
    // texts need it; and the width that shows every header.
    int larghezzaVoluta() const;
    int larghezzaMinima() const;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    QList<MisureColonna> misure() const;
    int cornice() const;
    void riempi();

    ListaReport *m_lista;
    QList<int> m_colonne; // the shown columns (0-based)
    QList<int> m_volute;
    QList<int> m_necessarie;
    QList<int> m_minime;
    bool m_inCorso = false;
};
