#include "ui/distinta/frmdistinta.h"

#include "components/descrizione.h"
#include "csv/testocsv.h"
#include "distinta/ricercacomponenti.h"
#include "movimenti/rigamovimento.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/tavolozza.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// At most this many lines are named in the confirmation before taking.
constexpr int RigheNelMessaggio = 15;
// At most this many components found are listed for linking: a search
// that finds more is narrowed by typing more.
constexpr qsizetype MassimoTrovati = 500;
// At most this many lines left out as "do not populate" are named.
constexpr qsizetype NonMontatiNominati = 20;

QString Numero(qint64 n) { return QString::number(n); }

} // namespace

FrmDistinta::FrmDistinta(Stato &stato, Dialoghi &dialoghi, const AccessoDistinta &accesso,
                         const QString &percorso, const LetturaDistinta &lettura, QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_accesso(accesso),
      m_verifica(stato, lettura, LeggiCollegamenti(stato, &m_erroreCollegamenti))
{
    m_nomeFile = QFileInfo(percorso).fileName();
    creaControlli(percorso, lettura);
    ricalcola();
    if (!m_erroreCollegamenti.isEmpty())
        m_lblStato->setText(QStringLiteral("I collegamenti fatti a mano non sono stati letti. ") + m_erroreCollegamenti);
}

FrmDistinta::~FrmDistinta() = default;

void FrmDistinta::creaControlli(const QString &percorso, const LetturaDistinta &lettura)
{
    setObjectName(QStringLiteral("frmDistinta"));
    setWindowTitle(QStringLiteral("Verifica distinta base - ") + QFileInfo(percorso).fileName());
    setModal(true);
    resize(1000, 720);

    auto *layout = new QVBoxLayout(this);

    const QString separatore = NomeSeparatoreCSV(lettura.separatore);
    QString file = QStringLiteral("File: %1 (%2, separatore %3)")
                       .arg(QDir::toNativeSeparators(percorso), lettura.codifica, separatore);
    if (lettura.quantitaDaRiferimenti)
        file += QStringLiteral(" - senza colonna della quantit\u00e0: i pezzi sono contati dai riferimenti");
    if (lettura.righeUnite > 0)
        file += QStringLiteral(" - righe dello stesso componente unite: %1").arg(lettura.righeUnite);
    if (lettura.nonMontate > 0) {
        // Not fitted on the board: no pieces needed, named so that the user
        // sees which.
        QStringList nomi = lettura.nonMontati.mid(0, NonMontatiNominati);
        if (lettura.nonMontati.size() > NonMontatiNominati)
            nomi << QStringLiteral("\u2026");
        file += QStringLiteral(" - righe da non montare (DNP) escluse: %1 (%2)")
                    .arg(lettura.nonMontate)
                    .arg(nomi.join(QStringLiteral(", ")));
    }
    m_lblFile = new QLabel(file, this);
    m_lblFile->setObjectName(QStringLiteral("lblFile"));
    m_lblFile->setWordWrap(true);
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
        {QStringLiteral("Footprint"), QString(), 200, Qt::AlignLeft, false},
    });
    const ColoriAvviso avviso = ColoriRigaAvviso(m_stato.TemaChiaro);
    m_lvd->impostaColoriEvidenza(avviso.sfondo, avviso.testo);
    layout->addWidget(m_lvd, 3);

    auto *scelta = new QHBoxLayout;
    m_lblScelta = new QLabel(QStringLiteral("Componente per la riga selezionata:"), this);
    m_cmbScelta = new QComboBox(this);
    m_cmbScelta->setObjectName(QStringLiteral("cmbScelta"));
    m_cmbScelta->setMinimumContentsLength(40);
    m_lblScelta->setBuddy(m_cmbScelta);
    scelta->addWidget(m_lblScelta);
    scelta->addWidget(m_cmbScelta, 1);
    layout->addLayout(scelta);

    // Linking the selected line by hand.
    m_lblCollega = new QLabel(this);
    m_lblCollega->setObjectName(QStringLiteral("lblCollega"));
    layout->addWidget(m_lblCollega);
    auto *cerca = new QHBoxLayout;
    auto *lblCerca = new QLabel(QStringLiteral("Cerca nel ma&gazzino (codice o descrizione):"), this);
    m_txCollega = new QLineEdit(this);
    m_txCollega->setObjectName(QStringLiteral("txCollega"));
    m_txCollega->setClearButtonEnabled(true);
    lblCerca->setBuddy(m_txCollega);
    m_lblTrovati = new QLabel(this);
    m_lblTrovati->setObjectName(QStringLiteral("lblTrovati"));
    cerca->addWidget(lblCerca);
    cerca->addWidget(m_txCollega, 1);
    cerca->addWidget(m_lblTrovati);
    layout->addLayout(cerca);
    m_lvCollega = new ListaReport(this);
    m_lvCollega->setObjectName(QStringLiteral("LVCollega"));
    m_lvCollega->impostaColonne({
        {QStringLiteral("Codice"), QString(), 150, Qt::AlignLeft, false},
        {QStringLiteral("Produttore"), QString(), 110, Qt::AlignLeft, false},
        {QStringLiteral("Tipo"), QString(), 110, Qt::AlignLeft, false},
        {QStringLiteral("Quantit\u00e0"), QStringLiteral("NUMBER"), 70, Qt::AlignRight, false},
        {QStringLiteral("Descrizione"), QString(), 300, Qt::AlignLeft, false},
    });
    layout->addWidget(m_lvCollega, 1);
    auto *collega = new QHBoxLayout;
    m_btnCollega = new QPushButton(QStringLiteral("Co&llega"), this);
    m_btnCollega->setObjectName(QStringLiteral("btnCollega"));
    m_btnScollega = new QPushButton(QStringLiteral("Sc&ollega"), this);
    m_btnScollega->setObjectName(QStringLiteral("btnScollega"));
    collega->addWidget(m_btnCollega);
    collega->addWidget(m_btnScollega);
    collega->addStretch(1);
    layout->addLayout(collega);

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
    for (QPushButton *b : {m_btnCollega, m_btnScollega, m_btnMancanti, m_btnPreleva, m_btnChiudi})
        b->setAutoDefault(false);
    bottoni->addWidget(m_btnMancanti);
    bottoni->addWidget(m_btnPreleva);
    bottoni->addStretch(1);
    bottoni->addWidget(m_btnChiudi);
    layout->addLayout(bottoni);

    connect(m_spnSchede, &QSpinBox::valueChanged, this, [this] { ricalcola(); });
    connect(m_lvd, &ListaReport::rigaCliccata, this, [this] { mostraScelta(); });
    connect(m_cmbScelta, &QComboBox::activated, this, &FrmDistinta::sceltaCambiata);
    connect(m_txCollega, &QLineEdit::textChanged, this, [this] { cercaCollega(); });
    connect(m_lvCollega, &ListaReport::rigaCliccata, this, [this] { mostraCollega(); });
    connect(m_lvCollega, &ListaReport::doppioClic, this, [this] {
        if (m_btnCollega->isEnabled())
            Collega();
    });
    connect(m_btnCollega, &QPushButton::clicked, this, &FrmDistinta::Collega);
    connect(m_btnScollega, &QPushButton::clicked, this, &FrmDistinta::Scollega);
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
        testi[7] = v.riga.footprint;
    });
    QList<int> senzaPezzi;
    for (qsizetype i = 0; i < voci.size(); ++i) {
        if (SenzaPezzi(voci[i]))
            senzaPezzi.append(int(i) + 1);
    }
    m_lvd->impostaEvidenze(senzaPezzi);
    if (selezionata >= 1 && selezionata <= m_lvd->numeroRighe())
        m_lvd->selezionaRiga(selezionata);
}

void FrmDistinta::mostraScelta()
{
    mostraCollega();
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
        m_cmbScelta->addItem(DescriviComponente(m_stato.componente(pos)), pos);
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
    // A code or a description saved meanwhile is searched as it is now.
    m_ricerca.reset();
    cercaCollega();
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
    if (!PrelevaComponenti(m_stato, m_dialoghi, prelievi,
                           MovimentoDistinta(m_nomeFile, m_verifica.schede()))) {
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

void FrmDistinta::cercaCollega()
{
    const QString testo = m_txCollega->text();
    m_lvCollega->svuota();
    m_trovati.clear();
    if (testo.trimmed().isEmpty()) {
        m_lblTrovati->clear();
        mostraCollega();
        return;
    }
    if (!m_ricerca)
        m_ricerca = std::make_unique<RicercaComponenti>(m_stato);
    qsizetype trovati = 0;
    m_trovati = m_ricerca->cerca(testo, MassimoTrovati, &trovati);
    m_lvCollega->aggiungiRighe(m_trovati.size(), [this](qsizetype i, QString *testi) {
        const Componente &c = m_stato.componente(m_trovati[i]);
        testi[0] = c.Codice;
        testi[1] = c.NomeProduttore;
        testi[2] = c.NomeTipo;
        testi[3] = Numero(c.Quantita);
        testi[4] = c.Descrizione;
    });
    if (trovati == 0)
        m_lblTrovati->setText(QStringLiteral("Nessun componente trovato"));
    else if (trovati == 1)
        m_lblTrovati->setText(QStringLiteral("Trovato 1 componente"));
    else if (trovati > m_trovati.size())
        m_lblTrovati->setText(QStringLiteral("Trovati %1 componenti, mostrati i primi %2").arg(trovati).arg(m_trovati.size()));
    else
        m_lblTrovati->setText(QStringLiteral("Trovati %1 componenti").arg(trovati));
    if (m_trovati.size() == 1)
        m_lvCollega->selezionaRiga(1);
    mostraCollega();
}

void FrmDistinta::mostraCollega()
{
    const int riga = m_lvd->rigaSelezionata();
    const VoceVerifica *v = riga >= 1 ? &m_verifica.voci()[riga - 1] : nullptr;
    const bool collegabile = v && v->esito != EsitoRiga::Errore && !ChiaveCollegamento(v->riga).isEmpty();
    QString testo;
    if (!v)
        testo = QStringLiteral("Selezionare una riga della distinta per collegarla a mano a un componente del magazzino.");
    else if (v->esito == EsitoRiga::Errore)
        testo = QStringLiteral("La riga selezionata non \u00e8 stata letta: non si pu\u00f2 collegare.");
    else if (!collegabile)
        testo = QStringLiteral("La riga selezionata non ha n\u00e9 MPN n\u00e9 valore: non si pu\u00f2 collegare.");
    else if (!v->riga.mpn.isEmpty())
        testo = QStringLiteral("Collegare l'MPN \"%1\" a un componente del magazzino:").arg(v->riga.mpn);
    else if (!v->riga.footprint.isEmpty())
        testo = QStringLiteral("Collegare il valore \"%1\" con footprint \"%2\" a un componente del magazzino:")
                    .arg(v->riga.valore, v->riga.footprint);
    else
        testo = QStringLiteral("Collegare il valore \"%1\" a un componente del magazzino:").arg(v->riga.valore);
    if (v && v->collegata)
        testo += QStringLiteral(" ora \u00e8 collegato a ") + m_stato.componente(v->scelta).Codice + u'.';
    m_lblCollega->setText(testo);
    // A read-only archive is only looked at: its links do not change.
    const bool scrivibile = !m_stato.SolaLettura;
    m_btnCollega->setEnabled(scrivibile && collegabile && m_lvCollega->rigaSelezionata() >= 1);
    m_btnScollega->setEnabled(scrivibile && v && m_verifica.collegamenti().id(v->riga) != 0);
}

void FrmDistinta::Collega()
{
    const int riga = m_lvd->rigaSelezionata();
    const int trovato = m_lvCollega->rigaSelezionata();
    if (!m_btnCollega->isEnabled() || riga < 1 || trovato < 1 || trovato > m_trovati.size())
        return;
    const qint32 posizione = m_trovati[trovato - 1];
    if (!CollegaRiga(m_stato, m_verifica, riga - 1, posizione, m_dialoghi)) {
        m_lblStato->setText(QStringLiteral("Il collegamento non \u00e8 stato salvato."));
        return;
    }
    ricalcola();
    m_lblStato->setText(QStringLiteral("Riga collegata a %1: il collegamento \u00e8 salvato in %2 e vale anche "
                                       "per le prossime verifiche.")
                            .arg(m_stato.componente(posizione).Codice, NomeFileCollegamenti));
}

void FrmDistinta::Scollega()
{
    const int riga = m_lvd->rigaSelezionata();
    if (!m_btnScollega->isEnabled() || riga < 1)
        return;
    if (!ScollegaRiga(m_stato, m_verifica, riga - 1, m_dialoghi)) {
        m_lblStato->setText(QStringLiteral("Il collegamento non \u00e8 stato rimosso."));
        return;
    }
    ricalcola();
    m_lblStato->setText(QStringLiteral("Collegamento rimosso: la riga \u00e8 cercata di nuovo per codice, MPN e "
                                       "valore."));
}
