#include "ricevi/busta15434.h"

#include <QHash>
#include <QSet>

#include <algorithm>

#include <vector>

namespace {

constexpr char16_t GS = 0x1d;
constexpr char16_t RS = 0x1e;
constexpr char16_t EOT = 0x04;

struct FormaSeparatore {
    QStringView testo;
    char16_t separatore;
};

// The forms of the three separators recognised wherever they appear (letter
// case aside for the written ones).
const FormaSeparatore FormeSeparatori[] = {
    {u"\x1d", GS},  {u"\u241d", GS}, {u"\u2194", GS},   {u"\uf70b", GS},  {u"{GS}", GS},  {u"<GS>", GS},
    {u"[GS]", GS},  {u"^]", GS},     {u"\x1e", RS},     {u"\u241e", RS},  {u"\u25b2", RS}, {u"\uf70c", RS},
    {u"{RS}", RS},  {u"<RS>", RS},   {u"[RS]", RS},     {u"^^", RS},      {u"\x04", EOT}, {u"\u2404", EOT},
    {u"\u2666", EOT}, {u"{EOT}", EOT}, {u"<EOT>", EOT}, {u"[EOT]", EOT}, {u"^D", EOT},
};

bool Cifra(QChar c) { return c >= u'0' && c <= u'9'; }
bool Maiuscola(QChar c) { return c >= u'A' && c <= u'Z'; }

// A character that no part number holds: a control character, or one
// outside printable ASCII that is neither a letter nor a digit (a private-use
// character, a symbol such as "↔").
bool Estraneo(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || (c.unicode() > 0x7e && !c.isLetterOrNumber());
}

bool Spazio(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

QStringView SenzaSpazi(QStringView t)
{
    qsizetype a = 0;
    qsizetype b = t.size();
    while (a < b && Spazio(t[a]))
        ++a;
    while (b > a && Spazio(t[b - 1]))
        --b;
    return t.mid(a, b - a);
}

// The length of a form of the separator at pos; 0 when none is there.
qsizetype FormaIn(QStringView t, qsizetype pos, char16_t separatore)
{
    for (const FormaSeparatore &f : FormeSeparatori) {
        if (f.separatore == separatore
            && t.mid(pos, f.testo.size()).compare(f.testo, Qt::CaseInsensitive) == 0)
            return f.testo.size();
    }
    return 0;
}

// The text with every form of a separator turned into the control character
// itself; gs and rs, when not null, are forms that the header showed.
QString Normalizza(QStringView t, QChar gs, QChar rs)
{
    QString out;
    out.reserve(t.size());
    for (qsizetype i = 0; i < t.size();) {
        const QChar c = t[i];
        if (!c.isLetterOrNumber()) {
            bool trovata = false;
            for (const FormaSeparatore &f : FormeSeparatori) {
                if (t.mid(i, f.testo.size()).compare(f.testo, Qt::CaseInsensitive) == 0) {
                    out += QChar(f.separatore);
                    i += f.testo.size();
                    trovata = true;
                    break;
                }
            }
            if (trovata)
                continue;
            if (!gs.isNull() && c == gs) {
                out += QChar(GS);
                ++i;
                continue;
            }
            if (!rs.isNull() && c == rs) {
                out += QChar(RS);
                ++i;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// The data of the format end at its RS (or at an EOT that came without
// one); a trailer the scanner sent in some unknown form, and blanks, are
// dropped from the end.
QString FineDati(QString t)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == QChar(RS) || t[i] == QChar(EOT)) {
            t.truncate(i);
            break;
        }
    }
    qsizetype n = t.size();
    while (n > 0 && (Spazio(t[n - 1]) || (Estraneo(t[n - 1]) && t[n - 1] != QChar(GS))))
        --n;
    t.truncate(n);
    return t;
}

// The length of the data identifier that opens a field: up to three digits
// and a capital letter; 0 when the field opens otherwise.
qsizetype LunghezzaIdentificatore(QStringView campo)
{
    qsizetype i = 0;
    while (i < campo.size() && i < 3 && Cifra(campo[i]))
        ++i;
    return i < campo.size() && Maiuscola(campo[i]) ? i + 1 : 0;
}

// The identifiers of the label standard and of the distributors' labels.
bool IdentificatoreNoto(QStringView id)
{
    static const QSet<QString> noti = [] {
        QSet<QString> s{QStringLiteral("P"),   QStringLiteral("1P"),  QStringLiteral("2P"),  QStringLiteral("30P"),
                        QStringLiteral("33P"), QStringLiteral("Q"),   QStringLiteral("7Q"),  QStringLiteral("13Q"),
                        QStringLiteral("V"),   QStringLiteral("1V"),  QStringLiteral("K"),   QStringLiteral("1K"),
                        QStringLiteral("4K"),  QStringLiteral("10K"), QStringLiteral("11K"), QStringLiteral("14K"),
                        QStringLiteral("S"),   QStringLiteral("3S"),  QStringLiteral("4S"),  QStringLiteral("5S"),
                        QStringLiteral("1T"),  QStringLiteral("6D"),  QStringLiteral("9D"),  QStringLiteral("10D"),
                        QStringLiteral("4L"),  QStringLiteral("J")};
        for (int z = 11; z <= 20; ++z)
            s.insert(QString::number(z) + u'Z');
        return s;
    }();
    return noti.contains(id.toString());
}

CampoScansione Campo(QStringView testo)
{
    const QStringView t = SenzaSpazi(testo);
    const qsizetype l = LunghezzaIdentificatore(t);
    return {t.left(l).toString(), SenzaSpazi(t.mid(l)).toString()};
}

QList<CampoScansione> Dividi(QStringView dati)
{
    QList<CampoScansione> campi;
    for (const QStringView parte : dati.split(QChar(GS))) {
        if (!SenzaSpazi(parte).isEmpty())
            campi.append(Campo(parte));
    }
    return campi;
}

// Puts the fields into the reading, or the reason they cannot be used.
void Assegna(const QList<CampoScansione> &campi, Scansione *s)
{
    static const QHash<QString, QString Scansione::*> destinazioni{
        {QStringLiteral("1P"), &Scansione::codice},        {QStringLiteral("P"), &Scansione::codiceDistributore},
        {QStringLiteral("1V"), &Scansione::produttore},    {QStringLiteral("K"), &Scansione::ordineCliente},
        {QStringLiteral("1K"), &Scansione::ordine},        {QStringLiteral("10K"), &Scansione::fattura},
        {QStringLiteral("1T"), &Scansione::lotto},         {QStringLiteral("9D"), &Scansione::dataCodice},
        {QStringLiteral("4L"), &Scansione::paese}};
    QHash<QString, QString> visti;
    for (const CampoScansione &c : campi) {
        if (c.identificatore.isEmpty())
            continue;
        const auto gia = visti.constFind(c.identificatore);
        if (gia != visti.cend() && *gia != c.valore) {
            s->motivo = QStringLiteral("il campo %1 compare due volte con valori diversi").arg(c.identificatore);
            return;
        }
        visti.insert(c.identificatore, c.valore);
    }
    // V and 10D stand in for 1V and 9D only on a label without them.
    const bool con1V = visti.contains(QStringLiteral("1V"));
    const bool con9D = visti.contains(QStringLiteral("9D"));
    QString quantita;
    QSet<QString> messi;
    for (const CampoScansione &c : campi) {
        const QString &id = c.identificatore;
        if (messi.contains(id) && !id.isEmpty())
            continue; // the same field again, with the same value
        messi.insert(id);
        if (const auto d = destinazioni.constFind(id); d != destinazioni.cend())
            s->*(*d) = c.valore;
        else if (id == u"V" && !con1V)
            s->produttore = c.valore;
        else if (id == u"10D" && !con9D)
            s->dataCodice = c.valore;
        else if (id == u"Q")
            quantita = c.valore;
        else
            s->altri.append(c);
    }
    if (s->codice.isEmpty()) {
        s->motivo = QStringLiteral("l'etichetta non riporta il codice del produttore (1P)");
        return;
    }
    s->motivo = MotivoCodice(s->codice, QStringLiteral("1P"));
    if (s->motivo.isEmpty() && !quantita.isEmpty())
        s->motivo = MotivoQuantita(quantita, &s->quantita);
}

// The shape of a field's value in a text without separators.
struct Forma {
    bool (*carattere)(QChar);
    qsizetype minimo;
    qsizetype massimo;
    bool vuoto; // the field may come empty
};

bool Stampabile(QChar c) { return !Estraneo(c); }
bool CifraOPunto(QChar c) { return Cifra(c) || c == u'.'; }

Forma FormaDi(QStringView id)
{
    static const QSet<QString> numeri{QStringLiteral("Q"),   QStringLiteral("1K"),  QStringLiteral("10K"),
                                      QStringLiteral("11K"), QStringLiteral("14K"), QStringLiteral("12Z"),
                                      QStringLiteral("13Z"), QStringLiteral("14Z"), QStringLiteral("20Z")};
    if (numeri.contains(id.toString()))
        return {Cifra, 1, 200, false};
    if (id == u"9D" || id == u"10D")
        return {Cifra, 4, 4, false};
    if (id == u"4L")
        return {Maiuscola, 2, 2, true};
    if (id == u"11Z")
        return {Maiuscola, 1, 20, false};
    if (id == u"15Z")
        return {CifraOPunto, 1, 20, false};
    if (id == u"K")
        return {Stampabile, 1, 100, true};
    return {Stampabile, 1, 100, false};
}

// The ways a text without separators splits into the fields of one layout:
// how many (0, 1, or 2 for "more than one") and, for a single way, the
// fields.
class Divisione {
public:
    Divisione(QStringView testo, const DisposizioneEtichetta &d) : m_t(testo), m_id(d.identificatori)
    {
        for (const QString &id : m_id)
            m_forme.push_back(FormaDi(id));
        m_modi.assign((m_id.size() + 1) * (m_t.size() + 1), -1);
        m_fine.assign(m_modi.size(), 0);
    }

    int modi() { return conta(0, 0); }

    QList<CampoScansione> campi()
    {
        QList<CampoScansione> out;
        qsizetype pos = 0;
        for (qsizetype i = 0; i < m_id.size(); ++i) {
            const qsizetype inizio = pos + m_id[i].size();
            const qsizetype fine = m_fine[indice(i, pos)];
            out.append({m_id[i], m_t.mid(inizio, fine - inizio).toString()});
            pos = fine;
        }
        return out;
    }

private:
    qsizetype indice(qsizetype i, qsizetype pos) const { return i * (m_t.size() + 1) + pos; }

    int conta(qsizetype i, qsizetype pos)
    {
        if (i == m_id.size())
            return pos == m_t.size() ? 1 : 0;
        signed char &memo = m_modi[indice(i, pos)];
        if (memo >= 0)
            return memo;
        int modi = 0;
        if (m_t.mid(pos).startsWith(m_id[i])) {
            const Forma &f = m_forme[i];
            const qsizetype inizio = pos + m_id[i].size();
            for (qsizetype fine = inizio; fine <= m_t.size() && modi < 2; ++fine) {
                const qsizetype lunghezza = fine - inizio;
                if (lunghezza > f.massimo || (lunghezza > 0 && !f.carattere(m_t[fine - 1])))
                    break;
                if (lunghezza == 0 ? !f.vuoto : lunghezza < f.minimo)
                    continue;
                const int dopo = conta(i + 1, fine);
                if (dopo > 0) {
                    modi += dopo;
                    m_fine[indice(i, pos)] = fine;
                }
            }
        }
        memo = static_cast<signed char>(qMin(modi, 2));
        return memo;
    }

    QStringView m_t;
    const QList<QString> &m_id;
    std::vector<Forma> m_forme;
    std::vector<signed char> m_modi;
    std::vector<qsizetype> m_fine;
};

enum class Esito { Nessuna, Una, Ambigua };

// Splits a text without separators by the known layouts: one split in all
// (the fields in *campi), none, or more than one.
Esito DividiSenzaSeparatori(QStringView testo, QList<CampoScansione> *campi)
{
    QList<QList<CampoScansione>> trovate;
    for (const DisposizioneEtichetta &d : DisposizioniConosciute()) {
        Divisione divisione(testo, d);
        const int modi = divisione.modi();
        if (modi > 1)
            return Esito::Ambigua;
        if (modi == 1) {
            const QList<CampoScansione> c = divisione.campi();
            if (!trovate.contains(c))
                trovate.append(c);
        }
    }
    if (trovate.size() > 1)
        return Esito::Ambigua;
    if (trovate.isEmpty())
        return Esito::Nessuna;
    *campi = trovate.first();
    return Esito::Una;
}

const QString MotivoAmbiguo =
    QStringLiteral("mancano i separatori dei campi e il testo si pu\u00f2 dividere in pi\u00f9 modi");

// The fields of a text without separators, put into the reading: true when
// it fits the layouts (one way, or ambiguously: then the reason is set).
bool LeggiSenzaSeparatori(QStringView dati, Scansione *s)
{
    QList<CampoScansione> campi;
    switch (DividiSenzaSeparatori(dati, &campi)) {
    case Esito::Nessuna:
        return false;
    case Esito::Ambigua:
        s->motivo = MotivoAmbiguo;
        return true;
    case Esito::Una:
        break;
    }
    s->senzaSeparatori = true;
    for (CampoScansione &c : campi)
        c.valore = SenzaSpazi(c.valore).toString();
    Assegna(campi, s);
    return true;
}

} // namespace

const QList<DisposizioneEtichetta> &DisposizioniConosciute()
{
    static const QList<DisposizioneEtichetta> disposizioni{
        {QStringLiteral("Digi-Key"),
         {"P", "1P", "30P", "K", "1K", "10K", "9D", "1T", "11K", "4L", "Q", "11Z", "12Z", "13Z", "20Z"}},
        {QStringLiteral("Digi-Key (fino al 2022)"),
         {"P", "1P", "K", "1K", "10K", "11K", "4L", "Q", "11Z", "12Z", "13Z", "20Z"}},
        {QStringLiteral("Digi-Key (confezioni pronte)"),
         {"J", "P", "1P", "9D", "14Z", "1T", "4L", "11Z", "15Z", "12Z", "Q", "13Z"}},
        {QStringLiteral("Mouser"), {"K", "14K", "1P", "Q", "11K", "4L", "1V"}},
    };
    return disposizioni;
}

bool LettoreBusta15434::leggiConIntestazione(QStringView testo, Scansione *esito) const
{
    const QStringView t = SenzaSpazi(testo);
    qsizetype pos = t.startsWith(u">[)>") ? 1 : 0;
    if (!t.mid(pos).startsWith(u"[)>"))
        return false;
    pos += 3;
    esito->formato = FormatoScansione::Busta15434;

    // The separators as the header shows them.
    QChar rs;
    QChar gs;
    if (const qsizetype l = FormaIn(t, pos, RS))
        pos += l;
    else if (pos < t.size() && (t[pos] == u'^' || Estraneo(t[pos])))
        rs = t[pos++];
    if (pos + 2 > t.size() || !Cifra(t[pos]) || !Cifra(t[pos + 1])) {
        esito->motivo = QStringLiteral("dopo \"[)>\" manca il numero del formato");
        return true;
    }
    const QStringView formato = t.mid(pos, 2);
    pos += 2;
    if (formato != u"06") {
        esito->motivo = QStringLiteral("busta ISO/IEC 15434 di formato %1: si leggono solo le etichette di formato 06")
                            .arg(formato);
        return true;
    }
    // A separator after the format number: the fields come separated (a
    // label may hold one field only).
    bool separati = true;
    if (const qsizetype l = FormaIn(t, pos, GS))
        pos += l;
    else if (pos < t.size() && (t[pos] == u']' || Estraneo(t[pos])))
        gs = t[pos++];
    else
        separati = false;

    const QString dati = FineDati(Normalizza(t.mid(pos), gs, rs));
    if (separati || dati.contains(QChar(GS)) || dati.isEmpty()) {
        Assegna(Dividi(dati), esito);
    } else if (!LeggiSenzaSeparatori(dati, esito)) {
        esito->motivo = QStringLiteral("mancano i separatori dei campi e i campi non sono disposti come "
                                       "nell'etichetta di un distributore conosciuto");
    }
    return true;
}

bool LettoreBusta15434::leggiSenzaIntestazione(QStringView testo, Scansione *esito) const
{
    QString t = Normalizza(SenzaSpazi(testo), QChar(), QChar());
    // What is left of a lost header: the RS after "[)>", the format number;
    // or a garbled header, a first piece without an identifier of the
    // standard that holds an RS or ends with the format number.
    qsizetype inizio = 0;
    while (inizio < t.size() && (t[inizio] == QChar(RS) || Spazio(t[inizio])))
        ++inizio;
    t.remove(0, inizio);
    bool separati = false;
    if (const qsizetype g = t.indexOf(QChar(GS)); g > 0) {
        const QStringView primo = SenzaSpazi(QStringView(t).left(g));
        if (!IdentificatoreNoto(primo.left(LunghezzaIdentificatore(primo)))
            && (primo.contains(QChar(RS)) || primo.endsWith(u"06"))) {
            t.remove(0, g + 1);
            separati = true;
        }
    }
    const QString dati = FineDati(t);
    if (separati || dati.contains(QChar(GS))) {
        const QList<CampoScansione> campi = Dividi(dati);
        if (std::none_of(campi.cbegin(), campi.cend(),
                         [](const CampoScansione &c) { return IdentificatoreNoto(c.identificatore); }))
            return false;
        esito->formato = FormatoScansione::Busta15434;
        Assegna(campi, esito);
        return true;
    }
    Scansione s;
    s.testo = esito->testo;
    s.formato = FormatoScansione::Busta15434;
    const QStringView v(dati);
    if (LeggiSenzaSeparatori(v, &s) || (v.startsWith(u"06") && LeggiSenzaSeparatori(v.mid(2), &s))) {
        *esito = s;
        return true;
    }
    return false;
}
