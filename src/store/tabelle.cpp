#include "store/tabelle.h"

#include "store/dialoghi.h"
#include "store/fileincartella.h"
#include "store/filetabelle.h"
#include "store/fileini.h"
#include "store/ini.h"
#include "store/scritturasicura.h"
#include "store/stato.h"

#include <QFileInfo>

namespace {

// The whole content of a table file; false when it is not a readable
// regular file (never waiting on a FIFO or a device put in its place).
bool leggiFile(const QString &percorso, QByteArray *dati)
{
    std::optional<QByteArray> letto = LeggiFileRegolare(percorso);
    if (!letto)
        return false;
    *dati = std::move(*letto);
    return true;
}

template <typename T, typename F>
bool caricaTabella(const QString &percorso, TabellaFile quale, qint32 *num, QList<T> *tabella,
                   F leggi, QList<ConteggioCorretto> *corretti)
{
    QByteArray dati;
    if (!leggiFile(percorso, &dati))
        return false;
    qint32 trovati = 0;
    if (PiuRecordDi(dati, quale, *num, &trovati)) {
        if (corretti)
            corretti->append({quale, *num, trovati});
        *num = trovati;
    }
    return leggi(dati, *num, tabella, SogliaLetturaParallela);
}

} // namespace

bool CaricaDatabase(Stato &stato, Dialoghi &dialoghi, QList<ConteggioCorretto> *corretti)
{
    const Percorsi &p = stato.percorsi;
    // Read into copies, so that a failure leaves the tables and counts as
    // they were.
    QList<Tipo> tipi = stato.Tipi;
    QList<Produttore> produttori = stato.Produttori;
    QList<Package> packages = stato.Packages;
    QList<Componente> componenti = stato.Componenti;
    qint32 numTipi = stato.NumTipi, numProduttori = stato.NumProduttori,
           numPackages = stato.NumPackages, numComponenti = stato.NumComponenti;
    QList<ConteggioCorretto> trovati;
    const bool ok =
        caricaTabella(p.FileTipi, TabellaFile::Tipi, &numTipi, &tipi, LeggiTipi, &trovati)
        && caricaTabella(p.FileProduttori, TabellaFile::Produttori, &numProduttori, &produttori,
                         LeggiProduttori, &trovati)
        && caricaTabella(p.FilePackages, TabellaFile::Packages, &numPackages, &packages,
                         LeggiPackages, &trovati)
        && caricaTabella(p.FileComponenti, TabellaFile::Componenti, &numComponenti, &componenti,
                         LeggiComponenti, &trovati);
    if (!ok) {
        dialoghi.messaggio(QStringLiteral("Errore nell'apertura files del DB"), Icona::Nessuna,
                           Pulsanti::Ok);
        return false;
    }
    stato.Tipi = std::move(tipi);
    stato.Produttori = std::move(produttori);
    stato.Packages = std::move(packages);
    stato.Componenti = std::move(componenti);
    // A negative count loads nothing; as 0 it can never reach a save.
    stato.NumTipi = qMax(numTipi, 0);
    stato.NumProduttori = qMax(numProduttori, 0);
    stato.NumPackages = qMax(numPackages, 0);
    stato.NumComponenti = qMax(numComponenti, 0);
    if (corretti)
        *corretti = std::move(trovati);
    return true;
}

bool SalvaDatabase(Stato &stato, Dialoghi &dialoghi)
{
    return SalvaDatabase(stato, dialoghi, GuastoScrittura{});
}

bool SalvaDatabase(Stato &stato, Dialoghi &dialoghi, const GuastoScrittura &guasto)
{
    return SalvaDatabase(stato, dialoghi, guasto, {});
}

bool SalvaDatabase(Stato &stato, Dialoghi &dialoghi, const GuastoScrittura &guasto,
                   const QList<FileNuovo> &altri)
{
    const Percorsi &p = stato.percorsi;
    if (stato.SolaLettura) {
        // The window offers no command that gets here; should one slip
        // through, the folder of the other copy is still left alone.
        ContaPezzi(stato);
        dialoghi.messaggio(MessaggioSolaLettura, Icona::Esclamazione, Pulsanti::Ok);
        return false;
    }
    bool ok = stato.NumComponenti <= stato.Componenti.size() && stato.NumTipi <= stato.Tipi.size()
        && stato.NumProduttori <= stato.Produttori.size()
        && stato.NumPackages <= stato.Packages.size();
    QByteArray ini;
    ok = ok && LeggiFileIni(p.FileIni, &ini);
    if (ok) {
        const auto nome = [](const QString &percorso) { return QFileInfo(percorso).fileName(); };
        QList<FileNuovo> files = {
            {nome(p.FileIni), ContenutoInfo(stato, ini)},
            {nome(p.FileComponenti), TestoComponenti(stato.Componenti, stato.NumComponenti)},
            {nome(p.FileTipi), TestoTipi(stato.Tipi, stato.NumTipi)},
            {nome(p.FileProduttori), TestoProduttori(stato.Produttori, stato.NumProduttori)},
            {nome(p.FilePackages), TestoPackages(stato.Packages, stato.NumPackages)},
        };
        files += altri;
        ok = ScriviInsieme(p.PercorsoApp, files, nullptr, guasto);
    }
    ContaPezzi(stato);
    if (!ok)
        dialoghi.messaggio(QStringLiteral("Errore nel salvataggio dei dati"), Icona::Nessuna,
                           Pulsanti::Ok);
    return ok;
}

void ContaPezzi(Stato &stato)
{
    qint64 totale = 0;
    const qint32 n = qMin<qsizetype>(stato.NumComponenti, stato.Componenti.size());
    for (qint32 i = 1; i <= n; ++i)
        totale += stato.componente(i).Quantita;
    stato.TotalePezzi = totale;
}
