#include "distinta/letturadistinta.h"

#include "csv/testocsv.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

enum class Colonna { Nessuna, Riferimenti, Valore, Mpn, Codice, Footprint, Quantita, NonMontare };

// What a header name stands for, and how surely: a weak name ("Comment",
// "Package", "Part") counts only where no strong name of the same kind is
// in the header.
struct NomeColonna {
    Colonna colonna = Colonna::Nessuna;
    bool debole = false;
};

NomeColonna ColonnaDaNome(QStringView nome)
{
    static const QHash<QString, NomeColonna> noti = [] {
        QHash<QString, NomeColonna> h;
        const auto metti = [&h](Colonna c, std::initializer_list<const char16_t *> nomi, bool debole = false) {
            for (const char16_t *n : nomi)
                h.insert(QString::fromUtf16(n), {c, debole});
        };
        metti(Colonna::Riferimenti, {u"reference", u"references", u"reference(s)", u"ref", u"refs", u"ref(s)", u"ref des", u"refdes",
                                     u"designator", u"designators", u"designator(s)", u"parts", u"riferimento", u"riferimenti",
                                     u"sigla", u"sigle"});
        // Eagle's list of parts names the reference "Part"; KiBot uses the
        // same name for the symbol beside its "References".
        metti(Colonna::Riferimenti, {u"part"}, true);
        metti(Colonna::Valore, {u"value", u"values", u"val", u"valore", u"valori"});
        // JLCPCB's "Comment", the "Designation" of KiCad's board editor.
        metti(Colonna::Valore, {u"comment", u"designation"}, true);
        metti(Colonna::Mpn, {u"mpn", u"manufacturer part number", u"manufacturer part no", u"mfr part number",
                             u"mfr. part number", u"mfr part #", u"mfr. part #", u"mfr. #", u"mfg part number",
                             u"mfg part #", u"part number", u"partnumber", u"p/n", u"pn", u"codice produttore"});
        metti(Colonna::Codice, {u"codice", u"codice magazzino", u"codice arvo", u"arvo", u"ipn",
                                u"internal part number", u"stock code"});
        metti(Colonna::NonMontare, {u"dnp", u"do not populate", u"do not place", u"non montare"});
        metti(Colonna::Footprint, {u"footprint", u"package/footprint", u"footprint/package"});
        metti(Colonna::Footprint, {u"package", u"case", u"contenitore"}, true);
        metti(Colonna::Quantita, {u"qty", u"quantity", u"qnty", u"quantity per pcb", u"qty per board", u"qt", u"qta", u"qt\u00e0", u"q.t\u00e0",
                                  u"quantit\u00e0", u"quantita", u"pezzi"});
        metti(Colonna::Quantita, {u"count"}, true);
        return h;
    }();
    QString chiave = nome.trimmed().toString().toLower();
    chiave.replace(QLatin1Char('_'), QLatin1Char(' '));
    chiave = chiave.simplified();
    chiave.replace(QStringLiteral(" / "), QStringLiteral("/"));
    if (chiave.endsWith(QLatin1Char(':')))
        chiave.chop(1);
    return noti.value(chiave);
}

// A placeholder where a part number would go: no part number.
bool Segnaposto(const QString &mpn)
{
    static const QStringList segnaposti{QStringLiteral("any"), QStringLiteral("dnp"), QStringLiteral("n/a"),
                                        QStringLiteral("na"),  QStringLiteral("none"), QStringLiteral("-"),
                                        QStringLiteral("~")};
    return mpn.size() <= 4 && segnaposti.contains(mpn, Qt::CaseInsensitive);
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
    bool contiene(Colonna c) const { return colonne.contains(c); }
};

// The columns the line names with this separator, when they include a part
// and a quantity or the references. Of several columns of one kind, the
// first with a strong name counts, else the first.
bool ProvaIntestazione(QStringView riga, QChar sep, Intestazione *esito)
{
    QStringList nomi;
    QString motivo;
    if (!Dividi(riga, sep, &nomi, &motivo) || nomi.size() < 2)
        return false;
    QList<NomeColonna> letti;
    for (const QString &nome : nomi)
        letti.append(ColonnaDaNome(nome));
    QList<Colonna> colonne(letti.size(), Colonna::Nessuna);
    QHash<Colonna, qsizetype> scelta;
    for (qsizetype i = 0; i < letti.size(); ++i) {
        const NomeColonna &n = letti[i];
        if (n.colonna == Colonna::Nessuna)
            continue;
        const auto gia = scelta.constFind(n.colonna);
        if (gia == scelta.cend() || (letti[*gia].debole && !n.debole))
            scelta[n.colonna] = i;
    }
    for (auto it = scelta.cbegin(); it != scelta.cend(); ++it)
        colonne[it.value()] = it.key();
    const Intestazione prova{sep, colonne};
    const bool parte = prova.contiene(Colonna::Valore) || prova.contiene(Colonna::Mpn) || prova.contiene(Colonna::Codice);
    if (!parte || !(prova.contiene(Colonna::Quantita) || prova.contiene(Colonna::Riferimenti)))
        return false;
    *esito = prova;
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

// One reference of a list, or a range of them: "R7" (da = a = 0, solo set),
// "R1-R4" (prefisso "R", da 1, a 4).
struct Riferimento {
    QStringView testo;
    QStringView prefisso;
    qint64 da = 0;
    qint64 a = 0;
    bool intervallo = false;
    qint64 quanti() const { return intervallo ? qAbs(a - da) + 1 : 1; }
};

// Splits "R1" into its letters and its number; false when it is not made so.
bool LettereNumero(QStringView t, QStringView *lettere, qint64 *numero)
{
    qsizetype i = 0;
    while (i < t.size() && !t[i].isDigit())
        ++i;
    const QStringView cifre = t.mid(i);
    if (cifre.isEmpty() || cifre.size() > 9
        || !std::all_of(cifre.begin(), cifre.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    *lettere = t.left(i);
    *numero = cifre.toLongLong();
    return true;
}

// Calls f for each reference or range of the list.
template <typename F>
void PerOgniRiferimento(QStringView elenco, F f)
{
    // "R1 - R4": blanks around a dash belong to the range.
    QString unito;
    if (elenco.contains(u'-')) {
        static const QRegularExpression trattino(QStringLiteral("\\s*-\\s*"));
        unito = elenco.toString().replace(trattino, QStringLiteral("-"));
    }
    const QStringView testo = elenco.contains(u'-') ? QStringView(unito) : elenco;
    const auto separa = [](QChar c) { return c == u',' || c == u';' || c.isSpace(); };
    const qsizetype n = testo.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && separa(testo[i]))
            ++i;
        if (i == n)
            break;
        qsizetype fine = i;
        while (fine < n && !separa(testo[fine]))
            ++fine;
        Riferimento r;
        r.testo = testo.mid(i, fine - i);
        const qsizetype trattino = r.testo.indexOf(u'-');
        QStringView lettere, lettereFine;
        qint64 da = 0, a = 0;
        if (trattino > 0 && LettereNumero(r.testo.left(trattino), &lettere, &da) && !lettere.isEmpty()
            && LettereNumero(r.testo.mid(trattino + 1), &lettereFine, &a)
            && (lettereFine.isEmpty() || lettereFine.compare(lettere, Qt::CaseInsensitive) == 0)) {
            r.intervallo = true;
            r.prefisso = lettere;
            r.da = da;
            r.a = a;
        }
        f(r);
        i = fine;
    }
}

// The quantity of a line of a file without a quantity column: the number
// of its references.
bool QuantitaDaRiferimenti(const QString &riferimenti, qint64 *quantita, QString *motivo)
{
    const qint64 quanti = ContaRiferimenti(riferimenti);
    if (quanti == 0) {
        *motivo = QStringLiteral("mancano i riferimenti, che danno la quantit\u00e0");
        return false;
    }
    if (quanti > QuantitaMassimaDistinta) {
        *motivo = QStringLiteral("troppi riferimenti: %1 (al massimo %2 per scheda)").arg(quanti).arg(QuantitaMassimaDistinta);
        return false;
    }
    *quantita = quanti;
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
            "(\"Value\", \"Comment\", \"Valore\", \"MPN\" o \"Codice\") e una della quantit\u00e0 (\"Qty\", "
            "\"Quantity\", \"Quantit\u00e0\") o dei riferimenti (\"Reference\", \"Designator\", \"Parts\").");
        return esito;
    }
    esito.separatore = intestazione.separatore;
    esito.haMpn = intestazione.contiene(Colonna::Mpn);
    esito.haValore = intestazione.contiene(Colonna::Valore);
    esito.haCodice = intestazione.contiene(Colonna::Codice);
    esito.quantitaDaRiferimenti = !intestazione.contiene(Colonna::Quantita);

    // Lines of the same part, by what they carry as written: the position
    // of the first in esito.righe.
    QHash<QString, qsizetype> perParte;
    qsizetype lette = 0; // component lines, joined ones included
    QStringList campi;
    while (righe.prossima(&r)) {
        if (Vuota(r.testo))
            continue;
        if (lette++ == MassimoRigheDistinta) {
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
            case Colonna::Mpn: letta.mpn = Segnaposto(campi[c]) ? QString() : campi[c]; break;
            case Colonna::Codice: letta.codice = campi[c]; break;
            case Colonna::Footprint: letta.footprint = campi[c]; break;
            case Colonna::Quantita: quantita = campi[c]; break;
            case Colonna::NonMontare: nonMontare = DaNonMontare(campi[c]); break;
            case Colonna::Nessuna: break;
            }
        }
        if (nonMontare) {
            ++esito.nonMontate;
            esito.nonMontati.append(letta.riferimenti.isEmpty() ? letta.valore : letta.riferimenti);
            continue;
        }
        if (letta.valore.isEmpty() && letta.mpn.isEmpty() && letta.codice.isEmpty())
            letta.errore = QStringLiteral("manca il componente (n\u00e9 valore n\u00e9 MPN)");
        else if (esito.quantitaDaRiferimenti)
            QuantitaDaRiferimenti(letta.riferimenti, &letta.quantita, &letta.errore);
        else
            LeggiQuantita(quantita, &letta.quantita, &letta.errore);
        if (letta.errore.isEmpty()) {
            const QString parte = letta.codice + u'\x1f' + letta.mpn + u'\x1f' + letta.valore + u'\x1f' + letta.footprint;
            const auto prima = perParte.constFind(parte);
            if (prima != perParte.cend()) {
                RigaDistinta &unita = esito.righe[*prima];
                if (!letta.riferimenti.isEmpty())
                    unita.riferimenti += (unita.riferimenti.isEmpty() ? QString() : QStringLiteral(",")) + letta.riferimenti;
                unita.quantita += letta.quantita;
                ++esito.righeUnite;
                continue;
            }
            perParte.insert(parte, esito.righe.size());
        }
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

qint64 ContaRiferimenti(QStringView testo)
{
    qint64 n = 0;
    PerOgniRiferimento(testo, [&n](const Riferimento &r) { n += r.quanti(); });
    return n;
}

QStringList EspandiRiferimenti(QStringView testo, qsizetype massimo)
{
    QStringList elenco;
    PerOgniRiferimento(testo, [&](const Riferimento &r) {
        if (!r.intervallo) {
            if (elenco.size() < massimo)
                elenco.append(r.testo.toString());
            return;
        }
        const qint64 passo = r.a >= r.da ? 1 : -1;
        for (qint64 k = r.da; elenco.size() < massimo; k += passo) {
            elenco.append(r.prefisso.toString() + QString::number(k));
            if (k == r.a)
                break;
        }
    });
    return elenco;
}
