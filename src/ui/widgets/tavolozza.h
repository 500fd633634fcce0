#pragma once

#include <QColor>
#include <QPalette>

// The colours of the whole program (menus, toolbars, status bar, dialogs,
// every window) for the light or the dark theme. The light one is the
// desktop's own palette and style, as found the first time this runs; the
// dark one is a complete palette under the Fusion style, which honours every
// role of it, with check boxes and radio buttons outlined so that they show
// on the dark backgrounds. Colours that a window sets on its own controls
// stay theirs.
void ApplicaTavolozza(bool chiaro);

// The dark palette.
QPalette TavolozzaScura();

// The colours of a warning row in a list (a component under its minimum
// stock, a BOM line short of pieces) that read well on either theme's list:
// dark red on pale red in the light theme, white on deep red in the dark one.
struct ColoriAvviso {
    QColor sfondo;
    QColor testo;
};
ColoriAvviso ColoriRigaAvviso(bool chiaro);
