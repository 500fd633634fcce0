#include "startup/bloccocartella.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <climits>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
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

// What a lock file says about its owner: the lines QLockFile writes, the
// process ID, the program's file name, the computer's name, the computer's
// unique ID and the ID of the computer's current boot (the last two may be
// missing in a lock of an older Qt).
struct ContenutoBlocco {
    qint64 pid = 0;
    QString programma;
    QString computer;
    QByteArray idComputer;
    QByteArray idAvvio;
};

// False when the file is not a lock at all (empty, damaged, too large).
bool leggiBlocco(const QString &percorso, ContenutoBlocco *contenuto)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> righe = f.read(4096).split('\n');
    bool ok = false;
    contenuto->pid = righe.value(0).toLongLong(&ok);
    if (!ok || contenuto->pid <= 0 || contenuto->pid > INT_MAX || righe.size() < 3)
        return false;
    contenuto->programma = QString::fromUtf8(righe.value(1));
    contenuto->computer = QString::fromUtf8(righe.value(2));
    contenuto->idComputer = righe.value(3).trimmed();
    contenuto->idAvvio = righe.value(4).trimmed();
    return true;
}

enum class Proprietario {
    Vivo,          // a process of this computer that still runs
    Finito,        // gone: ended, or this computer was restarted since
    AltroComputer, // cannot be checked from here
};

#ifdef Q_OS_UNIX
// The file name of the program a process of this computer runs; empty when
// it cannot be known (the process of another user).
QString programmaDelProcesso(qint64 pid)
{
    QByteArray collegamento = QFile::encodeName(QStringLiteral("/proc/%1/exe").arg(pid));
    char destinazione[PATH_MAX];
    const ssize_t n = ::readlink(collegamento.constData(), destinazione, sizeof destinazione - 1);
    if (n <= 0)
        return {};
    QByteArray percorso(destinazione, n);
    const QByteArray cancellato = " (deleted)";
    if (percorso.endsWith(cancellato))
        percorso.chop(cancellato.size());
    return QFileInfo(QFile::decodeName(percorso)).fileName();
}
#endif

// Judges the owner the way QLockFile does before it takes a lock over, so
// that a lock it could not remove is told apart from a lock in use.
Proprietario proprietario(const ContenutoBlocco &c)
{
    if (!c.computer.isEmpty() && c.computer != QSysInfo::machineHostName())
        return Proprietario::AltroComputer;
    // Two computers of one name sharing the folder: their IDs differ.
    const QByteArray idComputer = QSysInfo::machineUniqueId();
    if (!c.idComputer.isEmpty() && !idComputer.isEmpty() && c.idComputer != idComputer)
        return Proprietario::AltroComputer;
    // A process ID from before a restart names nothing of today.
    const QByteArray idAvvio = QSysInfo::bootUniqueId();
    if (!c.idAvvio.isEmpty() && !idAvvio.isEmpty() && c.idAvvio != idAvvio)
        return Proprietario::Finito;
#ifdef Q_OS_UNIX
    // EPERM: the process runs, under another user.
    if (::kill(pid_t(c.pid), 0) == -1 && errno == ESRCH)
        return Proprietario::Finito;
    // The ID given meanwhile to another program.
    const QString programma = programmaDelProcesso(c.pid);
    if (!programma.isEmpty() && !c.programma.isEmpty() && programma != c.programma)
        return Proprietario::Finito;
#endif
    return Proprietario::Vivo;
}

QString testoOccupato(const QString &cartella)
{
    return QStringLiteral("Un'altra copia di Arvo sta già usando la cartella\r\n") + nativo(cartella)
        + QStringLiteral("\r\nChiudere l'altra copia prima di avviarne una nuova.");
}

QString testoAltroComputer(const QString &cartella, const QString &computer, const QString &file)
{
    return QStringLiteral("La cartella\r\n") + nativo(cartella)
        + QStringLiteral("\r\nrisulta in uso da Arvo sul computer \"%1\".\r\n").arg(computer)
        + QStringLiteral("Se su quel computer Arvo non è più aperto, eliminare il file\r\n") + nativo(file)
        + QStringLiteral("\r\ne riavviare il programma.");
}

// A lock whose owner is gone, which this user may not remove (a file of
// another user, a folder that does not let it go).
QString testoAbbandonato(const QFileInfo &info)
{
    QString chi = QStringLiteral("come amministratore");
    const QString utente = info.owner().isEmpty() ? QString::number(info.ownerId()) : info.owner();
    if (info.ownerId() != 0)
        chi = QStringLiteral("come utente \"%1\" o come amministratore").arg(utente);
    return QStringLiteral("Il file di blocco\r\n") + nativo(info.filePath())
        + QStringLiteral("\r\nè stato lasciato da una copia di Arvo che non è più aperta, ma questo utente "
                         "non può eliminarlo.\r\nSi può eliminare senza rischi (")
        + chi + QStringLiteral("), poi riavviare il programma.");
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
        // was already taken over by tryLock, unless this user could not
        // remove it; what is left is a live owner, an owner on another
        // computer, such a lock, or a file that is no lock at all.
        const QFileInfo info(file);
        if (info.isSymLink() || !info.isFile())
            break;
        ContenutoBlocco contenuto;
        if (leggiBlocco(file, &contenuto)) {
            switch (proprietario(contenuto)) {
            case Proprietario::AltroComputer:
                *messaggio = testoAltroComputer(cartella, contenuto.computer, file);
                return Esito::Occupato;
            case Proprietario::Vivo:
                *messaggio = testoOccupato(cartella);
                return Esito::Occupato;
            case Proprietario::Finito:
                // QLockFile takes a lock over only when it may open the
                // file for writing, which a lock of another user never
                // lets it do; where the folder allows it, such a file is
                // removed here instead.
                if (giro == 0 && rimuoviSeAbbandonato(file))
                    continue;
                *messaggio = testoAbbandonato(info);
                return Esito::DaRimuovere;
            }
        }
        // Empty or damaged: taken over once nobody holds it.
        if (!abbastanzaVecchio(info) || !rimuoviSeAbbandonato(file))
            break;
    }
    *messaggio = testoDaRimuovere(cartella, file);
    return Esito::DaRimuovere;
}
