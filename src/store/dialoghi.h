#pragma once

#include <QString>
#include <QStringList>

// The one seam through which the program asks the user something or starts
// an outside program: message boxes, file-open dialogs, outside programs.
// The application uses the Qt implementation (ui/widgets/dialoghiqt.h);
// tests use a fake that answers from a queue and records what was asked.

enum class Icona {
    Nessuna,
    Critica,      // stop / critical-error icon
    Esclamazione, // exclamation (warning) icon
    Informazione,
    Domanda,
};

enum class Pulsanti {
    Ok,
    SiNo,
    SiNoAnnulla,
    // "Sostituisci", "Mantieni entrambi", "Annulla": a file of the same name
    // is already where another is to go.
    SostituisciMantieniAnnulla,
    // "Stampa...", "PDF", "No": a listing written to its file may also go
    // to a printer or into a PDF file.
    StampaPdfNo,
};

enum class Risposta {
    Ok,
    Si,
    No,
    Annulla, // from a box with Pulsanti::SiNoAnnulla or SostituisciMantieniAnnulla (also its close box and Esc)
    Sostituisci,      // only from a box with Pulsanti::SostituisciMantieniAnnulla
    MantieniEntrambi, // the same
    Stampa,           // only from a box with Pulsanti::StampaPdfNo
    Pdf,              // the same
};

// Title shown on message boxes for which the program sets none.
inline const QString TitoloPredefinito = QStringLiteral("Arvo");

class Dialoghi {
public:
    virtual ~Dialoghi() = default;

    // Shows a modal message box and returns the button pressed. An empty
    // title means the program's default title.
    virtual Risposta messaggio(const QString &testo, Icona icona, Pulsanti pulsanti,
                               const QString &titolo = QString()) = 0;

    // A file-open dialog on a starting folder with one filter written as
    // "Description|*.a;*.b". Returns the full path of the chosen file, or an
    // empty text when the user cancelled.
    virtual QString apriFile(const QString &titolo, const QString &cartella,
                             const QString &filtro) = 0;

    // Starts an outside program with an argument list, detached, without a
    // shell. Returns false when it could not be started.
    virtual bool avviaProgramma(const QString &programma, const QStringList &argomenti) = 0;

    // Opens a document with the desktop's default application. Returns false
    // when that failed.
    virtual bool apriDocumento(const QString &percorso) = 0;
};
