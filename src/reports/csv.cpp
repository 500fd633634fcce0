#include "reports/csv.h"

// Placeholder body: the CSV writer replaces it.
bool EsportaCSV(const Stato &, Dialoghi &) { return false; }
