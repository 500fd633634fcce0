#pragma once

#include <QString>

#include <vector>

// The modules of a DataMatrix symbol, one cell per module, without the
// quiet zone around it: what a label draws as squares.
struct MatriceDataMatrix {
    int larghezza = 0; // modules
    int altezza = 0;
    std::vector<unsigned char> moduli; // row by row; 1 = dark

    bool valida() const { return larghezza > 0 && altezza > 0; }
    bool scuro(int x, int y) const { return moduli[std::size_t(y) * std::size_t(larghezza) + std::size_t(x)] != 0; }
};

// The DataMatrix symbol of an ASCII text (a label's text); an empty
// matrix when the text cannot be encoded.
MatriceDataMatrix CodificaDataMatrix(const QString &testo);
