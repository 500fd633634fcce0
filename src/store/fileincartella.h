#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Names of pictures, package pictures and datasheets are stored as bare file
// names and are looked for in their own folder (Pics, Packages, Datasheet).
// They come from hand-editable table files and from file dialogs, so a name
// may try to lead elsewhere ("/etc/passwd", "../x", a link to another place)
// or name something that is not a file (a folder, a FIFO that blocks whoever
// opens it, a device that never ends). Everything that shows, lists or opens
// such a file goes through this unit; whatever is not a regular file inside
// its folder counts as missing.

enum class StatoNome {
    Vuoto,       // no name at all
    Fuori,       // absolute, with a ".." step, or leading outside the folder through a link
    Mancante,    // inside the folder, but nothing there (a broken link too)
    NonRegolare, // inside the folder, but a folder, FIFO, device or socket
    Regolare,    // inside the folder, a regular file
};

struct NomeRisolto {
    StatoNome stato = StatoNome::Vuoto;
    // Regolare and NonRegolare: the canonical path (links resolved).
    // Mancante: the folder followed by the name. Otherwise empty.
    QString percorso;

    bool regolare() const { return stato == StatoNome::Regolare; }
};

// Where the stored name leads inside the folder. Only the path is examined:
// nothing is opened, so a FIFO or a device is never touched.
NomeRisolto RisolviNome(const QString &cartella, const QString &nome);

// The content of the regular file the name leads to inside the folder, at
// most limite bytes from its start (the whole file when limite is negative);
// nothing when it is not such a file or cannot be read. The file is opened
// without following a link and without waiting, and checked again once open,
// so a file swapped for a FIFO or a device in between is refused as well.
std::optional<QByteArray> LeggiFileInCartella(const QString &cartella, const QString &nome,
                                              qint64 limite = -1);

// The content of the file at the path, read the same way, when the path (its
// links followed) is a regular file: for the program's own files, which may
// lie anywhere.
std::optional<QByteArray> LeggiFileRegolare(const QString &percorso, qint64 limite = -1);

// The names of the regular files directly inside the folder (links leading
// to one inside the folder included) that match one of the patterns, such as
// "*.jpg" (case ignored), sorted by name with case ignored.
QStringList ElencoFileInCartella(const QString &cartella, const QStringList &schemi);

// The canonical path of the PDF document that the name leads to inside the
// folder: a regular file whose own name ends in ".pdf" (case ignored) and
// whose first kilobyte holds the "%PDF-" header. Nothing otherwise.
std::optional<QString> PercorsoPDF(const QString &cartella, const QString &nome);

// A name that the table files can keep: they hold texts between double
// quotes with no escape, so a double quote cannot be stored.
bool NomeConservabile(const QString &nome);

// The message shown when a picked file's name holds a double quote.
extern const QString AvvisoVirgoletteNelNome;
