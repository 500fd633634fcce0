#pragma once

#include "distinta/verificadistinta.h"
#include "ui/distinta/apridistinta.h"

#include <QDialog>

class ListaReport;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The check of a bill of materials against the stock: one row per BOM line
// (references, part looked for, pieces per board and for all boards, the
// component matched, its stock, the outcome), the number of boards, the
// pick among several matching components, a summary, the shopping list of
// what is short or missing, and "Preleva", which takes the pieces off the
// stock in one save. The window keeps nothing between runs.
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

private:
    void creaControlli(const QString &percorso, const LetturaDistinta &lettura);
    // Recomputes the outcomes from the stock and redraws the list, keeping
    // the selected row.
    void ricalcola();
    void riempiLista();
    void mostraScelta();
    void sceltaCambiata(int indice);
    QString descriviCandidato(qint32 posizione) const;

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    AccessoDistinta m_accesso;
    VerificaDistinta m_verifica;
    bool m_prelevato = false;

    QLabel *m_lblFile = nullptr;
    QSpinBox *m_spnSchede = nullptr;
    ListaReport *m_lvd = nullptr;
    QLabel *m_lblScelta = nullptr;
    QComboBox *m_cmbScelta = nullptr;
    QLabel *m_lblRiepilogo = nullptr;
    QLabel *m_lblStato = nullptr;
    QPushButton *m_btnMancanti = nullptr;
    QPushButton *m_btnPreleva = nullptr;
    QPushButton *m_btnChiudi = nullptr;
};
