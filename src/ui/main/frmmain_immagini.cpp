// Showing a stored component in the detail panel, drawing pictures into the
// picture box in the two picture modes, the picture window, the picture and
// datasheet association controls and opening a datasheet.

#include "ui/main/frmmain.h"

#include "store/copiaincartella.h"
#include "store/dialoghi.h"
#include "store/fileincartella.h"
#include "store/localeutente.h"
#include "store/ricerche.h"
#include "store/stato.h"
#include "ui/main/apripdf.h"
#include "ui/main/frmpicture.h"
#include "ui/main/listafile.h"
#include "ui/main/riquadroimmagine.h"
#include "ui/widgets/immagineincartella.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

namespace {

const QString TestoImmagineGrande =
    QStringLiteral("Doppio click per aprire l'immagine in una finestra dedicata");
const QString FiltroPDF = QStringLiteral("File Acrobat|*.pdf");
const QString TitoloDialogo = QStringLiteral("Apri");

// A file whose name holds a double quote cannot be recorded: the table
// files would store it as a single quote, which names no file.
bool rifiutaVirgolette(Dialoghi &dialoghi, const QString &nome)
{
    if (NomeConservabile(nome))
        return false;
    dialoghi.messaggio(AvvisoVirgoletteNelNome, Icona::Esclamazione, Pulsanti::Ok);
    return true;
}

// The first entry of the list whose text equals the value, 0-based; 0 when
// the list is empty or nothing matches (a match at 0 looks the same).
int IndiceVoceLista(const QListWidget *lista, const QString &valore)
{
    for (int i = 0; i < lista->count(); ++i) {
        if (lista->item(i)->text() == valore)
            return i;
    }
    return 0;
}

} // namespace

QString FrmMain::percorsoSfondo() const
{
    return m_stato.percorsi.CartellaRisorse + QStringLiteral("back.jpg");
}

void FrmMain::mostraHintImmagine(bool grande)
{
    QPalette p = lblRedimPic->palette();
    p.setColor(QPalette::Window, grande ? QColor(0, 128, 0) : QColor(128, 128, 128));
    lblRedimPic->setPalette(p);
    lblRedimPic->setText(grande ? TestoImmagineGrande : QString());
}

void FrmMain::MostraComponente()
{
    if (v.PosCorrente < 1 || v.PosCorrente > m_stato.NumComponenti)
        return;
    const Componente c = m_stato.componente(v.PosCorrente);
    const Percorsi &percorsi = m_stato.percorsi;

    // The type's name from the table when its ID is found there; otherwise
    // the name the component keeps (a type typed by hand has ID 0), so that
    // showing and saving again never empties it.
    const qint32 posTipo = c.IDTipo > 0 ? PosTipoDaID(m_stato, c.IDTipo) : 0;
    cmbTipo->setEditText(posTipo > 0 ? m_stato.tipo(posTipo).Nome : c.NomeTipo);

    // The pin count is shown whether or not the component has a package (or
    // one still in the table). It belongs to the component, not to the
    // package, and the box is what a save stores: emptying it for a component
    // with no package would silently set its pins to 0 at the next edit.
    const QString pins = QString::number(c.Pins);
    if (c.IDPackage > 0) {
        if (const qint32 p = PosPackageDaID(m_stato, c.IDPackage); p > 0) {
            const Package &pack = m_stato.package(p);
            cmbPack->setEditText(pack.Nome);
            txPins->setText(pins);
            const QImage immaginePack = CaricaImmagine(percorsi.CartellaPackages, pack.Immagine);
            if (!immaginePack.isNull())
                imgPack->setPixmap(QPixmap::fromImage(immaginePack));
            txPackDesc->setText(pack.Descrizione);
            txPackDesc->setCursorPosition(0); // a long description shows from its start
        } else if (c.Pins != 0) {
            txPins->setText(pins);
        }
    } else {
        cmbPack->setEditText(QString());
        txPins->setText(c.Pins != 0 ? pins : QString());
        txPackDesc->clear();
        imgPack->clear();
    }

    txCodice->setText(c.Codice);
    txQty->setText(QString::number(c.Quantita));
    txNote->setText(c.Note);

    // A manufacturer is looked for by name. Components keep a copy of the
    // name as it was when they were saved, and renaming a manufacturer in the
    // tables does not touch it: selecting the first entry instead would move
    // the component to another manufacturer at its next save. So one renamed
    // since is found by its ID, which never changes. One that is not in the
    // list at all is not replaced by another: nothing is selected.
    int indice = IndiceVoceLista(LP, c.NomeProduttore);
    if (LP->count() == 0 || LP->item(indice)->text() != c.NomeProduttore) {
        indice = -1;
        for (int i = 0; i < LP->count() && c.IDProduttore > 0; ++i) {
            if (LP->item(i)->data(Qt::UserRole).toInt() == c.IDProduttore) {
                indice = i;
                break;
            }
        }
    }
    if (indice >= 0) {
        LP->setCurrentRow(indice);
        LP->scrollToItem(LP->item(indice));
        v.ProduttoreFuoriLista.clear();
    } else {
        LP->setCurrentRow(-1);
        LP->clearSelection();
        v.ProduttoreFuoriLista = c.NomeProduttore;
    }

    txDesc->setText(c.Descrizione);
    txPDF->setText(c.Datasheet);
    txPic->setText(c.Immagine);
    txDatains->setText(c.DataInserimento.isValid() ? DataBreve(c.DataInserimento.date()) : QString());
    const QString extra[6] = {c.Extra1, c.Extra2, c.Extra3, c.Extra4, c.Extra5, c.Extra6};
    for (int i = 1; i <= 6; ++i)
        txExtra[i]->setText(extra[i - 1]);

    if (!c.Immagine.isEmpty()) {
        MostraImmagine(percorsi.CartellaPics + c.Immagine);
        btnClearJPG->setEnabled(true);
    } else {
        MostraImmagine(percorsoSfondo());
    }
    if (!c.Datasheet.isEmpty())
        btnClearPDF->setEnabled(true);
    // "PDF" opens the datasheet of the component shown, whichever way it
    // came to be shown (a click on the list, a save, a search).
    bottone(QStringLiteral("pdf"))->setEnabled(!c.Datasheet.isEmpty());
    m_componenteMostrato = true;
    aggiornaVociPezzi();
}

// percorso is the picture folder followed by a stored name, or the
// placeholder's path. The name is resolved inside the picture folder: one
// leading outside it, or to anything but a regular file, shows nothing.
void FrmMain::MostraImmagine(const QString &percorso)
{
    mostraHintImmagine(false);
    pic->clear();
    const Percorsi &percorsi = m_stato.percorsi;
    const bool sfondo = percorso == percorsoSfondo();
    if (!sfondo && !percorso.startsWith(percorsi.CartellaPics))
        return;
    const QString cartella = percorsi.CartellaPics;
    const QString nomeSalvato = percorso.mid(cartella.size());
    if (!sfondo && !RisolviNome(cartella, nomeSalvato).regolare())
        return;

    const int L = v.LarghezzaPic > 0 ? v.LarghezzaPic : pic->contentsRect().width();
    const int A = v.AltezzaPic > 0 ? v.AltezzaPic : pic->contentsRect().height();
    QPixmap tela(L, A);
    tela.fill(pic->palette().color(QPalette::Window));
    QPainter pittore(&tela);

    const qsizetype barra = std::max(percorso.lastIndexOf(QLatin1Char('/')),
                                     percorso.lastIndexOf(QLatin1Char('\\')));
    const QString nome = percorso.mid(barra + 1);
    if (nome == QLatin1String("back.jpg")) {
        // The placeholder always comes from the program folder.
        const QImage segnaposto = CaricaImmagineProgramma(percorsoSfondo());
        if (segnaposto.isNull())
            return;
        pittore.drawImage(QPoint(0, 0), segnaposto);
        pittore.end();
        pic->setPixmap(tela);
        return;
    }

    const QImage immagine = CaricaImmagine(cartella, nomeSalvato);
    if (immagine.isNull())
        return; // not a picture that can be read: the box stays empty
    const int w = immagine.width();
    const int h = immagine.height();
    const bool grande = w > L || h > A;

    if (!m_stato.ImmaginiReali) {
        // Fitted: the whole picture scaled into the whole box, each axis on
        // its own.
        pittore.setRenderHint(QPainter::SmoothPixmapTransform);
        pittore.drawImage(QRect(0, 0, L, A), immagine);
    } else if (!grande) {
        pittore.drawImage(QPoint(0, 0), immagine);
    } else {
        // Real size: the top-left part that fits, the rest cut off.
        pittore.drawImage(QPoint(0, 0), immagine, QRect(0, 0, std::min(w, L), std::min(h, A)));
    }
    pittore.end();
    pic->setPixmap(tela);
    if (grande)
        mostraHintImmagine(true);
}

void FrmMain::pic_DblClick()
{
    if (v.PosCorrente < 1 || v.PosCorrente > m_stato.NumComponenti)
        return;
    const QString immagine = m_stato.componente(v.PosCorrente).Immagine;
    const QPoint angolo = frameGeometry().topLeft() + QPoint(4, 98);
    if (v.ImmagineAperta && m_finestraImmagine) {
        // Open already, with this handler waiting for it further up: it shows
        // the picture of the component shown now, at that picture's size,
        // and goes away when that component has none to show.
        if (m_finestraImmagine->DimensionaImmagine(FLP->cartella(), immagine, angolo)) {
            m_finestraImmagine->raise();
            m_finestraImmagine->activateWindow();
        } else {
            m_finestraImmagine->close();
        }
        return;
    }

    auto *finestra = new FrmPicture(this);
    if (!finestra->DimensionaImmagine(FLP->cartella(), immagine, angolo)) {
        delete finestra;
        return;
    }
    m_finestraImmagine = finestra;
    v.ImmagineAperta = true;

    // Wait, serving events, until the picture window goes away, however it
    // is closed.
    QEventLoop attesa;
    auto fine = [this, &attesa] {
        v.ImmagineAperta = false;
        attesa.quit();
    };
    connect(finestra, &FrmPicture::chiusa, &attesa, fine);
    connect(finestra, &QObject::destroyed, &attesa, fine);
    if (v.ImmagineAperta)
        attesa.exec();
    v.ImmagineAperta = false;
}

void FrmMain::FLP_Click()
{
    v.ImmagineScelta = FLP->nomeSelezionato();
    MostraMessaggio(Messaggi[7]);
    if (!v.ImmagineScelta.isEmpty()) {
        MostraImmagine(m_stato.percorsi.CartellaPics + v.ImmagineScelta);
        btnAddJPG->setEnabled(true);
    }
}

void FrmMain::FLP_DblClick()
{
    v.ImmagineScelta = FLP->nomeSelezionato();
    if (rifiutaVirgolette(m_dialoghi, v.ImmagineScelta))
        return;
    txPic->setText(v.ImmagineScelta);
    MostraImmagine(m_stato.percorsi.CartellaPics + v.ImmagineScelta);
}

// The association buttons act while a component is shown or being entered.
// A component being entered has no position yet when the table was empty, or
// when none was shown before "Nuovo"; it may well want its picture and
// datasheet all the same, and the frame holding these buttons is enabled
// only while editing anyway.

void FrmMain::btnAddJPG_Click()
{
    pic->setFocus();
    if ((v.PosCorrente != 0 || v.NuovoInserimento) && !rifiutaVirgolette(m_dialoghi, v.ImmagineScelta))
        txPic->setText(v.ImmagineScelta);
}

void FrmMain::btnClearJPG_Click()
{
    pic->setFocus();
    if (v.PosCorrente != 0 || v.NuovoInserimento) {
        txPic->clear();
        MostraImmagine(percorsoSfondo());
    }
}

void FrmMain::btnLoadPic_Click()
{
    pic->setFocus();
    if (v.PosCorrente == 0 && !v.NuovoInserimento)
        return;
    const QString cartella = m_stato.percorsi.CartellaPics;
    const QString scelto = m_dialoghi.apriFile(TitoloDialogo, cartella, FiltroImmagini());
    // A picture from another folder is copied into Pics first, or not taken.
    const std::optional<QString> nome = PortaNellaCartella(m_dialoghi, scelto, cartella, QStringLiteral("Pics"));
    if (!nome)
        return;
    FLP->ricarica();
    txPic->setText(*nome);
    MostraImmagine(cartella + *nome);
    btnClearJPG->setEnabled(true);
}

void FrmMain::btnLoadPDF_Click()
{
    pic->setFocus();
    if (v.PosCorrente == 0 && !v.NuovoInserimento)
        return;
    const QString cartella = m_stato.percorsi.CartellaDatasheet;
    const QString scelto = m_dialoghi.apriFile(TitoloDialogo, cartella, FiltroPDF);
    const std::optional<QString> nome =
        PortaNellaCartella(m_dialoghi, scelto, cartella, QStringLiteral("Datasheet"));
    if (!nome)
        return;
    txPDF->setText(*nome);
    btnClearPDF->setEnabled(true);
}

void FrmMain::btnClearPDF_Click()
{
    pic->setFocus();
    if (v.PosCorrente != 0 || v.NuovoInserimento)
        txPDF->clear();
}

void FrmMain::cmbPack_DblClick()
{
    const int indice = cmbPack->findText(cmbPack->currentText(), Qt::MatchExactly);
    if (indice >= 0)
        txPins->setText(QString::number(cmbPack->itemData(indice).toInt()));
}

void FrmMain::ApriDatasheet()
{
    if (v.PosCorrente < 1 || v.PosCorrente > m_stato.NumComponenti)
        return;
    const QString nome = m_stato.componente(v.PosCorrente).Datasheet;
    if (!nome.isEmpty())
        ApriPDF(m_stato, m_dialoghi, nome);
}
