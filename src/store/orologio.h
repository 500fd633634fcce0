#pragma once

#include <QDate>
#include <QDateTime>

// "Today" for the whole program. Tests pin it so that saved dates and the
// listing's heading and file name can be checked exactly.
QDate Oggi();

// Pins today's date; an invalid date goes back to the system clock.
void ImpostaOggi(const QDate &data);

// "Now", local time, for what is named or kept by the moment it happened
// (the dated copies of the data files). Tests pin it to step through days
// and starts; it does not move Oggi().
QDateTime Adesso();

// Pins the moment; an invalid one goes back to the system clock.
void ImpostaAdesso(const QDateTime &momento);
