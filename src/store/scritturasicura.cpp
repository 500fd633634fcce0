#include "store/scritturasicura.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace

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
            QFile::remove(unisci(cartella, NomeTemporaneo(nome)));
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
    for (QByteArray riga : righe) {
        const QString nome = QString::fromUtf8(riga.trimmed());
        if (!nomeSemplice(nome))
            continue;
        const QString temporaneo = unisci(cartella, NomeTemporaneo(nome));
        if (QFileInfo::exists(temporaneo) && !rinomina(temporaneo, unisci(cartella, nome))) {
            ok = false;
            imposta(errore, QStringLiteral("Impossibile completare il salvataggio interrotto del file %1")
                                .arg(QDir::toNativeSeparators(unisci(cartella, nome))));
        }
    }
    if (!ok)
        return false;
    sincronizzaCartella(cartella);
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

    for (const FileNuovo &file : files) {
        const QFileInfo info(unisci(cartella, file.nome));
        if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner)) {
            imposta(errore, QStringLiteral("Il file %1 è di sola lettura")
                                .arg(QDir::toNativeSeparators(info.filePath())));
            return false;
        }
        if (info.isDir()) {
            imposta(errore, QStringLiteral("Al posto del file %1 c'è una cartella")
                                .arg(QDir::toNativeSeparators(info.filePath())));
            return false;
        }
    }

    auto annulla = [&] {
        for (const QString &nome : nomi)
            QFile::remove(unisci(cartella, NomeTemporaneo(nome)));
    };

    for (qsizetype i = 0; i < files.size(); ++i) {
        if (interrotto())
            return false;
        const QString temporaneo = unisci(cartella, NomeTemporaneo(files[i].nome));
        if (!scriviTemporaneo(temporaneo, files[i].contenuto, guasto.fileGuasto == i)) {
            annulla();
            imposta(errore, QStringLiteral("Impossibile scrivere il file %1")
                                .arg(QDir::toNativeSeparators(temporaneo)));
            return false;
        }
        // The new file keeps the access rights the user gave the old one.
        const QFileInfo vecchio(unisci(cartella, files[i].nome));
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
        sincronizzaCartella(cartella);
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
    for (const QString &nome : nomi) {
        if (interrotto())
            return false;
        if (!rinomina(unisci(cartella, NomeTemporaneo(nome)), unisci(cartella, nome))) {
            ok = false;
            imposta(errore, QStringLiteral("Impossibile sostituire il file %1")
                                .arg(QDir::toNativeSeparators(unisci(cartella, nome))));
        }
    }
    sincronizzaCartella(cartella);
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
