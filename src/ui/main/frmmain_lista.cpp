// The component list: filling it, the status-bar counters and the mouse
// handlers through which rows become current and custom selections start.

#include "ui/main/frmmain.h"

#include "components/scorta.h"
#include "listsort/ordinacolonna.h"
#include "store/stato.h"
#include "ui/main/colonnelista.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/misurapreferita.h"
#include "ui/widgets/riempimentocolonne.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

void FrmMain::RiempiLista()
{
    LV->setSorted(false);
    LV->svuota();

    QList<qint32> elencate;
    elencate.reserve(m_stato.NumComponenti);
    for (qint32 i = 1; i <= m_stato.NumComponenti; ++i) {
        bool elenca = true;
        if (!v.ValoreSelezione.isEmpty()) {
            const Componente &c = m_stato.componente(i);
            elenca = (v.ColonnaCliccata == 1 && c.NomeProduttore == v.ValoreSelezione)
                     || (v.ColonnaCliccata == 2 && c.NomeTipo == v.ValoreSelezione)
                     || (v.ColonnaCliccata == IndiceColonnaPosizione && m_campoColonna > 0
                         && CampoExtra(c, m_campoColonna) == v.ValoreSelezione);
        }
        if (m_soloScorta && elenca)
            elenca = SottoScorta(m_stato.componente(i), m_stato.CampoMinimo);
        if (elenca)
            elencate.append(i);
    }
    const int marcate = mostraRighe(elencate);
    // When every component, or every one under stock, is listed, the marks
    // just made are the count: no second pass over the table.
    const bool tutti = elencate.size() == m_stato.NumComponenti;
    m_sottoScortaNoto = tutti || (m_soloScorta && v.ValoreSelezione.isEmpty()) ? marcate : -1;

    // Browsing again: the list is in use, whatever state it was refilled from.
    AbilitaBottoni(true, false, false, false, false);
    LV->setEnabled(true);
    MostraMessaggio(v.SelezionePersonalizzata || m_soloScorta ? Messaggi[3] : Messaggi[0]);

    v.IndiceVoce = 0;
    v.ColonnaCliccata = 0;
    v.PosCorrente = 0;
    v.ValoreSelezione.clear();
    v.SelezionePersonalizzata = false;
    // No component is current any more: no pieces to add or take.
    aggiornaVociPezzi();

    AggiornaContatori();
}

int FrmMain::mostraRighe(const QList<qint32> &posizioni)
{
    m_righe.preparaRiempimento();
    // The rows of components under stock are marked while they are written.
    const int primaRiga = LV->numeroRighe() + 1;
    const int campo = m_stato.CampoMinimo;
    const int posizione = m_campoColonna;
    QList<int> sotto;
    LV->aggiungiRighe(posizioni.size(), [&](qsizetype i, QString *testi) {
        const Componente &c = m_stato.componente(posizioni[i]);
        m_righe.scrivi(c, posizioni[i], testi);
        if (posizione > 0)
            testi[IndiceColonnaPosizione] = CampoExtra(c, posizione);
        if (SottoScorta(c, campo))
            sotto.append(primaRiga + int(i));
    });
    LV->impostaEvidenze(sotto);
    // Long types and manufacturers show whole where the list has room; the
    // columns fill its width. The list's panel then asks for room for every
    // column, which the window gives it where the screen allows.
    m_colonne->adatta();
    if (auto *pannello = dynamic_cast<MisuraPreferita *>(LV->parentWidget()))
        pannello->allargaA(m_colonne->larghezzaVoluta());
    return int(sotto.size());
}

void FrmMain::AggiornaContatori()
{
    numComponent->setText(QString::number(m_stato.NumComponenti));
    numSelected->setText(QString::number(LV->numeroRighe()));
    numPieces->setText(QString::number(m_stato.TotalePezzi));
    aggiornaScorta();
}

void FrmMain::ordinaLista()
{
    OrdinaColonna(*LV, v.ColonnaOrdinamento);
}

int FrmMain::rigaDelComponente(qint32 posizione) const
{
    // One pass over the hidden column, comparing texts: no number is read.
    const QString cercata = QString::number(posizione);
    for (int r = 1; r <= LV->numeroRighe(); ++r)
        if (LV->testo(r, 5) == cercata)
            return r;
    return 0;
}

void FrmMain::LV_PressioneMouse(Qt::MouseButton pulsante, int x)
{
    Q_UNUSED(pulsante);
    if (LV->numeroRighe() == 0)
        return;
    v.ColonnaCliccata = 0;
    v.SelezionePersonalizzata = false;
    // The hidden column of positions is never considered; a pointer on the
    // boundary of two columns belongs to the left-hand one.
    for (int i = 1; i <= LV->numeroColonne(); ++i) {
        if (LV->colonna(i).nascosta)
            continue;
        const int sinistra = LV->sinistraColonna(i);
        const int destra = sinistra + LV->larghezzaColonna(i);
        if (sinistra <= x && x <= destra) {
            v.ColonnaCliccata = i - 1;
            break;
        }
    }
}

void FrmMain::LV_RigaCliccata(int riga)
{
    if (LV->numeroRighe() == 0)
        return;
    v.IndiceVoce = riga;
    v.PosCorrente = LV->testo(riga, 5).toInt();
}

void FrmMain::LV_RilascioMouse(Qt::MouseButton pulsante)
{
    if (LV->numeroRighe() == 0)
        return;
    v.ValoreSelezione.clear();
    if (pulsante != Qt::RightButton)
        return;
    const bool posizione = v.ColonnaCliccata == IndiceColonnaPosizione && m_campoColonna > 0;
    if (v.ColonnaCliccata != 1 && v.ColonnaCliccata != 2 && !posizione)
        return;
    // A release with no row clicked has no cell to take the value from.
    if (v.IndiceVoce < 1 || v.IndiceVoce > LV->numeroRighe())
        return;
    // A component with no location names no place to narrow the list to.
    if (posizione && LV->testo(v.IndiceVoce, v.ColonnaCliccata).isEmpty())
        return;
    v.ValoreSelezione = LV->testo(v.IndiceVoce, v.ColonnaCliccata);
    v.SelezionePersonalizzata = true;
    bottone(QStringLiteral("reselect"))->setEnabled(true);
    MostraMessaggio(Messaggi[3]);
}

void FrmMain::LV_Click()
{
    if (LV->numeroRighe() == 0)
        return;
    AbilitaBottoni(true, true, true, false, false);
    PulisciCampi();
    if (v.SelezionePersonalizzata) {
        RiempiLista();
        v.PosCorrente = 0;
    }
    if (v.PosCorrente != 0) {
        v.NuovoInserimento = false;
        MostraComponente();
        bottone(QStringLiteral("pdf"))->setEnabled(!txPDF->text().isEmpty());
    }
}

void FrmMain::LV_ColumnClick(int indice)
{
    if (LV->numeroRighe() == 0)
        return;
    v.IndiceVoce = 0;
    v.ColonnaCliccata = 0;
    v.PosCorrente = 0;
    v.ValoreSelezione.clear();
    v.ColonnaOrdinamento = indice;
    ordinaLista();
}
