// Damaged or hand-edited table files: the readers of all four tables must never crash, hang or allocate beyond what the
// data can hold, whatever count Info.ini claims; one thread or two read the same; and what they read is written back
// and read again unchanged. The first four bytes are the count, the rest is the file, fed to each of the four readers.
#include "store/filetabelle.h"
#include "verifica.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>

namespace {

// Without a double quote inside a text (which the program never stores)
// what was read is written and read back unchanged.
bool ConVirgolette(std::initializer_list<const QString *> testi)
{
    for (const QString *t : testi) {
        if (t->contains(QLatin1Char('"')))
            return true;
    }
    return false;
}

template <typename T, typename Leggi, typename Scrivi, typename Testi>
void Prova(QByteArrayView file, qint32 num, Leggi leggi, Scrivi scrivi, Testi testi)
{
    QList<T> letti;
    const bool ok = leggi(file, num, &letti, std::numeric_limits<qsizetype>::max());
    // Read by two threads, wherever the middle falls, the outcome is the same.
    QList<T> inDue;
    Verifica(leggi(file, num, &inDue, 0) == ok);
    if (!ok)
        return;
    Verifica(inDue == letti);
    // A record takes at least one byte per field, so a table can never be
    // larger than its file (or 0 when the count is not positive).
    Verifica(num < 1 ? letti.isEmpty() : letti.size() == num);
    Verifica(letti.size() <= file.size() + 1);
    bool virgolette = false;
    for (const T &r : letti)
        virgolette = virgolette || testi(r);
    if (virgolette)
        return;
    const qint32 n = qint32(letti.size());
    const QByteArray scritto = scrivi(letti, n);
    QList<T> riletti;
    Verifica(leggi(scritto, n, &riletti, 0));
    Verifica(riletti == letti);
    // And writing what was read back gives the same bytes.
    Verifica(scrivi(riletti, n) == scritto);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    if (dimensione < 4)
        return 0;
    qint32 num = 0;
    std::memcpy(&num, dati, 4);
    const QByteArrayView file(reinterpret_cast<const char *>(dati) + 4, qsizetype(dimensione - 4));

    Prova<Componente>(file, num, LeggiComponenti, TestoComponenti, [](const Componente &c) {
        return ConVirgolette({&c.NomeTipo, &c.NomeProduttore, &c.Codice, &c.Descrizione,
                              &c.Datasheet, &c.Immagine, &c.Note, &c.Extra1, &c.Extra2, &c.Extra3,
                              &c.Extra4, &c.Extra5, &c.Extra6});
    });
    Prova<Tipo>(file, num, LeggiTipi, TestoTipi,
                [](const Tipo &t) { return ConVirgolette({&t.Nome}); });
    Prova<Produttore>(file, num, LeggiProduttori, TestoProduttori,
                      [](const Produttore &p) { return ConVirgolette({&p.Nome}); });
    Prova<Package>(file, num, LeggiPackages, TestoPackages, [](const Package &p) {
        return ConVirgolette({&p.Nome, &p.Descrizione, &p.Immagine});
    });
    return 0;
}
