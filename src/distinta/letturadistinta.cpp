#include "distinta/letturadistinta.h"

#include "store/cp1252.h"
#include "store/fileincartella.h"

#include <QDir>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <tuple>

namespace {

enum class Colonna { Nessuna, Riferimenti, Valore, Mpn, Footprint, Quantita, NonMontare };

// The text of the file and the name of its encoding.
QString Decodifica(const QByteArray &dati, QString *codifica)
{
    QByteArrayView byte(dati);
    // Spreadsheets save "Unicode text" as UTF-16 with its byte-order mark.
    for (const auto &[segno, codice, nome] :
         {std::tuple{"\xFF\xFE", QStringConverter::Utf16LE, "UTF-16"},
          std::tuple{"\xFE\xFF", QStringConverter::Utf16BE, "UTF-16"}}) {
        if (byte.startsWith(segno)) {
            QStringDecoder utf16(codice, QStringDecoder::Flag::Stateless);
            *codifica = QLatin1String(nome);
            return utf16(byte.sliced(2));
        }
    }
    const bool bom = byte.startsWith("\xEF\xBB\xBF");
    if (bom)
        byte = byte.sliced(3);
    const bool alti = bom || std::any_of(byte.begin(), byte.end(), [](char c) {
                          return static_cast<unsigned char>(c) >= 0x80;
                      });
    if (alti) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString testo = utf8(byte);
        if (!utf8.hasError()) {
            *codifica = QStringLiteral("UTF-8");
            return testo;
        }
    }
    *codifica = QStringLiteral("Windows-1252");
    return DecodificaCp1252(byte);
}

// What a header name stands for.
Colonna ColonnaDaNome(QStringView nome)
{
    static const QHash<QString, Colonna> noti = [] {
        QHash<QString, Colonna> h;
        const auto metti = [&h](Colonna c, std::initializer_list<const char16_t *> nomi) {
            for (const char16_t *n : nomi)
                h.insert(QString::fromUtf16(n), c);
        };
        metti(Colonna::Riferimenti, {u"reference", u"references", u"reference(s)", u"ref", u"refs", u"ref(s)", u"ref des", u"refdes",
                                     u"designator", u"designators", u"designator(s)", u"riferimento", u"riferimenti", u"sigla",
                                     u"sigle"});
        metti(Colonna::Valore, {u"value", u"values", u"val", u"valore", u"valori"});
        metti(Colonna::Mpn, {u"mpn", u"manufacturer part number", u"manufacturer part no", u"mfr part number",
                             u"mfr. part number", u"mfr part #", u"mfr. part #", u"mfr. #", u"mfg part number",
                             u"mfg part #", u"part number", u"partnumber", u"p/n", u"pn", u"codice",
                             u"codice produttore"});
        metti(Colonna::NonMontare, {u"dnp", u"do not populate", u"do not place", u"non montare"});
        metti(Colonna::Footprint, {u"footprint", u"package", u"case", u"contenitore"});
        metti(Colonna::Quantita, {u"qty", u"quantity", u"qnty", u"quantity per pcb", u"qty per board", u"qt", u"qta", u"qt\u00e0", u"q.t\u00e0",
                                  u"quantit\u00e0", u"quantita", u"pezzi", u"count"});
        return h;
    }();
    QString chiave = nome.trimmed().toString().toLower();
    chiave.replace(QLatin1Char('_'), QLatin1Char(' '));
    chiave = chiave.simplified();
    if (chiave.endsWith(QLatin1Char(':')))
        chiave.chop(1);
    return noti.value(chiave, Colonna::Nessuna);
}

// Splits one line at the separator; false with the reason when a quoted
// field is never closed. Text right after a closing quote is kept with the
// field, as spreadsheets read it.
bool Dividi(QStringView riga, QChar sep, QList<QString> *campi, QString *motivo)
{
    campi->clear();
    qsizetype i = 0;
    const qsizetype n = riga.size();
    while (true) {
        // Blanks before a quoted field do not count.
        qsizetype j = i;
        while (j < n && (riga[j] == u' ') && riga[j] != sep)
            ++j;
        if (j < n && riga[j] == u'"') {
            QString campo;
            i = j + 1;
            bool chiuso = false;
            while (i < n) {
                const qsizetype q = riga.indexOf(u'"', i);
                if (q < 0)
                    break;
                campo.append(riga.mid(i, q - i));
                if (q + 1 < n && riga[q + 1] == u'"') {
                    campo.append(u'"');
                    i = q + 2;
                    continue;
                }
                i = q + 1;
                chiuso = true;
                break;
            }
            if (!chiuso) {
                *motivo = QStringLiteral("virgolette aperte e mai chiuse");
                return false;
            }
            const qsizetype fine = riga.indexOf(sep, i);
            campo.append(riga.mid(i, fine < 0 ? n - i : fine - i));
            campi->append(campo.trimmed());
            if (fine < 0)
                return true;
            i = fine + 1;
            continue;
        }
        const qsizetype fine = riga.indexOf(sep, i);
        if (fine < 0) {
            campi->append(riga.mid(i).trimmed().toString());
            return true;
        }
        campi->append(riga.mid(i, fine - i).trimmed().toString());
        i = fine + 1;
    }
}

struct Riga {
    int numero;
    QStringView testo;
};

// The lines of the text one after the other, any line end (CR LF, LF, CR),
// without holding them all: a file of nothing but line ends stays cheap.
class Righe {
public:
    explicit Righe(QStringView testo) : m_testo(testo) {}
    bool prossima(Riga *riga)
    {
        const qsizetype n = m_testo.size();
        if (m_pos >= n)
            return false;
        qsizetype i = m_pos;
        while (i < n && m_testo[i] != u'\r' && m_testo[i] != u'\n')
            ++i;
        *riga = {m_numero++, m_testo.mid(m_pos, i - m_pos)};
        if (i < n && m_testo[i] == u'\r' && i + 1 < n && m_testo[i + 1] == u'\n')
            ++i;
        m_pos = i + 1;
        return true;
    }

private:
    QStringView m_testo;
    qsizetype m_pos = 0;
    int m_numero = 1;
};

// A "do not populate" mark: anything but empty, "0", "no" or "false".
bool DaNonMontare(const QString &campo)
{
    const QString t = campo.trimmed().toLower();
    return !t.isEmpty() && t != u"0" && t != u"no" && t != u"false" && t != u"n";
}

bool Vuota(QStringView riga) { return riga.trimmed().isEmpty(); }

struct Intestazione {
    QChar separatore;
    QList<Colonna> colonne;
};

// The columns the line names with this separator, when they include a part
// and a quantity.
bool ProvaIntestazione(QStringView riga, QChar sep, Intestazione *esito)
{
    QList<QString> nomi;
    QString motivo;
    if (!Dividi(riga, sep, &nomi, &motivo) || nomi.size() < 2)
        return false;
    QList<Colonna> colonne;
    bool parte = false, quantita = false;
    for (const QString &nome : nomi) {
        Colonna c = ColonnaDaNome(nome);
        if (c != Colonna::Nessuna && colonne.contains(c))
            c = Colonna::Nessuna; // a repeated column: the first one counts
        parte = parte || c == Colonna::Valore || c == Colonna::Mpn;
        quantita = quantita || c == Colonna::Quantita;
        colonne.append(c);
    }
    if (!parte || !quantita)
        return false;
    *esito = {sep, colonne};
    return true;
}

bool TrovaIntestazione(QStringView riga, Intestazione *esito)
{
    std::array<std::pair<qsizetype, QChar>, 3> sep = {{{riga.count(u'\t'), u'\t'},
                                                       {riga.count(u';'), u';'},
                                                       {riga.count(u','), u','}}};
    std::stable_sort(sep.begin(), sep.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (const auto &[quanti, s] : sep) {
        if (quanti > 0 && ProvaIntestazione(riga, s, esito))
            return true;
    }
    return false;
}

// The quantity of a field: a whole number of pieces.
bool LeggiQuantita(const QString &testo, qint64 *quantita, QString *motivo)
{
    if (testo.isEmpty()) {
        *motivo = QStringLiteral("manca la quantit\u00e0");
        return false;
    }
    const bool cifre = std::all_of(testo.begin(), testo.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const QString mostrato = testo.size() > 40 ? testo.left(40) + QStringLiteral("...") : testo;
    if (!cifre) {
        *motivo = QStringLiteral("quantit\u00e0 non valida: \"%1\"").arg(mostrato);
        return false;
    }
    bool ok = false;
    const qint64 q = testo.size() <= 18 ? testo.toLongLong(&ok) : 0;
    if (!ok || q > QuantitaMassimaDistinta) {
        *motivo = QStringLiteral("quantit\u00e0 troppo grande: %1 (al massimo %2 per scheda)")
                      .arg(mostrato)
                      .arg(QuantitaMassimaDistinta);
        return false;
    }
    *quantita = q;
    return true;
}

} // namespace

LetturaDistinta LeggiDistinta(const QByteArray &dati)
{
    LetturaDistinta esito;
    if (dati.isEmpty()) {
        esito.errore = QStringLiteral("Il file \u00e8 vuoto: non contiene una distinta base.");
        return esito;
    }
    if (dati.size() > DimensioneMassimaDistinta) {
        esito.errore = QStringLiteral("Il file \u00e8 troppo grande per una distinta base (oltre %1 MB).")
                           .arg(DimensioneMassimaDistinta / (1024 * 1024));
        return esito;
    }
    // A text file holds no NUL byte, unless it is UTF-16 with its mark.
    const bool utf16 = dati.startsWith("\xFF\xFE") || dati.startsWith("\xFE\xFF");
    if (!utf16 && dati.left(64 * 1024).contains('\0')) {
        esito.errore = QStringLiteral(
            "Il file non \u00e8 un testo CSV (contiene dati binari): salvare la distinta base come CSV.");
        return esito;
    }
    const QString testo = Decodifica(dati, &esito.codifica);
    Righe righe(testo);
    Riga r{0, {}};

    Intestazione intestazione;
    int provate = 0;
    while (provate < RigheCercaIntestazione && righe.prossima(&r)) {
        if (Vuota(r.testo))
            continue;
        ++provate;
        if (r.testo.size() <= LunghezzaMassimaRigaDistinta && TrovaIntestazione(r.testo, &intestazione)) {
            esito.rigaIntestazione = r.numero;
            break;
        }
    }
    if (esito.rigaIntestazione == 0) {
        esito.errore = QStringLiteral(
            "Nel file non c'\u00e8 un'intestazione riconoscibile: servono una colonna del componente "
            "(\"Value\", \"Valore\" o \"MPN\") e una della quantit\u00e0 (\"Qty\", \"Quantity\", "
            "\"Quantit\u00e0\").");
        return esito;
    }
    esito.separatore = intestazione.separatore;
    esito.haMpn = intestazione.colonne.contains(Colonna::Mpn);
    esito.haValore = intestazione.colonne.contains(Colonna::Valore);

    QList<QString> campi;
    while (righe.prossima(&r)) {
        if (Vuota(r.testo))
            continue;
        if (esito.righe.size() == MassimoRigheDistinta) {
            esito.errore = QStringLiteral("La distinta base ha troppe righe (pi\u00f9 di %1): non \u00e8 "
                                          "una distinta base?")
                               .arg(MassimoRigheDistinta);
            esito.righe.clear();
            return esito;
        }
        RigaDistinta letta;
        letta.numero = r.numero;
        if (r.testo.size() > LunghezzaMassimaRigaDistinta) {
            letta.errore = QStringLiteral("riga troppo lunga (%1 caratteri, al massimo %2)")
                               .arg(r.testo.size())
                               .arg(LunghezzaMassimaRigaDistinta);
            esito.righe.append(letta);
            continue;
        }
        if (!Dividi(r.testo, esito.separatore, &campi, &letta.errore)) {
            esito.righe.append(letta);
            continue;
        }
        if (std::all_of(campi.begin(), campi.end(), [](const QString &c) { return c.isEmpty(); }))
            continue;
        QString quantita;
        bool nonMontare = false;
        for (qsizetype c = 0; c < intestazione.colonne.size() && c < campi.size(); ++c) {
            switch (intestazione.colonne[c]) {
            case Colonna::Riferimenti: letta.riferimenti = campi[c]; break;
            case Colonna::Valore: letta.valore = campi[c]; break;
            case Colonna::Mpn: letta.mpn = campi[c]; break;
            case Colonna::Footprint: letta.footprint = campi[c]; break;
            case Colonna::Quantita: quantita = campi[c]; break;
            case Colonna::NonMontare: nonMontare = DaNonMontare(campi[c]); break;
            case Colonna::Nessuna: break;
            }
        }
        if (nonMontare) {
            ++esito.nonMontate;
            continue;
        }
        if (letta.valore.isEmpty() && letta.mpn.isEmpty())
            letta.errore = QStringLiteral("manca il componente (n\u00e9 valore n\u00e9 MPN)");
        else
            LeggiQuantita(quantita, &letta.quantita, &letta.errore);
        esito.righe.append(letta);
    }
    if (esito.righe.isEmpty())
        esito.errore = QStringLiteral("La distinta base non contiene righe di componenti dopo l'intestazione.");
    return esito;
}

LetturaDistinta LeggiFileDistinta(const QString &percorso)
{
    // Only a regular file is read, opened without waiting: a FIFO or a
    // device picked in the dialog (or swapped in meanwhile) would block the
    // program or never end.
    const std::optional<QByteArray> dati = LeggiFileRegolare(percorso, DimensioneMassimaDistinta + 1);
    if (!dati) {
        LetturaDistinta esito;
        esito.errore = QStringLiteral("Impossibile leggere il file %1: non \u00e8 un file normale o non \u00e8 "
                                      "leggibile.")
                           .arg(QDir::toNativeSeparators(percorso));
        return esito;
    }
    return LeggiDistinta(*dati);
}
