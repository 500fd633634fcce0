#pragma once

#include <QList>
#include <QRect>
#include <QString>

// What the main window remembers between runs: its place and size (the
// normal, not maximised, geometry), whether it was maximised, the widths of
// the list's columns and the column and direction of its last sort. Kept in
// Info.ini in a section of its own, [Finestra], which readers that do not
// know it ignore; nothing else of the file changes.
//
// Every value read is checked: a missing, damaged or absurd one (text,
// negative or huge sizes, a column out of range) is ignored, and the window
// then uses its own default for that part.
struct StatoFinestra {
    QRect geometria;           // invalid when not known
    bool massimizzata = false;
    QList<int> larghezzeColonne; // empty when not known
    int colonnaOrdinamento = 0;  // 1-based; 0 when not known
    int ordine = -1;             // 0 ascending, 1 descending; -1 when not known
};

inline const QString SezioneFinestra = QStringLiteral("Finestra");

// Limits of what is believed: a window or column larger than this is a
// damaged value, not a screen.
constexpr int LatoMassimoFinestra = 16384;
constexpr int LarghezzaMassimaColonna = 4000;

// Reads the section from Info.ini; colonne is the number of columns the list
// has, so that widths and the sort column are checked against it.
StatoFinestra LeggiStatoFinestra(const QString &fileIni, int colonne);

// Writes the section into Info.ini, keeping every other line; false when the
// file could not be written.
bool ScriviStatoFinestra(const QString &fileIni, const StatoFinestra &stato);

// Where a window of this geometry (its frame) goes so that it lies whole on
// one of the screens (their available areas): on the screen that holds most
// of it, or the nearest one when it is off every screen; shrunk to that
// screen when larger, and moved no further than needed.
QRect GeometriaSuSchermo(const QRect &geometria, const QList<QRect> &schermi);
