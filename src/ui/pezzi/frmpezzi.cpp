#include "ui/pezzi/frmpezzi.h"

#include "store/dialoghi.h"
#include "store/stato.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace {

const QString AcapoCrLf = QStringLiteral("\r\n");

QString Titolo(VersoPezzi verso)
{
    return verso == VersoPezzi::Aggiunta ? QStringLiteral("Aggiungi pezzi") : QStringLiteral("Preleva pezzi");
}

} // namespace

FrmPezzi::FrmPezzi(Stato &stato, Dialoghi &dialoghi, qint32 posizione, VersoPezzi verso, QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_posizione(posizione), m_verso(verso)
{
    const Componente &c = m_stato.componente(m_posizione);
    const bool aggiunta = m_verso == VersoPezzi::Aggiunta;
    setObjectName(QStringLiteral("frmPezzi"));
    setWindowTitle(Titolo(m_verso) + QStringLiteral(" - ") + c.Codice);
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    QStringList chi{c.Codice};
    for (const QString &nome : {c.NomeProduttore, c.NomeTipo}) {
        if (!nome.isEmpty())
            chi << nome;
    }
    m_lblComponente = new QLabel(QStringLiteral("Componente: %1").arg(chi.join(QStringLiteral(" - "))) + u'\n'
                                     + QStringLiteral("Quantit\u00e0 attuale: %1").arg(c.Quantita),
                                 this);
    m_lblComponente->setObjectName(QStringLiteral("lblComponentePezzi"));
    m_lblComponente->setTextFormat(Qt::PlainText);
    layout->addWidget(m_lblComponente);

    auto *campi = new QFormLayout;
    m_spnPezzi = new QSpinBox(this);
    m_spnPezzi->setObjectName(QStringLiteral("spnPezzi"));
    m_spnPezzi->setRange(1, std::numeric_limits<qint32>::max());
    m_spnPezzi->setValue(1);
    m_spnPezzi->setMinimumWidth(140);
    campi->addRow(aggiunta ? QStringLiteral("&Pezzi da aggiungere:") : QStringLiteral("&Pezzi da prelevare:"),
                  m_spnPezzi);
    m_txNota = new QLineEdit(this);
    m_txNota->setObjectName(QStringLiteral("txNotaPezzi"));
    m_txNota->setToolTip(QStringLiteral("Scritta nello storico accanto al movimento (per esempio il numero "
                                        "d'ordine o la scheda)"));
    m_txNota->setMinimumWidth(300);
    campi->addRow(QStringLiteral("&Nota (facoltativa):"), m_txNota);
    layout->addLayout(campi);

    m_lblDopo = new QLabel(this);
    m_lblDopo->setObjectName(QStringLiteral("lblDopoPezzi"));
    layout->addWidget(m_lblDopo);

    auto *bottoni = new QHBoxLayout;
    m_btnConferma = new QPushButton(QStringLiteral("&Conferma"), this);
    m_btnConferma->setObjectName(QStringLiteral("btnConfermaPezzi"));
    m_btnConferma->setDefault(true);
    m_btnAnnulla = new QPushButton(QStringLiteral("&Annulla"), this);
    m_btnAnnulla->setObjectName(QStringLiteral("btnAnnullaPezzi"));
    m_btnAnnulla->setAutoDefault(false);
    bottoni->addStretch(1);
    bottoni->addWidget(m_btnConferma);
    bottoni->addWidget(m_btnAnnulla);
    layout->addLayout(bottoni);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_spnPezzi, m_txNota);
    setTabOrder(m_txNota, m_btnConferma);
    setTabOrder(m_btnConferma, m_btnAnnulla);
    m_spnPezzi->setFocus();
    m_spnPezzi->selectAll();

    connect(m_spnPezzi, &QSpinBox::valueChanged, this, &FrmPezzi::aggiornaAnteprima);
    connect(m_btnConferma, &QPushButton::clicked, this, &FrmPezzi::Conferma);
    connect(m_btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    aggiornaAnteprima();
}

FrmPezzi::~FrmPezzi() = default;

void FrmPezzi::aggiornaAnteprima()
{
    const qint32 quantita = m_stato.componente(m_posizione).Quantita;
    const CalcoloPezzi calcolo = CalcolaPezzi(quantita, m_verso, m_spnPezzi->value());
    QString testo = QStringLiteral("Quantit\u00e0 dopo: %1").arg(calcolo.quantita);
    if (calcolo.oltreMassimo)
        testo = QStringLiteral("Quantit\u00e0 dopo: oltre il massimo di %1").arg(std::numeric_limits<qint32>::max());
    else if (calcolo.oltreScorta)
        testo += QStringLiteral(" (si possono prelevare al massimo %1 pezzi)").arg(calcolo.pezzi);
    m_lblDopo->setText(testo);
}

void FrmPezzi::Conferma()
{
    const Componente &c = m_stato.componente(m_posizione);
    const qint64 chiesti = m_spnPezzi->value();
    CalcoloPezzi calcolo = CalcolaPezzi(c.Quantita, m_verso, chiesti);
    if (calcolo.oltreMassimo) {
        m_dialoghi.messaggio(QStringLiteral("Impossibile aggiungere %1 pezzi a %2:").arg(chiesti).arg(c.Codice)
                                 + AcapoCrLf
                                 + QStringLiteral("la quantit\u00e0 diventerebbe %1, oltre il massimo di %2.")
                                       .arg(calcolo.quantita)
                                       .arg(std::numeric_limits<qint32>::max()),
                             Icona::Esclamazione, Pulsanti::Ok, Titolo(m_verso));
        return;
    }
    if (calcolo.oltreScorta) {
        if (calcolo.pezzi == 0) {
            m_dialoghi.messaggio(QStringLiteral("In magazzino non ci sono pezzi di %1: non c'\u00e8 nulla da "
                                                "prelevare.")
                                     .arg(c.Codice),
                                 Icona::Informazione, Pulsanti::Ok, Titolo(m_verso));
            return;
        }
        const QString domanda = QStringLiteral("Pezzi richiesti: %1, pezzi di %2 in magazzino: %3.")
                                    .arg(chiesti)
                                    .arg(c.Codice)
                                    .arg(c.Quantita)
            + AcapoCrLf
            + QStringLiteral("Premi S\u00ec per prelevare tutti i pezzi in magazzino, No per tornare a modificare "
                             "il numero");
        if (m_dialoghi.messaggio(domanda, Icona::Esclamazione, Pulsanti::SiNo, Titolo(m_verso)) != Risposta::Si)
            return;
    }
    if (!SalvaPezzi(m_stato, m_dialoghi, m_posizione, m_verso, qint32(calcolo.quantita), m_txNota->text())) {
        m_fallito = true;
        m_lblDopo->setText(QStringLiteral("Attenzione: i dati NON sono stati salvati, la quantit\u00e0 resta %1.")
                               .arg(m_stato.componente(m_posizione).Quantita));
        return;
    }
    m_fallito = false;
    m_mossi = calcolo.pezzi;
    accept();
}
