#include "store/scritturasicura.h"

#include "store/fileincartella.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <set>
#include <vector>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString unisci(const QString &cartella, const QString &nome)
{
    QString c = cartella;
    if (!c.endsWith(QLatin1Char('/')))
        c += QLatin1Char('/');
    return c + nome;
}

// Puts the file's data on the disk. guasto stands for a disk that refuses
// it (full, failing), in tests.
bool sincronizzaFile(QFile &f, bool guasto = false)
{
    if (!f.flush())
        return false;
#ifdef Q_OS_UNIX
    return (guasto ? -1 : ::fsync(f.handle())) == 0;
#else
    return !guasto;
#endif
}

} // namespace

void SincronizzaCartella(const QString &cartella)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(cartella).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(cartella);
#endif
}

namespace {

// Replaces the target by the source in one step.
bool rinomina(const QString &da, const QString &a)
{
#ifdef Q_OS_UNIX
    return ::rename(QFile::encodeName(da).constData(), QFile::encodeName(a).constData()) == 0;
#else
    QFile::remove(a);
    return QFile::rename(da, a);
#endif
}

#ifdef Q_OS_UNIX
bool superutente() { return ::geteuid() == 0; }
#endif

// The temporary that is to replace the file at bersaglio takes over the
// file's access rights; when the superuser replaces a file of another user
// (a folder of that user opened with sudo), its owner and group as well, so
// that the file stays that user's. A temporary of a new file, or of the
// journal, gets the owner of its folder the same way (EreditaProprietario).
// False only when the superuser could not hand the file over: the save is
// then refused rather than leaving a file its user can no longer write.
bool adattaTemporaneo(QFile &f, const QString &bersaglio)
{
#ifdef Q_OS_UNIX
    struct stat vecchio {};
    if (bersaglio.isEmpty() || ::stat(QFile::encodeName(bersaglio).constData(), &vecchio) != 0) {
        EreditaProprietario(f.fileName());
        return true;
    }
    const int fd = f.handle();
    if (superutente() && (vecchio.st_uid != ::geteuid() || vecchio.st_gid != ::getegid())
        && ::fchown(fd, vecchio.st_uid, vecchio.st_gid) != 0)
        return false;
    // After the owner: a change of owner clears the set-ID bits.
    ::fchmod(fd, vecchio.st_mode & 07777);
    return true;
#else
    const QFileInfo vecchio(bersaglio);
    if (vecchio.exists())
        f.setPermissions(vecchio.permissions());
    return true;
#endif
}

// Writes the temporary at percorso, ready to replace bersaglio (empty: a
// file that replaces nothing).
bool scriviTemporaneo(const QString &percorso, const QByteArray &contenuto, bool guasto,
                      const QString &bersaglio = QString(), bool sincronizzazioneGuasta = false)
{
    QFile::remove(percorso);
    QFile f(percorso);
    if (guasto || !f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (f.write(contenuto) != contenuto.size() || !adattaTemporaneo(f, bersaglio)
        || !sincronizzaFile(f, sincronizzazioneGuasta)) {
        f.close();
        QFile::remove(percorso);
        return false;
    }
    f.close();
    return true;
}

bool nomeSemplice(const QString &nome)
{
    return !nome.isEmpty() && !nome.contains(QLatin1Char('/')) && !nome.contains(QLatin1Char('\\'))
        && nome != QLatin1String(".") && nome != QLatin1String("..");
}

void imposta(QString *errore, const QString &testo)
{
    if (errore)
        *errore = testo;
}

// Where the file of that name is really written. A file may be a symbolic
// link to where the user keeps it: the save then writes the link's target,
// its temporary beside the target, and the link stays. A chain of links is
// followed to its end; a loop is left as it is.
QString destinazione(const QString &cartella, const QString &nome)
{
    const QString percorso = unisci(cartella, nome);
    QString corrente = percorso;
    for (int i = 0; i < 40; ++i) {
        const QFileInfo info(corrente);
        if (!info.isSymLink())
            return corrente;
        corrente = info.symLinkTarget();
        if (corrente.isEmpty())
            break;
    }
    return percorso;
}

QString cartellaDi(const QString &percorso)
{
    return QFileInfo(percorso).absolutePath();
}

// Why the file may not be replaced, or an empty text.
QString ostacoloSostituzione(const QString &percorso)
{
    const QFileInfo info(percorso);
    if (!info.exists())
        return {};
    const QString nome = QDir::toNativeSeparators(info.filePath());
    if (info.isDir())
        return QStringLiteral("Al posto del file %1 c'è una cartella").arg(nome);
    if (!info.isFile())
        return QStringLiteral("Al posto del file %1 c'è un file speciale").arg(nome);
    if (!(info.permissions() & QFileDevice::WriteOwner))
        return QStringLiteral("Il file %1 è di sola lettura").arg(nome);
    if (!ScrivibileDaUtente(info))
        return QStringLiteral("Il file %1 non può essere scritto da questo utente").arg(nome);
    return {};
}

} // namespace

bool PermessoScrittura(QFileDevice::Permissions permessi, uint proprietario, uint gruppo,
                       uint utente, const QList<uint> &gruppiUtente)
{
    // The superuser writes for the owner, whose own bit is the only choice
    // to honour.
    if (utente == proprietario || utente == 0)
        return permessi.testFlag(QFileDevice::WriteOwner);
    if (gruppiUtente.contains(gruppo))
        return permessi.testFlag(QFileDevice::WriteGroup);
    return permessi.testFlag(QFileDevice::WriteOther);
}

bool ScrivibileDaUtente(const QFileInfo &info)
{
#ifdef Q_OS_UNIX
    QList<uint> gruppi{uint(::getegid())};
    const int n = ::getgroups(0, nullptr);
    if (n > 0) {
        std::vector<gid_t> altri(static_cast<std::size_t>(n));
        const int letti = ::getgroups(n, altri.data());
        for (int i = 0; i < letti; ++i)
            gruppi.append(uint(altri[std::size_t(i)]));
    }
    return PermessoScrittura(info.permissions(), info.ownerId(), info.groupId(), uint(::geteuid()),
                             gruppi);
#else
    return info.isWritable();
#endif
}

void EreditaProprietario(const QString &percorso)
{
#ifdef Q_OS_UNIX
    if (!superutente())
        return;
    // A folder may come with a trailing "/": its container is the one above.
    const QString pulito = QDir::cleanPath(percorso);
    const QByteArray nome = QFile::encodeName(pulito);
    const QByteArray cartella = QFile::encodeName(QFileInfo(pulito).absolutePath());
    struct stat proprio {}, contenitore {};
    if (::lstat(nome.constData(), &proprio) != 0 || ::stat(cartella.constData(), &contenitore) != 0)
        return;
    // Only what this program made (owned by the superuser), inside a folder
    // of somebody else.
    if (proprio.st_uid != ::geteuid() || contenitore.st_uid == ::geteuid())
        return;
    if (proprio.st_uid == contenitore.st_uid && proprio.st_gid == contenitore.st_gid)
        return;
    ::lchown(nome.constData(), contenitore.st_uid, contenitore.st_gid);
#else
    Q_UNUSED(percorso);
#endif
}

QString NomeTemporaneo(const QString &nome)
{
    return nome + QStringLiteral(".nuovo");
}

bool RecuperaScrittura(const QString &cartella, const QStringList &nomi, QString *errore)
{
    const QString giornale = unisci(cartella, NomeGiornale);
    QFile::remove(unisci(cartella, NomeTemporaneo(NomeGiornale)));
    if (!QFileInfo::exists(giornale)) {
        // The new set was never complete: drop what was written of it.
        for (const QString &nome : nomi)
            QFile::remove(NomeTemporaneo(destinazione(cartella, nome)));
        return true;
    }
    // A journal that is not a regular file (a FIFO would stop the program
    // here) is refused like an unreadable one.
    const std::optional<QByteArray> elenco = LeggiFileRegolare(giornale);
    if (!elenco) {
        imposta(errore, QStringLiteral("Impossibile leggere il file %1")
                            .arg(QDir::toNativeSeparators(giornale)));
        return false;
    }
    const QList<QByteArray> righe = elenco->split('\n');
    bool ok = true;
    std::set<QString> cartelle{cartella};
    for (QByteArray riga : righe) {
        const QString nome = QString::fromUtf8(riga.trimmed());
        if (!nomeSemplice(nome))
            continue;
        // The temporaries lie where the save put them: beside the target
        // of a linked file.
        const QString bersaglio = destinazione(cartella, nome);
        const QString temporaneo = NomeTemporaneo(bersaglio);
        if (QFileInfo::exists(temporaneo)) {
            if (rinomina(temporaneo, bersaglio)) {
                cartelle.insert(cartellaDi(bersaglio));
            } else {
                ok = false;
                imposta(errore, QStringLiteral("Impossibile completare il salvataggio interrotto del file %1")
                                    .arg(QDir::toNativeSeparators(bersaglio)));
            }
        }
    }
    if (!ok)
        return false;
    for (const QString &c : cartelle)
        SincronizzaCartella(c);
    QFile::remove(giornale);
    SincronizzaCartella(cartella);
    return true;
}

bool ScriviInsieme(const QString &cartella, const QList<FileNuovo> &files, QString *errore,
                   const GuastoScrittura &guasto)
{
    QStringList nomi;
    for (const FileNuovo &file : files)
        nomi << file.nome;
    // A journal left by an earlier failure is completed first, so that it
    // cannot later replace the set written now.
    if (!RecuperaScrittura(cartella, nomi, errore))
        return false;

    int passi = 0;
    auto interrotto = [&] { return guasto.interrompiDopoPassi >= 0 && ++passi > guasto.interrompiDopoPassi; };

    // Each file is written where it really is (through a symbolic link),
    // its temporary beside it.
    QStringList bersagli;
    std::set<QString> cartelle{cartella};
    for (const FileNuovo &file : files) {
        const QString bersaglio = destinazione(cartella, file.nome);
        const QString ostacolo = ostacoloSostituzione(bersaglio);
        if (!ostacolo.isEmpty()) {
            imposta(errore, ostacolo);
            return false;
        }
        bersagli << bersaglio;
        cartelle.insert(cartellaDi(bersaglio));
    }
    auto sincronizzaCartelle = [&] {
        for (const QString &c : cartelle)
            SincronizzaCartella(c);
    };

    auto annulla = [&] {
        for (const QString &bersaglio : bersagli)
            QFile::remove(NomeTemporaneo(bersaglio));
    };

    for (qsizetype i = 0; i < files.size(); ++i) {
        if (interrotto())
            return false;
        // The new file keeps the access rights (and owner) of the old one.
        const QString temporaneo = NomeTemporaneo(bersagli[i]);
        if (!scriviTemporaneo(temporaneo, files[i].contenuto, guasto.fileGuasto == i, bersagli[i],
                              guasto.sincronizzazioneGuasta == i)) {
            annulla();
            imposta(errore, QStringLiteral("Impossibile scrivere il file %1")
                                .arg(QDir::toNativeSeparators(temporaneo)));
            return false;
        }
    }

    const bool conGiornale = files.size() > 1;
    const QString giornale = unisci(cartella, NomeGiornale);
    if (conGiornale) {
        if (interrotto())
            return false;
        QByteArray elenco;
        for (const QString &nome : nomi)
            elenco += nome.toUtf8() + "\r\n";
        const QString temporaneo = unisci(cartella, NomeTemporaneo(NomeGiornale));
        sincronizzaCartelle();
        if (!scriviTemporaneo(temporaneo, elenco, false) || !rinomina(temporaneo, giornale)) {
            QFile::remove(temporaneo);
            annulla();
            imposta(errore, QStringLiteral("Impossibile scrivere il file %1")
                                .arg(QDir::toNativeSeparators(giornale)));
            return false;
        }
        SincronizzaCartella(cartella);
    }

    bool ok = true;
    for (qsizetype i = 0; i < bersagli.size(); ++i) {
        if (interrotto())
            return false;
        if (guasto.rinominaGuasta == i || !rinomina(NomeTemporaneo(bersagli[i]), bersagli[i])) {
            ok = false;
            imposta(errore, QStringLiteral("Impossibile sostituire il file %1")
                                .arg(QDir::toNativeSeparators(bersagli[i])));
        }
    }
    sincronizzaCartelle();
    if (!ok) {
        // With the journal in place the next start completes the set;
        // a single file keeps its old content.
        if (!conGiornale)
            annulla();
        return false;
    }
    if (conGiornale) {
        if (interrotto())
            return false;
        QFile::remove(giornale);
        SincronizzaCartella(cartella);
    }
    return true;
}

bool ProvaTemporanei(const QString &cartella, const QStringList &nomi, QString *errore)
{
    QStringList temporanei;
    for (const QString &nome : nomi)
        temporanei << NomeTemporaneo(destinazione(cartella, nome));
    temporanei << unisci(cartella, NomeTemporaneo(NomeGiornale));
    for (const QString &temporaneo : temporanei) {
        const bool scritto = scriviTemporaneo(temporaneo, QByteArrayLiteral("prova\r\n"), false);
        if (!scritto || !QFile::remove(temporaneo)) {
            imposta(errore, QStringLiteral("Impossibile creare il file %1")
                                .arg(QDir::toNativeSeparators(temporaneo)));
            return false;
        }
    }
    return true;
}
