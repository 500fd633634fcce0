#pragma once

// Helpers shared by the tests of the stock history.

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "movimenti/indice.h"
#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/tabelle.h"

#include <QTest>

// A line of the history, written at 2025-03-07 09:05:01, manufacturer ACME.
inline RigaMovimento RigaProva(qint64 op, const QString &movimento, qint32 id, const QString &codice,
                               std::optional<qint32> prima, std::optional<qint32> dopo, const QString &nota = {},
                               const QString &dettagli = {})
{
    return {QDateTime(QDate(2025, 3, 7), QTime(9, 5, 1)), op, movimento, id, codice, QStringLiteral("ACME"),
            prima, dopo, nota, dettagli};
}

// The lines as the file holds them, one after another.
inline QByteArray TestoRighe(const QList<RigaMovimento> &righe)
{
    QByteArray t;
    for (const RigaMovimento &r : righe)
        t += TestoRigaMovimento(r);
    return t;
}

// The history's lines as "op;movimento;id;codice;prima;dopo" (a quantity
// that is not there as "-"), with ";dettagli" and ";nota" when asked.
inline QStringList DescriviStorico(const QString &file, bool dettagli = false, bool nota = false)
{
    IndiceMovimenti indice;
    if (!indice.apri(file))
        return {QStringLiteral("illeggibile")};
    const auto n = [](std::optional<qint32> v) { return v ? QString::number(*v) : QStringLiteral("-"); };
    QStringList out;
    for (qsizetype i = 0; i < indice.conteggio(); ++i) {
        const RigaMovimento r = indice.riga(i).value_or(RigaMovimento());
        const QString riga = QStringLiteral("%1;%2;%3;").arg(r.operazione).arg(r.movimento).arg(r.id);
        out << riga + QStringList{r.codice, n(r.prima), n(r.dopo)}.join(';')
                   + (dettagli ? QLatin1Char(';') + r.dettagli : QString())
                   + (nota ? QLatin1Char(';') + r.nota : QString());
    }
    return out;
}

// Whether a save left its temporaries or its journal in the folder.
inline bool Avanzi(const QString &cartella)
{
    for (const QString &nome : QDir(cartella).entryList(QDir::Files | QDir::Hidden)) {
        if (nome.endsWith(QLatin1String(".nuovo")) || nome == NomeGiornale)
            return true;
    }
    return false;
}

// A start on the folder into a fresh state, without any message.
inline bool Riavvia(const QString &cartella, Stato *stato)
{
    DialoghiFinti d;
    return Main(*stato, d, cartella) && d.boxes().isEmpty();
}

// A started folder with the example database (NE555 ×10, BC547B ×-25)
// saved with "now" at that moment; with a first operation in the history
// (NE555 new) when asked.
struct ArchivioStorico {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    explicit ArchivioStorico(const QDateTime &adesso, bool primaOperazione = false)
    {
        ImpostaAdesso(adesso);
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        RiempiStatoDiEsempio(stato);
        QList<RigaMovimento> righe;
        if (primaOperazione)
            righe << RigaCreazione(stato.Componenti[0], QStringLiteral("Nuovo"));
        QVERIFY(SalvaOperazione(stato, dialoghi, righe));
    }
    ~ArchivioStorico() { ImpostaAdesso(QDateTime()); }
    QByteArray storico() const { return cartella.leggi(NomeFileMovimenti); }
    QStringList righe(bool dettagli = false) const { return DescriviStorico(stato.percorsi.FileMovimenti, dettagli); }
};
