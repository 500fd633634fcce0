#include "ui/main/apripdf.h"

#include "store/dialoghi.h"
#include "store/stato.h"

#include <QFileInfo>

void ApriPDF(const Stato &stato, Dialoghi &dialoghi, const QString &nome)
{
    const QString programma = stato.percorsi.CartellaRisorse + QStringLiteral("Sumatra/SumatraPDF.exe");
    const QString documento = stato.percorsi.CartellaDatasheet + nome;
    if (QFileInfo(programma).isFile() && dialoghi.avviaProgramma(programma, {documento}))
        return;
    if (dialoghi.apriDocumento(documento))
        return;
    dialoghi.messaggio(QStringLiteral("Errore nelle visualizzazione del PDF"), Icona::Critica,
                       Pulsanti::Ok);
}
