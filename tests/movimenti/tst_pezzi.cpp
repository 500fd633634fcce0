// Adding and taking pieces in one step: the quantity at the edges of the
// stock and of 32 bits; a failed save undone (the save itself: tst_frmpezzi).
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

    // The total is counted again (the window counts it anyway when it closes).
    void salvataggioFallito()
    {
        ArchivioStorico a(QDateTime(QDate(2025, 3, 7), QTime(9, 5, 1)));
        GuastoScrittura g;
        g.fileGuasto = 1;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaPezzi(a.stato, a.dialoghi, 1, VersoPezzi::Aggiunta, 17, QString(), g));
        QCOMPARE(a.stato.componente(1).Quantita, 10);
        QCOMPARE(a.stato.TotalePezzi, -15);
    }
};

QTEST_GUILESS_MAIN(TestPezzi)
#include "tst_pezzi.moc"
