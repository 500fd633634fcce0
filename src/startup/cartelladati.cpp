#include "startup/cartelladati.h"

#include "startup/avvio.h"
#include "store/dialoghi.h"
#include "store/scritturasicura.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace {

QString pulito(const QString &percorso)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(percorso));
}

// <prefix>/share/arvo beside a <prefix>/bin program folder, or empty.
QString cartellaShare(const QString &programma)
{
    if (QFileInfo(programma).fileName() != QLatin1String("bin"))
        return {};
    const QString share = pulito(programma + QStringLiteral("/../share/arvo"));
    return QFileInfo(share).isDir() ? share : QString();
}

// Creates the folder and the missing ones above it, as mkpath does; each
// new folder belongs to the owner of the one it is in (EreditaProprietario),
// so that a first start by the superuser in a user's home leaves no folder
// the user cannot write.
bool creaCartelle(const QString &percorso)
{
    QStringList mancanti;
    for (QString c = percorso; !QFileInfo::exists(c);) {
        mancanti.prepend(c);
        const QString sopra = QFileInfo(c).absolutePath();
        if (sopra == c)
            break;
        c = sopra;
    }
    for (const QString &cartella : mancanti) {
        if (!QDir().mkdir(cartella))
            return false;
        EreditaProprietario(cartella);
    }
    return true;
}

} // namespace

AmbienteUtente AmbienteUtente::DiSistema()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    AmbienteUtente a;
    a.xdgDataHome = env.value(QStringLiteral("XDG_DATA_HOME"));
    a.home = QDir::homePath();
    a.scrivibile = [](const QString &cartella) {
        const QFileInfo info(cartella);
        return info.isDir() && info.isWritable();
    };
    return a;
}

CartelleProgramma ScegliCartelle(const QString &cartellaProgramma, const AmbienteUtente &ambiente)
{
    const QString programma = pulito(cartellaProgramma);
    const QString share = cartellaShare(programma);
    CartelleProgramma c;
    if (QFileInfo(programma + QStringLiteral("/Info.ini")).isFile()
        || (share.isEmpty() && ambiente.scrivibile && ambiente.scrivibile(programma))) {
        c.dati = c.risorse = programma;
        c.portatile = true;
        return c;
    }
    // The XDG rule: a relative value is ignored.
    QString base = ambiente.xdgDataHome;
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = ambiente.home + QStringLiteral("/.local/share");
    c.dati = pulito(base + QStringLiteral("/Arvo"));
    c.risorse = share.isEmpty() ? programma : share;
    c.portatile = false;
    return c;
}

bool PreparaCartellaDati(const CartelleProgramma &cartelle, const AmbienteUtente &ambiente,
                         QString *messaggio)
{
    const QFileInfo info(cartelle.dati);
    const bool pronta = (info.isDir() || (!info.exists() && creaCartelle(cartelle.dati)))
                        && (!ambiente.scrivibile || ambiente.scrivibile(cartelle.dati));
    if (pronta)
        return true;
    if (messaggio)
        *messaggio = QStringLiteral("Impossibile usare la cartella dei dati:\r\n")
                     + QDir::toNativeSeparators(cartelle.dati)
                     + QStringLiteral("\r\nLa cartella non può essere creata o non è scrivibile. "
                                      "Il programma termina senza scrivere nulla.");
    return false;
}

bool AvviaDaCartellaProgramma(Stato &stato, Dialoghi &dialoghi, const QString &cartellaProgramma,
                              const AmbienteUtente &ambiente, BloccoCartella *blocco)
{
    const CartelleProgramma cartelle = ScegliCartelle(cartellaProgramma, ambiente);
    QString testo;
    if (!PreparaCartellaDati(cartelle, ambiente, &testo)) {
        dialoghi.messaggio(testo, Icona::Critica, Pulsanti::Ok);
        return false;
    }
    if (blocco)
        return Main(stato, dialoghi, cartelle.dati, *blocco, cartelle.risorse);
    return Main(stato, dialoghi, cartelle.dati, cartelle.risorse);
}
