#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

struct Stato;

// How many components use each entry of the three lookup tables. Each list
// is indexed by entry ID (index 0 unused) and is at least as long as the
// table's next ID, so every ID handed out so far has a slot.
struct UsoTabelle {
    QList<qint32> UsoTipi;
    QList<qint32> UsoProduttori;
    QList<qint32> UsoPackages;

    // The usage stored for an ID; 0 for an ID without a slot.
    static qint32 uso(const QList<qint32> &usi, qint32 id)
    {
        return id >= 1 && id < usi.size() ? usi[id] : 0;
    }
};

// An error met while reading the tables: the program's own error number and
// its Italian description. Number 0 means no error.
struct ErroreTabelle {
    int numero = 0;
    QString descrizione;
    bool presente() const { return numero != 0; }
};

// "Subscript out of range": a position or ID outside its table.
inline constexpr int ErroreIndice = 9;
inline const QString DescrizioneErroreIndice = QStringLiteral("Indice non compreso nell'intervallo");

// Rebuilds the three usage lists from scratch, then adds up, in table order,
// the type, manufacturer and package of every component (an ID of 0 or
// below means "none"). A component that refers to an ID no entry has stops
// the count with an error naming the component and the ID; the components
// before it stay counted. Each table is searched once through a hash of
// its IDs, so the cost grows with components plus entries, not their
// product.
ErroreTabelle ContaUtilizzi(const Stato &stato, UsoTabelle &uso);

// Position (1-based) of the first entry, from position 1 upward, whose ID is
// the given one; 0 when there is none or the table is empty.
qint32 TrovaTipoDaID(const Stato &stato, qint32 id);
qint32 TrovaProduttoreDaID(const Stato &stato, qint32 id);
qint32 IndicePackageDaID(const Stato &stato, qint32 curId);

// Number of table positions that can be read: the count, but never more than
// the records actually held.
qint32 PosizioniLeggibili(qint32 conteggio, qsizetype tenuti);
