#include "listsort/ordinacolonna.h"

#include "listsort/chiavi.h"
#include "store/localeutente.h"

#include <QHash>

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

    // A column holds few distinct values (quantities, dates): the key and
    // the saved text of each distinct text are made once and shared by every
    // cell that holds it, and the restore hands back the very text the cell
    // held, so a sort of many rows allocates little.
    struct Salvato {
        QString chiave;
        QString salvato; // text, NUL (the cell's tag is empty)
    };
    QHash<QString, Salvato> perTesto;
    QHash<QString, QString> testoDaSalvato;
    if (chiavi) {
        const GeneratoreChiavi generatore(LocaleUtente());
        for (int r = 1; r <= righe; ++r) {
            if (!lista.haCella(r, cella))
                continue;
            const QString testo = lista.testo(r, cella);
            const QString tag = lista.tag(r, cella);
            if (tag.isEmpty()) {
                auto it = perTesto.constFind(testo);
                if (it == perTesto.constEnd()) {
                    QString salvato;
                    salvato.reserve(testo.size() + 1);
                    salvato.append(testo).append(QChar(0));
                    it = perTesto.insert(testo, {generatore.chiave(tipo, testo), salvato});
                    testoDaSalvato.insert(salvato, testo);
                }
                lista.impostaTag(r, cella, it->salvato);
                lista.impostaTesto(r, cella, it->chiave);
                continue;
            }
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
            if (nul == salvato.size() - 1) {
                const auto it = testoDaSalvato.constFind(salvato);
                if (it != testoDaSalvato.constEnd()) {
                    lista.impostaTesto(r, cella, *it);
                    lista.impostaTag(r, cella, QString());
                    continue;
                }
            }
            lista.impostaTesto(r, cella, salvato.left(nul));
            lista.impostaTag(r, cella, salvato.mid(nul + 1));
        }
    }

    lista.congelaDisegno(false);
    lista.setMousePointer(puntatore);
}
