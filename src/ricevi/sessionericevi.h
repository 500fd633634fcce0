#pragma once

#include "ricevi/confrontoricevi.h"
#include "ricevi/registrazione.h"
#include "ricevi/scansione.h"

#include <QList>
#include <QString>
#include <QStringList>

struct Stato;

// The bags read in one opening of the receiving window, each a row: what
// its label says, what it comes to against the stock, and what the user
// made of it (pieces, the component the pieces go to).
struct RigaRicevi {
    Scansione scansione;
    ConfrontoRicevi confronto;
    qint64 pezzi = 0; // from the label; 0 until the user says, when it does not say
    // The component the pieces go to: its position (1-based), 0 for a new
    // component, -1 while the user has not chosen among several.
    qint32 destinazione = 0;

    // A row with something to register: its label was read and, when it is
    // one of this program's labels, names a component of the stock.
    bool leggibile() const { return confronto.esito != EsitoRicevi::NonLeggibile; }
};

// Splits what the scan box holds into the scans it completes: a scan ends
// at a line end (a scanner's Enter suffix, the lines of a pasted text) or
// after the end of an envelope (EOT, as a control character or as its
// picture "␄"). Returns the complete scans, trimmed, empty ones left out;
// *resto gets what follows the last end, still being typed. Control
// characters the box cannot show (RS, GS, EOT) come back as their pictures.
QStringList DividiScansioni(const QString &testo, QString *resto);

class SessioneRicevi {
public:
    SessioneRicevi(const Stato &stato, const Collegamenti &collegamenti = Collegamenti());

    // The row (0-based) that read the same bag (sacchetti.h) earlier; -1
    // when none, so that the user is asked before a bag counts twice.
    qsizetype doppione(const Scansione &scansione) const;
    // Adds a reading as a new row, matched against the stock: its index.
    qsizetype aggiungi(const Scansione &scansione);

    const QList<RigaRicevi> &righe() const { return m_righe; }
    void rimuovi(qsizetype riga);
    void impostaPezzi(qsizetype riga, qint64 pezzi);
    void impostaDestinazione(qsizetype riga, qint32 posizione);

    // What the list shows in the outcome column, following the user's
    // choice: "Aggiungi a <codice>", "Nuovo componente", "Da scegliere",
    // "Non leggibile: <motivo>".
    QString esito(qsizetype riga) const;

    // The rows as the registration takes them, unreadable rows left out;
    // *righeVoci[i] is the row (0-based) of voce i. A row still to be chosen
    // is an error of its own: *daScegliere gets the first such row, or -1.
    QList<VoceRicevimento> voci(QList<qsizetype> *righeVoci, qsizetype *daScegliere) const;
    qsizetype leggibili() const;

private:
    const Stato &m_stato;
    IndiceRicevi m_indice;
    QList<RigaRicevi> m_righe;
};
