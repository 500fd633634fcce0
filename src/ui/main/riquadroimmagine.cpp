#include "ui/main/riquadroimmagine.h"

#include <QMouseEvent>

RiquadroImmagine::RiquadroImmagine(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Keyboard focus can rest on the box (the picture buttons move it here).
    setFocusPolicy(Qt::ClickFocus);
}

void RiquadroImmagine::mouseReleaseEvent(QMouseEvent *evento)
{
    QLabel::mouseReleaseEvent(evento);
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()))
        emit cliccato();
}

void RiquadroImmagine::mouseDoubleClickEvent(QMouseEvent *evento)
{
    QLabel::mouseDoubleClickEvent(evento);
    if (evento->button() == Qt::LeftButton)
        emit doppioClic();
}
