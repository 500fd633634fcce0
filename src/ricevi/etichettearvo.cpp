#include "ricevi/etichettearvo.h"

#include "etichette/codiceetichetta.h"

bool LettoreEtichettaArvo::leggiConIntestazione(QStringView testo, Scansione *esito) const
{
    if (!SembraEtichetta(testo))
        return false;
    esito->formato = FormatoScansione::EtichettaArvo;
    if (const std::optional<qint32> id = LeggiTestoEtichetta(testo))
        esito->idComponente = *id;
    else
        esito->motivo = QStringLiteral("l'etichetta di Arvo \"%1\" non riporta un numero di componente valido")
                            .arg(testo.trimmed());
    return true;
}
