#include "components/operazioni.h"

#include "components/like.h"
#include "components/regole.h"
#include "store/cp1252.h"
#include "store/ricerche.h"
#include "store/stato.h"

#include <algorithm>
#include <limits>

namespace {

// The valid positions are 1 to the count; a count larger than the storage
// (a damaged state) never makes a reader step past the end.
qint32 ComponentiValidi(const Stato &stato)
{
    return static_cast<qint32>(
        std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
}

// Texts stored as typed still lose their double quotes: the table file has
// no escape for them, and one would split the field when the file is read.
QString SenzaVirgolette(const QString &testo)
{
    QString t = testo;
    t.replace(QLatin1Char('"'), QLatin1Char('\''));
    return t;
}

const QString FineRiga = QStringLiteral("\r\n");

} // namespace

Componente ComponenteDaPannello(const Stato &stato, const ValoriPannello &valori, qint32 id,
                                const QDateTime &dataInserimento)
{
    Componente c;
    c.ID = id;
    c.IDTipo = IDTipoDaNome(stato, valori.tipo);
    c.IDProduttore = IDProduttoreDaNome(stato, valori.produttore);
    c.IDPackage = IDPackageDaNome(stato, valori.package);
    c.Pins = LongDaTesto(valori.pins);
    c.NomeTipo = SenzaVirgolette(valori.tipo);
    c.Codice = SenzaVirgolette(MaiuscoloCp1252(valori.codice));
    c.CodiceNumerico = NumeroDaCodice(valori.codice);
    c.Quantita = LongDaTesto(valori.quantita);
    c.NomeProduttore = SenzaVirgolette(valori.produttore);
    c.Descrizione = PulisciTesto(valori.descrizione);
    c.Note = PulisciTesto(valori.note);
    c.Datasheet = SenzaVirgolette(valori.datasheet);
    c.Immagine = SenzaVirgolette(valori.immagine);
    c.DataInserimento = dataInserimento;
    c.Extra1 = PulisciTesto(valori.extra[0]);
    c.Extra2 = PulisciTesto(valori.extra[1]);
    c.Extra3 = PulisciTesto(valori.extra[2]);
    c.Extra4 = PulisciTesto(valori.extra[3]);
    c.Extra5 = PulisciTesto(valori.extra[4]);
    c.Extra6 = PulisciTesto(valori.extra[5]);
    return c;
}

QString TestoConflitto(const Stato &stato, qint32 n, const QString &codiceMaiuscolo)
{
    QString elenco;
    const qint32 num = ComponentiValidi(stato);
    for (qint32 pos = 1; pos <= num; ++pos) {
        const Componente &c = stato.componente(pos);
        if (c.CodiceNumerico == n)
            elenco += QStringLiteral("> ") + c.Codice + FineRiga;
    }
    if (elenco.isEmpty())
        return {};
    return QStringLiteral("Ci sono altri componenti con lo stesso codice numerico [")
        + QString::number(n) + QStringLiteral("] of ") + codiceMaiuscolo + QStringLiteral(":")
        + FineRiga + elenco + FineRiga + QStringLiteral("Devo continuare comunque ?");
}

void EliminaPosizione(Stato &stato, qint32 pos)
{
    if (pos < 1 || pos > ComponentiValidi(stato))
        return;
    // The records behind pos move down by one. Removing the slot keeps the
    // number of spare slots past the count as it was, so a table whose
    // storage matched its count still does.
    stato.Componenti.remove(pos - 1);
    --stato.NumComponenti;
}

QList<qint32> CercaCodici(const Stato &stato, const QString &testoRicerca, bool ancheDescrizione)
{
    const SchemaLike schema(QStringLiteral("*") + MaiuscoloCp1252(testoRicerca) + QStringLiteral("*"));
    QList<qint32> trovati;
    const qint32 num = ComponentiValidi(stato);
    for (qint32 pos = 1; pos <= num; ++pos) {
        const Componente &c = stato.componente(pos);
        // Codes are stored upper-cased; descriptions are not, so they are
        // upper-cased here, the same way as the pattern, for letters to
        // match whatever case was typed ("µ" stays "µ" in both).
        if (schema.corrisponde(c.Codice)
            || (ancheDescrizione && schema.corrisponde(MaiuscoloCp1252(c.Descrizione))))
            trovati.append(pos);
    }
    return trovati;
}

QString AvvisoIDEsauriti(qint32 prossimoID, const QString &chiaveIni)
{
    if (prossimoID < std::numeric_limits<qint32>::max())
        return {};
    return QStringLiteral("Impossibile aggiungere: gli ID disponibili sono esauriti.\r\n"
                          "Controllare il valore di \"%1\" nel file Info.ini")
        .arg(chiaveIni);
}

QString AvvisoCaratteriNonSalvabili(const QStringList &testi)
{
    for (const QString &t : testi) {
        const QString carattere = PrimoCarattereFuoriCp1252(t);
        if (!carattere.isEmpty())
            return QStringLiteral("Attenzione: il carattere \"%1\" non può essere salvato nei file dei dati")
                       .arg(carattere)
                + FineRiga + QStringLiteral("Sostituirlo e riprovare !");
    }
    return {};
}

QStringList TestiPannello(const ValoriPannello &valori)
{
    QStringList testi{valori.codice,  valori.quantita,    valori.tipo, valori.produttore,
                      valori.package, valori.pins,        valori.descrizione,
                      valori.note,    valori.datasheet,   valori.immagine};
    for (const QString &e : valori.extra)
        testi.append(e);
    return testi;
}
