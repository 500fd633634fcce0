#pragma once

#include "movimenti/rigamovimento.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// Reading the history for a window that must open at once even with a
// million lines: the file is mapped into memory and indexed by one scan
// (where each line starts, its operation and component ID); the other
// fields of a line are read only when it is asked for. Lines are counted
// oldest first (0 the oldest, as in the file); a view shows them newest
// first.
//
// Only whole lines count: the header, a line cut short by a power cut (at
// the end: up to the last line end; inside: a line the next append ended)
// and a line that does not read are left out.
class IndiceMovimenti {
public:
    IndiceMovimenti() = default;
    IndiceMovimenti(const IndiceMovimenti &) = delete;
    IndiceMovimenti &operator=(const IndiceMovimenti &) = delete;

    // Indexes the file; a missing file is an empty history. False, with a
    // description in *errore, when it is not a regular file or cannot be
    // read.
    bool apri(const QString &percorso, QString *errore = nullptr);
    // Takes in the lines appended since apri or the last aggiorna.
    bool aggiorna(QString *errore = nullptr);

    qsizetype conteggio() const { return qsizetype(m_inizi.size()); }
    qint32 id(qsizetype i) const { return m_id[std::size_t(i)]; }
    qint64 operazione(qsizetype i) const { return m_operazioni[std::size_t(i)]; }
    // The line's bytes, without its line end.
    QByteArrayView testo(qsizetype i) const;
    // The line read whole (nothing only for a line damaged past its ID).
    std::optional<RigaMovimento> riga(qsizetype i) const;

    // The lines, newest first, of the component with that ID (0: any) whose
    // code or Movimento text holds the text (case ignored; empty: any).
    std::vector<qint32> filtra(qint32 id, const QString &testo) const;

    // The first and last line of the operation line i belongs to.
    std::pair<qsizetype, qsizetype> estremiOperazione(qsizetype i) const;
    // The lines of that operation, in file order.
    QList<RigaMovimento> righeOperazione(qsizetype i) const;

    // The operation that undid operation n and still counts (it was not
    // undone in its turn), or 0. An undone operation that counts again may
    // be undone once more.
    qint64 annullataDa(qint64 operazione) const;

    // The file holding the given lines, in the order given: byte-order
    // mark, header and the lines as written.
    QByteArray esporta(const std::vector<qint32> &righe) const;

private:
    bool mappa(QString *errore);
    void scandisci(qint64 da);

    QString m_percorso;
    QFile m_file;
    const uchar *m_dati = nullptr;
    qint64 m_mappati = 0;
    qint64 m_fine = 0; // end of the last whole line scanned
    std::vector<qint64> m_inizi;
    std::vector<qint32> m_lunghezze;
    std::vector<qint32> m_id;
    std::vector<qint64> m_operazioni;
};
