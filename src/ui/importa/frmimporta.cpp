#include "ui/importa/frmimporta.h"

#include "components/descrizione.h"
#include "csv/testocsv.h"
#include "store/dialoghi.h"
#include "store/localeutente.h"
#include "store/stato.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLabel *etichetta(QWidget *padre, const char *nome)
{
    auto *l = new QLabel(padre);
    l->setObjectName(QLatin1String(nome));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QListWidget *elenco(QWidget *padre, const char *nome)
{
    auto *l = new QListWidget(padre);
    l->setObjectName(QLatin1String(nome));
    l->setUniformItemSizes(true);
    return l;
}

} // namespace

FrmImporta::FrmImporta(Stato &stato, Dialoghi &dialoghi, LetturaCSV lettura, const QString &nomeFile,
                       QWidget *parent)
    : QDialog(parent), m_stato(stato), m_dialoghi(dialoghi), m_lettura(std::move(lettura)), m_nomeFile(nomeFile)
{
    setObjectName(QStringLiteral("frmImporta"));
    setWindowTitle(QStringLiteral("Importa da testo CSV"));
    setModal(true);
    resize(620, 560);

    auto *colonna = new QVBoxLayout(this);
    lblFile = etichetta(this, "lblFile");
    lblFile->setText(QStringLiteral("File: %1\nCodifica: %2 - separatore: %3")
                         .arg(nomeFile, m_lettura.codifica, NomeSeparatoreCSV(m_lettura.separatore)));
    colonna->addWidget(lblFile);

    lblConteggio = etichetta(this, "lblConteggio");
    QFont grassetto = lblConteggio->font();
    grassetto.setBold(true);
    lblConteggio->setFont(grassetto);
    colonna->addWidget(lblConteggio);

    lblIgnorate = etichetta(this, "lblIgnorate");
    if (!m_lettura.ignorate.isEmpty()) {
        QStringList nomi = m_lettura.ignorate.mid(0, 20);
        if (m_lettura.ignorate.size() > 20)
            nomi << QStringLiteral("\u2026 e altre %1").arg(m_lettura.ignorate.size() - 20);
        lblIgnorate->setText(QStringLiteral("Colonne non riconosciute, ignorate: ") + nomi.join(QStringLiteral(", ")));
    }
    lblIgnorate->setVisible(!m_lettura.ignorate.isEmpty());
    colonna->addWidget(lblIgnorate);

    auto *cornice = new QGroupBox(QStringLiteral("Codici gi\u00e0 presenti nell'archivio"), this);
    cornice->setObjectName(QStringLiteral("fmEsistenti"));
    auto *scelte = new QVBoxLayout(cornice);
    optAggiungi = new QRadioButton(QStringLiteral("Aggiungi comunque un nuovo componente"), cornice);
    optAggiungi->setObjectName(QStringLiteral("optAggiungi"));
    optSalta = new QRadioButton(QStringLiteral("Salta la riga"), cornice);
    optSalta->setObjectName(QStringLiteral("optSalta"));
    optSomma = new QRadioButton(QStringLiteral("Somma la quantit\u00e0 a quella del componente esistente"), cornice);
    optSomma->setObjectName(QStringLiteral("optSomma"));
    auto *gruppo = new QButtonGroup(this);
    for (QRadioButton *o : {optAggiungi, optSalta, optSomma}) {
        gruppo->addButton(o);
        scelte->addWidget(o);
    }
    // Leaving out what is already there is the choice that never makes a
    // duplicate nor changes a stored component.
    optSalta->setChecked(true);
    connect(gruppo, &QButtonGroup::buttonToggled, this, [this](QAbstractButton *, bool attivo) {
        if (attivo)
            aggiornaPiano();
    });
    colonna->addWidget(cornice);

    colonna->addWidget(new QLabel(QStringLiteral("Righe non leggibili (non saranno importate):"), this));
    lstErrori = elenco(this, "lstErrori");
    colonna->addWidget(lstErrori, 2);
    lblAmbigue = new QLabel(QStringLiteral("Righe ambigue, non importate: il codice corrisponde a pi\u00f9 "
                                           "componenti in archivio (indicare nel file produttore o tipo):"),
                            this);
    lblAmbigue->setObjectName(QStringLiteral("lblAmbigue"));
    lblAmbigue->setWordWrap(true);
    colonna->addWidget(lblAmbigue);
    lstAmbigue = elenco(this, "lstAmbigue");
    colonna->addWidget(lstAmbigue, 1);
    colonna->addWidget(new QLabel(QStringLiteral("Voci nuove che saranno create nelle tabelle:"), this));
    lstNuoveVoci = elenco(this, "lstNuoveVoci");
    colonna->addWidget(lstNuoveVoci, 1);

    auto *bottoni = new QDialogButtonBox(this);
    btnImporta = bottoni->addButton(QStringLiteral("Importa"), QDialogButtonBox::AcceptRole);
    btnImporta->setObjectName(QStringLiteral("btnImporta"));
    btnAnnullaImporta = bottoni->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    btnAnnullaImporta->setObjectName(QStringLiteral("btnAnnullaImporta"));
    btnAnnullaImporta->setDefault(true);
    connect(btnImporta, &QPushButton::clicked, this, &FrmImporta::importa);
    connect(btnAnnullaImporta, &QPushButton::clicked, this, &QDialog::reject);
    colonna->addWidget(bottoni);

    aggiornaPiano();
}

CodiciEsistenti FrmImporta::scelta() const
{
    if (optAggiungi->isChecked())
        return CodiciEsistenti::Aggiungi;
    if (optSomma->isChecked())
        return CodiciEsistenti::SommaQuantita;
    return CodiciEsistenti::Salta;
}

void FrmImporta::aggiornaPiano()
{
    m_piano = PianificaImportazione(m_stato, m_lettura, scelta());

    QStringList righe;
    righe << QStringLiteral("Componenti da aggiungere: %1").arg(m_piano.nuovi.size());
    if (!m_piano.quantita.isEmpty())
        righe << QStringLiteral("Componenti esistenti di cui sommare la quantit\u00e0: %1").arg(m_piano.quantita.size());
    if (m_piano.saltati > 0)
        righe << QStringLiteral("Righe saltate perch\u00e9 il codice esiste gi\u00e0: %1").arg(m_piano.saltati);
    if (!m_piano.ambigue.isEmpty())
        righe << QStringLiteral("Righe ambigue, non importate: %1").arg(m_piano.ambigue.size());
    const qsizetype nonLeggibili = m_piano.errori.size() + m_piano.erroriOmessi;
    righe << QStringLiteral("Righe non leggibili: %1").arg(nonLeggibili);
    if (!m_piano.errore.isEmpty())
        righe << m_piano.errore;
    lblConteggio->setText(righe.join(QLatin1Char('\n')));

    lstErrori->clear();
    QStringList errori;
    for (qsizetype i = 0; i < m_piano.errori.size() && i < ErroriMostrati; ++i)
        errori << QStringLiteral("Riga %1: %2").arg(m_piano.errori[i].numero).arg(m_piano.errori[i].motivo);
    if (nonLeggibili > ErroriMostrati)
        errori << QStringLiteral("\u2026 e altre %1 righe non leggibili").arg(nonLeggibili - ErroriMostrati);
    lstErrori->addItems(errori);

    // Each ambiguous line, then the stored components it matches.
    lstAmbigue->clear();
    QStringList ambigue;
    for (qsizetype i = 0; i < m_piano.ambigue.size() && i < ErroriMostrati; ++i) {
        const RigaAmbigua &a = m_piano.ambigue[i];
        ambigue << QStringLiteral("Riga %1: %2 corrisponde a %3 componenti")
                       .arg(a.numero)
                       .arg(a.codice)
                       .arg(a.posizioni.size());
        for (qsizetype k = 0; k < a.posizioni.size() && k < CandidatiMostrati; ++k)
            ambigue << QStringLiteral("    ") + DescriviComponente(m_stato.componente(a.posizioni[k]), true);
        if (a.posizioni.size() > CandidatiMostrati)
            ambigue << QStringLiteral("    \u2026 e altri %1").arg(a.posizioni.size() - CandidatiMostrati);
    }
    if (m_piano.ambigue.size() > ErroriMostrati)
        ambigue << QStringLiteral("\u2026 e altre %1 righe ambigue").arg(m_piano.ambigue.size() - ErroriMostrati);
    lstAmbigue->addItems(ambigue);
    lblAmbigue->setVisible(!ambigue.isEmpty());
    lstAmbigue->setVisible(!ambigue.isEmpty());

    lstNuoveVoci->clear();
    QStringList voci;
    for (const Tipo &t : m_piano.nuoviTipi)
        voci << QStringLiteral("Tipo: ") + t.Nome;
    for (const Produttore &p : m_piano.nuoviProduttori)
        voci << QStringLiteral("Produttore: ") + p.Nome;
    for (const Package &p : m_piano.nuoviPackages)
        voci << QStringLiteral("Package: ") + p.Nome;
    lstNuoveVoci->addItems(voci);

    btnImporta->setEnabled(m_piano.errore.isEmpty() && !m_piano.vuoto());
}

void FrmImporta::importa()
{
    if (!m_piano.errore.isEmpty() || m_piano.vuoto())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool fatto = EseguiImportazione(m_stato, m_piano, m_dialoghi, m_nomeFile);
    QApplication::restoreOverrideCursor();
    // After a failed save the window stays open: nothing was changed, and
    // the user may try again or cancel.
    if (fatto)
        accept();
}
