// Damaged or hand-edited table files: the readers must never crash, hang or
// allocate beyond what the data can hold, whatever count Info.ini claims.
// The first four bytes are the count, the rest is the file.
#include "store/filetabelle.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    if (dimensione < 4)
        return 0;
    qint32 num = 0;
    std::memcpy(&num, dati, 4);
    const QByteArrayView file(reinterpret_cast<const char *>(dati) + 4, qsizetype(dimensione - 4));
    QList<Componente> componenti;
    if (LeggiComponenti(file, num, &componenti)) {
        // Without a double quote inside a text (which the program never
        // stores) what was read is written and read back unchanged.
        bool virgolette = false;
        for (const Componente &c : componenti) {
            for (const QString *t : {&c.NomeTipo, &c.NomeProduttore, &c.Codice, &c.Descrizione,
                                     &c.Datasheet, &c.Immagine, &c.Note, &c.Extra1, &c.Extra2,
                                     &c.Extra3, &c.Extra4, &c.Extra5, &c.Extra6})
                virgolette = virgolette || t->contains(QLatin1Char('"'));
        }
        const qint32 n = qint32(componenti.size());
        QList<Componente> riletti;
        const bool ok = LeggiComponenti(TestoComponenti(componenti, n), n, &riletti);
        if (!virgolette && (!ok || riletti != componenti))
            __builtin_trap();
    }
    QList<Tipo> tipi;
    LeggiTipi(file, num, &tipi);
    QList<Package> packages;
    LeggiPackages(file, num, &packages);
    return 0;
}
