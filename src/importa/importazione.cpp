#include "importa/importazione.h"

#include "components/regole.h"
#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
#include "store/cp1252.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <vector>

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
    struct Trovata {
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
    Trovata voce(const QString &nome, QList<Voce> *nuovi)
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
    QHash<QString, Trovata> m_perChiave;
    QHash<QString, Trovata> m_perTesto;
    qint64 m_prossimo;
};

// The keys of manufacturer and type names as small numbers, so that the
// stored components' names are compared as numbers: 0 for a name of
// blanks, from 1 for the keys of stored names. Each text as written is
// keyed once.
class NumeriNomi {
public:
    // The number of a stored name's key, a new one for a key not met yet.
    int aggiungi(const QString &nome) { return numero(nome, true); }
    // The number of a line's name: -1 for a key no stored name has.
    int cerca(const QString &nome) { return numero(nome, false); }

private:
    int numero(const QString &nome, bool aggiungi)
    {
        const auto scritto = m_perTesto.constFind(nome);
        if (scritto != m_perTesto.constEnd())
            return *scritto;
        const QString chiave = ChiaveNome(nome);
        int n = 0;
        if (!chiave.isEmpty()) {
            const auto it = m_perChiave.constFind(chiave);
            if (it != m_perChiave.constEnd())
                n = *it;
            else if (aggiungi)
                n = *m_perChiave.insert(chiave, int(m_perChiave.size()) + 1);
            else
                n = -1;
        }
        m_perTesto.insert(nome, n);
        return n;
    }

    QHash<QString, int> m_perChiave;
    QHash<QString, int> m_perTesto;
};

// A code's key with the numbers of a manufacturer's and a type's keys.
struct Terna {
    QString codice;
    int produttore = 0;
    int tipo = 0;
    bool operator==(const Terna &) const = default;
};

size_t qHash(const Terna &t, size_t seme = 0) { return qHashMulti(seme, t.codice, t.produttore, t.tipo); }

// The stored components by the key of their code, in table order: the
// first position of each key, and from each position the next one of the
// same key (0 at the end); beside each, the numbers of its manufacturer's
// and type's keys. The same again by code, manufacturer and type together,
// for lines that give all three (as the export's do): their candidates are
// found without walking through the other components of the code.
class Codici {
public:
    Codici(const Stato &stato, qint32 num)
        : m_seguente(num + 1, 0), m_seguenteTerna(num + 1, 0), m_produttore(num + 1, 0), m_tipo(num + 1, 0)
    {
        m_primo.reserve(num);
        m_primoTerna.reserve(num);
        for (qint32 pos = num; pos >= 1; --pos) {
            const Componente &c = stato.componente(pos);
            Terna t{ChiaveNome(c.Codice), m_nomi.aggiungi(c.NomeProduttore), m_nomi.aggiungi(c.NomeTipo)};
            m_produttore[pos] = t.produttore;
            m_tipo[pos] = t.tipo;
            qint32 &primo = m_primo[t.codice];
            m_seguente[pos] = primo;
            primo = pos;
            qint32 &primoTerna = m_primoTerna[std::move(t)];
            m_seguenteTerna[pos] = primoTerna;
            primoTerna = pos;
        }
    }

    // The stored components of the line's code, of its manufacturer and its
    // type where it gives them.
    void cerca(const Componente &letto, QList<qint32> *candidati)
    {
        candidati->clear();
        if (m_primo.isEmpty())
            return;
        const int produttore = m_nomi.cerca(letto.NomeProduttore);
        const int tipo = m_nomi.cerca(letto.NomeTipo);
        if (produttore < 0 || tipo < 0)
            return; // a name no stored component has
        if (produttore > 0 && tipo > 0) {
            for (qint32 pos = m_primoTerna.value({ChiaveNome(letto.Codice), produttore, tipo}, 0); pos != 0;
                 pos = m_seguenteTerna[pos])
                candidati->append(pos);
            return;
        }
        for (qint32 pos = m_primo.value(ChiaveNome(letto.Codice), 0); pos != 0; pos = m_seguente[pos]) {
            if ((produttore == 0 || m_produttore[pos] == produttore) && (tipo == 0 || m_tipo[pos] == tipo))
                candidati->append(pos);
        }
    }

private:
    QHash<QString, qint32> m_primo;
    QHash<Terna, qint32> m_primoTerna;
    std::vector<qint32> m_seguente;
    std::vector<qint32> m_seguenteTerna;
    std::vector<int> m_produttore;
    std::vector<int> m_tipo;
    NumeriNomi m_nomi;
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
    Codici codici(stato, scelta == CodiciEsistenti::Aggiungi ? 0 : numComponenti);
    QHash<qint32, qsizetype> aggiornate; // position -> index in piano.quantita
    QList<qint32> candidati;

    qint64 prossimoID = stato.ProssimoIDComponente;
    // Pages never written to cost nothing: room for every line.
    piano.nuovi.reserve(lettura.righe.size());
    for (const RigaCSV &riga : lettura.righe) {
        const Componente &letto = riga.componente;
        if (scelta != CodiciEsistenti::Aggiungi) {
            // The stored components of the code, narrowed by the names the
            // line gives.
            codici.cerca(letto, &candidati);
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

bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi, const QString &file)
{
    return EseguiImportazione(stato, piano, dialoghi, GuastoScrittura{}, file);
}

bool EseguiImportazione(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi,
                        const GuastoScrittura &guasto, const QString &file)
{
    return EseguiPiano(stato, piano, dialoghi, guasto, MovimentoImportazione(file));
}

bool EseguiPiano(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi, const GuastoScrittura &guasto,
                 const QString &movimento)
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

    QList<RigaMovimento> righe;
    righe.reserve(piano.quantita.size() + piano.nuovi.size());
    for (const auto &[pos, quantita] : piano.quantita) {
        if (auto riga = RigaCambio(stato.componente(pos), nuovo.componente(pos), movimento))
            righe.append(std::move(*riga));
    }
    for (qint32 pos = stato.NumComponenti + 1; pos <= nuovo.NumComponenti; ++pos)
        righe.append(RigaCreazione(nuovo.componente(pos), movimento));
    if (!SalvaOperazione(nuovo, dialoghi, righe, guasto))
        return false;
    stato = std::move(nuovo);
    return true;
}
