#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>
#include <array>

struct Stato;
class Dialoghi;
class QLabel;
class QLineEdit;
class QPushButton;

// The window that edits the six captions of the custom fields (Etichette).
// "Fatto" stores the boxes into the state, "Annulla" puts back the labels the
// window found when it opened; any other way of closing leaves them alone.
// A label holding a character that Info.ini (Windows-1252) cannot keep is
// refused on "Fatto" with the editor's message: nothing is stored and the
// window stays open on that box.
class FrmCustom : public QDialog {
    Q_OBJECT
public:
    // Longest label the boxes accept while typing.
    static constexpr int LunghezzaMassima = 20;

    // posizione: where the window's outer top-left corner goes.
    FrmCustom(Stato &stato, Dialoghi &dialoghi, const QPoint &posizione, QWidget *parent = nullptr);

    // Fills the boxes from Etichette and keeps a copy of the labels.
    void RiempiCampi();

    // The box of label i (1 to 6).
    QLineEdit *txEtichetta(int i) const { return m_caselle[i]; }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
    void showEvent(QShowEvent *evento) override;

private:
    void applicaRegolaLunghezza(int i);
    void coloraSfondo(QLineEdit *casella, const QColor &colore);
    void fatto();
    void annulla();

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    std::array<QString, 7> m_etichetteIniziali; // EtichetteIniziali, indices 1 to 6
    std::array<QLineEdit *, 7> m_caselle{};      // txEtichetta(1) to txEtichetta(6)
    QPushButton *m_btnDone = nullptr;
    QPushButton *m_btnUndo = nullptr;
};
