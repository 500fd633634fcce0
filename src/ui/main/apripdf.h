#pragma once

#include <QString>

struct Stato;
class Dialoghi;

// Opens the datasheet nome of the Datasheet folder in the PDF viewer of the
// Sumatra folder, started with the document's path as its one argument (no
// shell, so blanks or shell characters in the name are just part of the
// name). When the viewer is missing or does not start, the desktop's
// default viewer is given the document, provided it is a PDF file inside
// the folder; otherwise, or when that fails too, the user is told. A name
// leading outside the folder, or to something that is not a file, is never
// handed to either.
void ApriPDF(const Stato &stato, Dialoghi &dialoghi, const QString &nome);
