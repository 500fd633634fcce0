#include "ui/main/apripdf.h"

#include "store/dialoghi.h"
#include "store/fileincartella.h"
#include "store/stato.h"

#include <QFileInfo>

void ApriPDF(const Stato &stato, Dialoghi &dialoghi, const QString &nome)
{
    const QString cartella = stato.percorsi.CartellaDatasheet;
    const StatoNome documento = RisolviNome(cartella, nome).stato;

    // The viewer gets the document's path as its one argument. A document
    // missing from the folder is for the viewer to report; a name leading
    // out of the folder, or to a folder, FIFO or device, is never passed on.
    if (documento == StatoNome::Regolare || documento == StatoNome::Mancante) {
        const QString programma = stato.percorsi.CartellaRisorse + QStringLiteral("Sumatra/SumatraPDF.exe");
        if (QFileInfo(programma).isFile() && dialoghi.avviaProgramma(programma, {cartella + nome}))
            return;
    }
    // The desktop's opener chooses a program by the file's type, and some
    // types run what they hold: only a real PDF of the folder goes to it.
    if (const std::optional<QString> pdf = PercorsoPDF(cartella, nome); pdf && dialoghi.apriDocumento(*pdf))
        return;
    dialoghi.messaggio(QStringLiteral("Errore nelle visualizzazione del PDF"), Icona::Critica,
                       Pulsanti::Ok);
}
