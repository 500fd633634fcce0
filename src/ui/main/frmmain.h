#pragma once

#include "components/operazioni.h"
#include "movimenti/pezzi.h"
#include "ui/main/frmpicture.h"
#include "ui/main/testirighe.h"
#include "ui/widgets/sceltastampante.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>

struct Stato;
class Dialoghi;
class ListaReport;
class RiempimentoColonne;
class ListaFile;
class RiquadroImmagine;
class FrmPicture;
class QAction;
class QActionGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QListWidget;
class QPushButton;
class QTimer;
class QToolBar;

// The program's main window: the component list on the left, the detail
// panel of one component on the right, the toolbar, the menus and the status
// bar with its message and counters.
//
// The window's code is split by concern: building the controls
// (frmmain_costruzione.cpp), load, close, messages and the auxiliary windows
// (frmmain.cpp), the list (frmmain_lista.cpp), the editor states
// (frmmain_editor.cpp), saving and deleting (frmmain_salvataggio.cpp),
// pictures and datasheets (frmmain_immagini.cpp), display options
// (frmmain_opzioni.cpp) and search and print (frmmain_ricerca.cpp).
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    // The window's own state, reset at every load.
    struct VariabiliForm {
        qint32 PosCorrente = 0;        // position in Componenti of the shown component; 0 = none
        qint32 IndiceVoce = 0;         // 1-based list row last clicked; 0 = none
        qint32 ColonnaCliccata = 0;    // 0-based column under the pointer at the last press
        qint32 ColonnaOrdinamento = 1; // 1-based column the list was last sorted by
        QString ValoreSelezione;       // cell value of a custom selection; empty = none
        bool SelezionePersonalizzata = false;
        bool NuovoInserimento = false;
        QString ImmagineScelta;        // file last picked in the picture list
        bool ImmagineAperta = false;   // the picture window is open
        int LarghezzaPic = 0;          // inner size of the picture box
        int AltezzaPic = 0;
        // The manufacturer name of the shown component when no entry of the
        // manufacturer list stands for it; saved as it is unless the user
        // picks an entry, so the name is never lost by showing and saving.
        QString ProduttoreFuoriLista;
    };

    FrmMain(Stato &stato, Dialoghi &dialoghi, QWidget *parent = nullptr);
    ~FrmMain() override;

    // The window's load: lists, pick lists, messages, theme, toolbar and menu
    // state, and the first sorted fill of the list. Shows the window.
    void Form_Load();

    const VariabiliForm &variabili() const { return v; }
    const std::array<QString, 8> &messaggi() const { return Messaggi; }

    // Status messages.
    void MostraMessaggio(const QString &testo);
    void MostraMessaggioConTimer(int indice);
    // A passing notice: with the timer, after which the panel says again
    // what it said before (the editing prompt, the selection hint...).
    void MostraAvviso(const QString &testo);

    // List.
    void RiempiLista();
    void AggiornaContatori();

    // Editor.
    void AbilitaBottoni(bool nuovo, bool modifica, bool elimina, bool salva, bool annulla);
    void SbloccaCampi();
    void PulisciCampi();
    void NuovoComponente();
    void ModificaComponente();
    void AnnullaModifica();
    void CaricaTabelle();
    // True when the component was stored and written to disk.
    bool SalvaComponente();
    void EliminaComponente();
    // Before a command that would throw away what the panel holds: when the
    // new component or the edit has changes not saved yet, asks whether to
    // save them. True to go on (saved, or discarded by the user), false to go
    // back to the editor.
    bool ConfermaAbbandonoModifiche();

    // Pictures and datasheets.
    void MostraComponente();
    void MostraImmagine(const QString &percorso);
    void ApriDatasheet();

    // Display options.
    void ApplicaTema();

    // Search. False when the user chose to go back to unsaved changes.
    bool CercaComponenti();

    // Auxiliary windows.
    void ApriTabelle();
    void ApriEtichette();
    // Checks a bill of materials against the stock (frmmain_distinta.cpp).
    void ApriDistinta();
    // Goes back to a dated copy of the data (frmmain_ripristino.cpp).
    void ApriRipristino();
    // The stock history and undo, adding and taking pieces of the component
    // shown (frmmain_storico.cpp).
    void ApriStorico();
    void ApriPezzi(VersoPezzi verso);
    // Receiving an order by scanning its bags (frmmain_ricevi.cpp).
    void ApriRicevi();

    // Labels for the listed components (frmmain_etichette.cpp).
    void ApriStampaEtichette();

    // The print dialog that the labels and the listing on paper go through;
    // the system's one unless replaced (tests answer without a window).
    void impostaSceltaStampante(SceltaStampante scelta) { m_sceltaStampante = std::move(scelta); }

    // Toolbar dispatch on the button key ("new", "edit", ...).
    void PremiBottone(const QString &chiave);
    QAction *bottone(const QString &chiave) const { return m_bottoni.value(chiave); }

    // The picture window while it is open (tests close it through it).
    FrmPicture *finestraImmagine() const { return m_finestraImmagine; }

protected:
    void closeEvent(QCloseEvent *evento) override;
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    // Construction (frmmain_costruzione.cpp).
    void costruisciFinestra();
    void creaAzioni();
    void creaMenu();
    void creaToolbar();
    void creaStatusBar();
    QWidget *creaPannelloLista();
    QWidget *creaPannelloDati();
    QWidget *creaPannelloImmagini();
    void collegaEventi();
    void impostaTastiera(); // frmmain_tastiera.cpp

    // Remembered geometry, columns and sort (geometria.cpp).
    void ripristinaFinestra();
    void dimensionaPrimaApertura();
    void portaSulloSchermo();
    void salvaFinestra();
    void moveEvent(QMoveEvent *evento) override;
    bool m_geometriaRicordata = false;
    bool m_corniceVista = false; // the window manager's frame was once checked against the screen

    // A read-only archive (frmmain_solalettura.cpp): the commands that would
    // change data, grouped so that one switch disables them all whatever the
    // editor states ask; the caption; the status message.
    void creaSolaLettura();
    void applicaSolaLettura();
    QString titolo() const;
    QActionGroup *m_gruppoModifiche = nullptr;

    // Load and close (frmmain.cpp).
    void riempiMessaggi();
    // The one-shot message reset.
    void Timer_Timer();
    // The data part of the load: theme, pick lists, labels, options,
    // toolbar, list and counters, from the state as it is now. Also shows
    // the data again after they were replaced.
    void mostraArchivio();
    // The load's outcome with types and manufacturers: "search" on, message
    // 0, the list filled and sorted, the panel empty, the background.
    void mostraArchivioUsabile();
    void applicaEtichetteExtra();
    void chiudiDaProgramma(bool terminaTutto);
    QPoint posizioneFinestreTabelle() const;

    // List handlers (frmmain_lista.cpp).
    void LV_PressioneMouse(Qt::MouseButton pulsante, int x);
    void LV_RigaCliccata(int riga);
    void LV_RilascioMouse(Qt::MouseButton pulsante);
    void LV_Click();
    void LV_ColumnClick(int indice);
    // Appends the rows of the components at these positions to the list;
    // returns how many of them are marked as under stock.
    int mostraRighe(const QList<qint32> &posizioni);
    void ordinaLista();
    // The row (1-based) that shows the component at this position; 0 when
    // none does.
    int rigaDelComponente(qint32 posizione) const;

    // Editor helpers (frmmain_editor.cpp).
    void entraInModifica();
    ValoriPannello valoriPannello() const;
    bool modifichePendenti() const;
    // Puts memory back after a save that could not be written, and tells
    // the user that the data is not saved.
    void segnalaNonSalvato(const QString &cosa);

    // Picture handlers (frmmain_immagini.cpp).
    void pic_DblClick();
    void FLP_Click();
    void FLP_DblClick();
    void btnAddJPG_Click();
    void btnClearJPG_Click();
    void btnLoadPic_Click();
    void btnLoadPDF_Click();
    void btnClearPDF_Click();
    void cmbPack_DblClick();
    void mostraHintImmagine(bool grande);
    QString percorsoSfondo() const;

    // Display options (frmmain_opzioni.cpp).
    void impostaImmaginiReali(bool reali);
    void impostaTema(bool chiaro);
    void impostaSeparatore(const QString &separatore);
    void aggiornaSpunteOpzioni();
    void ApriManuale();

    // Search and print (frmmain_ricerca.cpp).
    void txSearch_Click();
    void Riseleziona();
    void CreaStampa();
    // The listing just written, offered on paper or as a PDF beside it
    // (frmmain_etichette.cpp).
    void offriStampaSuCarta(const QList<qint32> &posizioni, const QString &percorsoTesto);
    // The positions in Componenti of the list's rows, in the list's order.
    QList<qint32> posizioniLista() const;
    SceltaStampante m_sceltaStampante = DialogoStampaQt;
    void EsportaCSVMenu();

    // Low stock, CSV import and search in descriptions (frmmain_scorta.cpp,
    // frmmain_importa.cpp): their menu items and status panel are added to
    // the built window by creaEstensioni.
    void creaEstensioni();
    void aggiornaSpunteEstese();
    void applicaColoriScorta();
    void MostraSottoScorta();
    void impostaCampoMinimo(int campo);
    void aggiornaScorta();
    void ImportaCSV();
    bool m_soloScorta = false; // the list shows only the components under stock
    int m_sottoScortaNoto = -1; // the count, when the refill just made it; -1 = count again
    QMenu *mnuMinimo = nullptr;
    std::array<QAction *, 7> mnuCampoMinimo{}; // 1 to 6
    QAction *mnuScorta = nullptr, *mnuImporta = nullptr, *mnuCercaDesc = nullptr;
    QLabel *numScorta = nullptr;

    // The stock history and the pieces (frmmain_storico.cpp): their menu
    // items, the list's context menu, and whether the panel shows a stored
    // component (MostraComponente since the last PulisciCampi).
    void creaStorico();
    // The pieces' items follow the panel: on while it shows a stored
    // component and nothing is being edited.
    void aggiornaVociPezzi();
    // The list's context menu, after a click of the right button that left
    // a component shown (or the menu key), at that point of the screen.
    void menuLista(const QPoint &dove);
    // The row of the component at the position written again from the
    // table, its low-stock mark included, and the counters.
    void aggiornaRigaComponente(qint32 posizione);
    QAction *mnuStorico = nullptr, *mnuAggiungiPezzi = nullptr, *mnuPrelevaPezzi = nullptr;
    QMenu *m_menuLista = nullptr;
    bool m_componenteMostrato = false;
    Qt::MouseButton m_pulsanteLista = Qt::NoButton;
    // The location of the components (frmmain_posizione.cpp): the option
    // choosing its custom field, and the list column showing it.
    void creaPosizione();
    void aggiornaSpuntePosizione();
    void impostaCampoPosizione(int campo);
    // Adds, removes or renames the column as the option and labels say now.
    void aggiornaColonnaPosizione();
    int m_campoColonna = 0;        // the field whose column the list shows; 0 = none
    int m_larghezzaPosizione = 0;  // the location column's width asked for, once known
    QMenu *mnuPosizione = nullptr;
    std::array<QAction *, 7> mnuCampoPosizione{}; // 0 (none) to 6

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    TestiRighe m_righe;
    VariabiliForm v;
    ValoriPannello m_valoriIniziali; // the panel when the editing began
    std::array<QString, 8> Messaggi;
    QString m_avviso, m_dopoAvviso; // the notice on show, and what it covered
    bool m_chiusuraDaProgramma = false;
    QPointer<FrmPicture> m_finestraImmagine;

    // Toolbar and menus; toolbar buttons by key.
    QToolBar *TB = nullptr;
    QHash<QString, QAction *> m_bottoni;
    QActionGroup *m_gruppoImmagini = nullptr;
    QMenu *mnuProg = nullptr, *mnuComp = nullptr, *mnuShow = nullptr, *mnuOpt = nullptr,
          *mnuA = nullptr;
    QAction *mnuList = nullptr, *mnuExtra = nullptr, *mnuCSV = nullptr,
            *mnuQuit = nullptr;
    QAction *mnuNew = nullptr, *mnuEdit = nullptr, *mnuUpdate = nullptr,
            *mnuDel = nullptr;
    QAction *mnuSelect = nullptr, *mnuImg0 = nullptr, *mnuImg1 = nullptr;
    QAction *mnuImgReal = nullptr, *mnuImgMod = nullptr, *mnuCSV1 = nullptr,
            *mnuCSV2 = nullptr, *mnuLight = nullptr, *mnuDark = nullptr;
    QAction *mnuHelp = nullptr;
    QAction *mnuDistinta = nullptr;
    QAction *mnuRipristina = nullptr;
    // Receiving (frmmain_ricevi.cpp): its menu item and the type last given
    // to the new components it made.
    void creaRicevi();
    QAction *mnuRicevi = nullptr;
    QString m_tipoRicevi;
    QAction *mnuEtichette = nullptr;

    // Status bar.
    QLabel *msg = nullptr, *numComponent = nullptr, *numSelected = nullptr, *numPieces = nullptr;
    QTimer *Timer = nullptr;

    // List and search.
    ListaReport *LV = nullptr;
    RiempimentoColonne *m_colonne = nullptr;
    QLineEdit *txSearch = nullptr;
    ListaFile *FL = nullptr;

    // Detail frame.
    QGroupBox *fmDati = nullptr;
    QLineEdit *txCodice = nullptr, *txQty = nullptr, *txPins = nullptr, *txDatains = nullptr;
    QComboBox *cmbTipo = nullptr, *cmbPack = nullptr;
    QListWidget *LP = nullptr;
    QLineEdit *txDesc = nullptr, *txNote = nullptr;
    std::array<QLineEdit *, 7> txExtra{}; // 1 to 6
    std::array<QLabel *, 7> lblExtra{};   // 1 to 6
    QLineEdit *txPackDesc = nullptr;
    QLabel *imgPack = nullptr;

    // Picture frame and datasheet/picture association frame.
    QWidget *Frame1 = nullptr;
    RiquadroImmagine *pic = nullptr;
    QLabel *lblRedimPic = nullptr;
    QGroupBox *fmImm = nullptr;
    QLineEdit *txPDF = nullptr, *txPic = nullptr;
    QPushButton *btnLoadPDF = nullptr, *btnClearPDF = nullptr, *btnAddJPG = nullptr,
                *btnClearJPG = nullptr, *btnLoadPic = nullptr;
    ListaFile *FLP = nullptr;
};
