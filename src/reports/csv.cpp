#include "reports/csv.h"

#include "reports/datebrevi.h"
#include "reports/intero.h"
#include "store/cp1252.h"
#include "store/dialoghi.h"
#include "store/stato.h"

#include <QSaveFile>

#include <algorithm>

namespace {

const QString FineRiga = QStringLiteral("\r\n");

// Where the export's text goes: a QString, or straight into Windows-1252
// bytes (the file), so that the file never needs the whole text twice.
struct InTesto {
    QString &out;
    void operator()(QStringView v) { out.append(v); }
};
struct InByte {
    QByteArray &out;
    void operator()(QStringView v) { AccodaCp1252(out, v); }
};

template <typename Uscita>
void scriviCSV(const Stato &stato, Uscita scrivi)
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
    scriviCSV(stato, InTesto{testo});
    return testo;
}

bool EsportaCSV(const Stato &stato, Dialoghi &dialoghi)
{
    QSaveFile file(stato.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv"));
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        QByteArray byte;
        byte.reserve(qsizetype(qMax(stato.NumComponenti, 0)) * 96 + 128);
        scriviCSV(stato, InByte{byte});
        scritto = file.write(byte) == byte.size() && file.commit();
    }
    if (!scritto) {
        file.cancelWriting();
        dialoghi.messaggio(TestoErroreCSV, Icona::Critica, Pulsanti::Ok, TitoloErroreCSV);
        return false;
    }
    return true;
}
