#include "reports/csv.h"

#include "reports/datebrevi.h"
#include "store/cp1252.h"
#include "store/dialoghi.h"
#include "store/stato.h"

#include <QSaveFile>

#include <algorithm>

namespace {
const QString FineRiga = QStringLiteral("\r\n");
}

QString TestoCSV(const Stato &stato)
{
    const QString &sep = stato.SeparatoreCSV;
    QString testo = QStringLiteral("Codice | Produttore | Tipo | Qt\u00e0 | Inserito | Descrizione")
        + FineRiga;
    const qint32 num = static_cast<qint32>(
        std::clamp<qsizetype>(stato.NumComponenti, 0, stato.Componenti.size()));
    DateBrevi date;
    QString descrizione;
    for (qint32 pos = 1; pos <= num; ++pos) {
        const Componente &c = stato.componente(pos);
        descrizione = c.Descrizione;
        if (!sep.isEmpty())
            descrizione.replace(sep, QStringLiteral(" "));
        testo += c.Codice;
        testo += sep;
        testo += c.NomeProduttore;
        testo += sep;
        testo += c.NomeTipo;
        testo += sep;
        testo += QString::number(c.Quantita);
        testo += sep;
        testo += date.testo(c.DataInserimento);
        testo += sep;
        testo += descrizione;
        testo += FineRiga;
    }
    return testo;
}

bool EsportaCSV(const Stato &stato, Dialoghi &dialoghi)
{
    QSaveFile file(stato.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv"));
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        const QByteArray byte = CodificaCp1252(TestoCSV(stato));
        scritto = file.write(byte) == byte.size() && file.commit();
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(TestoErroreCSV, Icona::Critica, Pulsanti::Ok, TitoloErroreCSV);
        return false;
    }
    return true;
}
