#include "reports/stampa.h"

#include "reports/datebrevi.h"
#include "store/cp1252.h"
#include "store/dialoghi.h"
#include "store/localeutente.h"
#include "store/orologio.h"
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

// Appends the value cut to w characters and padded with blanks to w + 3.
// Counted in whole characters (a surrogate pair is one), so every line has
// the same number of bytes once encoded.
void AggiungiCella(QString &riga, const QString &valore, int w)
{
    qsizetype unita = 0;
    int caratteri = 0;
    while (unita < valore.size() && caratteri < w) {
        const bool coppia = valore.at(unita).isHighSurrogate() && unita + 1 < valore.size()
            && valore.at(unita + 1).isLowSurrogate();
        unita += coppia ? 2 : 1;
        ++caratteri;
    }
    riga.append(valore.constData(), unita);
    riga.append(QString(w + Spazio - caratteri, QLatin1Char(' ')));
}

void AggiungiRiga(QString &testo, const Componente &c, DateBrevi &date)
{
    AggiungiCella(testo, c.Codice, Colonne[0].larghezza);
    AggiungiCella(testo, c.NomeTipo, Colonne[1].larghezza);
    AggiungiCella(testo, c.NomeProduttore, Colonne[2].larghezza);
    AggiungiCella(testo, QString::number(c.Quantita), Colonne[3].larghezza);
    AggiungiCella(testo, date.testo(c.DataInserimento), Colonne[4].larghezza);
    testo += FineRiga;
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
    const QString trattini(LarghezzaTotale(), QLatin1Char('_'));
    QString testo;
    testo += QStringLiteral("Elenco dei ") + QString::number(posizioniRighe.size())
        + QStringLiteral(" componenti estratti il ") + DataBreve(data) + FineRiga;
    testo += trattini + FineRiga;
    testo += FineRiga;

    QString titoli;
    QString regola;
    for (size_t i = 0; i < Colonne.size(); ++i) {
        const QString titolo = QString::fromUtf16(Colonne[i].titolo);
        const int w = Colonne[i].larghezza;
        if (i + 1 < Colonne.size())
            AggiungiCella(titoli, titolo, w);
        else
            titoli += titolo;
        regola += QString(w, QLatin1Char('=')) + QString(Spazio, QLatin1Char(' '));
    }
    testo += titoli + FineRiga + regola + FineRiga + FineRiga;

    const qint32 num = static_cast<qint32>(
        std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    testo.reserve(testo.size() + (posizioniRighe.size() + 2) * (LarghezzaTotale() + 2) + 100);
    DateBrevi date;
    for (const qint32 pos : posizioniRighe) {
        if (pos >= 1 && pos <= num)
            AggiungiRiga(testo, stato.componente(pos), date);
    }

    testo += trattini + FineRiga;
    testo += QStringLiteral("Lista generata con Ar.Vo. ") + VersioneDati
        + QStringLiteral(" di Talpa {") + IndirizzoWeb + QStringLiteral("]") + FineRiga;
    return testo;
}

bool CreatFileStampa(const Stato &stato, const QList<qint32> &posizioniRighe, Dialoghi &dialoghi)
{
    if (posizioniRighe.isEmpty())
        return false;

    // The heading's date and the file name's date are the same reading of
    // the clock.
    const QDate oggi = Oggi();
    QSaveFile file(stato.percorsi.CartellaStampe + NomeFileStampa(oggi));
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        const QByteArray byte = CodificaCp1252(TestoStampa(stato, posizioniRighe, oggi));
        scritto = file.write(byte) == byte.size() && file.commit();
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(TestoErroreStampa, Icona::Critica, Pulsanti::Ok, TitoloErroreStampa);
        return false;
    }
    return true;
}
