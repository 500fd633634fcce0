#include "startup/solalettura.h"

#include "store/dialoghi.h"
#include "store/stato.h"

#include <QDir>
#include <QTemporaryDir>

bool PreparaSolaLettura(Stato &stato, QString *errore)
{
    auto cartella = std::make_shared<QTemporaryDir>(QDir::tempPath()
                                                    + QStringLiteral("/Arvo-sola-lettura-XXXXXX"));
    if (!cartella->isValid()) {
        if (errore)
            *errore = QStringLiteral("Impossibile creare una cartella temporanea in ")
                      + QDir::toNativeSeparators(QDir::tempPath());
        return false;
    }
    const QString percorso = cartella->path() + QLatin1Char('/');
    stato.SolaLettura = true;
    stato.CartellaTemporanea = std::move(cartella);
    stato.percorsi.CartellaStampe = percorso;
    stato.percorsi.CartellaEsportati = percorso;
    return true;
}

QString CartellaUscitaSolaLettura(const Stato &stato)
{
    if (!stato.SolaLettura || !stato.CartellaTemporanea)
        return {};
    return QDir::toNativeSeparators(stato.CartellaTemporanea->path());
}

bool ChiediSolaLettura(Stato &stato, Dialoghi &dialoghi, const QString &testoBlocco)
{
    if (dialoghi.messaggio(testoBlocco + QStringLiteral("\r\n") + DomandaSolaLettura, Icona::Domanda,
                           Pulsanti::SiNo)
        != Risposta::Si)
        return false;
    QString errore;
    if (PreparaSolaLettura(stato, &errore))
        return true;
    dialoghi.messaggio(errore + QStringLiteral(".\r\nL'archivio non può essere aperto in sola lettura."),
                       Icona::Critica, Pulsanti::Ok);
    return false;
}
