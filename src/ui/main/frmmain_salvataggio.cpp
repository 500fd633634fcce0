// Saving the detail panel as a component and deleting the current one.
// The rules (checks, record building, removal) live in the components
// layer; this file asks the questions and redraws the window.

#include "ui/main/frmmain.h"

#include "components/operazioni.h"
#include "components/regole.h"
#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
#include "store/cp1252.h"
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
#include <QTimer>

namespace {

const QString AcapoCrLf = QStringLiteral("\r\n");

} // namespace

bool FrmMain::SalvaComponente()
{
    const QString codice = txCodice->text();
    // A refused or declined save leaves the editor as it was, with what was
    // typed, so that the user corrects it and presses "Salva" again. The
    // menu's "Salva" while browsing opened no editor: only "undo" then.
    const auto restaInModifica = [this] { AbilitaBottoni(false, false, false, !LV->isEnabled(), true); };

    // Field checks: the first that fails ends the save.
    if (codice.isEmpty()) {
        m_dialoghi.messaggio(QStringLiteral("Attenzione: manca il Codice") + AcapoCrLf
                                 + QStringLiteral("Inserire il valore e riprovare !"),
                             Icona::Critica, Pulsanti::Ok);
        restaInModifica();
        return false;
    }
    if (Val(txQty->text()) == 0.0) {
        m_dialoghi.messaggio(QStringLiteral("Attenzione: la quantità è 0") + AcapoCrLf
                                 + QStringLiteral("Inserire il valore e riprovare !"),
                             Icona::Critica, Pulsanti::Ok);
        restaInModifica();
        return false;
    }
    // A character the files cannot hold would be written as "?" and the
    // component would change at the next start: refused like an empty field.
    const ValoriPannello valori = valoriPannello();
    if (const QString avviso = AvvisoCaratteriNonSalvabili(TestiPannello(valori)); !avviso.isEmpty()) {
        m_dialoghi.messaggio(avviso, Icona::Critica, Pulsanti::Ok);
        restaInModifica();
        return false;
    }
    const qint32 n = NumeroDaCodice(codice);
    if (n == 0) {
        const Risposta r = m_dialoghi.messaggio(
            QStringLiteral("Attenzione: questo Codice non contiene numeri!") + AcapoCrLf
                + QStringLiteral("Premi Sì per salvare comunque, No per tornare a modificare il valore"),
            Icona::Informazione, Pulsanti::SiNo);
        if (r != Risposta::Si) {
            restaInModifica();
            return false;
        }
    }
    if (v.NuovoInserimento) {
        const QString avviso =
            AvvisoIDEsauriti(m_stato.ProssimoIDComponente, QStringLiteral("Prossimo ID Componente"));
        if (!avviso.isEmpty()) {
            m_dialoghi.messaggio(avviso, Icona::Critica, Pulsanti::Ok);
            restaInModifica();
            return false;
        }
    }

    if (v.NuovoInserimento && m_stato.NumComponenti >= 1) {
        const QString conflitto = TestoConflitto(m_stato, n, MaiuscoloCp1252(codice));
        if (!conflitto.isEmpty()
            && m_dialoghi.messaggio(conflitto, Icona::Esclamazione, Pulsanti::SiNo,
                                    QStringLiteral("Conflitto di codice"))
                   != Risposta::Si) {
            restaInModifica();
            return false;
        }
    }

    // Position and ID. Editing with no component shown stores nothing.
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
            return false;
        pos = v.PosCorrente;
        id = m_stato.componente(pos).ID;
        data = m_stato.componente(pos).DataInserimento;
    }
    const Componente record = ComponenteDaPannello(m_stato, valori, id, data);

    // What the store changes, so that a save that cannot be written leaves
    // memory as it was and the panel still holds what was typed.
    const VariabiliForm prima = v;
    const qint32 numPrima = m_stato.NumComponenti;
    const Componente recordPrima = nuovo ? Componente{} : m_stato.componente(pos);

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

    // The history line goes into the same set as the tables.
    if (!SalvaOperazione(m_stato, m_dialoghi, RigheSalvataggio(nuovo ? nullptr : &recordPrima, record))) {
        if (nuovo) {
            m_stato.NumComponenti = numPrima;
            --m_stato.ProssimoIDComponente;
        } else {
            m_stato.componente(pos) = recordPrima;
        }
        ContaPezzi(m_stato);
        v = prima;
        // Still editing: "Salva" tries again, "Annulla" gives up.
        AbilitaBottoni(false, false, false, true, true);
        segnalaNonSalvato(QStringLiteral("il componente è ancora nel pannello: premi [SALVA] per riprovare"));
        return false;
    }

    PulisciCampi();
    AbilitaBottoni(true, false, false, false, false);
    MostraMessaggioConTimer(6);
    LV->setEnabled(true);

    // Redraw the list sorted by code from A to Z, whatever column and
    // direction it was sorted by before (the sort flips the direction, so
    // it starts from descending), with the saved component in the panel and
    // its row selected and scrolled into view.
    v.ColonnaOrdinamento = 1;
    LV->setSortOrder(1);
    const qint32 corrente = v.PosCorrente;
    RiempiLista();
    v.PosCorrente = corrente;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    MostraComponente();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ordinaLista();
    v.IndiceVoce = rigaDelComponente(corrente);
    if (v.IndiceVoce >= 1) {
        LV->mostraRiga(v.IndiceVoce);
        LV->selezionaRiga(v.IndiceVoce);
    }
    // The refill showed the welcome text; the confirmation stays until the
    // timer resets it.
    MostraMessaggio(Messaggi[6]);
    return true;
}

void FrmMain::EliminaComponente()
{
    // Only the stored component the panel shows can be deleted; a new one
    // being entered has no stored record yet.
    if (v.NuovoInserimento || v.PosCorrente < 1 || v.PosCorrente > m_stato.NumComponenti)
        return;
    const qint32 k = v.PosCorrente;
    const Risposta r = m_dialoghi.messaggio(QStringLiteral("Confermi la cancellazione di:") + AcapoCrLf
                                                + m_stato.componente(k).Codice + QStringLiteral(" ?"),
                                            Icona::Esclamazione, Pulsanti::SiNo);
    if (r != Risposta::Si)
        return;
    const Componente eliminato = m_stato.componente(k);
    const bool ordinata = LV->sorted();
    EliminaPosizione(m_stato, k);
    if (!SalvaOperazione(m_stato, m_dialoghi, RigheEliminazione(eliminato))) {
        // The component is still on disk: it stays in memory and on show.
        m_stato.Componenti.insert(k - 1, eliminato);
        ++m_stato.NumComponenti;
        ContaPezzi(m_stato);
        segnalaNonSalvato(QStringLiteral("il componente non è stato eliminato"));
        return;
    }
    RiempiLista();
    MostraMessaggioConTimer(2);
    PulisciCampi();
    AbilitaBottoni(true, false, false, false, false);
    // A deletion chosen from the menu while editing ends the editing too.
    LV->setEnabled(true);
    // The list keeps its order: a sorted list is sorted again by the same
    // column in the same direction (the sort flips it, so it is flipped
    // first); a list in table order stays so.
    if (ordinata) {
        LV->setSortOrder((LV->sortOrder() + 1) % 2);
        ordinaLista();
    }
}

void FrmMain::segnalaNonSalvato(const QString &cosa)
{
    // The message stays until the next one: no timer resets it.
    Timer->stop();
    MostraMessaggio(QStringLiteral("Attenzione: i dati NON sono stati salvati, ") + cosa);
}
