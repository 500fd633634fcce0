#include "common/dialoghifinti.h"

void DialoghiFinti::dimentica()
{
    m_boxes.clear();
    m_dialoghiFile.clear();
    m_avvii.clear();
    m_documenti.clear();
}

QString DialoghiFinti::problemi() const
{
    QStringList p = m_inattesi;
    if (!m_risposte.isEmpty())
        p << QStringLiteral("%1 risposte in coda mai usate").arg(m_risposte.size());
    if (!m_file.isEmpty())
        p << QStringLiteral("%1 file in coda mai scelti").arg(m_file.size());
    return p.join(QLatin1Char('\n'));
}

Risposta DialoghiFinti::messaggio(const QString &testo, Icona icona, Pulsanti pulsanti,
                                  const QString &titolo)
{
    m_boxes.append({testo, icona, pulsanti, titolo});
    if (m_risposte.isEmpty()) {
        m_inattesi << QStringLiteral("box inatteso: ") + testo;
        return pulsanti == Pulsanti::SiNo || pulsanti == Pulsanti::StampaPdfNo ? Risposta::No
            : pulsanti == Pulsanti::Ok                                          ? Risposta::Ok
                                                                                : Risposta::Annulla;
    }
    const Risposta r = m_risposte.dequeue();
    const bool adatta = pulsanti == Pulsanti::SiNo ? (r == Risposta::Si || r == Risposta::No)
        : pulsanti == Pulsanti::SiNoAnnulla
            ? (r == Risposta::Si || r == Risposta::No || r == Risposta::Annulla)
        : pulsanti == Pulsanti::SostituisciMantieniAnnulla
            ? (r == Risposta::Sostituisci || r == Risposta::MantieniEntrambi || r == Risposta::Annulla)
        : pulsanti == Pulsanti::StampaPdfNo ? (r == Risposta::Stampa || r == Risposta::Pdf || r == Risposta::No)
                                            : r == Risposta::Ok;
    if (!adatta)
        m_inattesi << QStringLiteral("risposta non adatta ai pulsanti del box: ") + testo;
    return r;
}

QString DialoghiFinti::apriFile(const QString &titolo, const QString &cartella,
                                const QString &filtro)
{
    m_dialoghiFile.append({titolo, cartella, filtro});
    if (m_file.isEmpty()) {
        m_inattesi << QStringLiteral("dialogo file inatteso: ") + titolo;
        return {};
    }
    return m_file.dequeue();
}

bool DialoghiFinti::avviaProgramma(const QString &programma, const QStringList &argomenti)
{
    m_avvii.append({programma, argomenti});
    return m_esitoAvvio;
}

bool DialoghiFinti::apriDocumento(const QString &percorso)
{
    m_documenti << percorso;
    return m_esitoDocumento;
}
