#pragma once

struct Stato;
class Dialoghi;

// Replaces the four tables by the content of the four table files, reading
// as many records as the counts from Info.ini say. On failure shows
// "Errore nell'apertura files del DB" and returns false; the caller ends the
// program.
bool CaricaDatabase(Stato &stato, Dialoghi &dialoghi);

// Writes Info.ini and the four table files from memory, then recomputes the
// total of pieces. On failure shows "Errore nel salvataggio dei dati" and
// returns false; memory is unchanged and the files on disk still load.
bool SalvaDatabase(Stato &stato, Dialoghi &dialoghi);

// Sets TotalePezzi to the sum of the quantities of the components.
void ContaPezzi(Stato &stato);
