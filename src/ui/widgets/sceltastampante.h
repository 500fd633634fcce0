#pragma once

#include <functional>

class QPrinter;
class QWidget;

// The print dialog, as a seam: given the printer set up for the document
// (page size, margins, name), asks the user where and how to print and
// returns true to print. Windows that print take one of these from their
// owner; the program uses DialogoStampaQt, tests a function that answers at
// once (pointing the printer at a PDF file) and opens no window.
using SceltaStampante = std::function<bool(QPrinter &stampante, QWidget *genitore)>;

// The system's print dialog, modal on the parent.
bool DialogoStampaQt(QPrinter &stampante, QWidget *genitore);
