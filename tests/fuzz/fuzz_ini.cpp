// Damaged or hand-edited settings files: reading and changing keys must never crash, a key written reads back as its
// value trimmed of blanks at both ends and cut to 2047 characters, and no other key changes.
//
// The input is split at zero bytes: the file, then the section, the key and
// the value to write (UTF-8, so that characters outside Windows-1252 occur).
#include "store/cp1252.h"
#include "store/fileini.h"
#include "store/ini.h"
#include "verifica.h"

#include <QList>

#include <cstdint>
#include <utility>

namespace {

bool Vuoto(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString Ritaglia(const QString &s)
{
    qsizetype a = 0;
    qsizetype b = s.size();
    while (a < b && Vuoto(s[a]))
        ++a;
    while (b > a && Vuoto(s[b - 1]))
        --b;
    return s.sliced(a, b - a);
}

// What the file can hold of a text: Windows-1252, "?" for the rest.
QString Codificabile(const QString &s)
{
    return DecodificaCp1252(CodificaCp1252(s));
}

// Names the INI format can hold at all: one line, storable as they are, a key that cannot be taken for a section line
// or split at its "=", a section without the "]" that would end its name early.
bool NomiValidi(const QString &sezione, const QString &chiave)
{
    for (const QString *s : {&sezione, &chiave}) {
        if (s->contains(QLatin1Char('\r')) || s->contains(QLatin1Char('\n'))
            || Codificabile(*s) != *s)
            return false;
    }
    return !sezione.contains(QLatin1Char(']')) && !chiave.contains(QLatin1Char('='))
        && !Ritaglia(chiave).startsWith(QLatin1Char('['));
}

bool StessoNome(const QString &a, const QString &b)
{
    return Ritaglia(a).compare(Ritaglia(b), Qt::CaseInsensitive) == 0;
}

// The section and key of every "key=value" line (the first 64), as a reader would look them up.
QList<std::pair<QString, QString>> Chiavi(const QByteArray &file)
{
    QList<std::pair<QString, QString>> chiavi;
    QString sezione;
    const QString testo = DecodificaCp1252(file);
    for (const QStringView riga : QStringView(testo).split(QLatin1Char('\n'))) {
        const QString r = Ritaglia(riga.toString().remove(QLatin1Char('\r')));
        if (r.startsWith(QLatin1Char('['))) {
            const qsizetype fine = r.indexOf(QLatin1Char(']'));
            sezione = r.mid(1, fine < 0 ? -1 : fine - 1);
        } else if (r.contains(QLatin1Char('='))) {
            chiavi.append({sezione, r.left(r.indexOf(QLatin1Char('=')))});
            if (chiavi.size() >= 64)
                break;
        }
    }
    return chiavi;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    const QByteArray byte(reinterpret_cast<const char *>(dati), qsizetype(dimensione));
    const QList<QByteArray> parti = byte.split('\0');
    const QByteArray &contenuto = parti[0];
    const QString sezione = QString::fromUtf8(parti.value(1, "Counter"));
    const QString chiave = QString::fromUtf8(parti.value(2, "Numero Tipi"));
    QString valore = QString::fromUtf8(parti.value(3, "7"));
    // Long values without a long input: a count of repeats in the fifth part.
    const int ripeti = parti.size() > 4 && !parti[4].isEmpty() ? uint8_t(parti[4][0]) % 40 : 0;
    valore = valore.repeated(ripeti + 1);

    FileIni ini(contenuto);
    // Reading a damaged file goes through the same code as start-up.
    LeggiChiaveIni(ini, QStringLiteral("Counter"), QStringLiteral("Numero Tipi"), QString());
    if (!NomiValidi(sezione, chiave)) {
        ini.imposta(sezione, chiave, valore);
        FileIni(ini.contenuto());
        return 0;
    }

    const QList<std::pair<QString, QString>> altre = Chiavi(contenuto);
    QStringList prima;
    for (const auto &[s, k] : altre)
        prima << LeggiChiaveIni(ini, s, k, QStringLiteral("\x01assente"));

    ini.imposta(sezione, chiave, valore);
    const FileIni riletto(ini.contenuto());

    QString atteso = valore;
    atteso.replace(QLatin1Char('\r'), QLatin1Char(' '));
    atteso.replace(QLatin1Char('\n'), QLatin1Char(' '));
    atteso = Ritaglia(Codificabile(atteso)).left(2047);
    Verifica(LeggiChiaveIni(riletto, sezione, chiave, QStringLiteral("\x01assente")) == atteso);

    for (qsizetype i = 0; i < altre.size(); ++i) {
        const auto &[s, k] = altre[i];
        if (StessoNome(s, sezione) && StessoNome(k, chiave))
            continue;
        Verifica(LeggiChiaveIni(riletto, s, k, QStringLiteral("\x01assente")) == prima[i]);
    }
    // Written again, the file does not change.
    Verifica(FileIni(riletto.contenuto()).contenuto() == riletto.contenuto());
    return 0;
}
