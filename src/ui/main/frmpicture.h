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

    // Loads the picture file and shows the window with its outer top-left
    // corner at angolo, sized to the picture plus a 16 x 40 pixel border.
    // Returns false, without showing anything, when the file is not a
    // picture that can be read.
    bool DimensionaImmagine(const QString &percorso, const QPoint &angolo);

signals:
    void chiusa();

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    RiquadroImmagine *imm;
};
