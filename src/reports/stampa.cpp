#include "reports/stampa.h"

#include "reports/ansi.h"
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

// The value cut to w characters and padded with blanks to w + 3. Counted in
// whole characters, so every line has the same number of bytes once encoded.
QString Cella(const QString &valore, int w)
{
    QList<uint> caratteri = valore.toUcs4();
    if (caratteri.size() > w)
        caratteri.resize(w);
    const QString cella = QString::fromUcs4(reinterpret_cast<const char32_t *>(caratteri.constData()),
                                            caratteri.size());
    return cella + QString(w + Spazio - caratteri.size(), QLatin1Char(' '));
}

QString RigaComponente(const Componente &c)
{
    const std::array<QString, 5> valori = {
        c.Codice,
        c.NomeTipo,
        c.NomeProduttore,
        QString::number(c.Quantita),
        c.DataInserimento.isValid() ? DataBreve(c.DataInserimento.date()) : QString(),
    };
    QString riga;
    riga.reserve(LarghezzaTotale());
    for (size_t i = 0; i < Colonne.size(); ++i)
        riga += Cella(valori[i], Colonne[i].larghezza);
    return riga;
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
        titoli += i + 1 < Colonne.size() ? Cella(titolo, w) : titolo;
        regola += QString(w, QLatin1Char('=')) + QString(Spazio, QLatin1Char(' '));
    }
    testo += titoli + FineRiga + regola + FineRiga + FineRiga;

    const qint32 num = static_cast<qint32>(
        std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    for (const qint32 pos : posizioniRighe) {
        if (pos >= 1 && pos <= num)
            testo += RigaComponente(stato.componente(pos)) + FineRiga;
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
        const QByteArray byte = TestoAnsi(TestoStampa(stato, posizioniRighe, oggi));
        scritto = file.write(byte) == byte.size() && file.commit();
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(TestoErroreStampa, Icona::Critica, Pulsanti::Ok, TitoloErroreStampa);
        return false;
    }
    return true;
}
