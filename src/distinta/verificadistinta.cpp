#include "distinta/verificadistinta.h"

#include "distinta/campocsv.h"
#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
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

VerificaDistinta::VerificaDistinta(const Stato &stato, const LetturaDistinta &lettura,
                                   const Collegamenti &collegamenti)
    : m_collegamenti(collegamenti)
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
    // Links name components by ID: where each ID is now.
    QHash<qint32, qint32> posizioneDaID;
    if (!m_collegamenti.isEmpty()) {
        const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
        posizioneDaID.reserve(n);
        for (qint32 pos = n; pos >= 1; --pos) // the first of a repeated ID wins
            posizioneDaID.insert(stato.componente(pos).ID, pos);
    }
    for (VoceVerifica &v : m_voci) {
        const RigaDistinta &riga = v.riga;
        const qint32 sceltaPrima = v.scelta;
        v.parte = !riga.codice.isEmpty() ? riga.codice : !riga.mpn.isEmpty() ? riga.mpn : riga.valore;
        v.candidati.clear();
        v.scelta = 0;
        v.collegata = false;
        if (!riga.errore.isEmpty()) {
            v.esito = EsitoRiga::Errore;
            continue;
        }
        const qint32 id = m_collegamenti.id(riga);
        const qint32 collegato = id > 0 ? posizioneDaID.value(id) : 0;
        if (collegato > 0) {
            v.parte = riga.mpn.isEmpty() ? riga.valore : riga.mpn;
            v.candidati = {collegato};
            v.scelta = collegato;
            v.collegata = true;
            continue;
        }
        // The stock code, the MPN, the value: the first that some
        // component carries.
        for (const QString *testo : {&riga.codice, &riga.mpn, &riga.valore}) {
            if (testo->isEmpty())
                continue;
            v.candidati = indice.cerca(*testo);
            if (!v.candidati.isEmpty()) {
                v.parte = *testo;
                break;
            }
        }
        if (v.candidati.size() == 1)
            v.scelta = v.candidati.first();
        else if (v.candidati.contains(sceltaPrima))
            v.scelta = sceltaPrima;
    }
    calcola(stato, m_schede);
}

void VerificaDistinta::impostaCollegamenti(const Stato &stato, const Collegamenti &collegamenti)
{
    m_collegamenti = collegamenti;
    riconfronta(stato);
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

bool SenzaPezzi(const VoceVerifica &voce)
{
    return voce.esito == EsitoRiga::Mancano || voce.esito == EsitoRiga::NonTrovato;
}

QString TestoEsito(const VoceVerifica &voce)
{
    const QString collegato = voce.collegata ? QStringLiteral(" (collegato)") : QString();
    switch (voce.esito) {
    case EsitoRiga::Disponibile: return QStringLiteral("Disponibile") + collegato;
    case EsitoRiga::Mancano: return QStringLiteral("Mancano %1").arg(voce.mancanti) + collegato;
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
        if (!SenzaPezzi(v))
            continue;
        testo += QStringList{CampoCSV(v.riga.riferimenti, sep), CampoCSV(v.parte, sep), CampoCSV(v.riga.footprint, sep),
                             CampoCSV(v.codice, sep), QString::number(v.necessari), QString::number(v.disponibili),
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
        const QByteArray byte = QByteArrayLiteral("\xEF\xBB\xBF") + TestoMancanti(verifica, stato.SeparatoreCSV).toUtf8();
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

namespace {

bool CambiaCollegamento(const Stato &stato, VerificaDistinta &verifica, const Collegamenti &nuovi,
                        Dialoghi &dialoghi)
{
    QString errore;
    if (!SalvaCollegamenti(stato, nuovi, &errore)) {
        dialoghi.messaggio(QStringLiteral("Impossibile salvare il file ") + NomeFileCollegamenti
                               + QStringLiteral(": il collegamento non \u00e8 cambiato.\r\n") + errore,
                           Icona::Critica, Pulsanti::Ok, QStringLiteral("Collegamento non salvato"));
        return false;
    }
    verifica.impostaCollegamenti(stato, nuovi);
    return true;
}

} // namespace

bool CollegaRiga(const Stato &stato, VerificaDistinta &verifica, int indice, qint32 posizione, Dialoghi &dialoghi)
{
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    if (indice < 0 || indice >= verifica.voci().size() || posizione < 1 || posizione > n)
        return false;
    const VoceVerifica &v = verifica.voci()[indice];
    if (v.esito == EsitoRiga::Errore)
        return false;
    Collegamenti nuovi = verifica.collegamenti();
    const Componente &c = stato.componente(posizione);
    if (!nuovi.collega(v.riga, c.ID, c.Codice))
        return false;
    return CambiaCollegamento(stato, verifica, nuovi, dialoghi);
}

bool ScollegaRiga(const Stato &stato, VerificaDistinta &verifica, int indice, Dialoghi &dialoghi)
{
    if (indice < 0 || indice >= verifica.voci().size())
        return false;
    Collegamenti nuovi = verifica.collegamenti();
    if (!nuovi.scollega(verifica.voci()[indice].riga))
        return false;
    return CambiaCollegamento(stato, verifica, nuovi, dialoghi);
}

bool PrelevaComponenti(Stato &stato, Dialoghi &dialoghi, const QList<Prelievo> &prelievi, const QString &movimento)
{
    return PrelevaComponenti(stato, dialoghi, prelievi, GuastoScrittura{}, movimento);
}

bool PrelevaComponenti(Stato &stato, Dialoghi &dialoghi, const QList<Prelievo> &prelievi,
                       const GuastoScrittura &guasto, const QString &movimento)
{
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    QList<std::pair<qint32, qint32>> prima;
    prima.reserve(prelievi.size());
    // One line per component, however many lines of the BOM it serves:
    // its record before the first taking, by position.
    QMap<qint32, Componente> toccati;
    for (const Prelievo &p : prelievi) {
        if (p.posizione < 1 || p.posizione > n || p.pezzi <= 0)
            continue;
        qint32 &quantita = stato.componente(p.posizione).Quantita;
        if (!toccati.contains(p.posizione))
            toccati.insert(p.posizione, stato.componente(p.posizione));
        prima.append({p.posizione, quantita});
        // Never below what a 32-bit quantity can hold.
        quantita = qint32(qMax<qint64>(qint64(quantita) - p.pezzi, std::numeric_limits<qint32>::min()));
    }
    QList<RigaMovimento> righe;
    for (auto it = toccati.cbegin(); it != toccati.cend(); ++it) {
        if (auto riga = RigaCambio(it.value(), stato.componente(it.key()), movimento))
            righe.append(std::move(*riga));
    }
    if (SalvaOperazione(stato, dialoghi, righe, guasto))
        return true;
    for (auto it = prima.crbegin(); it != prima.crend(); ++it)
        stato.componente(it->first).Quantita = it->second;
    ContaPezzi(stato);
    return false;
}
