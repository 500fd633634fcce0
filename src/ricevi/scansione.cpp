#include "ricevi/scansione.h"

#include "ricevi/busta15434.h"
#include "ricevi/etichettearvo.h"
#include "ricevi/etichettelcsc.h"
#include "ricevi/tastiere.h"
#include "store/cp1252.h"

#include <algorithm>

namespace {

bool Controllo(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }

bool Spazio(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// The text, without blanks and line ends around it, as the part number.
Scansione CodiceSemplice(Scansione s)
{
    QStringView t(s.testo);
    while (!t.isEmpty() && Spazio(t.first()))
        t = t.mid(1);
    while (!t.isEmpty() && Spazio(t.last()))
        t.chop(1);
    if (t.isEmpty()) {
        s.motivo = QStringLiteral("nessun testo letto");
        return s;
    }
    s.formato = FormatoScansione::CodiceSemplice;
    if (t.size() > LunghezzaMassimaCodiceSemplice) {
        s.motivo = QStringLiteral("testo di %1 caratteri in un formato sconosciuto").arg(t.size());
        return s;
    }
    // Part numbers have no blanks inside; a text with blanks is a label of
    // some other format (TME's "PWBP-302 1PMPNWBP-302 Q1 ...").
    if (std::any_of(t.cbegin(), t.cend(), Spazio)) {
        s.motivo = QStringLiteral("testo con spazi in un formato sconosciuto");
        return s;
    }
    s.motivo = MotivoCodice(t, QString());
    if (s.motivo.isEmpty())
        s.codice = t.toString();
    return s;
}

} // namespace

QString MotivoQuantita(QStringView valore, qint32 *quantita)
{
    const auto nonValida = [&] { return QStringLiteral("quantit\u00e0 \"%1\" non valida").arg(valore); };
    if (valore.isEmpty())
        return nonValida();
    for (const QChar c : valore) {
        if (c < u'0' || c > u'9')
            return nonValida();
    }
    QStringView cifre = valore;
    while (cifre.size() > 1 && cifre.first() == u'0')
        cifre = cifre.mid(1);
    const qint64 n = cifre.size() > 9 ? qint64(QuantitaMassimaScansione) + 1 : cifre.toLongLong();
    if (n == 0)
        return nonValida();
    if (n > QuantitaMassimaScansione)
        return QStringLiteral("quantit\u00e0 %1 oltre il massimo di %2 pezzi").arg(cifre).arg(QuantitaMassimaScansione);
    *quantita = qint32(n);
    return {};
}

QString MotivoCodice(QStringView codice, const QString &nomeCampo)
{
    const QString campo = nomeCampo.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(nomeCampo);
    if (std::any_of(codice.cbegin(), codice.cend(), Controllo))
        return QStringLiteral("il codice%1 contiene caratteri di controllo").arg(campo);
    const QString fuori = PrimoCarattereFuoriCp1252(codice);
    if (!fuori.isEmpty())
        return QStringLiteral("il codice%1 contiene il carattere \"%2\", che i file dei dati non possono conservare")
            .arg(campo, fuori);
    return {};
}

LettoriScansione::LettoriScansione()
{
    m_lettori.push_back(std::make_unique<LettoreBusta15434>());
    m_lettori.push_back(std::make_unique<LettoreLcsc>());
    m_lettori.push_back(std::make_unique<LettoreEtichettaArvo>());
}

void LettoriScansione::aggiungi(std::unique_ptr<LettoreFormato> lettore)
{
    m_lettori.push_back(std::move(lettore));
}

Scansione LettoriScansione::leggi(const QString &testo) const
{
    Scansione base;
    base.testo = testo;
    if (testo.size() > LunghezzaMassimaScansione) {
        base.motivo = QStringLiteral("testo troppo lungo (%1 caratteri, al massimo %2)")
                          .arg(testo.size())
                          .arg(LunghezzaMassimaScansione);
        return base;
    }
    for (const auto &lettore : m_lettori) {
        Scansione s = base;
        if (lettore->leggiConIntestazione(testo, &s))
            return s;
    }
    for (const Tastiera &tastiera : TastiereConosciute()) {
        const QString diritto = DisfaTastiera(testo, tastiera);
        if (diritto == testo)
            continue;
        for (const auto &lettore : m_lettori) {
            Scansione s = base;
            if (lettore->leggiConIntestazione(diritto, &s)) {
                s.tastiera = tastiera.nome;
                return s;
            }
        }
    }
    for (const auto &lettore : m_lettori) {
        Scansione s = base;
        if (lettore->leggiSenzaIntestazione(testo, &s))
            return s;
    }
    return CodiceSemplice(base);
}

Scansione LeggiScansione(const QString &testo)
{
    static const LettoriScansione lettori;
    return lettori.leggi(testo);
}
