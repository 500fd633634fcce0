#include "ui/distinta/frmdistinta.h"

#include "csv/testocsv.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/widgets/listareport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// At most this many lines are named in the confirmation before taking.
constexpr int RigheNelMessaggio = 15;

QString Numero(qint64 n) { return QString::number(n); }

} // namespace

FrmDistinta::FrmDistinta(Stato &stato, Dialoghi &dialoghi, const AccessoDistinta &accesso,
                         const QString &percorso, const LetturaDistinta &lettura, QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_accesso(accesso), m_verifica(stato, lettura)
{
    creaControlli(percorso, lettura);
    ricalcola();
}

FrmDistinta::~FrmDistinta() = default;

void FrmDistinta::creaControlli(const QString &percorso, const LetturaDistinta &lettura)
{
    setObjectName(QStringLiteral("frmDistinta"));
    setWindowTitle(QStringLiteral("Verifica distinta base - ") + QFileInfo(percorso).fileName());
    setModal(true);
    resize(900, 560);

    auto *layout = new QVBoxLayout(this);

    const QString separatore = NomeSeparatoreCSV(lettura.separatore);
    QString file = QStringLiteral("File: %1 (%2, separatore %3)")
                       .arg(QDir::toNativeSeparators(percorso), lettura.codifica, separatore);
    if (lettura.nonMontate > 0)
        file += QStringLiteral(" - righe da non montare (DNP) escluse: %1").arg(lettura.nonMontate);
    m_lblFile = new QLabel(file, this);
    m_lblFile->setObjectName(QStringLiteral("lblFile"));
    m_lblFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_lblFile);

    auto *riga = new QHBoxLayout;
    auto *lblSchede = new QLabel(QStringLiteral("&Schede da costruire:"), this);
    m_spnSchede = new QSpinBox(this);
    m_spnSchede->setObjectName(QStringLiteral("spnSchede"));
    m_spnSchede->setRange(1, 1000);
    m_spnSchede->setValue(1);
    lblSchede->setBuddy(m_spnSchede);
    riga->addWidget(lblSchede);
    riga->addWidget(m_spnSchede);
    riga->addStretch(1);
    layout->addLayout(riga);

    m_lvd = new ListaReport(this);
    m_lvd->setObjectName(QStringLiteral("LVD"));
    m_lvd->impostaColonne({
        {QStringLiteral("Riferimenti"), QString(), 150, Qt::AlignLeft, false},
        {QStringLiteral("Componente"), QString(), 150, Qt::AlignLeft, false},
        {QStringLiteral("Per scheda"), QStringLiteral("NUMBER"), 70, Qt::AlignRight, false},
        {QStringLiteral("Necessari"), QStringLiteral("NUMBER"), 70, Qt::AlignRight, false},
        {QStringLiteral("Codice"), QString(), 140, Qt::AlignLeft, false},
        {QStringLiteral("In magazzino"), QStringLiteral("NUMBER"), 85, Qt::AlignRight, false},
        {QStringLiteral("Esito"), QString(), 200, Qt::AlignLeft, false},
    });
    layout->addWidget(m_lvd, 1);

    auto *scelta = new QHBoxLayout;
    m_lblScelta = new QLabel(QStringLiteral("Componente per la riga selezionata:"), this);
    m_cmbScelta = new QComboBox(this);
    m_cmbScelta->setObjectName(QStringLiteral("cmbScelta"));
    m_cmbScelta->setMinimumContentsLength(40);
    m_lblScelta->setBuddy(m_cmbScelta);
    scelta->addWidget(m_lblScelta);
    scelta->addWidget(m_cmbScelta, 1);
    layout->addLayout(scelta);

    m_lblRiepilogo = new QLabel(this);
    m_lblRiepilogo->setObjectName(QStringLiteral("lblRiepilogo"));
    layout->addWidget(m_lblRiepilogo);
    m_lblStato = new QLabel(this);
    m_lblStato->setObjectName(QStringLiteral("lblStato"));
    m_lblStato->setWordWrap(true);
    m_lblStato->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_lblStato);

    auto *bottoni = new QHBoxLayout;
    m_btnMancanti = new QPushButton(QStringLiteral("Esporta &mancanti"), this);
    m_btnMancanti->setObjectName(QStringLiteral("btnMancanti"));
    m_btnPreleva = new QPushButton(QStringLiteral("&Preleva"), this);
    m_btnPreleva->setObjectName(QStringLiteral("btnPreleva"));
    m_btnChiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    m_btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    for (QPushButton *b : {m_btnMancanti, m_btnPreleva, m_btnChiudi})
        b->setAutoDefault(false);
    bottoni->addWidget(m_btnMancanti);
    bottoni->addWidget(m_btnPreleva);
    bottoni->addStretch(1);
    bottoni->addWidget(m_btnChiudi);
    layout->addLayout(bottoni);

    connect(m_spnSchede, &QSpinBox::valueChanged, this, [this] { ricalcola(); });
    connect(m_lvd, &ListaReport::rigaCliccata, this, [this] { mostraScelta(); });
    connect(m_cmbScelta, &QComboBox::activated, this, &FrmDistinta::sceltaCambiata);
    connect(m_btnMancanti, &QPushButton::clicked, this, &FrmDistinta::EsportaMancanti);
    connect(m_btnPreleva, &QPushButton::clicked, this, &FrmDistinta::Preleva);
    connect(m_btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmDistinta::ricalcola()
{
    m_verifica.calcola(m_stato, m_spnSchede->value());
    riempiLista();
    const RiepilogoVerifica r = m_verifica.riepilogo();
    m_lblRiepilogo->setText(TestoRiepilogo(r));
    m_btnMancanti->setEnabled(r.mancano + r.nonTrovati > 0);
    // A read-only archive is only checked against: no pieces are taken.
    m_btnPreleva->setEnabled(!m_stato.SolaLettura && !m_prelevato && !m_verifica.prelievi().isEmpty());
    mostraScelta();
}

void FrmDistinta::riempiLista()
{
    const int selezionata = m_lvd->rigaSelezionata();
    const QList<VoceVerifica> &voci = m_verifica.voci();
    m_lvd->svuota();
    m_lvd->aggiungiRighe(voci.size(), [&voci](qsizetype i, QString *testi) {
        const VoceVerifica &v = voci[i];
        testi[0] = v.riga.riferimenti;
        testi[1] = v.parte;
        if (v.esito != EsitoRiga::Errore) {
            testi[2] = Numero(v.riga.quantita);
            testi[3] = Numero(v.necessari);
        }
        if (v.esito == EsitoRiga::DaScegliere)
            testi[4] = QStringLiteral("%1 componenti").arg(v.candidati.size());
        else
            testi[4] = v.codice;
        if (v.scelta != 0 && (v.esito == EsitoRiga::Disponibile || v.esito == EsitoRiga::Mancano))
            testi[5] = Numero(v.giacenza);
        testi[6] = TestoEsito(v);
    });
    if (selezionata >= 1 && selezionata <= m_lvd->numeroRighe())
        m_lvd->selezionaRiga(selezionata);
}

QString FrmDistinta::descriviCandidato(qint32 posizione) const
{
    const Componente &c = m_stato.componente(posizione);
    QStringList parti{c.Codice};
    if (!c.NomeProduttore.isEmpty())
        parti << c.NomeProduttore;
    if (!c.NomeTipo.isEmpty())
        parti << c.NomeTipo;
    parti << QStringLiteral("%1 pz").arg(c.Quantita);
    return parti.join(QStringLiteral(" - "));
}

void FrmDistinta::mostraScelta()
{
    m_cmbScelta->clear();
    const int riga = m_lvd->rigaSelezionata();
    const bool ambigua = riga >= 1 && m_verifica.voci()[riga - 1].candidati.size() >= 2;
    m_cmbScelta->setEnabled(ambigua);
    m_lblScelta->setEnabled(ambigua);
    if (!ambigua)
        return;
    const VoceVerifica &v = m_verifica.voci()[riga - 1];
    m_cmbScelta->addItem(QStringLiteral("(scegliere il componente)"), 0);
    for (const qint32 pos : v.candidati)
        m_cmbScelta->addItem(descriviCandidato(pos), pos);
    m_cmbScelta->setCurrentIndex(qMax(0, m_cmbScelta->findData(v.scelta)));
}

void FrmDistinta::sceltaCambiata(int indice)
{
    const int riga = m_lvd->rigaSelezionata();
    if (riga < 1 || indice < 0)
        return;
    if (m_verifica.scegli(riga - 1, m_cmbScelta->itemData(indice).toInt()))
        ricalcola();
}

void FrmDistinta::EsportaMancanti()
{
    const QString percorso = ::EsportaMancanti(m_stato, m_verifica, m_dialoghi);
    if (percorso.isEmpty()) {
        m_lblStato->setText(QStringLiteral("La lista dei mancanti non \u00e8 stata salvata."));
        return;
    }
    m_lblStato->setText(QStringLiteral("Lista dei mancanti salvata in ") + QDir::toNativeSeparators(percorso));
}

void FrmDistinta::Preleva()
{
    if (m_prelevato)
        return;
    // The main window's editor may hold a change of a component about to
    // lose pieces: it is settled first (saved or given up, as the user
    // says), and the lines are matched again, since a saved change may have
    // altered a code or a quantity.
    if (m_accesso.primaDiPrelevare && !m_accesso.primaDiPrelevare())
        return;
    m_verifica.riconfronta(m_stato);
    ricalcola();
    const QList<Prelievo> prelievi = m_verifica.prelievi();
    if (prelievi.isEmpty())
        return;
    if (!m_verifica.riepilogo().tuttoDisponibile()) {
        QStringList righe;
        int altre = 0;
        for (const VoceVerifica &v : m_verifica.voci()) {
            if (v.esito == EsitoRiga::Disponibile)
                continue;
            if (righe.size() == RigheNelMessaggio) {
                ++altre;
                continue;
            }
            const QString chi = v.riga.riferimenti.isEmpty() ? v.parte : v.riga.riferimenti + u' ' + v.parte;
            righe << QStringLiteral("> ") + chi.trimmed() + QStringLiteral(": ") + TestoEsito(v);
        }
        if (altre > 0)
            righe << QStringLiteral("... e altre %1 righe").arg(altre);
        const QString testo = QStringLiteral("Non tutto \u00e8 disponibile:\r\n") + righe.join(QStringLiteral("\r\n"))
            + QStringLiteral("\r\n\r\nPrelevare comunque i pezzi disponibili?");
        if (m_dialoghi.messaggio(testo, Icona::Esclamazione, Pulsanti::SiNo, QStringLiteral("Preleva"))
            != Risposta::Si)
            return;
    }
    if (!PrelevaComponenti(m_stato, m_dialoghi, prelievi)) {
        m_lblStato->setText(QStringLiteral(
            "Attenzione: i dati NON sono stati salvati, nessun pezzo \u00e8 stato prelevato"));
        if (m_accesso.prelievoNonSalvato)
            m_accesso.prelievoNonSalvato();
        ricalcola();
        return;
    }
    qint64 pezzi = 0;
    for (const Prelievo &p : prelievi)
        pezzi += p.pezzi;
    m_prelevato = true;
    m_lblStato->setText(QStringLiteral("Prelevati %1 pezzi da %2 componenti: il magazzino \u00e8 stato salvato.")
                            .arg(pezzi)
                            .arg(prelievi.size()));
    if (m_accesso.dopoPrelievo)
        m_accesso.dopoPrelievo();
    ricalcola();
}
