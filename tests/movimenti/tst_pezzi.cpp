// Adding and taking pieces in one step: the quantity at the edges of the
// stock and of 32 bits; the table and the history line saved together.
#include "common/storicoprova.h"
#include "common/verifiche.h"
#include "movimenti/pezzi.h"

#include <limits>

namespace {

constexpr qint64 Massimo = std::numeric_limits<qint32>::max();

// One row: the stock, add or take, the pieces asked, then what comes out.
void Riga(const char *nome, qint64 quantita, bool aggiunta, qint64 chiesti, qint64 pezzi, qint64 dopo,
          bool oltreMassimo, bool oltreScorta)
{
    QTest::newRow(nome) << qint32(quantita) << aggiunta << chiesti << pezzi << dopo << oltreMassimo << oltreScorta;
}

} // namespace

class TestPezzi : public QObject {
    Q_OBJECT
private slots:
    void calcolo_data()
    {
        Colonne<qint32, bool, qint64, qint64, qint64, bool, bool>("quantita", "aggiunta", "chiesti", "pezzi",
                                                                  "dopo", "oltreMassimo", "oltreScorta");
        Riga("add", 20, true, 5, 5, 25, false, false);
        Riga("add up to the maximum", Massimo - 3, true, 3, 3, Massimo, false, false);
        Riga("add one past the maximum", Massimo - 3, true, 4, 4, Massimo + 1, true, false);
        Riga("add the largest to the largest", Massimo, true, Massimo, Massimo, 2 * Massimo, true, false);
        Riga("add to a negative stock", -4, true, 10, 10, 6, false, false);
        Riga("take", 20, false, 5, 5, 15, false, false);
        Riga("take the whole stock", 20, false, 20, 20, 0, false, false);
        Riga("take one more than the stock", 20, false, 21, 20, 0, false, true);
        Riga("take from an empty stock", 0, false, 1, 0, 0, false, true);
        Riga("take from a negative stock", -3, false, 1, 0, -3, false, true);
        Riga("take the largest", Massimo, false, Massimo, Massimo, 0, false, false);
    }
    void calcolo()
    {
        const auto [quantita, aggiunta, chiesti, pezzi, dopo, oltreMassimo, oltreScorta] =
            Valori<qint32, bool, qint64, qint64, qint64, bool, bool>("quantita", "aggiunta", "chiesti", "pezzi",
                                                                     "dopo", "oltreMassimo", "oltreScorta");
        const CalcoloPezzi c =
            CalcolaPezzi(quantita, aggiunta ? VersoPezzi::Aggiunta : VersoPezzi::Prelievo, chiesti);
        QCOMPARE(c.pezzi, pezzi);
        QCOMPARE(c.quantita, dopo);
        QCOMPARE(c.oltreMassimo, oltreMassimo);
        QCOMPARE(c.oltreScorta, oltreScorta);
    }

    // The quantity of NE555 (10 pieces, BC547B -25), the total and one line
    // with the note, on disk; after a failure at any file of the set,
    // neither, and memory as before.
    void salvataggio_data()
    {
        Colonne<bool, int>("aggiunta", "guasto");
        QTest::newRow("add") << true << -1;
        QTest::newRow("take") << false << -1;
        QTest::newRow("add, Info.ini fails") << true << 0;
        QTest::newRow("take, the table fails") << false << 1;
        QTest::newRow("add, the history fails") << true << 5;
    }
    void salvataggio()
    {
        const auto [aggiunta, guasto] = Valori<bool, int>("aggiunta", "guasto");
        ArchivioStorico c(QDateTime(QDate(2025, 3, 7), QTime(9, 5, 1)));
        const QMap<QString, QByteArray> prima = c.cartella.dati();
        const qint32 dopo = aggiunta ? 17 : 3;
        DialoghiFinti d;
        GuastoScrittura g;
        g.fileGuasto = guasto;
        g.aggiuntaGuasta = guasto == 5 ? 5 : -1;
        if (guasto >= 0)
            d.setNextAnswer(Risposta::Ok);
        const bool salvato = SalvaPezzi(c.stato, d, 1, aggiunta ? VersoPezzi::Aggiunta : VersoPezzi::Prelievo, dopo,
                                        QStringLiteral("  ordine 77; \"urgente\"  "), g);
        QCOMPARE(salvato, guasto < 0);
        VERIFICA_DIALOGHI(d);
        IndiceMovimenti indice;
        QVERIFY(indice.apri(c.stato.percorsi.FileMovimenti));
        if (!salvato) {
            QCOMPARE(d.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
            QCOMPARE(c.stato.componente(1).Quantita, 10);
            QCOMPARE(c.stato.TotalePezzi, -15);
            QCOMPARE(c.cartella.dati(), prima);
            QCOMPARE(indice.conteggio(), 0);
            return;
        }
        QCOMPARE(c.stato.componente(1).Quantita, dopo);
        QCOMPARE(c.stato.TotalePezzi, dopo - 25);
        Stato letto;
        QVERIFY(Riavvia(c.cartella.percorso(), &letto));
        QCOMPARE(letto.componente(1).Quantita, dopo);
        QCOMPARE(letto.componente(2).Quantita, -25);
        QCOMPARE(indice.conteggio(), 1);
        QCOMPARE(*indice.riga(0), RigaProva(1, aggiunta ? "Aggiunta pezzi" : "Prelievo pezzi", 12, "NE555", 10, dopo,
                                            QStringLiteral("ordine 77; \"urgente\"")));
    }
};

QTEST_MAIN(TestPezzi)
#include "tst_pezzi.moc"
