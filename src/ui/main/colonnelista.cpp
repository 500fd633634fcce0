#include "ui/main/colonnelista.h"

QList<ListaReport::Colonna> ColonneListaComponenti()
{
    return {
        {QStringLiteral("CODICE"), QString(), 110, Qt::AlignLeft, false},
        {QStringLiteral("PRODUTTORE"), QString(), 125, Qt::AlignLeft, false},
        {QStringLiteral("TIPO"), QString(), 60, Qt::AlignLeft, false},
        {QStringLiteral("QTA"), QStringLiteral("NUMBER"), 50, Qt::AlignRight, false},
        {QStringLiteral("DATA"), QStringLiteral("DATE"), 90, Qt::AlignHCenter, false},
        {QString(), QStringLiteral("0"), 1, Qt::AlignLeft, true},
    };
}

ListaReport::Colonna ColonnaPosizione(const QString &titolo)
{
    return {titolo, QStringLiteral("NATURAL"), 90, Qt::AlignLeft, false};
}
