#pragma once

#include "distinta/collegamenti.h"
#include "distinta/letturadistinta.h"

#include <QHash>
#include <QList>
#include <QString>

struct Stato;
struct GuastoScrittura;
class Dialoghi;

// The stock's codes, upper-cased the program's way and trimmed, each with
// the positions (1-based, table order) of the components that carry it.
// Built once per check, so that each BOM line costs one look-up.
class IndiceCodici {
public:
    explicit IndiceCodici(const Stato &stato);
    // The positions of the components whose code is the text, letter case
    // aside; empty when none.
    QList<qint32> cerca(const QString &testo) const;

private:
    QHash<QString, QList<qint32>> m_posizioni;
};

// What a BOM line comes to against the stock.
enum class EsitoRiga {
    Disponibile, // the stock covers the need
    Mancano,     // the matched component is short by `mancanti` pieces
    NonTrovato,  // no component carries the stock code, the MPN or the value
    DaScegliere, // several components match: the user picks one
    Errore,      // the line could not be read
};

struct VoceVerifica {
    RigaDistinta riga;
    QString parte;            // the text looked for (stock code, MPN or value)
    QList<qint32> candidati;  // positions of the matching components
    qint32 scelta = 0;        // position of the component used; 0 = none
    bool collegata = false;   // linked by hand: scelta is the component of the link
    QString codice;           // its code, and its stock when last computed
    qint32 giacenza = 0;
    qint64 necessari = 0;     // pieces for all boards
    qint64 disponibili = 0;   // of the component's stock, what is left for this line
    qint64 mancanti = 0;      // pieces short
    EsitoRiga esito = EsitoRiga::NonTrovato;
};

struct RiepilogoVerifica {
    int disponibili = 0;
    int mancano = 0;
    int nonTrovati = 0;
    int daScegliere = 0;
    int errori = 0;
    // True when every line is available: nothing to confirm before taking.
    bool tuttoDisponibile() const { return mancano + nonTrovati + daScegliere + errori == 0; }
};

// Pieces to take off one component.
struct Prelievo {
    qint32 posizione = 0;
    qint64 pezzi = 0;
    bool operator==(const Prelievo &) const = default;
};

// A bill of materials checked against the stock. A line linked by hand
// (collegamenti.h) uses the component of its link; any other is matched by
// its stock code first, then by its MPN, then by its value, against the
// component codes without regard to letter case. Lines that use the same
// component share its stock in file order: a later line gets what the
// earlier ones left.
class VerificaDistinta {
public:
    VerificaDistinta(const Stato &stato, const LetturaDistinta &lettura,
                     const Collegamenti &collegamenti = Collegamenti());

    // Matches every line again against the codes as they are now: a
    // component saved meanwhile may have gained or lost a code. A pick
    // stays while its component still matches the line.
    void riconfronta(const Stato &stato);
    // Recomputes every outcome for this many boards from the stock as it is
    // now in the state.
    void calcola(const Stato &stato, int schede);
    // Uses the component at this position for an ambiguous line (one of its
    // candidates; 0 goes back to no choice). Call calcola afterwards.
    bool scegli(int indice, qint32 posizione);

    // The links in use; replacing them matches every line again.
    const Collegamenti &collegamenti() const { return m_collegamenti; }
    void impostaCollegamenti(const Stato &stato, const Collegamenti &collegamenti);

    const QList<VoceVerifica> &voci() const { return m_voci; }
    int schede() const { return m_schede; }
    RiepilogoVerifica riepilogo() const;

    // The pieces to take, component by component in table order: for each
    // matched line its need, but never more than the stock has for it.
    QList<Prelievo> prelievi() const;

private:
    QList<VoceVerifica> m_voci;
    Collegamenti m_collegamenti;
    int m_schede = 1;
};

// The outcome as the user reads it: "Disponibile", "Mancano 3",
// "Non trovato", "Da scegliere (2)", "Errore alla riga 5: ...", with
// " (collegato)" after it on a line linked by hand.
QString TestoEsito(const VoceVerifica &voce);

// Whether the line is short of pieces (short or not found): it goes into
// the shopping list, and the window marks it as the main list marks
// components under their minimum stock.
bool SenzaPezzi(const VoceVerifica &voce);

// Links the line at indice (0-based) to the component at posizione, or
// removes its link, saving the links at once; every line that carries the
// same MPN, or value and footprint, follows. When the save fails the user
// is told (title "Collegamento non salvato") and nothing changes. The
// outcomes are recomputed for the same number of boards.
bool CollegaRiga(const Stato &stato, VerificaDistinta &verifica, int indice, qint32 posizione, Dialoghi &dialoghi);
bool ScollegaRiga(const Stato &stato, VerificaDistinta &verifica, int indice, Dialoghi &dialoghi);
// "Disponibili 3 - Mancano 1 - Non trovati 2", with the other counts when
// there are any.
QString TestoRiepilogo(const RiepilogoVerifica &r);

// The shopping list: a header, then one line per short or missing line
// (references, part, footprint, matched code, pieces needed, in stock, to
// buy), fields joined by the separator (a comma when it is empty) and quoted
// when they hold it, a double quote or a line break. Lines end with CR LF.
QString TestoMancanti(const VerificaDistinta &verifica, const QString &separatore);
inline const QString NomeFileMancanti = QStringLiteral("Mancanti.csv");

// Writes the shopping list to Exported/Mancanti.csv in UTF-8 with a
// byte-order mark (every character of the BOM kept, and spreadsheets read it
// as such), whole or not at all. Returns the path written, or an empty text after telling
// the user it could not be written.
QString EsportaMancanti(const Stato &stato, const VerificaDistinta &verifica, Dialoghi &dialoghi);

// Takes the pieces off the components and saves, all or nothing, with one
// line of the history for each component taken from (movimento, e.g.
// MovimentoDistinta of movimenti/rigamovimento.h): when the save fails (the
// user has been told by the save) every quantity is put back, the total
// recomputed, and the result is false.
bool PrelevaComponenti(Stato &stato, Dialoghi &dialoghi, const QList<Prelievo> &prelievi,
                       const QString &movimento = {});
bool PrelevaComponenti(Stato &stato, Dialoghi &dialoghi, const QList<Prelievo> &prelievi,
                       const GuastoScrittura &guasto, const QString &movimento = {});
