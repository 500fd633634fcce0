#include "reports/csv.h"

#include "reports/ansi.h"
#include "store/dialoghi.h"
#include "store/localeutente.h"
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
    for (qint32 pos = 1; pos <= num; ++pos) {
        const Componente &c = stato.componente(pos);
        QString descrizione = c.Descrizione;
        if (!sep.isEmpty())
            descrizione.replace(sep, QStringLiteral(" "));
        testo += c.Codice + sep + c.NomeProduttore + sep + c.NomeTipo + sep
            + QString::number(c.Quantita) + sep
            + (c.DataInserimento.isValid() ? DataBreve(c.DataInserimento.date()) : QString())
            + sep + descrizione + FineRiga;
    }
    return testo;
}

bool EsportaCSV(const Stato &stato, Dialoghi &dialoghi)
{
    QSaveFile file(stato.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv"));
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        const QByteArray byte = TestoAnsi(TestoCSV(stato));
        scritto = file.write(byte) == byte.size() && file.commit();
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(TestoErroreCSV, Icona::Critica, Pulsanti::Ok, TitoloErroreCSV);
        return false;
    }
    return true;
}
