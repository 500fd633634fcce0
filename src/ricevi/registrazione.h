#pragma once

#include "importa/importazione.h"

#include <QList>
#include <QString>

struct Stato;
struct GuastoScrittura;
class Dialoghi;

// Registering the bags of an order: the pieces of each bag go to the
// component chosen for it, or to a new component made from what the bag
// says; all of it in one crash-safe save with one operation "Ricevimento"
// of the history, which can be undone as any other.

// One bag (or several of one part, summed) as the receiving window settled it.
struct VoceRicevimento {
    QString codice;      // the manufacturer's part number
    QString produttore;  // the manufacturer's name as read; empty when unknown
    QString descrizione; // for a new component: e.g. the distributor's part number
    qint64 pezzi = 0;
    qint32 id = 0;       // the component the pieces go to; 0: a new component
};

// The plan of the registration. New components take the code upper-cased
// (double quotes as single ones, as the editor stores them), the type given
// (created when the tables lack it), the manufacturer matched by name as an
// import matches it (created when missing), today's date; bags of one new
// part (same code and manufacturer) make one component. The quantities of
// chosen components grow by their pieces. Each voce that cannot be
// registered is an error with its number (from 1) in piano.errori: no
// pieces, a component no longer there, a quantity beyond the 32-bit limit,
// no code, a character the data files cannot hold.
PianoImportazione PianificaRicevimento(const Stato &stato, const QList<VoceRicevimento> &voci,
                                       const QString &tipo);

// Carries out a plan without errors (EseguiPiano with "Ricevimento"): false,
// memory and files unchanged, when it has errors or the save fails (the user
// was told by the save).
bool RegistraRicevimento(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi);
bool RegistraRicevimento(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi,
                         const GuastoScrittura &guasto);
