#pragma once

#include <QString>
#include <QStringList>

class QMenuBar;

// Puts an Alt mnemonic ("&") into a caption: the first letter, among the
// initials of its words and then among all its letters, whose upper case is
// not in usate; that letter is added to usate. A caption that already has
// one, or that has no free letter, is returned as it is.
QString ConMnemonico(const QString &testo, QStringList *usate);

// Gives every menu of the bar, and every item of each menu, a mnemonic of
// its own: the menus unique in the bar, the items unique in their menu.
void AssegnaMnemonici(QMenuBar *barra);
