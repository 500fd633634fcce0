#include "startup/riparazioneinfo.h"

#include "store/cp1252.h"
#include "store/fileincartella.h"
#include "store/ini.h"
#include "store/scritturasicura.h"
#include "store/stato.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace {

const QString kNomeDanneggiato = QStringLiteral("Info.ini.danneggiato");

QString nativo(const QString &percorso)
{
    return QDir::toNativeSeparators(QDir::cleanPath(percorso));
}

// The table's name as the user reads it in a sentence.
QString nomeTabella(TabellaFile t)
{
    switch (t) {
    case TabellaFile::Componenti:
        return QStringLiteral("componenti");
    case TabellaFile::Tipi:
        return QStringLiteral("tipi");
    case TabellaFile::Produttori:
        return QStringLiteral("produttori");
    case TabellaFile::Packages:
        return QStringLiteral("package");
    }
    return {};
}

template <typename T>
qint32 idMassimo(const QList<T> &tabella, qint32 num)
{
    qint32 massimo = std::numeric_limits<qint32>::min();
    for (qint32 i = 0; i < num && i < tabella.size(); ++i)
        massimo = std::max(massimo, tabella[i].ID);
    return massimo;
}

void correggi(TabellaFile t, qint32 massimo, qint32 *prossimo,
              QList<RiparazioneInfo::IDCorretto> *corretti)
{
    // An ID of the largest value leaves no next one to give: it stays.
    if (*prossimo > massimo || massimo == std::numeric_limits<qint32>::max())
        return;
    corretti->append({t, *prossimo, massimo + 1});
    *prossimo = massimo + 1;
}

// The first name beside Info.ini that nothing takes yet.
QString nomeLibero(const QString &cartella)
{
    QString nome = kNomeDanneggiato;
    for (int n = 2; QFileInfo(QDir(cartella).filePath(nome)).exists()
                    || QFileInfo(QDir(cartella).filePath(nome)).isSymLink();
         ++n)
        nome = kNomeDanneggiato + QStringLiteral(".%1").arg(n);
    return nome;
}

} // namespace

QByteArray IniInCp1252(const QByteArray &grezzo, QString *codifica)
{
    codifica->clear();
    const auto codifiche = {QStringConverter::Utf16LE, QStringConverter::Utf16BE,
                            QStringConverter::Utf8};
    for (QStringConverter::Encoding c : codifiche) {
        static const QByteArray segni[] = {QByteArrayLiteral("\xFF\xFE"), QByteArrayLiteral("\xFE\xFF"),
                                           QByteArrayLiteral("\xEF\xBB\xBF")};
        const QByteArray &segno = segni[c == QStringConverter::Utf16LE ? 0 : c == QStringConverter::Utf16BE ? 1 : 2];
        if (!grezzo.startsWith(segno))
            continue;
        QStringDecoder decodifica(c);
        const QString testo = decodifica(QByteArrayView(grezzo).sliced(segno.size()));
        *codifica = c == QStringConverter::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("UTF-16");
        return CodificaCp1252(testo);
    }
    return grezzo;
}

bool TabelleConDati(const Percorsi &p)
{
    for (const QString &file : {p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages}) {
        const std::optional<QByteArray> dati = LeggiFileRegolare(file);
        if (dati && std::any_of(dati->begin(), dati->end(), [](char c) {
                return c != ' ' && c != '\t' && c != '\r' && c != '\n';
            }))
            return true;
    }
    return false;
}

void CorreggiProssimiID(Stato &stato, QList<RiparazioneInfo::IDCorretto> *corretti)
{
    // In the order the tables are loaded, as the counts are listed.
    correggi(TabellaFile::Tipi, idMassimo(stato.Tipi, stato.NumTipi), &stato.ProssimoIDTipo,
             corretti);
    correggi(TabellaFile::Produttori, idMassimo(stato.Produttori, stato.NumProduttori),
             &stato.ProssimoIDProduttore, corretti);
    correggi(TabellaFile::Packages, idMassimo(stato.Packages, stato.NumPackages),
             &stato.ProssimoIDPackage, corretti);
    correggi(TabellaFile::Componenti, idMassimo(stato.Componenti, stato.NumComponenti),
             &stato.ProssimoIDComponente, corretti);
}

bool ScriviInfoRiparato(const Stato &stato, RiparazioneInfo::File file, const QByteArray &vecchio,
                        const QByteArray &base, QString *conservato, QString *errore)
{
    const Percorsi &p = stato.percorsi;
    const QString cartella = p.PercorsoApp;
    const QString nomeIni = QFileInfo(p.FileIni).fileName();
    conservato->clear();
    QList<FileNuovo> files;
    if (file == RiparazioneInfo::File::Illeggibile) {
        // Whatever stands in its place is moved aside untouched: it cannot
        // be read, so it cannot be copied either.
        const QString nome = nomeLibero(cartella);
        if (!QFile::rename(p.FileIni, QDir(cartella).filePath(nome))) {
            *errore = QStringLiteral("Impossibile spostare il file ") + nativo(p.FileIni);
            return false;
        }
        *conservato = QDir(cartella).filePath(nome);
    } else if (file != RiparazioneInfo::File::Mancante) {
        const QString nome = nomeLibero(cartella);
        files.append({nome, vecchio});
        *conservato = QDir(cartella).filePath(nome);
    }
    files.append({nomeIni, ContenutoInfo(stato, base)});
    if (!ScriviInsieme(cartella, files, errore)) {
        if (file != RiparazioneInfo::File::Illeggibile)
            conservato->clear();
        return false;
    }
    return true;
}

QString TestoRiparazione(const RiparazioneInfo &r, const Stato &stato, const QString &conservato,
                         const QString &errore)
{
    using File = RiparazioneInfo::File;
    QStringList righe;
    switch (r.file) {
    case File::Mancante:
        righe << QStringLiteral("Il file Info.ini mancava, ma i file dei dati contengono dei "
                                "componenti o delle voci: Info.ini è stato ricreato da quei file.");
        break;
    case File::Illeggibile:
        righe << QStringLiteral("Il file Info.ini non si poteva leggere: è stato ricreato dai file "
                                "dei dati.");
        break;
    case File::AltraCodifica:
        righe << QStringLiteral("Il file Info.ini era stato salvato in %1: è stato riscritto nella "
                                "codifica del programma.")
                     .arg(r.codifica);
        break;
    case File::Sano:
        righe << QStringLiteral("Il file Info.ini non corrispondeva ai file dei dati ed è stato "
                                "corretto.");
        break;
    }
    const bool daZero = r.file == File::Mancante || r.file == File::Illeggibile;
    if (daZero) {
        righe << QStringLiteral("Caricati: componenti %1, tipi %2, produttori %3, package %4.")
                     .arg(stato.NumComponenti)
                     .arg(stato.NumTipi)
                     .arg(stato.NumProduttori)
                     .arg(stato.NumPackages);
        righe << QStringLiteral("Le opzioni e i nomi dei campi personali hanno ripreso i valori "
                                "predefiniti.");
    } else {
        for (const ConteggioCorretto &c : r.conteggi)
            righe << QStringLiteral("- %1: %2 nel file, Info.ini ne indicava %3.")
                         .arg(nomeTabella(c.tabella))
                         .arg(c.trovato)
                         .arg(c.dichiarato);
        for (const RiparazioneInfo::IDCorretto &c : r.prossimiID)
            righe << QStringLiteral("- prossimo ID dei %1: %2 (Info.ini indicava %3, già in uso).")
                         .arg(nomeTabella(c.tabella))
                         .arg(c.dopo)
                         .arg(c.prima);
    }
    if (!conservato.isEmpty())
        righe << QStringLiteral("Il file originale è conservato come ") + nativo(conservato)
                + QStringLiteral(".");
    if (!errore.isEmpty())
        righe << QStringLiteral("Attenzione: il file riparato non è stato scritto (") + errore
                + QStringLiteral("); sarà scritto al prossimo salvataggio.");
    return righe.join(QStringLiteral("\r\n"));
}
