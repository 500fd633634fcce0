#pragma once

#include "movimenti/rigamovimento.h"

#include <QList>
#include <QString>
#include <QStringList>

struct Stato;

// Undoing an operation of the history as a new operation: every line of it
// is taken back, newest first, on the tables in memory, and each change
// made is a line of the undo ("Annullamento dell'operazione N"), so that an
// undo can itself be undone and nothing that happened after is lost.
//
//   created (Prima empty)  the component is removed again, its whole record
//                          kept in the undo's line;
//   removed (Dopo empty)   the record in Dettagli comes back, at the end of
//                          the table, with its ID; when another component
//                          holds that ID meanwhile, with the next free ID
//                          (the user is told);
//   changed                the quantity goes back to Prima, and each field
//                          of Dettagli that still holds the operation's new
//                          value goes back to the old one (a field changed
//                          since keeps its value; the user is told).
//
// A component changed since is one whose quantity is no longer the Dopo of
// the operation's line. The user chooses: stop, or apply the opposite of
// the operation's difference to the quantity it has now (a created
// component then stays, with that much less). A component no longer in the
// table is left out (the user is told).

enum class CambiatiDopo {
    Chiedi,            // a component changed since stops the undo: listed, nothing done
    ApplicaDifferenza, // such a component gets the opposite of the difference
};

struct ComponenteCambiato {
    qint32 id = 0;
    QString codice;
    qint32 atteso = 0;  // the quantity the operation left
    qint32 attuale = 0; // the quantity now

    bool operator==(const ComponenteCambiato &) const = default;
};

struct EsitoAnnullamento {
    // The undo cannot be done (a damaged line, a quantity beyond 32 bits, no
    // ID left, nothing left to undo); the state is unchanged.
    QString errore;
    // With CambiatiDopo::Chiedi, the components changed since; the state is
    // unchanged.
    QList<ComponenteCambiato> cambiati;
    // The lines of the undo, for SalvaOperazione; the state holds the undo.
    QList<RigaMovimento> righe;
    // What the user is told once the undo is saved.
    QStringList avvisi;

    bool fatto() const { return errore.isEmpty() && cambiati.isEmpty() && !righe.isEmpty(); }
};

// Undoes the operation whose lines are given (all of one operation, in
// file order) on the state. Only when the result is fatto() is the state
// changed: components, count, next ID and total of pieces.
EsitoAnnullamento AnnullaOperazione(Stato &stato, const QList<RigaMovimento> &righe, CambiatiDopo scelta);

// The question for the components changed since operation n: the first
// twenty listed, one a line; Yes applies the differences, No stops.
QString DomandaCambiati(qint64 operazione, const QList<ComponenteCambiato> &cambiati);
