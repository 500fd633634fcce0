#pragma once

#include <QIcon>
#include <QString>

// Icons of the toolbar buttons and of the program. Each button has a
// freedesktop icon name, taken from the desktop's icon theme when there is
// one; a machine without a theme gets the same picture from the icons built
// into the program (assets/icone: Adwaita and Breeze icons, see CREDITS).

// The freedesktop name of a toolbar key's icon ("print" -> "document-print");
// empty for an unknown key.
QString NomeIconaBarra(const QString &chiave);

// The built-in icon of a freedesktop name, as in NomeIconaBarra (24 and 48
// pixels); null when the program has none of that name.
QIcon IconaIncorporata(const QString &nome);

// The icon of a toolbar key: the theme's, else the built-in one.
QIcon IconaBarra(const QString &chiave);

// The program's own icon, for every window.
QIcon IconaProgramma();
