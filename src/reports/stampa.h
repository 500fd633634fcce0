#pragma once

#include <QList>
#include <QtGlobal>

struct Stato;
class Dialoghi;

// Writes the fixed-width listing of the given list rows (each row's position
// in Componenti, in list order) into Stampe, named after today's date.
// An empty list writes nothing. When the listing cannot be written the user
// is told and no partial file is left. Returns true when a file was written.
bool CreatFileStampa(const Stato &stato, const QList<qint32> &posizioniRighe, Dialoghi &dialoghi);
