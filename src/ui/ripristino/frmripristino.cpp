#include "ui/ripristino/frmripristino.h"

#include "reports/datebrevi.h"
#include "startup/avvio.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/widgets/listareport.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {

const QString Titolo = QStringLiteral("Ripristina una copia");

// Keeps the wait cursor while the files are written and loaded.
struct CursoreAttesa {
    CursoreAttesa() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursoreAttesa() { QApplication::restoreOverrideCursor(); }
};

} // namespace

FrmRipristina::FrmRipristina(Stato &stato, Dialoghi &dialoghi, const AccessoRipristino &accesso,
                             QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_accesso(accesso)
{
    creaControlli();
    riempiLista();
}

FrmRipristina::~FrmRipristina() = default;

QString FrmRipristina::TestoMomento(const QDateTime &momento)
{
    DateBrevi date;
    return date.testo(momento) + QLatin1Char(' ') + momento.toString(QStringLiteral("HH:mm:ss"));
}

void FrmRipristina::creaControlli()
{
    setObjectName(QStringLiteral("frmRipristina"));
    setWindowTitle(Titolo);
    setModal(true);
    resize(560, 400);

    auto *layout = new QVBoxLayout(this);
    m_lblSpiegazione = new QLabel(this);
    m_lblSpiegazione->setObjectName(QStringLiteral("lblSpiegazione"));
    m_lblSpiegazione->setWordWrap(true);
    m_lblSpiegazione->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_lblSpiegazione);

    m_lvc = new ListaReport(this);
    m_lvc->setObjectName(QStringLiteral("LVC"));
    m_lvc->impostaColonne({
        {QStringLiteral("Data e ora"), QString(), 170, Qt::AlignLeft, false},
        {QStringLiteral("Componenti"), QStringLiteral("NUMBER"), 90, Qt::AlignRight, false},
        {QStringLiteral("Pezzi totali"), QStringLiteral("NUMBER"), 100, Qt::AlignRight, false},
        {QStringLiteral("Cartella"), QString(), 170, Qt::AlignLeft, false},
    });
    layout->addWidget(m_lvc, 1);

    auto *bottoni = new QHBoxLayout;
    m_btnRipristina = new QPushButton(QStringLiteral("&Ripristina"), this);
    m_btnRipristina->setObjectName(QStringLiteral("btnRipristina"));
    m_btnAnnulla = new QPushButton(QStringLiteral("&Annulla"), this);
    m_btnAnnulla->setObjectName(QStringLiteral("btnAnnullaRipristina"));
    for (QPushButton *b : {m_btnRipristina, m_btnAnnulla})
        b->setAutoDefault(false);
    bottoni->addStretch(1);
    bottoni->addWidget(m_btnRipristina);
    bottoni->addWidget(m_btnAnnulla);
    layout->addLayout(bottoni);

    connect(m_btnRipristina, &QPushButton::clicked, this, &FrmRipristina::Ripristina);
    connect(m_btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lvc, &ListaReport::doppioClic, this, [this](int) { Ripristina(); });
}

void FrmRipristina::riempiLista()
{
    m_copie = ElencoCopie(m_stato.percorsi);
    m_lvc->svuota();
    m_lvc->aggiungiRighe(m_copie.size(), [&](qsizetype i, QString *testi) {
        const CopiaDatata &c = m_copie[i];
        const RiepilogoCopia r = LeggiRiepilogo(c);
        testi[0] = TestoMomento(c.momento);
        testi[1] = r.noto() ? QString::number(r.componenti) : QStringLiteral("?");
        testi[2] = r.noto() ? QString::number(r.pezzi) : QStringLiteral("?");
        testi[3] = c.nome;
    });
    const QString cartella = QDir::toNativeSeparators(QDir::cleanPath(CartellaCopie(m_stato.percorsi)));
    if (m_copie.isEmpty()) {
        m_lblSpiegazione->setText(QStringLiteral("Non ci sono copie datate nella cartella ") + cartella
                                  + QStringLiteral("."));
    } else {
        m_lblSpiegazione->setText(
            QStringLiteral("Le copie dei dati fatte all'avvio, dalla pi\u00f9 recente (cartella %1). "
                           "Prima di ripristinare una copia, i dati attuali vengono salvati in una nuova copia.")
                .arg(cartella));
        m_lvc->selezionaRiga(1);
    }
    m_btnRipristina->setEnabled(!m_copie.isEmpty());
}

void FrmRipristina::Ripristina()
{
    const int riga = m_lvc->rigaSelezionata();
    if (riga < 1 || riga > m_copie.size())
        return;
    const CopiaDatata copia = m_copie[riga - 1];
    const QString quando = TestoMomento(copia.momento);
    if (m_dialoghi.messaggio(QStringLiteral("Ripristinare la copia del %1?\r\n"
                                            "I dati attuali vengono prima salvati in una nuova copia.")
                                 .arg(quando),
                             Icona::Domanda, Pulsanti::SiNo, Titolo)
        != Risposta::Si)
        return;

    std::optional<CursoreAttesa> attesa(std::in_place);
    CopiaDatata salvata;
    QString errore;
    QList<RigaMovimento> indietro;
    if (!RipristinaCopia(m_stato, copia, &salvata, &errore, {}, &indietro)) {
        attesa.reset();
        m_dialoghi.messaggio(QStringLiteral("Impossibile ripristinare la copia del %1.\r\n").arg(quando) + errore
                                 + QStringLiteral(".\r\nI dati attuali non sono stati modificati."),
                             Icona::Esclamazione, Pulsanti::Ok, Titolo);
        riempiLista(); // the current data may have been kept as a copy all the same
        return;
    }
    if (!RicaricaArchivio(m_stato, m_dialoghi)) {
        // The chosen files do not load: the ones just saved go back, and
        // the state, which RicaricaArchivio left alone, matches them again.
        const bool rimessi = RimettiCopia(m_stato.percorsi, salvata, &errore, indietro);
        attesa.reset();
        const QString cartellaSalvata = QDir::toNativeSeparators(salvata.percorso);
        m_dialoghi.messaggio(
            rimessi ? QStringLiteral("La copia del %1 non pu\u00f2 essere caricata.\r\n"
                                     "I dati attuali sono stati rimessi al loro posto.")
                          .arg(quando)
                    : QStringLiteral("La copia del %1 non pu\u00f2 essere caricata.\r\n"
                                     "I dati attuali restano aperti nel programma e sono conservati nella copia %2.")
                          .arg(quando, cartellaSalvata),
            Icona::Esclamazione, Pulsanti::Ok, Titolo);
        riempiLista();
        return;
    }
    attesa.reset();
    if (m_accesso.dopoRipristino)
        m_accesso.dopoRipristino(quando);
    accept();
}
