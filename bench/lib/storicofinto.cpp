#include "lib/storicofinto.h"

#include "movimenti/rigamovimento.h"
#include "movimenti/righeoperazione.h"
#include "store/stato.h"

#include <QRandomGenerator>
#include <QStringList>

QByteArray StoricoFinto(const Stato &s, qint64 n, quint32 seme)
{
    QRandomGenerator caso(seme);
    QByteArray testo = IntestazioneMovimenti();
    testo.reserve(n * 160);
    const QStringList movimenti{"Prelievo pezzi", "Prelievo pezzi", "Aggiunta pezzi", "Modifica",
                                "Distinta scheda-alimentatore.csv × 3 schede", "Importazione magazzino.csv",
                                "Annullamento dell'operazione 12"};
    QDateTime momento(QDate(2020, 1, 1), QTime(8, 0));
    qint64 operazione = 0;
    for (qint64 i = 0; i < n;) {
        ++operazione;
        momento = momento.addSecs(caso.bounded(60, 7200));
        const QString movimento = movimenti[caso.bounded(movimenti.size())];
        const int righe = caso.bounded(1, 6);
        for (int k = 0; k < righe && i < n; ++k, ++i) {
            const Componente &c = s.Componenti[caso.bounded(s.NumComponenti)];
            RigaMovimento r;
            if (i % 50 == 49) {
                r = RigaRimozione(c, QStringLiteral("Eliminazione"));
            } else {
                Componente dopo = c;
                dopo.Quantita = c.Quantita + caso.bounded(-20, 21);
                if (movimento == QLatin1String("Modifica") && k == 0)
                    dopo.Descrizione = c.Descrizione + QStringLiteral(" (rev. B)");
                r = RigaCambio(c, dopo, movimento).value_or(RigaCreazione(c, movimento));
                if (caso.bounded(10) == 0)
                    r.nota = QStringLiteral("ordine %1").arg(caso.bounded(1000, 9999));
            }
            r.operazione = operazione;
            r.momento = momento;
            testo += TestoRigaMovimento(r);
        }
    }
    return testo;
}
