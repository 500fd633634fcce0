#pragma once

#include "movimenti/rigamovimento.h"

#include <QDateTime>
#include <QList>
#include <QString>

struct Percorsi;
struct Stato;
class Dialoghi;

// The dated copies of the data files. Besides the one copy in Backups that
// every start replaces, every start keeps the five data files (the four
// tables and Info.ini) as they were loaded in a folder of their own,
//     Backups/Copie/AAAA-MM-GG_hh-mm-ss/
// named after the moment of the start (a second copy within the same second
// gets "_2", "_3"...). Pruning keeps the copies of the last ten starts and
// the first copy of each of the last thirty days, never the newest.
//
// A copy is written into "<name>.parziale" and renamed into place once every
// file is on disk, so a copy that is there is complete; a ".parziale" folder
// is what a crash left, removed at the next start. A file equal to the same
// file of the newest copy is a hard link to it (no space, no time); the
// others are written afresh. The live data files are never linked: a user
// may edit them in place, which would change the copy as well.
//
// Each copy carries Riepilogo.txt with the number of components and the
// total of pieces, so that a list of the copies needs not load them.

inline constexpr int CopieRecentiTenute = 10; // starts
inline constexpr int GiorniTenuti = 30;       // days, today included

// The summary of a copy; componenti is -1 when it could not be worked out.
struct RiepilogoCopia {
    qint64 componenti = -1;
    qint64 pezzi = 0;

    bool noto() const { return componenti >= 0; }
};

struct CopiaDatata {
    QString nome;       // name of the folder, as "2026-12-07_09-05-33"
    QString percorso;   // the folder, without a trailing separator
    QDateTime momento;  // local date and time given by the name
    int progressivo = 1; // 1, or the number after the time in the name
};

// Test seam: a disk that is full or fails.
struct GuastoCopia {
    qint64 spazioLibero = -1; // free bytes the disk is taken to have; -1: ask the disk
    int fileGuasto = -1;      // writing the file with this index (0-4 data, 5 summary) fails
    bool interrompiPrimaDelNome = false; // stops dead before the rename, as a killed process
};

// Backups/Copie/, with the trailing separator.
QString CartellaCopie(const Percorsi &percorsi);

// The folder name of a copy made at that moment; progressivo above 1 is
// appended after an underscore.
QString NomeCopia(const QDateTime &momento, int progressivo = 1);

// The complete copies in Backups/Copie, newest first. Anything else there
// (a folder of another name, a file, a link) is not a copy.
QList<CopiaDatata> ElencoCopie(const Percorsi &percorsi);

// The summary of the copy: its Riepilogo.txt, or, when that is missing or
// damaged, what its files hold once loaded.
RiepilogoCopia LeggiRiepilogo(const CopiaDatata &copia);

// Which copies pruning keeps, given their moments newest first: the
// CopieRecentiTenute newest, and the first (earliest) copy of each of the
// GiorniTenuti days up to oggi.
QList<bool> CopieDaTenere(const QList<QDateTime> &momenti, const QDate &oggi);

// Writes a new copy of the five data files as they are now, named after
// Adesso(), with the summary given. The copy is refused, with nothing left
// behind, when it would leave the disk without room for one more save of
// the data files. False with a description in *errore.
bool CreaCopia(const Percorsi &percorsi, const RiepilogoCopia &riepilogo, CopiaDatata *creata = nullptr,
               QString *errore = nullptr, const GuastoCopia &guasto = {});

// Removes what a copy interrupted by a crash left in Backups/Copie.
void RimuoviCopieIncomplete(const Percorsi &percorsi);

// Removes the copies CopieDaTenere does not keep, as of Adesso(); the copy
// named daTenere (the one just made) stays whatever its date.
void PotaCopie(const Percorsi &percorsi, const QString &daTenere = QString());

// The step of a start, once the data is loaded and copied into Backups:
// leftovers removed, a new copy made, old ones pruned. A copy that cannot
// be made is a warning (the start goes on). Nothing is done in a folder
// opened read-only.
void CopiaDatataAllAvvio(const Stato &stato, Dialoghi &dialoghi);

// The warning shown when the copy of a start could not be made.
QString AvvisoCopiaNonCreata(const Percorsi &percorsi, const QString &descrizione);

// Goes back to a copy: the five data files as they are now are kept first
// as a new copy (in *salvata), then the copy's five files replace them,
// written as one set together with the history's "Ripristino" lines, one
// for each component the copy holds otherwise than the state (changed,
// added back or gone), so that the restore can be undone like any other
// operation. The state is not touched: the caller loads the files again.
// *indietro receives the lines that take the restore back, for RimettiCopia.
// False, with a description, when the copy is incomplete or either step
// failed; the data files and the history are then as they were.
bool RipristinaCopia(const Stato &stato, const CopiaDatata &copia, CopiaDatata *salvata = nullptr,
                     QString *errore = nullptr, const GuastoCopia &guasto = {},
                     QList<RigaMovimento> *indietro = nullptr);

// Puts the copy's five files in place as one set, keeping no copy of the
// current ones, with the given lines appended to the history in the same
// set: for putting back the copy RipristinaCopia just saved, with the
// lines that undo the restore.
bool RimettiCopia(const Percorsi &percorsi, const CopiaDatata &copia, QString *errore = nullptr,
                  const QList<RigaMovimento> &righe = {});

// Whether starts make copies (on unless turned off): the benchmark times a
// start without them. The program never turns them off.
void ImpostaCopieAllAvvio(bool attive);
