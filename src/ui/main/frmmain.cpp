// The main window's load and close, its status messages, the toolbar
// dispatch, the window-wide key handling and the auxiliary windows it opens.

#include "ui/main/frmmain.h"

#include "listsort/ordinacolonna.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/main/frmpicture.h"
#include "ui/main/listafile.h"
#include "ui/main/riquadroimmagine.h"
#include "ui/aux/etichette.h"
#include "ui/tables/apritabelle.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>

FrmMain::FrmMain(Stato &stato, Dialoghi &dialoghi, QWidget *parent)
    : QMainWindow(parent), m_stato(stato), m_dialoghi(dialoghi)
{
    costruisciFinestra();
    creaEstensioni();
    creaPosizione();
    creaSolaLettura();
    creaStorico();
    creaRicevi();
    // Mnemonics once every menu item is in place.
    impostaTastiera();
    setWindowTitle(titolo());
    // As designed: the panel empty and locked until the load decides.
    PulisciCampi();
}

FrmMain::~FrmMain()
{
    qApp->removeEventFilter(this);
    if (m_finestraImmagine)
        delete m_finestraImmagine.data();
}

void FrmMain::riempiMessaggi()
{
    Messaggi[0] = QStringLiteral("Benvenuti in Ar.Vo. - Versione ") + VersioneEstesa;
    Messaggi[1] = QStringLiteral(
        "Per iniziare devi aggiungere Tipi e Produttori - Premi il bottone 'Tabelle'");
    // A slot of its own for the deletion, so that it does not say "aggiunto".
    Messaggi[2] = QStringLiteral("Operazione completata: componente eliminato");
    Messaggi[3] = QStringLiteral("Selezione personalizzata: premi il pulsante 'Riseleziona' nella "
                                 "barra in alto per visualizzare tutti i componenti");
    Messaggi[4] = QStringLiteral("Conferma la richiesta per l'operazione");
    Messaggi[5] = QStringLiteral("Inserisci le informazioni sul componente poi premi [SALVA]");
    Messaggi[6] = QStringLiteral("Operazione completata: componente aggiunto o modificato");
    Messaggi[7] = QStringLiteral(
        "Doppio click sulla lista o premi [Inserisci] per inserire l'immagine");
}

void FrmMain::Form_Load()
{
    const Percorsi &p = m_stato.percorsi;
    FL->impostaCartella(p.CartellaDatasheet);
    FLP->impostaCartella(p.CartellaPics);

    v = VariabiliForm{};
    v.LarghezzaPic = pic->contentsRect().width();
    v.AltezzaPic = pic->contentsRect().height();

    riempiMessaggi();
    applicaSolaLettura();

    // The location column first: the remembered widths include it.
    aggiornaColonnaPosizione();
    ripristinaFinestra();
    show();
    portaSulloSchermo();
    setWindowTitle(titolo());

    mostraArchivio();
    // The list now asks for room for its longest texts.
    dimensionaPrimaApertura();

    if (m_stato.PrimoAvvio)
        ApriManuale();
}

void FrmMain::mostraArchivio()
{
    ApplicaTema();
    CaricaTabelle();
    ContaPezzi(m_stato);

    applicaEtichetteExtra();

    for (const char *chiave : {"edit", "undo", "save", "del", "pdf"})
        bottone(QLatin1String(chiave))->setEnabled(false);
    aggiornaSpunteOpzioni();

    if (m_stato.NumProduttori > 0 && m_stato.NumTipi > 0) {
        mostraArchivioUsabile();
    } else {
        bottone(QStringLiteral("new"))->setEnabled(false);
        bottone(QStringLiteral("search"))->setEnabled(false);
        // A read-only archive cannot be given its tables here.
        MostraMessaggio(Messaggi[m_stato.SolaLettura ? 0 : 1]);
        // The list stays empty; the counters say so rather than nothing.
        LV->svuota();
        PulisciCampi();
        AggiornaContatori();
    }
}

void FrmMain::mostraArchivioUsabile()
{
    bottone(QStringLiteral("search"))->setEnabled(true);
    MostraMessaggio(Messaggi[0]);
    RiempiLista();
    ordinaLista();
    PulisciCampi();
    MostraImmagine(percorsoSfondo());
}

void FrmMain::MostraMessaggio(const QString &testo)
{
    msg->setText(testo);
}

void FrmMain::MostraMessaggioConTimer(int indice)
{
    MostraMessaggio(Messaggi[indice]);
    Timer->start();
}

void FrmMain::MostraAvviso(const QString &testo)
{
    // A notice over one still on show covers the same text; over a timed
    // message, message 0, which the timer was going to put back anyway.
    const bool sopraAvviso = Timer->isActive() && !m_avviso.isEmpty() && msg->text() == m_avviso;
    if (!sopraAvviso)
        m_dopoAvviso = Timer->isActive() ? Messaggi[0] : msg->text();
    m_avviso = testo;
    MostraMessaggio(testo);
    Timer->start();
}

void FrmMain::Timer_Timer()
{
    // A notice still on show gives way to what it covered; any other text
    // (a timed message, or one shown over the notice) to message 0.
    const bool avviso = !m_avviso.isEmpty() && msg->text() == m_avviso;
    MostraMessaggio(avviso ? m_dopoAvviso : Messaggi[0]);
    m_avviso.clear();
    m_dopoAvviso.clear();
    Timer->stop();
}

void FrmMain::applicaEtichetteExtra()
{
    for (int i = 1; i <= 6; ++i)
        lblExtra[i]->setText(QLatin1Char(' ') + m_stato.Etichette[i]);
    // The location column is headed by its field's label.
    aggiornaSpuntePosizione();
    aggiornaColonnaPosizione();
}

void FrmMain::PremiBottone(const QString &chiave)
{
    if (chiave == QLatin1String("new")) {
        NuovoComponente();
    } else if (chiave == QLatin1String("edit")) {
        ModificaComponente();
    } else if (chiave == QLatin1String("undo")) {
        AnnullaModifica();
    } else if (chiave == QLatin1String("save")) {
        SalvaComponente();
    } else if (chiave == QLatin1String("del")) {
        MostraMessaggio(Messaggi[4]);
        EliminaComponente();
    } else if (chiave == QLatin1String("pdf")) {
        ApriDatasheet();
    } else if (chiave == QLatin1String("imgstd")) {
        impostaImmaginiReali(true);
    } else if (chiave == QLatin1String("imgrid")) {
        impostaImmaginiReali(false);
    } else if (chiave == QLatin1String("list")) {
        ApriTabelle();
    } else if (chiave == QLatin1String("custom")) {
        ApriEtichette();
    } else if (chiave == QLatin1String("print")) {
        CreaStampa();
    } else if (chiave == QLatin1String("search")) {
        if (CercaComponenti())
            bottone(QStringLiteral("reselect"))->setEnabled(true);
    } else if (chiave == QLatin1String("reselect")) {
        Riseleziona();
    } else if (chiave == QLatin1String("exit")) {
        chiudiDaProgramma(true);
    }
}

void FrmMain::chiudiDaProgramma(bool terminaTutto)
{
    if (!ConfermaAbbandonoModifiche())
        return;
    m_chiusuraDaProgramma = true;
    close();
    if (terminaTutto) {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    }
}

void FrmMain::closeEvent(QCloseEvent *evento)
{
    if (m_chiusuraDaProgramma) {
        // A read-only archive belongs to the copy that holds it: not even
        // the window's place is written.
        if (!m_stato.SolaLettura) {
            // A failed save has shown its own message; the window closes anyway.
            SalvaDatabase(m_stato, m_dialoghi);
            // The window's own section goes after the data: older readers skip it.
            salvaFinestra();
        }
        if (m_finestraImmagine)
            m_finestraImmagine->close();
        evento->accept();
        return;
    }
    evento->ignore();
    m_dialoghi.messaggio(QStringLiteral("Per terminare il programma usare l'icona della barra comandi"),
                         Icona::Informazione, Pulsanti::Ok, QStringLiteral("Operazione annullata"));
}

bool FrmMain::eventFilter(QObject *oggetto, QEvent *evento)
{
    switch (evento->type()) {
    case QEvent::KeyPress: {
        // The window sees Esc before its controls: it cancels the editing
        // whichever control of this window has the focus.
        const auto *tasto = static_cast<QKeyEvent *>(evento);
        // Esc closes the picture window, like a click on it.
        if (tasto->key() == Qt::Key_Escape && m_finestraImmagine && oggetto->isWidgetType()
            && static_cast<QWidget *>(oggetto)->window() == m_finestraImmagine.data()) {
            m_finestraImmagine->close();
            return true;
        }
        if (tasto->key() == Qt::Key_Escape && oggetto->isWidgetType()
            && static_cast<QWidget *>(oggetto)->window() == this
            && bottone(QStringLiteral("undo"))->isEnabled()) {
            AnnullaModifica();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (oggetto == txSearch)
            txSearch_Click();
        break;
    case QEvent::MouseButtonPress:
        if (oggetto == txPic)
            FLP->ricarica();
        break;
    case QEvent::ContextMenu:
        // The menu key on the list: the menu of the component shown, under
        // its row. (A right click has its menu after the click itself.)
        if ((oggetto == LV->vista() || oggetto == LV->vista()->viewport())
            && static_cast<QContextMenuEvent *>(evento)->reason() == QContextMenuEvent::Keyboard) {
            const int riga = LV->rigaSelezionata();
            QTreeView *vista = LV->vista();
            const QRect dove = riga >= 1 ? vista->visualRect(vista->model()->index(riga - 1, 0)) : QRect();
            menuLista(vista->viewport()->mapToGlobal(dove.isValid() ? dove.bottomLeft() : QPoint(0, 0)));
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (oggetto == cmbPack->lineEdit()) {
            cmbPack_DblClick();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(oggetto, evento);
}

QPoint FrmMain::posizioneFinestreTabelle() const
{
    const QPoint fuori = frameGeometry().topLeft();
    const QPoint dati = fmDati->mapTo(this, QPoint(0, 0));
    return QPoint(fuori.x() + dati.x() + 4, fuori.y() + dati.y() + 46);
}

void FrmMain::ApriTabelle()
{
    AccessoPrincipale accesso;
    accesso.finestra = this;
    accesso.posizione = posizioneFinestreTabelle();
    accesso.mostraMessaggio = [this](const QString &testo) { MostraMessaggio(testo); };
    accesso.caricaTabelle = [this] { CaricaTabelle(); };
    // Without types or manufacturers (a first start) the window came up
    // with "new" and "search" off; it is the tables window that gives them.
    const bool incompleto = m_stato.NumProduttori == 0 || m_stato.NumTipi == 0;
    ApriFinestraTabelle(m_stato, m_dialoghi, accesso);
    if (m_stato.TabelleModificate) {
        CaricaTabelle();
        MostraMessaggio(QString());
    }
    if (!incompleto || m_stato.NumProduttori == 0 || m_stato.NumTipi == 0)
        return;
    // Now complete: the window becomes what a start on these tables shows.
    // A component being entered meanwhile (the menu's "Nuovo") keeps what
    // was typed and its editing buttons.
    if (bottone(QStringLiteral("undo"))->isEnabled()) {
        bottone(QStringLiteral("search"))->setEnabled(true);
        MostraMessaggio(Messaggi[5]);
    } else {
        mostraArchivioUsabile();
    }
}

void FrmMain::ApriEtichette()
{
    // Modal; afterwards the captions are renewed and Info.ini is written.
    ::ApriEtichette(m_stato, m_dialoghi, this, posizioneFinestreTabelle(), [this] { applicaEtichetteExtra(); });
}
