#include "components/descrizione.h"

#include "store/localeutente.h"
#include "store/records.h"

#include <QStringList>

QString DescriviComponente(const Componente &c, bool completo)
{
    QStringList parti{c.Codice};
    if (!c.NomeProduttore.isEmpty())
        parti << c.NomeProduttore;
    if (!c.NomeTipo.isEmpty())
        parti << c.NomeTipo;
    parti << QStringLiteral("%1 pz").arg(c.Quantita);
    if (completo) {
        if (c.DataInserimento.isValid())
            parti << QStringLiteral("inserito il ") + DataBreve(c.DataInserimento.date());
        if (!c.Descrizione.isEmpty())
            parti << c.Descrizione.left(60);
    }
    return parti.join(QStringLiteral(" - "));
}
