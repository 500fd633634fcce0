#pragma once

#include <QByteArray>
#include <QString>

struct Stato;

// One key of an INI file, with the platform's rules: section and key names
// match without regard to case, blanks at both ends of a value are dropped,
// a value is cut to 2047 characters, a missing file/section/key gives the
// default, an existing key with an empty value gives the empty text.
QString LeggiChiaveIni(const QString &sezione, const QString &chiave,
                       const QString &predefinito, const QString &file);

// The same rules on a file already in memory.
class FileIni;
QString LeggiChiaveIni(const FileIni &ini, const QString &sezione, const QString &chiave,
                       const QString &predefinito);

// Sets one key: replaced in place, added at the end of its section, or a new
// section at the end of the file; a missing file is created. Failures are
// ignored.
void ScriviChiaveIni(const QString &sezione, const QString &chiave,
                     const QString &valore, const QString &file);

// Reads every setting and counter of Info.ini into the state. Returns false
// when a counter is not a number, with a description of the failure.
bool LeggiInfo(Stato &stato, QString *errore = nullptr);
// The same from the content of the file, already read.
bool LeggiInfo(Stato &stato, const QByteArray &contenuto, QString *errore = nullptr);

// Writes every setting and counter of the state into Info.ini; nothing for
// a read-only state.
void ScriviInfo(const Stato &stato);

// The content Info.ini has after ScriviInfo, given its current content
// (empty when there is no file): what SalvaDatabase writes.
QByteArray ContenutoInfo(const Stato &stato, const QByteArray &attuale);
