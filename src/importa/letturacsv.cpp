#include "importa/letturacsv.h"

#include "components/regole.h"
#include "csv/testocsv.h"
#include "store/cp1252.h"
#include "store/localeutente.h"
#include "store/numeri.h"
#include "store/orologio.h"
#include "store/stato.h"

#include <QHash>

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

struct Riga {
    int numero;
    QStringView testo;
};

class Lettore {
public:
    explicit Lettore(LetturaCSV &esito) : m_esito(esito)
    {
        m_oggi = QDateTime(Oggi(), QTime(0, 0), Qt::UTC);
    }

    void leggi(const QList<Riga> &righe)
    {
        const int attese = int(m_esito.colonne.size());
        QStringList campi;
        QString motivo;
        for (const Riga &r : righe) {
            if (r.testo.size() > LunghezzaMassimaRiga) {
                errore(r.numero, QStringLiteral("riga troppo lunga (%1 caratteri, al massimo %2)")
                                     .arg(r.testo.size())
                                     .arg(LunghezzaMassimaRiga));
                continue;
            }
            if (!DividiCampiCSV(r.testo, m_esito.separatore, &campi, &motivo)) {
                errore(r.numero, motivo);
                continue;
            }
            if (campi.size() < attese) {
                errore(r.numero, QStringLiteral("mancano colonne: %1 invece di %2").arg(campi.size()).arg(attese));
                continue;
            }
            if (campi.size() > attese) {
                errore(r.numero, QStringLiteral("troppe colonne: %1 invece di %2 (forse il separatore "
                                                "compare in un codice o in un nome)")
                                     .arg(campi.size())
                                     .arg(attese));
                continue;
            }
            RigaCSV letta;
            letta.numero = r.numero;
            if (componente(campi, &letta, &motivo))
                m_esito.righe.append(std::move(letta));
            else
                errore(r.numero, motivo);
        }
    }

private:
    void errore(int numero, const QString &motivo)
    {
        if (m_esito.errori.size() < ErroriConservati)
            m_esito.errori.append({numero, motivo});
        else
            ++m_esito.erroriOmessi;
    }

    bool componente(const QStringList &campi, RigaCSV *riga, QString *motivo)
    {
        Componente &c = riga->componente;
        c.DataInserimento = m_oggi;
        for (qsizetype k = 0; k < campi.size(); ++k) {
            const QString &t = campi[k];
            switch (m_esito.colonne[k]) {
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
            case CampoCSV::Descrizione: c.Descrizione = PulisciTesto(t); break;
            case CampoCSV::Package: riga->package = SenzaVirgolette(t); break;
            case CampoCSV::Pins:
                if (!t.trimmed().isEmpty() && !numero(t, Pins, &c.Pins, motivo))
                    return false;
                break;
            case CampoCSV::Note: c.Note = PulisciTesto(t); break;
            case CampoCSV::Datasheet: c.Datasheet = SenzaVirgolette(t); break;
            case CampoCSV::Immagine: c.Immagine = SenzaVirgolette(t); break;
            case CampoCSV::Extra1: c.Extra1 = PulisciTesto(t); break;
            case CampoCSV::Extra2: c.Extra2 = PulisciTesto(t); break;
            case CampoCSV::Extra3: c.Extra3 = PulisciTesto(t); break;
            case CampoCSV::Extra4: c.Extra4 = PulisciTesto(t); break;
            case CampoCSV::Extra5: c.Extra5 = PulisciTesto(t); break;
            case CampoCSV::Extra6: c.Extra6 = PulisciTesto(t); break;
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

    bool data(const QString &t, QDateTime *valore, QString *motivo)
    {
        const QString testo = t.trimmed();
        if (testo.isEmpty())
            return true; // no date: today, as for a component entered now
        // Dates repeat (thousands of lines share a few hundred days): each
        // distinct text is read once.
        auto it = m_date.constFind(testo);
        if (it == m_date.constEnd())
            it = m_date.insert(testo, LeggiDataBreve(testo));
        if (!it->isValid()) {
            *motivo = QStringLiteral("data non valida: \"%1\"").arg(testo.left(40));
            return false;
        }
        *valore = *it;
        return true;
    }

    LetturaCSV &m_esito;
    QDateTime m_oggi;
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

LetturaCSV LeggiCSV(const QByteArray &dati, const Stato &stato)
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

    // The lines, numbered from 1; a file with bare CRs as line ends too.
    const QChar fineRiga = testo.contains(QLatin1Char('\n')) ? QLatin1Char('\n') : QLatin1Char('\r');
    QList<Riga> righe;
    int numero = 0;
    for (qsizetype inizio = 0; inizio <= testo.size();) {
        qsizetype fine = testo.indexOf(fineRiga, inizio);
        if (fine < 0)
            fine = testo.size();
        QStringView riga = QStringView(testo).mid(inizio, fine - inizio);
        if (riga.endsWith(QLatin1Char('\r')))
            riga.chop(1);
        ++numero;
        if (!riga.trimmed().isEmpty())
            righe.append({numero, riga});
        inizio = fine + 1;
    }

    // The header. Lines of blanks of other kinds (no-break spaces) count as
    // empty too.
    if (righe.isEmpty()) {
        esito.errore = vuoto;
        return esito;
    }
    const Riga intestazione = righe.takeFirst();
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
    if (righe.isEmpty()) {
        esito.errore = QStringLiteral("Il file contiene solo l'intestazione: non c'\u00e8 nessun "
                                      "componente da importare.");
        return esito;
    }

    esito.separatore = scelto != QLatin1Char('|') && nomi.size() > 1
        ? scelto
        : ScegliSeparatore(righe, nomi.size(), stato);
    Lettore(esito).leggi(righe);
    return esito;
}

LetturaCSV LeggiFileCSV(const QString &percorso, const Stato &stato)
{
    LetturaCSV esito;
    const std::optional<QByteArray> dati = LeggiFileTestoCSV(percorso, DimensioneMassimaCSV, &esito.errore);
    if (!dati)
        return esito;
    return LeggiCSV(*dati, stato);
}
