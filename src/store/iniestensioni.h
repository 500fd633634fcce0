#pragma once

class FileIni;
struct Stato;

// The settings of the optional features, in Info.ini sections of their own
// so that older versions read the file unchanged:
//   [Scorta]  Campo minimo=N              custom field 1-6 holding the minimum stock
//   [Ricerca] Cerca nella descrizione=True/False
//   [Posizione] Campo=N           custom field 1-6 holding the location; 0 = none
// A key is written only when its value differs from the default or the key
// is already in the file: a database that never used a feature keeps
// exactly the Info.ini it always had.
//
// Reading: a field number that is not a whole number from 1 to 6 gives
// field 1 for the minimum and none (0) for the location; the search option is on only for "True" or "Vero", as the other
// Boolean options of the file.
void LeggiOpzioniEstese(const FileIni &ini, Stato &stato);
void ScriviOpzioniEstese(FileIni &ini, const Stato &stato);
