#pragma once

#include "ricevi/sessionericevi.h"

#include <QDialog>

#include <functional>
#include <memory>

class CasellaScansione;
class Dialoghi;
class ListaReport;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// What the receiving window needs of the main window.
struct AccessoRicevi {
    QWidget *finestra = nullptr; // owner of the modal window
    // Before the stock changes: the main window settles what its editor
    // holds (saved or given up); false stops the registration.
    std::function<bool()> primaDiRegistrare;
    // After the registration was saved: the list, counters and marks follow.
    std::function<void(const QString &riepilogo)> dopoRegistrazione;
    // When the save failed: nothing changed, and the main window says so.
    std::function<void()> nonSalvato;
    // The type given to new components last time, proposed again.
    QString tipo;
};

// Receiving an order: each bag's label read by the scanner (or from a
// picture) becomes a row of LVR with its part number, manufacturer, pieces
// and what it comes to against the stock; the selected row's pieces and
// component can be changed, or the row removed; "Registra" adds everything
// in one save and one "Ricevimento" of the history.
class FrmRicevi : public QDialog {
    Q_OBJECT
public:
    FrmRicevi(Stato &stato, Dialoghi &dialoghi, const AccessoRicevi &accesso, QWidget *parent = nullptr);
    ~FrmRicevi() override;

    const SessioneRicevi &sessione() const { return *m_sessione; }
    // The type chosen for new components.
    QString tipo() const;

    // The commands of the buttons.
    void LeggiTesti(const QStringList &testi);
    void LeggiImmagine();
    void RimuoviRiga();
    void Registra();
    void reject() override;

private:
    void creaControlli();
    void riempiLista();
    // The cells of row i (0-based), as many as the list's columns.
    void testiRiga(qsizetype i, QString *testi) const;
    // Row n (1-based) written again, with the marks and the summary.
    void aggiornaRiga(int n);
    void riepiloga();
    void mostraRiga();
    void pezziCambiati(int pezzi);
    void componenteScelto(int indice);
    void seleziona(qsizetype riga);

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    AccessoRicevi m_accesso;
    std::unique_ptr<SessioneRicevi> m_sessione;
    bool m_inAggiornamento = false;

    CasellaScansione *m_txScansione = nullptr;
    QPushButton *m_btnImmagine = nullptr;
    ListaReport *m_lvr = nullptr;
    QLabel *m_lblRiga = nullptr;
    QSpinBox *m_spnPezzi = nullptr;
    QComboBox *m_cmbComponente = nullptr;
    QPushButton *m_btnRimuovi = nullptr;
    QComboBox *m_cmbTipo = nullptr;
    QLabel *m_lblRiepilogo = nullptr;
    QLabel *m_lblStato = nullptr;
    QPushButton *m_btnRegistra = nullptr;
    QPushButton *m_btnAnnulla = nullptr;
};
