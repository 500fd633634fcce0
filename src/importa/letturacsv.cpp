#include "importa/letturacsv.h"

#include "components/regole.h"
#include "csv/testocsv.h"
#include "store/cp1252.h"
#include "store/localeutente.h"
#include "store/numeri.h"
#include "store/orologio.h"
#include "store/stato.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace {

// The column a header name stands for, if any.
std::optional<CampoCSV> CampoDaNome(const QString &nome, const Stato &stato)
{
    static const QHash<QString, CampoCSV> noti = {
        {QStringLiteral("codice"), CampoCSV::Codice},
        {QStringLiteral("produttore"), CampoCSV::Produttore},
        {QStringLiteral("tipo"), CampoCSV::Tipo},
        {QStringLiteral("qt\u00e0"), CampoCSV::Quantita},
        {QStringLiteral("qta"), CampoCSV::Quantita},
        {QStringLiteral("quantit\u00e0"), CampoCSV::Quantita},
        {QStringLiteral("quantita"), CampoCSV::Quantita},
        {QStringLiteral("inserito"), CampoCSV::Inserito},
        {QStringLiteral("data"), CampoCSV::Inserito},
        {QStringLiteral("descrizione"), CampoCSV::Descrizione},
        {QStringLiteral("package"), CampoCSV::Package},
        {QStringLiteral("pins"), CampoCSV::Pins},
        {QStringLiteral("pin"), CampoCSV::Pins},
        {QStringLiteral("piedini"), CampoCSV::Pins},
        {QStringLiteral("note"), CampoCSV::Note},
        {QStringLiteral("datasheet"), CampoCSV::Datasheet},
        {QStringLiteral("immagine"), CampoCSV::Immagine},
        {QStringLiteral("extra1"), CampoCSV::Extra1},
        {QStringLiteral("extra2"), CampoCSV::Extra2},
        {QStringLiteral("extra3"), CampoCSV::Extra3},
        {QStringLiteral("extra4"), CampoCSV::Extra4},
        {QStringLiteral("extra5"), CampoCSV::Extra5},
        {QStringLiteral("extra6"), CampoCSV::Extra6},
    };
    const QString chiave = nome.trimmed().toLower();
    const auto it = noti.constFind(chiave);
    if (it != noti.constEnd())
        return *it;
    // The custom fields are also known by the labels the user gave them.
    for (int i = 1; i <= 6; ++i) {
        if (!chiave.isEmpty() && stato.Etichette[i].trimmed().toLower() == chiave)
            return CampoCSV(int(CampoCSV::Extra1) + i - 1);
    }
    return std::nullopt;
}

// Double quotes cannot be stored in the table files.
QString SenzaVirgolette(QString testo)
{
    testo.replace(QLatin1Char('"'), QLatin1Char('\''));
    return testo;
}

// A free text as a save stores it, without the blanks the clean-up may
// leave at its ends (a comma first or last becomes " - ").
QString Pulito(const QString &testo)
{
    if (!testo.contains(QLatin1Char('"')) && !testo.contains(QLatin1Char(',')))
        return testo; // trimmed already, and nothing to clean
    return PulisciTesto(testo).trimmed();
}

// Each line break in a field of a record spanning lines becomes one blank,
// as the clean-up turns a CR LF pair into one.
void UnisciRighe(QString &campo)
{
    if (!campo.contains(QLatin1Char('\n')) && !campo.contains(QLatin1Char('\r')))
        return;
    campo.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    campo.replace(QLatin1Char('\r'), QLatin1Char(' '));
    campo.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

struct Riga {
    int numero = 0;
    QStringView testo;   // without its line end
    qsizetype inizio = 0; // where it starts in the text
};

// The physical lines of the text, one after the other, numbered from 1.
// Each ends at a LF, or at a CR in a file without any LF (an old Mac's);
// a CR before the LF is not part of the line. A final line end is followed
// by one more, empty line.
class Righe {
public:
    explicit Righe(QStringView testo)
        : m_testo(testo), m_fine(testo.contains(QLatin1Char('\n')) ? u'\n' : u'\r')
    {
    }

    bool prossima(Riga *riga)
    {
        if (m_pos > m_testo.size())
            return false;
        qsizetype fine = m_testo.indexOf(m_fine, m_pos);
        if (fine < 0)
            fine = m_testo.size();
        QStringView r = m_testo.mid(m_pos, fine - m_pos);
        if (r.endsWith(QLatin1Char('\r')))
            r.chop(1);
        *riga = {++m_numero, r, m_pos};
        m_pos = fine + 1;
        return true;
    }

    // The line end of the last line given (the text's end for the last one).
    qsizetype fineUltima() const { return m_pos - 1; }

    // Goes on after the line end at fine, that of a later line than the
    // last one given, counting the lines up to it.
    void dopo(qsizetype fine)
    {
        m_numero += 1 + int(m_testo.mid(m_pos, fine - m_pos).count(m_fine));
        m_pos = fine + 1;
    }

    QStringView testo() const { return m_testo; }
    char16_t fineRiga() const { return m_fine; }

private:
    QStringView m_testo;
    char16_t m_fine;
    qsizetype m_pos = 0;
    int m_numero = 0;
};

// Where the record that starts at inizio ends: the line end that closes it
// outside any quoted field (or the text's end). A quoted field starts, as
// DividiCampiCSV reads it, with a double quote after the blanks that open
// the field; it may hold line ends. -1 when a quote is never closed.
qsizetype FineRecord(QStringView testo, qsizetype inizio, QChar separatore, char16_t fineRiga)
{
    const qsizetype n = testo.size();
    const char16_t sep = separatore.unicode();
    qsizetype i = inizio;
    while (true) {
        while (i < n && testo[i] == u' ' && sep != u' ')
            ++i;
        if (i < n && testo[i] == u'"') {
            qsizetype q = i + 1;
            while (true) {
                q = testo.indexOf(QLatin1Char('"'), q);
                if (q < 0)
                    return -1;
                if (q + 1 < n && testo[q + 1] == u'"') {
                    q += 2;
                    continue;
                }
                break;
            }
            i = q + 1;
        }
        while (i < n && testo[i] != sep && testo[i] != fineRiga)
            ++i;
        if (i >= n || testo[i] == fineRiga)
            return i;
        ++i;
    }
}

// A number of minCifre to maxCifre ASCII digits at i, moving i past them;
// -1 when there are fewer, or more.
int Cifre(QStringView t, qsizetype &i, int minCifre, int maxCifre)
{
    int valore = 0;
    int cifre = 0;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
        if (++cifre > maxCifre)
            return -1;
        valore = valore * 10 + (t[i].unicode() - u'0');
        ++i;
    }
    return cifre >= minCifre ? valore : -1;
}

// The day and time of the import's own forms (see LeggiDataImportata).
QDateTime DataDelleForme(QStringView t, const QDate &oggi)
{
    qsizetype i = 0;
    const qsizetype inizioPrimo = i;
    const int primo = Cifre(t, i, 1, 4);
    const qsizetype cifrePrimo = i - inizioPrimo;
    if (primo < 0 || i >= t.size())
        return {};
    const QChar sep = t[i];
    if (sep != u'/' && sep != u'.' && sep != u'-')
        return {};
    ++i;
    const int secondo = Cifre(t, i, 1, 2);
    if (secondo < 0 || i >= t.size() || t[i] != sep)
        return {};
    ++i;
    const qsizetype inizioTerzo = i;
    int terzo = Cifre(t, i, 1, 4);
    const qsizetype cifreTerzo = i - inizioTerzo;
    if (terzo < 0)
        return {};
    QDate data;
    if (cifrePrimo == 4) { // year first: yyyy-mm-dd
        if (cifreTerzo > 2)
            return {};
        data = QDate(primo, secondo, terzo);
    } else {
        if (cifrePrimo > 2 || (cifreTerzo != 2 && cifreTerzo != 4))
            return {};
        if (cifreTerzo == 2) {
            // The year ending in those digits, at most 10 years after today's.
            const int massimo = oggi.year() + 10;
            terzo += massimo / 100 * 100;
            if (terzo > massimo)
                terzo -= 100;
        }
        data = QDate(terzo, secondo, primo);
    }
    if (!data.isValid())
        return {};
    QTime ora(0, 0);
    if (i < t.size()) {
        // A time of day after blanks or a "T".
        const qsizetype dopoData = i;
        while (i < t.size() && t[i].isSpace())
            ++i;
        if (i == dopoData && t[i] == u'T')
            ++i;
        if (i == dopoData)
            return {};
        const int h = Cifre(t, i, 1, 2);
        if (h < 0 || i >= t.size() || t[i] != u':')
            return {};
        ++i;
        const int m = Cifre(t, i, 2, 2);
        int sec = 0;
        if (m >= 0 && i < t.size() && t[i] == u':') {
            ++i;
            sec = Cifre(t, i, 2, 2);
        }
        if (m < 0 || sec < 0 || i != t.size())
            return {};
        ora = QTime(h, m, sec);
        if (!ora.isValid())
            return {};
    }
    return QDateTime(data, ora, Qt::UTC);
}

bool FormaUtenteDiversa()
{
    // Day first with "/": the import's own forms read it.
    static const QRegularExpression giornoMeseAnno(QStringLiteral("^d{1,2}/M{1,2}/yyyy$"));
    return !giornoMeseAnno.match(FormatoDataBreve()).hasMatch();
}

QDateTime LeggiData(QStringView testo, const QDate &oggi, bool formaUtente)
{
    if (formaUtente) {
        const QDateTime d = LeggiDataBreve(testo.toString());
        if (d.isValid())
            return d;
    }
    return DataDelleForme(testo, oggi);
}

class Lettore {
public:
    Lettore(LetturaCSV &esito, const AvanzamentoCSV &avanzamento)
        : m_esito(esito), m_avanzamento(avanzamento)
    {
        m_oggi = QDateTime(Oggi(), QTime(0, 0), Qt::UTC);
        m_oggiData = Oggi();
        m_formaUtente = FormaUtenteDiversa();
    }

    // Reads the records from the line after the header on.
    void leggi(Righe &righe)
    {
        const QStringView testo = righe.testo();
        // Lines that start before it are read alone: they were part of a
        // span that did not make a record.
        qsizetype limite = 0;
        // Room for every line (a component is costly to move), up to a
        // size that a file of blank lines cannot turn into a huge request.
        m_esito.righe.reserve(std::min<qsizetype>(testo.count(QLatin1Char(righe.fineRiga())) + 1, 200000));
        Riga r;
        int conta = 0;
        while (righe.prossima(&r)) {
            if ((++conta & 1023) == 0 && !avanza(r.inizio, testo.size()))
                return;
            if (r.testo.trimmed().isEmpty())
                continue;
            if (r.inizio >= limite && r.testo.contains(QLatin1Char('"'))) {
                const qsizetype fine = FineRecord(testo, r.inizio, m_esito.separatore, righe.fineRiga());
                if (fine > righe.fineUltima()) {
                    QStringView record = testo.mid(r.inizio, fine - r.inizio);
                    if (record.endsWith(QLatin1Char('\r')))
                        record.chop(1);
                    if (record.size() <= LunghezzaMassimaRiga && riga(r.numero, record, true)) {
                        righe.dopo(fine);
                        continue;
                    }
                    limite = fine;
                }
            }
            riga(r.numero, r.testo, false);
        }
        avanza(testo.size(), testo.size());
    }

    bool interrotta() const { return m_interrotta; }

private:
    bool avanza(qint64 fatto, qint64 totale)
    {
        if (m_avanzamento && !m_interrotta && !m_avanzamento(fatto, totale))
            m_interrotta = true;
        return !m_interrotta;
    }

    // Reads one record, reporting why it cannot be read. A record of
    // several lines that does not split into the header's columns is not
    // reported: false, and its lines are read one by one instead.
    bool riga(int numero, QStringView testo, bool piuRighe)
    {
        const int attese = int(m_esito.colonne.size());
        if (testo.size() > LunghezzaMassimaRiga) {
            errore(numero, QStringLiteral("riga troppo lunga (%1 caratteri, al massimo %2)")
                               .arg(testo.size())
                               .arg(LunghezzaMassimaRiga));
            return true;
        }
        if (!DividiCampiCSV(testo, m_esito.separatore, &m_campi, &m_motivo)) {
            if (piuRighe)
                return false;
            errore(numero, m_motivo);
            return true;
        }
        if (m_campi.size() != attese && piuRighe)
            return false;
        if (m_campi.size() < attese) {
            errore(numero, QStringLiteral("mancano colonne: %1 invece di %2").arg(m_campi.size()).arg(attese));
            return true;
        }
        if (m_campi.size() > attese) {
            errore(numero, QStringLiteral("troppe colonne: %1 invece di %2 (forse il separatore "
                                          "compare in un codice o in un nome)")
                               .arg(m_campi.size())
                               .arg(attese));
            return true;
        }
        if (piuRighe) {
            for (QString &campo : m_campi)
                UnisciRighe(campo);
        }
        RigaCSV letta;
        letta.numero = numero;
        if (componente(m_campi, &letta, &m_motivo))
            m_esito.righe.append(std::move(letta));
        else
            errore(numero, m_motivo);
        return true;
    }

    void errore(int numero, const QString &motivo)
    {
        if (m_esito.errori.size() < ErroriConservati)
            m_esito.errori.append({numero, motivo});
        else
            ++m_esito.erroriOmessi;
    }

    bool componente(QStringList &campi, RigaCSV *riga, QString *motivo)
    {
        Componente &c = riga->componente;
        c.DataInserimento = m_oggi;
        for (qsizetype k = 0; k < campi.size(); ++k) {
            const CampoCSV campo = m_esito.colonne[k];
            if (campo == CampoCSV::Nessuno)
                continue;
            const QString t = std::move(campi[k]).trimmed();
            switch (campo) {
            case CampoCSV::Nessuno:
                break;
            case CampoCSV::Codice:
                c.Codice = SenzaVirgolette(MaiuscoloCp1252(t));
                break;
            case CampoCSV::Produttore: c.NomeProduttore = SenzaVirgolette(t); break;
            case CampoCSV::Tipo: c.NomeTipo = SenzaVirgolette(t); break;
            case CampoCSV::Quantita:
                if (!numero(t, Quantita, &c.Quantita, motivo))
                    return false;
                break;
            case CampoCSV::Inserito:
                if (!data(t, &c.DataInserimento, motivo))
                    return false;
                break;
            case CampoCSV::Descrizione: c.Descrizione = Pulito(t); break;
            case CampoCSV::Package: riga->package = SenzaVirgolette(t); break;
            case CampoCSV::Pins:
                if (!t.isEmpty() && !numero(t, Pins, &c.Pins, motivo))
                    return false;
                break;
            case CampoCSV::Note: c.Note = Pulito(t); break;
            case CampoCSV::Datasheet: c.Datasheet = SenzaVirgolette(t); break;
            case CampoCSV::Immagine: c.Immagine = SenzaVirgolette(t); break;
            case CampoCSV::Extra1: c.Extra1 = Pulito(t); break;
            case CampoCSV::Extra2: c.Extra2 = Pulito(t); break;
            case CampoCSV::Extra3: c.Extra3 = Pulito(t); break;
            case CampoCSV::Extra4: c.Extra4 = Pulito(t); break;
            case CampoCSV::Extra5: c.Extra5 = Pulito(t); break;
            case CampoCSV::Extra6: c.Extra6 = Pulito(t); break;
            }
        }
        if (c.Codice.isEmpty()) {
            *motivo = QStringLiteral("manca il codice");
            return false;
        }
        return salvabile(*riga, motivo);
    }

    // The files are Windows-1252: a character outside it (a UTF-8 file may
    // hold any) would be written as "?" while memory kept the original, and
    // the component would change at the next start. Such a line is refused,
    // naming the character and its column, as a save from the panel is.
    static bool salvabile(const RigaCSV &riga, QString *motivo)
    {
        const Componente &c = riga.componente;
        const std::pair<const QString *, const char16_t *> testi[] = {
            {&c.Codice, u"codice"},
            {&c.NomeProduttore, u"produttore"},
            {&c.NomeTipo, u"tipo"},
            {&c.Descrizione, u"descrizione"},
            {&riga.package, u"package"},
            {&c.Note, u"note"},
            {&c.Datasheet, u"datasheet"},
            {&c.Immagine, u"immagine"},
            {&c.Extra1, u"campo 1"},
            {&c.Extra2, u"campo 2"},
            {&c.Extra3, u"campo 3"},
            {&c.Extra4, u"campo 4"},
            {&c.Extra5, u"campo 5"},
            {&c.Extra6, u"campo 6"},
        };
        for (const auto &[testo, colonna] : testi) {
            const QString carattere = PrimoCarattereFuoriCp1252(*testo);
            if (!carattere.isEmpty()) {
                *motivo = QStringLiteral("il carattere \"%1\" (%2) non pu\u00f2 essere salvato nei file dei dati")
                              .arg(carattere, QString::fromUtf16(colonna));
                return false;
            }
        }
        return true;
    }

    // The reasons a number field cannot be read, one set per field.
    struct MotiviNumero {
        const char16_t *manca;
        const char16_t *nonNumero;
        const char16_t *fuori;
    };
    static constexpr MotiviNumero Quantita{u"manca la quantit\u00e0", u"quantit\u00e0 non numerica",
                                           u"quantit\u00e0 fuori dai limiti"};
    static constexpr MotiviNumero Pins{u"manca il numero di pin", u"numero di pin non valido",
                                       u"numero di pin fuori dai limiti"};

    static bool numero(const QString &t, const MotiviNumero &m, qint32 *valore, QString *motivo)
    {
        if (t.trimmed().isEmpty()) {
            *motivo = QString::fromUtf16(m.manca);
            return false;
        }
        const auto citato = [&t] { return QStringLiteral(": \"") + t.left(40) + QLatin1Char('"'); };
        switch (LeggiNumero(QStringView(t), valore)) {
        case EsitoNumero::Ok:
            return true;
        case EsitoNumero::NonNumero:
            *motivo = QString::fromUtf16(m.nonNumero) + citato();
            return false;
        case EsitoNumero::FuoriIntervallo:
            *motivo = QString::fromUtf16(m.fuori) + citato();
            return false;
        }
        return false;
    }

    bool data(const QString &testo, QDateTime *valore, QString *motivo)
    {
        if (testo.isEmpty())
            return true; // no date: today, as for a component entered now
        // Dates repeat (thousands of lines share a few hundred days): each
        // distinct text is read once.
        auto it = m_date.constFind(testo);
        if (it == m_date.constEnd())
            it = m_date.insert(testo, LeggiData(testo, m_oggiData, m_formaUtente));
        if (!it->isValid()) {
            *motivo = QStringLiteral("data non valida: \"%1\"").arg(testo.left(40));
            return false;
        }
        *valore = *it;
        return true;
    }

    LetturaCSV &m_esito;
    const AvanzamentoCSV &m_avanzamento;
    bool m_interrotta = false;
    QStringList m_campi;
    QString m_motivo;
    QDateTime m_oggi;
    QDate m_oggiData;
    bool m_formaUtente = false; // the user's date form is read first
    QHash<QString, QDateTime> m_date;
};

// The first data lines, for choosing the separator.
constexpr int RigheCampione = 200;

QChar ScegliSeparatore(const QList<Riga> &righe, qsizetype colonne, const Stato &stato)
{
    int conVirgola = 0;
    int conPuntoVirgola = 0;
    QStringList campi;
    QString motivo;
    for (qsizetype i = 0; i < righe.size() && i < RigheCampione; ++i) {
        const QStringView t = righe[i].testo;
        if (t.size() > LunghezzaMassimaRiga)
            continue;
        if (DividiCampiCSV(t, QLatin1Char(','), &campi, &motivo) && campi.size() == colonne)
            ++conVirgola;
        if (DividiCampiCSV(t, QLatin1Char(';'), &campi, &motivo) && campi.size() == colonne)
            ++conPuntoVirgola;
    }
    if (conVirgola != conPuntoVirgola)
        return conVirgola > conPuntoVirgola ? QLatin1Char(',') : QLatin1Char(';');
    return stato.SeparatoreCSV == QLatin1String(";") ? QLatin1Char(';') : QLatin1Char(',');
}

} // namespace

LetturaCSV LeggiCSV(const QByteArray &dati, const Stato &stato, const AvanzamentoCSV &avanzamento)
{
    LetturaCSV esito;
    const QString vuoto = QStringLiteral("Il file \u00e8 vuoto: non c'\u00e8 nessun componente da importare.");
    if (std::all_of(dati.cbegin(), dati.cend(), [](char c) { return QChar::isSpace(uchar(c)); })) {
        esito.errore = vuoto;
        return esito;
    }
    const TestoDecodificato decodificato = DecodificaCSV(dati);
    if (decodificato.binario) {
        esito.errore = QStringLiteral("Il file non \u00e8 un testo CSV: contiene dati binari.\r\n"
                                      "Scegliere un file esportato come testo CSV.");
        return esito;
    }
    esito.codifica = decodificato.codifica;
    const QString &testo = decodificato.testo;

    // The header: the first line that is not blank. Lines of blanks of
    // other kinds (no-break spaces) count as empty too.
    Righe righe(testo);
    Riga intestazione;
    bool trovata = false;
    while (!trovata && righe.prossima(&intestazione))
        trovata = !intestazione.testo.trimmed().isEmpty();
    if (!trovata) {
        esito.errore = vuoto;
        return esito;
    }
    if (intestazione.testo.size() > LunghezzaMassimaIntestazione) {
        esito.errore = QStringLiteral("La prima riga del file \u00e8 troppo lunga per essere "
                                      "un'intestazione di colonne: il file non sembra un testo CSV.");
        return esito;
    }
    // The export's header is split at "|"; any other at the most frequent of
    // tab, ";" and "," that gives a "Codice" column.
    QList<QChar> candidati{QLatin1Char('|')};
    if (!intestazione.testo.contains(QLatin1Char('|')))
        candidati = SeparatoriIntestazione(intestazione.testo);
    const QChar divisore = candidati.isEmpty() ? QLatin1Char(',') : candidati.first();
    if (intestazione.testo.count(divisore) >= ColonneMassime) {
        esito.errore = QStringLiteral("La prima riga del file ha pi\u00f9 di %1 colonne: il file non sembra "
                                      "un elenco di componenti.")
                           .arg(ColonneMassime);
        return esito;
    }
    // The names at a separator; a header with a quote never closed is split
    // at every separator.
    const auto nomiDivisi = [&intestazione](QChar sep) {
        QStringList nomi;
        QString motivo;
        if (!DividiCampiCSV(intestazione.testo, sep, &nomi, &motivo))
            nomi = intestazione.testo.toString().split(sep);
        return nomi;
    };
    const auto haCodice = [&stato](const QStringList &nomi) {
        return std::any_of(nomi.cbegin(), nomi.cend(),
                           [&stato](const QString &n) { return CampoDaNome(n, stato) == CampoCSV::Codice; });
    };
    QChar scelto = divisore;
    QStringList nomi = nomiDivisi(divisore);
    for (qsizetype k = 1; k < candidati.size() && !haCodice(nomi); ++k) {
        QStringList altri = nomiDivisi(candidati[k]);
        if (haCodice(altri)) {
            scelto = candidati[k];
            nomi = std::move(altri);
        }
    }
    QList<bool> visti(int(CampoCSV::Extra6) + 1, false);
    for (const QString &nome : std::as_const(nomi)) {
        const std::optional<CampoCSV> campo = CampoDaNome(nome, stato);
        if (!campo || visti[int(*campo)]) {
            esito.ignorate.append(nome.trimmed());
            esito.colonne.append(CampoCSV::Nessuno);
            continue;
        }
        visti[int(*campo)] = true;
        esito.colonne.append(*campo);
    }
    if (!visti[int(CampoCSV::Codice)]) {
        esito.errore = QStringLiteral("Nella prima riga del file manca la colonna \"Codice\":\r\n"
                                      "il file non sembra un elenco di componenti esportato come testo CSV.");
        return esito;
    }
    esito.haPackage = visti[int(CampoCSV::Package)];
    // The first data lines, for choosing the separator.
    QList<Riga> campione;
    {
        Righe dopo = righe;
        Riga r;
        while (campione.size() < RigheCampione && dopo.prossima(&r)) {
            if (!r.testo.trimmed().isEmpty())
                campione.append(r);
        }
    }
    if (campione.isEmpty()) {
        esito.errore = QStringLiteral("Il file contiene solo l'intestazione: non c'\u00e8 nessun "
                                      "componente da importare.");
        return esito;
    }

    esito.separatore = scelto != QLatin1Char('|') && nomi.size() > 1
        ? scelto
        : ScegliSeparatore(campione, nomi.size(), stato);
    Lettore lettore(esito, avanzamento);
    lettore.leggi(righe);
    if (lettore.interrotta()) {
        esito = LetturaCSV();
        esito.interrotta = true;
    }
    return esito;
}

LetturaCSV LeggiFileCSV(const QString &percorso, const Stato &stato, const AvanzamentoCSV &avanzamento)
{
    LetturaCSV esito;
    const std::optional<QByteArray> dati = LeggiFileTestoCSV(percorso, DimensioneMassimaCSV, &esito.errore);
    if (!dati)
        return esito;
    return LeggiCSV(*dati, stato, avanzamento);
}

QDateTime LeggiDataImportata(QStringView testo, const QDate &oggi)
{
    return LeggiData(testo.trimmed(), oggi, FormaUtenteDiversa());
}
