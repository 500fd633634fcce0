// The editor states of the detail panel: the five editing buttons, locking
// and unlocking the panel, entering, editing and cancelling, and the pick
// lists of types, manufacturers and packages.

#include "ui/main/frmmain.h"

#include "store/dialoghi.h"
#include "store/localeutente.h"
#include "store/orologio.h"
#include "store/stato.h"
#include "ui/main/listafile.h"
#include "ui/main/riquadroimmagine.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QColor ColoreObbligatori(216, 254, 176);
const QColor ColoreTesti(255, 250, 215);
const QColor ColoreListeAttive(221, 232, 238);
const QColor ColoreListeBloccate(240, 240, 240);
const QColor GrigioSuggerimento(128, 128, 128);

void sfondo(QWidget *w, const QColor &colore)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colore);
    // The backgrounds are light in either theme: so is the text dark.
    p.setColor(QPalette::Active, QPalette::Text, Qt::black);
    p.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
    w->setPalette(p);
    if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit())
        sfondo(combo->lineEdit(), colore);
}

void sfondoEtichetta(QLabel *l, const QColor &colore)
{
    QPalette p = l->palette();
    p.setColor(QPalette::Window, colore);
    l->setPalette(p);
}

} // namespace

void FrmMain::AbilitaBottoni(bool nuovo, bool modifica, bool elimina, bool salva, bool annulla)
{
    bottone(QStringLiteral("new"))->setEnabled(nuovo);
    bottone(QStringLiteral("edit"))->setEnabled(modifica);
    bottone(QStringLiteral("del"))->setEnabled(elimina);
    bottone(QStringLiteral("save"))->setEnabled(salva);
    bottone(QStringLiteral("undo"))->setEnabled(annulla);
    aggiornaVociPezzi();
}

void FrmMain::SbloccaCampi()
{
    for (QWidget *w : std::initializer_list<QWidget *>{txCodice, txQty, txDatains, txPins, cmbTipo, cmbPack})
        sfondo(w, ColoreObbligatori);
    sfondo(txDesc, ColoreTesti);
    sfondo(txNote, ColoreTesti);
    for (int i = 1; i <= 6; ++i)
        sfondo(txExtra[i], ColoreTesti);
    sfondo(LP, ColoreListeAttive);
    sfondo(FLP, ColoreListeAttive);
    fmDati->setEnabled(true);
    fmImm->setEnabled(true);
}

void FrmMain::PulisciCampi()
{
    for (QLineEdit *t : {txCodice, txQty, txDatains, txPins, txDesc, txNote}) {
        t->clear();
        sfondo(t, Qt::white);
    }
    for (int i = 1; i <= 6; ++i) {
        txExtra[i]->clear();
        sfondo(txExtra[i], Qt::white);
    }
    for (QComboBox *c : {cmbTipo, cmbPack}) {
        c->setCurrentIndex(-1);
        c->setEditText(QString());
        sfondo(c, Qt::white);
    }
    txPDF->clear();
    txPic->clear();
    sfondo(LP, ColoreListeBloccate);
    sfondo(FLP, ColoreListeBloccate);

    imgPack->clear();
    pic->clear();
    bottone(QStringLiteral("pdf"))->setEnabled(false);
    lblRedimPic->clear();
    sfondoEtichetta(lblRedimPic, GrigioSuggerimento);
    btnClearJPG->setEnabled(false);
    btnAddJPG->setEnabled(false);
    btnClearPDF->setEnabled(false);

    v.ProduttoreFuoriLista.clear();

    fmDati->setEnabled(false);
    fmImm->setEnabled(false);
    m_componenteMostrato = false;
    aggiornaVociPezzi();
}

void FrmMain::entraInModifica()
{
    SbloccaCampi();
    AbilitaBottoni(false, false, false, true, true);
    // The list takes no clicks until the editing ends.
    LV->setEnabled(false);
}

void FrmMain::NuovoComponente()
{
    entraInModifica();
    txDatains->setText(DataBreve(Oggi()));
    // The panel now holds a component that is not stored yet: no position
    // stands for it, so "Modifica", "Salva" and "Elimina" can never reach the
    // component shown before (or the last one of the table).
    v.PosCorrente = 0;
    v.NuovoInserimento = true;
    m_valoriIniziali = valoriPannello();
    MostraMessaggio(Messaggi[5]);
}

void FrmMain::ModificaComponente()
{
    entraInModifica();
    // "Modifica" while a new component is being entered goes on entering
    // it: what the panel shows is still that new component.
    if (!v.NuovoInserimento)
        m_valoriIniziali = valoriPannello();
    MostraMessaggio(Messaggi[5]);
}

void FrmMain::AnnullaModifica()
{
    PulisciCampi();
    AbilitaBottoni(true, false, false, false, false);
    LV->setEnabled(true);
    MostraMessaggio(Messaggi[0]);
    v.NuovoInserimento = false;
    // The panel is empty: it shows no component until a row is clicked.
    v.PosCorrente = 0;
}

ValoriPannello FrmMain::valoriPannello() const
{
    ValoriPannello valori;
    valori.codice = txCodice->text();
    valori.quantita = txQty->text();
    valori.tipo = cmbTipo->currentText();
    const QListWidgetItem *produttore = LP->currentItem();
    valori.produttore = produttore && produttore->isSelected() ? produttore->text()
                                                               : v.ProduttoreFuoriLista;
    valori.package = cmbPack->currentText();
    valori.pins = txPins->text();
    valori.descrizione = txDesc->text();
    valori.note = txNote->text();
    valori.datasheet = txPDF->text();
    valori.immagine = txPic->text();
    for (int i = 1; i <= 6; ++i)
        valori.extra[i - 1] = txExtra[i]->text();
    return valori;
}

bool FrmMain::modifichePendenti() const
{
    // Editing with no component shown stores nothing, so nothing is lost.
    const bool modificabile = v.NuovoInserimento || v.PosCorrente != 0;
    return bottone(QStringLiteral("undo"))->isEnabled() && modificabile
        && valoriPannello() != m_valoriIniziali;
}

bool FrmMain::ConfermaAbbandonoModifiche()
{
    if (!modifichePendenti())
        return true;
    switch (m_dialoghi.messaggio(QStringLiteral("Salvare le modifiche al componente?"), Icona::Domanda,
                                 Pulsanti::SiNoAnnulla)) {
    case Risposta::Si:
        return SalvaComponente();
    case Risposta::No:
        AnnullaModifica();
        return true;
    default:
        return false;
    }
}

void FrmMain::CaricaTabelle()
{
    // Filling the pick lists must not change what the panel shows: the texts
    // of type and package stay, and the manufacturer selected stays selected
    // (found again by its ID, so an entry renamed meanwhile keeps it).
    const QString tipo = cmbTipo->currentText();
    const QString pack = cmbPack->currentText();
    const QListWidgetItem *selezionato = LP->currentItem();
    const bool conProduttore = selezionato && selezionato->isSelected();
    const QVariant idProduttore = conProduttore ? selezionato->data(Qt::UserRole) : QVariant();

    cmbTipo->clear();
    for (qint32 i = 1; i <= m_stato.NumTipi; ++i)
        cmbTipo->addItem(m_stato.tipo(i).Nome, m_stato.tipo(i).ID);
    LP->clear();
    for (qint32 i = 1; i <= m_stato.NumProduttori; ++i) {
        auto *voce = new QListWidgetItem(m_stato.produttore(i).Nome, LP);
        voce->setData(Qt::UserRole, m_stato.produttore(i).ID);
    }
    cmbPack->clear();
    for (qint32 i = 1; i <= m_stato.NumPackages; ++i)
        cmbPack->addItem(m_stato.package(i).Nome, m_stato.package(i).ID);

    cmbTipo->setCurrentIndex(-1);
    cmbTipo->setEditText(tipo);
    cmbPack->setCurrentIndex(-1);
    cmbPack->setEditText(pack);

    LP->setCurrentRow(-1);
    LP->clearSelection();
    for (int i = 0; conProduttore && i < LP->count(); ++i) {
        if (LP->item(i)->data(Qt::UserRole) == idProduttore) {
            LP->setCurrentRow(i);
            LP->scrollToItem(LP->item(i));
            break;
        }
    }
}
