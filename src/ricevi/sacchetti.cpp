#include "ricevi/sacchetti.h"

#include "store/cp1252.h"

QString ChiaveLottoOrdine(const Scansione &s)
{
    if (!s.leggibile() || s.lotto.isEmpty()
        || (s.ordineCliente.isEmpty() && s.ordine.isEmpty() && s.fattura.isEmpty()))
        return {};
    return QStringList{MaiuscoloCp1252(s.codice), s.lotto, s.ordineCliente, s.ordine, s.fattura}.join(QChar(0x1f));
}

QString ContenutoScansione(const Scansione &s)
{
    if (!s.leggibile())
        return {};
    QStringList parti{QString::number(int(s.formato)), s.codice, QString::number(s.idComponente),
                      QString::number(s.quantita), s.produttore,
                      s.codiceDistributore, s.ordineCliente, s.ordine, s.fattura, s.lotto, s.dataCodice, s.paese};
    for (const CampoScansione &c : s.altri)
        parti << c.identificatore + u'=' + c.valore;
    return parti.join(QChar(0x1f));
}

qsizetype SacchettoGiaLetto(const QList<Scansione> &lette, const Scansione &nuova)
{
    const QString contenuto = ContenutoScansione(nuova);
    if (contenuto.isEmpty())
        return -1;
    const QString chiave = ChiaveLottoOrdine(nuova);
    for (qsizetype i = 0; i < lette.size(); ++i) {
        if (ContenutoScansione(lette[i]) == contenuto)
            return i;
        if (!chiave.isEmpty() && ChiaveLottoOrdine(lette[i]) == chiave)
            return i;
    }
    return -1;
}
