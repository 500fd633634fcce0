#include "store/scritturasicura.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <set>
#include <vector>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
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

bool sincronizzaFile(QFile &f)
{
    if (!f.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(f.handle()) == 0;
#else
    return true;
#endif
}

void sincronizzaCartella(const QString &cartella)
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

bool scriviTemporaneo(const QString &percorso, const QByteArray &contenuto, bool guasto)
{
    QFile::remove(percorso);
    QFile f(percorso);
    if (guasto || !f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (f.write(contenuto) != contenuto.size() || !sincronizzaFile(f)) {
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
    if (utente == proprietario)
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
    QFile f(giornale);
    if (!f.open(QIODevice::ReadOnly)) {
        imposta(errore, QStringLiteral("Impossibile leggere il file %1")
                            .arg(QDir::toNativeSeparators(giornale)));
        return false;
    }
    const QList<QByteArray> righe = f.readAll().split('\n');
    f.close();
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
        sincronizzaCartella(c);
    QFile::remove(giornale);
    sincronizzaCartella(cartella);
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
            sincronizzaCartella(c);
    };

    auto annulla = [&] {
        for (const QString &bersaglio : bersagli)
            QFile::remove(NomeTemporaneo(bersaglio));
    };

    for (qsizetype i = 0; i < files.size(); ++i) {
        if (interrotto())
            return false;
        const QString temporaneo = NomeTemporaneo(bersagli[i]);
        if (!scriviTemporaneo(temporaneo, files[i].contenuto, guasto.fileGuasto == i)) {
            annulla();
            imposta(errore, QStringLiteral("Impossibile scrivere il file %1")
                                .arg(QDir::toNativeSeparators(temporaneo)));
            return false;
        }
        // The new file keeps the access rights the user gave the old one.
        const QFileInfo vecchio(bersagli[i]);
        if (vecchio.exists())
            QFile::setPermissions(temporaneo, vecchio.permissions());
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
        sincronizzaCartella(cartella);
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
        sincronizzaCartella(cartella);
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
