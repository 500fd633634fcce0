#include "reports/stampa.h"

// Placeholder body: the listing writer replaces it.
bool CreatFileStampa(const Stato &, const QList<qint32> &, Dialoghi &) { return false; }
