#pragma once

#include "ui/etichette/disegnoetichette.h"
#include "ui/widgets/sceltastampante.h"

#include <QDialog>
#include <QList>

struct Stato;
class Dialoghi;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// What the labels window takes from the main window when it opens.
struct AccessoEtichette {
    QList<qint32> lista;  // positions in Componenti of the rows the main list shows, in its order
    qint32 mostrato = 0;  // position of the component shown in the panel; 0 = none
    SceltaStampante sceltaStampante; // the print dialog
};

// "Stampa etichette": which components (cmbQuali: all of them, the list
// shown, only the component shown), the sheet or roll (cmbFormato), the
// first free place on the first sheet (spnInizio), a preview of the first
// page, and the labels written to Stampe/Etichette.pdf (btnPdfEtichette) or
// sent to a printer (btnStampaEtichette).
class FrmEtichette : public QDialog {
    Q_OBJECT
public:
    enum Quali { Tutti = 0, Lista = 1, Mostrato = 2 };

    FrmEtichette(const Stato &stato, Dialoghi &dialoghi, const AccessoEtichette &accesso,
                 QWidget *parent = nullptr);

    // The positions in Componenti of the components chosen, in label order.
    QList<qint32> posizioniScelte() const;
    // The run the window would print now.
    LavoroEtichette lavoro() const;

private:
    void aggiorna();
    void creaPdf();
    void stampa();

    const Stato &m_stato;
    Dialoghi &m_dialoghi;
    AccessoEtichette m_accesso;
    QComboBox *cmbQuali = nullptr, *cmbFormato = nullptr;
    QSpinBox *spnInizio = nullptr;
    QLabel *lblAnteprima = nullptr, *lblConteggio = nullptr, *lblStato = nullptr;
    QPushButton *btnPdfEtichette = nullptr, *btnStampaEtichette = nullptr, *btnChiudi = nullptr;
};

// The file the labels go into: Etichette.pdf in the Stampe folder.
QString PercorsoPdfEtichette(const Stato &stato);

// Message shown when the labels' file cannot be written.
inline const QString TitoloErroreEtichette = QStringLiteral("Etichette non create");
inline const QString TestoErroreEtichette =
    QStringLiteral("Errore nella creazione del file delle etichette\r\n"
                   "Controllare che la cartella Stampe esista e che il file non sia aperto in altro programma");
inline const QString TestoErroreStampante =
    QStringLiteral("La stampante non ha accettato le etichette\r\nControllare la stampante e riprovare");
