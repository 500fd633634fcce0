#include "etichette/datamatrix.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <exception>

MatriceDataMatrix CodificaDataMatrix(const QString &testo)
{
    MatriceDataMatrix m;
    try {
        // Asked for no size and no margin, the writer gives one pixel per
        // module: the label scales the modules itself, so they stay sharp.
        const ZXing::BitMatrix bit =
            ZXing::MultiFormatWriter(ZXing::BarcodeFormat::DataMatrix).setMargin(0).encode(testo.toStdString(), 0, 0);
        m.larghezza = bit.width();
        m.altezza = bit.height();
        m.moduli.resize(std::size_t(m.larghezza) * std::size_t(m.altezza));
        for (int y = 0; y < m.altezza; ++y)
            for (int x = 0; x < m.larghezza; ++x)
                m.moduli[std::size_t(y) * std::size_t(m.larghezza) + std::size_t(x)] = bit.get(x, y) ? 1 : 0;
    } catch (const std::exception &) {
        return {};
    }
    return m;
}
