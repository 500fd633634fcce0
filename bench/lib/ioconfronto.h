#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The plain file I/O the program's own reading and writing is compared
// with: the same bytes, no parsing, no encoding, no safety steps.

// Reads each file whole (QFile::readAll); aborts when one cannot be read.
QList<QByteArray> LeggiGrezzi(const QStringList &files);

// Reads each file as text, line by line (QTextStream, one byte one
// character as the files store them), and keeps the lines: the plain way to
// bring a text file into memory. Aborts when a file cannot be read.
QStringList LeggiTesto(const QStringList &files);

// Writes each content into cartella/<prefix>N, truncating, then flushes;
// with sincronizza also fsyncs each file (as a crash-safe save must).
void ScriviGrezzi(const QString &cartella, const QList<QByteArray> &contenuti, bool sincronizza);

// Total size of the given contents, in bytes.
qint64 Byte(const QList<QByteArray> &contenuti);
