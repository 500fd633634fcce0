#pragma once

#include <QWidget>

// A container that asks its layout for at least a preferred size, while its
// minimum stays what its contents need: a window built from it opens at the
// preferred size where the screen has room and can still be made smaller.
class MisuraPreferita : public QWidget {
public:
    MisuraPreferita(const QSize &preferita, QWidget *genitore = nullptr)
        : QWidget(genitore), m_preferita(preferita)
    {
    }
    QSize sizeHint() const override { return QWidget::sizeHint().expandedTo(m_preferita); }
    // A wider wish (a list whose columns grew); never narrower than at first.
    void allargaA(int larghezza)
    {
        if (larghezza > m_preferita.width()) {
            m_preferita.setWidth(larghezza);
            updateGeometry();
        }
    }

private:
    QSize m_preferita;
};

#include <QScrollArea>

// A scroll area that asks for the whole size of what it shows (a plain
// QScrollArea caps its wish at a few dozen lines), so that it scrolls only
// when the window is really smaller than its contents.
class AreaScorrevole : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        if (!widget())
            return QScrollArea::sizeHint();
        const int f = 2 * frameWidth();
        return widget()->sizeHint() + QSize(f, f);
    }
};
