#include "store/filetabelle.h"

#include "store/cp1252.h"
#include "store/numeri.h"

#include <QScopeGuard>

#include <atomic>
#include <charconv>
#include <cstring>
#include <future>
#include <limits>
#include <system_error>
#include <string_view>
#include <unordered_map>
#include <vector>

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
QByteArray scriviRecord(const QList<T> &tabella, qsizetype da, qsizetype a, qsizetype perRiga, F campi)
{
    Scrittore s((a - da) * perRiga);
    for (qsizetype i = da; i < a; ++i) {
        campi(s, tabella[i]);
        s.fineRiga();
    }
    return s.risultato();
}

// From this many records up, the second half is written by another thread.
constexpr qsizetype kRecordScritturaInDue = 20000;

template <typename T, typename F>
QByteArray scriviTabella(const QList<T> &tabella, qint32 num, qsizetype perRiga, F campi)
{
    const qsizetype n = qBound(qsizetype(0), qsizetype(num), tabella.size());
    if (n >= kRecordScritturaInDue) {
        try {
            auto seconda = std::async(std::launch::async,
                                      [&] { return scriviRecord(tabella, n / 2, n, perRiga, campi); });
            QByteArray testo = scriviRecord(tabella, 0, n / 2, perRiga, campi);
            testo.append(seconda.get());
            return testo;
        } catch (const std::system_error &) {
            // No thread to be had: written in one go below.
        }
    }
    return scriviRecord(tabella, 0, n, perRiga, campi);
}

// ---------------------------------------------------------------- reading

// "yyyy-mm-dd" optionally followed by " hh:mm" or " hh:mm:ss".
bool LeggiData(QByteArrayView s, QDateTime *d)
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

// Equal texts of one field, decoded once and then shared: a small
// open-addressing table keyed by the bytes, which point into the data being
// read (it outlives the reader). Only short texts are kept, and only the
// first ones met; a text that is not kept is simply decoded again.
class TestiCondivisi {
public:
    QString testo(QByteArrayView byte)
    {
        if (byte.size() > kLunghezzaMassima)
            return DecodificaCp1252(byte);
        if (m_posti.empty())
            m_posti.resize(kPosti);
        const quint64 h = Hash(byte);
        for (quint32 i = quint32(h) & (kPosti - 1);; i = (i + 1) & (kPosti - 1)) {
            Posto &p = m_posti[i];
            if (p.byte.data() == nullptr) {
                if (m_usati == kMassimo)
                    return DecodificaCp1252(byte);
                ++m_usati;
                p = {h, byte, DecodificaCp1252(byte)};
                return p.testo;
            }
            if (p.hash == h && p.byte == byte)
                return p.testo;
        }
    }

private:
    static constexpr qsizetype kLunghezzaMassima = 64;
    static constexpr quint32 kMassimo = 1024;
    static constexpr quint32 kPosti = 2048; // twice the entries kept

    // Eight bytes at a time: the texts are short.
    static quint64 Hash(QByteArrayView b)
    {
        quint64 h = quint64(b.size()) * 0x9E3779B97F4A7C15ull;
        qsizetype i = 0;
        for (; i + 8 <= b.size(); i += 8) {
            quint64 w;
            std::memcpy(&w, b.data() + i, 8);
            h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        }
        if (i < b.size()) {
            quint64 w = 0;
            std::memcpy(&w, b.data() + i, size_t(b.size() - i));
            h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        }
        return h ^ (h >> 32);
    }

    struct Posto {
        quint64 hash = 0;
        QByteArrayView byte;
        QString testo;
    };
    std::vector<Posto> m_posti; // made on the first text kept
    quint32 m_usati = 0;
};

// Dates of one load: each distinct stored text is read once.
class DateLette {
public:
    bool leggi(QByteArrayView byte, QDateTime *d)
    {
        const auto chiave = std::string_view(byte.data(), size_t(byte.size()));
        const auto it = m_lette.find(chiave);
        if (it != m_lette.end()) {
            *d = it->second;
            return true;
        }
        if (!LeggiData(byte, d))
            return false;
        if (m_lette.size() < 65536)
            m_lette.emplace(chiave, *d);
        return true;
    }

private:
    // Keys point into the data being read, which outlives the reader.
    std::unordered_map<std::string_view, QDateTime> m_lette;
};

class Lettore {
public:
    explicit Lettore(QByteArrayView dati) : m_p(dati.data()), m_fine(dati.data() + dati.size()) {}

    bool numero(qint32 *v)
    {
        if (!prossimo())
            return false;
        // Nearly every stored number is a few plain digits.
        if (!m_item.isEmpty() && m_item.size() <= 9) {
            qint32 n = 0;
            qsizetype i = 0;
            while (i < m_item.size() && m_item[i] >= '0' && m_item[i] <= '9')
                n = n * 10 + (m_item[i++] - '0');
            if (i == m_item.size()) {
                *v = n;
                return true;
            }
        }
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
        if (m_item.isEmpty())
            *s = QString();
        else if (campo >= 0 && campo < kCampiCondivisi)
            *s = m_condivisi[campo].testo(m_item);
        else
            *s = DecodificaCp1252(m_item);
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
        // A stock list holds a few thousand distinct days at most: each
        // distinct text is read once.
        return m_date.leggi(m_item, d);
    }
    // Room for at most this many records of n fields: every field takes at
    // least one byte, so a short file cannot ask for a huge table.
    qsizetype capienza(qint32 num, int campi) const
    {
        return qMin<qsizetype>(num, (m_fine - m_p) / campi + 1);
    }

    // Where the next item starts, and whether the last one ended with a
    // comma (the next item then belongs to the same line).
    const char *posizione() const { return m_p; }
    bool dopoVirgola() const { return m_dopoVirgola; }

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

    const char *m_p;
    const char *m_fine;
    QByteArrayView m_item;
    bool m_dopoVirgola = false;
    TestiCondivisi m_condivisi[kCampiCondivisi];
    DateLette m_date;
};

// Reads up to num records from the start of dati, stopping at the first
// one that cannot be read or when told to stop; returns those read whole.
template <typename T, typename F>
QList<T> leggiFinoA(QByteArrayView dati, qint32 num, qsizetype attesi, F leggiRecord,
                    const std::atomic<bool> &basta)
{
    Lettore l(dati);
    QList<T> letti;
    letti.reserve(attesi);
    while (letti.size() < num && !basta.load(std::memory_order_relaxed)) {
        if (!leggiRecord(l, letti.emplace_back())) {
            letti.removeLast();
            break;
        }
    }
    return letti;
}

// The first line start after the middle of dati, or -1.
qsizetype inizioRigaDopoMeta(QByteArrayView dati)
{
    const qsizetype a = dati.indexOf('\n', dati.size() / 2);
    return a >= 0 && a + 1 < dati.size() ? a + 1 : -1;
}

// A large file is read by two threads. The second one reads from the first
// line start after the middle while this one reads from the start. When
// this reading arrives exactly at that line start, between two records, the
// rest is what the second thread read: from there both readings are one and
// the same. When a record runs across that line start instead, the second
// reading is dropped and this one goes on alone, so the result never
// depends on where the file was split.
template <typename T, typename F>
bool leggiTabella(QByteArrayView dati, qint32 num, int campi, QList<T> *tabella,
                  qsizetype sogliaParallelo, F leggiRecord)
{
    if (num < 1)
        return true;
    std::atomic<bool> basta{false};
    std::future<QList<T>> seconda;
    const qsizetype meta = dati.size() >= sogliaParallelo ? inizioRigaDopoMeta(dati) : -1;
    if (meta > 0) {
        try {
            // Room for this part's share of the records, judged by its share
            // of the bytes, and a tenth more.
            const qsizetype attesi = qMin<qsizetype>(
                Lettore(dati).capienza(num, campi),
                qsizetype(double(num) * double(dati.size() - meta) / double(dati.size()) * 1.1) + 16);
            seconda = std::async(std::launch::async, [&, meta, attesi] {
                return leggiFinoA<T>(dati.sliced(meta), num, attesi, leggiRecord, basta);
            });
        } catch (const std::system_error &) {
            // No thread to be had: one reading does it all.
        }
    }
    const char *giunzione = seconda.valid() ? dati.data() + meta : nullptr;
    // Whatever way this ends, the second thread stops and is waited for
    // before the data it reads can go away.
    const auto fermaSeconda = qScopeGuard([&] {
        basta = true;
        if (seconda.valid())
            seconda.wait();
    });

    Lettore l(dati);
    QList<T> letti;
    letti.reserve(l.capienza(num, campi));
    while (letti.size() < num) {
        // Read in place: a record is large, and moving it costs as much as
        // reading a few of its fields.
        if (!leggiRecord(l, letti.emplace_back()))
            return false;
        if (giunzione && l.posizione() >= giunzione) {
            if (l.posizione() > giunzione || l.dopoVirgola()) {
                giunzione = nullptr;
                basta = true;
                continue;
            }
            QList<T> resto = seconda.get();
            const qsizetype servono = num - letti.size();
            if (resto.size() < servono)
                return false; // the data runs out, or a record is damaged
            letti.reserve(num);
            for (qsizetype i = 0; i < servono; ++i)
                letti.append(std::move(resto[i]));
            break;
        }
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

namespace {

bool leggiComponente(Lettore &l, Componente &c)
{
    return l.numero(&c.ID) && l.numero(&c.IDTipo) && l.numero(&c.IDProduttore)
        && l.numero(&c.IDPackage) && l.numero(&c.Pins) && l.testo(&c.NomeTipo, 0)
        && l.testo(&c.NomeProduttore, 1) && l.testo(&c.Codice, 2)
        && l.numero(&c.CodiceNumerico) && l.testo(&c.Descrizione, 3) && l.testo(&c.Datasheet)
        && l.testo(&c.Immagine) && l.numero(&c.Quantita) && l.testo(&c.Note, 4)
        && l.data(&c.DataInserimento) && l.testo(&c.Extra1, 5) && l.testo(&c.Extra2, 6)
        && l.testo(&c.Extra3, 7) && l.testo(&c.Extra4, 8) && l.testo(&c.Extra5, 9)
        && l.testo(&c.Extra6, 10);
}

// Types and manufacturers share one layout.
template <typename T>
bool leggiVoce(Lettore &l, T &v)
{
    return l.numero(&v.ID) && l.testo(&v.Nome);
}

bool leggiPackage(Lettore &l, Package &p)
{
    return l.numero(&p.ID) && l.testo(&p.Nome) && l.testo(&p.Descrizione) && l.testo(&p.Immagine);
}

} // namespace

bool LeggiComponenti(QByteArrayView dati, qint32 num, QList<Componente> *tabella, qsizetype sogliaParallelo)
{
    return leggiTabella(dati, num, 21, tabella, sogliaParallelo, leggiComponente);
}

bool LeggiTipi(QByteArrayView dati, qint32 num, QList<Tipo> *tabella, qsizetype sogliaParallelo)
{
    return leggiTabella(dati, num, 2, tabella, sogliaParallelo, leggiVoce<Tipo>);
}

bool LeggiProduttori(QByteArrayView dati, qint32 num, QList<Produttore> *tabella, qsizetype sogliaParallelo)
{
    return leggiTabella(dati, num, 2, tabella, sogliaParallelo, leggiVoce<Produttore>);
}

bool LeggiPackages(QByteArrayView dati, qint32 num, QList<Package> *tabella, qsizetype sogliaParallelo)
{
    return leggiTabella(dati, num, 4, tabella, sogliaParallelo, leggiPackage);
}

namespace {

// Whether the data has more lines than limite, counting a last line
// without its line end; stops reading as soon as it knows.
bool piuRigheDi(QByteArrayView dati, qint64 limite)
{
    const char *p = dati.data();
    const char *fine = p + dati.size();
    qint64 righe = 0;
    while (p < fine) {
        if (++righe > limite)
            return true;
        const void *a = std::memchr(p, '\n', std::size_t(fine - p));
        if (!a)
            break;
        p = static_cast<const char *>(a) + 1;
    }
    return false;
}

template <typename T, typename F>
qint32 contaRecord(QByteArrayView dati, F leggiRecord)
{
    qint32 n = 0;
    Lettore l(dati);
    T record;
    while (n < std::numeric_limits<qint32>::max() && leggiRecord(l, record))
        ++n;
    return n;
}

} // namespace

bool PiuRecordDi(QByteArrayView dati, TabellaFile tabella, qint32 limite, qint32 *trovati)
{
    qsizetype fine = dati.size();
    while (fine > 0 && (dati[fine - 1] == ' ' || dati[fine - 1] == '\t' || dati[fine - 1] == '\r'
                        || dati[fine - 1] == '\n'))
        --fine;
    dati = dati.first(fine);
    // Every record ends a line, so there are no more records than lines: a
    // file written by the program is checked without reading a record.
    limite = qMax(limite, 0);
    if (!piuRigheDi(dati, limite))
        return false;
    qint32 n = 0;
    switch (tabella) {
    case TabellaFile::Componenti:
        n = contaRecord<Componente>(dati, leggiComponente);
        break;
    case TabellaFile::Tipi:
        n = contaRecord<Tipo>(dati, leggiVoce<Tipo>);
        break;
    case TabellaFile::Produttori:
        n = contaRecord<Produttore>(dati, leggiVoce<Produttore>);
        break;
    case TabellaFile::Packages:
        n = contaRecord<Package>(dati, leggiPackage);
        break;
    }
    if (n <= limite)
        return false;
    *trovati = n;
    return true;
}
