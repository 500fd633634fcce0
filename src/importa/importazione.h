#pragma once

#include "importa/letturacsv.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

struct Stato;
struct GuastoScrittura;
class Dialoghi;

// A line of the file stands for a component already stored when the stock,
// as it is before the import, holds one with its code and, when the line
// names them, its manufacturer and its type: codes and names compared
// trimmed and upper-cased within Windows-1252 (MaiuscoloCp1252), as the
// tables window stores names; an empty cell narrows nothing. Lines of the
// file never stand for one another: a code twice in the file is two
// components. What to do with a line that stands for a stored component:
enum class CodiciEsistenti {
    Aggiungi,     // add it anyway, as a component of its own
    Salta,        // leave it out
    SommaQuantita // add its quantity to the stored component, nothing
                  // else of it is taken; when several stored components
                  // match, to none: the line is listed as ambiguous
};

// A line that matches several stored components, with their positions in
// table order.
struct RigaAmbigua {
    int numero = 0;
    QString codice;
    QList<qint32> posizioni;
    bool operator==(const RigaAmbigua &) const = default;
};

// What an import would do, worked out from the lines read without changing
// anything: the components to add (complete, with their IDs), the
// quantities to raise, the types, manufacturers and packages to create for
// names the tables do not have yet (names compared trimmed and upper-cased;
// a new one stored so, once, as the tables window would store it; a
// component takes the name of its table entry), and the lines left out.
struct PianoImportazione {
    // Not empty when the import cannot be done at all (no IDs left).
    QString errore;
    QList<Componente> nuovi;
    QList<std::pair<qint32, qint32>> quantita; // position in Componenti, new quantity
    qint32 saltati = 0;
    QList<RigaAmbigua> ambigue; // with SommaQuantita only: not imported
    QList<Tipo> nuoviTipi;
    QList<Produttore> nuoviProduttori;
    QList<Package> nuoviPackages;
    // The lines that cannot be read, and those whose quantity would go
    // beyond 32 bits when added; by line number.
    QList<ErroreRiga> errori;
    qsizetype erroriOmessi = 0; // unreadable lines counted but not kept

    bool vuoto() const { return nuovi.isEmpty() && quantita.isEmpty(); }
};

// The key codes and names are compared by: trimmed, upper-cased within
// Windows-1252, double quotes as single ones (as they are stored).
QString ChiaveNome(const QString &nome);

PianoImportazione PianificaImportazione(const Stato &stato, const LetturaCSV &lettura,
                                        CodiciEsistenti scelta);

// Carries out the plan: everything or nothing. The tables, counts and next
// IDs are changed on a copy, which is written in one crash-safe save
// together with the history's lines of the import ("Importazione <file>":
// one for each quantity changed and each component added); only when it
// succeeded does the copy replace the state. On a failure the user has seen
// "Errore nel salvataggio dei dati", memory is as before and the files too.
// Returns whether the import was done.
bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi,
                        const QString &file = {});
bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi,
                        const GuastoScrittura &guasto, const QString &file = {});
// The same for a plan made otherwise (receiving bags), its lines in the
// history under the given Movimento text.
bool EseguiPiano(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi, const GuastoScrittura &guasto,
                 const QString &movimento);
