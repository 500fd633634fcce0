#include "ui/tables/frmliste.h"

#include "listsort/ordinacolonna.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/widgets/iconebarra.h"
#include "ui/widgets/listareport.h"

#include <new>

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString MessaggioTabelleMancanti =
    QStringLiteral("Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste");

// The four columns shared by the three lists; only the first two headers
// differ.
QList<ListaReport::Colonna> colonne(const QString &primo, const QString &nome)
{
    return {
        {primo, QString(), 18, Qt::AlignLeft, false},
        {nome, QString(), 248, Qt::AlignLeft, false},
        {QStringLiteral("Qtà"), QStringLiteral("NUMBER"), 40, Qt::AlignHCenter, false},
        {QStringLiteral("ID"), QString(), 1, Qt::AlignLeft, true},
    };
}

QString nomeIndicizzato(const char *nome, int indice)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(nome)).arg(indice);
}

} // namespace

FrmListe::FrmListe(Stato &stato, Dialoghi &dialoghi, const AccessoPrincipale &principale,
                   QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_principale(principale)
{
    creaControlli();
    Carica();
}

FrmListe::~FrmListe() = default;

void FrmListe::creaControlli()
{
    setObjectName(QStringLiteral("frmListe"));
    setWindowTitle(QStringLiteral("Gestione Tabelle"));
    setModal(true);
    resize(367, 555);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    creaBarra();
    layout->addWidget(m_tbt);

    m_chkExclude = new QCheckBox(QStringLiteral("Mostra SOLO le voci utilizzate"), this);
    m_chkExclude->setObjectName(QStringLiteral("chkExclude"));
    layout->addWidget(m_chkExclude);

    m_sst = new QTabWidget(this);
    m_sst->setObjectName(QStringLiteral("SST"));
    m_sst->addTab(creaScheda(0, m_lvp, QStringLiteral("PRODUTTORE")), QStringLiteral("Produttori"));
    m_sst->addTab(creaScheda(1, m_lvt, QStringLiteral("TIPO")), QStringLiteral("Tipi"));
    m_sst->addTab(creaScheda(2, m_lvg, QStringLiteral("PACKAGE")), QStringLiteral("Contenitori"));
    layout->addWidget(m_sst, 1);

    m_sb = new QStatusBar(this);
    m_sb->setObjectName(QStringLiteral("SB"));
    m_sb->setSizeGripEnabled(false);
    auto *suggerimento = new QLabel(SuggerimentoTabelle, m_sb);
    suggerimento->setObjectName(QStringLiteral("SBtesto"));
    m_sb->addWidget(suggerimento, 1);
    layout->addWidget(m_sb);

    connect(m_sst, &QTabWidget::currentChanged, this, &FrmListe::cambioScheda);
    connect(m_chkExclude, &QCheckBox::toggled, this, &FrmListe::filtroCambiato);
    for (ListaReport *lista : {m_lvp, m_lvt, m_lvg}) {
        connect(lista, &ListaReport::intestazioneCliccata, this,
                [this, lista](int indice) { intestazioneCliccata(lista, indice); });
    }
    connect(m_lvp, &ListaReport::cliccata, this, [this] { selezioneRiga(0); });
    connect(m_lvt, &ListaReport::cliccata, this, [this] { selezioneRiga(1); });
    connect(m_lvg, &ListaReport::cliccata, this, [this] { selezioneRiga(2); });
    for (QLineEdit *casella : m_txVoce)
        connect(casella, &QLineEdit::returnPressed, this, &FrmListe::SalvaVoce);
    connect(m_btnLoadPic, &QPushButton::clicked, this, &FrmListe::caricaImmagine);

    // Every editor box starts locked, on every tab.
    for (QLineEdit *casella : {m_txVoce[0], m_txVoce[1], m_txVoce[2], m_txDesc, m_txImmagine})
        coloraCasella(casella, false);
    m_btnLoadPic->setEnabled(false);
}

void FrmListe::creaBarra()
{
    struct Bottone {
        const char *chiave;
        const char *titolo;
        const char *suggerimento;
    };
    static const Bottone bottoni[] = {
        {"new", "Nuovo", "Nuovo elemento"},
        {"edit", "Modifica", "Modifica voce"},
        {"undo", "Annulla", "Annulla la modifica"},
        {"save", "Salva", "Salva la voce"},
        {"quit", "Esci", "Torna a Arvo"},
    };
    m_tbt = new QToolBar(this);
    m_tbt->setObjectName(QStringLiteral("TBT"));
    m_tbt->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_tbt->setMovable(false);
    for (const Bottone &b : bottoni) {
        const QString chiave = QString::fromLatin1(b.chiave);
        QAction *azione = m_tbt->addAction(IconaBarra(chiave), QString::fromUtf8(b.titolo));
        azione->setObjectName(chiave);
        azione->setToolTip(QString::fromUtf8(b.suggerimento));
        m_tbt->widgetForAction(azione)->setObjectName(chiave);
        connect(azione, &QAction::triggered, this, [this, chiave] { clicBarra(chiave); });
    }
}

QWidget *FrmListe::creaScheda(int tab, ListaReport *&lista, const QString &titoloNome)
{
    static const char *const nomiListe[] = {"LVP", "LVT", "LVG"};
    auto *scheda = new QWidget;
    auto *layout = new QVBoxLayout(scheda);

    lista = new ListaReport(scheda);
    lista->setObjectName(QString::fromLatin1(nomiListe[tab]));
    lista->impostaColonne(colonne(tab == 0 ? QStringLiteral("Usata") : QString(), titoloNome));
    lista->impostaCaselle(true);
    layout->addWidget(lista, 1);

    auto *riga = new QHBoxLayout;
    auto *etichetta = new QLabel(QStringLiteral("Elemento"), scheda);
    etichetta->setObjectName(nomeIndicizzato("lbItem", tab));
    m_txVoce[tab] = new QLineEdit(scheda);
    m_txVoce[tab]->setObjectName(nomeIndicizzato("txVoce", tab));
    riga->addWidget(etichetta);
    riga->addWidget(m_txVoce[tab], 1);
    layout->addLayout(riga);

    if (tab == 2)
        creaEditorPackage(scheda);
    return scheda;
}

void FrmListe::creaEditorPackage(QWidget *scheda)
{
    auto *griglia = new QGridLayout;
    auto *lbDesc = new QLabel(QStringLiteral("Descrizione"), scheda);
    lbDesc->setObjectName(QStringLiteral("lbDesc"));
    m_txDesc = new QLineEdit(scheda);
    m_txDesc->setObjectName(QStringLiteral("txDesc"));
    auto *lbImmagine = new QLabel(QStringLiteral("Immagine"), scheda);
    lbImmagine->setObjectName(QStringLiteral("lbImmagine"));
    m_txImmagine = new QLineEdit(scheda);
    m_txImmagine->setObjectName(QStringLiteral("txImmagine"));
    m_btnLoadPic = new QPushButton(QStringLiteral("Carica"), scheda);
    m_btnLoadPic->setObjectName(QStringLiteral("btnLoadPic"));
    m_btnLoadPic->setToolTip(QStringLiteral("Find the image in the PICS folder (jpg, jpeg, bmp)"));
    // Enter in a name box saves the entry; it must never press this button.
    m_btnLoadPic->setAutoDefault(false);
    m_imgPack = new QLabel(scheda);
    m_imgPack->setObjectName(QStringLiteral("imgPack"));
    m_imgPack->setFixedSize(92, 92);
    m_imgPack->setFrameShape(QFrame::Box);
    m_imgPack->setAlignment(Qt::AlignCenter);
    m_imgPack->setToolTip(QStringLiteral("Immagine del Package"));

    griglia->addWidget(lbDesc, 0, 0);
    griglia->addWidget(m_txDesc, 0, 1, 1, 2);
    griglia->addWidget(lbImmagine, 1, 0);
    griglia->addWidget(m_txImmagine, 1, 1);
    griglia->addWidget(m_btnLoadPic, 1, 2);
    griglia->addWidget(m_imgPack, 2, 1, 1, 2, Qt::AlignLeft);
    static_cast<QVBoxLayout *>(scheda->layout())->addLayout(griglia);
}

ListaReport *FrmListe::listaScheda(int tab) const
{
    return tab == 0 ? m_lvp : tab == 1 ? m_lvt : m_lvg;
}

// Opening: place the window, start on the manufacturers, fill the lists and
// leave the editor idle. The window always opens with whatever could be
// prepared.
void FrmListe::Carica()
{
    move(m_principale.posizione);

    m_tabCorrente = 0;
    m_soloUsate = false;
    m_caricamento = true;
    m_sst->setCurrentIndex(0);

    // The window sees every key before its controls do.
    installEventFilter(this);
    for (QWidget *figlio : findChildren<QWidget *>())
        figlio->installEventFilter(this);

    // Counting reports its own failures; what is left to fail here is the
    // memory for the lists, reported as a failed opening.
    try {
        RiempiListe();
        PulisciVoce();
    } catch (const std::bad_alloc &) {
        m_dialoghi.messaggio(QStringLiteral("Errore 7-Memoria insufficiente in Load "),
                             Icona::Critica, Pulsanti::Ok);
    }
    m_caricamento = false;
}

bool FrmListe::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (evento->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(evento)->key() == Qt::Key_Escape) {
        PulisciVoce();
        return true;
    }
    return QDialog::eventFilter(oggetto, evento);
}

void FrmListe::done(int esito)
{
    PassiChiusura();
    QDialog::done(esito);
}

// Closing is never refused; it tells the main window what is still missing
// and has it refill its pick lists when an entry was saved.
void FrmListe::PassiChiusura()
{
    if (m_chiusa)
        return;
    m_chiusa = true;
    if (m_principale.mostraMessaggio) {
        m_principale.mostraMessaggio(m_stato.NumProduttori == 0 || m_stato.NumTipi == 0
                                         ? MessaggioTabelleMancanti
                                         : QString());
    }
    if (m_stato.TabelleModificate && m_principale.caricaTabelle)
        m_principale.caricaTabelle();
}

// The editor is reset while TabCorrente still names the tab being left, so
// that tab's name box is the one emptied and locked.
void FrmListe::cambioScheda(int indice)
{
    if (m_caricamento)
        return;
    PulisciVoce();
    m_tabCorrente = indice;
}

void FrmListe::filtroCambiato(bool spuntato)
{
    m_soloUsate = spuntato;
    RiempiListe();
}

void FrmListe::intestazioneCliccata(ListaReport *lista, int indice)
{
    if (lista->numeroRighe() < 1)
        return;
    OrdinaColonna(*lista, indice);
}
