#include "store/filetabelle.h"

#include "store/cp1252.h"
#include "store/numeri.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

// ---------------------------------------------------------------- writing

// Builds a file in one buffer, writing through a pointer: no allocation per
// field.
class Scrittore {
public:
    explicit Scrittore(qsizetype stima) { m_out.resize(qMax<qsizetype>(stima, 256)); m_p = m_out.data(); }

    void numero(qint32 v)
    {
        spazio(16);
        separatore();
        m_p = std::to_chars(m_p, m_p + 12, v).ptr;
    }
    void testo(const QString &s)
    {
        spazio(s.size() + 3);
        separatore();
        *m_p++ = '"';
        m_p = CodificaCp1252In(m_p, s);
        *m_p++ = '"';
    }
    void data(const QDateTime &d)
    {
        spazio(32);
        separatore();
        if (!d.isValid())
            return;
        const QDate g = d.date();
        const QTime t = d.time();
        *m_p++ = '#';
        const int anno = g.year();
        if (anno >= 0 && anno <= 9999) {
            cifre(anno, 4);
        } else {
            m_p = std::to_chars(m_p, m_p + 12, anno).ptr;
        }
        *m_p++ = '-';
        cifre(g.month(), 2);
        *m_p++ = '-';
        cifre(g.day(), 2);
        if (t != QTime(0, 0)) {
            *m_p++ = ' ';
            cifre(t.hour(), 2);
            *m_p++ = ':';
            cifre(t.minute(), 2);
            *m_p++ = ':';
            cifre(t.second(), 2);
        }
        *m_p++ = '#';
    }
    void fineRiga()
    {
        spazio(2);
        *m_p++ = '\r';
        *m_p++ = '\n';
        m_primo = true;
    }
    QByteArray risultato()
    {
        m_out.resize(m_p - m_out.data());
        return std::move(m_out);
    }

private:
    void spazio(qsizetype n)
    {
        const qsizetype usato = m_p - m_out.data();
        if (usato + n + 1 > m_out.size()) {
            m_out.resize(qMax(m_out.size() * 2, usato + n + 1));
            m_p = m_out.data() + usato;
        }
    }
    void separatore()
    {
        if (!m_primo)
            *m_p++ = ',';
        m_primo = false;
    }
    void cifre(int v, int n)
    {
        for (int i = n - 1; i >= 0; --i) {
            m_p[i] = char('0' + v % 10);
            v /= 10;
        }
        m_p += n;
    }
    QByteArray m_out;
    char *m_p = nullptr;
    bool m_primo = true;
};

template <typename T, typename F>
QByteArray scriviTabella(const QList<T> &tabella, qint32 num, qsizetype perRiga, F campi)
{
    const qsizetype n = qBound(qsizetype(0), qsizetype(num), tabella.size());
    Scrittore s(n * perRiga);
    for (qsizetype i = 0; i < n; ++i) {
        campi(s, tabella[i]);
        s.fineRiga();
    }
    return s.risultato();
}

// ---------------------------------------------------------------- reading

class Lettore {
public:
    explicit Lettore(QByteArrayView dati) : m_p(dati.data()), m_fine(dati.data() + dati.size()) {}

    bool numero(qint32 *v)
    {
        if (!prossimo())
            return false;
        switch (LeggiNumero(m_item, v)) {
        case EsitoNumero::Ok:
            return true;
        case EsitoNumero::NonNumero:
            *v = 0;
            return true;
        case EsitoNumero::FuoriIntervallo:
            return false;
        }
        return false;
    }
    // A text; with a field number, equal short texts of that field share one
    // string (names and descriptions repeat a lot in a stock list), which
    // saves most allocations of a load.
    bool testo(QString *s, int campo = -1)
    {
        if (!prossimo())
            return false;
        if (m_item.isEmpty()) {
            *s = QString();
        } else if (campo >= 0 && campo < kCampiCondivisi && m_item.size() <= 64) {
            auto &cache = m_cache[campo];
            const std::string_view chiave(m_item.data(), size_t(m_item.size()));
            const auto it = cache.find(chiave);
            if (it != cache.end()) {
                *s = it->second;
            } else {
                *s = DecodificaCp1252(m_item);
                if (cache.size() < 1024)
                    cache.emplace(chiave, *s);
            }
        } else {
            *s = DecodificaCp1252(m_item);
        }
        return true;
    }
    static constexpr int kCampiCondivisi = 16;
    bool data(QDateTime *d)
    {
        if (!prossimo())
            return false;
        if (m_item.isEmpty()) {
            *d = QDateTime();
            return true;
        }
        return leggiData(m_item, d);
    }
    // Room for at most this many records of n fields: every field takes at
    // least one byte, so a short file cannot ask for a huge table.
    qsizetype capienza(qint32 num, int campi) const
    {
        return qMin<qsizetype>(num, (m_fine - m_p) / campi + 1);
    }

private:
    static bool fineRiga(char c) { return c == '\r' || c == '\n'; }

    // The next item into m_item; false when the data has run out.
    bool prossimo()
    {
        const char *p = m_p;
        for (;;) {
            while (p < m_fine && (*p == ' ' || *p == '\t'))
                ++p;
            // Empty lines between items are not items, but a line end right
            // after a comma ends an empty one.
            if (!m_dopoVirgola && p < m_fine && fineRiga(*p)) {
                ++p;
                continue;
            }
            break;
        }
        if (p == m_fine) {
            if (!m_dopoVirgola)
                return false;
            m_item = {};
            m_dopoVirgola = false;
            m_p = p;
            return true;
        }
        if (*p == '"' || *p == '#') {
            const char *inizio = p + 1;
            const auto *chiusura = static_cast<const char *>(std::memchr(inizio, *p, m_fine - inizio));
            if (!chiusura)
                return false;
            m_item = QByteArrayView(inizio, chiusura - inizio);
            p = chiusura + 1;
            while (p < m_fine && *p != ',' && !fineRiga(*p))
                ++p;
        } else {
            const char *inizio = p;
            while (p < m_fine && *p != ',' && !fineRiga(*p))
                ++p;
            const char *f = p;
            while (f > inizio && (f[-1] == ' ' || f[-1] == '\t'))
                --f;
            m_item = QByteArrayView(inizio, f - inizio);
        }
        if (p == m_fine) {
            m_dopoVirgola = false;
        } else if (*p == ',') {
            ++p;
            m_dopoVirgola = true;
        } else {
            if (*p == '\r' && p + 1 < m_fine && p[1] == '\n')
                ++p;
            ++p;
            m_dopoVirgola = false;
        }
        m_p = p;
        return true;
    }

    // "yyyy-mm-dd" optionally followed by " hh:mm" or " hh:mm:ss".
    static bool leggiData(QByteArrayView s, QDateTime *d)
    {
        qsizetype i = 0;
        auto cifre = [&](int massimo, int *v) {
            int n = 0;
            *v = 0;
            while (i < s.size() && n < massimo && s[i] >= '0' && s[i] <= '9') {
                *v = *v * 10 + (s[i] - '0');
                ++i;
                ++n;
            }
            return n > 0;
        };
        auto segno = [&](char c) {
            if (i < s.size() && s[i] == c) {
                ++i;
                return true;
            }
            return false;
        };
        int a = 0, m = 0, g = 0, h = 0, min = 0, sec = 0;
        if (!cifre(4, &a) || !segno('-') || !cifre(2, &m) || !segno('-') || !cifre(2, &g))
            return false;
        if (i < s.size()) {
            if (!segno(' ') || !cifre(2, &h) || !segno(':') || !cifre(2, &min))
                return false;
            if (segno(':') && !cifre(2, &sec))
                return false;
            if (i != s.size())
                return false;
        }
        const QDate data(a, m, g);
        const QTime ora(h, min, sec);
        if (!data.isValid() || !ora.isValid())
            return false;
        *d = QDateTime(data, ora, Qt::UTC);
        return true;
    }

    const char *m_p;
    const char *m_fine;
    QByteArrayView m_item;
    bool m_dopoVirgola = false;
    // Keys point into the data being read, which outlives the reader.
    std::unordered_map<std::string_view, QString> m_cache[kCampiCondivisi];
};

template <typename T, typename F>
bool leggiTabella(QByteArrayView dati, qint32 num, int campi, QList<T> *tabella, F leggiRecord)
{
    if (num < 1)
        return true;
    Lettore l(dati);
    QList<T> letti;
    letti.reserve(l.capienza(num, campi));
    for (qint32 i = 0; i < num; ++i) {
        T r;
        if (!leggiRecord(l, r))
            return false;
        letti.append(std::move(r));
    }
    *tabella = std::move(letti);
    return true;
}

} // namespace

QByteArray TestoComponenti(const QList<Componente> &tabella, qint32 num)
{
    return scriviTabella(tabella, num, 160, [](Scrittore &s, const Componente &c) {
        s.numero(c.ID);
        s.numero(c.IDTipo);
        s.numero(c.IDProduttore);
        s.numero(c.IDPackage);
        s.numero(c.Pins);
        s.testo(c.NomeTipo);
        s.testo(c.NomeProduttore);
        s.testo(c.Codice);
        s.numero(c.CodiceNumerico);
        s.testo(c.Descrizione);
        s.testo(c.Datasheet);
        s.testo(c.Immagine);
        s.numero(c.Quantita);
        s.testo(c.Note);
        s.data(c.DataInserimento);
        s.testo(c.Extra1);
        s.testo(c.Extra2);
        s.testo(c.Extra3);
        s.testo(c.Extra4);
        s.testo(c.Extra5);
        s.testo(c.Extra6);
    });
}

QByteArray TestoTipi(const QList<Tipo> &tabella, qint32 num)
{
    return scriviTabella(tabella, num, 24, [](Scrittore &s, const Tipo &t) {
        s.numero(t.ID);
        s.testo(t.Nome);
    });
}

QByteArray TestoProduttori(const QList<Produttore> &tabella, qint32 num)
{
    return scriviTabella(tabella, num, 24, [](Scrittore &s, const Produttore &p) {
        s.numero(p.ID);
        s.testo(p.Nome);
    });
}

QByteArray TestoPackages(const QList<Package> &tabella, qint32 num)
{
    return scriviTabella(tabella, num, 48, [](Scrittore &s, const Package &p) {
        s.numero(p.ID);
        s.testo(p.Nome);
        s.testo(p.Descrizione);
        s.testo(p.Immagine);
    });
}

bool LeggiComponenti(QByteArrayView dati, qint32 num, QList<Componente> *tabella)
{
    return leggiTabella(dati, num, 21, tabella, [](Lettore &l, Componente &c) {
        return l.numero(&c.ID) && l.numero(&c.IDTipo) && l.numero(&c.IDProduttore)
            && l.numero(&c.IDPackage) && l.numero(&c.Pins) && l.testo(&c.NomeTipo, 0)
            && l.testo(&c.NomeProduttore, 1) && l.testo(&c.Codice, 2)
            && l.numero(&c.CodiceNumerico) && l.testo(&c.Descrizione, 3) && l.testo(&c.Datasheet)
            && l.testo(&c.Immagine) && l.numero(&c.Quantita) && l.testo(&c.Note, 4)
            && l.data(&c.DataInserimento) && l.testo(&c.Extra1, 5) && l.testo(&c.Extra2, 6)
            && l.testo(&c.Extra3, 7) && l.testo(&c.Extra4, 8) && l.testo(&c.Extra5, 9)
            && l.testo(&c.Extra6, 10);
    });
}

bool LeggiTipi(QByteArrayView dati, qint32 num, QList<Tipo> *tabella)
{
    return leggiTabella(dati, num, 2, tabella,
                        [](Lettore &l, Tipo &t) { return l.numero(&t.ID) && l.testo(&t.Nome); });
}

bool LeggiProduttori(QByteArrayView dati, qint32 num, QList<Produttore> *tabella)
{
    return leggiTabella(dati, num, 2, tabella, [](Lettore &l, Produttore &p) {
        return l.numero(&p.ID) && l.testo(&p.Nome);
    });
}

bool LeggiPackages(QByteArrayView dati, qint32 num, QList<Package> *tabella)
{
    return leggiTabella(dati, num, 4, tabella, [](Lettore &l, Package &p) {
        return l.numero(&p.ID) && l.testo(&p.Nome) && l.testo(&p.Descrizione)
            && l.testo(&p.Immagine);
    });
}
