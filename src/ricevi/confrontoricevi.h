#pragma once

#include "distinta/collegamenti.h"
#include "distinta/verificadistinta.h"
#include "ricevi/scansione.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct Stato;

// What a bag read by the scanner comes to against the stock.
enum class EsitoRicevi {
    Aggiungi,     // exactly one component: its pieces grow
    Nuovo,        // no component: a new one will be made
    DaScegliere,  // several components: the user picks one of the candidates
    NonLeggibile, // the scan could not be read
};

struct ConfrontoRicevi {
    EsitoRicevi esito = EsitoRicevi::Nuovo;
    QList<qint32> candidati; // positions (1-based, table order) of the matching components
    qint32 posizione = 0;    // Aggiungi: the component
    QString codice;          // Aggiungi: its code
    bool collegato = false;  // found through a link of the BOM check
    bool perDistributore = false; // found by the distributor's part number
    // NonLeggibile: why, for the user (the scan's own reason, or why a
    // label of this program names no component of the stock).
    QString motivo;
};

// The components of the stock indexed once by code (letter case and blanks
// around aside, as the BOM check compares them) and by the links of the BOM
// check (Collegamenti.csv: a manufacturer part number linked by hand to a
// component), so that each scan costs a few look-ups however large the
// stock.
//
// A label of this program ("ARVO:12") goes to the component with that ID,
// and is unreadable when no component of the stock has it (deleted since
// the label was printed, or a label of another archive). Any other scan
// goes, in this order:
// - to the component its part number is linked to, when that component is
//   still in the stock;
// - to the components whose code is its part number;
// - when none, to the components whose code is its distributor's part
//   number (a stock that names parts by LCSC's "C2040" or Digi-Key's code);
// - else to a new component.
// The index holds the stock as it was when built: build it again after the
// stock changes.
class IndiceRicevi {
public:
    explicit IndiceRicevi(const Stato &stato, const Collegamenti &collegamenti = Collegamenti());
    ConfrontoRicevi confronta(const Scansione &scansione) const;

private:
    IndiceCodici m_codici;
    QStringList m_codiciPerPosizione; // [posizione - 1]
    Collegamenti m_collegamenti;
    QHash<qint32, qint32> m_posizioneDaID; // the first position of each ID
};

// The outcome as the list shows it: "Aggiungi a BC547", "Nuovo componente",
// "Da scegliere", "Non leggibile: <reason>".
QString TestoEsitoRicevi(const ConfrontoRicevi &confronto);
