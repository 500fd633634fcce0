#pragma once

#include <QDate>

// "Today" for the whole program. Tests pin it so that saved dates and the
// listing's heading and file name can be checked exactly.
QDate Oggi();

// Pins today's date; an invalid date goes back to the system clock.
void ImpostaOggi(const QDate &data);
