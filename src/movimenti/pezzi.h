#pragma once

#include "store/scritturasicura.h"

#include <QString>
#include <QtGlobal>

struct Stato;
class Dialoghi;

// Adding pieces to a component or taking them off in one step: the new
// quantity, one line of the history ("Aggiunta pezzi" or "Prelievo pezzi",
// with the user's note) and one save.

enum class VersoPezzi {
    Aggiunta,
    Prelievo,
};

// What asking for that many pieces does to a quantity.
struct CalcoloPezzi {
    qint64 pezzi = 0;    // the pieces really moved
    qint64 quantita = 0; // the quantity after
    // Adding: the quantity after does not fit 32 bits (nothing may be done).
    bool oltreMassimo = false;
    // Taking: more than the stock holds; pezzi and quantita are then what
    // taking all there is gives (nothing when there is none).
    bool oltreScorta = false;
};

CalcoloPezzi CalcolaPezzi(qint32 quantita, VersoPezzi verso, qint64 pezzi);

// Sets the quantity of the component at the position (1-based) and saves
// the tables with its line in the history. On failure the user has seen
// "Errore nel salvataggio dei dati" and memory is as it was.
bool SalvaPezzi(Stato &stato, Dialoghi &dialoghi, qint32 posizione, VersoPezzi verso, qint32 quantita,
                const QString &nota, const GuastoScrittura &guasto = {});
