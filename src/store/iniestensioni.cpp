#include "store/iniestensioni.h"

#include "store/fileini.h"
#include "store/numeri.h"
#include "store/stato.h"

namespace {

const QString kScorta = QStringLiteral("Scorta");
const QString kCampoMinimo = QStringLiteral("Campo minimo");
const QString kRicerca = QStringLiteral("Ricerca");
const QString kCercaDescrizione = QStringLiteral("Cerca nella descrizione");

// Writes the key when it is not at its default or is already present.
void scriviSeServe(FileIni &ini, const QString &sezione, const QString &chiave,
                   const QString &valore, bool predefinito)
{
    QString attuale;
    if (!predefinito || ini.valore(sezione, chiave, &attuale))
        ini.imposta(sezione, chiave, valore);
}

} // namespace

void LeggiOpzioniEstese(const FileIni &ini, Stato &stato)
{
    stato.CampoMinimo = CampoMinimoPredefinito;
    QString testo;
    if (ini.valore(kScorta, kCampoMinimo, &testo)) {
        bool ok = false;
        const qint32 campo = LeggiNumeroIntero(testo, &ok);
        if (ok && campo >= 1 && campo <= 6)
            stato.CampoMinimo = campo;
    }
    stato.CercaDescrizione = ini.valore(kRicerca, kCercaDescrizione, &testo)
        && (testo == QLatin1String("True") || testo == QLatin1String("Vero"));
}

void ScriviOpzioniEstese(FileIni &ini, const Stato &stato)
{
    scriviSeServe(ini, kScorta, kCampoMinimo, QString::number(stato.CampoMinimo),
                  stato.CampoMinimo == CampoMinimoPredefinito);
    scriviSeServe(ini, kRicerca, kCercaDescrizione,
                  stato.CercaDescrizione ? QStringLiteral("True") : QStringLiteral("False"),
                  !stato.CercaDescrizione);
}
