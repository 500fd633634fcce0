#pragma once

#include <QLayout>
#include <QList>

// Two widgets side by side, each as high as the row: a main one on the left
// (a list) and a side one on the right (a panel). The side one keeps its
// preferred width as long as the main one keeps at least its minimum; all
// the other width goes to the main one, so a larger window widens only the
// main one. On a window too narrow for both, the side one gives way, down
// to its own minimum (a scroll area then scrolls), before the main one does.
class RigaAffiancata : public QLayout {
public:
    explicit RigaAffiancata(QWidget *genitore = nullptr);
    ~RigaAffiancata() override;

    // The first widget added is the main one, the second the side one.
    void addItem(QLayoutItem *elemento) override;
    int count() const override;
    QLayoutItem *itemAt(int indice) const override;
    QLayoutItem *takeAt(int indice) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override;
    void setGeometry(const QRect &rettangolo) override;

private:
    // Width of the side widget in a row of this inner width (margins off).
    int larghezzaLaterale(int larghezza) const;
    int spazio() const;
    QSize somma(QSize (QLayoutItem::*misura)() const) const;

    QList<QLayoutItem *> m_elementi;
};
