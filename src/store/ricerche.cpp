#include "store/ricerche.h"

#include "store/stato.h"

// Placeholder bodies: the lookups replace them.
qint32 PosTipoDaID(const Stato &, qint32) { return 0; }
qint32 PosProduttoreDaID(const Stato &, qint32) { return 0; }
qint32 PosPackageDaID(const Stato &, qint32) { return 0; }
qint32 PosComponenteDaCodice(const Stato &, const QString &) { return 0; }
qint32 IDTipoDaNome(const Stato &, const QString &) { return 0; }
qint32 IDProduttoreDaNome(const Stato &, const QString &) { return 0; }
qint32 IDPackageDaNome(const Stato &, const QString &) { return 0; }
