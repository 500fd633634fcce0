#pragma once

// Helpers of the bill-of-materials tests.

#include "distinta/verificadistinta.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QStringList>

#include <algorithm>

// Fills the stock from "ID:CODICE:PEZZI[:PRODUTTORE[:DESCRIZIONE]]" entries in
// table order (manufacturer ACME unless given, type IC), with the counters.
inline void RiempiMagazzino(Stato &s, const QStringList &voci)
{
    s.Componenti.clear();
    for (const QString &voce : voci) {
        const QStringList p = voce.split(u':');
        Componente c;
        c.ID = p[0].toInt();
        c.Codice = p[1];
        c.Quantita = p[2].toInt();
        c.NomeProduttore = p.value(3, QStringLiteral("ACME"));
        c.Descrizione = p.value(4);
        c.NomeTipo = QStringLiteral("IC");
        c.DataInserimento = QDateTime(QDate(2024, 1, 2), QTime(0, 0), Qt::UTC);
        s.Componenti.append(c);
        s.ProssimoIDComponente = std::max(s.ProssimoIDComponente, c.ID + 1);
    }
    s.NumComponenti = qint32(s.Componenti.size());
    ContaPezzi(s);
}

// The outcome of each line of a check, "part|code|outcome".
inline QStringList Esiti(const VerificaDistinta &v)
{
    QStringList out;
    for (const VoceVerifica &voce : v.voci())
        out << voce.parte + u'|' + voce.codice + u'|' + TestoEsito(voce);
    return out;
}
