#include "startup/avvio.h"

#include "copie/copie.h"
#include "startup/bloccocartella.h"
#include "startup/riparazioneinfo.h"
#include "startup/solalettura.h"
#include "store/dialoghi.h"
#include "store/fileincartella.h"
#include "store/ini.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Error numbers of start-up, shown as "Errore n. <numero>: ...".
enum NumeroErrore {
    TipoNonCorrispondente = 13,
    PermessoNegato = 70,
    ErroreAccesso = 75,
};

struct ErroreAvvio {
    int numero = 0;
    QString descrizione;
};

QString nativo(const QString &percorso)
{
    return QDir::toNativeSeparators(QDir::cleanPath(percorso));
}

QString nomeFile(const QString &percorso)
{
    return QFileInfo(percorso).fileName();
}

// The five data files, in the order they are copied.
QStringList fileDati(const Percorsi &p)
{
    return {p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages, p.FileIni};
}

QStringList nomiDati(const Percorsi &p)
{
    QStringList nomi;
    for (const QString &f : fileDati(p))
        nomi << nomeFile(f);
    return nomi;
}

void valoriIniziali(Stato &stato)
{
    stato.SeparatoreCSV = QStringLiteral(",");
    stato.PrimoAvvio = false;
    stato.NumComponenti = stato.NumTipi = stato.NumProduttori = stato.NumPackages = 0;
    stato.ProssimoIDComponente = stato.ProssimoIDTipo = 1;
    stato.ProssimoIDProduttore = stato.ProssimoIDPackage = 1;
    stato.ImmaginiReali = false;
    for (int i = 1; i <= 6; ++i)
        stato.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
}

// The files and folders made here belong, like the folder they are in, to
// its owner (EreditaProprietario), even when the program runs as the
// superuser.
bool creaFileVuoto(const QString &percorso)
{
    if (QFileInfo::exists(percorso))
        return true;
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    EreditaProprietario(percorso);
    return true;
}

bool creaCartella(const QString &percorso)
{
    if (QFileInfo(percorso).isDir())
        return true;
    if (!QDir().mkdir(percorso))
        return false;
    EreditaProprietario(percorso);
    return true;
}

// Shown once at start-up when the folder cannot take the temporaries of a
// save: otherwise the user would learn it only at the first save.
QString avvisoSalvataggioImpossibile(const Percorsi &p, const QString &descrizione)
{
    return QStringLiteral("Attenzione: le modifiche non potranno essere salvate.\r\n") + descrizione
        + QStringLiteral(".\r\nControllare i permessi e lo spazio libero della cartella ")
        + nativo(p.PercorsoApp) + QStringLiteral(".");
}

// Info.ini as the start found it: its bytes, the same in Windows-1252 (the
// base of a repaired file) and what must be put right.
struct IniTrovato {
    RiparazioneInfo riparazione;
    QByteArray grezzo;
    QByteArray base;
};

// Steps up to the settings; the load and the backup follow in Main. A
// folder where a save cannot work leaves its warning in *avviso. A read-only
// start only reads: the folder is taken as the other copy keeps it.
bool preparaCartella(Stato &stato, ErroreAvvio *errore, QString *avviso)
{
    const Percorsi &p = stato.percorsi;
    const bool scrive = !stato.SolaLettura;
    QString descrizione;
    // A save interrupted by a crash is finished or undone before anything
    // is read.
    if (scrive
        && (!RecuperaScrittura(p.PercorsoApp, nomiDati(p), &descrizione)
            || (QFileInfo(p.CartellaBackup).isDir()
                && !RecuperaScrittura(p.CartellaBackup, nomiDati(p), &descrizione)))) {
        *errore = {ErroreAccesso, descrizione};
        return false;
    }
    if (scrive && !ProvaTemporanei(p.PercorsoApp, nomiDati(p), &descrizione))
        *avviso = avvisoSalvataggioImpossibile(p, descrizione);

    valoriIniziali(stato);

    // Only a folder whose table files hold nothing starts as a first start:
    // without Info.ini, records in the files are kept and Info.ini is
    // rebuilt from them once they are loaded.
    if (!QFileInfo::exists(p.FileIni) && !TabelleConDati(p)) {
        stato.PrimoAvvio = true;
        ScriviInfo(stato);
    }
    for (const QString &file : {p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages}) {
        if (scrive && !creaFileVuoto(file)) {
            *errore = {ErroreAccesso, QStringLiteral("Impossibile creare il file ") + nativo(file)};
            return false;
        }
    }
    for (const QString &cartella : {p.CartellaDatasheet, p.CartellaPics, p.CartellaPackages,
                                    p.CartellaEsportati, p.CartellaStampe, p.CartellaBackup}) {
        if (scrive && !creaCartella(cartella)) {
            *errore = {ErroreAccesso,
                       QStringLiteral("Impossibile creare la cartella ") + nativo(cartella)};
            return false;
        }
    }
    return true;
}

// Reads the settings of Info.ini into the state (the start-up values stay
// where the file gives none). A file missing or unreadable is noted for the
// repair; only a counter that is not a number refuses the start.
bool leggiImpostazioni(Stato &stato, IniTrovato *ini, ErroreAvvio *errore)
{
    using File = RiparazioneInfo::File;
    const Percorsi &p = stato.percorsi;
    if (!QFileInfo::exists(p.FileIni)) {
        ini->riparazione.file = File::Mancante;
        return true;
    }
    const std::optional<QByteArray> grezzo = LeggiFileRegolare(p.FileIni);
    if (!grezzo) {
        ini->riparazione.file = File::Illeggibile;
        return true;
    }
    ini->grezzo = *grezzo;
    ini->base = IniInCp1252(ini->grezzo, &ini->riparazione.codifica);
    if (!ini->riparazione.codifica.isEmpty())
        ini->riparazione.file = File::AltraCodifica;
    QString descrizione;
    if (!LeggiInfo(stato, ini->base, &descrizione)) {
        *errore = {TipoNonCorrispondente, descrizione};
        return false;
    }
    return true;
}

// Loads the four tables, every record the files hold, and puts Info.ini
// right when it disagrees with them (or brings its version up to date, as
// every start does). *messaggio receives what the user is to be told of a
// repair. False when the tables cannot be loaded, the message shown.
bool caricaTabelle(Stato &stato, Dialoghi &dialoghi, IniTrovato &ini, QString *messaggio)
{
    RiparazioneInfo &r = ini.riparazione;
    if (!CaricaDatabase(stato, dialoghi, &r.conteggi))
        return false;
    CorreggiProssimiID(stato, &r.prossimiID);
    // Without Info.ini and without records there is nothing to rebuild:
    // the defaults are all there is (a first start wrote them already).
    if (r.file == RiparazioneInfo::File::Mancante
        && stato.NumComponenti + stato.NumTipi + stato.NumProduttori + stato.NumPackages == 0)
        r.file = RiparazioneInfo::File::Sano;
    const bool riparare = r.necessaria();
    if (!riparare && stato.Versione == VersioneDati)
        return true;
    stato.Versione = VersioneDati;
    if (stato.SolaLettura)
        return true;
    if (!riparare) {
        ScriviInfo(stato);
        return true;
    }
    QString conservato, errore;
    ScriviInfoRiparato(stato, r.file, ini.grezzo, ini.base, &conservato, &errore);
    *messaggio = TestoRiparazione(r, stato, conservato, errore);
    return true;
}

} // namespace

bool CopiaBackup(const Stato &stato, QString *errore)
{
    const Percorsi &p = stato.percorsi;
    if (stato.SolaLettura) {
        if (errore)
            *errore = QStringLiteral("L'archivio è aperto in sola lettura");
        return false;
    }
    QList<FileNuovo> copie;
    for (const QString &file : fileDati(p)) {
        std::optional<QByteArray> contenuto = LeggiFileRegolare(file);
        if (!contenuto) {
            if (errore)
                *errore = QStringLiteral("Impossibile leggere il file ") + nativo(file);
            return false;
        }
        copie.append({nomeFile(file), std::move(*contenuto)});
    }
    return ScriviInsieme(p.CartellaBackup, copie, errore);
}

bool RicaricaArchivio(Stato &stato, Dialoghi &dialoghi)
{
    Stato nuovo;
    nuovo.percorsi = stato.percorsi;
    nuovo.PrimoAvvio = stato.PrimoAvvio;
    nuovo.TabelleModificate = stato.TabelleModificate;
    nuovo.SolaLettura = stato.SolaLettura;
    nuovo.CartellaTemporanea = stato.CartellaTemporanea;
    valoriIniziali(nuovo);
    IniTrovato ini;
    ErroreAvvio errore;
    QString riparazione;
    if (!leggiImpostazioni(nuovo, &ini, &errore)) {
        dialoghi.messaggio(QStringLiteral("Errore nell'apertura files del DB"), Icona::Nessuna,
                           Pulsanti::Ok);
        return false;
    }
    if (!caricaTabelle(nuovo, dialoghi, ini, &riparazione))
        return false;
    ContaPezzi(nuovo);
    stato = std::move(nuovo);
    if (!riparazione.isEmpty())
        dialoghi.messaggio(riparazione, Icona::Esclamazione, Pulsanti::Ok);
    return true;
}

bool Main(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma,
          const QString &cartellaRisorse)
{
    BloccoCartella blocco;
    return Main(stato, dialoghi, cartellaProgramma, blocco, cartellaRisorse);
}

bool Main(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma, BloccoCartella &blocco,
          const QString &cartellaRisorse)
{
    stato.percorsi = Percorsi::DaCartella(cartellaProgramma, cartellaRisorse);

    ErroreAvvio errore;
    QString testoBlocco;
    switch (blocco.prendi(stato.percorsi.PercorsoApp, &testoBlocco)) {
    case BloccoCartella::Esito::Preso:
        break;
    case BloccoCartella::Esito::NonCreabile:
        errore = {ErroreAccesso, testoBlocco};
        break;
    case BloccoCartella::Esito::Occupato:
        // Also on the standard error, for a start from a terminal or a script.
        qCritical("%s", qUtf8Printable(testoBlocco));
        // The other copy keeps the lock; this one may only look.
        if (!ChiediSolaLettura(stato, dialoghi, testoBlocco))
            return false;
        break;
    case BloccoCartella::Esito::DaRimuovere:
        qCritical("%s", qUtf8Printable(testoBlocco));
        dialoghi.messaggio(testoBlocco, Icona::Critica, Pulsanti::Ok);
        return false;
    }

    QString avviso, riparazione;
    IniTrovato ini;
    bool ok = (blocco.preso() || stato.SolaLettura) && preparaCartella(stato, &errore, &avviso)
        && leggiImpostazioni(stato, &ini, &errore);
    if (ok) {
        // The backup keeps the last state that loaded: a start that cannot
        // load leaves the previous copies alone.
        if (!caricaTabelle(stato, dialoghi, ini, &riparazione))
            return false;
        ContaPezzi(stato);
        // Nothing of what follows is done when only looking.
        if (stato.SolaLettura)
            return true;
        QString descrizione;
        ok = CopiaBackup(stato, &descrizione);
        if (!ok)
            errore = {PermessoNegato, descrizione};
        else
            CopiaDatataAllAvvio(stato, dialoghi);
    }
    if (!ok) {
        dialoghi.messaggio(QStringLiteral("Errore n. ") + QString::number(errore.numero)
                               + QStringLiteral(": ") + errore.descrizione
                               + QStringLiteral(".\r\nIn Modulo Main"),
                           Icona::Nessuna, Pulsanti::Ok);
        return false;
    }
    for (const QString &testo : {riparazione, avviso}) {
        if (!testo.isEmpty())
            dialoghi.messaggio(testo, Icona::Esclamazione, Pulsanti::Ok);
    }
    return true;
}
