#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// The picture file that the stored name leads to inside its folder (Pics,
// Packages, or the program folder for back.jpg), read as JPEG, BMP or any
// other format Qt knows by its content; a null image when the name leads
// outside the folder, to no regular file, or to no readable picture. With
// ruota, the orientation a JPEG may record is applied.
QImage CaricaImmagine(const QString &cartella, const QString &nome, bool ruota = false);

// A picture of the program's own (the placeholder back.jpg): read when the
// path, its links followed, is a regular file.
QImage CaricaImmagineProgramma(const QString &percorso);

// The patterns of the picture files the program offers and lists: "*.jpg",
// "*.jpeg", "*.bmp" first, then one for every other format Qt's image
// readers know here ("*.gif", "*.png", "*.webp"...), by name.
QStringList SchemiImmagini();

// The file-dialog filter of pictures: "Images|" followed by SchemiImmagini()
// joined by ";".
QString FiltroImmagini();
