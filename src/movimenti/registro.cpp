#include "movimenti/registro.h"

#include "store/dialoghi.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 BloccoCoda = 64 * 1024;

void Imposta(QString *errore, const QString &testo)
{
    if (errore)
        *errore = testo;
}

// The number of the last line that reads among the whole lines of dati,
// which starts at offset inizio of the file; 0 when none does. *intero
// tells whether the search reached a line that may begin before dati.
qint64 UltimaOperazione(const QByteArray &dati, qint64 inizio, bool *incompleto)
{
    *incompleto = false;
    qsizetype fine = dati.lastIndexOf('\n');
    while (fine >= 0) {
        const qsizetype a = dati.lastIndexOf('\n', fine - 1) + 1;
        if (a == 0 && inizio > 0) {
            *incompleto = true;
            return 0;
        }
        QByteArrayView riga(dati.constData() + a, fine - a);
        if (riga.endsWith('\r'))
            riga.chop(1);
        if (const auto letta = LeggiRigaMovimento(riga))
            return letta->operazione;
        fine = a - 1;
    }
    return 0;
}

} // namespace

std::optional<CodaMovimenti> LeggiCodaMovimenti(const QString &percorso, QString *errore)
{
    CodaMovimenti coda;
    const QFileInfo info(percorso);
    const QString nome = QDir::toNativeSeparators(percorso);
    if (!info.exists())
        return coda;
    QFile f(percorso);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly)) {
        Imposta(errore, QStringLiteral("Impossibile leggere il file %1").arg(nome));
        return std::nullopt;
    }
    const qint64 dimensione = f.size();
    if (dimensione == 0)
        return coda;
    coda.nuovo = false;
    // Back from the end, in ever larger blocks, until a line reads or the
    // start is reached.
    for (qint64 blocco = BloccoCoda;; blocco *= 2) {
        const qint64 inizio = qMax<qint64>(0, dimensione - blocco);
        QByteArray dati;
        if (!f.seek(inizio) || (dati = f.read(dimensione - inizio)).size() != dimensione - inizio) {
            Imposta(errore, QStringLiteral("Impossibile leggere il file %1").arg(nome));
            return std::nullopt;
        }
        coda.rigaTroncata = !dati.endsWith('\n');
        bool incompleto = false;
        coda.ultimaOperazione = UltimaOperazione(dati, inizio, &incompleto);
        if (!incompleto || inizio == 0)
            return coda;
    }
}

QByteArray TestoAggiunta(const CodaMovimenti &coda, const QList<RigaMovimento> &righe, qint64 numero,
                         const QDateTime &momento)
{
    QByteArray testo = coda.nuovo ? IntestazioneMovimenti()
                     : coda.rigaTroncata ? QByteArrayLiteral("\r\n")
                                         : QByteArray();
    for (RigaMovimento riga : righe) {
        riga.operazione = numero;
        riga.momento = momento;
        testo += TestoRigaMovimento(riga);
    }
    return testo;
}

bool SalvaOperazione(Stato &stato, Dialoghi &dialoghi, const QList<RigaMovimento> &righe, qint64 *numero)
{
    return SalvaOperazione(stato, dialoghi, righe, GuastoScrittura{}, numero);
}

std::optional<FileNuovo> AggiuntaMovimenti(const Percorsi &p, const QList<RigaMovimento> &righe, qint64 *numero,
                                          QString *errore)
{
    QStringList nomi;
    for (const QString &file : {p.FileIni, p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages})
        nomi << QFileInfo(file).fileName();
    // A set left half done is completed first: its lines count in the
    // number of this operation.
    if (!RecuperaScrittura(p.PercorsoApp, nomi, errore))
        return std::nullopt;
    const std::optional<CodaMovimenti> coda = LeggiCodaMovimenti(p.FileMovimenti, errore);
    if (!coda)
        return std::nullopt;
    const qint64 n = coda->ultimaOperazione + 1;
    QDateTime momento = Adesso();
    momento.setTime(QTime(momento.time().hour(), momento.time().minute(), momento.time().second()));
    if (numero)
        *numero = n;
    return FileNuovo{QFileInfo(p.FileMovimenti).fileName(), TestoAggiunta(*coda, righe, n, momento), true};
}

bool SalvaOperazione(Stato &stato, Dialoghi &dialoghi, const QList<RigaMovimento> &righe,
                     const GuastoScrittura &guasto, qint64 *numero)
{
    if (righe.isEmpty() || stato.SolaLettura)
        return SalvaDatabase(stato, dialoghi, guasto);
    qint64 n = 0;
    const std::optional<FileNuovo> aggiunta = AggiuntaMovimenti(stato.percorsi, righe, &n);
    if (!aggiunta) {
        ContaPezzi(stato);
        dialoghi.messaggio(QStringLiteral("Errore nel salvataggio dei dati"), Icona::Nessuna, Pulsanti::Ok);
        return false;
    }
    if (!SalvaDatabase(stato, dialoghi, guasto, {*aggiunta}))
        return false;
    if (numero)
        *numero = n;
    return true;
}
