#pragma once

struct Stato;
class Dialoghi;

// Exports the whole component table to Exported/CSVlist.csv with the chosen
// separator. On failure shows "Database non generato" and returns false.
bool EsportaCSV(const Stato &stato, Dialoghi &dialoghi);
