#pragma once

#include <QString>
#include <QtGlobal>

struct Stato;

// Fills the tables and counters of the state with a consistent database of
// n components: realistic codes (74HC00, BC547B, LM317T, 1N4148, NE555 and
// their variations), several types, manufacturers and packages, dates over
// twenty years, some datasheets and pictures named. The same seed gives the
// same database.
void GeneraDatabase(Stato &stato, int n, quint32 seme = 20241009);

// Writes a program folder holding such a database (Info.ini, the four table
// files and the sub-folders), as the program itself would. False on failure.
bool GeneraCartella(const QString &cartella, int n, quint32 seme = 20241009);
