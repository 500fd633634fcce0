#include "ricevi/etichettelcsc.h"

#include <QHash>
#include <QSet>

namespace {

bool Lettera(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The length of "key:" (blanks around the key allowed) at pos; 0 when no key
// starts there.
qsizetype Chiave(QStringView t, qsizetype pos)
{
    qsizetype i = pos;
    while (i < t.size() && t[i] == u' ')
        ++i;
    const qsizetype inizio = i;
    while (i < t.size() && Lettera(t[i]))
        ++i;
    if (i == inizio)
        return 0;
    while (i < t.size() && t[i] == u' ')
        ++i;
    return i < t.size() && t[i] == u':' ? i + 1 - pos : 0;
}

// The pairs of the text, in order; false when it does not open with a key.
bool Coppie(QStringView t, QList<CampoScansione> *coppie)
{
    if (Chiave(t, 0) == 0)
        return false;
    qsizetype inizio = 0;
    for (qsizetype i = 0; i <= t.size(); ++i) {
        if (i < t.size() && !(t[i] == u',' && Chiave(t, i + 1) > 0))
            continue;
        const QStringView coppia = t.mid(inizio, i - inizio);
        const qsizetype dp = coppia.indexOf(u':');
        coppie->append({coppia.left(dp).trimmed().toString().toLower(), coppia.mid(dp + 1).trimmed().toString()});
        inizio = i + 1;
    }
    return true;
}

void Assegna(const QList<CampoScansione> &coppie, Scansione *s)
{
    s->formato = FormatoScansione::Lcsc;
    QHash<QString, QString> visti;
    QString quantita;
    for (const CampoScansione &c : coppie) {
        const auto gia = visti.constFind(c.identificatore);
        if (gia != visti.cend()) {
            if (*gia != c.valore) {
                s->motivo = QStringLiteral("il campo %1 compare due volte con valori diversi").arg(c.identificatore);
                return;
            }
            continue;
        }
        visti.insert(c.identificatore, c.valore);
        if (c.identificatore == u"pm")
            s->codice = c.valore;
        else if (c.identificatore == u"qty")
            quantita = c.valore;
        else if (c.identificatore == u"pc")
            s->codiceDistributore = c.valore;
        else if (c.identificatore == u"on")
            s->ordine = c.valore;
        else
            s->altri.append(c);
    }
    if (s->codice.isEmpty()) {
        s->motivo = QStringLiteral("l'etichetta LCSC non riporta il codice del produttore (pm)");
        return;
    }
    s->motivo = MotivoCodice(s->codice, QStringLiteral("pm"));
    if (s->motivo.isEmpty() && !quantita.isEmpty())
        s->motivo = MotivoQuantita(quantita, &s->quantita);
}

} // namespace

bool LettoreLcsc::leggiConIntestazione(QStringView testo, Scansione *esito) const
{
    QStringView t = testo.trimmed();
    if (!t.startsWith(u'{'))
        return false;
    t = t.mid(1);
    if (t.endsWith(u'}'))
        t.chop(1);
    QList<CampoScansione> coppie;
    if (!Coppie(t, &coppie))
        return false;
    Assegna(coppie, esito);
    return true;
}

bool LettoreLcsc::leggiSenzaIntestazione(QStringView testo, Scansione *esito) const
{
    static const QSet<QString> chiavi{QStringLiteral("pbn"), QStringLiteral("on"), QStringLiteral("pc"),
                                      QStringLiteral("qty")};
    QList<CampoScansione> coppie;
    if (!Coppie(testo.trimmed(), &coppie))
        return false;
    bool pm = false;
    bool altra = false;
    for (const CampoScansione &c : coppie) {
        pm = pm || c.identificatore == u"pm";
        altra = altra || chiavi.contains(c.identificatore);
    }
    if (!pm || !altra)
        return false;
    Assegna(coppie, esito);
    return true;
}
