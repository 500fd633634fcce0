#include "startup/avvio.h"

#include "copie/copie.h"
#include "startup/bloccocartella.h"
#include "store/dialoghi.h"
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

bool creaFileVuoto(const QString &percorso)
{
    if (QFileInfo::exists(percorso))
        return true;
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly);
}

bool creaCartella(const QString &percorso)
{
    if (QFileInfo(percorso).isDir())
        return true;
    return QDir().mkdir(percorso);
}

// Shown once at start-up when the folder cannot take the temporaries of a
// save: otherwise the user would learn it only at the first save.
QString avvisoSalvataggioImpossibile(const Percorsi &p, const QString &descrizione)
{
    return QStringLiteral("Attenzione: le modifiche non potranno essere salvate.\r\n") + descrizione
        + QStringLiteral(".\r\nControllare i permessi e lo spazio libero della cartella ")
        + nativo(p.PercorsoApp) + QStringLiteral(".");
}

// Steps up to the settings; the load and the backup follow in Main. A
// folder where a save cannot work leaves its warning in *avviso.
bool preparaCartella(Stato &stato, ErroreAvvio *errore, QString *avviso)
{
    const Percorsi &p = stato.percorsi;
    QString descrizione;
    // A save interrupted by a crash is finished or undone before anything
    // is read.
    if (!RecuperaScrittura(p.PercorsoApp, nomiDati(p), &descrizione)
        || (QFileInfo(p.CartellaBackup).isDir()
            && !RecuperaScrittura(p.CartellaBackup, nomiDati(p), &descrizione))) {
        *errore = {ErroreAccesso, descrizione};
        return false;
    }
    if (!ProvaTemporanei(p.PercorsoApp, nomiDati(p), &descrizione))
        *avviso = avvisoSalvataggioImpossibile(p, descrizione);

    valoriIniziali(stato);

    if (!QFileInfo::exists(p.FileIni)) {
        stato.PrimoAvvio = true;
        ScriviInfo(stato);
    }
    for (const QString &file : {p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages}) {
        if (!creaFileVuoto(file)) {
            *errore = {ErroreAccesso, QStringLiteral("Impossibile creare il file ") + nativo(file)};
            return false;
        }
    }
    for (const QString &cartella : {p.CartellaDatasheet, p.CartellaPics, p.CartellaPackages,
                                    p.CartellaEsportati, p.CartellaStampe, p.CartellaBackup}) {
        if (!creaCartella(cartella)) {
            *errore = {ErroreAccesso,
                       QStringLiteral("Impossibile creare la cartella ") + nativo(cartella)};
            return false;
        }
    }

    if (!QFileInfo(p.FileIni).isFile()) {
        *errore = {ErroreAccesso, QStringLiteral("Impossibile leggere il file ") + nativo(p.FileIni)};
        return false;
    }
    if (!LeggiInfo(stato, &descrizione)) {
        *errore = {TipoNonCorrispondente, descrizione};
        return false;
    }
    if (stato.Versione != VersioneDati) {
        stato.Versione = VersioneDati;
        ScriviInfo(stato);
    }
    return true;
}

} // namespace

bool CopiaBackup(const Stato &stato, QString *errore)
{
    const Percorsi &p = stato.percorsi;
    QList<FileNuovo> copie;
    for (const QString &file : fileDati(p)) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            if (errore)
                *errore = QStringLiteral("Impossibile leggere il file ") + nativo(file);
            return false;
        }
        copie.append({nomeFile(file), f.readAll()});
    }
    return ScriviInsieme(p.CartellaBackup, copie, errore);
}

bool RicaricaArchivio(Stato &stato, Dialoghi &dialoghi)
{
    Stato nuovo;
    nuovo.percorsi = stato.percorsi;
    nuovo.PrimoAvvio = stato.PrimoAvvio;
    valoriIniziali(nuovo);
    QString descrizione;
    if (!LeggiInfo(nuovo, &descrizione)) {
        dialoghi.messaggio(QStringLiteral("Errore nell'apertura files del DB"), Icona::Nessuna,
                           Pulsanti::Ok);
        return false;
    }
    if (!CaricaDatabase(nuovo, dialoghi))
        return false;
    ContaPezzi(nuovo);
    nuovo.PrimoAvvio = stato.PrimoAvvio;
    stato = std::move(nuovo);
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
    case BloccoCartella::Esito::DaRimuovere:
        // Also on the standard error, for a start from a terminal or a script.
        qCritical("%s", qUtf8Printable(testoBlocco));
        dialoghi.messaggio(testoBlocco, Icona::Critica, Pulsanti::Ok);
        return false;
    }

    QString avviso;
    bool ok = blocco.preso() && preparaCartella(stato, &errore, &avviso);
    if (ok) {
        // The backup keeps the last state that loaded: a start that cannot
        // load leaves the previous copies alone.
        if (!CaricaDatabase(stato, dialoghi))
            return false;
        ContaPezzi(stato);
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
    if (!avviso.isEmpty())
        dialoghi.messaggio(avviso, Icona::Esclamazione, Pulsanti::Ok);
    return true;
}
