#include "store/copiaincartella.h"

#include "store/dialoghi.h"
#include "store/fileincartella.h"
#include "store/scritturasicura.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int UltimoNumeroLibero = 9999;

QString unisci(const QString &cartella, const QString &nome)
{
    return cartella.endsWith(QLatin1Char('/')) ? cartella + nome : cartella + QLatin1Char('/') + nome;
}

void imposta(QString *errore, const QString &testo)
{
    if (errore)
        *errore = testo;
}

// Whether the file in the folder already holds exactly the bytes of the one
// picked: then there is nothing to copy and nothing to ask.
bool stessoContenuto(const QString &origine, const QString &cartella, const QString &nome)
{
    const NomeRisolto risolto = RisolviNome(cartella, nome);
    if (!risolto.regolare() || QFileInfo(risolto.percorso).size() != QFileInfo(origine).size())
        return false;
    const std::optional<QByteArray> scelto = LeggiFileRegolare(origine, MassimoByteCopia + 1);
    const std::optional<QByteArray> presente = LeggiFileInCartella(cartella, nome, MassimoByteCopia + 1);
    return scelto && presente && *scelto == *presente;
}

} // namespace

QString DomandaCopia(const QString &nomeCartella)
{
    return QStringLiteral("Copiare il file nella cartella %1?").arg(nomeCartella);
}

QString DomandaNomeEsistente(const QString &nomeCartella, const QString &nome)
{
    return QStringLiteral("Nella cartella %1 esiste gi\u00e0 un file di nome %2.\r\n"
                          "Sostituirlo con il file scelto o mantenerli entrambi?")
        .arg(nomeCartella, nome);
}

QString AvvisoCopiaFallita(const QString &nomeCartella, const QString &descrizione)
{
    return QStringLiteral("Il file non \u00e8 stato copiato nella cartella %1:\r\n%2").arg(nomeCartella, descrizione);
}

bool FileNellaCartella(const QString &cartella, const QString &percorso)
{
    const QString base = QFileInfo(cartella).canonicalFilePath();
    const QString sua = QFileInfo(QFileInfo(percorso).absolutePath()).canonicalFilePath();
    return !base.isEmpty() && base == sua;
}

bool NomeOccupato(const QString &cartella, const QString &nome)
{
    const QFileInfo info(unisci(cartella, nome));
    return info.exists() || info.isSymLink();
}

QString NomeLibero(const QString &cartella, const QString &nome)
{
    const qsizetype punto = nome.lastIndexOf(QLatin1Char('.'));
    // A leading dot starts a name, not an extension.
    const bool conEstensione = punto > 0;
    const QString base = conEstensione ? nome.left(punto) : nome;
    const QString estensione = conEstensione ? nome.mid(punto) : QString();
    for (int n = 2; n <= UltimoNumeroLibero; ++n) {
        const QString candidato = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(estensione);
        if (!NomeOccupato(cartella, candidato))
            return candidato;
    }
    return {};
}

bool CopiaNellaCartella(const QString &origine, const QString &cartella, const QString &nome, QString *errore,
                        qint64 massimo)
{
    const QString mostrato = QDir::toNativeSeparators(origine);
    const std::optional<QByteArray> contenuto = LeggiFileRegolare(origine, massimo + 1);
    if (!contenuto) {
        imposta(errore, QStringLiteral("Impossibile leggere il file %1").arg(mostrato));
        return false;
    }
    if (contenuto->size() > massimo) {
        imposta(errore, QStringLiteral("Il file %1 \u00e8 troppo grande per essere copiato (pi\u00f9 di %2 MB)")
                            .arg(mostrato)
                            .arg(massimo / (1024 * 1024)));
        return false;
    }
    // The folder is made at every start; one removed since is made again.
    if (!QDir().mkpath(cartella)) {
        imposta(errore, QStringLiteral("Impossibile creare la cartella %1").arg(QDir::toNativeSeparators(cartella)));
        return false;
    }
    return ScriviInsieme(cartella, {FileNuovo{nome, *contenuto}}, errore);
}

std::optional<QString> PortaNellaCartella(Dialoghi &dialoghi, const QString &scelto, const QString &cartella,
                                          const QString &nomeCartella)
{
    const QString nome = scelto.isEmpty() ? QString() : QFileInfo(scelto).fileName();
    if (nome.isEmpty())
        return std::nullopt;
    // The table files could not keep it: it would name no file once stored.
    if (!NomeConservabile(nome)) {
        dialoghi.messaggio(AvvisoVirgoletteNelNome, Icona::Esclamazione, Pulsanti::Ok);
        return std::nullopt;
    }
    if (FileNellaCartella(cartella, scelto))
        return nome;
    if (dialoghi.messaggio(DomandaCopia(nomeCartella), Icona::Domanda, Pulsanti::SiNo) != Risposta::Si)
        return std::nullopt;

    QString destinazione = nome;
    if (NomeOccupato(cartella, nome)) {
        if (stessoContenuto(scelto, cartella, nome))
            return nome;
        const Risposta r = dialoghi.messaggio(DomandaNomeEsistente(nomeCartella, nome), Icona::Domanda,
                                              Pulsanti::SostituisciMantieniAnnulla);
        if (r == Risposta::MantieniEntrambi) {
            destinazione = NomeLibero(cartella, nome);
            if (destinazione.isEmpty()) {
                dialoghi.messaggio(AvvisoCopiaFallita(nomeCartella, QStringLiteral("nessun nome libero per il file %1")
                                                                       .arg(nome)),
                                   Icona::Critica, Pulsanti::Ok);
                return std::nullopt;
            }
        } else if (r != Risposta::Sostituisci) {
            return std::nullopt;
        }
    }
    QString errore;
    if (!CopiaNellaCartella(scelto, cartella, destinazione, &errore)) {
        dialoghi.messaggio(AvvisoCopiaFallita(nomeCartella, errore), Icona::Critica, Pulsanti::Ok);
        return std::nullopt;
    }
    return destinazione;
}
