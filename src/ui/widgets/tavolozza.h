#pragma once

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
