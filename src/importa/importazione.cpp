#include "importa/importazione.h"

#include "components/regole.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 IDMassimo = std::numeric_limits<qint32>::max();

qint32 Validi(qsizetype conteggio, qsizetype memoria)
{
    return static_cast<qint32>(std::clamp<qsizetype>(conteggio, 0, memoria));
}

// Names of a table to IDs, the first entry winning as in the lookups by
// name; names not found get the next IDs, in order of first appearance.
template <typename Voce>
class Nomi {
public:
    Nomi(const QList<Voce> &tabella, qint32 num, qint32 prossimo) : m_prossimo(prossimo)
    {
        for (qint32 i = 0; i < num; ++i)
            m_id.insert(tabella[i].Nome, tabella[i].ID);
        // insert() keeps the last: put the first back on top.
        for (qint32 i = num - 1; i >= 0; --i)
            m_id[tabella[i].Nome] = tabella[i].ID;
    }

    // The ID of a name, 0 for the empty one; a new name is added to nuovi.
    qint32 id(const QString &nome, QList<Voce> *nuovi)
    {
        if (nome.isEmpty())
            return 0;
        const auto it = m_id.constFind(nome);
        if (it != m_id.constEnd())
            return *it;
        Voce v;
        v.ID = m_prossimo++;
        v.Nome = nome;
        nuovi->append(v);
        m_id.insert(nome, v.ID);
        return v.ID;
    }
    qint64 prossimo() const { return m_prossimo; }

private:
    QHash<QString, qint32> m_id;
    qint64 m_prossimo;
};

template <typename Voce>
void Accoda(QList<Voce> &tabella, qint32 &num, qint32 &prossimo, const QList<Voce> &nuove)
{
    if (nuove.isEmpty())
        return;
    // Slots past the count are spare: the new entries go right after it.
    tabella.resize(num);
    tabella.append(nuove);
    num += qint32(nuove.size());
    prossimo = nuove.last().ID + 1;
}

} // namespace

PianoImportazione PianificaImportazione(const Stato &stato, const LetturaCSV &lettura,
                                        CodiciEsistenti scelta)
{
    PianoImportazione piano;
    piano.errori = lettura.errori;
    piano.erroriOmessi = lettura.erroriOmessi;
    const qint32 numComponenti = Validi(stato.NumComponenti, stato.Componenti.size());
    Nomi<Tipo> tipi(stato.Tipi, Validi(stato.NumTipi, stato.Tipi.size()), stato.ProssimoIDTipo);
    Nomi<Produttore> produttori(stato.Produttori, Validi(stato.NumProduttori, stato.Produttori.size()),
                                stato.ProssimoIDProduttore);
    Nomi<Package> packages(stato.Packages, Validi(stato.NumPackages, stato.Packages.size()),
                           stato.ProssimoIDPackage);

    // Codes already there: the first position of each; codes added by this
    // import: minus one minus their index in nuovi.
    QHash<QString, qint32> codici;
    if (scelta != CodiciEsistenti::Aggiungi) {
        codici.reserve(numComponenti + lettura.righe.size());
        for (qint32 pos = numComponenti; pos >= 1; --pos)
            codici[stato.componente(pos).Codice] = pos;
    }
    QHash<qint32, qsizetype> aggiornate; // position -> index in piano.quantita

    qint64 prossimoID = stato.ProssimoIDComponente;
    for (const RigaCSV &riga : lettura.righe) {
        const Componente &letto = riga.componente;
        if (scelta != CodiciEsistenti::Aggiungi) {
            const auto it = codici.constFind(letto.Codice);
            if (it != codici.constEnd()) {
                if (scelta == CodiciEsistenti::Salta) {
                    ++piano.saltati;
                    continue;
                }
                // The quantity it adds to: a component this import adds, or
                // a stored one (whose new quantity is kept in the plan).
                const auto a = *it < 0 ? aggiornate.constEnd() : aggiornate.constFind(*it);
                const qint32 attuale = *it < 0                       ? piano.nuovi[-*it - 1].Quantita
                                       : a != aggiornate.constEnd() ? piano.quantita[*a].second
                                                                    : stato.componente(*it).Quantita;
                const qint64 somma = qint64(attuale) + letto.Quantita;
                if (somma > std::numeric_limits<qint32>::max() || somma < std::numeric_limits<qint32>::min()) {
                    piano.errori.append({riga.numero, QStringLiteral("la quantit\u00e0 sommata a quella di %1 "
                                                                     "supererebbe il limite")
                                                          .arg(letto.Codice)});
                    continue;
                }
                if (*it < 0)
                    piano.nuovi[-*it - 1].Quantita = qint32(somma);
                else if (a != aggiornate.constEnd())
                    piano.quantita[*a].second = qint32(somma);
                else {
                    piano.quantita.append({*it, qint32(somma)});
                    aggiornate.insert(*it, piano.quantita.size() - 1);
                }
                continue;
            }
        }
        Componente c = letto;
        c.ID = qint32(std::min(prossimoID, IDMassimo));
        ++prossimoID;
        c.CodiceNumerico = NumeroDaCodice(c.Codice);
        c.IDTipo = tipi.id(c.NomeTipo, &piano.nuoviTipi);
        c.IDProduttore = produttori.id(c.NomeProduttore, &piano.nuoviProduttori);
        c.IDPackage = packages.id(riga.package, &piano.nuoviPackages);
        piano.nuovi.append(std::move(c));
        if (scelta != CodiciEsistenti::Aggiungi)
            codici.insert(piano.nuovi.last().Codice, -qint32(piano.nuovi.size()));
    }
    std::stable_sort(piano.errori.begin(), piano.errori.end(),
                     [](const ErroreRiga &a, const ErroreRiga &b) { return a.numero < b.numero; });

    // Every new record takes an ID from its counter, which must stay a
    // 32-bit value: a counter that would pass it refuses the whole import.
    const auto esauriti = [](qint64 prossimo, const char *chiave) {
        return prossimo > IDMassimo
            ? QStringLiteral("Impossibile importare: gli ID disponibili sono esauriti.\r\n"
                             "Controllare il valore di \"%1\" nel file Info.ini")
                  .arg(QLatin1String(chiave))
            : QString();
    };
    for (const QString &e : {esauriti(prossimoID, "Prossimo ID Componente"),
                             esauriti(tipi.prossimo(), "Prossimo ID Tipi"),
                             esauriti(produttori.prossimo(), "Prossimo ID Produttori"),
                             esauriti(packages.prossimo(), "Prossimo ID Package")}) {
        if (piano.errore.isEmpty() && !e.isEmpty())
            piano.errore = e;
    }
    return piano;
}

bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi)
{
    return EseguiImportazione(stato, piano, dialoghi, GuastoScrittura{});
}

bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi,
                        const GuastoScrittura &guasto)
{
    if (!piano.errore.isEmpty() || piano.vuoto())
        return false;
    Stato nuovo = stato;
    Accoda(nuovo.Tipi, nuovo.NumTipi, nuovo.ProssimoIDTipo, piano.nuoviTipi);
    Accoda(nuovo.Produttori, nuovo.NumProduttori, nuovo.ProssimoIDProduttore, piano.nuoviProduttori);
    Accoda(nuovo.Packages, nuovo.NumPackages, nuovo.ProssimoIDPackage, piano.nuoviPackages);
    for (const auto &[pos, quantita] : piano.quantita)
        nuovo.componente(pos).Quantita = quantita;
    Accoda(nuovo.Componenti, nuovo.NumComponenti, nuovo.ProssimoIDComponente, piano.nuovi);
    if (!SalvaDatabase(nuovo, dialoghi, guasto))
        return false;
    stato = std::move(nuovo);
    return true;
}
