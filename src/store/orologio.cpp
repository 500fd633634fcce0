#include "store/orologio.h"

namespace {
QDate &oggiFissato()
{
    static QDate data;
    return data;
}

QDateTime &adessoFissato()
{
    static QDateTime momento;
    return momento;
}
} // namespace

QDate Oggi()
{
    const QDate &fissato = oggiFissato();
    return fissato.isValid() ? fissato : QDate::currentDate();
}

void ImpostaOggi(const QDate &data)
{
    oggiFissato() = data;
}

QDateTime Adesso()
{
    const QDateTime &fissato = adessoFissato();
    return fissato.isValid() ? fissato : QDateTime::currentDateTime();
}

void ImpostaAdesso(const QDateTime &momento)
{
    adessoFissato() = momento;
}
