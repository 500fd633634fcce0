#pragma once

#include "movimenti/pezzi.h"

#include <QDialog>

struct Stato;
class Dialoghi;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Aggiungi pezzi" and "Preleva pezzi": the component, its stock, how many
// pieces (spnPezzi) and a note for the history (txNotaPezzi). "Conferma"
// (btnConfermaPezzi, also Enter) changes the quantity and saves at once,
// with one line in the history; "Annulla" (btnAnnullaPezzi, also Esc)
// changes nothing. Adding never takes the quantity beyond what 32 bits
// hold; taking more than the stock holds asks whether to take all there is.
class FrmPezzi : public QDialog {
    Q_OBJECT
public:
    FrmPezzi(Stato &stato, Dialoghi &dialoghi, qint32 posizione, VersoPezzi verso, QWidget *parent = nullptr);
    ~FrmPezzi() override;

    // The command of btnConfermaPezzi: closes the window (accepted) once
    // the new quantity is saved; otherwise it stays open.
    void Conferma();

    // The pieces really moved by the last confirmation.
    qint64 pezziMossi() const { return m_mossi; }
    // A save was tried and failed.
    bool salvataggioFallito() const { return m_fallito; }

private:
    void aggiornaAnteprima();

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    qint32 m_posizione;
    VersoPezzi m_verso;
    qint64 m_mossi = 0;
    bool m_fallito = false;

    QLabel *m_lblComponente = nullptr;
    QSpinBox *m_spnPezzi = nullptr;
    QLineEdit *m_txNota = nullptr;
    QLabel *m_lblDopo = nullptr;
    QPushButton *m_btnConferma = nullptr;
    QPushButton *m_btnAnnulla = nullptr;
};
