#include "ui/tables/usotabelle.h"

#include "store/stato.h"

#include <QHash>
#include <algorithm>

qint32 PosizioniLeggibili(qint32 conteggio, qsizetype tenuti)
{
    return std::clamp<qint32>(conteggio, 0, static_cast<qint32>(std::min<qsizetype>(tenuti, INT32_MAX)));
}

namespace {

// The IDs of a table, each with the position of its first entry, and a
// usage list long enough for the next ID and for every ID present.
template <typename Voce>
QHash<qint32, qint32> indicizza(const QList<Voce> &tabella, qint32 conteggio, qint32 prossimoID,
                                QList<qint32> &usi)
{
    const qint32 n = PosizioniLeggibili(conteggio, tabella.size());
    QHash<qint32, qint32> posizioni;
    posizioni.reserve(n);
    qint32 massimo = std::max<qint32>(prossimoID, 0);
    // Walking backwards leaves the lowest position for an ID met twice.
    for (qint32 i = n; i >= 1; --i) {
        const qint32 id = tabella[i - 1].ID;
        posizioni.insert(id, i);
        massimo = std::max(massimo, id);
    }
    usi = QList<qint32>(qsizetype(massimo) + 1, 0);
    return posizioni;
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
                                    .arg(c.Codice, tabella)
                                    .arg(id)};
}

} // namespace

ErroreTabelle ContaUtilizzi(const Stato &stato, UsoTabelle &uso)
{
    const auto tipi = indicizza(stato.Tipi, stato.NumTipi, stato.ProssimoIDTipo, uso.UsoTipi);
    const auto produttori = indicizza(stato.Produttori, stato.NumProduttori,
                                      stato.ProssimoIDProduttore, uso.UsoProduttori);
    const auto packages = indicizza(stato.Packages, stato.NumPackages, stato.ProssimoIDPackage,
                                    uso.UsoPackages);

    const qint32 n = PosizioniLeggibili(stato.NumComponenti, stato.Componenti.size());
    for (qint32 i = 1; i <= n; ++i) {
        const Componente &c = stato.componente(i);
        // An ID found in the hash always has a slot: the lists were sized
        // for the largest ID present.
        if (c.IDTipo > 0) {
            if (!tipi.contains(c.IDTipo))
                return voceMancante(c, QStringLiteral("il tipo"), c.IDTipo);
            ++uso.UsoTipi[c.IDTipo];
        }
        if (c.IDProduttore > 0) {
            if (!produttori.contains(c.IDProduttore))
                return voceMancante(c, QStringLiteral("il produttore"), c.IDProduttore);
            ++uso.UsoProduttori[c.IDProduttore];
        }
        if (c.IDPackage > 0) {
            if (!packages.contains(c.IDPackage))
                return voceMancante(c, QStringLiteral("il package"), c.IDPackage);
            ++uso.UsoPackages[c.IDPackage];
        }
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
