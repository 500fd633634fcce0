#include "ricevi/sessionericevi.h"

#include "ricevi/sacchetti.h"
#include "store/stato.h"

namespace {

constexpr char16_t FineBusta = u'\u2404';

// The pictures of the separators an envelope carries, for a box that
// cannot show the control characters themselves.
QChar Visibile(QChar c)
{
    switch (c.unicode()) {
    case 0x04: return QChar(FineBusta);
    case 0x1d: return QChar(u'\u241d');
    case 0x1e: return QChar(u'\u241e');
    default: return c;
    }
}

} // namespace

QStringList DividiScansioni(const QString &testo, QString *resto)
{
    QStringList scansioni;
    QString corrente;
    const auto chiudi = [&] {
        const QString s = corrente.trimmed();
        if (!s.isEmpty())
            scansioni.append(s);
        corrente.clear();
    };
    for (const QChar c : testo) {
        if (c == u'\r' || c == u'\n') {
            chiudi();
            continue;
        }
        const QChar v = Visibile(c);
        corrente.append(v);
        if (v == QChar(FineBusta))
            chiudi();
    }
    *resto = corrente;
    return scansioni;
}

SessioneRicevi::SessioneRicevi(const Stato &stato, const Collegamenti &collegamenti)
    : m_stato(stato), m_indice(stato, collegamenti)
{
}

qsizetype SessioneRicevi::doppione(const Scansione &scansione) const
{
    QList<Scansione> lette;
    lette.reserve(m_righe.size());
    for (const RigaRicevi &r : m_righe)
        lette.append(r.scansione);
    return SacchettoGiaLetto(lette, scansione);
}

qsizetype SessioneRicevi::aggiungi(const Scansione &scansione)
{
    RigaRicevi r;
    r.scansione = scansione;
    r.confronto = m_indice.confronta(scansione);
    r.pezzi = scansione.quantita;
    switch (r.confronto.esito) {
    case EsitoRicevi::Aggiungi: r.destinazione = r.confronto.posizione; break;
    case EsitoRicevi::DaScegliere: r.destinazione = -1; break;
    default: r.destinazione = 0; break;
    }
    m_righe.append(r);
    return m_righe.size() - 1;
}

void SessioneRicevi::rimuovi(qsizetype riga)
{
    if (riga >= 0 && riga < m_righe.size())
        m_righe.removeAt(riga);
}

void SessioneRicevi::impostaPezzi(qsizetype riga, qint64 pezzi)
{
    if (riga >= 0 && riga < m_righe.size())
        m_righe[riga].pezzi = pezzi;
}

void SessioneRicevi::impostaDestinazione(qsizetype riga, qint32 posizione)
{
    if (riga >= 0 && riga < m_righe.size() && m_righe[riga].leggibile())
        m_righe[riga].destinazione = posizione;
}

QString SessioneRicevi::esito(qsizetype riga) const
{
    const RigaRicevi &r = m_righe[riga];
    if (!r.leggibile())
        return TestoEsitoRicevi(r.confronto);
    if (r.destinazione < 0)
        return QStringLiteral("Da scegliere");
    if (r.destinazione == 0)
        return QStringLiteral("Nuovo componente");
    return QStringLiteral("Aggiungi a ") + m_stato.componente(r.destinazione).Codice;
}

QList<VoceRicevimento> SessioneRicevi::voci(QList<qsizetype> *righeVoci, qsizetype *daScegliere) const
{
    QList<VoceRicevimento> voci;
    righeVoci->clear();
    *daScegliere = -1;
    for (qsizetype i = 0; i < m_righe.size(); ++i) {
        const RigaRicevi &r = m_righe[i];
        if (!r.leggibile())
            continue;
        if (r.destinazione < 0) {
            if (*daScegliere < 0)
                *daScegliere = i;
            continue;
        }
        VoceRicevimento v;
        v.codice = r.scansione.codice;
        v.produttore = r.scansione.produttore;
        v.descrizione = r.scansione.codiceDistributore;
        v.pezzi = r.pezzi;
        v.id = r.destinazione > 0 ? m_stato.componente(r.destinazione).ID : 0;
        voci.append(v);
        righeVoci->append(i);
    }
    return voci;
}

qsizetype SessioneRicevi::leggibili() const
{
    qsizetype n = 0;
    for (const RigaRicevi &r : m_righe)
        n += r.leggibile() ? 1 : 0;
    return n;
}
