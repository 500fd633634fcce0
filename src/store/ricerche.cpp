#include "store/ricerche.h"

#include "store/stato.h"

namespace {

// Position (1-based) of the first of positions 1 to num matching, or 0.
template <typename T, typename F>
qint32 primaPosizione(const QList<T> &tabella, qint32 num, F corrisponde)
{
    const qint32 n = qMin<qsizetype>(num, tabella.size());
    for (qint32 i = 0; i < n; ++i) {
        if (corrisponde(tabella[i]))
            return i + 1;
    }
    return 0;
}

template <typename T>
qint32 idDaNome(const QList<T> &tabella, qint32 num, const QString &nome)
{
    const qint32 pos = primaPosizione(tabella, num, [&](const T &r) { return r.Nome == nome; });
    return pos > 0 ? tabella[pos - 1].ID : 0;
}

} // namespace

qint32 PosTipoDaID(const Stato &stato, qint32 id)
{
    return primaPosizione(stato.Tipi, stato.NumTipi, [id](const Tipo &t) { return t.ID == id; });
}

qint32 PosProduttoreDaID(const Stato &stato, qint32 id)
{
    return primaPosizione(stato.Produttori, stato.NumProduttori,
                          [id](const Produttore &p) { return p.ID == id; });
}

qint32 PosPackageDaID(const Stato &stato, qint32 id)
{
    return primaPosizione(stato.Packages, stato.NumPackages,
                          [id](const Package &p) { return p.ID == id; });
}

qint32 PosComponenteDaCodice(const Stato &stato, const QString &codice)
{
    return primaPosizione(stato.Componenti, stato.NumComponenti,
                          [&](const Componente &c) { return c.Codice == codice; });
}

qint32 IDTipoDaNome(const Stato &stato, const QString &nome)
{
    return idDaNome(stato.Tipi, stato.NumTipi, nome);
}

qint32 IDProduttoreDaNome(const Stato &stato, const QString &nome)
{
    return idDaNome(stato.Produttori, stato.NumProduttori, nome);
}

qint32 IDPackageDaNome(const Stato &stato, const QString &nome)
{
    return idDaNome(stato.Packages, stato.NumPackages, nome);
}
