#pragma once

#include <QString>

class QStyle;

// The style of the dark theme: Fusion, with check boxes and radio buttons
// drawn so that they show on dark backgrounds (a light frame, the mark in
// the text colour of their state). Its object name is NomeStileScuro().
QStyle *CreaStileScuro();
QString NomeStileScuro();
