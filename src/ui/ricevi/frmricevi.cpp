#include "ui/ricevi/frmricevi.h"

#include "components/descrizione.h"
#include "distinta/collegamenti.h"
#include "ricevi/codiciimmagine.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/ricevi/casellascansione.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/tavolozza.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

const QString Titolo = QStringLiteral("Ricevi componenti");
constexpr int ColonneLista = 7;

// The rows that need the user: nothing to register as they are.
bool DaSistemare(const RigaRicevi &r)
{
    return !r.leggibile() || r.destinazione < 0 || r.pezzi <= 0;
}

} // namespace

FrmRicevi::FrmRicevi(Stato &stato, Dialoghi &dialoghi, const AccessoRicevi &accesso, QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_accesso(accesso)
{
    QString errore;
    m_sessione = std::make_unique<SessioneRicevi>(stato, LeggiCollegamenti(stato, &errore));
    creaControlli();
    riempiLista();
    if (!errore.isEmpty())
        m_lblStato->setText(QStringLiteral("I collegamenti fatti a mano non sono stati letti. ") + errore);
}

FrmRicevi::~FrmRicevi() = default;

void FrmRicevi::creaControlli()
{
    setObjectName(QStringLiteral("frmRicevi"));
    setWindowTitle(Titolo);
    setModal(true);
    resize(960, 640);
    auto *layout = new QVBoxLayout(this);

    auto *istruzioni = new QLabel(QStringLiteral(
        "Leggere con il lettore il codice di ogni sacchetto, uno dopo l'altro: ogni lettura diventa una riga. "
        "Si pu\u00f2 anche incollare il testo dei codici, uno per riga, o leggerli da una foto."), this);
    istruzioni->setObjectName(QStringLiteral("lblIstruzioni"));
    istruzioni->setWordWrap(true);
    layout->addWidget(istruzioni);

    auto *lettura = new QHBoxLayout;
    auto *lblScansione = new QLabel(QStringLiteral("&Lettura:"), this);
    m_txScansione = new CasellaScansione(this);
    m_txScansione->setObjectName(QStringLiteral("txScansione"));
    lblScansione->setBuddy(m_txScansione);
    m_btnImmagine = new QPushButton(QStringLiteral("Leggi da &immagine\u2026"), this);
    m_btnImmagine->setObjectName(QStringLiteral("btnImmagineRicevi"));
    lettura->addWidget(lblScansione);
    lettura->addWidget(m_txScansione, 1);
    lettura->addWidget(m_btnImmagine);
    layout->addLayout(lettura);

    m_lvr = new ListaReport(this);
    m_lvr->setObjectName(QStringLiteral("LVR"));
    m_lvr->impostaColonne({
        {QStringLiteral("Codice"), QString(), 160, Qt::AlignLeft, false},
        {QStringLiteral("Produttore"), QString(), 120, Qt::AlignLeft, false},
        {QStringLiteral("Pezzi"), QStringLiteral("NUMBER"), 70, Qt::AlignRight, false},
        {QStringLiteral("Esito"), QString(), 220, Qt::AlignLeft, false},
        {QStringLiteral("Codice distributore"), QString(), 140, Qt::AlignLeft, false},
        {QStringLiteral("Lotto"), QString(), 90, Qt::AlignLeft, false},
        {QStringLiteral("Ordine"), QString(), 90, Qt::AlignLeft, false},
    });
    const ColoriAvviso avviso = ColoriRigaAvviso(m_stato.TemaChiaro);
    m_lvr->impostaColoriEvidenza(avviso.sfondo, avviso.testo);
    layout->addWidget(m_lvr, 1);

    auto *riga = new QHBoxLayout;
    m_lblRiga = new QLabel(this);
    m_lblRiga->setObjectName(QStringLiteral("lblRiga"));
    auto *lblPezzi = new QLabel(QStringLiteral("&Pezzi:"), this);
    m_spnPezzi = new QSpinBox(this);
    m_spnPezzi->setObjectName(QStringLiteral("spnPezziRiga"));
    m_spnPezzi->setRange(0, std::numeric_limits<qint32>::max());
    lblPezzi->setBuddy(m_spnPezzi);
    auto *lblComponente = new QLabel(QStringLiteral("&Componente:"), this);
    m_cmbComponente = new QComboBox(this);
    m_cmbComponente->setObjectName(QStringLiteral("cmbComponenteRiga"));
    m_cmbComponente->setMinimumContentsLength(36);
    lblComponente->setBuddy(m_cmbComponente);
    m_btnRimuovi = new QPushButton(QStringLiteral("&Rimuovi riga"), this);
    m_btnRimuovi->setObjectName(QStringLiteral("btnRimuoviRiga"));
    riga->addWidget(m_lblRiga);
    riga->addWidget(lblPezzi);
    riga->addWidget(m_spnPezzi);
    riga->addWidget(lblComponente);
    riga->addWidget(m_cmbComponente, 1);
    riga->addWidget(m_btnRimuovi);
    layout->addLayout(riga);

    auto *tipo = new QHBoxLayout;
    auto *lblTipo = new QLabel(QStringLiteral("&Tipo dei nuovi componenti:"), this);
    m_cmbTipo = new QComboBox(this);
    m_cmbTipo->setObjectName(QStringLiteral("cmbTipoRicevi"));
    m_cmbTipo->setEditable(true);
    m_cmbTipo->setInsertPolicy(QComboBox::NoInsert);
    QStringList tipi;
    for (qint32 i = 1; i <= m_stato.NumTipi && i <= m_stato.Tipi.size(); ++i)
        tipi.append(m_stato.tipo(i).Nome);
    std::sort(tipi.begin(), tipi.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    m_cmbTipo->addItems(tipi);
    if (!m_accesso.tipo.isEmpty())
        m_cmbTipo->setCurrentText(m_accesso.tipo);
    lblTipo->setBuddy(m_cmbTipo);
    tipo->addWidget(lblTipo);
    tipo->addWidget(m_cmbTipo, 1);
    tipo->addStretch(1);
    layout->addLayout(tipo);

    m_lblRiepilogo = new QLabel(this);
    m_lblRiepilogo->setObjectName(QStringLiteral("lblRiepilogo"));
    layout->addWidget(m_lblRiepilogo);
    m_lblStato = new QLabel(this);
    m_lblStato->setObjectName(QStringLiteral("lblStato"));
    m_lblStato->setWordWrap(true);
    m_lblStato->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_lblStato);

    auto *bottoni = new QHBoxLayout;
    m_btnRegistra = new QPushButton(QStringLiteral("Re&gistra"), this);
    m_btnRegistra->setObjectName(QStringLiteral("btnRegistra"));
    m_btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    m_btnAnnulla->setObjectName(QStringLiteral("btnAnnullaRicevi"));
    // Enter belongs to the scanner: no button takes it.
    for (QPushButton *b : {m_btnImmagine, m_btnRimuovi, m_btnRegistra, m_btnAnnulla})
        b->setAutoDefault(false);
    bottoni->addStretch(1);
    bottoni->addWidget(m_btnRegistra);
    bottoni->addWidget(m_btnAnnulla);
    layout->addLayout(bottoni);

    m_btnRegistra->setEnabled(!m_stato.SolaLettura);

    connect(m_txScansione, &CasellaScansione::scansioniLette, this, &FrmRicevi::LeggiTesti);
    connect(m_btnImmagine, &QPushButton::clicked, this, &FrmRicevi::LeggiImmagine);
    connect(m_lvr, &ListaReport::rigaCliccata, this, [this] { mostraRiga(); });
    connect(m_spnPezzi, &QSpinBox::valueChanged, this, &FrmRicevi::pezziCambiati);
    connect(m_cmbComponente, &QComboBox::activated, this, &FrmRicevi::componenteScelto);
    connect(m_btnRimuovi, &QPushButton::clicked, this, &FrmRicevi::RimuoviRiga);
    connect(m_btnRegistra, &QPushButton::clicked, this, &FrmRicevi::Registra);
    connect(m_btnAnnulla, &QPushButton::clicked, this, &FrmRicevi::reject);
    m_txScansione->setFocus();
}

QString FrmRicevi::tipo() const { return m_cmbTipo->currentText().trimmed(); }

void FrmRicevi::testiRiga(qsizetype i, QString *testi) const
{
    const RigaRicevi &r = m_sessione->righe()[i];
    const Scansione &s = r.scansione;
    // A label of this program carries no part number: the component it names.
    if (!r.leggibile())
        testi[0] = s.testo;
    else if (s.codice.isEmpty() && r.destinazione > 0)
        testi[0] = m_stato.componente(r.destinazione).Codice;
    else
        testi[0] = s.codice;
    testi[1] = s.produttore;
    testi[2] = r.leggibile() ? QString::number(r.pezzi) : QString();
    testi[3] = m_sessione->esito(i);
    testi[4] = s.codiceDistributore;
    testi[5] = s.lotto;
    testi[6] = s.ordine.isEmpty() ? s.ordineCliente : s.ordine;
}

void FrmRicevi::riempiLista()
{
    m_lvr->svuota();
    m_lvr->aggiungiRighe(m_sessione->righe().size(), [this](qsizetype i, QString *testi) { testiRiga(i, testi); });
    riepiloga();
    mostraRiga();
}

void FrmRicevi::aggiornaRiga(int n)
{
    QString testi[ColonneLista];
    testiRiga(n - 1, testi);
    for (int k = 0; k < ColonneLista; ++k)
        m_lvr->impostaTesto(n, k, testi[k]);
    riepiloga();
}

void FrmRicevi::riepiloga()
{
    const QList<RigaRicevi> &righe = m_sessione->righe();
    QList<int> daSistemare;
    qsizetype aggiungi = 0, nuovi = 0, scegliere = 0, illeggibili = 0;
    for (qsizetype i = 0; i < righe.size(); ++i) {
        const RigaRicevi &r = righe[i];
        if (DaSistemare(r))
            daSistemare.append(int(i) + 1);
        if (!r.leggibile())
            ++illeggibili;
        else if (r.destinazione < 0)
            ++scegliere;
        else if (r.destinazione == 0)
            ++nuovi;
        else
            ++aggiungi;
    }
    m_lvr->impostaEvidenze(daSistemare);
    m_lblRiepilogo->setText(
        QStringLiteral("Sacchetti letti: %1 (da aggiungere a componenti esistenti: %2, nuovi componenti: %3, "
                       "da scegliere: %4, non leggibili: %5)")
            .arg(righe.size())
            .arg(aggiungi)
            .arg(nuovi)
            .arg(scegliere)
            .arg(illeggibili));
}

void FrmRicevi::seleziona(qsizetype riga)
{
    if (riga < 0 || riga >= m_lvr->numeroRighe())
        return;
    m_lvr->selezionaRiga(int(riga) + 1);
    m_lvr->mostraRiga(int(riga) + 1);
    mostraRiga();
}

void FrmRicevi::mostraRiga()
{
    m_inAggiornamento = true;
    const int n = m_lvr->rigaSelezionata();
    const RigaRicevi *r = n >= 1 ? &m_sessione->righe()[n - 1] : nullptr;
    const bool leggibile = r && r->leggibile();
    m_cmbComponente->clear();
    if (!r)
        m_lblRiga->setText(QStringLiteral("Nessuna riga selezionata."));
    else
        m_lblRiga->setText(QStringLiteral("Riga %1:").arg(n));
    m_spnPezzi->setEnabled(leggibile);
    m_cmbComponente->setEnabled(leggibile);
    m_btnRimuovi->setEnabled(r != nullptr);
    m_spnPezzi->setValue(leggibile ? int(std::min<qint64>(r->pezzi, std::numeric_limits<qint32>::max())) : 0);
    if (leggibile) {
        if (r->destinazione < 0)
            m_cmbComponente->addItem(QStringLiteral("(scegliere il componente)"), -1);
        for (const qint32 pos : r->confronto.candidati)
            m_cmbComponente->addItem(DescriviComponente(m_stato.componente(pos)), pos);
        // A new component needs the part number the label gives.
        if (!r->scansione.codice.isEmpty())
            m_cmbComponente->addItem(QStringLiteral("Nuovo componente"), 0);
        m_cmbComponente->setCurrentIndex(qMax(0, m_cmbComponente->findData(r->destinazione)));
    }
    m_inAggiornamento = false;
}

void FrmRicevi::pezziCambiati(int pezzi)
{
    const int n = m_lvr->rigaSelezionata();
    if (m_inAggiornamento || n < 1)
        return;
    // Only the row and the summary follow: the spin box is being typed in.
    m_sessione->impostaPezzi(n - 1, pezzi);
    aggiornaRiga(n);
}

void FrmRicevi::componenteScelto(int indice)
{
    const int n = m_lvr->rigaSelezionata();
    if (m_inAggiornamento || n < 1 || indice < 0)
        return;
    m_sessione->impostaDestinazione(n - 1, m_cmbComponente->itemData(indice).toInt());
    aggiornaRiga(n);
    mostraRiga();
}

void FrmRicevi::LeggiTesti(const QStringList &testi)
{
    qsizetype ultima = -1;
    QStringList nonAggiunti;
    for (const QString &testo : testi) {
        const Scansione s = LeggiScansione(testo);
        const qsizetype gia = m_sessione->doppione(s);
        if (gia >= 0) {
            const QString domanda = QStringLiteral("Questo sacchetto \u00e8 gi\u00e0 stato letto alla riga %1 (%2).\r\n"
                                                   "Aggiungerlo un'altra volta?")
                                        .arg(gia + 1)
                                        .arg(m_sessione->righe()[gia].scansione.codice);
            if (m_dialoghi.messaggio(domanda, Icona::Domanda, Pulsanti::SiNo, Titolo) != Risposta::Si) {
                nonAggiunti.append(QString::number(gia + 1));
                continue;
            }
        }
        ultima = m_sessione->aggiungi(s);
    }
    riempiLista();
    seleziona(ultima >= 0 ? ultima : m_sessione->righe().size() - 1);
    if (!nonAggiunti.isEmpty())
        m_lblStato->setText(QStringLiteral("Sacchetto gi\u00e0 letto (riga %1): non aggiunto di nuovo.")
                                .arg(nonAggiunti.join(QStringLiteral(", "))));
    else if (ultima >= 0)
        m_lblStato->setText(QStringLiteral("Riga %1: ").arg(ultima + 1) + m_sessione->esito(ultima));
    m_txScansione->setFocus();
}

void FrmRicevi::LeggiImmagine()
{
    const QString percorso = m_dialoghi.apriFile(
        QStringLiteral("Leggi i codici da un'immagine"), QDir::homePath(),
        QStringLiteral("Immagini|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.webp;*.tif;*.tiff"));
    if (percorso.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LetturaImmagine lettura = LeggiCodiciImmagine(percorso);
    QApplication::restoreOverrideCursor();
    if (!lettura.errore.isEmpty()) {
        m_dialoghi.messaggio(lettura.errore, Icona::Esclamazione, Pulsanti::Ok, Titolo);
        return;
    }
    if (lettura.codici.isEmpty()) {
        m_dialoghi.messaggio(MessaggioNessunCodice, Icona::Informazione, Pulsanti::Ok, Titolo);
        return;
    }
    QStringList testi;
    for (const CodiceImmagine &c : lettura.codici)
        testi.append(c.testo);
    LeggiTesti(testi);
    m_lblStato->setText(QStringLiteral("Codici letti dall'immagine %1: %2.")
                            .arg(QFileInfo(percorso).fileName())
                            .arg(lettura.codici.size()));
}

void FrmRicevi::RimuoviRiga()
{
    const int n = m_lvr->rigaSelezionata();
    if (n < 1)
        return;
    m_sessione->rimuovi(n - 1);
    riempiLista();
    seleziona(qMin<qsizetype>(n - 1, m_sessione->righe().size() - 1));
}

void FrmRicevi::Registra()
{
    if (m_stato.SolaLettura)
        return;
    QList<qsizetype> righeVoci;
    qsizetype daScegliere = -1;
    QList<VoceRicevimento> voci = m_sessione->voci(&righeVoci, &daScegliere);
    if (daScegliere >= 0) {
        seleziona(daScegliere);
        m_dialoghi.messaggio(QStringLiteral("Riga %1: pi\u00f9 componenti hanno il codice %2.\r\n"
                                            "Scegliere a quale vanno i pezzi, o \"Nuovo componente\".")
                                 .arg(daScegliere + 1)
                                 .arg(m_sessione->righe()[daScegliere].scansione.codice),
                             Icona::Esclamazione, Pulsanti::Ok, Titolo);
        m_cmbComponente->setFocus();
        return;
    }
    if (voci.isEmpty()) {
        m_dialoghi.messaggio(QStringLiteral("Nessun sacchetto da registrare."), Icona::Informazione,
                             Pulsanti::Ok, Titolo);
        return;
    }
    const bool conNuovi = std::any_of(voci.cbegin(), voci.cend(), [](const VoceRicevimento &v) { return v.id == 0; });
    if (conNuovi && tipo().isEmpty()) {
        m_dialoghi.messaggio(QStringLiteral("Indicare il tipo dei nuovi componenti."), Icona::Esclamazione,
                             Pulsanti::Ok, Titolo);
        m_cmbTipo->setFocus();
        return;
    }
    // The editor may hold a change of a component about to receive pieces:
    // it is settled first, and the rows follow what it saved.
    if (m_accesso.primaDiRegistrare && !m_accesso.primaDiRegistrare())
        return;
    voci = m_sessione->voci(&righeVoci, &daScegliere);
    const PianoImportazione piano = PianificaRicevimento(m_stato, voci, tipo());
    if (!piano.errore.isEmpty() || !piano.errori.isEmpty()) {
        QStringList righe;
        if (!piano.errore.isEmpty())
            righe.append(piano.errore);
        for (const ErroreRiga &e : piano.errori) {
            const qsizetype riga = e.numero >= 1 && e.numero <= righeVoci.size() ? righeVoci[e.numero - 1] : -1;
            righe.append(QStringLiteral("Riga %1: %2").arg(riga + 1).arg(e.motivo));
        }
        if (!piano.errori.isEmpty() && piano.errori.first().numero <= righeVoci.size())
            seleziona(righeVoci[piano.errori.first().numero - 1]);
        m_dialoghi.messaggio(QStringLiteral("Non \u00e8 possibile registrare:\r\n") + righe.join(QStringLiteral("\r\n")),
                             Icona::Esclamazione, Pulsanti::Ok, Titolo);
        return;
    }
    qint64 pezzi = 0;
    for (const VoceRicevimento &v : voci)
        pezzi += v.pezzi;
    const qsizetype illeggibili = m_sessione->righe().size() - m_sessione->leggibili();
    QString domanda = QStringLiteral("Registrare %1 pezzi: %2 componenti esistenti aggiornati e %3 nuovi componenti?")
                          .arg(pezzi)
                          .arg(piano.quantita.size())
                          .arg(piano.nuovi.size());
    if (illeggibili > 0)
        domanda += QStringLiteral("\r\nLe righe non leggibili (%1) non saranno registrate.").arg(illeggibili);
    if (m_dialoghi.messaggio(domanda, Icona::Domanda, Pulsanti::SiNo, Titolo) != Risposta::Si)
        return;
    if (!RegistraRicevimento(m_stato, piano, m_dialoghi)) {
        m_lblStato->setText(QStringLiteral("Attenzione: i dati NON sono stati salvati, nessun pezzo \u00e8 stato registrato"));
        if (m_accesso.nonSalvato)
            m_accesso.nonSalvato();
        return;
    }
    const QString riepilogo = QStringLiteral("Operazione completata: ricevuti %1 pezzi (%2 componenti aggiornati, "
                                             "%3 nuovi)")
                                  .arg(pezzi)
                                  .arg(piano.quantita.size())
                                  .arg(piano.nuovi.size());
    if (m_accesso.dopoRegistrazione)
        m_accesso.dopoRegistrazione(riepilogo);
    QDialog::accept();
}

void FrmRicevi::reject()
{
    const qsizetype lette = m_sessione->righe().size();
    if (lette > 0
        && m_dialoghi.messaggio(QStringLiteral("Chiudere senza registrare i sacchetti letti (%1)?").arg(lette),
                                Icona::Domanda, Pulsanti::SiNo, Titolo)
               != Risposta::Si)
        return;
    QDialog::reject();
}
