// Damaged or hand-edited settings files: reading and changing keys must
// never crash, and a key just written reads back as written.
#include "store/fileini.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    const QByteArray contenuto(reinterpret_cast<const char *>(dati), qsizetype(dimensione));
    FileIni ini(contenuto);
    QString valore;
    ini.valore(QStringLiteral("Counter"), QStringLiteral("Numero Tipi"), &valore);
    ini.imposta(QStringLiteral("Counter"), QStringLiteral("Numero Tipi"), QStringLiteral("7"));
    ini.imposta(QStringLiteral("Nuova"), QStringLiteral("Chiave"), QStringLiteral("valore"));
    const FileIni riletto(ini.contenuto());
    if (!riletto.valore(QStringLiteral("Counter"), QStringLiteral("Numero Tipi"), &valore)
        || valore != QLatin1String("7"))
        __builtin_trap();
    return 0;
}
