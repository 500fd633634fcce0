#include "listsort/ordinacolonna.h"

#include "listsort/chiavi.h"
#include "store/localeutente.h"

namespace {

constexpr int Clessidra = 11;

} // namespace

void OrdinaColonna(ListaOrdinabile &lista, int indiceColonna)
{
    if (indiceColonna < 1 || indiceColonna > lista.numeroColonne())
        return;

    const int puntatore = lista.mousePointer();
    lista.setMousePointer(Clessidra);
    lista.congelaDisegno(true);

    const int c = indiceColonna - 1;
    const int cella = c < 1 ? 0 : c; // column 0 is the row's own text and tag
    const TipoColonna tipo = TipoDaTag(lista.tagColonna(indiceColonna));
    const int righe = lista.numeroRighe();
    const bool chiavi = tipo != TipoColonna::Testo && righe > 0;

    if (chiavi) {
        const GeneratoreChiavi generatore(LocaleUtente());
        for (int r = 1; r <= righe; ++r) {
            if (!lista.haCella(r, cella))
                continue;
            const QString testo = lista.testo(r, cella);
            const QString tag = lista.tag(r, cella);
            QString salvato;
            salvato.reserve(testo.size() + 1 + tag.size());
            salvato.append(testo).append(QChar(0)).append(tag);
            lista.impostaTag(r, cella, salvato);
            lista.impostaTesto(r, cella, generatore.chiave(tipo, testo));
        }
    }

    lista.setSortOrder((lista.sortOrder() + 1) % 2);
    if (righe > 0) {
        lista.setSortKey(c);
        lista.setSorted(true);
    }

    if (chiavi) {
        for (int r = 1; r <= righe; ++r) {
            if (!lista.haCella(r, cella))
                continue;
            const QString salvato = lista.tag(r, cella);
            const qsizetype nul = salvato.indexOf(QChar(0));
            if (nul < 0)
                continue;
            lista.impostaTesto(r, cella, salvato.left(nul));
            lista.impostaTag(r, cella, salvato.mid(nul + 1));
        }
    }

    lista.congelaDisegno(false);
    lista.setMousePointer(puntatore);
}
