#include "components/like.h"

#include <QList>

#include <utility>

namespace {

// One element of a compiled pattern. Every element but Tutti matches
// exactly one character.
struct Elemento {
    enum Tipo { Tutti, Uno, Cifra, Carattere, Lista };
    Tipo tipo = Carattere;
    char32_t carattere = 0;                       // Carattere
    bool negata = false;                          // Lista
    QList<std::pair<char32_t, char32_t>> gamme;   // Lista: inclusive ranges

    bool accetta(char32_t c) const
    {
        switch (tipo) {
        case Tutti:
        case Uno:
            return true;
        case Cifra:
            return c >= U'0' && c <= U'9';
        case Carattere:
            return c == carattere;
        case Lista: {
            bool dentro = false;
            for (const auto &[da, a] : gamme) {
                if (c >= da && c <= a) {
                    dentro = true;
                    break;
                }
            }
            return dentro != negata;
        }
        }
        return false;
    }
};

// Reads a bracketed list whose "[" is at schema[inizio]. Returns the index
// just past the "]", or -1 when there is no "]" (the caller then takes the
// "[" literally). An empty list "[]" gives no element.
qsizetype LeggiLista(const QList<uint> &schema, qsizetype inizio, QList<Elemento> &elementi)
{
    qsizetype chiusa = -1;
    for (qsizetype j = inizio + 1; j < schema.size(); ++j) {
        if (schema[j] == U']') {
            chiusa = j;
            break;
        }
    }
    if (chiusa < 0)
        return -1;

    qsizetype i = inizio + 1;
    Elemento lista;
    lista.tipo = Elemento::Lista;
    if (i < chiusa && schema[i] == U'!') {
        lista.negata = true;
        ++i;
    }
    if (i == chiusa && !lista.negata)
        return chiusa + 1; // "[]": matches the empty text
    while (i < chiusa) {
        const char32_t da = schema[i];
        if (i + 2 < chiusa && schema[i + 1] == U'-') {
            lista.gamme.append({da, static_cast<char32_t>(schema[i + 2])});
            i += 3;
        } else {
            lista.gamme.append({da, da});
            ++i;
        }
    }
    elementi.append(lista);
    return chiusa + 1;
}

QList<Elemento> Compila(const QList<uint> &schema)
{
    QList<Elemento> elementi;
    for (qsizetype i = 0; i < schema.size();) {
        const char32_t c = schema[i];
        Elemento e;
        switch (c) {
        case U'*':
            // Consecutive stars are one star.
            if (elementi.isEmpty() || elementi.last().tipo != Elemento::Tutti) {
                e.tipo = Elemento::Tutti;
                elementi.append(e);
            }
            ++i;
            continue;
        case U'?':
            e.tipo = Elemento::Uno;
            break;
        case U'#':
            e.tipo = Elemento::Cifra;
            break;
        case U'[': {
            const qsizetype dopo = LeggiLista(schema, i, elementi);
            if (dopo >= 0) {
                i = dopo;
                continue;
            }
            e.carattere = c; // no closing bracket: a plain "["
            break;
        }
        default:
            e.carattere = c;
            break;
        }
        elementi.append(e);
        ++i;
    }
    return elementi;
}

// One character of the text at index i (a surrogate pair is one
// character) and the number of UTF-16 units it takes.
struct Carattere {
    char32_t valore;
    qsizetype unita;
};

Carattere CarattereA(const QString &testo, qsizetype i)
{
    const QChar c = testo.at(i);
    if (c.isHighSurrogate() && i + 1 < testo.size() && testo.at(i + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(c, testo.at(i + 1)), 2};
    return {c.unicode(), 1};
}

// The characters of a pattern, read as the text is read: a surrogate pair
// is one character, a lone surrogate stands for itself (toUcs4 would turn
// it into U+FFFD, and the pattern would no longer match its own text).
QList<uint> CaratteriSchema(const QString &schema)
{
    QList<uint> out;
    out.reserve(schema.size());
    for (qsizetype i = 0; i < schema.size();) {
        const Carattere c = CarattereA(schema, i);
        out.append(c.valore);
        i += c.unita;
    }
    return out;
}

} // namespace

struct SchemaLike::Elementi {
    QList<Elemento> lista;

    // Patterns made of plain characters with a star at either end or both
    // (a search's "*TEXT*" above all) are matched as a text search, which
    // is several times faster than stepping through the elements. Plain
    // characters do not include surrogates, which the text search would
    // compare unit by unit rather than character by character.
    bool semplice = false;
    bool stellaInizio = false;
    bool stellaFine = false;
    QString letterale;

    explicit Elementi(QList<Elemento> elementi) : lista(std::move(elementi))
    {
        qsizetype da = 0;
        qsizetype a = lista.size();
        stellaInizio = a > 0 && lista.first().tipo == Elemento::Tutti;
        da += stellaInizio;
        stellaFine = a > da && lista.last().tipo == Elemento::Tutti;
        a -= stellaFine;
        semplice = true;
        for (qsizetype i = da; i < a && semplice; ++i) {
            const Elemento &e = lista[i];
            semplice = e.tipo == Elemento::Carattere && e.carattere < 0x10000
                       && !QChar::isSurrogate(e.carattere);
            if (semplice)
                letterale.append(QChar(char16_t(e.carattere)));
        }
    }

    bool corrispondeSemplice(QStringView testo) const
    {
        if (stellaInizio && stellaFine)
            return testo.contains(letterale);
        if (stellaInizio)
            return testo.endsWith(letterale);
        if (stellaFine)
            return testo.startsWith(letterale);
        return testo == letterale;
    }
};

SchemaLike::SchemaLike(const QString &schema)
    : m_elementi(new Elementi(Compila(CaratteriSchema(schema))))
{
}

SchemaLike::~SchemaLike() = default;

bool SchemaLike::corrisponde(const QString &testo) const
{
    if (m_elementi->semplice)
        return m_elementi->corrispondeSemplice(testo);
    const QList<Elemento> &p = m_elementi->lista;

    // Two pointers with backtracking to the last star only: every other
    // element takes exactly one character, so retrying from the last star
    // with one more character swallowed is enough and the work stays within
    // |pattern| x |text| steps.
    qsizetype ti = 0;
    qsizetype pi = 0;
    qsizetype stella = -1; // index of the last star seen
    qsizetype ripresa = 0; // text index the last star is retried from
    while (ti < testo.size()) {
        const Carattere c = CarattereA(testo, ti);
        if (pi < p.size() && p[pi].tipo != Elemento::Tutti && p[pi].accetta(c.valore)) {
            ti += c.unita;
            ++pi;
        } else if (pi < p.size() && p[pi].tipo == Elemento::Tutti) {
            stella = pi++;
            ripresa = ti;
        } else if (stella >= 0) {
            pi = stella + 1;
            ripresa += CarattereA(testo, ripresa).unita;
            ti = ripresa;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi].tipo == Elemento::Tutti)
        ++pi;
    return pi == p.size();
}

bool Like(const QString &testo, const QString &schema)
{
    return SchemaLike(schema).corrisponde(testo);
}
