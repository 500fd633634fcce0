#include "store/iniestensioni.h"

#include "store/fileini.h"
#include "store/numeri.h"
#include "store/stato.h"

namespace {

const QString kScorta = QStringLiteral("Scorta");
const QString kCampoMinimo = QStringLiteral("Campo minimo");
const QString kRicerca = QStringLiteral("Ricerca");
const QString kCercaDescrizione = QStringLiteral("Cerca nella descrizione");
const QString kPosizione = QStringLiteral("Posizione");
const QString kCampo = QStringLiteral("Campo");

// Writes the key when it is not at its default or is already present.
void scriviSeServe(FileIni &ini, const QString &sezione, const QString &chiave,
                   const QString &valore, bool predefinito)
{
    QString attuale;
    if (!predefinito || ini.valore(sezione, chiave, &attuale))
        ini.imposta(sezione, chiave, valore);
}

// A custom field's number (1-6) from the key; the default when the key is
// missing or holds anything else.
int leggiCampo(const FileIni &ini, const QString &sezione, const QString &chiave, int predefinito)
{
    QString testo;
    if (!ini.valore(sezione, chiave, &testo))
        return predefinito;
    bool ok = false;
    const qint32 campo = LeggiNumeroIntero(testo, &ok);
    return ok && campo >= 1 && campo <= 6 ? campo : predefinito;
}

} // namespace

void LeggiOpzioniEstese(const FileIni &ini, Stato &stato)
{
    stato.CampoMinimo = leggiCampo(ini, kScorta, kCampoMinimo, CampoMinimoPredefinito);
    QString testo;
    stato.CercaDescrizione = ini.valore(kRicerca, kCercaDescrizione, &testo)
        && (testo == QLatin1String("True") || testo == QLatin1String("Vero"));
    stato.CampoPosizione = leggiCampo(ini, kPosizione, kCampo, 0);
}

void ScriviOpzioniEstese(FileIni &ini, const Stato &stato)
{
    scriviSeServe(ini, kScorta, kCampoMinimo, QString::number(stato.CampoMinimo),
                  stato.CampoMinimo == CampoMinimoPredefinito);
    scriviSeServe(ini, kRicerca, kCercaDescrizione,
                  stato.CercaDescrizione ? QStringLiteral("True") : QStringLiteral("False"),
                  !stato.CercaDescrizione);
    scriviSeServe(ini, kPosizione, kCampo, QString::number(stato.CampoPosizione), stato.CampoPosizione == 0);
}
