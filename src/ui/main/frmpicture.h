#pragma once

#include <QPoint>
#include <QWidget>

class RiquadroImmagine;

// The picture window: one picture at its natural size, closed by a click on
// it (or any other way of closing a window). It deletes itself when closed.
class FrmPicture : public QWidget {
    Q_OBJECT
public:
    explicit FrmPicture(QWidget *principale);

    // Loads the picture file that the stored name leads to inside the folder
    // and shows the window with its outer top-left corner at angolo, sized to
    // the picture plus a 16 x 40 pixel border; called again, it shows the new
    // picture at the new size. Returns false, changing nothing, when the name
    // leads outside the folder or to no picture that can be read.
    bool DimensionaImmagine(const QString &cartella, const QString &nome, const QPoint &angolo);

signals:
    void chiusa();

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    RiquadroImmagine *imm;
};
