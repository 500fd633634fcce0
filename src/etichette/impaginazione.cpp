#include "etichette/impaginazione.h"

#include "components/scorta.h"
#include "etichette/codiceetichetta.h"
#include "store/ricerche.h"
#include "store/stato.h"

#include <algorithm>
#include <numeric>

const QList<FormatoEtichette> &FormatiEtichette()
{
    // A4 is 210 x 297 mm. Three labels of 70 mm fill the width; eight of
    // 37 mm leave half a millimetre above and below. Four of 48.5 mm leave
    // 8 mm at each side, ten of 25.4 mm 21.5 mm above and below.
    static const QList<FormatoEtichette> formati = {
        {QStringLiteral("A4, 3 \u00d7 8 etichette da 70 \u00d7 37 mm"), QSizeF(210, 297), 3, 8, QSizeF(70, 37),
         QPointF(0, 0.5), QSizeF(70, 37), false},
        {QStringLiteral("A4, 4 \u00d7 10 etichette da 48,5 \u00d7 25,4 mm"), QSizeF(210, 297), 4, 10,
         QSizeF(48.5, 25.4), QPointF(8, 21.5), QSizeF(48.5, 25.4), false},
        {QStringLiteral("Rotolo da 62 mm, etichette da 62 \u00d7 29 mm"), QSizeF(62, 29), 1, 1, QSizeF(62, 29),
         QPointF(0, 0), QSizeF(62, 29), true},
    };
    return formati;
}

int InizioValido(const FormatoEtichette &formato, int inizio)
{
    if (formato.rotolo)
        return 1;
    return std::clamp(inizio, 1, std::max(formato.perPagina(), 1));
}

QList<PostoEtichetta> PostiEtichette(const FormatoEtichette &formato, int quante, int inizio)
{
    QList<PostoEtichetta> posti;
    const int perPagina = std::max(formato.perPagina(), 1);
    const int colonne = std::max(formato.colonne, 1);
    const int primo = InizioValido(formato, inizio) - 1;
    posti.reserve(std::max(quante, 0));
    for (int i = 0; i < quante; ++i) {
        const int posto = primo + i;
        const int k = posto % perPagina;
        const QPointF angolo(formato.primo.x() + (k % colonne) * formato.passo.width(),
                             formato.primo.y() + (k / colonne) * formato.passo.height());
        posti.append({posto / perPagina, QRectF(angolo, formato.etichetta)});
    }
    return posti;
}

int PagineEtichette(const FormatoEtichette &formato, int quante, int inizio)
{
    if (quante <= 0)
        return 0;
    const int perPagina = std::max(formato.perPagina(), 1);
    return (InizioValido(formato, inizio) - 1 + quante + perPagina - 1) / perPagina;
}

ContenutoEtichetta ContenutoDi(const Stato &stato, qint32 posizione, int campoPosizione)
{
    const Componente &c = stato.componente(posizione);
    ContenutoEtichetta e;
    e.codice = c.Codice;
    e.descrizione = c.Descrizione;
    e.posizione = CampoExtra(c, campoPosizione);
    e.produttore = c.NomeProduttore;
    if (c.IDPackage != 0) {
        const qint32 p = PosPackageDaID(stato, c.IDPackage);
        if (p != 0)
            e.package = stato.package(p).Nome;
    }
    e.testoCodice = TestoEtichetta(c.ID);
    return e;
}

QList<qint32> PosizioniPerCodice(const Stato &stato)
{
    const qint32 n = qint32(std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    QList<qint32> posizioni(n);
    std::iota(posizioni.begin(), posizioni.end(), 1);
    std::stable_sort(posizioni.begin(), posizioni.end(), [&](qint32 a, qint32 b) {
        return stato.componente(a).Codice.compare(stato.componente(b).Codice, Qt::CaseInsensitive) < 0;
    });
    return posizioni;
}
