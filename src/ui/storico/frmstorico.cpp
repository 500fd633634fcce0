#include "ui/storico/frmstorico.h"

#include "movimenti/annullamento.h"
#include "movimenti/indice.h"
#include "movimenti/registro.h"
#include "store/dialoghi.h"
#include "store/localeutente.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "ui/storico/modellostorico.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString Titolo = QStringLiteral("Storico movimenti");
const QString TitoloAnnulla = QStringLiteral("Annulla operazione");
const QString TitoloEsporta = QStringLiteral("Esporta storico");
const QString AcapoCrLf = QStringLiteral("\r\n");

// The pause in the typing after which the text filter runs: a whole
// history of a million lines is looked through in a fraction of a second,
// once per pause rather than once per key.
constexpr int AttesaFiltroMs = 250;

QString Momento(const QDateTime &momento)
{
    return DataBreve(momento.date()) + u' ' + momento.time().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

FrmStorico::FrmStorico(Stato &stato, Dialoghi &dialoghi, const AccessoStorico &accesso,
                       std::unique_ptr<IndiceMovimenti> indice, QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_accesso(accesso), m_indice(std::move(indice))
{
    m_modello = new ModelloStorico(*m_indice, this);
    creaControlli();
    Filtra();
    if (m_indice->conteggio() == 0)
        m_lblStato->setText(QStringLiteral("Lo storico \u00e8 vuoto: ogni cambiamento delle quantit\u00e0 vi "
                                           "sar\u00e0 registrato."));
}

FrmStorico::~FrmStorico() = default;

void FrmStorico::creaControlli()
{
    setObjectName(QStringLiteral("frmStorico"));
    setWindowTitle(Titolo);
    setModal(true);
    resize(1100, 640);

    auto *layout = new QVBoxLayout(this);

    auto *filtri = new QHBoxLayout;
    const bool conComponente = m_accesso.idComponente != 0;
    m_chkSoloComponente = new QCheckBox(conComponente ? QStringLiteral("Solo il componente %1")
                                                            .arg(m_accesso.codiceComponente)
                                                      : QStringLiteral("Solo il componente visualizzato"),
                                        this);
    m_chkSoloComponente->setObjectName(QStringLiteral("chkSoloComponente"));
    m_chkSoloComponente->setChecked(conComponente);
    m_chkSoloComponente->setEnabled(conComponente);
    // "&" in a code would be read as a mnemonic.
    m_chkSoloComponente->setText(m_chkSoloComponente->text().replace(u'&', QStringLiteral("&&")));
    auto *lblFiltro = new QLabel(QStringLiteral("&Cerca (codice o operazione):"), this);
    m_txFiltro = new QLineEdit(this);
    m_txFiltro->setObjectName(QStringLiteral("txFiltroStorico"));
    m_txFiltro->setClearButtonEnabled(true);
    lblFiltro->setBuddy(m_txFiltro);
    m_lblConto = new QLabel(this);
    m_lblConto->setObjectName(QStringLiteral("lblContoStorico"));
    filtri->addWidget(m_chkSoloComponente);
    filtri->addSpacing(16);
    filtri->addWidget(lblFiltro);
    filtri->addWidget(m_txFiltro, 1);
    filtri->addWidget(m_lblConto);
    layout->addLayout(filtri);

    m_lvs = new QTableView(this);
    m_lvs->setObjectName(QStringLiteral("LVS"));
    m_lvs->setModel(m_modello);
    m_lvs->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvs->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvs->setShowGrid(false);
    m_lvs->setWordWrap(false);
    m_lvs->setAlternatingRowColors(true);
    m_lvs->setTabKeyNavigation(false);
    m_lvs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of one height, set once: nothing is measured row by row, which
    // keeps a million rows as quick as a hundred.
    QHeaderView *righe = m_lvs->verticalHeader();
    righe->hide();
    righe->setSectionResizeMode(QHeaderView::Fixed);
    righe->setDefaultSectionSize(m_lvs->fontMetrics().height() + 6);
    QHeaderView *colonne = m_lvs->horizontalHeader();
    colonne->setHighlightSections(false);
    colonne->setStretchLastSection(true);
    colonne->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int larghezze[ModelloStorico::NumeroColonne] = {140, 130, 70, 70, 80, 240, 60, 110, 160, 300};
    for (int c = 0; c < ModelloStorico::NumeroColonne; ++c)
        colonne->resizeSection(c, larghezze[c]);
    layout->addWidget(m_lvs, 1);

    m_lblStato = new QLabel(this);
    m_lblStato->setObjectName(QStringLiteral("lblStatoStorico"));
    m_lblStato->setWordWrap(true);
    m_lblStato->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_lblStato);

    auto *bottoni = new QHBoxLayout;
    m_btnAnnulla = new QPushButton(QStringLiteral("&Annulla operazione"), this);
    m_btnAnnulla->setObjectName(QStringLiteral("btnAnnullaOperazione"));
    m_btnAnnulla->setToolTip(QStringLiteral("Annulla l'operazione della riga selezionata, come nuova operazione"));
    m_btnEsporta = new QPushButton(QStringLiteral("&Esporta"), this);
    m_btnEsporta->setObjectName(QStringLiteral("btnEsportaStorico"));
    m_btnEsporta->setToolTip(QStringLiteral("Scrive le righe mostrate nel file Exported/Movimenti.csv"));
    m_btnChiudi = new QPushButton(QStringLiteral("C&hiudi"), this);
    m_btnChiudi->setObjectName(QStringLiteral("btnChiudiStorico"));
    // Enter in the text box filters at once; no button takes it.
    for (QPushButton *b : {m_btnAnnulla, m_btnEsporta, m_btnChiudi})
        b->setAutoDefault(false);
    bottoni->addWidget(m_btnAnnulla);
    bottoni->addWidget(m_btnEsporta);
    bottoni->addStretch(1);
    bottoni->addWidget(m_btnChiudi);
    layout->addLayout(bottoni);

    setTabOrder(m_chkSoloComponente, m_txFiltro);
    setTabOrder(m_txFiltro, m_lvs);
    setTabOrder(m_lvs, m_btnAnnulla);
    setTabOrder(m_btnAnnulla, m_btnEsporta);
    setTabOrder(m_btnEsporta, m_btnChiudi);

    m_attesaFiltro = new QTimer(this);
    m_attesaFiltro->setSingleShot(true);
    m_attesaFiltro->setInterval(AttesaFiltroMs);
    connect(m_attesaFiltro, &QTimer::timeout, this, &FrmStorico::Filtra);
    connect(m_txFiltro, &QLineEdit::textChanged, m_attesaFiltro, qOverload<>(&QTimer::start));
    connect(m_txFiltro, &QLineEdit::returnPressed, this, &FrmStorico::Filtra);
    connect(m_chkSoloComponente, &QCheckBox::toggled, this, &FrmStorico::Filtra);
    // The selection, not the current row: the view makes the first row
    // current when it takes the focus, and a click on it then selects it
    // without moving the current row.
    connect(m_lvs->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FrmStorico::selezioneCambiata);
    connect(m_btnAnnulla, &QPushButton::clicked, this, &FrmStorico::AnnullaOperazione);
    connect(m_btnEsporta, &QPushButton::clicked, this, &FrmStorico::Esporta);
    connect(m_btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmStorico::Filtra()
{
    m_attesaFiltro->stop();
    const qint32 scelta = rigaSelezionata();
    const qint32 id = m_chkSoloComponente->isChecked() ? m_accesso.idComponente : 0;
    m_modello->impostaRighe(m_indice->filtra(id, m_txFiltro->text()));
    const std::vector<qint32> &righe = m_modello->righe();
    m_lblConto->setText(QStringLiteral("Righe: %1 di %2").arg(righe.size()).arg(m_indice->conteggio()));
    // The line selected stays selected when it is still listed.
    const auto trovata = scelta < 0 ? righe.cend() : std::find(righe.cbegin(), righe.cend(), scelta);
    if (trovata != righe.cend())
        selezionaRiga(int(trovata - righe.cbegin()));
    else
        selezioneCambiata();
}

void FrmStorico::selezionaRiga(int riga)
{
    const QModelIndex indice = m_modello->index(riga, 0);
    m_lvs->selectionModel()->setCurrentIndex(indice, QItemSelectionModel::ClearAndSelect
                                                         | QItemSelectionModel::Rows);
    m_lvs->scrollTo(indice);
    selezioneCambiata();
}

qint32 FrmStorico::rigaSelezionata() const
{
    const QModelIndexList scelte = m_lvs->selectionModel()->selectedRows();
    return scelte.isEmpty() ? -1 : m_modello->rigaStorico(scelte.first().row());
}

void FrmStorico::selezioneCambiata()
{
    // An archive open read-only is only looked at: nothing is undone.
    m_btnAnnulla->setEnabled(!m_stato.SolaLettura && rigaSelezionata() >= 0);
    m_btnEsporta->setEnabled(!m_modello->righe().empty());
}

void FrmStorico::Esporta()
{
    const std::vector<qint32> &righe = m_modello->righe();
    if (righe.empty())
        return;
    const QString cartella = m_stato.percorsi.CartellaEsportati;
    const QString percorso = cartella + NomeFileMovimenti;
    QString errore;
    const bool cartellaNuova = !QFileInfo::exists(cartella);
    if (cartellaNuova && QDir().mkpath(cartella))
        EreditaProprietario(cartella);
    if (!ScriviInsieme(cartella, {FileNuovo{NomeFileMovimenti, m_indice->esporta(righe)}}, &errore)) {
        m_dialoghi.messaggio(QStringLiteral("Errore nella creazione del file ") + NomeFileMovimenti + AcapoCrLf
                                 + QStringLiteral("Forse il file \u00e8 gi\u00e0 aperto in altro programma"),
                             Icona::Critica, Pulsanti::Ok, TitoloEsporta);
        m_lblStato->setText(QStringLiteral("Lo storico non \u00e8 stato esportato."));
        return;
    }
    const QString nome = QDir::toNativeSeparators(percorso);
    m_dialoghi.messaggio(QStringLiteral("Storico esportato nel file") + AcapoCrLf + nome + AcapoCrLf
                             + QStringLiteral("Righe esportate: %1").arg(righe.size()),
                         Icona::Informazione, Pulsanti::Ok, TitoloEsporta);
    m_lblStato->setText(QStringLiteral("Righe esportate: %1 nel file %2").arg(righe.size()).arg(nome));
}

void FrmStorico::AnnullaOperazione()
{
    const qint32 i = rigaSelezionata();
    if (i < 0 || m_stato.SolaLettura)
        return;
    const qint64 numero = m_indice->operazione(i);
    // Undoing twice what was undone once would take it back twice: the way
    // back is to undo the undo.
    if (const qint64 da = m_indice->annullataDa(numero); da != 0) {
        m_dialoghi.messaggio(QStringLiteral("L'operazione %1 \u00e8 gi\u00e0 stata annullata dall'operazione %2.")
                                     .arg(numero)
                                     .arg(da)
                                 + AcapoCrLf
                                 + QStringLiteral("Per rifarla, annullare l'operazione %1.").arg(da),
                             Icona::Informazione, Pulsanti::Ok, TitoloAnnulla);
        return;
    }
    const QList<RigaMovimento> righe = m_indice->righeOperazione(i);
    if (righe.isEmpty()) {
        m_dialoghi.messaggio(QStringLiteral("Impossibile annullare l'operazione %1: le sue righe sono danneggiate.")
                                 .arg(numero),
                             Icona::Esclamazione, Pulsanti::Ok, TitoloAnnulla);
        return;
    }
    const RigaMovimento &prima = righe.first();
    const QString domanda =
        QStringLiteral("Annullare l'operazione %1 (%2, del %3)?").arg(numero).arg(prima.movimento, Momento(prima.momento))
        + AcapoCrLf + QStringLiteral("Componenti coinvolti: %1").arg(righe.size());
    if (m_dialoghi.messaggio(domanda, Icona::Domanda, Pulsanti::SiNo, TitoloAnnulla) != Risposta::Si)
        return;
    // A component being edited in the main window could be saved later
    // over what the undo puts back: its changes are settled first.
    if (m_accesso.primaDiAnnullare && !m_accesso.primaDiAnnullare())
        return;

    // What memory held, for a save that fails.
    const Stato copia = m_stato;
    EsitoAnnullamento esito = ::AnnullaOperazione(m_stato, righe, CambiatiDopo::Chiedi);
    if (esito.errore.isEmpty() && !esito.cambiati.isEmpty()) {
        if (m_dialoghi.messaggio(DomandaCambiati(numero, esito.cambiati), Icona::Esclamazione, Pulsanti::SiNo,
                                 TitoloAnnulla)
            != Risposta::Si)
            return;
        esito = ::AnnullaOperazione(m_stato, righe, CambiatiDopo::ApplicaDifferenza);
    }
    if (!esito.errore.isEmpty()) {
        m_dialoghi.messaggio(esito.errore, Icona::Esclamazione, Pulsanti::Ok, TitoloAnnulla);
        return;
    }
    qint64 annullamento = 0;
    if (!SalvaOperazione(m_stato, m_dialoghi, esito.righe, &annullamento)) {
        m_stato = copia;
        m_lblStato->setText(
            QStringLiteral("Attenzione: i dati NON sono stati salvati, l'operazione %1 non \u00e8 stata annullata.")
                .arg(numero));
        if (m_accesso.annullamentoNonSalvato)
            m_accesso.annullamentoNonSalvato();
        return;
    }
    if (m_accesso.dopoAnnullamento)
        m_accesso.dopoAnnullamento(numero, annullamento);
    if (!esito.avvisi.isEmpty())
        m_dialoghi.messaggio(QStringLiteral("L'operazione %1 \u00e8 stata annullata.").arg(numero) + AcapoCrLf
                                 + esito.avvisi.join(AcapoCrLf),
                             Icona::Informazione, Pulsanti::Ok, TitoloAnnulla);
    // The undo's lines come in at the top.
    QString errore;
    m_indice->aggiorna(&errore);
    m_modello->dimentica();
    m_lvs->selectionModel()->clear();
    Filtra();
    if (!m_modello->righe().empty())
        selezionaRiga(0);
    m_lblStato->setText(errore.isEmpty()
                            ? QStringLiteral("Operazione %1 annullata: l'annullamento \u00e8 l'operazione %2.")
                                  .arg(numero)
                                  .arg(annullamento)
                            : errore);
}

void ApriFinestraStorico(Stato &stato, Dialoghi &dialoghi, const AccessoStorico &accesso)
{
    auto indice = std::make_unique<IndiceMovimenti>();
    QString errore;
    if (!indice->apri(stato.percorsi.FileMovimenti, &errore)) {
        dialoghi.messaggio(errore, Icona::Esclamazione, Pulsanti::Ok, Titolo);
        return;
    }
    FrmStorico finestra(stato, dialoghi, accesso, std::move(indice), accesso.finestra);
    finestra.exec();
}
