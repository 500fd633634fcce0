#include "startup/bloccocartella.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

QString nativo(const QString &percorso)
{
    return QDir::toNativeSeparators(QDir::cleanPath(percorso));
}

// A lock file whose content cannot be read was left behind when no process
// holds it open: the owner keeps an exclusive flock on it for as long as it
// runs, and the system drops that when the owner ends, however it ends. The
// file is removed under that same lock, so that two programs starting
// together cannot both remove it.
bool rimuoviSeAbbandonato(const QString &percorso)
{
#ifdef Q_OS_UNIX
    const QByteArray nome = QFile::encodeName(percorso);
    const int fd = ::open(nome.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool rimosso = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(nome.constData()) == 0;
    ::close(fd);
    return rimosso;
#else
    Q_UNUSED(percorso);
    return false;
#endif
}

bool abbastanzaVecchio(const QFileInfo &info)
{
    const qint64 eta = info.lastModified().secsTo(QDateTime::currentDateTime());
    return qAbs(eta) >= EtaMinimaBloccoIlleggibile;
}

QString testoOccupato(const QString &cartella)
{
    return QStringLiteral("Un'altra copia di Arvo sta già usando la cartella\r\n") + nativo(cartella)
        + QStringLiteral("\r\nChiudere l'altra copia prima di avviarne una nuova.");
}

QString testoAltroComputer(const QString &cartella, const QString &computer, const QString &file)
{
    return QStringLiteral("Un'altra copia di Arvo sta già usando la cartella\r\n") + nativo(cartella)
        + QStringLiteral("\r\ndal computer \"%1\".\r\nSe quella copia non è più aperta, eliminare il file ")
              .arg(computer)
        + nativo(file) + QStringLiteral(" e riavviare il programma.");
}

QString testoDaRimuovere(const QString &cartella, const QString &file)
{
    return QStringLiteral("Impossibile usare il file di blocco\r\n") + nativo(file)
        + QStringLiteral("\r\nSe nessun'altra copia di Arvo sta usando la cartella\r\n") + nativo(cartella)
        + QStringLiteral("\r\neliminare il file di blocco e riavviare il programma.");
}

} // namespace

BloccoCartella::BloccoCartella() = default;

BloccoCartella::~BloccoCartella()
{
    rilascia();
}

bool BloccoCartella::preso() const
{
    return m_blocco && m_blocco->isLocked();
}

void BloccoCartella::rilascia()
{
    if (m_blocco)
        m_blocco->unlock();
    m_blocco.reset();
}

BloccoCartella::Esito BloccoCartella::prendi(const QString &cartella, QString *messaggio)
{
    rilascia();
    const QString file = QDir(cartella).filePath(NomeFileBlocco);
    auto blocco = std::make_unique<QLockFile>(file);
    // Only an owner that is gone makes a lock stale, never its age: a
    // program may stay open for weeks.
    blocco->setStaleLockTime(0);

    // A second round follows the removal of a lock file left behind.
    for (int giro = 0; giro < 2; ++giro) {
        if (blocco->tryLock(0)) {
            m_blocco = std::move(blocco);
            return Esito::Preso;
        }
        if (blocco->error() != QLockFile::LockFailedError) {
            *messaggio = QStringLiteral("Impossibile creare il file ") + nativo(file);
            return Esito::NonCreabile;
        }
        // Something is in the way. A lock of a dead owner on this computer
        // was already taken over by tryLock; what is left is a live owner,
        // an owner on another computer, or a file that is no lock at all.
        const QFileInfo info(file);
        if (info.isSymLink() || !info.isFile())
            break;
        qint64 pid = 0;
        QString computer, programma;
        if (blocco->getLockInfo(&pid, &computer, &programma)) {
            if (!computer.isEmpty() && computer != QSysInfo::machineHostName()) {
                *messaggio = testoAltroComputer(cartella, computer, file);
                return Esito::Occupato;
            }
            *messaggio = testoOccupato(cartella);
            return Esito::Occupato;
        }
        // Empty or damaged: taken over once nobody holds it.
        if (!abbastanzaVecchio(info) || !rimuoviSeAbbandonato(file))
            break;
    }
    *messaggio = testoDaRimuovere(cartella, file);
    return Esito::DaRimuovere;
}
