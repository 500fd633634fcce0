#include "righelista.h"

#include "reports/datebrevi.h"
#include "store/stato.h"

#include <QTreeWidget>

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

void PreparaAlbero(QTreeWidget &albero)
{
    albero.setRootIsDecorated(false);
    albero.setUniformRowHeights(true);
    albero.setColumnCount(6);
    albero.setHeaderLabels({"CODICE", "PRODUTTORE", "TIPO", "QTA", "DATA", ""});
    albero.setColumnHidden(5, true);
    albero.resize(455, 583);
    albero.show();
}
