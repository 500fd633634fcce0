// Saving the detail panel as a component and deleting the current one.
// The rules (checks, record building, removal) live in the components
// layer; this file asks the questions and redraws the window.

#include "ui/main/frmmain.h"

#include "components/operazioni.h"
#include "components/regole.h"
#include "store/dialoghi.h"
#include "store/orologio.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>

namespace {

const QString AcapoCrLf = QStringLiteral("\r\n");

} // namespace

void FrmMain::SalvaComponente()
{
    const QString codice = txCodice->text();

    // Field checks: the first that fails ends the save with only "undo" on.
    if (codice.isEmpty()) {
        m_dialoghi.messaggio(QStringLiteral("Attenzione: manca il Codice") + AcapoCrLf
                                 + QStringLiteral("Inserire il valore e riprovare !"),
                             Icona::Critica, Pulsanti::Ok);
        AbilitaBottoni(false, false, false, false, true);
        return;
    }
    if (Val(txQty->text()) == 0.0) {
        m_dialoghi.messaggio(QStringLiteral("Attenzione: la quantità è 0") + AcapoCrLf
                                 + QStringLiteral("Inserire il valore e riprovare !"),
                             Icona::Critica, Pulsanti::Ok);
        AbilitaBottoni(false, false, false, false, true);
        return;
    }
    const qint32 n = NumeroDaCodice(codice);
    if (n == 0) {
        const Risposta r = m_dialoghi.messaggio(
            QStringLiteral("Attenzione: questo Codice non contiene numeri!") + AcapoCrLf
                + QStringLiteral("Premi Sì per salvare comunque, No per tornare a modificare il valore"),
            Icona::Informazione, Pulsanti::SiNo);
        if (r != Risposta::Si) {
            AbilitaBottoni(false, false, false, false, true);
            return;
        }
    }
    if (v.NuovoInserimento) {
        const QString avviso =
            AvvisoIDEsauriti(m_stato.ProssimoIDComponente, QStringLiteral("Prossimo ID Componente"));
        if (!avviso.isEmpty()) {
            m_dialoghi.messaggio(avviso, Icona::Critica, Pulsanti::Ok);
            AbilitaBottoni(false, false, false, false, true);
            return;
        }
    }

    if (v.NuovoInserimento && m_stato.NumComponenti >= 1) {
        const QString conflitto = TestoConflitto(m_stato, n, codice.toUpper());
        if (!conflitto.isEmpty()
            && m_dialoghi.messaggio(conflitto, Icona::Esclamazione, Pulsanti::SiNo,
                                    QStringLiteral("Conflitto di codice"))
                   != Risposta::Si)
            return;
    }

    // Position and ID.
    const bool nuovo = v.NuovoInserimento;
    qint32 pos = 0;
    qint32 id = 0;
    QDateTime data;
    if (nuovo) {
        pos = m_stato.NumComponenti + 1;
        id = m_stato.ProssimoIDComponente;
        data = QDateTime(Oggi(), QTime(0, 0), Qt::UTC);
    } else {
        if (v.PosCorrente < 1 || v.PosCorrente > m_stato.NumComponenti)
            return;
        pos = v.PosCorrente;
        id = m_stato.componente(pos).ID;
        data = m_stato.componente(pos).DataInserimento;
    }

    ValoriPannello valori;
    valori.codice = codice;
    valori.quantita = txQty->text();
    valori.tipo = cmbTipo->currentText();
    const QListWidgetItem *produttore = LP->currentItem();
    valori.produttore = produttore && produttore->isSelected() ? produttore->text() : QString();
    valori.package = cmbPack->currentText();
    valori.pins = txPins->text();
    valori.descrizione = txDesc->text();
    valori.note = txNote->text();
    valori.datasheet = txPDF->text();
    valori.immagine = txPic->text();
    for (int i = 1; i <= 6; ++i)
        valori.extra[i - 1] = txExtra[i]->text();
    const Componente record = ComponenteDaPannello(m_stato, valori, id, data);

    if (nuovo) {
        m_stato.NumComponenti = pos;
        if (m_stato.Componenti.size() < pos)
            m_stato.Componenti.resize(pos);
        v.PosCorrente = pos;
    }
    m_stato.componente(pos) = record;

    if (!txPic->text().isEmpty())
        v.ImmagineScelta.clear();
    if (nuovo)
        ++m_stato.ProssimoIDComponente;
    v.NuovoInserimento = false;

    SalvaDatabase(m_stato, m_dialoghi);

    PulisciCampi();
    AbilitaBottoni(true, false, false, false, false);
    MostraMessaggioConTimer(6);
    LV->setEnabled(true);

    // Redraw the list sorted by code in the direction last shown, with the
    // saved component in the panel and the last clicked row selected.
    const qint32 riga = v.IndiceVoce;
    v.ColonnaOrdinamento = 1;
    LV->setSortOrder((LV->sortOrder() + 1) % 2);
    const qint32 corrente = v.PosCorrente;
    RiempiLista();
    v.PosCorrente = corrente;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    MostraComponente();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    v.IndiceVoce = riga;
    ordinaLista();
    if (v.IndiceVoce >= 1 && v.IndiceVoce <= LV->numeroRighe()) {
        LV->mostraRiga(v.IndiceVoce);
        LV->selezionaRiga(v.IndiceVoce);
    }
    // The refill showed the welcome text; the confirmation stays until the
    // timer resets it.
    MostraMessaggio(Messaggi[6]);
}

void FrmMain::EliminaComponente()
{
    if (v.PosCorrente < 1 || v.PosCorrente > m_stato.NumComponenti)
        return;
    const qint32 k = v.PosCorrente;
    const Risposta r = m_dialoghi.messaggio(QStringLiteral("Confermi la cancellazione di:") + AcapoCrLf
                                                + m_stato.componente(k).Codice + QStringLiteral(" ?"),
                                            Icona::Esclamazione, Pulsanti::SiNo);
    if (r != Risposta::Si)
        return;
    EliminaPosizione(m_stato, k);
    SalvaDatabase(m_stato, m_dialoghi);
    RiempiLista();
    MostraMessaggioConTimer(6);
    PulisciCampi();
    AbilitaBottoni(true, false, false, false, false);
    // A deletion chosen from the menu while editing ends the editing too.
    LV->setEnabled(true);
}
