#include "righelista.h"

#include "reports/datebrevi.h"
#include "store/stato.h"

#include <QTreeWidget>

QList<ListaReport::Colonna> ColonneListaPrincipale()
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

QList<QStringList> RigheListaPrincipale(const Stato &stato)
{
    QList<QStringList> righe;
    righe.reserve(stato.NumComponenti);
    DateBrevi date;
    for (qint32 pos = 1; pos <= stato.NumComponenti; ++pos) {
        const Componente &c = stato.componente(pos);
        righe.append({c.Codice, c.NomeProduttore, c.NomeTipo, QString::number(c.Quantita),
                      date.testo(c.DataInserimento), QString::number(pos)});
    }
    return righe;
}

void RiempiAlbero(QTreeWidget &albero, const QList<QStringList> &righe)
{
    albero.clear();
    QList<QTreeWidgetItem *> elementi;
    elementi.reserve(righe.size());
    for (const QStringList &r : righe)
        elementi.append(new QTreeWidgetItem(r));
    albero.addTopLevelItems(elementi);
}
