#include "copie/copie.h"

#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
#include "store/dialoghi.h"
#include "store/fileincartella.h"
#include "store/ini.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const QString NomeRiepilogo = QStringLiteral("Riepilogo.txt");
const QString SuffissoParziale = QStringLiteral(".parziale");

bool &copieAttive()
{
    static bool attive = true;
    return attive;
}

QString nativo(const QString &percorso)
{
    return QDir::toNativeSeparators(QDir::cleanPath(percorso));
}

QString unisci(const QString &cartella, const QString &nome)
{
    return cartella.endsWith(QLatin1Char('/')) ? cartella + nome : cartella + QLatin1Char('/') + nome;
}

// The five data files, in the order they are copied and written back.
QStringList fileDati(const Percorsi &p)
{
    return {p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages, p.FileIni};
}

QStringList nomiDati(const Percorsi &p)
{
    QStringList nomi;
    for (const QString &f : fileDati(p))
        nomi << QFileInfo(f).fileName();
    return nomi;
}

std::optional<CopiaDatata> leggiNome(const QString &cartella, const QString &nome)
{
    static const QRegularExpression schema(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})_(\\d{2})-(\\d{2})-(\\d{2})(?:_([1-9]\\d{0,5}))?$"));
    const QRegularExpressionMatch m = schema.match(nome);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate giorno(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime ora(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!giorno.isValid() || !ora.isValid())
        return std::nullopt;
    CopiaDatata c;
    c.nome = nome;
    c.percorso = unisci(cartella, nome);
    c.momento = QDateTime(giorno, ora);
    c.progressivo = m.capturedLength(7) > 0 ? m.captured(7).toInt() : 1;
    return c;
}

// Newest first: by the date and time written in the name (a clock put back
// or forward does not reorder what was written), then by the number after.
bool piuRecente(const CopiaDatata &a, const CopiaDatata &b)
{
    const QDate ga = a.momento.date(), gb = b.momento.date();
    if (ga != gb)
        return ga > gb;
    const QTime oa = a.momento.time(), ob = b.momento.time();
    if (oa != ob)
        return oa > ob;
    return a.progressivo > b.progressivo;
}

// Every folder of the copies (Backups/Copie and each copy being written)
// is made here.
bool creaCartellaCopie(const QString &percorso)
{
    const QFileInfo info(percorso);
    if (info.isDir() && !info.isSymLink())
        return true;
    if (!QDir().mkdir(percorso))
        return false;
    EreditaProprietario(percorso);
    return true;
}

// Every file of a copy that is not a link to an older one is written here,
// and is on disk when this returns true.
bool scriviFileCopia(const QString &percorso, const QByteArray &contenuto, bool guasto)
{
    QFile f(percorso);
    if (guasto || !f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    bool ok = f.write(contenuto) == contenuto.size() && f.flush();
#ifdef Q_OS_UNIX
    ok = ok && ::fsync(f.handle()) == 0;
#endif
    f.close();
    if (!ok)
        QFile::remove(percorso);
    else
        EreditaProprietario(percorso);
    return ok;
}

bool collega(const QString &esistente, const QString &nuovo)
{
#ifdef Q_OS_UNIX
    return ::link(QFile::encodeName(esistente).constData(), QFile::encodeName(nuovo).constData()) == 0;
#else
    Q_UNUSED(esistente);
    Q_UNUSED(nuovo);
    return false;
#endif
}

// The copy's folder takes its name in one step.
bool rinominaCartella(const QString &da, const QString &a)
{
#ifdef Q_OS_UNIX
    return ::rename(QFile::encodeName(da).constData(), QFile::encodeName(a).constData()) == 0;
#else
    return QDir().rename(da, a);
#endif
}

// Removes a file, a link or a whole folder; links are removed, never
// followed, so nothing outside the folder is touched.
bool rimuoviAlbero(const QString &percorso)
{
    const QFileInfo info(percorso);
    if (info.isSymLink() || !info.isDir())
        return QFile::remove(percorso);
    const QDir cartella(percorso);
    bool ok = true;
    const auto voci = cartella.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                              | QDir::System);
    for (const QFileInfo &voce : voci)
        ok = rimuoviAlbero(voce.filePath()) && ok;
    return QDir().rmdir(percorso) && ok;
}

// Whole megabytes, rounded up for what is needed and down for what is free,
// so the two never read as equal when the copy is refused.
constexpr qint64 Mega = 1024 * 1024;
QString megabyteInPiu(qint64 byte)
{
    return QString::number((std::max<qint64>(byte, 0) + Mega - 1) / Mega);
}
QString megabyteInMeno(qint64 byte)
{
    return QString::number(std::max<qint64>(byte, 0) / Mega);
}

qint64 spazioLibero(const QString &cartella, const GuastoCopia &guasto)
{
    if (guasto.spazioLibero >= 0)
        return guasto.spazioLibero;
    const QStorageInfo disco(cartella);
    return disco.isValid() ? disco.bytesAvailable() : -1;
}

// Answers nothing and shows nothing: loading a copy to count what it holds
// is no business of the user's.
class DialoghiSilenziosi : public Dialoghi {
public:
    Risposta messaggio(const QString &, Icona, Pulsanti, const QString &) override { return Risposta::Ok; }
    QString apriFile(const QString &, const QString &, const QString &) override { return {}; }
    bool avviaProgramma(const QString &, const QStringList &) override { return false; }
    bool apriDocumento(const QString &) override { return false; }
};

std::optional<RiepilogoCopia> leggiFileRiepilogo(const QString &cartella)
{
    const std::optional<QByteArray> testo = LeggiFileInCartella(cartella, NomeRiepilogo, 4096);
    if (!testo)
        return std::nullopt;
    RiepilogoCopia r;
    bool conPezzi = false;
    for (const QByteArray &riga : testo->split('\n')) {
        const qsizetype uguale = riga.indexOf('=');
        if (uguale < 0)
            continue;
        const QByteArray chiave = riga.left(uguale).trimmed();
        bool numero = false;
        const qint64 valore = riga.mid(uguale + 1).trimmed().toLongLong(&numero);
        if (!numero)
            continue;
        if (chiave == "Componenti" && valore >= 0)
            r.componenti = valore;
        else if (chiave == "Pezzi")
            r.pezzi = valore, conPezzi = true;
    }
    if (!r.noto() || !conPezzi)
        return std::nullopt;
    return r;
}

QByteArray testoRiepilogo(const RiepilogoCopia &r)
{
    return "Componenti=" + QByteArray::number(r.componenti) + "\r\nPezzi=" + QByteArray::number(r.pezzi)
         + "\r\n";
}

// The five files of a copy, read whole; false, naming the first that is
// missing or is not a regular file.
bool leggiCopia(const Percorsi &p, const CopiaDatata &copia, QList<FileNuovo> *files, QString *errore)
{
    for (const QString &nome : nomiDati(p)) {
        const std::optional<QByteArray> contenuto = LeggiFileInCartella(copia.percorso, nome);
        if (!contenuto) {
            if (errore)
                *errore = QStringLiteral("Impossibile leggere il file ") + nativo(unisci(copia.percorso, nome));
            return false;
        }
        files->append({nome, *contenuto});
    }
    return true;
}

// The copy loaded as a start would load it, its files only if they are
// regular files.
std::optional<Stato> caricaCopia(const CopiaDatata &copia)
{
    Stato s;
    s.percorsi = Percorsi::DaCartella(copia.percorso);
    for (const QString &nome : nomiDati(s.percorsi)) {
        if (!RisolviNome(copia.percorso, nome).regolare())
            return std::nullopt;
    }
    DialoghiSilenziosi muti;
    if (!LeggiInfo(s) || !CaricaDatabase(s, muti))
        return std::nullopt;
    ContaPezzi(s);
    return s;
}

} // namespace

QString CartellaCopie(const Percorsi &percorsi)
{
    return percorsi.CartellaBackup + QStringLiteral("Copie/");
}

QString NomeCopia(const QDateTime &momento, int progressivo)
{
    QString nome = momento.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    if (progressivo > 1)
        nome += QLatin1Char('_') + QString::number(progressivo);
    return nome;
}

QList<CopiaDatata> ElencoCopie(const Percorsi &percorsi)
{
    const QString cartella = CartellaCopie(percorsi);
    QList<CopiaDatata> copie;
    const auto voci = QDir(cartella).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &voce : voci) {
        if (auto c = leggiNome(QDir::cleanPath(cartella), voce.fileName()))
            copie.append(*c);
    }
    std::sort(copie.begin(), copie.end(), piuRecente);
    return copie;
}

RiepilogoCopia LeggiRiepilogo(const CopiaDatata &copia)
{
    if (const auto r = leggiFileRiepilogo(copia.percorso))
        return *r;
    // A copy without its summary (made by hand, or damaged) is loaded.
    const std::optional<Stato> s = caricaCopia(copia);
    if (!s)
        return {};
    return {s->NumComponenti, s->TotalePezzi};
}

QList<bool> CopieDaTenere(const QList<QDateTime> &momenti, const QDate &oggi)
{
    QList<bool> tenere(momenti.size(), false);
    for (qsizetype i = 0; i < momenti.size() && i < CopieRecentiTenute; ++i)
        tenere[i] = true;
    // From the oldest: the first copy met of each day is that day's first.
    const QDate primoGiorno = oggi.addDays(-(GiorniTenuti - 1));
    QSet<QDate> giorni;
    for (qsizetype i = momenti.size() - 1; i >= 0; --i) {
        const QDate giorno = momenti[i].date();
        if (giorno < primoGiorno || giorno > oggi || giorni.contains(giorno))
            continue;
        giorni.insert(giorno);
        tenere[i] = true;
    }
    return tenere;
}

bool CreaCopia(const Percorsi &percorsi, const RiepilogoCopia &riepilogo, CopiaDatata *creata,
               QString *errore, const GuastoCopia &guasto)
{
    auto fallisci = [errore](const QString &testo) {
        if (errore)
            *errore = testo;
        return false;
    };
    const QString cartella = CartellaCopie(percorsi);
    if (!creaCartellaCopie(cartella))
        return fallisci(QStringLiteral("Impossibile creare la cartella ") + nativo(cartella));

    // The files as they are now; what the newest copy already holds is
    // linked to it.
    const QStringList nomi = nomiDati(percorsi);
    const QStringList origini = fileDati(percorsi);
    QList<QByteArray> contenuti;
    for (const QString &origine : origini) {
        const std::optional<QByteArray> contenuto = LeggiFileRegolare(origine);
        if (!contenuto)
            return fallisci(QStringLiteral("Impossibile leggere il file ") + nativo(origine));
        contenuti.append(*contenuto);
    }
    const QList<CopiaDatata> esistenti = ElencoCopie(percorsi);
    QList<QString> collegabili(nomi.size());
    qint64 daScrivere = 0, totale = 0;
    for (qsizetype i = 0; i < nomi.size(); ++i) {
        totale += contenuti[i].size();
        if (!esistenti.isEmpty()) {
            const QString precedente = unisci(esistenti.first().percorso, nomi[i]);
            const QFileInfo info(precedente);
            if (info.isFile() && !info.isSymLink() && info.size() == contenuti[i].size()
                && LeggiFileInCartella(esistenti.first().percorso, nomi[i]) == contenuti[i])
                collegabili[i] = precedente;
        }
        if (collegabili[i].isEmpty())
            daScrivere += contenuti[i].size();
    }
    // Room for this copy and for one more save afterwards: a copy must
    // never be what makes the next save fail.
    const qint64 libero = spazioLibero(cartella, guasto);
    if (libero >= 0 && libero < daScrivere + totale)
        return fallisci(QStringLiteral("Spazio libero su disco insufficiente (servono %1 MB, disponibili %2 MB)")
                            .arg(megabyteInPiu(daScrivere + totale), megabyteInMeno(libero)));

    const QDateTime momento = Adesso();
    CopiaDatata nuova;
    for (int progressivo = 1; progressivo < 1000 && nuova.nome.isEmpty(); ++progressivo) {
        const QString nome = NomeCopia(momento, progressivo);
        const QString percorso = unisci(cartella, nome);
        if (!QFileInfo::exists(percorso) && !QFileInfo(percorso).isSymLink()
            && !QFileInfo::exists(percorso + SuffissoParziale)) {
            nuova = *leggiNome(QDir::cleanPath(cartella), nome);
        }
    }
    if (nuova.nome.isEmpty())
        return fallisci(QStringLiteral("Impossibile creare la cartella ") + nativo(unisci(cartella, NomeCopia(momento))));
    const QString parziale = nuova.percorso + SuffissoParziale;
    if (!creaCartellaCopie(parziale))
        return fallisci(QStringLiteral("Impossibile creare la cartella ") + nativo(parziale));

    for (qsizetype i = 0; i <= nomi.size(); ++i) {
        const bool riepilogoFile = i == nomi.size();
        const QString destinazione = unisci(parziale, riepilogoFile ? NomeRiepilogo : nomi[i]);
        const bool rifiutato = guasto.fileGuasto == i;
        bool ok = false;
        if (!riepilogoFile && !collegabili[i].isEmpty() && !rifiutato)
            ok = collega(collegabili[i], destinazione);
        if (!ok)
            ok = scriviFileCopia(destinazione, riepilogoFile ? testoRiepilogo(riepilogo) : contenuti[i], rifiutato);
        if (!ok) {
            rimuoviAlbero(parziale);
            return fallisci(QStringLiteral("Impossibile scrivere il file ") + nativo(destinazione));
        }
    }
    SincronizzaCartella(parziale);
    if (guasto.interrompiPrimaDelNome)
        return fallisci(QStringLiteral("Interrotto"));
    if (!rinominaCartella(parziale, nuova.percorso)) {
        rimuoviAlbero(parziale);
        return fallisci(QStringLiteral("Impossibile creare la cartella ") + nativo(nuova.percorso));
    }
    SincronizzaCartella(cartella);
    if (creata)
        *creata = nuova;
    return true;
}

void RimuoviCopieIncomplete(const Percorsi &percorsi)
{
    const QString cartella = CartellaCopie(percorsi);
    const auto voci = QDir(cartella).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                                   | QDir::System);
    for (const QFileInfo &voce : voci) {
        if (voce.fileName().endsWith(SuffissoParziale))
            rimuoviAlbero(voce.filePath());
    }
}

void PotaCopie(const Percorsi &percorsi, const QString &daTenere)
{
    const QList<CopiaDatata> copie = ElencoCopie(percorsi);
    QList<QDateTime> momenti;
    for (const CopiaDatata &c : copie)
        momenti.append(c.momento);
    const QList<bool> tenere = CopieDaTenere(momenti, Adesso().date());
    bool rimosse = false;
    for (qsizetype i = 0; i < copie.size(); ++i) {
        if (tenere[i] || copie[i].nome == daTenere)
            continue;
        rimuoviAlbero(copie[i].percorso);
        rimosse = true;
    }
    if (rimosse)
        SincronizzaCartella(CartellaCopie(percorsi));
}

QString AvvisoCopiaNonCreata(const Percorsi &percorsi, const QString &descrizione)
{
    return QStringLiteral("Attenzione: la copia datata dei dati di questo avvio non \u00e8 stata creata.\r\n")
         + descrizione
         + QStringLiteral(".\r\nI dati non sono stati toccati. Controllare i permessi e lo spazio libero della cartella ")
         + nativo(CartellaCopie(percorsi)) + QStringLiteral(".");
}

void CopiaDatataAllAvvio(const Stato &stato, Dialoghi &dialoghi)
{
    if (stato.SolaLettura || !copieAttive())
        return;
    const Percorsi &p = stato.percorsi;
    RimuoviCopieIncomplete(p);
    CopiaDatata creata;
    QString errore;
    if (!CreaCopia(p, {stato.NumComponenti, stato.TotalePezzi}, &creata, &errore))
        dialoghi.messaggio(AvvisoCopiaNonCreata(p, errore), Icona::Esclamazione, Pulsanti::Ok);
    PotaCopie(p, creata.nome);
}

bool RipristinaCopia(const Stato &stato, const CopiaDatata &copia, CopiaDatata *salvata, QString *errore,
                     const GuastoCopia &guasto, QList<RigaMovimento> *indietro)
{
    const Percorsi &p = stato.percorsi;
    QList<FileNuovo> files;
    if (!leggiCopia(p, copia, &files, errore))
        return false;
    // Each component the copy holds otherwise is a line of the history,
    // written with the copy's files. A copy that does not load writes none:
    // the caller finds out when it loads the files and puts the data back.
    if (const std::optional<Stato> copiato = caricaCopia(copia)) {
        const QList<RigaMovimento> righe =
            RigheDaConfronto(stato, *copiato, TestoMovimento(TipoMovimento::Ripristino));
        if (!righe.isEmpty()) {
            qint64 numero = 0;
            const std::optional<FileNuovo> aggiunta = AggiuntaMovimenti(p, righe, &numero, errore);
            if (!aggiunta)
                return false;
            files.append(*aggiunta);
            if (indietro)
                *indietro = RigheDaConfronto(*copiato, stato, MovimentoAnnullamento(numero));
        }
    }
    CopiaDatata attuale;
    if (!CreaCopia(p, {stato.NumComponenti, stato.TotalePezzi}, &attuale, errore, guasto))
        return false;
    if (salvata)
        *salvata = attuale;
    return ScriviInsieme(p.PercorsoApp, files, errore);
}

bool RimettiCopia(const Percorsi &percorsi, const CopiaDatata &copia, QString *errore,
                  const QList<RigaMovimento> &righe)
{
    QList<FileNuovo> files;
    if (!leggiCopia(percorsi, copia, &files, errore))
        return false;
    if (!righe.isEmpty()) {
        const std::optional<FileNuovo> aggiunta = AggiuntaMovimenti(percorsi, righe, nullptr, errore);
        if (!aggiunta)
            return false;
        files.append(*aggiunta);
    }
    return ScriviInsieme(percorsi.PercorsoApp, files, errore);
}

void ImpostaCopieAllAvvio(bool attive)
{
    copieAttive() = attive;
}
