#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QtGlobal>

struct Stato;

// How many components use the entries of one lookup table. The usage of an
// entry is the usage of its ID; entries that share an ID share it. Counts are
// kept per first position of each ID, so the memory needed follows the size
// of the table, whatever values the IDs (or the next-ID counter) hold.
struct UsoTabella {
    QHash<qint32, qint32> primaPosizione; // ID -> first position holding it
    QList<qint32> usi;                    // by first position; index 0 unused

    // The number of components that refer to this ID; 0 for an ID no entry has.
    qint32 uso(qint32 id) const
    {
        const auto it = primaPosizione.constFind(id);
        return it == primaPosizione.constEnd() ? 0 : usi[*it];
    }
};

struct UsoTabelle {
    UsoTabella UsoTipi;
    UsoTabella UsoProduttori;
    UsoTabella UsoPackages;
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

// Rebuilds the three usages from scratch, then adds up, in table order, the
// type, manufacturer and package of every component (an ID of 0 or below
// means "none"). A component that refers to an ID no entry has stops the
// count with an error naming the component and the ID; the components before
// it stay counted. Each table is indexed once in a hash of its IDs, so the
// cost grows with components plus entries, not with their product.
ErroreTabelle ContaUtilizzi(const Stato &stato, UsoTabelle &uso);

// Position (1-based) of the first entry, from position 1 upward, whose ID is
// the given one; 0 when there is none or the table is empty.
qint32 TrovaTipoDaID(const Stato &stato, qint32 id);
qint32 TrovaProduttoreDaID(const Stato &stato, qint32 id);
qint32 IndicePackageDaID(const Stato &stato, qint32 curId);

// Number of table positions that can be read: the count, but never more than
// the records actually held.
qint32 PosizioniLeggibili(qint32 conteggio, qsizetype tenuti);
