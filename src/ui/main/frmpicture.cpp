#include "ui/main/frmpicture.h"

#include "store/statofinestra.h"
#include "ui/main/riquadroimmagine.h"
#include "ui/widgets/immagineincartella.h"

#include <QCloseEvent>
#include <QPixmap>
#include <QGuiApplication>
#include <QScreen>

FrmPicture::FrmPicture(QWidget *principale) : QWidget(principale, Qt::Window)
{
    setObjectName(QStringLiteral("frmPicture"));
    setWindowTitle(QStringLiteral(" >>> Click to close <<<"));
    setAttribute(Qt::WA_DeleteOnClose);
    imm = new RiquadroImmagine(this);
    imm->setObjectName(QStringLiteral("imm"));
    imm->setCursor(Qt::PointingHandCursor);
    connect(imm, &RiquadroImmagine::cliccato, this, &QWidget::close);
}

bool FrmPicture::DimensionaImmagine(const QString &cartella, const QString &nome, const QPoint &angolo)
{
    QImage immagine = CaricaImmagine(cartella, nome);
    if (immagine.isNull())
        return false;
    // A picture larger than the screen's work area is shown scaled down to
    // fit it, whole, with its frame and title bar.
    const QScreen *schermo = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (schermo) {
        const QSize spazio = schermo->availableGeometry().size() - QSize(16, 40);
        if (spazio.isValid() && (immagine.width() > spazio.width() || immagine.height() > spazio.height()))
            immagine = immagine.scaled(spazio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    const int w = immagine.width();
    const int h = immagine.height();
    imm->setPixmap(QPixmap::fromImage(immagine));
    imm->setGeometry(4, 4, w, h);

    // The size is given for the outer frame; the client area is what is left
    // inside the frame the window manager draws (none under offscreen).
    const QSize esterno(w + 16, h + 40);
    resize(esterno);
    move(angolo);
    show();
    const QRect cornice = frameGeometry();
    const QRect interno = geometry();
    const int dw = cornice.width() - interno.width();
    const int dh = cornice.height() - interno.height();
    if (dw > 0 || dh > 0)
        resize(esterno.width() - dw, esterno.height() - dh);
    // Where asked, unless that would put part of it off the screen.
    QRect posto(angolo, frameGeometry().size());
    if (schermo)
        posto = GeometriaSuSchermo(posto, {schermo->availableGeometry()});
    move(posto.topLeft());
    return true;
}

void FrmPicture::closeEvent(QCloseEvent *evento)
{
    emit chiusa();
    evento->accept();
}
