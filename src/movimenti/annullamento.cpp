#include "movimenti/annullamento.h"

#include "components/operazioni.h"
#include "movimenti/righeoperazione.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

const QString AcapoCrLf = QStringLiteral("\r\n");
constexpr int CambiatiElencati = 20;

bool In32Bit(qint64 v)
{
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
}

QString Nome(const QString &codice, qint32 id)
{
    return QStringLiteral("%1 (ID %2)").arg(codice).arg(id);
}

// The undo worked out on a copy of the state.
class Annullamento {
public:
    Annullamento(const Stato &stato, qint64 operazione, CambiatiDopo scelta)
        : m_lavoro(stato), m_n(operazione), m_scelta(scelta), m_movimento(MovimentoAnnullamento(operazione))
    {
        const qint32 num = qint32(std::clamp<qsizetype>(m_lavoro.NumComponenti, 0, m_lavoro.Componenti.size()));
        m_lavoro.NumComponenti = num;
        m_posizioni.reserve(num);
        for (qint32 i = num; i >= 1; --i)
            m_posizioni[m_lavoro.componente(i).ID] = i;
    }

    // False when the undo cannot be done (esito.errore says why).
    bool annulla(const RigaMovimento &r)
    {
        if (r.creazione())
            return togli(r);
        if (r.rimozione())
            return rimetti(r);
        if (r.prima && r.dopo)
            return riporta(r);
        return true;
    }

    // Removes the components taken out and puts the result in the state.
    void concludi(Stato &stato)
    {
        if (!m_daTogliere.isEmpty()) {
            QList<Componente> tenuti;
            tenuti.reserve(m_lavoro.Componenti.size() - m_daTogliere.size());
            for (qint32 i = 1; i <= m_lavoro.Componenti.size(); ++i) {
                if (i > m_lavoro.NumComponenti || !m_daTogliere.contains(i))
                    tenuti.append(m_lavoro.componente(i));
            }
            m_lavoro.Componenti = std::move(tenuti);
            m_lavoro.NumComponenti -= qint32(m_daTogliere.size());
        }
        ContaPezzi(m_lavoro);
        stato = std::move(m_lavoro);
    }

    EsitoAnnullamento esito;

private:
    // The position of the component with that ID still in the table.
    qint32 trova(qint32 id) const
    {
        const qint32 pos = m_posizioni.value(id, 0);
        return pos > 0 && !m_daTogliere.contains(pos) ? pos : 0;
    }

    bool errore(const QString &testo)
    {
        esito.errore = QStringLiteral("Impossibile annullare l'operazione %1: ").arg(m_n) + testo;
        return false;
    }

    bool danneggiata(const RigaMovimento &r)
    {
        return errore(QStringLiteral("la riga di %1 è danneggiata.").arg(Nome(r.codice, r.id)));
    }

    // Whether the component's quantity is still the one the line left;
    // when not, it is listed, and *quantita becomes the opposite of the
    // line's difference applied to it (or the undo stops).
    enum class Esame { Uguale, Cambiato, Fermo, Fuori };
    Esame esamina(const Componente &c, const RigaMovimento &r, qint64 *quantita)
    {
        if (c.Quantita == *r.dopo)
            return Esame::Uguale;
        esito.cambiati.append({c.ID, c.Codice, *r.dopo, c.Quantita});
        if (m_scelta == CambiatiDopo::Chiedi)
            return Esame::Fermo;
        *quantita = qint64(c.Quantita) - r.differenza();
        return In32Bit(*quantita) ? Esame::Cambiato : Esame::Fuori;
    }

    bool fuoriLimiti(const Componente &c)
    {
        return errore(QStringLiteral("la quantità di %1 uscirebbe dai limiti.").arg(Nome(c.Codice, c.ID)));
    }

    bool togli(const RigaMovimento &r)
    {
        const qint32 pos = trova(r.id);
        if (pos == 0) {
            esito.avvisi << QStringLiteral("Il componente %1 non c'è più: non è stato tolto.")
                                .arg(Nome(r.codice, r.id));
            return true;
        }
        Componente &c = m_lavoro.componente(pos);
        qint64 quantita = 0;
        switch (esamina(c, r, &quantita)) {
        case Esame::Uguale:
            esito.righe.append(RigaRimozione(c, m_movimento));
            m_daTogliere.insert(pos);
            return true;
        case Esame::Fermo:
            return true;
        case Esame::Fuori:
            return fuoriLimiti(c);
        case Esame::Cambiato:
            break;
        }
        Componente nuovo = c;
        nuovo.Quantita = qint32(quantita);
        if (const auto riga = RigaCambio(c, nuovo, m_movimento))
            esito.righe.append(*riga);
        c = nuovo;
        return true;
    }

    bool rimetti(const RigaMovimento &r)
    {
        std::optional<Componente> record = LeggiRecord(r.dettagli, r.id);
        if (!record)
            return danneggiata(r);
        if (trova(record->ID) != 0) {
            const QString esauriti =
                AvvisoIDEsauriti(m_lavoro.ProssimoIDComponente, QStringLiteral("Prossimo ID Componente"));
            if (!esauriti.isEmpty()) {
                esito.errore = esauriti;
                return false;
            }
            esito.avvisi << QStringLiteral("Il componente %1 torna con il nuovo ID %2: l'ID %3 è già in uso.")
                                .arg(record->Codice)
                                .arg(m_lavoro.ProssimoIDComponente)
                                .arg(record->ID);
            record->ID = m_lavoro.ProssimoIDComponente++;
        } else if (record->ID >= m_lavoro.ProssimoIDComponente) {
            // An ID is never given twice: the counter moves past it.
            m_lavoro.ProssimoIDComponente = record->ID < std::numeric_limits<qint32>::max()
                ? record->ID + 1
                : record->ID;
        }
        const qint32 pos = ++m_lavoro.NumComponenti;
        if (m_lavoro.Componenti.size() < pos)
            m_lavoro.Componenti.resize(pos);
        m_lavoro.componente(pos) = *record;
        m_posizioni[record->ID] = pos;
        esito.righe.append(RigaCreazione(*record, m_movimento));
        return true;
    }

    bool riporta(const RigaMovimento &r)
    {
        const std::optional<QList<CampoCambiato>> campi = LeggiCambiamenti(r.dettagli);
        if (!campi)
            return danneggiata(r);
        const qint32 pos = trova(r.id);
        if (pos == 0) {
            esito.avvisi << QStringLiteral("Il componente %1 non c'è più: non è stato riportato com'era.")
                                .arg(Nome(r.codice, r.id));
            return true;
        }
        Componente &c = m_lavoro.componente(pos);
        qint64 quantita = *r.prima;
        switch (esamina(c, r, &quantita)) {
        case Esame::Fermo:
            return true;
        case Esame::Fuori:
            return fuoriLimiti(c);
        case Esame::Uguale:
        case Esame::Cambiato:
            break;
        }
        Componente nuovo = c;
        nuovo.Quantita = qint32(quantita);
        for (const CampoCambiato &campo : *campi) {
            const QString ora = ValoreCampo(c, campo.campo);
            if (ora == campo.dopo) {
                if (!ImpostaCampo(nuovo, campo.campo, campo.prima))
                    return danneggiata(r);
            } else if (ora != campo.prima) {
                esito.avvisi << QStringLiteral("Il campo %1 di %2 è cambiato dopo l'operazione: resta \"%3\".")
                                    .arg(campo.campo, Nome(c.Codice, c.ID), ora);
            }
        }
        if (const auto riga = RigaCambio(c, nuovo, m_movimento))
            esito.righe.append(*riga);
        c = nuovo;
        return true;
    }

    Stato m_lavoro;
    qint64 m_n;
    CambiatiDopo m_scelta;
    QString m_movimento;
    QHash<qint32, qint32> m_posizioni; // ID -> position, first occurrence
    QSet<qint32> m_daTogliere;         // positions removed by the undo
};

} // namespace

EsitoAnnullamento AnnullaOperazione(Stato &stato, const QList<RigaMovimento> &righe, CambiatiDopo scelta)
{
    if (righe.isEmpty()) {
        EsitoAnnullamento esito;
        esito.errore = QStringLiteral("Non c'è nessuna operazione da annullare.");
        return esito;
    }
    const qint64 n = righe.first().operazione;
    Annullamento a(stato, n, scelta);
    for (auto it = righe.crbegin(); it != righe.crend(); ++it) {
        if (!a.annulla(*it)) {
            a.esito.righe.clear();
            a.esito.cambiati.clear();
            a.esito.avvisi.clear();
            return a.esito;
        }
    }
    if (scelta == CambiatiDopo::Chiedi && !a.esito.cambiati.isEmpty()) {
        a.esito.righe.clear();
        a.esito.avvisi.clear();
        return a.esito;
    }
    // What ApplicaDifferenza met is no longer a question.
    a.esito.cambiati.clear();
    if (a.esito.righe.isEmpty()) {
        a.esito.errore = QStringLiteral("Nell'operazione %1 non c'è nulla da annullare.").arg(n);
        if (!a.esito.avvisi.isEmpty())
            a.esito.errore += AcapoCrLf + a.esito.avvisi.join(AcapoCrLf);
        a.esito.avvisi.clear();
        return a.esito;
    }
    a.concludi(stato);
    return a.esito;
}

QString DomandaCambiati(qint64 operazione, const QList<ComponenteCambiato> &cambiati)
{
    QString testo = QStringLiteral("Dopo l'operazione %1 questi componenti sono cambiati:").arg(operazione)
        + AcapoCrLf;
    for (qsizetype i = 0; i < cambiati.size() && i < CambiatiElencati; ++i) {
        const ComponenteCambiato &c = cambiati[i];
        testo += QStringLiteral("> %1: ora %2, dopo l'operazione %3").arg(c.codice).arg(c.attuale).arg(c.atteso)
            + AcapoCrLf;
    }
    if (cambiati.size() > CambiatiElencati)
        testo += QStringLiteral("> ... e altri %1").arg(cambiati.size() - CambiatiElencati) + AcapoCrLf;
    return testo + AcapoCrLf
        + QStringLiteral("Premi Sì per applicare la differenza alle quantità attuali, No per non annullare nulla");
}
