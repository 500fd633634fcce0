#pragma once

#include <QByteArray>

struct Stato;

// A history of n lines over the components of the state, as Movimenti.csv
// holds it: operations of one to five lines of every kind, one line in
// fifty removing a component (its whole record in the line), a note now and
// then. The same seed gives the same file.
QByteArray StoricoFinto(const Stato &s, qint64 n, quint32 seme = 7);
