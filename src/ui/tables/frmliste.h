#pragma once

#include "ui/tables/apritabelle.h"
#include "ui/tables/usotabelle.h"

#include <QDialog>
#include <QStringList>
#include <array>

class ListaReport;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolBar;

// The tables window: manufacturers, types and packages, each in a list that
// shows how many components use every entry, with a small editor below each
// list to show, add or rename an entry. Built and loaded by the constructor;
// the caller shows it (modally in the program, with show() in tests) and the
// closing steps run whenever it is closed.
class FrmListe : public QDialog {
    Q_OBJECT
public:
    FrmListe(Stato &stato, Dialoghi &dialoghi, const AccessoPrincipale &principale,
             QWidget *parent = nullptr);
    ~FrmListe() override;

    // Lists.
    void RiempiListe();
    void ContaUtilizzi();

    // Editor.
    void SbloccaVoce();
    void PulisciVoce();
    void MostraVoce();
    void SalvaVoce();

    // Window state, read by tests.
    int TabCorrente() const { return m_tabCorrente; }
    qint32 PosVoce() const { return m_posVoce; }
    qint32 IDVoce() const { return m_idVoce; }
    bool InModifica() const { return m_inModifica; }
    bool SoloUsate() const { return m_soloUsate; }
    const UsoTabelle &Usi() const { return m_uso; }

    // The rows prepared for one list, and whether each row's entry is used.
    struct RigheLista {
        QList<QStringList> testi;
        QList<bool> usate;
    };

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
    void done(int esito) override;

private:
    // Construction of the controls.
    void creaControlli();
    QWidget *creaScheda(int tab, ListaReport *&lista, const QString &titoloNome);
    void creaEditorPackage(QWidget *scheda);
    void creaBarra();

    // Window events.
    void Carica();
    void PassiChiusura();
    void cambioScheda(int indice);
    void filtroCambiato(bool spuntato);
    void intestazioneCliccata(ListaReport *lista, int indice);

    // Lists.
    ListaReport *listaScheda(int tab) const;
    void riempiLista(ListaReport *lista, const RigheLista &righe);
    void erroreLettura(const ErroreTabelle &errore);

    // Editor.
    void clicBarra(const QString &chiave);
    void selezioneRiga(int tab);
    void caricaImmagine();
    void mostraImmagine(const QString &nomeFile);
    void abilita(const QString &chiave, bool attivo);
    void coloraCasella(QLineEdit *casella, bool sbloccata);

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    AccessoPrincipale m_principale;

    // Window state, fresh at every opening.
    int m_tabCorrente = 0;
    qint32 m_posVoce = 0;
    qint32 m_idVoce = 0;
    bool m_inModifica = false;
    bool m_caricamento = false;
    bool m_soloUsate = false;
    bool m_chiusa = false;
    UsoTabelle m_uso;

    // Controls.
    QToolBar *m_tbt = nullptr;
    QCheckBox *m_chkExclude = nullptr;
    QTabWidget *m_sst = nullptr;
    QStatusBar *m_sb = nullptr;
    ListaReport *m_lvp = nullptr;
    ListaReport *m_lvt = nullptr;
    ListaReport *m_lvg = nullptr;
    std::array<QLineEdit *, 3> m_txVoce{};
    QLineEdit *m_txDesc = nullptr;
    QLineEdit *m_txImmagine = nullptr;
    QPushButton *m_btnLoadPic = nullptr;
    QLabel *m_imgPack = nullptr;
};

// The fixed hint along the bottom of the window.
inline const QString SuggerimentoTabelle =
    QStringLiteral("Seleziona una lista  e applica l'azione  (nuovo,  modifica,  salva.)");

// Shown in the status bar after a save that could not be written.
inline const QString MessaggioVoceNonSalvata =
    QStringLiteral("Attenzione: i dati NON sono stati salvati, la voce è ancora nel pannello: premi "
                   "[Salva] per riprovare");
