#include "ui/etichette/frmetichette.h"

#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/widgets/pagine.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The preview's room, in pixels.
constexpr int LarghezzaAnteprima = 300;
constexpr int AltezzaAnteprima = 424;

QString etichette(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 etichetta") : QStringLiteral("%1 etichette").arg(n);
}

} // namespace

QString PercorsoPdfEtichette(const Stato &stato)
{
    return stato.percorsi.CartellaStampe + QStringLiteral("Etichette.pdf");
}

FrmEtichette::FrmEtichette(const Stato &stato, Dialoghi &dialoghi, const AccessoEtichette &accesso,
                           QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_accesso(accesso)
{
    setObjectName(QStringLiteral("frmEtichette"));
    setWindowTitle(QStringLiteral("Stampa etichette"));

    cmbQuali = new QComboBox(this);
    cmbQuali->setObjectName(QStringLiteral("cmbQuali"));
    const qint32 tutti = std::clamp<qint32>(stato.NumComponenti, 0, qint32(stato.Componenti.size()));
    cmbQuali->addItem(QStringLiteral("Tutti i componenti (%1)").arg(tutti));
    cmbQuali->addItem(QStringLiteral("La lista mostrata (%1)").arg(m_accesso.lista.size()));
    const bool mostrato = m_accesso.mostrato >= 1 && m_accesso.mostrato <= tutti;
    if (!mostrato)
        m_accesso.mostrato = 0;
    cmbQuali->addItem(mostrato ? QStringLiteral("Solo il componente mostrato (%1)").arg(stato.componente(m_accesso.mostrato).Codice)
                               : QStringLiteral("Solo il componente mostrato (nessuno)"));
    if (auto *modello = qobject_cast<QStandardItemModel *>(cmbQuali->model()); modello && !mostrato)
        modello->item(Mostrato)->setEnabled(false);
    cmbQuali->setCurrentIndex(Lista);

    cmbFormato = new QComboBox(this);
    cmbFormato->setObjectName(QStringLiteral("cmbFormato"));
    for (const FormatoEtichette &f : FormatiEtichette())
        cmbFormato->addItem(f.nome);

    spnInizio = new QSpinBox(this);
    spnInizio->setObjectName(QStringLiteral("spnInizio"));
    spnInizio->setToolTip(QStringLiteral("Posizione della prima etichetta sul primo foglio, contando per righe "
                                         "da sinistra a destra: per riusare un foglio gi\u00e0 in parte usato"));

    lblConteggio = new QLabel(this);
    lblConteggio->setObjectName(QStringLiteral("lblConteggio"));
    lblAnteprima = new QLabel(this);
    lblAnteprima->setObjectName(QStringLiteral("lblAnteprima"));
    lblAnteprima->setFixedSize(LarghezzaAnteprima, AltezzaAnteprima);
    lblAnteprima->setAlignment(Qt::AlignCenter);
    lblAnteprima->setFrameShape(QFrame::StyledPanel);
    lblStato = new QLabel(this);
    lblStato->setObjectName(QStringLiteral("lblStato"));
    lblStato->setWordWrap(true);
    lblStato->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnPdfEtichette = new QPushButton(QStringLiteral("Crea &PDF"), this);
    btnPdfEtichette->setObjectName(QStringLiteral("btnPdfEtichette"));
    btnStampaEtichette = new QPushButton(QStringLiteral("&Stampa\u2026"), this);
    btnStampaEtichette->setObjectName(QStringLiteral("btnStampaEtichette"));
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));

    auto *scelte = new QFormLayout;
    scelte->addRow(QStringLiteral("&Componenti:"), cmbQuali);
    scelte->addRow(QStringLiteral("&Formato:"), cmbFormato);
    scelte->addRow(QStringLiteral("&Inizia dalla posizione:"), spnInizio);
    scelte->addRow(lblConteggio);
    auto *sinistra = new QVBoxLayout;
    sinistra->addLayout(scelte);
    sinistra->addStretch();
    sinistra->addWidget(lblStato);
    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(btnPdfEtichette);
    pulsanti->addWidget(btnStampaEtichette);
    pulsanti->addWidget(btnChiudi);
    sinistra->addLayout(pulsanti);
    auto *principale = new QHBoxLayout(this);
    principale->addLayout(sinistra, 1);
    principale->addWidget(lblAnteprima);

    connect(cmbQuali, &QComboBox::currentIndexChanged, this, &FrmEtichette::aggiorna);
    connect(cmbFormato, &QComboBox::currentIndexChanged, this, &FrmEtichette::aggiorna);
    connect(spnInizio, &QSpinBox::valueChanged, this, &FrmEtichette::aggiorna);
    connect(btnPdfEtichette, &QPushButton::clicked, this, &FrmEtichette::creaPdf);
    connect(btnStampaEtichette, &QPushButton::clicked, this, &FrmEtichette::stampa);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    aggiorna();
}

QList<qint32> FrmEtichette::posizioniScelte() const
{
    switch (cmbQuali->currentIndex()) {
    case Tutti:
        return PosizioniPerCodice(m_stato);
    case Mostrato:
        return m_accesso.mostrato > 0 ? QList<qint32>{m_accesso.mostrato} : QList<qint32>{};
    default: {
        // Rows of the list that no longer name a stored component are left out.
        QList<qint32> lista;
        for (const qint32 p : m_accesso.lista)
            if (p >= 1 && p <= m_stato.NumComponenti && p <= m_stato.Componenti.size())
                lista.append(p);
        return lista;
    }
    }
}

LavoroEtichette FrmEtichette::lavoro() const
{
    LavoroEtichette l;
    l.formato = FormatiEtichette().value(std::max(cmbFormato->currentIndex(), 0));
    l.inizio = InizioValido(l.formato, spnInizio->value());
    const QList<qint32> posizioni = posizioniScelte();
    l.etichette.reserve(posizioni.size());
    for (const qint32 p : posizioni)
        l.etichette.append(ContenutoDi(m_stato, p, m_stato.CampoPosizione));
    return l;
}

void FrmEtichette::aggiorna()
{
    const FormatoEtichette formato = FormatiEtichette().value(std::max(cmbFormato->currentIndex(), 0));
    {
        const QSignalBlocker blocco(spnInizio);
        spnInizio->setRange(1, formato.rotolo ? 1 : formato.perPagina());
    }
    spnInizio->setEnabled(!formato.rotolo);

    // The preview needs only the labels of the first page.
    LavoroEtichette primo;
    primo.formato = formato;
    primo.inizio = InizioValido(formato, spnInizio->value());
    const QList<qint32> posizioni = posizioniScelte();
    const qsizetype sullaPrima = std::min<qsizetype>(posizioni.size(), formato.perPagina() - primo.inizio + 1);
    for (qsizetype i = 0; i < sullaPrima; ++i)
        primo.etichette.append(ContenutoDi(m_stato, posizioni[i], m_stato.CampoPosizione));
    const double dpi = std::min(LarghezzaAnteprima / (formato.pagina.width() / 25.4),
                                AltezzaAnteprima / (formato.pagina.height() / 25.4));
    lblAnteprima->setPixmap(QPixmap::fromImage(ImmaginePaginaEtichette(primo, 0, dpi)));

    const int pagine = PagineEtichette(formato, int(posizioni.size()), primo.inizio);
    if (posizioni.isEmpty())
        lblConteggio->setText(QStringLiteral("Nessun componente da stampare"));
    else if (formato.rotolo)
        lblConteggio->setText(etichette(posizioni.size()) + QStringLiteral(" sul rotolo"));
    else
        lblConteggio->setText(etichette(posizioni.size())
                              + (pagine == 1 ? QStringLiteral(" su 1 foglio") : QStringLiteral(" su %1 fogli").arg(pagine)));
    btnPdfEtichette->setEnabled(!posizioni.isEmpty());
    btnStampaEtichette->setEnabled(!posizioni.isEmpty());
}

void FrmEtichette::creaPdf()
{
    const LavoroEtichette l = lavoro();
    if (l.etichette.isEmpty())
        return;
    const QString percorso = PercorsoPdfEtichette(m_stato);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool scritto = ScriviPdf(percorso, PaginaEtichette(l.formato), QStringLiteral("Etichette"),
                                   [&l](QPagedPaintDevice &d) { return DisegnaEtichette(d, l); });
    QApplication::restoreOverrideCursor();
    if (!scritto) {
        lblStato->clear();
        m_dialoghi.messaggio(TestoErroreEtichette, Icona::Critica, Pulsanti::Ok, TitoloErroreEtichette);
        return;
    }
    lblStato->setText(QStringLiteral("Etichette salvate in ") + QDir::toNativeSeparators(percorso));
}

void FrmEtichette::stampa()
{
    const LavoroEtichette l = lavoro();
    if (l.etichette.isEmpty())
        return;
    const EsitoStampa esito =
        StampaPagine(m_accesso.sceltaStampante, this, PaginaEtichette(l.formato), QStringLiteral("Etichette"),
                     [&l](QPagedPaintDevice &d) { return DisegnaEtichette(d, l); });
    if (esito == EsitoStampa::Stampato)
        lblStato->setText(l.etichette.size() == 1 ? QStringLiteral("1 etichetta inviata alla stampante")
                                                  : etichette(l.etichette.size()) + QStringLiteral(" inviate alla stampante"));
    else if (esito == EsitoStampa::Errore)
        m_dialoghi.messaggio(TestoErroreStampante, Icona::Critica, Pulsanti::Ok, TitoloErroreEtichette);
}
