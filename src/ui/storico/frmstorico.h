#pragma once

#include <QDialog>

#include <functional>
#include <memory>

struct Stato;
class Dialoghi;
class IndiceMovimenti;
class ModelloStorico;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTableView;

// What the history window needs of the main window, given when it opens.
struct AccessoStorico {
    QWidget *finestra = nullptr; // owner of the modal window
    // The component the main window shows (ID 0: none), for "only this
    // component".
    qint32 idComponente = 0;
    QString codiceComponente;
    // Called before an undo changes the stock: the main window settles what
    // its editor holds (saved or given up); false stops the undo.
    std::function<bool()> primaDiAnnullare;
    // Called once an undo is saved, with the number of the operation undone
    // and of the undo: the main list, its counters and marks follow.
    std::function<void(qint64 annullata, qint64 annullamento)> dopoAnnullamento;
    // Called when the save of an undo failed: memory is as it was, and the
    // main window says that nothing was saved.
    std::function<void()> annullamentoNonSalvato;
};

// "Storico movimenti": the lines of the stock history, newest first, with
// the date and time, code, quantity before and after, difference,
// operation, its number, manufacturer, note and details (the tooltip shows
// a line whole). chkSoloComponente narrows the list to the component shown
// in the main window, txFiltroStorico to the lines whose code or operation
// holds a text; btnEsportaStorico writes the lines shown to
// Exported/Movimenti.csv; btnAnnullaOperazione undoes the operation of the
// selected line, as a new operation whose lines come at the top.
class FrmStorico : public QDialog {
    Q_OBJECT
public:
    // indice: the history, already read.
    FrmStorico(Stato &stato, Dialoghi &dialoghi, const AccessoStorico &accesso,
               std::unique_ptr<IndiceMovimenti> indice, QWidget *parent = nullptr);
    ~FrmStorico() override;

    const ModelloStorico &modello() const { return *m_modello; }

    // Narrows the list at once to what the check box and the text ask (the
    // text box waits for a pause in the typing).
    void Filtra();
    // The commands of the buttons.
    void Esporta();
    void AnnullaOperazione();

private:
    void creaControlli();
    void selezioneCambiata();
    // The history line of the selected row, -1 for none.
    qint32 rigaSelezionata() const;
    void selezionaRiga(int riga);

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    AccessoStorico m_accesso;
    std::unique_ptr<IndiceMovimenti> m_indice;
    ModelloStorico *m_modello = nullptr;
    QTimer *m_attesaFiltro = nullptr;

    QCheckBox *m_chkSoloComponente = nullptr;
    QLineEdit *m_txFiltro = nullptr;
    QLabel *m_lblConto = nullptr;
    QTableView *m_lvs = nullptr;
    QLabel *m_lblStato = nullptr;
    QPushButton *m_btnEsporta = nullptr;
    QPushButton *m_btnAnnulla = nullptr;
    QPushButton *m_btnChiudi = nullptr;
};

// Reads the history of the data folder and opens the window modally;
// returns when it has been closed. A history that cannot be read is
// reported in a message box and no window opens.
void ApriFinestraStorico(Stato &stato, Dialoghi &dialoghi, const AccessoStorico &accesso);
