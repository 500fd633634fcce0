#include "store/fileincartella.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

const QString AvvisoVirgoletteNelNome = QStringLiteral(
    "Il nome del file scelto contiene le virgolette (\"), che l'archivio non può conservare: "
    "rinomina il file e sceglilo di nuovo.");

namespace {

bool separatore(QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); }

// A name that is absolute in any of the forms a hand-edited file may bring
// ("/x", "\x", "C:x", "C:\x"), or that climbs out with a ".." step (with
// either separator: a name written on Windows reads "..\x").
bool nomeCheEsce(const QString &nome)
{
    if (separatore(nome.front()) || QDir::isAbsolutePath(nome))
        return true;
    if (nome.size() >= 2 && nome[1] == QLatin1Char(':') && nome[0].isLetter())
        return true;
    qsizetype inizio = 0;
    for (qsizetype i = 0; i <= nome.size(); ++i) {
        if (i == nome.size() || separatore(nome[i])) {
            if (QStringView(nome).mid(inizio, i - inizio) == QLatin1String(".."))
                return true;
            inizio = i + 1;
        }
    }
    return false;
}

bool dentro(const QString &percorso, const QString &base)
{
    const QString prefisso = base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/');
    return percorso.startsWith(prefisso);
}

// Whether the path (holding no link) is a regular file, looked at without
// opening it and without following a link swapped in meanwhile.
bool fileRegolare(const QString &percorso)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    return ::lstat(QFile::encodeName(percorso).constData(), &st) == 0 && S_ISREG(st.st_mode);
#else
    const QFileInfo info(percorso);
    return info.isFile() && !info.isSymLink();
#endif
}

} // namespace

NomeRisolto RisolviNome(const QString &cartella, const QString &nome)
{
    if (nome.isEmpty())
        return {};
    if (nome.contains(QChar(0)) || nomeCheEsce(nome))
        return {StatoNome::Fuori, {}};

    const QString lessicale = cartella.endsWith(QLatin1Char('/')) ? cartella + nome
                                                                   : cartella + QLatin1Char('/') + nome;
    const QString base = QFileInfo(cartella).canonicalFilePath();
    if (base.isEmpty())
        return {StatoNome::Mancante, lessicale}; // no folder, so no file in it

    // With no ".." step the name stays below the folder on paper; only links
    // (the name itself or a folder on its way) can lead elsewhere. The part
    // of the path that exists is resolved, the missing rest appended.
    QString testa = QDir::cleanPath(base + QLatin1Char('/') + nome);
    QString coda;
    while (!QFileInfo::exists(testa)) {
        const QFileInfo info(testa);
        if (info.isSymLink())
            return {StatoNome::Fuori, {}}; // a link leading to nothing: no telling where it points
        coda = info.fileName() + (coda.isEmpty() ? QString() : QLatin1Char('/') + coda);
        testa = info.path();
        if (testa == base)
            return {StatoNome::Mancante, lessicale};
    }
    const QString canonico = QFileInfo(testa).canonicalFilePath();
    if (canonico == base && coda.isEmpty())
        return {StatoNome::NonRegolare, canonico}; // the folder itself (".")
    if (canonico != base && !dentro(canonico, base))
        return {StatoNome::Fuori, {}};
    if (!coda.isEmpty())
        return {StatoNome::Mancante, lessicale};
    return {fileRegolare(canonico) ? StatoNome::Regolare : StatoNome::NonRegolare, canonico};
}

namespace {

// Opens and reads the path, which holds no link, only if it is a regular
// file once open.
std::optional<QByteArray> leggiSenzaCollegamenti(const QString &percorso, qint64 limite)
{
    QFile file;
#ifdef Q_OS_UNIX
    // Not waiting: opening a FIFO for reading would otherwise block until a
    // writer comes. Not following a link: the path was resolved already.
    const int fd = ::open(QFile::encodeName(percorso).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
#else
    file.setFileName(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
#endif
    QByteArray contenuto = limite < 0 ? file.readAll() : file.read(limite);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return contenuto;
}

} // namespace

std::optional<QByteArray> LeggiFileInCartella(const QString &cartella, const QString &nome, qint64 limite)
{
    const NomeRisolto risolto = RisolviNome(cartella, nome);
    if (!risolto.regolare())
        return std::nullopt;
    return leggiSenzaCollegamenti(risolto.percorso, limite);
}

std::optional<QByteArray> LeggiFileRegolare(const QString &percorso, qint64 limite)
{
    const QString canonico = QFileInfo(percorso).canonicalFilePath();
    if (canonico.isEmpty() || !fileRegolare(canonico))
        return std::nullopt;
    return leggiSenzaCollegamenti(canonico, limite);
}

QStringList ElencoFileInCartella(const QString &cartella, const QStringList &schemi)
{
    if (cartella.isEmpty())
        return {};
    // Special files are listed too, so that the check below is the only one
    // deciding.
    const QStringList nomi = QDir(cartella).entryList(QDir::Files | QDir::Hidden | QDir::System,
                                                      QDir::NoSort);
    // The patterns as one expression, made once: a folder of thousands of
    // pictures is read again whenever it changes.
    QStringList alternative;
    for (const QString &schema : schemi)
        alternative << QStringLiteral("(?:%1)").arg(QRegularExpression::wildcardToRegularExpression(schema));
    const QRegularExpression adatto(alternative.join(QLatin1Char('|')), QRegularExpression::CaseInsensitiveOption);
    const QString prefisso = cartella.endsWith(QLatin1Char('/')) ? cartella : cartella + QLatin1Char('/');

    QStringList scelti;
    for (const QString &nome : nomi) {
        if (schemi.isEmpty() || !adatto.match(nome).hasMatch())
            continue;
        // An entry of the folder that is a regular file itself (no link)
        // needs no further look; a link is followed to see where it leads.
        if (!nome.contains(QLatin1Char('\\')) && !nomeCheEsce(nome) && fileRegolare(prefisso + nome))
            scelti << nome;
        else if (RisolviNome(cartella, nome).regolare())
            scelti << nome;
    }
    std::sort(scelti.begin(), scelti.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return scelti;
}

std::optional<QString> PercorsoPDF(const QString &cartella, const QString &nome)
{
    // The name checked is the file's own, at the end of any link: a program
    // that opens files by their type looks at that one.
    const NomeRisolto risolto = RisolviNome(cartella, nome);
    if (!risolto.regolare() || !risolto.percorso.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return std::nullopt;
    const std::optional<QByteArray> testa = LeggiFileInCartella(cartella, nome, 1024);
    if (!testa || !testa->contains("%PDF-"))
        return std::nullopt;
    return risolto.percorso;
}

bool NomeConservabile(const QString &nome) { return !nome.contains(QLatin1Char('"')); }
