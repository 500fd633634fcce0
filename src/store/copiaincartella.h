#pragma once

#include <QString>

#include <optional>

class Dialoghi;

// Pictures, package pictures and datasheets are stored by bare name and
// looked for in their own folder (Pics, Packages, Datasheet). A file picked
// in a file dialog somewhere else (Downloads, a USB stick) is offered to be
// copied into that folder, so that the name stored leads to it.

// Files larger than this are not copied: they are read whole before they are
// written, and no picture or datasheet comes near it.
inline constexpr qint64 MassimoByteCopia = 256LL * 1024 * 1024;

// Whether the picked file lies directly in the folder (links of the folders
// on the way resolved): a file there is taken by its name, as it is.
bool FileNellaCartella(const QString &cartella, const QString &percorso);

// Whether the folder holds an entry of that name (a file, a folder, a link,
// even one leading nowhere).
bool NomeOccupato(const QString &cartella, const QString &nome);

// The first of "base (2).ext", "base (3).ext"... that names nothing in the
// folder; the extension is what follows the last dot ("foto.tar.png" gives
// "foto.tar (2).png"), and a name with none gets the number at its end. An
// empty text when none is free up to "(9999)".
QString NomeLibero(const QString &cartella, const QString &nome);

// Copies the file at origine into the folder under nome, through the
// crash-safe writer: a file of that name already there is replaced whole or
// not at all. False, with a description in *errore, when origine is not a
// regular file that can be read, is larger than massimo bytes, or the file
// could not be written.
bool CopiaNellaCartella(const QString &origine, const QString &cartella, const QString &nome,
                        QString *errore = nullptr, qint64 massimo = MassimoByteCopia);

// What a file picked in a file dialog for the folder becomes: the name to
// store, or nothing when nothing is to be stored.
//  - no file (a cancelled dialog): nothing;
//  - a name holding a double quote: the message AvvisoVirgoletteNelNome, nothing;
//  - a file in the folder: its name;
//  - a file elsewhere: "Copiare il file nella cartella <nomeCartella>?" (Sì/No);
//    No stores nothing. On Sì, when a file of that name is there already
//    with the same bytes, its name; with other bytes (or anything else of
//    that name) the choice Sostituisci / Mantieni entrambi / Annulla, the
//    copy going under a free name (NomeLibero) for the second and nothing
//    being copied or stored for the third. A copy that fails is reported
//    (Icona::Critica) and stores nothing.
// nomeCartella is the folder's name as the user knows it ("Pics").
std::optional<QString> PortaNellaCartella(Dialoghi &dialoghi, const QString &scelto, const QString &cartella,
                                          const QString &nomeCartella);

// The texts of the questions and of the failure message.
QString DomandaCopia(const QString &nomeCartella);
QString DomandaNomeEsistente(const QString &nomeCartella, const QString &nome);
QString AvvisoCopiaFallita(const QString &nomeCartella, const QString &descrizione);
