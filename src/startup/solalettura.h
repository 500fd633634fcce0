#pragma once

#include <QString>

struct Stato;
class Dialoghi;

// A folder another copy holds may still be looked at: read as it is, with
// nothing written into it, not even what a start writes (the recovery of an
// interrupted save, the test of the temporaries, the first-start files, the
// rewrite of Info.ini, the backup). Listings and exports go into a temporary
// folder of their own, which the user is told about.

inline const QString DomandaSolaLettura = QStringLiteral("Aprire l'archivio in sola lettura?");

// Shows the lock's message followed by the question, with Sì and No. On Sì
// the state is set up for a read-only start (PreparaSolaLettura) and true is
// returned; on No, or when the temporary folder cannot be made (its message
// already shown), false: the program ends having written nothing.
bool ChiediSolaLettura(Stato &stato, Dialoghi &dialoghi, const QString &testoBlocco);

// Sets SolaLettura and points the listing and export folders at a new
// temporary folder that lives as long as the state. False, with a
// description, when the temporary folder cannot be made; the state is then
// unchanged.
bool PreparaSolaLettura(Stato &stato, QString *errore);

// The temporary folder of a read-only state as the user reads it; empty
// when the state is not read-only.
QString CartellaUscitaSolaLettura(const Stato &stato);
