#include "distinta/verificadistinta.h"

#include "reports/uscita.h"
#include "store/cp1252.h"
#include "store/dialoghi.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QMap>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {

QString Chiave(const QString &testo) { return MaiuscoloCp1252(QStringView(testo).trimmed()); }

// A field of the shopping list, quoted when it holds the separator, a
// double quote or a line break.
QString Campo(const QString &testo, const QString &sep)
{
    if (!testo.contains(sep) && !testo.contains(u'"') && !testo.contains(u'\r') && !testo.contains(u'\n'))
        return testo;
    QString quotato = testo;
    quotato.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quotato + u'"';
}

} // namespace

IndiceCodici::IndiceCodici(const Stato &stato)
{
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    m_posizioni.reserve(n);
    for (qint32 pos = 1; pos <= n; ++pos)
        m_posizioni[Chiave(stato.componente(pos).Codice)].append(pos);
}

QList<qint32> IndiceCodici::cerca(const QString &testo) const
{
    const QString chiave = Chiave(testo);
    if (chiave.isEmpty())
        return {};
    return m_posizioni.value(chiave);
}

VerificaDistinta::VerificaDistinta(const Stato &stato, const LetturaDistinta &lettura)
{
    m_voci.reserve(lettura.righe.size());
    for (const RigaDistinta &riga : lettura.righe) {
        VoceVerifica v;
        v.riga = riga;
        m_voci.append(v);
    }
    riconfronta(stato);
}

void VerificaDistinta::riconfronta(const Stato &stato)
{
    const IndiceCodici indice(stato);
    for (VoceVerifica &v : m_voci) {
        const RigaDistinta &riga = v.riga;
        const qint32 sceltaPrima = v.scelta;
        v.parte = riga.mpn.isEmpty() ? riga.valore : riga.mpn;
        v.candidati.clear();
        v.scelta = 0;
        if (!riga.errore.isEmpty()) {
            v.esito = EsitoRiga::Errore;
        } else {
            if (!riga.mpn.isEmpty())
                v.candidati = indice.cerca(riga.mpn);
            if (v.candidati.isEmpty() && !riga.valore.isEmpty()) {
                v.candidati = indice.cerca(riga.valore);
                if (!v.candidati.isEmpty())
                    v.parte = riga.valore;
            }
            if (v.candidati.size() == 1)
                v.scelta = v.candidati.first();
            else if (v.candidati.contains(sceltaPrima))
                v.scelta = sceltaPrima;
        }
    }
    calcola(stato, m_schede);
}

bool VerificaDistinta::scegli(int indice, qint32 posizione)
{
    if (indice < 0 || indice >= m_voci.size())
        return false;
    VoceVerifica &v = m_voci[indice];
    if (posizione != 0 && !v.candidati.contains(posizione))
        return false;
    if (v.candidati.size() < 2)
        return false;
    v.scelta = posizione;
    return true;
}

void VerificaDistinta::calcola(const Stato &stato, int schede)
{
    m_schede = qMax(schede, 1);
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    // Pieces of each component already given to earlier lines.
    QHash<qint32, qint64> usati;
    for (VoceVerifica &v : m_voci) {
        v.codice.clear();
        v.giacenza = 0;
        v.disponibili = 0;
        v.mancanti = 0;
        if (!v.riga.errore.isEmpty()) {
            v.necessari = 0;
            continue;
        }
        v.necessari = v.riga.quantita * m_schede;
        if (v.candidati.isEmpty()) {
            v.esito = EsitoRiga::NonTrovato;
            v.mancanti = v.necessari;
            continue;
        }
        if (v.scelta < 1 || v.scelta > n) {
            v.esito = EsitoRiga::DaScegliere;
            continue;
        }
        const Componente &c = stato.componente(v.scelta);
        v.codice = c.Codice;
        v.giacenza = c.Quantita;
        qint64 &gia = usati[v.scelta];
        v.disponibili = qMax<qint64>(0, qint64(c.Quantita) - gia);
        gia += v.necessari;
        v.mancanti = qMax<qint64>(0, v.necessari - v.disponibili);
        v.esito = v.mancanti == 0 ? EsitoRiga::Disponibile : EsitoRiga::Mancano;
    }
}

RiepilogoVerifica VerificaDistinta::riepilogo() const
{
    RiepilogoVerifica r;
    for (const VoceVerifica &v : m_voci) {
        switch (v.esito) {
        case EsitoRiga::Disponibile: ++r.disponibili; break;
        case EsitoRiga::Mancano: ++r.mancano; break;
        case EsitoRiga::NonTrovato: ++r.nonTrovati; break;
        case EsitoRiga::DaScegliere: ++r.daScegliere; break;
        case EsitoRiga::Errore: ++r.errori; break;
        }
    }
    return r;
}

QList<Prelievo> VerificaDistinta::prelievi() const
{
    QMap<qint32, qint64> perPosizione;
    for (const VoceVerifica &v : m_voci) {
        if (v.esito != EsitoRiga::Disponibile && v.esito != EsitoRiga::Mancano)
            continue;
        const qint64 pezzi = qMin(v.necessari, v.disponibili);
        if (pezzi > 0)
            perPosizione[v.scelta] += pezzi;
    }
    QList<Prelievo> lista;
    for (auto it = perPosizione.cbegin(); it != perPosizione.cend(); ++it)
        lista.append({it.key(), it.value()});
    return lista;
}

QString TestoEsito(const VoceVerifica &voce)
{
    switch (voce.esito) {
    case EsitoRiga::Disponibile: return QStringLiteral("Disponibile");
    case EsitoRiga::Mancano: return QStringLiteral("Mancano %1").arg(voce.mancanti);
    case EsitoRiga::NonTrovato: return QStringLiteral("Non trovato");
    case EsitoRiga::DaScegliere: return QStringLiteral("Da scegliere (%1)").arg(voce.candidati.size());
    case EsitoRiga::Errore: return QStringLiteral("Errore alla riga %1: ").arg(voce.riga.numero) + voce.riga.errore;
    }
    return QString();
}

QString TestoRiepilogo(const RiepilogoVerifica &r)
{
    QString testo = QStringLiteral("Disponibili %1 - Mancano pezzi %2 - Non trovati %3")
                        .arg(r.disponibili)
                        .arg(r.mancano)
                        .arg(r.nonTrovati);
    if (r.daScegliere > 0)
        testo += QStringLiteral(" - Da scegliere %1").arg(r.daScegliere);
    if (r.errori > 0)
        testo += QStringLiteral(" - Righe con errori %1").arg(r.errori);
    return testo;
}

QString TestoMancanti(const VerificaDistinta &verifica, const QString &separatore)
{
    const QString sep = separatore.isEmpty() ? QStringLiteral(",") : separatore;
    const QString fine = QStringLiteral("\r\n");
    QString testo = QStringList{QStringLiteral("Riferimenti"), QStringLiteral("Componente"),
                                QStringLiteral("Footprint"), QStringLiteral("Codice"),
                                QStringLiteral("Necessari"), QStringLiteral("In magazzino"),
                                QStringLiteral("Da acquistare")}
                        .join(sep)
        + fine;
    for (const VoceVerifica &v : verifica.voci()) {
        if (v.esito != EsitoRiga::Mancano && v.esito != EsitoRiga::NonTrovato)
            continue;
        testo += QStringList{Campo(v.riga.riferimenti, sep), Campo(v.parte, sep), Campo(v.riga.footprint, sep),
                             Campo(v.codice, sep), QString::number(v.necessari), QString::number(v.disponibili),
                             QString::number(v.mancanti)}
                     .join(sep)
            + fine;
    }
    return testo;
}

QString EsportaMancanti(const Stato &stato, const VerificaDistinta &verifica, Dialoghi &dialoghi)
{
    const QString percorso = stato.percorsi.CartellaEsportati + NomeFileMancanti;
    QSaveFile file(percorso);
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        const QByteArray byte = CodificaCp1252(TestoMancanti(verifica, stato.SeparatoreCSV));
        scritto = file.write(byte) == byte.size() && file.commit();
        if (scritto)
            EreditaProprietario(file.fileName()); // owned like its folder, also when run by the superuser
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(QStringLiteral("Errore nella creazione del file ") + NomeFileMancanti
                               + QStringLiteral("\r\nForse il file \u00e8 gi\u00e0 aperto in altro programma"),
                           Icona::Critica, Pulsanti::Ok, QStringLiteral("Lista non generata"));
        return QString();
    }
    return percorso;
}

bool PrelevaComponenti(Stato &stato, Dialoghi &dialoghi, const QList<Prelievo> &prelievi)
{
    return PrelevaComponenti(stato, dialoghi, prelievi, GuastoScrittura{});
}

bool PrelevaComponenti(Stato &stato, Dialoghi &dialoghi, const QList<Prelievo> &prelievi,
                       const GuastoScrittura &guasto)
{
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    QList<std::pair<qint32, qint32>> prima;
    prima.reserve(prelievi.size());
    for (const Prelievo &p : prelievi) {
        if (p.posizione < 1 || p.posizione > n || p.pezzi <= 0)
            continue;
        qint32 &quantita = stato.componente(p.posizione).Quantita;
        prima.append({p.posizione, quantita});
        // Never below what a 32-bit quantity can hold.
        quantita = qint32(qMax<qint64>(qint64(quantita) - p.pezzi, std::numeric_limits<qint32>::min()));
    }
    if (SalvaDatabase(stato, dialoghi, guasto))
        return true;
    for (auto it = prima.crbegin(); it != prima.crend(); ++it)
        stato.componente(it->first).Quantita = it->second;
    ContaPezzi(stato);
    return false;
}
