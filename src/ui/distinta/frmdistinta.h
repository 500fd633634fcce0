#pragma once

#include "distinta/verificadistinta.h"
#include "ui/distinta/apridistinta.h"

#include <QDialog>

#include <memory>

class ListaReport;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class RicercaComponenti;

// The check of a bill of materials against the stock: one row per BOM line
// (references, part looked for, pieces per board and for all boards, the
// component matched, its stock, the outcome), the number of boards, the
// pick among several matching components, a summary, the shopping list of
// what is short or missing, and "Preleva", which takes the pieces off the
// stock in one save. Lines short of pieces are marked in the colours of the
// main list's components under stock. Any line can be linked by hand to a
// component found by code or description (txCollega, LVCollega,
// btnCollega; btnScollega removes the link): links are saved at once in
// Collegamenti.csv and used by every later check. Nothing else is kept
// between runs.
class FrmDistinta : public QDialog {
    Q_OBJECT
public:
    FrmDistinta(Stato &stato, Dialoghi &dialoghi, const AccessoDistinta &accesso, const QString &percorso,
                const LetturaDistinta &lettura, QWidget *parent = nullptr);
    ~FrmDistinta() override;

    const VerificaDistinta &verifica() const { return m_verifica; }

    // The commands of the buttons.
    void EsportaMancanti();
    void Preleva();
    void Collega();
    void Scollega();

private:
    void creaControlli(const QString &percorso, const LetturaDistinta &lettura);
    // Recomputes the outcomes from the stock and redraws the list, keeping
    // the selected row.
    void ricalcola();
    void riempiLista();
    void mostraScelta();
    void sceltaCambiata(int indice);
    // The search of the components to link to, from the text typed.
    void cercaCollega();
    // The link controls for the selected line and found component.
    void mostraCollega();

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    AccessoDistinta m_accesso;
    QString m_erroreCollegamenti; // why Collegamenti.csv could not be read
    VerificaDistinta m_verifica;
    bool m_prelevato = false;
    QString m_nomeFile; // the BOM file's name, for the history
    // Built at the first search, dropped when the stock may have changed.
    std::unique_ptr<RicercaComponenti> m_ricerca;
    QList<qint32> m_trovati; // positions of the rows of LVCollega

    QLabel *m_lblFile = nullptr;
    QSpinBox *m_spnSchede = nullptr;
    ListaReport *m_lvd = nullptr;
    QLabel *m_lblScelta = nullptr;
    QComboBox *m_cmbScelta = nullptr;
    QLabel *m_lblRiepilogo = nullptr;
    QLabel *m_lblStato = nullptr;
    QLabel *m_lblCollega = nullptr;
    QLineEdit *m_txCollega = nullptr;
    ListaReport *m_lvCollega = nullptr;
    QLabel *m_lblTrovati = nullptr;
    QPushButton *m_btnCollega = nullptr;
    QPushButton *m_btnScollega = nullptr;
    QPushButton *m_btnMancanti = nullptr;
    QPushButton *m_btnPreleva = nullptr;
    QPushButton *m_btnChiudi = nullptr;
};
