#pragma once

#include "distinta/letturadistinta.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct Stato;
struct GuastoScrittura;

// The links the user made by hand between BOM lines and components of the
// stock, kept in Collegamenti.csv in the data folder and used by every later
// check. A line is linked by what it carries: its MPN when it has one,
// otherwise its value together with its footprint (letter case, blanks
// around and a footprint's library prefix such as "Resistor_SMD:" aside), so
// "10k" in 0805 and "10k" in 0603 may go to different components. A link
// names the component by its ID, which stays when the component is edited
// or moves in the table.
//
// The file is UTF-8 with a byte-order mark, fields separated by ";", lines
// ending in CR LF, after the header line
//   MPN;Valore;Footprint;ID;Codice
// with the line's MPN, or its value and footprint, as written in the BOM; the
// component's ID; its code when the link was made, for whoever reads the
// file (only the ID counts). Lines that cannot be read are kept as they are
// and written back.

inline const QString NomeFileCollegamenti = QStringLiteral("Collegamenti.csv");
inline const QString IntestazioneCollegamenti = QStringLiteral("MPN;Valore;Footprint;ID;Codice");

struct Collegamento {
    QString mpn;
    QString valore;
    QString footprint;
    qint32 id = 0;
    QString codice;
    bool operator==(const Collegamento &) const = default;
};

// The key a BOM line is linked by; empty when the line has neither an MPN
// nor a value (a line with a stock code only).
QString ChiaveCollegamento(const QString &mpn, const QString &valore, const QString &footprint);
QString ChiaveCollegamento(const RigaDistinta &riga);

class Collegamenti {
public:
    // Reads the content of the file (an empty one: no links).
    static Collegamenti DaTesto(const QByteArray &dati);
    // The content of the file.
    QByteArray testo() const;

    // The ID of the component the line is linked to; 0 when none.
    qint32 id(const RigaDistinta &riga) const;
    // Links the line to the component (replacing its link); false when the
    // line has nothing to be linked by.
    bool collega(const RigaDistinta &riga, qint32 id, const QString &codice);
    // Removes the line's link; false when it had none.
    bool scollega(const RigaDistinta &riga);

    const QList<Collegamento> &voci() const { return m_voci; }
    const QStringList &righeIlleggibili() const { return m_illeggibili; }
    bool isEmpty() const { return m_voci.isEmpty(); }

private:
    QList<Collegamento> m_voci;
    QHash<QString, qsizetype> m_indice; // key -> position in m_voci
    QStringList m_illeggibili;
};

// The links of the data folder: an absent file gives none; a file that
// cannot be read (a folder, a FIFO, too large) gives none and the reason in
// *errore.
Collegamenti LeggiCollegamenti(const Stato &stato, QString *errore = nullptr);
// Writes the links into the data folder through the crash-safe writer;
// false with the reason in *errore.
bool SalvaCollegamenti(const Stato &stato, const Collegamenti &collegamenti, QString *errore = nullptr);
bool SalvaCollegamenti(const Stato &stato, const Collegamenti &collegamenti, QString *errore,
                       const GuastoScrittura &guasto);
