#include "components/regole.h"

// Placeholder bodies: the component rules replace them.
qint32 NumeroDaCodice(const QString &) { return 0; }
QString PulisciTesto(const QString &testo) { return testo; }
double Val(const QString &) { return 0; }
qint32 LongDaTesto(const QString &) { return 0; }
