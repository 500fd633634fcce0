// Adding and taking pieces in one step: what a request does to a quantity
// at the edges of the stock and of 32 bits, and the save that writes the
// table and the history line together or neither.
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/verifiche.h"
#include "movimenti/indice.h"
#include "movimenti/pezzi.h"
#include "store/ini.h"
#include "store/orologio.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QTest>

#include <limits>

namespace {

constexpr qint32 Massimo = std::numeric_limits<qint32>::max();

struct Cartella {
    CartellaTest cartella;
    Stato stato;
    Cartella()
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        stato.Versione = VersioneDati;
        for (qint32 i = 1; i <= 2; ++i) {
            Componente c;
            c.ID = 40 + i;
            c.Codice = QStringLiteral("R%1K").arg(i);
            c.Quantita = 10 * i;
            stato.Componenti.append(c);
        }
        stato.NumComponenti = 2;
        stato.ProssimoIDComponente = 43;
        DialoghiFinti d;
        if (!SalvaDatabase(stato, d))
            qFatal("salvataggio iniziale fallito");
    }
};

} // namespace

class TestPezzi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ImpostaAdesso(QDateTime(QDate(2026, 2, 3), QTime(8, 9, 10))); }
    void cleanupTestCase() { ImpostaAdesso({}); }

    void calcolo_data()
    {
        Colonne<qint32, bool, qint64, qint64, qint64, bool, bool>("quantita", "aggiunta", "chiesti", "pezzi",
                                                                  "dopo", "oltreMassimo", "oltreScorta");
        QTest::newRow("add") << 20 << true << qint64(5) << qint64(5) << qint64(25) << false << false;
        QTest::newRow("add up to the maximum") << Massimo - 3 << true << qint64(3) << qint64(3) << qint64(Massimo)
                                               << false << false;
        QTest::newRow("add one past the maximum") << Massimo - 3 << true << qint64(4) << qint64(4)
                                                  << qint64(Massimo) + 1 << true << false;
        QTest::newRow("add the largest to the largest") << Massimo << true << qint64(Massimo) << qint64(Massimo)
                                                        << 2 * qint64(Massimo) << true << false;
        QTest::newRow("add to a negative stock") << -4 << true << qint64(10) << qint64(10) << qint64(6) << false
                                                 << false;
        QTest::newRow("take") << 20 << false << qint64(5) << qint64(5) << qint64(15) << false << false;
        QTest::newRow("take the whole stock") << 20 << false << qint64(20) << qint64(20) << qint64(0) << false
                                              << false;
        QTest::newRow("take one more than the stock") << 20 << false << qint64(21) << qint64(20) << qint64(0)
                                                      << false << true;
        QTest::newRow("take from an empty stock") << 0 << false << qint64(1) << qint64(0) << qint64(0) << false
                                                  << true;
        QTest::newRow("take from a negative stock") << -3 << false << qint64(1) << qint64(0) << qint64(-3)
                                                    << false << true;
        QTest::newRow("take the largest") << Massimo << false << qint64(Massimo) << qint64(Massimo) << qint64(0)
                                          << false << false;
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

    // The quantity, the total and one line with the note, on disk; after a
    // failure at any file of the set, neither, and memory as before.
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
        Cartella c;
        const QMap<QString, QByteArray> prima = c.cartella.dati();
        const qint32 dopo = aggiunta ? 27 : 13;
        DialoghiFinti d;
        GuastoScrittura g;
        g.fileGuasto = guasto;
        g.aggiuntaGuasta = guasto == 5 ? 5 : -1;
        if (guasto >= 0)
            d.setNextAnswer(Risposta::Ok);
        const bool salvato = SalvaPezzi(c.stato, d, 2, aggiunta ? VersoPezzi::Aggiunta : VersoPezzi::Prelievo, dopo,
                                        QStringLiteral("  ordine 77; \"urgente\"  "), g);
        QCOMPARE(salvato, guasto < 0);
        VERIFICA_DIALOGHI(d);
        IndiceMovimenti indice;
        QVERIFY(indice.apri(c.stato.percorsi.FileMovimenti));
        if (!salvato) {
            QCOMPARE(d.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
            QCOMPARE(c.stato.componente(2).Quantita, 20);
            QCOMPARE(c.stato.TotalePezzi, 30);
            QCOMPARE(c.cartella.dati(), prima);
            QCOMPARE(indice.conteggio(), 0);
            return;
        }
        QCOMPARE(c.stato.componente(2).Quantita, dopo);
        QCOMPARE(c.stato.TotalePezzi, 10 + dopo);
        Stato letto;
        letto.percorsi = c.stato.percorsi;
        QVERIFY(LeggiInfo(letto) && CaricaDatabase(letto, d));
        QCOMPARE(letto.componente(2).Quantita, dopo);
        QCOMPARE(letto.componente(1).Quantita, 10);
        QCOMPARE(indice.conteggio(), 1);
        const RigaMovimento r = *indice.riga(0);
        QCOMPARE(r.operazione, 1);
        QCOMPARE(r.movimento, aggiunta ? QStringLiteral("Aggiunta pezzi") : QStringLiteral("Prelievo pezzi"));
        QCOMPARE(r.id, 42);
        QCOMPARE(r.codice, QStringLiteral("R2K"));
        QCOMPARE(r.prima, 20);
        QCOMPARE(r.dopo, dopo);
        QCOMPARE(r.nota, QStringLiteral("ordine 77; \"urgente\""));
        QCOMPARE(r.dettagli, QString());
        QCOMPARE(r.momento, QDateTime(QDate(2026, 2, 3), QTime(8, 9, 10)));
    }
};

QTEST_MAIN(TestPezzi)
#include "tst_pezzi.moc"
