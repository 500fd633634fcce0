#pragma once

#include <QString>
#include <QtGlobal>

struct Stato;

// Lookups over positions 1 to the count, in table order; the first match
// wins; names and codes are compared exactly (case-sensitive). Each returns 0
// when nothing matches or the table is empty.
qint32 PosTipoDaID(const Stato &stato, qint32 id);
qint32 PosProduttoreDaID(const Stato &stato, qint32 id);
qint32 PosPackageDaID(const Stato &stato, qint32 id);
qint32 PosComponenteDaCodice(const Stato &stato, const QString &codice);
qint32 IDTipoDaNome(const Stato &stato, const QString &nome);
qint32 IDProduttoreDaNome(const Stato &stato, const QString &nome);
qint32 IDPackageDaNome(const Stato &stato, const QString &nome);
