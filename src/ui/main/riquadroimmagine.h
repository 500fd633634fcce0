#pragma once

#include <QLabel>

// A label that shows a picture and reports clicks and double clicks: the
// picture box of the main window and the image of the picture window.
class RiquadroImmagine : public QLabel {
    Q_OBJECT
public:
    explicit RiquadroImmagine(QWidget *parent = nullptr);

signals:
    void cliccato();
    void doppioClic();

protected:
    void mouseReleaseEvent(QMouseEvent *evento) override;
    void mouseDoubleClickEvent(QMouseEvent *evento) override;
};
