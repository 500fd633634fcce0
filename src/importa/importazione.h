#pragma once

#include "importa/letturacsv.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

struct Stato;
struct GuastoScrittura;
class Dialoghi;

// What to do with a line whose code is already in the table (or was added
// by an earlier line of the same file).
enum class CodiciEsistenti {
    Aggiungi,     // add it anyway, as a component of its own
    Salta,        // leave it out
    SommaQuantita // add its quantity to the existing component (the first
                  // with that code), nothing else of it is taken
};

// What an import would do, worked out from the lines read without changing
// anything: the components to add (complete, with their IDs), the
// quantities to raise, the types, manufacturers and packages to create for
// names the tables do not have yet (exact, case-sensitive comparison, as
// the program looks names up), and the lines left out.
struct PianoImportazione {
    // Not empty when the import cannot be done at all (no IDs left).
    QString errore;
    QList<Componente> nuovi;
    QList<std::pair<qint32, qint32>> quantita; // position in Componenti, new quantity
    qint32 saltati = 0;
    QList<Tipo> nuoviTipi;
    QList<Produttore> nuoviProduttori;
    QList<Package> nuoviPackages;
    // The lines that cannot be read, and those whose quantity would go
    // beyond 32 bits when added; by line number.
    QList<ErroreRiga> errori;
    qsizetype erroriOmessi = 0; // unreadable lines counted but not kept

    bool vuoto() const { return nuovi.isEmpty() && quantita.isEmpty(); }
};

PianoImportazione PianificaImportazione(const Stato &stato, const LetturaCSV &lettura,
                                        CodiciEsistenti scelta);

// Carries out the plan: everything or nothing. The tables, counts and next
// IDs are changed on a copy, which SalvaDatabase writes in one crash-safe
// save; only when it succeeded does the copy replace the state. On a
// failure the user has seen "Errore nel salvataggio dei dati", memory is as
// before and the files too. Returns whether the import was done.
bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi);
bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi,
                        const GuastoScrittura &guasto);
