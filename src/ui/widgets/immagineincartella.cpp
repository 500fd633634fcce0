#include "ui/widgets/immagineincartella.h"

#include "store/fileincartella.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// Larger files are not read: no picture this program shows comes near it,
// and Qt refuses to decode anything much larger anyway.
constexpr qint64 MassimoByte = 256LL * 1024 * 1024;

QImage decodifica(std::optional<QByteArray> contenuto, bool ruota)
{
    if (!contenuto || contenuto->isEmpty() || contenuto->size() > MassimoByte)
        return {};
    QBuffer dati(&*contenuto);
    dati.open(QIODevice::ReadOnly);
    QImageReader lettore(&dati);
    lettore.setAutoTransform(ruota);
    return lettore.read();
}

} // namespace

QImage CaricaImmagine(const QString &cartella, const QString &nome, bool ruota)
{
    return decodifica(LeggiFileInCartella(cartella, nome, MassimoByte + 1), ruota);
}

QImage CaricaImmagineProgramma(const QString &percorso)
{
    return decodifica(LeggiFileRegolare(percorso, MassimoByte + 1), false);
}

QStringList SchemiImmagini()
{
    const QStringList primi{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.bmp")};
    // The readers' names are their usual extensions.
    QStringList altri;
    const QList<QByteArray> formati = QImageReader::supportedImageFormats();
    for (const QByteArray &formato : formati) {
        const QString schema = QStringLiteral("*.") + QString::fromLatin1(formato).toLower();
        if (!primi.contains(schema) && !altri.contains(schema))
            altri << schema;
    }
    altri.sort();
    return primi + altri;
}

QString FiltroImmagini()
{
    return QStringLiteral("Images|") + SchemiImmagini().join(QLatin1Char(';'));
}
