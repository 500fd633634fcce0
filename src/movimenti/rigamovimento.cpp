#include "movimenti/rigamovimento.h"

#include <QFileInfo>

#include <array>
#include <charconv>
#include <limits>

namespace {

const QString SeparatoreCambio = QStringLiteral(" → ");
const QString SeparatoreCampi = QStringLiteral("; ");
const QString PrefissoAnnullamento = QStringLiteral("Annullamento dell'operazione ");
const QString PrefissoImportazione = QStringLiteral("Importazione ");
const QString PrefissoDistinta = QStringLiteral("Distinta ");

constexpr char16_t SimboloCr = u'\u240D';
constexpr char16_t SimboloLf = u'\u240A';

constexpr int NumeroColonne = 11;

// ------------------------------------------------------------ numbers

template <typename T>
std::optional<T> Intero(QByteArrayView testo)
{
    T v{};
    const char *inizio = testo.data(), *fine = testo.data() + testo.size();
    if (testo.startsWith('+'))
        ++inizio;
    const auto [p, ec] = std::from_chars(inizio, fine, v);
    if (inizio == fine || ec != std::errc() || p != fine)
        return std::nullopt;
    return v;
}

template <typename T>
std::optional<T> Intero(const QString &testo)
{
    return Intero<T>(QByteArrayView(testo.toLatin1()));
}

QString Firmato(qint64 v)
{
    return v > 0 ? QStringLiteral("+") + QString::number(v) : QString::number(v);
}

// ------------------------------------------------------------ dates

void Cifre(char *&p, int v, int n)
{
    for (int i = n - 1; i >= 0; --i) {
        p[i] = char('0' + v % 10);
        v /= 10;
    }
    p += n;
}

// yyyy-MM-dd, with " hh:mm:ss" when conOra.
QByteArray TestoData(const QDate &g, const QTime &t, bool conOra)
{
    char buffer[48];
    char *p = buffer;
    const int anno = g.year();
    if (anno >= 0 && anno <= 9999)
        Cifre(p, anno, 4);
    else
        p = std::to_chars(p, buffer + 12, anno).ptr;
    *p++ = '-';
    Cifre(p, g.month(), 2);
    *p++ = '-';
    Cifre(p, g.day(), 2);
    if (conOra) {
        *p++ = ' ';
        Cifre(p, t.hour(), 2);
        *p++ = ':';
        Cifre(p, t.minute(), 2);
        *p++ = ':';
        Cifre(p, t.second(), 2);
    }
    return QByteArray(buffer, p - buffer);
}

// A date written by TestoData, in the time zone given; nothing when it is
// not one (or has no time of day when conOra).
std::optional<QDateTime> LeggiData(QByteArrayView testo, Qt::TimeSpec zona, bool conOra = false)
{
    // The year may have a sign and any number of digits.
    const qsizetype trattino = testo.indexOf('-', 1);
    if (trattino < 0)
        return std::nullopt;
    const auto anno = Intero<int>(testo.first(trattino));
    const QByteArrayView resto = testo.sliced(trattino);
    if (!anno || (resto.size() != 6 && resto.size() != 15) || (conOra && resto.size() != 15)
        || resto[0] != '-' || resto[3] != '-')
        return std::nullopt;
    const auto mese = Intero<int>(resto.sliced(1, 2)), giorno = Intero<int>(resto.sliced(4, 2));
    if (!mese || !giorno)
        return std::nullopt;
    QTime ora(0, 0);
    if (resto.size() == 15) {
        if (resto[6] != ' ' || resto[9] != ':' || resto[12] != ':')
            return std::nullopt;
        const auto h = Intero<int>(resto.sliced(7, 2)), m = Intero<int>(resto.sliced(10, 2)),
                   s = Intero<int>(resto.sliced(13, 2));
        if (!h || !m || !s)
            return std::nullopt;
        ora = QTime(*h, *m, *s);
    }
    const QDate data(*anno, *mese, *giorno);
    if (!data.isValid() || !ora.isValid())
        return std::nullopt;
    return QDateTime(data, ora, zona);
}

// ------------------------------------------------------------ fields

enum class Genere { Testo, Numero, Data };

struct Campo {
    const char *nome;
    Genere genere;
    QString Componente::*testo = nullptr;
    qint32 Componente::*numero = nullptr;
};

// The fields of a record in the history, in the order they are written.
// The quantity comes third in a whole record and never among the changes.
const std::array<Campo, 20> &Campi()
{
    static const std::array<Campo, 20> campi{{
        {"Codice", Genere::Testo, &Componente::Codice},
        {"Codice numerico", Genere::Numero, nullptr, &Componente::CodiceNumerico},
        {"Quantità", Genere::Numero, nullptr, &Componente::Quantita},
        {"Tipo", Genere::Testo, &Componente::NomeTipo},
        {"ID tipo", Genere::Numero, nullptr, &Componente::IDTipo},
        {"Produttore", Genere::Testo, &Componente::NomeProduttore},
        {"ID produttore", Genere::Numero, nullptr, &Componente::IDProduttore},
        {"ID package", Genere::Numero, nullptr, &Componente::IDPackage},
        {"Pins", Genere::Numero, nullptr, &Componente::Pins},
        {"Descrizione", Genere::Testo, &Componente::Descrizione},
        {"Note", Genere::Testo, &Componente::Note},
        {"Datasheet", Genere::Testo, &Componente::Datasheet},
        {"Immagine", Genere::Testo, &Componente::Immagine},
        {"Data inserimento", Genere::Data},
        {"Campo personale 1", Genere::Testo, &Componente::Extra1},
        {"Campo personale 2", Genere::Testo, &Componente::Extra2},
        {"Campo personale 3", Genere::Testo, &Componente::Extra3},
        {"Campo personale 4", Genere::Testo, &Componente::Extra4},
        {"Campo personale 5", Genere::Testo, &Componente::Extra5},
        {"Campo personale 6", Genere::Testo, &Componente::Extra6},
    }};
    return campi;
}

const Campo *CampoDaNome(const QString &nome)
{
    for (const Campo &c : Campi()) {
        if (nome == QString::fromUtf8(c.nome))
            return &c;
    }
    return nullptr;
}

QString Valore(const Componente &c, const Campo &campo)
{
    switch (campo.genere) {
    case Genere::Testo:
        return c.*campo.testo;
    case Genere::Numero:
        return QString::number(c.*campo.numero);
    case Genere::Data:
        if (!c.DataInserimento.isValid())
            return {};
        return QString::fromLatin1(TestoData(c.DataInserimento.date(), c.DataInserimento.time(),
                                             c.DataInserimento.time() != QTime(0, 0)));
    }
    return {};
}

bool Imposta(Componente &c, const Campo &campo, const QString &valore)
{
    switch (campo.genere) {
    case Genere::Testo:
        c.*campo.testo = valore;
        return true;
    case Genere::Numero:
        if (const auto n = Intero<qint32>(valore)) {
            c.*campo.numero = *n;
            return true;
        }
        return false;
    case Genere::Data:
        if (valore.isEmpty()) {
            c.DataInserimento = QDateTime();
            return true;
        }
        // Stored dates are kept in UTC (store/records.h).
        if (const auto d = LeggiData(QByteArrayView(valore.toLatin1()), Qt::UTC)) {
            c.DataInserimento = *d;
            return true;
        }
        return false;
    }
    return false;
}

// A value between double quotes, a double quote inside doubled.
QString Virgolettato(const QString &valore)
{
    QString v = valore;
    v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

// Reads a quoted value at pos, moving pos past it.
std::optional<QString> LeggiVirgolettato(const QString &testo, qsizetype &pos)
{
    if (pos >= testo.size() || testo[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString valore;
    for (qsizetype i = pos + 1; i < testo.size(); ++i) {
        if (testo[i] != QLatin1Char('"')) {
            valore += testo[i];
            continue;
        }
        if (i + 1 < testo.size() && testo[i + 1] == QLatin1Char('"')) {
            valore += QLatin1Char('"');
            ++i;
            continue;
        }
        pos = i + 1;
        return valore;
    }
    return std::nullopt;
}

// The entries of a Dettagli text: "Nome: "valore"" or "Nome: "a" → "b"",
// separated by "; ". For an entry of one value, dopo is empty and
// *conCambio false.
struct Voce {
    QString nome;
    QString prima;
    QString dopo;
    bool cambio = false;
};
std::optional<QList<Voce>> LeggiVoci(const QString &testo)
{
    QList<Voce> voci;
    qsizetype pos = 0;
    while (pos < testo.size()) {
        const qsizetype duepunti = testo.indexOf(QStringLiteral(": "), pos);
        if (duepunti < 0)
            return std::nullopt;
        Voce v;
        v.nome = testo.mid(pos, duepunti - pos);
        pos = duepunti + 2;
        const auto prima = LeggiVirgolettato(testo, pos);
        if (!prima)
            return std::nullopt;
        v.prima = *prima;
        if (QStringView(testo).sliced(pos).startsWith(SeparatoreCambio)) {
            pos += SeparatoreCambio.size();
            const auto dopo = LeggiVirgolettato(testo, pos);
            if (!dopo)
                return std::nullopt;
            v.dopo = *dopo;
            v.cambio = true;
        }
        voci.append(v);
        if (pos == testo.size())
            break;
        if (!QStringView(testo).sliced(pos).startsWith(SeparatoreCampi))
            return std::nullopt;
        pos += SeparatoreCampi.size();
    }
    return voci;
}

// ------------------------------------------------------------ CSV

void AccodaCampo(QByteArray &out, const QString &testo)
{
    out += '"';
    QString t = testo;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    t.replace(QLatin1Char('\r'), QChar(SimboloCr));
    t.replace(QLatin1Char('\n'), QChar(SimboloLf));
    out += t.toUtf8();
    out += '"';
}

void AccodaAscii(QByteArray &out, QByteArrayView ascii)
{
    out += '"';
    out += ascii;
    out += '"';
}

QString TestoCampo(QByteArrayView byte)
{
    QString t = QString::fromUtf8(byte);
    t.replace(QChar(SimboloCr), QLatin1Char('\r'));
    t.replace(QChar(SimboloLf), QLatin1Char('\n'));
    return t;
}

// Splits a line into its fields: each between double quotes ("" for one)
// or, written by another program, bare up to the next semicolon.
bool DividiCampi(QByteArrayView riga, std::array<QByteArray, NumeroColonne> *campi)
{
    qsizetype pos = 0;
    for (int n = 0; n < NumeroColonne; ++n) {
        QByteArray &campo = (*campi)[n];
        if (pos < riga.size() && riga[pos] == '"') {
            ++pos;
            for (;;) {
                const qsizetype virgolette = riga.indexOf('"', pos);
                if (virgolette < 0)
                    return false;
                campo += riga.sliced(pos, virgolette - pos);
                pos = virgolette + 1;
                if (pos < riga.size() && riga[pos] == '"') {
                    campo += '"';
                    ++pos;
                    continue;
                }
                break;
            }
        } else {
            qsizetype fine = riga.indexOf(';', pos);
            if (fine < 0)
                fine = riga.size();
            campo = riga.sliced(pos, fine - pos).toByteArray();
            pos = fine;
        }
        if (n == NumeroColonne - 1)
            return pos == riga.size();
        if (pos >= riga.size() || riga[pos] != ';')
            return false;
        ++pos;
    }
    return false;
}

std::optional<std::optional<qint32>> QuantitaFacoltativa(const QByteArray &campo)
{
    if (campo.isEmpty())
        return std::optional<qint32>();
    if (const auto n = Intero<qint32>(QByteArrayView(campo)))
        return std::optional<qint32>(*n);
    return std::nullopt;
}

} // namespace

// ------------------------------------------------------------ kinds

QString TestoMovimento(TipoMovimento tipo)
{
    switch (tipo) {
    case TipoMovimento::Nuovo: return QStringLiteral("Nuovo");
    case TipoMovimento::Modifica: return QStringLiteral("Modifica");
    case TipoMovimento::Eliminazione: return QStringLiteral("Eliminazione");
    case TipoMovimento::Importazione: return QStringLiteral("Importazione");
    case TipoMovimento::Distinta: return QStringLiteral("Distinta");
    case TipoMovimento::AggiuntaPezzi: return QStringLiteral("Aggiunta pezzi");
    case TipoMovimento::PrelievoPezzi: return QStringLiteral("Prelievo pezzi");
    case TipoMovimento::Ricevimento: return QStringLiteral("Ricevimento");
    case TipoMovimento::Annullamento: return QStringLiteral("Annullamento");
    case TipoMovimento::Ripristino: return QStringLiteral("Ripristino");
    case TipoMovimento::Altro: break;
    }
    return {};
}

QString MovimentoImportazione(const QString &file)
{
    return PrefissoImportazione + QFileInfo(file).fileName();
}

QString MovimentoDistinta(const QString &file, qint32 schede)
{
    return PrefissoDistinta + QFileInfo(file).fileName() + QStringLiteral(" × ") + QString::number(schede)
        + (schede == 1 ? QStringLiteral(" scheda") : QStringLiteral(" schede"));
}

QString MovimentoAnnullamento(qint64 operazione)
{
    return PrefissoAnnullamento + QString::number(operazione);
}

TipoMovimento TipoDiMovimento(const QString &movimento, qint64 *annullata)
{
    if (movimento.startsWith(PrefissoAnnullamento)) {
        const auto n = Intero<qint64>(movimento.mid(PrefissoAnnullamento.size()));
        if (n && *n > 0) {
            if (annullata)
                *annullata = *n;
            return TipoMovimento::Annullamento;
        }
        return TipoMovimento::Altro;
    }
    if (movimento.startsWith(PrefissoImportazione))
        return TipoMovimento::Importazione;
    if (movimento.startsWith(PrefissoDistinta))
        return TipoMovimento::Distinta;
    for (TipoMovimento t : {TipoMovimento::Nuovo, TipoMovimento::Modifica, TipoMovimento::Eliminazione,
                            TipoMovimento::AggiuntaPezzi, TipoMovimento::PrelievoPezzi,
                            TipoMovimento::Ricevimento, TipoMovimento::Ripristino}) {
        if (movimento == TestoMovimento(t))
            return t;
    }
    return TipoMovimento::Altro;
}

// ------------------------------------------------------------ lines

QByteArray IntestazioneMovimenti()
{
    return QByteArrayLiteral("\xEF\xBB\xBF"
                             "\"Data e ora\";\"Operazione\";\"Movimento\";\"ID\";\"Codice\";\"Produttore\";"
                             "\"Prima\";\"Dopo\";\"Differenza\";\"Nota\";\"Dettagli\"\r\n");
}

QByteArray TestoRigaMovimento(const RigaMovimento &riga)
{
    QByteArray out;
    out.reserve(128 + riga.dettagli.size() * 2);
    AccodaAscii(out, TestoData(riga.momento.date(), riga.momento.time(), true));
    out += ';';
    AccodaAscii(out, QByteArray::number(riga.operazione));
    out += ';';
    AccodaCampo(out, riga.movimento);
    out += ';';
    AccodaAscii(out, QByteArray::number(riga.id));
    out += ';';
    AccodaCampo(out, riga.codice);
    out += ';';
    AccodaCampo(out, riga.produttore);
    out += ';';
    AccodaAscii(out, riga.prima ? QByteArray::number(*riga.prima) : QByteArray());
    out += ';';
    AccodaAscii(out, riga.dopo ? QByteArray::number(*riga.dopo) : QByteArray());
    out += ';';
    AccodaAscii(out, Firmato(riga.differenza()).toLatin1());
    out += ';';
    AccodaCampo(out, riga.nota);
    out += ';';
    AccodaCampo(out, riga.dettagli);
    out += "\r\n";
    return out;
}

std::optional<RigaMovimento> LeggiRigaMovimento(QByteArrayView testo)
{
    std::array<QByteArray, NumeroColonne> campi;
    if (!DividiCampi(testo, &campi))
        return std::nullopt;
    RigaMovimento r;
    const auto momento = LeggiData(QByteArrayView(campi[0]), Qt::LocalTime, true);
    const auto operazione = Intero<qint64>(QByteArrayView(campi[1]));
    const auto id = Intero<qint32>(QByteArrayView(campi[3]));
    const auto prima = QuantitaFacoltativa(campi[6]);
    const auto dopo = QuantitaFacoltativa(campi[7]);
    if (!momento || !operazione || *operazione < 1 || !id || !prima || !dopo)
        return std::nullopt;
    r.momento = *momento;
    r.operazione = *operazione;
    r.movimento = TestoCampo(campi[2]);
    r.id = *id;
    r.codice = TestoCampo(campi[4]);
    r.produttore = TestoCampo(campi[5]);
    r.prima = *prima;
    r.dopo = *dopo;
    r.nota = TestoCampo(campi[9]);
    r.dettagli = TestoCampo(campi[10]);
    return r;
}

// ------------------------------------------------------------ Dettagli

QList<CampoCambiato> CampiCambiati(const Componente &prima, const Componente &dopo)
{
    QList<CampoCambiato> cambiati;
    for (const Campo &campo : Campi()) {
        if (campo.numero == &Componente::Quantita)
            continue;
        const QString a = Valore(prima, campo), b = Valore(dopo, campo);
        if (a != b)
            cambiati.append({QString::fromUtf8(campo.nome), a, b});
    }
    return cambiati;
}

QString TestoCambiamenti(const QList<CampoCambiato> &campi)
{
    QStringList voci;
    for (const CampoCambiato &c : campi)
        voci << c.campo + QStringLiteral(": ") + Virgolettato(c.prima) + SeparatoreCambio + Virgolettato(c.dopo);
    return voci.join(SeparatoreCampi);
}

std::optional<QList<CampoCambiato>> LeggiCambiamenti(const QString &testo)
{
    const auto voci = LeggiVoci(testo);
    if (!voci)
        return std::nullopt;
    QList<CampoCambiato> campi;
    for (const Voce &v : *voci) {
        if (!v.cambio || !CampoDaNome(v.nome))
            return std::nullopt;
        campi.append({v.nome, v.prima, v.dopo});
    }
    return campi;
}

QString TestoRecord(const Componente &c)
{
    QStringList voci;
    for (const Campo &campo : Campi())
        voci << QString::fromUtf8(campo.nome) + QStringLiteral(": ") + Virgolettato(Valore(c, campo));
    return voci.join(SeparatoreCampi);
}

std::optional<Componente> LeggiRecord(const QString &testo, qint32 id)
{
    const auto voci = LeggiVoci(testo);
    if (!voci)
        return std::nullopt;
    Componente c;
    c.ID = id;
    std::array<bool, 20> letti{};
    for (const Voce &v : *voci) {
        const Campo *campo = CampoDaNome(v.nome);
        if (!campo || v.cambio || !Imposta(c, *campo, v.prima))
            return std::nullopt;
        letti[std::size_t(campo - Campi().data())] = true;
    }
    for (bool letto : letti) {
        if (!letto)
            return std::nullopt;
    }
    return c;
}

QString ValoreCampo(const Componente &c, const QString &campo)
{
    const Campo *f = CampoDaNome(campo);
    return f ? Valore(c, *f) : QString();
}

bool ImpostaCampo(Componente &c, const QString &campo, const QString &valore)
{
    const Campo *f = CampoDaNome(campo);
    return f && Imposta(c, *f, valore);
}
