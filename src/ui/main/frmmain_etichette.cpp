// Paper: the labels window opened on the listed components, and the print
// listing offered on a printer or as a PDF after its text file is written.

#include "ui/main/frmmain.h"

#include "reports/stampa.h"
#include "store/dialoghi.h"
#include "store/orologio.h"
#include "store/stato.h"
#include "ui/etichette/frmetichette.h"
#include "ui/widgets/pagine.h"

#include <QDir>
#include <QFileInfo>

void FrmMain::ApriStampaEtichette()
{
    AccessoEtichette accesso;
    accesso.lista = posizioniLista();
    accesso.mostrato = v.PosCorrente;
    accesso.sceltaStampante = m_sceltaStampante;
    FrmEtichette finestra(m_stato, m_dialoghi, accesso, this);
    finestra.exec();
}

void FrmMain::offriStampaSuCarta(const QList<qint32> &posizioni, const QString &percorsoTesto)
{
    const Risposta r = m_dialoghi.messaggio(
        QStringLiteral("La lista di stampa \u00e8 stata scritta in ") + QDir::toNativeSeparators(percorsoTesto)
            + QStringLiteral("\r\nStamparla anche su carta o salvarla in PDF?"),
        Icona::Domanda, Pulsanti::StampaPdfNo, QStringLiteral("Stampa"));
    if (r != Risposta::Stampa && r != Risposta::Pdf)
        return;
    // The same text as the file, the same day's heading.
    const QString testo = TestoStampa(m_stato, posizioni, Oggi());
    const QString titolo = QFileInfo(percorsoTesto).completeBaseName();
    const auto disegno = [&testo](QPagedPaintDevice &d) { return DisegnaTesto(d, testo); };
    if (r == Risposta::Pdf) {
        const QFileInfo info(percorsoTesto);
        const QString pdf = info.absolutePath() + u'/' + info.completeBaseName() + QStringLiteral(".pdf");
        if (!ScriviPdf(pdf, PaginaTesto(), titolo, disegno)) {
            m_dialoghi.messaggio(QStringLiteral("Errore nella creazione del PDF della lista di stampa\r\n"
                                                "Controllare che la cartella Stampe esista e che il file "
                                                "non sia aperto in altro programma"),
                                 Icona::Critica, Pulsanti::Ok, TitoloErroreStampa);
            return;
        }
        MostraMessaggio(QStringLiteral("Stampa in PDF creata: ") + QDir::toNativeSeparators(pdf));
        return;
    }
    const EsitoStampa esito = StampaPagine(m_sceltaStampante, this, PaginaTesto(), titolo, disegno);
    if (esito == EsitoStampa::Stampato)
        MostraMessaggio(QStringLiteral("Stampa inviata alla stampante"));
    else if (esito == EsitoStampa::Errore)
        m_dialoghi.messaggio(QStringLiteral("La stampante non ha accettato la lista di stampa\r\n"
                                            "Controllare la stampante e riprovare"),
                             Icona::Critica, Pulsanti::Ok, TitoloErroreStampa);
}
