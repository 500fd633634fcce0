#include "store/ini.h"

#include "store/stato.h"

// Placeholder bodies: the settings file code replaces them.
QString LeggiChiaveIni(const QString &, const QString &, const QString &predefinito, const QString &)
{
    return predefinito;
}
void ScriviChiaveIni(const QString &, const QString &, const QString &, const QString &) {}
bool LeggiInfo(Stato &, QString *) { return true; }
void ScriviInfo(const Stato &) {}
