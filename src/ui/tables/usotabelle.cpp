#include "ui/tables/usotabelle.h"

#include "store/stato.h"

#include <algorithm>

qint32 PosizioniLeggibili(qint32 conteggio, qsizetype tenuti)
{
    return std::clamp<qint32>(conteggio, 0, static_cast<qint32>(std::min<qsizetype>(tenuti, INT32_MAX)));
}

namespace {

// Indexes a table's IDs (the lowest position wins for an ID met twice) and
// zeroes its usage.
template <typename Voce>
void indicizza(const QList<Voce> &tabella, qint32 conteggio, UsoTabella &uso)
{
    const qint32 n = PosizioniLeggibili(conteggio, tabella.size());
    uso.primaPosizione.clear();
    uso.primaPosizione.reserve(n);
    // Walking backwards leaves the lowest position for an ID met twice.
    for (qint32 i = n; i >= 1; --i)
        uso.primaPosizione.insert(tabella[i - 1].ID, i);
    uso.usi = QList<qint32>(qsizetype(n) + 1, 0);
}

// Adds one use of the ID; false when no entry has it.
bool conta(UsoTabella &uso, qint32 id)
{
    const auto it = uso.primaPosizione.constFind(id);
    if (it == uso.primaPosizione.constEnd())
        return false;
    ++uso.usi[*it];
    return true;
}

template <typename Voce>
qint32 primaPosizione(const QList<Voce> &tabella, qint32 conteggio, qint32 id)
{
    const qint32 n = PosizioniLeggibili(conteggio, tabella.size());
    for (qint32 i = 1; i <= n; ++i)
        if (tabella[i - 1].ID == id)
            return i;
    return 0;
}

ErroreTabelle voceMancante(const Componente &c, const QString &tabella, qint32 id)
{
    return {ErroreIndice, DescrizioneErroreIndice
                              + QStringLiteral(" (il componente %1 usa %2 con ID %3, che non esiste)")
                                    .arg(c.Codice, tabella, QString::number(id))};
}

} // namespace

ErroreTabelle ContaUtilizzi(const Stato &stato, UsoTabelle &uso)
{
    indicizza(stato.Tipi, stato.NumTipi, uso.UsoTipi);
    indicizza(stato.Produttori, stato.NumProduttori, uso.UsoProduttori);
    indicizza(stato.Packages, stato.NumPackages, uso.UsoPackages);

    const qint32 n = PosizioniLeggibili(stato.NumComponenti, stato.Componenti.size());
    for (qint32 i = 1; i <= n; ++i) {
        const Componente &c = stato.componente(i);
        if (c.IDTipo > 0 && !conta(uso.UsoTipi, c.IDTipo))
            return voceMancante(c, QStringLiteral("il tipo"), c.IDTipo);
        if (c.IDProduttore > 0 && !conta(uso.UsoProduttori, c.IDProduttore))
            return voceMancante(c, QStringLiteral("il produttore"), c.IDProduttore);
        if (c.IDPackage > 0 && !conta(uso.UsoPackages, c.IDPackage))
            return voceMancante(c, QStringLiteral("il package"), c.IDPackage);
    }
    if (stato.NumComponenti > n)
        return {ErroreIndice, DescrizioneErroreIndice
                                  + QStringLiteral(" (componenti annunciati %1, presenti %2)")
                                        .arg(stato.NumComponenti)
                                        .arg(n)};
    return {};
}

qint32 TrovaTipoDaID(const Stato &stato, qint32 id)
{
    return primaPosizione(stato.Tipi, stato.NumTipi, id);
}

qint32 TrovaProduttoreDaID(const Stato &stato, qint32 id)
{
    return primaPosizione(stato.Produttori, stato.NumProduttori, id);
}

qint32 IndicePackageDaID(const Stato &stato, qint32 curId)
{
    return primaPosizione(stato.Packages, stato.NumPackages, curId);
}
