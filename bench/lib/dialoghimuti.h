#pragma once

#include "store/dialoghi.h"

// A Dialoghi for the benchmarks: asks nobody, answers OK or No, and counts
// the boxes so that a run can tell a failure.
class DialoghiMuti : public Dialoghi {
public:
    int boxes = 0;
    Risposta messaggio(const QString &, Icona, Pulsanti pulsanti, const QString & = {}) override
    {
        ++boxes;
        return pulsanti == Pulsanti::SiNo || pulsanti == Pulsanti::StampaPdfNo ? Risposta::No
            : pulsanti == Pulsanti::SiNoAnnulla ? Risposta::Annulla
                                                : Risposta::Ok;
    }
    QString apriFile(const QString &, const QString &, const QString &) override { return {}; }
    bool avviaProgramma(const QString &, const QStringList &) override { return false; }
    bool apriDocumento(const QString &) override { return false; }
};
