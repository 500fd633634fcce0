#include "reports/stampa.h"

#include "reports/datebrevi.h"
#include "reports/intero.h"
#include "reports/uscita.h"
#include "store/cp1252.h"
#include "store/dialoghi.h"
#include "store/localeutente.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"

#include <QSaveFile>

#include <algorithm>
#include <array>

namespace {

struct Colonna {
    const char16_t *titolo;
    int larghezza;
};

constexpr std::array<Colonna, 5> Colonne = {{
    {u"Codice", 15},
    {u"Tipo", 6},
    {u"Produttore", 16},
    {u"Qt\u00e0", 4},
    {u"Inserito", 10},
}};

constexpr int Spazio = 3; // blanks after each column's width

constexpr int LarghezzaTotale()
{
    int totale = 0;
    for (const Colonna &c : Colonne)
        totale += c.larghezza + Spazio;
    return totale;
}

const QString FineRiga = QStringLiteral("\r\n");


// Writes the value cut to w characters and padded with blanks to w + 3.
// Counted in whole characters (a surrogate pair is one), so every line has
// the same number of bytes once encoded.
template <typename Uscita>
void AggiungiCella(Uscita &scrivi, QStringView valore, int w)
{
    static const QString spazi(64, QLatin1Char(' '));
    qsizetype unita = 0;
    int caratteri = 0;
    while (unita < valore.size() && caratteri < w) {
        const bool coppia = valore.at(unita).isHighSurrogate() && unita + 1 < valore.size()
            && valore.at(unita + 1).isLowSurrogate();
        unita += coppia ? 2 : 1;
        ++caratteri;
    }
    scrivi(valore.first(unita));
    scrivi(QStringView(spazi).first(w + Spazio - caratteri));
}

template <typename Uscita>
void AggiungiRiga(Uscita &scrivi, const Componente &c, DateBrevi &date)
{
    char16_t cifre[16];
    AggiungiCella(scrivi, c.Codice, Colonne[0].larghezza);
    AggiungiCella(scrivi, c.NomeTipo, Colonne[1].larghezza);
    AggiungiCella(scrivi, c.NomeProduttore, Colonne[2].larghezza);
    AggiungiCella(scrivi, Intero(c.Quantita, cifre), Colonne[3].larghezza);
    AggiungiCella(scrivi, date.testo(c.DataInserimento), Colonne[4].larghezza);
    scrivi(FineRiga);
}

template <typename Uscita>
void scriviStampa(const Stato &stato, const QList<qint32> &posizioniRighe, const QDate &data,
                  Uscita &&scrivi)
{
    const QString trattini(LarghezzaTotale(), QLatin1Char('_'));
    scrivi(QString(QStringLiteral("Elenco dei ") + QString::number(posizioniRighe.size())
                   + QStringLiteral(" componenti estratti il ") + DataBreve(data) + FineRiga));
    scrivi(trattini);
    scrivi(FineRiga);
    scrivi(FineRiga);

    QString titoli;
    QString regola;
    UscitaTesto inTitoli{titoli};
    for (size_t i = 0; i < Colonne.size(); ++i) {
        const QString titolo = QString::fromUtf16(Colonne[i].titolo);
        const int w = Colonne[i].larghezza;
        if (i + 1 < Colonne.size())
            AggiungiCella(inTitoli, titolo, w);
        else
            titoli += titolo;
        regola += QString(w, QLatin1Char('=')) + QString(Spazio, QLatin1Char(' '));
    }
    scrivi(QString(titoli + FineRiga + regola + FineRiga + FineRiga));

    const qint32 num = static_cast<qint32>(
        std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    DateBrevi date;
    for (const qint32 pos : posizioniRighe) {
        if (pos >= 1 && pos <= num)
            AggiungiRiga(scrivi, stato.componente(pos), date);
    }

    scrivi(trattini);
    scrivi(FineRiga);
    scrivi(QString(QStringLiteral("Lista generata con Ar.Vo. ") + VersioneDati
                   + QStringLiteral(" di Talpa {") + IndirizzoWeb + QStringLiteral("]") + FineRiga));
}

} // namespace

QString NomeFileStampa(const QDate &data)
{
    QString giorno = DataBreve(data);
    static const QString vietati = QStringLiteral("/\\:*?\"<>|");
    giorno.removeIf([](QChar c) { return vietati.contains(c) || c.unicode() < 32; });
    return QStringLiteral("Stampa_") + giorno + QStringLiteral(".txt");
}

QString TestoStampa(const Stato &stato, const QList<qint32> &posizioniRighe, const QDate &data)
{
    QString testo;
    testo.reserve((posizioniRighe.size() + 12) * (LarghezzaTotale() + 2));
    scriviStampa(stato, posizioniRighe, data, UscitaTesto{testo});
    return testo;
}

bool CreatFileStampa(const Stato &stato, const QList<qint32> &posizioniRighe, Dialoghi &dialoghi,
                     QString *percorso)
{
    if (posizioniRighe.isEmpty())
        return false;

    // The heading's date and the file name's date are the same reading of
    // the clock.
    const QDate oggi = Oggi();
    QSaveFile file(stato.percorsi.CartellaStampe + NomeFileStampa(oggi));
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        UscitaByte uscita((posizioniRighe.size() + 12) * (LarghezzaTotale() + 2));
        scriviStampa(stato, posizioniRighe, oggi, uscita);
        const QByteArray byte = uscita.risultato();
        scritto = file.write(byte) == byte.size() && file.commit();
        if (scritto)
            EreditaProprietario(file.fileName()); // owned like its folder, also when run by the superuser
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(TestoErroreStampa, Icona::Critica, Pulsanti::Ok, TitoloErroreStampa);
        return false;
    }
    if (percorso)
        *percorso = file.fileName();
    return true;
}
