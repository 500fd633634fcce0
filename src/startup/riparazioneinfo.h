#pragma once

#include "store/tabelle.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct Percorsi;
struct Stato;

// Info.ini holds the counts and next IDs of the four tables, but the table
// files are the truth: a start that finds Info.ini missing, unreadable,
// saved in another encoding by an editor, with counts lower than the records
// of the files or next IDs already in use, loads every record, takes the
// counts and next IDs from the files, keeps whatever setting it can still
// read, writes a repaired Info.ini and tells the user once. A consistent
// folder never comes here.
struct RiparazioneInfo {
    enum class File {
        Sano,          // read as it is
        Mancante,      // not there, while the table files hold records
        Illeggibile,   // a folder, a FIFO, a file this user may not read...
        AltraCodifica, // saved as UTF-16 or UTF-8 with a byte-order mark
    };
    struct IDCorretto {
        TabellaFile tabella;
        qint32 prima; // as Info.ini gave it
        qint32 dopo;  // one past the largest ID in use
    };

    File file = File::Sano;
    QString codifica; // with AltraCodifica: "UTF-16" or "UTF-8"
    QList<ConteggioCorretto> conteggi;
    QList<IDCorretto> prossimiID;

    bool necessaria() const
    {
        return file != File::Sano || !conteggi.isEmpty() || !prossimiID.isEmpty();
    }
};

// The bytes of Info.ini as the settings reader takes them: Windows-1252 as
// they are; a file that an editor saved as UTF-16 or UTF-8 (told by its
// byte-order mark) turned into Windows-1252, its encoding named in
// *codifica (left empty otherwise).
QByteArray IniInCp1252(const QByteArray &grezzo, QString *codifica);

// Whether any of the four table files holds anything but blanks.
bool TabelleConDati(const Percorsi &percorsi);

// Raises each next ID at or below an ID in use to one past the largest,
// listing what it changed.
void CorreggiProssimiID(Stato &stato, QList<RiparazioneInfo::IDCorretto> *corretti);

// Puts the repair on disk in one crash-safe set: the old Info.ini kept
// beside it as "Info.ini.danneggiato" (".2", ".3"... when taken) and the
// repaired one, built on the old content (base, in Windows-1252) so that
// every line it can keep is kept. An old Info.ini that is no regular file is
// moved aside instead. *conservato receives the path of the kept file, empty
// when there was none. False, with a description, when nothing could be
// written.
bool ScriviInfoRiparato(const Stato &stato, RiparazioneInfo::File file, const QByteArray &vecchio,
                        const QByteArray &base, QString *conservato, QString *errore);

// What the user is told: what was wrong, what the files hold, where the old
// file is; errore, when not empty, says the repaired file could not be written.
QString TestoRiparazione(const RiparazioneInfo &r, const Stato &stato, const QString &conservato,
                         const QString &errore);
