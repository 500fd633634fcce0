#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// An INI file held in memory as its lines, so that changing keys keeps every
// other line (comments, unknown keys, order, spelling) as it was.
class FileIni {
public:
    FileIni() = default;
    // From the bytes of a file (Windows-1252, any line ends).
    explicit FileIni(const QByteArray &contenuto);

    // The trimmed value of the first matching key of the first matching
    // section; false when there is none.
    bool valore(const QString &sezione, const QString &chiave, QString *valore) const;
    // Sets the key as the platform does: in place, at the end of its section,
    // or in a new section at the end.
    void imposta(const QString &sezione, const QString &chiave, const QString &valore);
    // Windows-1252 bytes, every line ended by CR LF.
    QByteArray contenuto() const;

private:
    qsizetype trovaSezione(const QString &sezione) const; // index of the [line], or -1
    qsizetype fineSezione(qsizetype inizio) const;         // first line after the section
    void inserisci(qsizetype posizione, const QString &riga);


    QString m_testo;     // the decoded file, never changed: lines point into it
    QStringList m_righe;
    // Indices of the section lines, ascending: finding a section or its end
    // does not walk every line of a file padded with millions of them.
    QList<qsizetype> m_sezioni;
};

// Reads a whole file; false when it exists but is not a regular file that
// can be read (a folder, a FIFO, a device: never waited on). A missing file
// gives empty content.
bool LeggiFileIni(const QString &percorso, QByteArray *contenuto);
