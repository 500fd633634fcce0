#include "ui/aux/frmmanual.h"

#include "store/stato.h"
#include "store/statofinestra.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

FrmManual::FrmManual(Stato &stato, QWidget *finestraPrincipale)
    : QDialog(finestraPrincipale), m_stato(stato)
{
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Arvo Manual"));
    setModal(true);
    // As designed where the screen has room; on a smaller screen no larger
    // than its work area (the page scrolls inside the viewer).
    const QScreen *schermo = finestraPrincipale ? finestraPrincipale->screen() : QGuiApplication::primaryScreen();
    const QRect area = schermo ? schermo->availableGeometry() : QRect(0, 0, 875, 870);
    constexpr int Cornice = 8, Titolo = 32; // room for the frame the window manager adds
    const QSize dimensione = QSize(875, 870).boundedTo(area.size() - QSize(Cornice, Titolo + Cornice));
    setFixedSize(dimensione);
    setAutoFillBackground(true);
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    setPalette(tavolozza);
    // Also as the window's own style sheet: an owner's colour theme must not
    // change the frame around the viewer.
    setStyleSheet(QStringLiteral("#frmManual { background-color: #404040; }"));

    m_wb = new QTextBrowser(this);
    m_wb->setObjectName(QStringLiteral("WB"));
    m_wb->setGeometry(2, 2, dimensione.width() - 5, dimensione.height() - 5);
    // Links to the web go to the desktop's browser; the viewer itself never
    // fetches anything from the network.
    m_wb->setOpenExternalLinks(true);

    if (finestraPrincipale) {
        // On the main window's corner, pulled back only as far as needed to
        // stay on the screen.
        const QRect voluta(finestraPrincipale->frameGeometry().topLeft(),
                           dimensione + QSize(Cornice, Titolo + Cornice));
        move(GeometriaSuSchermo(voluta, {area}).topLeft());
    }
    caricaManuale();
    QCoreApplication::processEvents();
}

QString FrmManual::PercorsoManuale(const Stato &stato)
{
    return stato.percorsi.CartellaRisorse + QStringLiteral("Manual/manual.html");
}

void FrmManual::caricaManuale()
{
    const QString percorso = PercorsoManuale(m_stato);
    const QFileInfo info(percorso);
    if (info.isFile() && info.isReadable() && info.size() > 0) {
        m_wb->setSource(QUrl::fromLocalFile(info.absoluteFilePath()),
                        QTextDocument::HtmlResource);
        if (!m_wb->document()->isEmpty())
            return;
    }
    m_wb->clear();
    const QString nota =
        QStringLiteral("<h2>Manuale d'uso non disponibile</h2>"
                       "<p>Il file del manuale non è stato trovato o non può essere letto:</p>"
                       "<p><tt>%1</tt></p>"
                       "<p>Il programma funziona normalmente anche senza il manuale. "
                       "Per consultarlo, copiare la cartella <b>Manual</b> con il file "
                       "<b>manual.html</b> nella cartella del programma.</p>")
            .arg(QDir::toNativeSeparators(percorso).toHtmlEscaped());
    m_wb->setHtml(nota);
}

void FrmManual::done(int risultato)
{
    m_stato.PrimoAvvio = false;
    QDialog::done(risultato);
}

void FrmManual::closeEvent(QCloseEvent *evento)
{
    m_stato.PrimoAvvio = false;
    QDialog::closeEvent(evento);
    // Closing the manual is never refused.
    evento->accept();
}

#include "moc_frmmanual.cpp"
