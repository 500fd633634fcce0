#include "ricevi/etichettearvo.h"

#include <limits>

namespace {

constexpr QStringView Prefisso = u"ARVO:";

bool Spazio(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

} // namespace

bool LettoreEtichettaArvo::leggiConIntestazione(QStringView testo, Scansione *esito) const
{
    qsizetype inizio = 0;
    qsizetype fine = testo.size();
    while (inizio < fine && Spazio(testo[inizio]))
        ++inizio;
    while (fine > inizio && Spazio(testo[fine - 1]))
        --fine;
    const QStringView t = testo.mid(inizio, fine - inizio);
    if (!t.startsWith(Prefisso, Qt::CaseInsensitive))
        return false;
    esito->formato = FormatoScansione::EtichettaArvo;
    const QStringView numero = t.mid(Prefisso.size());
    qint64 id = 0;
    for (const QChar c : numero) {
        if (c < u'0' || c > u'9') {
            id = -1;
            break;
        }
        id = id * 10 + (c.unicode() - u'0');
        if (id > std::numeric_limits<qint32>::max())
            break;
    }
    if (numero.isEmpty() || id < 1 || id > std::numeric_limits<qint32>::max()) {
        esito->motivo = QStringLiteral("l'etichetta di Arvo \"%1\" non riporta un numero di componente valido").arg(t);
        return true;
    }
    esito->idComponente = qint32(id);
    return true;
}
