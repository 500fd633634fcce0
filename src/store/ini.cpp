#include "store/ini.h"

#include "store/fileini.h"
#include "store/iniestensioni.h"
#include "store/numeri.h"
#include "store/scritturasicura.h"
#include "store/stato.h"

#include <QFileInfo>

namespace {

constexpr qsizetype kLunghezzaMassima = 2047;

const QString kVersione = QStringLiteral("Versione");
const QString kCounter = QStringLiteral("Counter");
const QString kOptions = QStringLiteral("Options");
const QString kCustom = QStringLiteral("Custom");
const QString kImmagini = QStringLiteral("Immagini dimensioni reali");
const QString kSeparatore = QStringLiteral("Separatore CSV");
const QString kTema = QStringLiteral("Tema Chiaro");

QString chiaveEtichetta(int i)
{
    return QStringLiteral("Campo personale %1").arg(i);
}

QString testoBooleano(bool valore)
{
    return valore ? QStringLiteral("True") : QStringLiteral("False");
}

// Writes a whole INI file in place of the old one; failures are ignored.
void sostituisciFile(const QString &file, const QByteArray &contenuto)
{
    const QFileInfo info(file);
    ScriviInsieme(info.absolutePath(), {{info.fileName(), contenuto}});
}

QString leggi(const FileIni &ini, const QString &sezione, const QString &chiave,
              const QString &predefinito)
{
    return LeggiChiaveIni(ini, sezione, chiave, predefinito);
}

struct Contatore {
    const char *chiave;
    qint32 Stato::*variabile;
    const char *predefinito;
};

constexpr Contatore kContatori[] = {
    {"Numero Componenti", &Stato::NumComponenti, "0"},
    {"Numero Tipi", &Stato::NumTipi, "0"},
    {"Numero Produttori", &Stato::NumProduttori, "0"},
    {"Numero Packages", &Stato::NumPackages, "0"},
    {"Prossimo ID Componente", &Stato::ProssimoIDComponente, "1"},
    {"Prossimo ID Tipi", &Stato::ProssimoIDTipo, "1"},
    {"Prossimo ID Produttori", &Stato::ProssimoIDProduttore, "1"},
    {"Prossimo ID Package", &Stato::ProssimoIDPackage, "1"},
};

} // namespace

QString LeggiChiaveIni(const FileIni &ini, const QString &sezione, const QString &chiave,
                       const QString &predefinito)
{
    QString valore;
    if (!ini.valore(sezione, chiave, &valore))
        return predefinito;
    valore.truncate(kLunghezzaMassima);
    return valore;
}

QString LeggiChiaveIni(const QString &sezione, const QString &chiave, const QString &predefinito,
                       const QString &file)
{
    QByteArray contenuto;
    if (!LeggiFileIni(file, &contenuto))
        return predefinito;
    return leggi(FileIni(contenuto), sezione, chiave, predefinito);
}

void ScriviChiaveIni(const QString &sezione, const QString &chiave, const QString &valore,
                     const QString &file)
{
    QByteArray contenuto;
    if (!LeggiFileIni(file, &contenuto))
        return;
    FileIni ini(contenuto);
    ini.imposta(sezione, chiave, valore);
    sostituisciFile(file, ini.contenuto());
}

bool LeggiInfo(Stato &stato, QString *errore)
{
    QByteArray contenuto;
    if (!LeggiFileIni(stato.percorsi.FileIni, &contenuto)) {
        if (errore)
            *errore = QStringLiteral("Impossibile leggere il file Info.ini");
        return false;
    }
    return LeggiInfo(stato, contenuto, errore);
}

bool LeggiInfo(Stato &stato, const QByteArray &contenuto, QString *errore)
{
    const FileIni ini(contenuto);
    stato.Versione = leggi(ini, kVersione, kVersione, QString());
    for (const Contatore &c : kContatori) {
        const QString chiave = QString::fromLatin1(c.chiave);
        const QString testo = leggi(ini, kCounter, chiave, QString::fromLatin1(c.predefinito));
        bool ok = false;
        const qint32 valore = LeggiNumeroIntero(testo, &ok);
        if (!ok) {
            if (errore)
                *errore = QStringLiteral("Tipo non corrispondente: il valore di \"%1\" in Info.ini "
                                         "non è un numero valido")
                              .arg(chiave);
            return false;
        }
        stato.*c.variabile = valore;
    }
    const QString vero = QStringLiteral("True");
    const auto booleano = [&](const QString &chiave) {
        const QString testo = leggi(ini, kOptions, chiave, vero);
        return testo == QLatin1String("Vero") || testo == QLatin1String("True");
    };
    stato.ImmaginiReali = booleano(kImmagini);
    stato.SeparatoreCSV = leggi(ini, kOptions, kSeparatore, QStringLiteral(","));
    stato.TemaChiaro = booleano(kTema);
    for (int i = 1; i <= 6; ++i)
        stato.Etichette[i] = leggi(ini, kCustom, chiaveEtichetta(i),
                                   QStringLiteral("Campo Personale%1").arg(i));
    LeggiOpzioniEstese(ini, stato);
    return true;
}

QByteArray ContenutoInfo(const Stato &stato, const QByteArray &attuale)
{
    FileIni ini(attuale);
    ini.imposta(kVersione, kVersione, VersioneDati);
    for (const Contatore &c : kContatori)
        ini.imposta(kCounter, QString::fromLatin1(c.chiave), QString::number(stato.*c.variabile));
    ini.imposta(kOptions, kImmagini, testoBooleano(stato.ImmaginiReali));
    ini.imposta(kOptions, kSeparatore, stato.SeparatoreCSV);
    ini.imposta(kOptions, kTema, testoBooleano(stato.TemaChiaro));
    for (int i = 1; i <= 6; ++i)
        ini.imposta(kCustom, chiaveEtichetta(i), stato.Etichette[i]);
    ScriviOpzioniEstese(ini, stato);
    return ini.contenuto();
}

void ScriviInfo(const Stato &stato)
{
    if (stato.SolaLettura)
        return;
    const QString &file = stato.percorsi.FileIni;
    QByteArray attuale;
    if (!LeggiFileIni(file, &attuale))
        return;
    const QByteArray nuovo = ContenutoInfo(stato, attuale);
    // Rewriting the same bytes would change nothing.
    if (nuovo == attuale && QFileInfo::exists(file))
        return;
    sostituisciFile(file, nuovo);
}
