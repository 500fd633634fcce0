// The CSV import's reading and planning on arbitrary bytes: never a crash or a hang, every line accounted for once, and
// a plan that adds up. The first bytes are also read as a minimum stock, which must agree with the number rule it is
// defined by.
#include "components/regole.h"
#include "components/scorta.h"
#include "importa/importazione.h"
#include "store/stato.h"
#include "verifica.h"

#include <QSet>
#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    const QByteArray byte(reinterpret_cast<const char *>(dati), static_cast<qsizetype>(dimensione));

    const QString inizio = QString::fromUtf8(byte.left(64));
    qint32 minimo = 0;
    if (LeggiMinimo(inizio, &minimo))
        Verifica(minimo == LongDaTesto(inizio));
    else
        Verifica(Val(inizio) == 0);

    Stato stato;
    for (int i = 1; i <= 6; ++i)
        stato.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
    stato.Tipi = {{1, QStringLiteral("IC")}};
    stato.NumTipi = 1;
    stato.ProssimoIDTipo = 2;
    Componente c;
    c.ID = 1;
    c.Codice = QStringLiteral("NE555");
    c.Quantita = 20;
    stato.Componenti = {c};
    stato.NumComponenti = 1;
    stato.ProssimoIDComponente = 2;

    const LetturaCSV l = LeggiCSV(byte, stato);
    if (!l.errore.isEmpty()) {
        Verifica(l.righe.isEmpty() && l.errori.isEmpty());
        return 0;
    }
    const qsizetype righeFile = byte.count('\n') + byte.count('\r') + 1;
    QSet<int> viste;
    int precedente = 1; // the header is line 1 or later
    for (const RigaCSV &r : l.righe) {
        Verifica(r.numero > precedente && r.numero <= righeFile);
        precedente = r.numero;
        viste.insert(r.numero);
        const Componente &k = r.componente;
        Verifica(!k.Codice.isEmpty() && k.Codice == k.Codice.toUpper());
        for (const QString *t : {&k.Codice, &k.NomeTipo, &k.NomeProduttore, &r.package, &k.Descrizione, &k.Note})
            Verifica(!t->contains(QLatin1Char('"')));
        Verifica(!k.Descrizione.contains(QLatin1Char(',')) && !k.Descrizione.contains(QStringLiteral("\r\n")));
        Verifica(k.DataInserimento.isValid());
    }
    for (const ErroreRiga &e : l.errori) {
        Verifica(e.numero > 1 && e.numero <= righeFile && !e.motivo.isEmpty());
        Verifica(!viste.contains(e.numero));
        viste.insert(e.numero);
    }

    for (CodiciEsistenti scelta : {CodiciEsistenti::Aggiungi, CodiciEsistenti::Salta, CodiciEsistenti::SommaQuantita}) {
        const PianoImportazione p = PianificaImportazione(stato, l, scelta);
        Verifica(p.errore.isEmpty());
        // Every line read is added, skipped, summed or refused, once.
        const qsizetype rifiutate = p.errori.size() - l.errori.size();
        Verifica(rifiutate >= 0);
        Verifica(p.nuovi.size() + p.saltati + rifiutate <= l.righe.size());
        if (scelta == CodiciEsistenti::Aggiungi)
            Verifica(p.nuovi.size() == l.righe.size() && p.saltati == 0 && p.quantita.isEmpty());
        if (scelta == CodiciEsistenti::Salta)
            Verifica(p.nuovi.size() + p.saltati == l.righe.size());
        // Only the stored NE555 (no manufacturer, no type) counts as
        // existing: a line of its code is new only when it names a
        // manufacturer or a type; lines of the file never match each other.
        for (qsizetype i = 0; i < p.nuovi.size(); ++i) {
            Verifica(p.nuovi[i].ID == 2 + i);
            if (scelta != CodiciEsistenti::Aggiungi && ChiaveNome(p.nuovi[i].Codice) == QLatin1String("NE555"))
                Verifica(!p.nuovi[i].NomeProduttore.isEmpty() || !p.nuovi[i].NomeTipo.isEmpty());
        }
        // One stored component: nothing is ambiguous.
        Verifica(p.ambigue.isEmpty());
        for (qsizetype i = 0; i < p.nuoviTipi.size(); ++i)
            Verifica(p.nuoviTipi[i].ID == 2 + i && ChiaveNome(p.nuoviTipi[i].Nome) == p.nuoviTipi[i].Nome
                     && p.nuoviTipi[i].Nome != QLatin1String("IC"));
    }
    return 0;
}
