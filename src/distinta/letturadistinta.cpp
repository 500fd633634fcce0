#include "distinta/letturadistinta.h"

#include "csv/testocsv.h"

#include <QHash>

#include <algorithm>

namespace {

enum class Colonna { Nessuna, Riferimenti, Valore, Mpn, Footprint, Quantita, NonMontare };

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

// Splits one line at the separator, blanks around each field dropped.
bool Dividi(QStringView riga, QChar sep, QStringList *campi, QString *motivo)
{
    if (!DividiCampiCSV(riga, sep, campi, motivo))
        return false;
    for (QString &campo : *campi)
        campo = std::move(campo).trimmed();
    return true;
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
    QStringList nomi;
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
    const QList<QChar> separatori = SeparatoriIntestazione(riga);
    return std::any_of(separatori.cbegin(), separatori.cend(),
                       [&](QChar s) { return ProvaIntestazione(riga, s, esito); });
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
        esito.errore = MessaggioFileTroppoGrande(DimensioneMassimaDistinta);
        return esito;
    }
    const TestoDecodificato decodificato = DecodificaCSV(dati);
    if (decodificato.binario) {
        esito.errore = QStringLiteral(
            "Il file non \u00e8 un testo CSV (contiene dati binari): salvare la distinta base come CSV.");
        return esito;
    }
    esito.codifica = decodificato.codifica;
    const QString &testo = decodificato.testo;
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

    QStringList campi;
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
    LetturaDistinta esito;
    const std::optional<QByteArray> dati = LeggiFileTestoCSV(percorso, DimensioneMassimaDistinta, &esito.errore);
    if (!dati)
        return esito;
    return LeggiDistinta(*dati);
}
