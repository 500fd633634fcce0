#include "reports/csv.h"

#include "reports/datebrevi.h"
#include "reports/intero.h"
#include "reports/uscita.h"
#include "store/cp1252.h"
#include "store/dialoghi.h"
#include "store/scritturasicura.h"
#include "store/stato.h"

#include <QSaveFile>

#include <algorithm>

namespace {

const QString FineRiga = QStringLiteral("\r\n");


template <typename Uscita>
void scriviCSV(const Stato &stato, Uscita &&scrivi)
{
    const QString &sep = stato.SeparatoreCSV;
    scrivi(u"Codice | Produttore | Tipo | Qt\u00e0 | Inserito | Descrizione");
    scrivi(FineRiga);
    const qint32 num = static_cast<qint32>(
        std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    DateBrevi date;
    QString descrizione;
    char16_t cifre[16];
    for (qint32 pos = 1; pos <= num; ++pos) {
        const Componente &c = stato.componente(pos);
        scrivi(c.Codice);
        scrivi(sep);
        scrivi(c.NomeProduttore);
        scrivi(sep);
        scrivi(c.NomeTipo);
        scrivi(sep);
        scrivi(Intero(c.Quantita, cifre));
        scrivi(sep);
        scrivi(date.testo(c.DataInserimento));
        scrivi(sep);
        if (!sep.isEmpty() && c.Descrizione.contains(sep)) {
            descrizione = c.Descrizione;
            descrizione.replace(sep, QStringLiteral(" "));
            scrivi(descrizione);
        } else {
            scrivi(c.Descrizione);
        }
        scrivi(FineRiga);
    }
}

} // namespace

QString TestoCSV(const Stato &stato)
{
    QString testo;
    scriviCSV(stato, UscitaTesto{testo});
    return testo;
}

bool EsportaCSV(const Stato &stato, Dialoghi &dialoghi, QString *percorso)
{
    QSaveFile file(stato.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv"));
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        UscitaByte uscita(qsizetype(qMax(stato.NumComponenti, 0)) * 80 + 128);
        scriviCSV(stato, uscita);
        const QByteArray byte = uscita.risultato();
        scritto = file.write(byte) == byte.size() && file.commit();
        if (scritto)
            EreditaProprietario(file.fileName()); // owned like its folder, also when run by the superuser
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(TestoErroreCSV, Icona::Critica, Pulsanti::Ok, TitoloErroreCSV);
        return false;
    }
    if (percorso)
        *percorso = file.fileName();
    return true;
}
