#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QtGlobal>

struct Stato;

// The layout of printed labels, in millimetres from the top left corner of
// the page: the sheet formats, where each label of a run goes given the
// position of the first one on the first sheet (a sheet already partly
// used), and what each label says.

struct FormatoEtichette {
    QString nome;       // as the labels window lists it
    QSizeF pagina;      // the sheet, or one label of a roll
    int colonne = 1;
    int righe = 1;
    QSizeF etichetta;   // one label
    QPointF primo;      // top left corner of the first label
    QSizeF passo;       // from one label's corner to the next one's, across and down
    bool rotolo = false; // a continuous roll: one label per page, nothing to skip

    int perPagina() const { return colonne * righe; }
};

// The formats offered, in the order the window lists them: A4 sheets of 3 by
// 8 labels of 70 x 37 mm and of 4 by 10 labels of 48.5 x 25.4 mm, and a roll
// 62 mm wide cut into labels 29 mm long.
const QList<FormatoEtichette> &FormatiEtichette();

// Where one label goes: the page (0-based) and its rectangle on that page.
struct PostoEtichetta {
    int pagina = 0;
    QRectF rettangolo; // mm
};

// The start position made valid for the format: 1 to the labels of a sheet
// (always 1 on a roll). Positions count across, then down.
int InizioValido(const FormatoEtichette &formato, int inizio);

// The places of `quante` labels in order, the first one at position
// `inizio` of the first sheet, the others following it across, then down,
// then onto new sheets.
QList<PostoEtichetta> PostiEtichette(const FormatoEtichette &formato, int quante, int inizio);

// The number of pages those labels take (0 for none).
int PagineEtichette(const FormatoEtichette &formato, int quante, int inizio);

// What one label shows. The location is the text of the custom field chosen
// as location (empty when none is chosen); the package is its name in the
// packages table (empty when the component has none or it is not there).
struct ContenutoEtichetta {
    QString codice;
    QString descrizione;
    QString posizione;
    QString produttore;
    QString package;
    QString testoCodice; // what the barcode holds (TestoEtichetta of the ID)
};

// The label of the component at a position (1 to the count) of Componenti,
// the location taken from custom field campoPosizione (1-6; 0 = none).
ContenutoEtichetta ContenutoDi(const Stato &stato, qint32 posizione, int campoPosizione);

// Every component (positions 1 to the count), ordered by code as the main
// list is at start-up.
QList<qint32> PosizioniPerCodice(const Stato &stato);
