// The entry editor of the tables window: the toolbar, showing a clicked
// entry, adding or renaming one, and the package picture.
#include "ui/tables/frmliste.h"

#include "components/operazioni.h"
#include "store/dialoghi.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QToolBar>

namespace {

const QColor ColoreSbloccata(0xCC, 0xFF, 0xAA);
const QColor ColoreBloccata(0xEE, 0xEE, 0xEE);

// The table files keep texts between double quotes with no escape, so a
// double quote inside a text would split its field: it is stored as a
// single quote.
QString SenzaVirgolette(QString testo)
{
    return testo.replace(QLatin1Char('"'), QLatin1Char('\''));
}

} // namespace

void FrmListe::abilita(const QString &chiave, bool attivo)
{
    if (QAction *azione = m_tbt->findChild<QAction *>(chiave))
        azione->setEnabled(attivo);
}

void FrmListe::coloraCasella(QLineEdit *casella, bool sbloccata)
{
    QPalette tavolozza = casella->palette();
    tavolozza.setColor(QPalette::All, QPalette::Base, sbloccata ? ColoreSbloccata : ColoreBloccata);
    // A locked box still shows the entry clicked in the list: keep its text
    // dark enough to read on the grey background.
    tavolozza.setColor(QPalette::Disabled, QPalette::Text, QColor(48, 48, 48));
    // Light backgrounds in either theme, dark text.
    tavolozza.setColor(QPalette::Active, QPalette::Text, Qt::black);
    tavolozza.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
    casella->setPalette(tavolozza);
    casella->setEnabled(sbloccata);
}

void FrmListe::clicBarra(const QString &chiave)
{
    for (const char *c : {"new", "edit", "undo", "save"})
        abilita(QLatin1String(c), false);
    if (chiave == QLatin1String("new") || chiave == QLatin1String("edit")) {
        abilita(QStringLiteral("quit"), false);
        abilita(QStringLiteral("undo"), true);
        abilita(QStringLiteral("save"), true);
        m_inModifica = chiave == QLatin1String("edit");
        SbloccaVoce();
    } else if (chiave == QLatin1String("save")) {
        SalvaVoce();
    } else if (chiave == QLatin1String("undo")) {
        PulisciVoce();
    } else if (chiave == QLatin1String("quit")) {
        close();
    }
}

void FrmListe::SbloccaVoce()
{
    QLineEdit *nome = m_txVoce[m_tabCorrente];
    coloraCasella(nome, true);
    if (m_tabCorrente == 2) {
        coloraCasella(m_txDesc, true);
        coloraCasella(m_txImmagine, true);
        m_btnLoadPic->setEnabled(true);
    }
    nome->setFocus();
    nome->setSelection(0, qMin<qsizetype>(99, nome->text().size()));
}

void FrmListe::PulisciVoce()
{
    m_inModifica = false;
    for (QLineEdit *casella : {m_txVoce[m_tabCorrente], m_txDesc, m_txImmagine}) {
        casella->clear();
        coloraCasella(casella, false);
    }
    m_btnLoadPic->setEnabled(false);
    m_imgPack->clear();
    abilita(QStringLiteral("new"), true);
    abilita(QStringLiteral("undo"), false);
    abilita(QStringLiteral("save"), false);
    abilita(QStringLiteral("edit"), false);
    abilita(QStringLiteral("quit"), true);
}

void FrmListe::MostraVoce()
{
    switch (m_tabCorrente) {
    case 0:
        m_txVoce[0]->setText(m_stato.produttore(m_posVoce).Nome);
        break;
    case 1:
        m_txVoce[1]->setText(m_stato.tipo(m_posVoce).Nome);
        break;
    case 2: {
        const Package &p = m_stato.package(m_posVoce);
        m_txVoce[2]->setText(p.Nome);
        m_txDesc->setText(p.Descrizione);
        m_txImmagine->setText(p.Immagine);
        if (p.Immagine.isEmpty())
            m_imgPack->clear();
        else
            mostraImmagine(p.Immagine);
        break;
    }
    }
}

void FrmListe::selezioneRiga(int tab)
{
    // A click can only reach the list of the tab on show.
    if (tab != m_tabCorrente)
        return;
    ListaReport *lista = listaScheda(tab);
    m_txVoce[tab]->clear();
    m_txImmagine->clear();
    m_txDesc->clear();
    if (lista->numeroRighe() < 1)
        return;
    // With rows but none selected there is nothing to show either.
    const int riga = lista->rigaSelezionata();
    if (riga < 1)
        return;
    m_idVoce = lista->testo(riga, 3).toInt();
    m_posVoce = tab == 0   ? TrovaProduttoreDaID(m_stato, m_idVoce)
                : tab == 1 ? TrovaTipoDaID(m_stato, m_idVoce)
                           : IndicePackageDaID(m_stato, m_idVoce);
    if (m_posVoce < 1)
        return;
    MostraVoce();
    abilita(QStringLiteral("edit"), true);
    abilita(QStringLiteral("quit"), true);
    abilita(QStringLiteral("save"), false);
}

void FrmListe::SalvaVoce()
{
    QLineEdit *casella = m_txVoce[m_tabCorrente];
    if (casella->text().isEmpty())
        return;
    casella->setText(casella->text().toUpper());
    const QString nome = SenzaVirgolette(casella->text());
    const QString descrizione = SenzaVirgolette(m_txDesc->text());
    const QString immagine = SenzaVirgolette(m_txImmagine->text());

    Stato &s = m_stato;
    if (!m_inModifica) {
        const QString avviso = m_tabCorrente == 0
            ? AvvisoIDEsauriti(s.ProssimoIDProduttore, QStringLiteral("Prossimo ID Produttori"))
            : m_tabCorrente == 1 ? AvvisoIDEsauriti(s.ProssimoIDTipo, QStringLiteral("Prossimo ID Tipi"))
                                 : AvvisoIDEsauriti(s.ProssimoIDPackage, QStringLiteral("Prossimo ID Package"));
        if (!avviso.isEmpty()) {
            m_dialoghi.messaggio(avviso, Icona::Critica, Pulsanti::Ok);
            return;
        }
    }
    const auto valida = [this](qint32 conteggio) { return m_posVoce >= 1 && m_posVoce <= conteggio; };
    switch (m_tabCorrente) {
    case 0:
        if (m_inModifica) {
            if (!valida(s.NumProduttori))
                return;
            s.produttore(m_posVoce).Nome = nome;
        } else {
            s.Produttori.resize(s.NumProduttori);
            s.Produttori.append({s.ProssimoIDProduttore, nome});
            ++s.NumProduttori;
            ++s.ProssimoIDProduttore;
        }
        break;
    case 1:
        if (m_inModifica) {
            if (!valida(s.NumTipi))
                return;
            s.tipo(m_posVoce).Nome = nome;
        } else {
            s.Tipi.resize(s.NumTipi);
            s.Tipi.append({s.ProssimoIDTipo, nome});
            ++s.NumTipi;
            ++s.ProssimoIDTipo;
        }
        break;
    case 2:
        if (m_inModifica) {
            if (!valida(s.NumPackages))
                return;
            Package &p = s.package(m_posVoce);
            p.Nome = nome;
            p.Descrizione = descrizione;
            p.Immagine = immagine;
        } else {
            s.Packages.resize(s.NumPackages);
            s.Packages.append({s.ProssimoIDPackage, nome, descrizione, immagine});
            ++s.NumPackages;
            ++s.ProssimoIDPackage;
        }
        break;
    }

    // A failed write reports itself; what changed in memory stays and the
    // lists show it.
    SalvaDatabase(m_stato, m_dialoghi);
    RiempiListe();
    m_stato.TabelleModificate = true;
    PulisciVoce();
}

void FrmListe::caricaImmagine()
{
    m_txVoce[m_tabCorrente]->setFocus();
    const QString scelto = m_dialoghi.apriFile(QStringLiteral("Ricerca immagine"),
                                               m_stato.percorsi.CartellaPackages,
                                               QStringLiteral("Images|*.jpg;*.jpeg;*.bmp"));
    const QString nome = scelto.isEmpty() ? QString() : QFileInfo(scelto).fileName();
    if (nome.isEmpty())
        return;
    m_txImmagine->setText(nome);
    mostraImmagine(nome);
}

// Shows a picture of the package folder fitted into imgPack, keeping its
// proportions; a missing or unreadable file shows nothing.
void FrmListe::mostraImmagine(const QString &nomeFile)
{
    QImageReader lettore(m_stato.percorsi.CartellaPackages + nomeFile);
    lettore.setAutoTransform(true);
    const QImage immagine = lettore.read();
    if (immagine.isNull()) {
        m_imgPack->clear();
        return;
    }
    const QSize spazio = m_imgPack->contentsRect().size();
    m_imgPack->setPixmap(QPixmap::fromImage(
        immagine.scaled(spazio, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
