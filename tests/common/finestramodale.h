#pragma once

// A window a test drives (usually a modal one, handed over by QuandoModale): its children by name, a button clicked,
// and the rows of a report list as text.

#include "common/finestre.h"

#include <QPushButton>

struct Modale {
    QWidget *w;
    template <typename T = QWidget>
    T *c(const char *nome) const { return Figlio<T>(w, QLatin1String(nome)); }
    void clic(const char *bottone) const { QTest::mouseClick(c<QPushButton>(bottone), Qt::LeftButton); }
};

// The rows top to bottom, each as the cells of its first columns joined by "|".
inline QStringList RigheLista(const ListaReport *l, int colonne = 4)
{
    QStringList out;
    for (int r = 1; r <= l->numeroRighe(); ++r) {
        QStringList celle;
        for (int k = 0; k < colonne; ++k)
            celle << l->testo(r, k);
        out << celle.join(u'|');
    }
    return out;
}
