// The entry editor of the tables window: the toolbar, showing a clicked
// entry, adding or renaming one, and the package picture.
#include "ui/tables/frmliste.h"

#include "components/operazioni.h"
#include "store/copiaincartella.h"
#include "store/cp1252.h"
#include "store/dialoghi.h"
#include "store/fileincartella.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/widgets/immagineincartella.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
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
    casella->setText(MaiuscoloCp1252(casella->text()));
    const QString nome = SenzaVirgolette(casella->text());
    const QString descrizione = SenzaVirgolette(m_txDesc->text());
    const QString immagine = SenzaVirgolette(m_txImmagine->text());
    // The files are Windows-1252: a character outside it would come back as
    // "?" at the next start.
    const QStringList testi = m_tabCorrente == 2 ? QStringList{nome, descrizione, immagine}
                                                 : QStringList{nome};
    if (const QString avviso = AvvisoCaratteriNonSalvabili(testi); !avviso.isEmpty()) {
        m_dialoghi.messaggio(avviso, Icona::Critica, Pulsanti::Ok);
        return;
    }

    Stato &s = m_stato;
    // The three tables as they were, so that a save that cannot be written
    // leaves memory as the files are (the components are not touched here).
    const auto tipi = s.Tipi;
    const auto produttori = s.Produttori;
    const auto packages = s.Packages;
    const std::array<qint32, 6> contatori{s.NumTipi, s.NumProduttori, s.NumPackages,
                                          s.ProssimoIDTipo, s.ProssimoIDProduttore, s.ProssimoIDPackage};
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

    // A failed write reports itself; memory goes back to what the files
    // hold and the editor keeps what was typed, so "Salva" can try again.
    if (!SalvaDatabase(m_stato, m_dialoghi)) {
        s.Tipi = tipi;
        s.Produttori = produttori;
        s.Packages = packages;
        s.NumTipi = contatori[0];
        s.NumProduttori = contatori[1];
        s.NumPackages = contatori[2];
        s.ProssimoIDTipo = contatori[3];
        s.ProssimoIDProduttore = contatori[4];
        s.ProssimoIDPackage = contatori[5];
        m_sb->showMessage(MessaggioVoceNonSalvata);
        abilita(QStringLiteral("save"), true);
        abilita(QStringLiteral("undo"), true);
        return;
    }
    m_sb->clearMessage();
    RiempiListe();
    m_stato.TabelleModificate = true;
    PulisciVoce();
}

void FrmListe::caricaImmagine()
{
    m_txVoce[m_tabCorrente]->setFocus();
    const QString cartella = m_stato.percorsi.CartellaPackages;
    const QString scelto = m_dialoghi.apriFile(QStringLiteral("Ricerca immagine"), cartella, FiltroImmagini());
    // A picture from another folder is copied into Packages first, or not
    // taken; a name holding a double quote is refused with a message.
    const std::optional<QString> nome =
        PortaNellaCartella(m_dialoghi, scelto, cartella, QStringLiteral("Packages"));
    if (!nome)
        return;
    m_txImmagine->setText(*nome);
    mostraImmagine(*nome);
}

// Shows a picture of the package folder fitted into imgPack, keeping its
// proportions; a missing or unreadable file, or a name leading outside the
// folder or to anything but a regular file, shows nothing.
void FrmListe::mostraImmagine(const QString &nomeFile)
{
    const QImage immagine = CaricaImmagine(m_stato.percorsi.CartellaPackages, nomeFile, true);
    if (immagine.isNull()) {
        m_imgPack->clear();
        return;
    }
    const QSize spazio = m_imgPack->contentsRect().size();
    m_imgPack->setPixmap(QPixmap::fromImage(
        immagine.scaled(spazio, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
