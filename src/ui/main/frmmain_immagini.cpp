// Showing a stored component in the detail panel, drawing pictures into the
// picture box in the two picture modes, the picture window, the picture and
// datasheet association controls and opening a datasheet.

#include "ui/main/frmmain.h"

#include "store/dialoghi.h"
#include "store/localeutente.h"
#include "store/ricerche.h"
#include "store/stato.h"
#include "ui/main/apripdf.h"
#include "ui/main/frmpicture.h"
#include "ui/main/listafile.h"
#include "ui/main/riquadroimmagine.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

namespace {

const QString TestoImmagineGrande =
    QStringLiteral("Doppio click per aprire l'immagine in una finestra dedicata");
const QString FiltroImmagini = QStringLiteral("Images|*.jpg;*.jpeg;*.bmp");
const QString FiltroPDF = QStringLiteral("File Acrobat|*.pdf");
const QString TitoloDialogo = QStringLiteral("Apri");

QImage leggiImmagine(const QString &percorso)
{
    QImageReader lettore(percorso);
    lettore.setAutoTransform(false);
    return lettore.read();
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

    if (c.IDTipo > 0) {
        if (const qint32 p = PosTipoDaID(m_stato, c.IDTipo); p > 0)
            cmbTipo->setEditText(m_stato.tipo(p).Nome);
    }

    // Pins are shown whether or not the package is known, so that editing a
    // component never loses its pin count.
    const QString pins = QString::number(c.Pins);
    if (c.IDPackage > 0) {
        if (const qint32 p = PosPackageDaID(m_stato, c.IDPackage); p > 0) {
            const Package &pack = m_stato.package(p);
            cmbPack->setEditText(pack.Nome);
            txPins->setText(pins);
            const QImage immaginePack = leggiImmagine(percorsi.CartellaPackages + pack.Immagine);
            if (!pack.Immagine.isEmpty() && !immaginePack.isNull())
                imgPack->setPixmap(QPixmap::fromImage(immaginePack));
            txPackDesc->setText(pack.Descrizione);
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

    // A manufacturer is looked for by name; one renamed in the tables since
    // (components keep the old name) is found by its ID. One that is not in
    // the list at all is not replaced by another: nothing is selected, so a
    // later save cannot silently move the component to a wrong manufacturer.
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
    } else {
        LP->setCurrentRow(-1);
        LP->clearSelection();
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
}

void FrmMain::MostraImmagine(const QString &percorso)
{
    mostraHintImmagine(false);
    pic->clear();
    if (!QFileInfo(percorso).isFile())
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
        const QImage sfondo = leggiImmagine(percorsoSfondo());
        if (sfondo.isNull())
            return;
        pittore.drawImage(QPoint(0, 0), sfondo);
        pittore.end();
        pic->setPixmap(tela);
        return;
    }

    const QImage immagine = leggiImmagine(percorso);
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
    if (v.ImmagineAperta && m_finestraImmagine) {
        m_finestraImmagine->raise();
        m_finestraImmagine->activateWindow();
        return;
    }
    const QString immagine = m_stato.componente(v.PosCorrente).Immagine;
    if (immagine.isEmpty())
        return;
    const QString percorso = QDir(FLP->cartella()).filePath(immagine);

    auto *finestra = new FrmPicture(this);
    if (!finestra->DimensionaImmagine(percorso, frameGeometry().topLeft() + QPoint(4, 98))) {
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
    txPic->setText(v.ImmagineScelta);
    MostraImmagine(m_stato.percorsi.CartellaPics + v.ImmagineScelta);
}

// The association buttons act while a component is shown or being entered
// (the very first component of an empty table has no position yet).

void FrmMain::btnAddJPG_Click()
{
    pic->setFocus();
    if (v.PosCorrente != 0 || v.NuovoInserimento)
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
    const QString scelto = m_dialoghi.apriFile(TitoloDialogo, m_stato.percorsi.CartellaPics,
                                               FiltroImmagini);
    const QString nome = scelto.isEmpty() ? QString() : QFileInfo(scelto).fileName();
    if (!nome.isEmpty()) {
        txPic->setText(nome);
        MostraImmagine(m_stato.percorsi.CartellaPics + nome);
    }
}

void FrmMain::btnLoadPDF_Click()
{
    pic->setFocus();
    if (v.PosCorrente == 0 && !v.NuovoInserimento)
        return;
    const QString scelto = m_dialoghi.apriFile(TitoloDialogo, m_stato.percorsi.CartellaDatasheet,
                                               FiltroPDF);
    const QString nome = scelto.isEmpty() ? QString() : QFileInfo(scelto).fileName();
    if (!nome.isEmpty())
        txPDF->setText(nome);
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
