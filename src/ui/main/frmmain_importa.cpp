// The CSV import from the main window: the file chosen, read and shown in
// the preview window; once imported, the pick lists and the list follow.

#include "ui/main/frmmain.h"

#include "importa/letturacsv.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/importa/frmimporta.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>

void FrmMain::ImportaCSV()
{
    // An import refills the list, which would throw away what is being typed.
    if (bottone(QStringLiteral("save"))->isEnabled()) {
        m_dialoghi.messaggio(QStringLiteral("Salvare o annullare prima il componente in modifica,\r\n"
                                            "poi ripetere l'importazione."),
                             Icona::Informazione, Pulsanti::Ok, QStringLiteral("Importa da testo CSV"));
        return;
    }
    const QString percorso = m_dialoghi.apriFile(QStringLiteral("Importa da testo CSV"),
                                                 m_stato.percorsi.CartellaEsportati,
                                                 QStringLiteral("Testo CSV (*.csv, *.txt)|*.csv;*.txt"));
    if (percorso.isEmpty())
        return;

    LetturaCSV lettura;
    {
        // A bar for a file that takes longer than half a second, counted
        // from here (reading the bytes included); "Annulla" stops the
        // reading and nothing else happens.
        QProgressDialog avanzamento(QStringLiteral("Lettura di %1\u2026").arg(QFileInfo(percorso).fileName()),
                                    QStringLiteral("Annulla"), 0, 1000, this);
        avanzamento.setObjectName(QStringLiteral("prgImporta"));
        avanzamento.setWindowTitle(QStringLiteral("Importa da testo CSV"));
        avanzamento.setWindowModality(Qt::WindowModal);
        avanzamento.setMinimumDuration(500);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        lettura = LeggiFileCSV(percorso, m_stato, [&avanzamento](qint64 fatto, qint64 totale) {
            avanzamento.setValue(int(fatto * 1000 / std::max<qint64>(totale, 1)));
            return !avanzamento.wasCanceled();
        });
        QApplication::restoreOverrideCursor();
    }
    if (lettura.interrotta)
        return;
    if (!lettura.errore.isEmpty()) {
        m_dialoghi.messaggio(lettura.errore, Icona::Esclamazione, Pulsanti::Ok,
                             QStringLiteral("Importa da testo CSV"));
        return;
    }

    FrmImporta anteprima(m_stato, m_dialoghi, std::move(lettura), QFileInfo(percorso).fileName(), this);
    if (anteprima.exec() != QDialog::Accepted)
        return;
    const auto aggiunti = anteprima.piano().nuovi.size();
    const auto sommati = anteprima.piano().quantita.size();
    CaricaTabelle();
    PulisciCampi();
    RiempiLista();
    // Counts after their nouns: right for one as for many.
    MostraMessaggio(QStringLiteral("Importazione completata: componenti aggiunti %1, quantit\u00e0 aggiornate %2")
                        .arg(aggiunti)
                        .arg(sommati));
    Timer->start();
}
