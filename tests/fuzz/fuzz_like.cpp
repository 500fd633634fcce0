// The Like matcher against a plain dynamic-programming matcher written from the pattern rules, on arbitrary UTF-16
// texts and patterns (lone surrogates included). The input is UTF-16 units; the first unit 0 splits the text from the
// pattern.
#include "components/like.h"
#include "verifica.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

namespace {

// Characters as the matcher sees them: a surrogate pair is one character,
// any other unit (a lone surrogate too) is one character.
std::vector<char32_t> Caratteri(const QString &s)
{
    std::vector<char32_t> out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            out.push_back(QChar::surrogateToUcs4(c, s[i + 1]));
            ++i;
        } else {
            out.push_back(c.unicode());
        }
    }
    return out;
}

// One pattern element: a star, or a set of characters for exactly one.
struct Pezzo {
    bool stella = false;
    bool qualsiasi = false;
    bool cifra = false;
    bool negata = false;
    std::vector<std::pair<char32_t, char32_t>> gamme;

    bool accetta(char32_t c) const
    {
        if (qualsiasi)
            return true;
        if (cifra)
            return c >= U'0' && c <= U'9';
        bool dentro = false;
        for (const auto &[a, b] : gamme)
            dentro = dentro || (c >= a && c <= b);
        return dentro != negata;
    }
};

std::vector<Pezzo> Leggi(const std::vector<char32_t> &p)
{
    std::vector<Pezzo> out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        Pezzo e;
        if (p[i] == U'*') {
            e.stella = true;
        } else if (p[i] == U'?') {
            e.qualsiasi = true;
        } else if (p[i] == U'#') {
            e.cifra = true;
        } else if (p[i] == U'[') {
            std::size_t chiusa = i + 1;
            while (chiusa < p.size() && p[chiusa] != U']')
                ++chiusa;
            if (chiusa == p.size()) {
                e.gamme.push_back({U'[', U'['});
            } else {
                std::size_t j = i + 1;
                if (j < chiusa && p[j] == U'!') {
                    e.negata = true;
                    ++j;
                }
                if (j == chiusa && !e.negata) { // "[]": nothing at all
                    i = chiusa;
                    continue;
                }
                // "a-b" is a range when both ends are inside the brackets.
                while (j < chiusa) {
                    if (j + 2 < chiusa && p[j + 1] == U'-') {
                        e.gamme.push_back({p[j], p[j + 2]});
                        j += 3;
                    } else {
                        e.gamme.push_back({p[j], p[j]});
                        ++j;
                    }
                }
                i = chiusa;
            }
        } else {
            e.gamme.push_back({p[i], p[i]});
        }
        out.push_back(e);
    }
    return out;
}

bool Riferimento(const QString &testo, const QString &schema)
{
    const std::vector<char32_t> t = Caratteri(testo);
    const std::vector<Pezzo> p = Leggi(Caratteri(schema));
    // riga[j]: the pattern so far matches the first j characters.
    std::vector<char> riga(t.size() + 1, 0);
    riga[0] = 1;
    for (const Pezzo &e : p) {
        std::vector<char> nuova(t.size() + 1, 0);
        if (e.stella) {
            char prima = 0;
            for (std::size_t j = 0; j <= t.size(); ++j) {
                prima = prima || riga[j];
                nuova[j] = prima;
            }
        } else {
            for (std::size_t j = 0; j < t.size(); ++j)
                nuova[j + 1] = riga[j] && e.accetta(t[j]);
        }
        riga.swap(nuova);
    }
    return riga[t.size()] != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    QString tutto(qsizetype(dimensione / 2), Qt::Uninitialized);
    for (size_t i = 0; i + 1 < dimensione; i += 2)
        tutto[qsizetype(i / 2)] = QChar(char16_t(dati[i] | (dati[i + 1] << 8)));
    const qsizetype zero = tutto.indexOf(QChar(0));
    const QString testo = zero < 0 ? tutto : tutto.left(zero);
    const QString schema = zero < 0 ? QString() : tutto.mid(zero + 1);

    const bool atteso = Riferimento(testo, schema);
    Verifica(Like(testo, schema) == atteso);
    Verifica(SchemaLike(schema).corrisponde(testo) == atteso);
    // The text read as a pattern of its own, its wildcards active.
    Verifica(Like(testo, testo) == Riferimento(testo, testo));
    return 0;
}
