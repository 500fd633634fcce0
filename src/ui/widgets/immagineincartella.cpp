#include "ui/widgets/immagineincartella.h"

#include "store/fileincartella.h"

#include <QBuffer>
#include <QImageReader>

QImage CaricaImmagine(const QString &cartella, const QString &nome, bool ruota)
{
    std::optional<QByteArray> contenuto = LeggiFileInCartella(cartella, nome);
    if (!contenuto || contenuto->isEmpty())
        return {};
    QBuffer dati(&*contenuto);
    dati.open(QIODevice::ReadOnly);
    QImageReader lettore(&dati);
    lettore.setAutoTransform(ruota);
    return lettore.read();
}
