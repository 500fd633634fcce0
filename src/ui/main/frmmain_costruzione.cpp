// Building the controls of the main window: menus, toolbar, status bar, the
// component list and the detail panel. Behaviour lives in the other
// frmmain_*.cpp files; this one only creates, names and lays out.

#include "ui/main/frmmain.h"

#include "ui/main/colonnelista.h"

#include "ui/main/listafile.h"
#include "ui/main/riquadroimmagine.h"
#include "ui/widgets/iconebarra.h"
#include "ui/widgets/immagineincartella.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/misurapreferita.h"
#include "ui/widgets/riempimentocolonne.h"
#include "ui/widgets/rigaaffiancata.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// While browsing, the panel is locked; its fields stay easy to read.
void testoBloccatoLeggibile(QWidget *cornice)
{
    // Locked boxes are light grey with dark text in either theme, like the
    // boxes that have their own background.
    QPalette p = cornice->palette();
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(48, 48, 48));
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(240, 240, 240));
    cornice->setPalette(p);
}

// Size of the picture box in pixels.
constexpr int LarghezzaRiquadro = 443;
constexpr int AltezzaRiquadro = 359;

QLabel *etichetta(const QString &testo, QWidget *genitore, const QString &nome = QString())
{
    auto *l = new QLabel(testo, genitore);
    if (!nome.isEmpty())
        l->setObjectName(nome);
    return l;
}

QLineEdit *casella(const QString &nome, const QString &suggerimento, QWidget *genitore)
{
    auto *t = new QLineEdit(genitore);
    t->setObjectName(nome);
    t->setToolTip(suggerimento);
    return t;
}

QPushButton *pulsante(const QString &nome, const QString &testo, const QString &suggerimento,
                      QWidget *genitore)
{
    auto *b = new QPushButton(testo, genitore);
    b->setObjectName(nome);
    b->setToolTip(suggerimento);
    b->setAutoDefault(false);
    return b;
}

} // namespace

void FrmMain::costruisciFinestra()
{
    setObjectName(QStringLiteral("frmMain"));
    creaAzioni();
    creaMenu();
    creaToolbar();
    creaStatusBar();

    auto *centro = new QWidget(this);
    centro->setObjectName(QStringLiteral("centro"));
    // The list takes whatever width the panel leaves: on a larger or
    // maximised window only the list grows, and the panel keeps its layout.
    auto *righe = new RigaAffiancata(centro);
    righe->setContentsMargins(6, 6, 6, 6);
    righe->setSpacing(8);
    righe->addWidget(creaPannelloLista());
    // The panel and the picture frame scroll when the window is made smaller
    // than they are (a small laptop screen); at the designed size and larger
    // they show whole.
    auto *destra = new QWidget;
    destra->setObjectName(QStringLiteral("pannelloDestro"));
    auto *colonne = new QHBoxLayout(destra);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->setSpacing(8);
    colonne->addWidget(creaPannelloDati(), 1);
    colonne->addWidget(creaPannelloImmagini());
    auto *scorrimento = new AreaScorrevole(centro);
    scorrimento->setObjectName(QStringLiteral("scorrimentoPannello"));
    scorrimento->setFrameShape(QFrame::NoFrame);
    scorrimento->setWidgetResizable(true);
    scorrimento->setWidget(destra);
    // Transparent, so that the window's theme colour shows around the frames.
    scorrimento->viewport()->setAutoFillBackground(false);
    destra->setAutoFillBackground(false);
    scorrimento->setMinimumWidth(200);
    righe->addWidget(scorrimento);
    setCentralWidget(centro);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setSingleShot(true);
    Timer->setInterval(3000);

    collegaEventi();
}

void FrmMain::creaAzioni()
{
    // Toolbar buttons, left to right: key, caption, tooltip (the icon comes
    // from the key, IconaBarra). An empty
    // key is a fixed-width gap between groups.
    struct Voce {
        const char *chiave;
        const char *testo;
        const char *suggerimento;
    };
    static const Voce voci[] = {
        {"new", "Nuovo", "Crea un nuovo componente"},
        {"edit", "Modifica", "Modifica questo componente"},
        {"undo", "Annulla", "Annulla i cambiamenti"},
        {"save", "Salva", "Salva il componente"},
        {"del", "Elimina", "Elimina questo componente"},
        {"", "", ""},
        {"pdf", "PDF", "Mostra il PDF"},
        {"imgstd", "Imm Reali", "Immagini in dimensioni reali"},
        {"imgrid", "Imm Adatte", "Immagini in dimensioni adattate alla finestra"},
        {"", "", ""},
        {"list", "Tabelle", "Modifica le tabelle"},
        {"custom", "Campi extra", ""},
        {"print", "Stampe", "Crea file di stampa"},
        {"", "", ""},
        {"search", "Cerca", "Seleziona i componenti per Codice o parte della Descrizione "},
        {"reselect", "Riseleziona", "Riseleziona e mostra tutti i componenti"},
        {"", "", ""},
        {"exit", "Esci", "Termina il programma"},
    };

    TB = new QToolBar(this);
    TB->setObjectName(QStringLiteral("TB"));
    TB->setMovable(false);
    TB->setFloatable(false);
    TB->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    TB->setIconSize(QSize(24, 24));
    TB->toggleViewAction()->setEnabled(false);
    m_gruppoImmagini = new QActionGroup(this);
    m_gruppoImmagini->setExclusive(true);

    for (const Voce &voce : voci) {
        const QString chiave = QLatin1String(voce.chiave);
        if (chiave.isEmpty()) {
            auto *spazio = new QWidget(TB);
            spazio->setFixedWidth(16);
            TB->addWidget(spazio);
            continue;
        }
        QAction *a = TB->addAction(IconaBarra(chiave), QString::fromUtf8(voce.testo));
        a->setObjectName(chiave);
        a->setToolTip(QString::fromUtf8(voce.suggerimento));
        if (chiave == QLatin1String("imgstd") || chiave == QLatin1String("imgrid")) {
            a->setCheckable(true);
            m_gruppoImmagini->addAction(a);
        }
        if (QWidget *w = TB->widgetForAction(a))
            w->setObjectName(QStringLiteral("TB_") + chiave);
        m_bottoni.insert(chiave, a);
        connect(a, &QAction::triggered, this, [this, chiave] { PremiBottone(chiave); });
    }
    addToolBar(Qt::TopToolBarArea, TB);
}

void FrmMain::creaMenu()
{
    QMenuBar *barra = menuBar();
    auto voce = [this](QMenu *menu, const char *nome, const QString &testo) {
        QAction *a = menu->addAction(testo);
        a->setObjectName(QLatin1String(nome));
        return a;
    };
    auto menu = [barra](const char *nome, const QString &testo) {
        QMenu *m = barra->addMenu(testo);
        m->setObjectName(QLatin1String(nome));
        m->menuAction()->setObjectName(QLatin1String(nome) + QStringLiteral("_voce"));
        return m;
    };

    mnuProg = menu("mnuProg", QStringLiteral("Programma"));
    mnuList = voce(mnuProg, "mnuList", QStringLiteral("Modifica tabelle"));
    mnuExtra = voce(mnuProg, "mnuExtra", QStringLiteral("Gestione campi Extra"));
    mnuProg->addSeparator();
    mnuCSV = voce(mnuProg, "mnuCSV", QStringLiteral("Esport come testo CSV"));
    mnuEtichette = voce(mnuProg, "mnuEtichette", QStringLiteral("Stampa etichette\u2026"));
    mnuDistinta = voce(mnuProg, "mnuDistinta", QStringLiteral("Verifica distinta base\u2026"));
    mnuRipristina = voce(mnuProg, "mnuRipristina", QStringLiteral("Ripristina una copia\u2026"));
    mnuProg->addSeparator();
    mnuQuit = voce(mnuProg, "mnuQuit", QStringLiteral("Esci"));

    mnuComp = menu("mnuComp", QStringLiteral("Componenti"));
    mnuNew = voce(mnuComp, "mnuNew", QStringLiteral("Nuovo"));
    mnuNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuEdit = voce(mnuComp, "mnuEdit", QStringLiteral("Modifica"));
    mnuEdit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuUpdate = voce(mnuComp, "mnuUpdate", QStringLiteral("Salva"));
    mnuUpdate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuDel = voce(mnuComp, "mnuDel", QStringLiteral("Elimina"));
    mnuDel->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    mnuShow = menu("mnuShow", QStringLiteral("Visualizza"));
    mnuSelect = voce(mnuShow, "mnuSelect", QStringLiteral("Seleziona tutti"));
    mnuSelect->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuImg0 = voce(mnuShow, "mnuImg(0)", QStringLiteral("Aggiorna lista immagini"));
    mnuImg1 = voce(mnuShow, "mnuImg(1)", QStringLiteral("Visualizza il PDF"));

    mnuOpt = menu("mnuOpt", QStringLiteral("Opzioni"));
    mnuImgReal = voce(mnuOpt, "mnuImgReal", QStringLiteral("Immagini in dimensioni reali"));
    mnuImgMod = voce(mnuOpt, "mnuImgMod", QStringLiteral("Immagini in dimensioni adattate"));
    mnuOpt->addSeparator()->setObjectName(QStringLiteral("dummy4"));
    mnuCSV1 = voce(mnuOpt, "mnuCSV1", QStringLiteral("Il separatore CSV è la virgola"));
    mnuCSV2 = voce(mnuOpt, "mnuCSV2", QStringLiteral("Il separatore CSV è il punto-virgola"));
    mnuOpt->addSeparator()->setObjectName(QStringLiteral("dummy6"));
    mnuLight = voce(mnuOpt, "mnuLight", QStringLiteral("Tema chiaro"));
    mnuDark = voce(mnuOpt, "mnuDark", QStringLiteral("Tema scuro"));
    for (QAction *a : {mnuImgReal, mnuImgMod, mnuCSV1, mnuCSV2, mnuLight, mnuDark})
        a->setCheckable(true);

    mnuA = menu("mnuA", QStringLiteral("Informazioni..."));
    mnuHelp = voce(mnuA, "mnuHelp", QStringLiteral("Visualizza il Manuale d'uso"));
    mnuA->addSeparator();
    voce(mnuA, "mnuAutore", QStringLiteral("Autore: Arvo developers"));
    voce(mnuA, "mnuContatti", QStringLiteral("Contatti: vedere il file README del progetto"));
    voce(mnuA, "mnuLicenza", QStringLiteral("Licenza MIT"));
}

void FrmMain::creaToolbar()
{
    // The toolbar is built with the actions; nothing else to add here. The
    // picture-mode buttons show their pressed state like toggle buttons.
    for (const char *chiave : {"imgstd", "imgrid"}) {
        if (QWidget *w = TB->widgetForAction(bottone(QLatin1String(chiave))))
            w->setMinimumWidth(72);
    }
}

void FrmMain::creaStatusBar()
{
    auto *sbm = new QStatusBar(this);
    sbm->setObjectName(QStringLiteral("SBM"));
    sbm->setSizeGripEnabled(false);
    auto pannello = [sbm](const QString &nome, const QString &testo, int larghezza, int allungamento) {
        auto *l = new QLabel(testo, sbm);
        l->setObjectName(nome);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        if (larghezza > 0)
            l->setMinimumWidth(larghezza);
        sbm->addWidget(l, allungamento);
        return l;
    };
    msg = pannello(QStringLiteral("msg"), QString(), 300, 1);
    pannello(QStringLiteral("lblComponenti"), QStringLiteral("Componenti"), 0, 0);
    numComponent = pannello(QStringLiteral("numComponent"), QString(), 60, 0);
    pannello(QStringLiteral("lblSelezionati"), QStringLiteral("Selezionati"), 0, 0);
    numSelected = pannello(QStringLiteral("numSelected"), QString(), 60, 0);
    pannello(QStringLiteral("lblPezzi"), QStringLiteral("Pezzi"), 0, 0);
    numPieces = pannello(QStringLiteral("numPieces"), QString(), 70, 0);
    for (QLabel *n : {numComponent, numSelected, numPieces})
        n->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setStatusBar(sbm);
}

QWidget *FrmMain::creaPannelloLista()
{
    // At its designed size where the screen has room; smaller on a laptop.
    auto *pannello = new MisuraPreferita(QSize(455, 583 + 30), this);
    pannello->setObjectName(QStringLiteral("pannelloLista"));
    auto *colonna = new QVBoxLayout(pannello);
    colonna->setContentsMargins(0, 0, 0, 0);

    auto *ricerca = new QHBoxLayout;
    auto *text1 = new QLineEdit(QStringLiteral("Cerca codici"), pannello);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setReadOnly(true);
    text1->setFocusPolicy(Qt::NoFocus);
    text1->setFixedWidth(text1->fontMetrics().horizontalAdvance(text1->text()) + 16);
    ricerca->addWidget(text1);
    txSearch = casella(QStringLiteral("txSearch"),
                       QStringLiteral("Cerca per Codice o Descrizione  (accetta valori parziali)"),
                       pannello);
    ricerca->addWidget(txSearch, 1);
    colonna->addLayout(ricerca);

    LV = new ListaReport(pannello);
    LV->setObjectName(QStringLiteral("LV"));
    LV->impostaColonne(ColonneListaComponenti());
    // The list starts as if last sorted descending, so the first sort (which
    // flips the direction) shows the codes in ascending order.
    LV->setSortOrder(1);
    LV->setMinimumSize(220, 150);
    // The columns fill the list's width, whatever the window's size.
    m_colonne = new RiempimentoColonne(LV);
    colonna->addWidget(LV, 1);

    // The datasheet file list is kept for completeness; nobody looks at it.
    FL = new ListaFile(QStringLiteral("*.pdf"), pannello);
    FL->setObjectName(QStringLiteral("FL"));
    FL->hide();
    return pannello;
}

QWidget *FrmMain::creaPannelloDati()
{
    fmDati = new QGroupBox(QStringLiteral("Informazioni  Componente "), this);
    fmDati->setObjectName(QStringLiteral("fmDati"));
    fmDati->setAutoFillBackground(true);
    testoBloccatoLeggibile(fmDati);
    auto *g = new QGridLayout(fmDati);
    g->setVerticalSpacing(3);
    int r = 0;

    txCodice = casella(QStringLiteral("txCodice"), QStringLiteral("Valore obbligatorio"), fmDati);
    txQty = casella(QStringLiteral("txQty"), QStringLiteral("Valore obbligatorio"), fmDati);
    g->addWidget(etichetta(QStringLiteral("Codice"), fmDati, QStringLiteral("lblCodice")), r, 0);
    g->addWidget(etichetta(QStringLiteral("Qta"), fmDati, QStringLiteral("lblQty")), r, 2);
    ++r;
    g->addWidget(txCodice, r, 0, 1, 2);
    g->addWidget(txQty, r, 2);
    ++r;

    cmbTipo = new QComboBox(fmDati);
    cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    cmbTipo->setEditable(true);
    cmbTipo->setInsertPolicy(QComboBox::NoInsert);
    cmbTipo->setToolTip(QStringLiteral("Valore obbligatorio"));
    txDatains = casella(QStringLiteral("txDatains"), QStringLiteral("Valore automatico e modificabile"),
                        fmDati);
    g->addWidget(etichetta(QStringLiteral("Tipo"), fmDati, QStringLiteral("lblTipo")), r, 0);
    g->addWidget(etichetta(QStringLiteral("Aggiunto il"), fmDati, QStringLiteral("lblDatains")), r, 2);
    ++r;
    g->addWidget(cmbTipo, r, 0, 1, 2);
    g->addWidget(txDatains, r, 2);
    ++r;

    LP = new QListWidget(fmDati);
    LP->setObjectName(QStringLiteral("LP"));
    LP->setToolTip(QStringLiteral("Selezionare il Produttore - valore obbligatorio"));
    LP->setMinimumHeight(90);
    LP->setMaximumHeight(110);
    g->addWidget(etichetta(QStringLiteral("Produttore"), fmDati, QStringLiteral("lblProduttore")), r, 0);
    ++r;
    g->addWidget(LP, r, 0, 1, 3);
    ++r;

    cmbPack = new QComboBox(fmDati);
    cmbPack->setObjectName(QStringLiteral("cmbPack"));
    cmbPack->setEditable(true);
    cmbPack->setInsertPolicy(QComboBox::NoInsert);
    cmbPack->setToolTip(QStringLiteral("Seleziona il Package  - non obblgatoria"));
    txPins = casella(QStringLiteral("txPins"), QStringLiteral("Numero di Pin  - non obblgatoria"), fmDati);
    g->addWidget(etichetta(QStringLiteral("Package"), fmDati, QStringLiteral("lblPack")), r, 0);
    g->addWidget(etichetta(QStringLiteral("Pins"), fmDati, QStringLiteral("lblPins")), r, 2);
    ++r;
    g->addWidget(cmbPack, r, 0, 1, 2);
    g->addWidget(txPins, r, 2);
    ++r;

    txPackDesc = casella(QStringLiteral("txPackDesc"),
                         QStringLiteral("Descrizione del Packages (modificare in tabella)"), fmDati);
    txPackDesc->setReadOnly(true);
    imgPack = new QLabel(fmDati);
    imgPack->setObjectName(QStringLiteral("imgPack"));
    imgPack->setToolTip(QStringLiteral("Immagine del Package"));
    imgPack->setFixedSize(64, 64);
    imgPack->setScaledContents(true);
    g->addWidget(txPackDesc, r, 0, 1, 2, Qt::AlignTop);
    g->addWidget(imgPack, r, 2, Qt::AlignRight);
    ++r;

    txDesc = casella(QStringLiteral("txDesc"),
                     QStringLiteral("Descrizione del componente - non obblgatoria"), fmDati);
    g->addWidget(etichetta(QStringLiteral("Descrizione componente"), fmDati, QStringLiteral("lblDesc")),
                 r++, 0, 1, 3);
    g->addWidget(txDesc, r++, 0, 1, 3);
    txNote = casella(QStringLiteral("txNote"), QStringLiteral("Altre note - non obbligatorie"), fmDati);
    g->addWidget(etichetta(QStringLiteral("Note aggiuntive"), fmDati, QStringLiteral("lblNote")),
                 r++, 0, 1, 3);
    g->addWidget(txNote, r++, 0, 1, 3);

    // The six custom fields, two per row.
    for (int i = 1; i <= 6; ++i) {
        const QString suggerimento = (i == 1 || i == 4)
                                         ? QStringLiteral("Quantità minima da tenere a magazzino")
                                         : QStringLiteral("da definire a piacere in Info");
        txExtra[i] = casella(QStringLiteral("txExtra%1").arg(i), suggerimento, fmDati);
        lblExtra[i] = etichetta(QString(), fmDati, QStringLiteral("lblExtra(%1)").arg(i));
        // A long label never pushes the panel's columns about.
        lblExtra[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    for (int i = 1; i <= 6; i += 2) {
        g->addWidget(lblExtra[i], r, 0, 1, 2);
        g->addWidget(lblExtra[i + 1], r, 2);
        ++r;
        g->addWidget(txExtra[i], r, 0, 1, 2);
        g->addWidget(txExtra[i + 1], r, 2);
        ++r;
    }
    g->setRowStretch(r, 1);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(2, 1);
    // A custom label of 20 characters (the longest allowed, after its
    // leading blank) of ordinary letters shows whole at the panel's font:
    // in the third column, and across the first two.
    const int etichetta20 = fmDati->fontMetrics().horizontalAdvance(QString(21, QLatin1Char('n'))) + 8;
    g->setColumnMinimumWidth(0, etichetta20 / 2);
    g->setColumnMinimumWidth(1, etichetta20 - etichetta20 / 2);
    g->setColumnMinimumWidth(2, etichetta20);
    return fmDati;
}

QWidget *FrmMain::creaPannelloImmagini()
{
    auto *pannello = new QWidget(this);
    auto *colonna = new QVBoxLayout(pannello);
    colonna->setContentsMargins(0, 0, 0, 0);

    Frame1 = new QWidget(pannello);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *f = new QVBoxLayout(Frame1);
    f->setContentsMargins(0, 0, 0, 0);
    f->setSpacing(0);
    pic = new RiquadroImmagine(Frame1);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setFixedSize(LarghezzaRiquadro, AltezzaRiquadro);
    pic->setAutoFillBackground(true);
    {
        // The box keeps its own background whatever the theme.
        QPalette p = pic->palette();
        p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
        pic->setPalette(p);
    }
    lblRedimPic = new QLabel(Frame1);
    lblRedimPic->setObjectName(QStringLiteral("lblRedimPic"));
    lblRedimPic->setFixedWidth(LarghezzaRiquadro);
    lblRedimPic->setMinimumHeight(20);
    lblRedimPic->setAlignment(Qt::AlignCenter);
    lblRedimPic->setAutoFillBackground(true);
    {
        QPalette p = lblRedimPic->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        lblRedimPic->setPalette(p);
    }
    f->addWidget(pic);
    f->addWidget(lblRedimPic);
    colonna->addWidget(Frame1);

    fmImm = new QGroupBox(QStringLiteral("Datasheet  && Immagine"), pannello);
    fmImm->setObjectName(QStringLiteral("fmImm"));
    fmImm->setAutoFillBackground(true);
    testoBloccatoLeggibile(fmImm);
    auto *g = new QGridLayout(fmImm);
    g->setVerticalSpacing(3);

    txPDF = casella(QStringLiteral("txPDF"), QStringLiteral("Titolo del datasheet"), fmImm);
    btnLoadPDF = pulsante(QStringLiteral("btnLoadPDF"), QStringLiteral("Trova"),
                          QStringLiteral("Trova il  Datasheet nella cartella  DATASHEET"), fmImm);
    btnClearPDF = pulsante(QStringLiteral("btnClearPDF"), QStringLiteral("Elimina"),
                           QStringLiteral("Cancella l'associazione al  datasheet ( il datasheet non viene cancellato!)"),
                           fmImm);
    FLP = new ListaFile(SchemiImmagini(), fmImm);
    FLP->seguiCartella();
    FLP->setObjectName(QStringLiteral("FLP"));
    FLP->setToolTip(QStringLiteral("Click destro per ricaricare l'elenco"));
    FLP->setMinimumHeight(56);
    txPic = casella(QStringLiteral("txPic"), QStringLiteral("Nome dell'immagine associata"), fmImm);
    btnAddJPG = pulsante(QStringLiteral("btnAddJPG"), QStringLiteral("Inserisci <-"),
                         QStringLiteral("Associa l'immagine selezionata"), fmImm);
    btnClearJPG = pulsante(QStringLiteral("btnClearJPG"), QStringLiteral("Elimina"),
                           QStringLiteral("Cancella l'associazione all'immagine (l'immagine non viene cancellata!)"),
                           fmImm);
    btnLoadPic = pulsante(QStringLiteral("btnLoadPic"), QStringLiteral("Trova"),
                          QStringLiteral("Cerca l'immagine nella cartella  PICS"), fmImm);

    g->addWidget(etichetta(QStringLiteral("Datasheet"), fmImm, QStringLiteral("lblTitolo(1)")), 0, 0);
    g->addWidget(txPDF, 1, 0, 1, 2);
    g->addWidget(btnLoadPDF, 1, 2);
    g->addWidget(btnClearPDF, 1, 3);
    g->addWidget(etichetta(QStringLiteral("Picture"), fmImm, QStringLiteral("lblTitolo(2)")), 2, 0);
    g->addWidget(txPic, 3, 0, 1, 2);
    g->addWidget(btnLoadPic, 3, 2);
    g->addWidget(btnClearJPG, 3, 3);
    g->addWidget(etichetta(QStringLiteral("Immagini disponibili in Pics"), fmImm,
                           QStringLiteral("lblTitolo(0)")),
                 4, 0, 1, 2);
    g->addWidget(FLP, 5, 0, 2, 2);
    g->addWidget(btnAddJPG, 5, 2, 1, 2, Qt::AlignTop);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(1, 1);
    // A taller frame lengthens the file list; the labels stay on their fields.
    g->setRowStretch(6, 1);
    // As wide as the picture above it.
    fmImm->setMaximumWidth(LarghezzaRiquadro);
    colonna->addWidget(fmImm, 1);
    return pannello;
}

void FrmMain::collegaEventi()
{
    connect(Timer, &QTimer::timeout, this, &FrmMain::Timer_Timer);

    // Menus.
    connect(mnuList, &QAction::triggered, this, &FrmMain::ApriTabelle);
    connect(mnuExtra, &QAction::triggered, this, &FrmMain::ApriEtichette);
    connect(mnuCSV, &QAction::triggered, this, &FrmMain::EsportaCSVMenu);
    connect(mnuDistinta, &QAction::triggered, this, &FrmMain::ApriDistinta);
    connect(mnuRipristina, &QAction::triggered, this, &FrmMain::ApriRipristino);
    connect(mnuEtichette, &QAction::triggered, this, &FrmMain::ApriStampaEtichette);
    connect(mnuQuit, &QAction::triggered, this, [this] { chiudiDaProgramma(false); });
    connect(mnuNew, &QAction::triggered, this, &FrmMain::NuovoComponente);
    connect(mnuEdit, &QAction::triggered, this, [this] {
        pic->setFocus();
        ModificaComponente();
    });
    connect(mnuUpdate, &QAction::triggered, this, &FrmMain::SalvaComponente);
    connect(mnuDel, &QAction::triggered, this, [this] {
        MostraMessaggio(Messaggi[4]);
        EliminaComponente();
    });
    // "Seleziona tutti" has no action of its own.
    connect(mnuImg0, &QAction::triggered, this, [this] { FLP->ricarica(); });
    connect(mnuImg1, &QAction::triggered, this, &FrmMain::ApriDatasheet);
    connect(mnuImgReal, &QAction::triggered, this, [this] { impostaImmaginiReali(true); });
    connect(mnuImgMod, &QAction::triggered, this, [this] { impostaImmaginiReali(false); });
    connect(mnuCSV1, &QAction::triggered, this, [this] { impostaSeparatore(QStringLiteral(",")); });
    connect(mnuCSV2, &QAction::triggered, this, [this] { impostaSeparatore(QStringLiteral(";")); });
    connect(mnuLight, &QAction::triggered, this, [this] { impostaTema(true); });
    connect(mnuDark, &QAction::triggered, this, [this] { impostaTema(false); });
    connect(mnuHelp, &QAction::triggered, this, &FrmMain::ApriManuale);

    // The list.
    connect(LV, &ListaReport::pressioneMouse, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int) { LV_PressioneMouse(b, x); });
    connect(LV, &ListaReport::rigaCliccata, this, &FrmMain::LV_RigaCliccata);
    connect(LV, &ListaReport::rilascioMouse, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, int, int) { LV_RilascioMouse(b); });
    connect(LV, &ListaReport::cliccata, this, &FrmMain::LV_Click);
    connect(LV, &ListaReport::intestazioneCliccata, this, &FrmMain::LV_ColumnClick);

    // Pictures and datasheets.
    connect(pic, &RiquadroImmagine::doppioClic, this, &FrmMain::pic_DblClick);
    connect(FLP, &ListaFile::pressioneMouse, this, [this](Qt::MouseButton b) {
        if (b == Qt::RightButton)
            FLP->ricarica();
    });
    connect(FLP, &QListWidget::itemClicked, this, &FrmMain::FLP_Click);
    connect(FLP, &QListWidget::itemDoubleClicked, this, &FrmMain::FLP_DblClick);
    connect(btnAddJPG, &QPushButton::clicked, this, &FrmMain::btnAddJPG_Click);
    connect(btnClearJPG, &QPushButton::clicked, this, &FrmMain::btnClearJPG_Click);
    connect(btnLoadPic, &QPushButton::clicked, this, &FrmMain::btnLoadPic_Click);
    connect(btnLoadPDF, &QPushButton::clicked, this, &FrmMain::btnLoadPDF_Click);
    connect(btnClearPDF, &QPushButton::clicked, this, &FrmMain::btnClearPDF_Click);

    // Clicks on text boxes and the package combo, and the window-wide Esc.
    txSearch->installEventFilter(this);
    txPic->installEventFilter(this);
    cmbPack->lineEdit()->installEventFilter(this);
    connect(txSearch, &QLineEdit::returnPressed, this, &FrmMain::CercaComponenti);
    qApp->installEventFilter(this);
}
