#include "store/orologio.h"

namespace {
QDate &oggiFissato()
{
    static QDate data;
    return data;
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
