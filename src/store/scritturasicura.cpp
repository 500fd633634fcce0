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

namespace {

// An append named by the journal.
struct AggiuntaGiornale {
    QString nome;
    qint64 lunghezzaPrima = 0;
    QByteArray dati;
};

struct Giornale {
    QStringList sostituiti;
    QList<AggiuntaGiornale> aggiunte;
};

QByteArray TestoGiornale(const QList<FileNuovo> &files, const QList<qint64> &lunghezze)
{
    QByteArray testo;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const FileNuovo &file = files[i];
        if (!file.aggiunta) {
            testo += file.nome.toUtf8() + "\r\n";
            continue;
        }
        testo += '+' + QByteArray::number(lunghezze[i]) + ' ' + QByteArray::number(file.contenuto.size())
            + ' ' + file.nome.toUtf8() + "\r\n";
        testo += file.contenuto;
    }
    return testo;
}

// The journal's entries; false when an append entry is damaged (its bytes
// run past the end, its numbers cannot be read).
bool LeggiGiornale(const QByteArray &testo, Giornale *giornale)
{
    qsizetype pos = 0;
    while (pos < testo.size()) {
        qsizetype fine = testo.indexOf('\n', pos);
        if (fine < 0)
            fine = testo.size();
        const QByteArray riga = testo.mid(pos, fine - pos).trimmed();
        pos = fine + 1;
        if (!riga.startsWith('+')) {
            const QString nome = QString::fromUtf8(riga);
            if (nomeSemplice(nome))
                giornale->sostituiti << nome;
            continue;
        }
        // "+<length before> <bytes> <name>", the bytes on the next line.
        const QList<QByteArray> parti = riga.mid(1).split(' ');
        if (parti.size() < 3)
            return false;
        bool ok1 = false, ok2 = false;
        const qint64 prima = parti[0].toLongLong(&ok1);
        const qint64 quanti = parti[1].toLongLong(&ok2);
        const QString nome = QString::fromUtf8(riga.mid(1 + parti[0].size() + 1 + parti[1].size() + 1));
        const qsizetype restanti = testo.size() - qMin(pos, testo.size());
        if (!ok1 || !ok2 || prima < 0 || quanti < 0 || quanti > restanti || !nomeSemplice(nome))
            return false;
        giornale->aggiunte.append({nome, prima, testo.mid(pos, quanti)});
        pos += quanti;
    }
    return true;
}

// The length of the file, 0 when there is none.
qint64 LunghezzaFile(const QString &percorso)
{
    const QFileInfo info(percorso);
    return info.exists() ? info.size() : 0;
}

// Appends the bytes to the file as it was when it was lunghezzaPrima bytes
// long: whatever lies past that length (an earlier attempt cut short) is
// cut away first; a file found shorter (cut by somebody else meanwhile) is
// appended to at its end. The file is created when missing. interrompiDopo
// (test seam) stops dead after that many bytes; guasta fails half-way.
enum class EsitoAggiunta { Fatta, Fallita, Interrotta };
EsitoAggiunta Aggiungi(const QString &percorso, qint64 lunghezzaPrima, const QByteArray &dati,
                       qsizetype interrompiDopo = -1, bool guasta = false)
{
    const QFileInfo info(percorso);
    const bool nuovo = !info.exists();
    if (!nuovo && !info.isFile())
        return EsitoAggiunta::Fallita;
    QFile f(percorso);
    if (!f.open(QIODevice::ReadWrite))
        return EsitoAggiunta::Fallita;
    if (nuovo)
        EreditaProprietario(percorso);
    const qint64 lunghezza = f.size();
    if (lunghezza > lunghezzaPrima && !f.resize(lunghezzaPrima))
        return EsitoAggiunta::Fallita;
    if (!f.seek(qMin(lunghezza, lunghezzaPrima)))
        return EsitoAggiunta::Fallita;
    if (interrompiDopo >= 0) {
        f.write(dati.constData(), qMin(interrompiDopo, dati.size()));
        f.flush();
        return EsitoAggiunta::Interrotta;
    }
    if (guasta) {
        f.write(dati.constData(), dati.size() / 2);
        return EsitoAggiunta::Fallita;
    }
    if (f.write(dati) != dati.size() || !sincronizzaFile(f))
        return EsitoAggiunta::Fallita;
    return EsitoAggiunta::Fatta;
}

// Cuts a file back to the length it had before an append that failed.
bool Accorcia(const QString &percorso, qint64 lunghezzaPrima)
{
    QFile f(percorso);
    if (!QFileInfo(percorso).isFile() || !f.open(QIODevice::ReadWrite))
        return false;
    if (f.size() > lunghezzaPrima && !f.resize(lunghezzaPrima))
        return false;
    return sincronizzaFile(f);
}

} // namespace

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
    Giornale voci;
    if (!elenco || !LeggiGiornale(*elenco, &voci)) {
        imposta(errore, QStringLiteral("Impossibile leggere il file %1")
                            .arg(QDir::toNativeSeparators(giornale)));
        return false;
    }
    bool ok = true;
    std::set<QString> cartelle{cartella};
    const auto incompleto = [&](const QString &bersaglio) {
        ok = false;
        imposta(errore, QStringLiteral("Impossibile completare il salvataggio interrotto del file %1")
                            .arg(QDir::toNativeSeparators(bersaglio)));
    };
    // The appends first, as the save does them.
    for (const AggiuntaGiornale &aggiunta : voci.aggiunte) {
        const QString bersaglio = destinazione(cartella, aggiunta.nome);
        if (Aggiungi(bersaglio, aggiunta.lunghezzaPrima, aggiunta.dati) == EsitoAggiunta::Fatta)
            cartelle.insert(cartellaDi(bersaglio));
        else
            incompleto(bersaglio);
    }
    for (const QString &nome : voci.sostituiti) {
        // The temporaries lie where the save put them: beside the target
        // of a linked file.
        const QString bersaglio = destinazione(cartella, nome);
        const QString temporaneo = NomeTemporaneo(bersaglio);
        if (QFileInfo::exists(temporaneo)) {
            if (rinomina(temporaneo, bersaglio))
                cartelle.insert(cartellaDi(bersaglio));
            else
                incompleto(bersaglio);
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
    for (const FileNuovo &file : files) {
        if (!file.aggiunta)
            nomi << file.nome;
    }
    // A journal left by an earlier failure is completed first, so that it
    // cannot later replace the set written now.
    if (!RecuperaScrittura(cartella, nomi, errore))
        return false;

    int passi = 0;
    auto interrotto = [&] { return guasto.interrompiDopoPassi >= 0 && ++passi > guasto.interrompiDopoPassi; };

    // Each file is written where it really is (through a symbolic link),
    // its temporary beside it.
    QStringList bersagli;
    QList<qint64> lunghezze; // of the appended files before the append
    QList<bool> esistenti;   // whether each file was there before
    std::set<QString> cartelle{cartella};
    bool conAggiunte = false;
    for (const FileNuovo &file : files) {
        const QString bersaglio = destinazione(cartella, file.nome);
        const QString ostacolo = ostacoloSostituzione(bersaglio);
        if (!ostacolo.isEmpty()) {
            imposta(errore, ostacolo);
            return false;
        }
        bersagli << bersaglio;
        lunghezze << (file.aggiunta ? LunghezzaFile(bersaglio) : 0);
        esistenti << QFileInfo::exists(bersaglio);
        conAggiunte = conAggiunte || file.aggiunta;
        cartelle.insert(cartellaDi(bersaglio));
    }
    auto sincronizzaCartelle = [&] {
        for (const QString &c : cartelle)
            SincronizzaCartella(c);
    };

    auto annulla = [&] {
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (!files[i].aggiunta)
                QFile::remove(NomeTemporaneo(bersagli[i]));
        }
    };

    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files[i].aggiunta)
            continue;
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

    // An append is never atomic by itself: it always goes through the
    // journal.
    const bool conGiornale = nomi.size() > 1 || conAggiunte;
    const QString giornale = unisci(cartella, NomeGiornale);
    if (conGiornale) {
        if (interrotto())
            return false;
        const QString temporaneo = unisci(cartella, NomeTemporaneo(NomeGiornale));
        sincronizzaCartelle();
        if (!scriviTemporaneo(temporaneo, TestoGiornale(files, lunghezze), false)
            || !rinomina(temporaneo, giornale)) {
            QFile::remove(temporaneo);
            annulla();
            imposta(errore, QStringLiteral("Impossibile scrivere il file %1")
                                .arg(QDir::toNativeSeparators(giornale)));
            return false;
        }
        SincronizzaCartella(cartella);
    }

    // The appends, before any rename: one that fails is cut back and the
    // journal removed, leaving the old set whole.
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!files[i].aggiunta)
            continue;
        if (interrotto())
            return false;
        const EsitoAggiunta esito = Aggiungi(bersagli[i], lunghezze[i], files[i].contenuto,
                                             guasto.aggiuntaInterrotta, guasto.aggiuntaGuasta == i);
        if (esito == EsitoAggiunta::Interrotta)
            return false;
        if (esito == EsitoAggiunta::Fatta)
            continue;
        imposta(errore, QStringLiteral("Impossibile scrivere il file %1")
                            .arg(QDir::toNativeSeparators(bersagli[i])));
        bool accorciati = true;
        for (qsizetype j = 0; j <= i; ++j) {
            if (!files[j].aggiunta || !QFileInfo::exists(bersagli[j]))
                continue;
            accorciati = (esistenti[j] ? Accorcia(bersagli[j], lunghezze[j]) : QFile::remove(bersagli[j]))
                && accorciati;
        }
        // A file that could not be cut back is left to the journal: the
        // next recovery completes the whole set instead.
        if (accorciati) {
            QFile::remove(giornale);
            SincronizzaCartella(cartella);
            annulla();
        }
        return false;
    }

    bool ok = true;
    for (qsizetype i = 0; i < bersagli.size(); ++i) {
        if (files[i].aggiunta)
            continue;
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
