#include "importa/importazione.h"

#include "components/regole.h"
#include "store/cp1252.h"
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

// Names of a table by their key, the first entry of a key winning as in
// the lookups by name; names not found become new entries, stored as their
// key, with the next IDs in order of first appearance. The same few names
// come back on thousands of lines: each text as written is keyed once.
template <typename Voce>
class Nomi {
public:
    struct Voce_ {
        qint32 id = 0;
        QString nome;
    };

    Nomi(const QList<Voce> &tabella, qint32 num, qint32 prossimo) : m_prossimo(prossimo)
    {
        m_perChiave.reserve(num);
        for (qint32 i = 0; i < num; ++i) {
            const QString chiave = ChiaveNome(tabella[i].Nome);
            if (!chiave.isEmpty() && !m_perChiave.contains(chiave))
                m_perChiave.insert(chiave, {tabella[i].ID, tabella[i].Nome});
        }
    }

    // The entry a name stands for; none for a name of blanks. A new one is
    // added to nuovi.
    Voce_ voce(const QString &nome, QList<Voce> *nuovi)
    {
        const auto scritto = m_perTesto.constFind(nome);
        if (scritto != m_perTesto.constEnd())
            return *scritto;
        const QString chiave = ChiaveNome(nome);
        if (chiave.isEmpty())
            return *m_perTesto.insert(nome, {});
        auto it = m_perChiave.constFind(chiave);
        if (it == m_perChiave.constEnd()) {
            Voce v;
            v.ID = qint32(std::min(m_prossimo, IDMassimo));
            ++m_prossimo;
            v.Nome = chiave;
            nuovi->append(v);
            it = m_perChiave.insert(chiave, {v.ID, v.Nome});
        }
        return *m_perTesto.insert(nome, *it);
    }
    qint64 prossimo() const { return m_prossimo; }

private:
    QHash<QString, Voce_> m_perChiave;
    QHash<QString, Voce_> m_perTesto;
    qint64 m_prossimo;
};

// The stored components by the key of their code, in table order: the
// first position of each key, and from each position the next one of the
// same key (0 at the end).
class Codici {
public:
    Codici(const Stato &stato, qint32 num) : m_seguente(num + 1, 0)
    {
        m_primo.reserve(num);
        for (qint32 pos = num; pos >= 1; --pos) {
            qint32 &primo = m_primo[ChiaveNome(stato.componente(pos).Codice)];
            m_seguente[pos] = primo;
            primo = pos;
        }
    }
    qint32 primo(const QString &chiave) const { return m_primo.value(chiave, 0); }
    qint32 seguente(qint32 pos) const { return m_seguente[pos]; }

private:
    QHash<QString, qint32> m_primo;
    QList<qint32> m_seguente;
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

QString ChiaveNome(const QString &nome)
{
    // Stored codes and names are mostly upper-case ASCII already, without
    // blanks at the ends: those are their own key, shared rather than
    // copied.
    const qsizetype n = nome.size();
    bool gia = n == 0 || (!nome.front().isSpace() && !nome.back().isSpace());
    for (qsizetype i = 0; gia && i < n; ++i) {
        const char16_t c = nome[i].unicode();
        gia = c < 0x80 && !(c >= u'a' && c <= u'z') && c != u'"';
    }
    if (gia)
        return nome;
    QString chiave = MaiuscoloCp1252(QStringView(nome).trimmed());
    chiave.replace(QLatin1Char('"'), QLatin1Char('\''));
    return chiave;
}

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

    // Only what is stored before the import counts as existing.
    const Codici codici(stato, scelta == CodiciEsistenti::Aggiungi ? 0 : numComponenti);
    QHash<qint32, qsizetype> aggiornate; // position -> index in piano.quantita
    QList<qint32> candidati;

    qint64 prossimoID = stato.ProssimoIDComponente;
    for (const RigaCSV &riga : lettura.righe) {
        const Componente &letto = riga.componente;
        if (scelta != CodiciEsistenti::Aggiungi) {
            // The stored components of the code, narrowed by the names the
            // line gives.
            candidati.clear();
            const QString produttore = ChiaveNome(letto.NomeProduttore);
            const QString tipo = ChiaveNome(letto.NomeTipo);
            for (qint32 pos = codici.primo(ChiaveNome(letto.Codice)); pos != 0; pos = codici.seguente(pos)) {
                const Componente &c = stato.componente(pos);
                if ((produttore.isEmpty() || ChiaveNome(c.NomeProduttore) == produttore)
                    && (tipo.isEmpty() || ChiaveNome(c.NomeTipo) == tipo))
                    candidati.append(pos);
            }
            if (!candidati.isEmpty() && scelta == CodiciEsistenti::Salta) {
                ++piano.saltati;
                continue;
            }
            if (candidati.size() > 1) {
                piano.ambigue.append({riga.numero, letto.Codice, candidati});
                continue;
            }
            if (candidati.size() == 1) {
                // Added to the stored quantity, or to what earlier lines
                // made of it.
                const qint32 pos = candidati.first();
                const auto a = aggiornate.constFind(pos);
                const qint32 attuale = a != aggiornate.constEnd() ? piano.quantita[*a].second
                                                                   : stato.componente(pos).Quantita;
                const qint64 somma = qint64(attuale) + letto.Quantita;
                if (somma > std::numeric_limits<qint32>::max() || somma < std::numeric_limits<qint32>::min()) {
                    piano.errori.append({riga.numero, QStringLiteral("la quantit\u00e0 sommata a quella di %1 "
                                                                     "supererebbe il limite")
                                                          .arg(letto.Codice)});
                    continue;
                }
                if (a != aggiornate.constEnd()) {
                    piano.quantita[*a].second = qint32(somma);
                } else {
                    piano.quantita.append({pos, qint32(somma)});
                    aggiornate.insert(pos, piano.quantita.size() - 1);
                }
                continue;
            }
        }
        Componente c = letto;
        c.ID = qint32(std::min(prossimoID, IDMassimo));
        ++prossimoID;
        c.CodiceNumerico = NumeroDaCodice(c.Codice);
        const auto tipo = tipi.voce(c.NomeTipo, &piano.nuoviTipi);
        c.IDTipo = tipo.id;
        c.NomeTipo = tipo.nome;
        const auto produttore = produttori.voce(c.NomeProduttore, &piano.nuoviProduttori);
        c.IDProduttore = produttore.id;
        c.NomeProduttore = produttore.nome;
        c.IDPackage = packages.voce(riga.package, &piano.nuoviPackages).id;
        piano.nuovi.append(std::move(c));
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
