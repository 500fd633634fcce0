#include "ricevi/registrazione.h"

#include "components/regole.h"
#include "movimenti/rigamovimento.h"
#include "store/cp1252.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 QuantitaMassima = std::numeric_limits<qint32>::max();

qint32 Posizione(const Stato &stato, qint32 id)
{
    const qint32 n = qint32(std::min<qsizetype>(stato.NumComponenti, stato.Componenti.size()));
    for (qint32 pos = 1; pos <= n; ++pos) {
        if (stato.componente(pos).ID == id)
            return pos;
    }
    return 0;
}

QString FuoriCp1252(const VoceRicevimento &v)
{
    for (const QString *testo : {&v.codice, &v.produttore, &v.descrizione}) {
        const QString c = PrimoCarattereFuoriCp1252(*testo);
        if (!c.isEmpty())
            return QStringLiteral("il carattere \"%1\" non pu\u00f2 essere salvato nei file dei dati").arg(c);
    }
    return {};
}

} // namespace

PianoImportazione PianificaRicevimento(const Stato &stato, const QList<VoceRicevimento> &voci, const QString &tipo)
{
    QList<ErroreRiga> errori;
    QHash<qint32, qint64> aggiunte;    // position -> new quantity
    QList<qint32> ordine;              // positions in the order first met
    QHash<QString, qsizetype> nuove;   // code and manufacturer keys -> line in lettura
    LetturaCSV lettura;
    QDateTime oggi(Oggi(), QTime(0, 0), Qt::UTC);

    for (qsizetype i = 0; i < voci.size(); ++i) {
        const VoceRicevimento &v = voci[i];
        const int numero = int(i + 1);
        const auto errore = [&](const QString &motivo) { errori.append({numero, motivo}); };
        if (v.pezzi <= 0 || v.pezzi > QuantitaMassima) {
            errore(QStringLiteral("numero di pezzi non valido"));
            continue;
        }
        if (v.id != 0) {
            const qint32 pos = Posizione(stato, v.id);
            if (pos == 0) {
                errore(QStringLiteral("il componente scelto non c'\u00e8 pi\u00f9"));
                continue;
            }
            auto it = aggiunte.find(pos);
            const qint64 prima = it != aggiunte.end() ? *it : stato.componente(pos).Quantita;
            if (prima + v.pezzi > QuantitaMassima) {
                errore(QStringLiteral("la quantit\u00e0 di %1 supererebbe il limite").arg(stato.componente(pos).Codice));
                continue;
            }
            if (it == aggiunte.end())
                ordine.append(pos);
            aggiunte[pos] = prima + v.pezzi;
            continue;
        }
        const QString codice = MaiuscoloCp1252(v.codice.trimmed()).replace(QLatin1Char('"'), QLatin1Char('\''));
        if (codice.isEmpty()) {
            errore(QStringLiteral("manca il codice"));
            continue;
        }
        if (const QString motivo = FuoriCp1252(v); !motivo.isEmpty()) {
            errore(motivo);
            continue;
        }
        const QString chiave = ChiaveNome(codice) + QLatin1Char('\n') + ChiaveNome(v.produttore);
        if (const auto it = nuove.constFind(chiave); it != nuove.constEnd()) {
            Componente &c = lettura.righe[*it].componente;
            if (c.Quantita + v.pezzi > QuantitaMassima) {
                errore(QStringLiteral("la quantit\u00e0 di %1 supererebbe il limite").arg(codice));
                continue;
            }
            c.Quantita += qint32(v.pezzi);
            continue;
        }
        RigaCSV riga;
        riga.numero = numero;
        Componente &c = riga.componente;
        c.Codice = codice;
        c.NomeProduttore = v.produttore.trimmed().replace(QLatin1Char('"'), QLatin1Char('\''));
        c.NomeTipo = tipo;
        c.Descrizione = PulisciTesto(v.descrizione.trimmed()).trimmed();
        c.Quantita = qint32(v.pezzi);
        c.DataInserimento = oggi;
        nuove.insert(chiave, lettura.righe.size());
        lettura.righe.append(std::move(riga));
    }

    PianoImportazione piano = PianificaImportazione(stato, lettura, CodiciEsistenti::Aggiungi);
    for (const qint32 pos : ordine)
        piano.quantita.append({pos, qint32(aggiunte.value(pos))});
    piano.errori += errori;
    std::stable_sort(piano.errori.begin(), piano.errori.end(),
                     [](const ErroreRiga &a, const ErroreRiga &b) { return a.numero < b.numero; });
    return piano;
}

bool RegistraRicevimento(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi)
{
    return RegistraRicevimento(stato, piano, dialoghi, GuastoScrittura{});
}

bool RegistraRicevimento(Stato &stato, const PianoImportazione &piano, Dialoghi &dialoghi,
                         const GuastoScrittura &guasto)
{
    if (!piano.errori.isEmpty())
        return false;
    return EseguiPiano(stato, piano, dialoghi, guasto, TestoMovimento(TipoMovimento::Ricevimento));
}
