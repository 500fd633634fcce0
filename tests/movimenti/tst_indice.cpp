// Reading the history through its index.
#include "common/storicoprova.h"
#include "common/verifiche.h"

#include <QTest>

namespace {

// The lines of the example history, oldest first.
QList<RigaMovimento> Esempio()
{
    return {
        RigaProva(1, "Nuovo", 12, "NE555", std::nullopt, 10),
        RigaProva(2, "Importazione a\"b.csv", 13, "BC547B", std::nullopt, 100),
        RigaProva(2, "Importazione a\"b.csv", 14, "ÈCODICE", std::nullopt, 5, "nota ne555"),
        RigaProva(2, "Importazione a\"b.csv", 12, "NE555", 10, 15),
        RigaProva(3, "Distinta scheda.csv × 3 schede", 12, "NE555", 15, 9),
        RigaProva(4, "Modifica", 13, "BC547C", 100, 100),
        RigaProva(5, "Annullamento dell'operazione 3", 12, "NE555", 9, 15),
    };
}

// The index, open on a history with these bytes.
struct Aperto : IndiceMovimenti {
    CartellaTest c;
    explicit Aperto(const QByteArray &contenuto = IntestazioneMovimenti() + TestoRighe(Esempio()))
    {
        c.scrivi("Movimenti.csv", contenuto);
        QVERIFY(apri(c.file("Movimenti.csv")));
    }
};

} // namespace

class TestIndice : public QObject {
    Q_OBJECT

private slots:
    // Newest first, narrowed by component ID and by text found in the code
    // or the Movimento, case ignored.
    void filtri_data()
    {
        Colonne<qint32, QString, QList<qint32>>("id", "testo", "righe");
        QTest::newRow("all") << 0 << QString() << QList<qint32>{6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("one component") << 12 << QString() << QList<qint32>{6, 4, 3, 0};
        QTest::newRow("no such component") << 99 << QString() << QList<qint32>{};
        QTest::newRow("code, lower case") << 0 << "ne5" << QList<qint32>{6, 4, 3, 0};
        QTest::newRow("code, part") << 0 << "547" << QList<qint32>{5, 1};
        QTest::newRow("Movimento") << 0 << "IMPORTAZIONE" << QList<qint32>{3, 2, 1};
        QTest::newRow("Movimento with a quote") << 0 << "a\"b" << QList<qint32>{3, 2, 1};
        QTest::newRow("Movimento, accented sign") << 0 << "× 3" << QList<qint32>{4};
        QTest::newRow("accented capital, lower case") << 0 << "ècod" << QList<qint32>{2};
        QTest::newRow("undo of") << 0 << "dell'operazione 3" << QList<qint32>{6};
        QTest::newRow("not the manufacturer") << 0 << "ACME" << QList<qint32>{};
        QTest::newRow("not the note") << 0 << "nota" << QList<qint32>{};
        QTest::newRow("component and text") << 13 << "bc547c" << QList<qint32>{5};
        QTest::newRow("component and other text") << 12 << "modifica" << QList<qint32>{};
    }
    void filtri()
    {
        const auto [id, testo, righe] = Valori<qint32, QString, QList<qint32>>("id", "testo", "righe");
        Aperto indice;
        const std::vector<qint32> trovate = indice.filtra(id, testo);
        QCOMPARE(QList<qint32>(trovate.begin(), trovate.end()), righe);
    }

    // The lines of an operation; the lines found exported newest first, each
    // ended by CR LF whatever the file has.
    void operazioniEsportate()
    {
        const QList<RigaMovimento> e = Esempio();
        Aperto indice(IntestazioneMovimenti() + TestoRighe(e).replace("\r\n", "\n"));
        using Estremi = std::pair<qsizetype, qsizetype>;
        QCOMPARE(indice.estremiOperazione(0), Estremi(0, 0));
        for (qsizetype i : {1, 2, 3})
            QCOMPARE(indice.estremiOperazione(i), Estremi(1, 3));
        QCOMPARE(indice.estremiOperazione(6), Estremi(6, 6));
        QCOMPARE(indice.righeOperazione(2), e.mid(1, 3));
        QCOMPARE(indice.esporta(indice.filtra(12, QString())),
                 IntestazioneMovimenti() + TestoRighe({e[6], e[4], e[3], e[0]}));
        QCOMPARE(indice.esporta({}), IntestazioneMovimenti());
    }

    // Which operation stands as the undo of another: an undo undone in its
    // turn no longer counts, and the operation may be undone again.
    void annullate_data()
    {
        // per operation 1, 2, ...: what it undoes (0: nothing), and the operation that undoes it
        Colonne<QList<qint64>, QList<qint64>>("annullate", "attese");
        QTest::newRow("nothing undone") << QList<qint64>{0, 0, 0} << QList<qint64>{0, 0, 0};
        QTest::newRow("one undo") << QList<qint64>{0, 1} << QList<qint64>{2, 0};
        QTest::newRow("undo undone") << QList<qint64>{0, 1, 2} << QList<qint64>{0, 3, 0};
        QTest::newRow("undone again") << QList<qint64>{0, 1, 2, 1} << QList<qint64>{4, 3, 0, 0};
        QTest::newRow("three deep") << QList<qint64>{0, 1, 2, 3} << QList<qint64>{2, 0, 4, 0};
        QTest::newRow("an undo of a later operation") << QList<qint64>{0, 3, 0} << QList<qint64>{0, 0, 0};
    }
    void annullate()
    {
        const auto [annullate, attese] = Valori<QList<qint64>, QList<qint64>>("annullate", "attese");
        QList<RigaMovimento> righe;
        for (qint64 op = 1; op <= annullate.size(); ++op) {
            const qint64 a = annullate[op - 1];
            const QString movimento = a ? MovimentoAnnullamento(a) : QStringLiteral("Modifica");
            // Two lines per operation.
            righe << RigaProva(op, movimento, 1, "A", 1, 2) << RigaProva(op, movimento, 2, "B", 1, 2);
        }
        Aperto indice(IntestazioneMovimenti() + TestoRighe(righe));
        for (qint64 op = 1; op <= attese.size(); ++op)
            QCOMPARE(indice.annullataDa(op), attese[op - 1]);
    }

    // Lines appended while the index is open come in with aggiorna; a half
    // line waits for its end.
    void aggiornamento()
    {
        const QList<RigaMovimento> e = Esempio();
        Aperto indice(IntestazioneMovimenti() + TestoRighe(e.mid(0, 2)));
        const CartellaTest &c = indice.c;
        QCOMPARE(indice.conteggio(), 2);
        QFile f(c.file("Movimenti.csv"));
        QVERIFY(f.open(QIODevice::Append));
        const QByteArray terza = TestoRigaMovimento(e[2]);
        f.write(TestoRighe(e.mid(1, 1)) + terza.left(30));
        f.flush();
        QVERIFY(indice.aggiorna());
        QCOMPARE(indice.conteggio(), 3);
        f.write(terza.mid(30) + TestoRighe(e.mid(3)));
        f.close();
        QVERIFY(indice.aggiorna());
        QCOMPARE(indice.conteggio(), e.size() + 1);
        QCOMPARE(indice.riga(3), e[2]);
        QCOMPARE(indice.riga(e.size()), e.last());
        // Read again from the start when the file was replaced by a shorter one.
        c.scrivi("Movimenti.csv", TestoRighe(e.mid(0, 1)));
        QVERIFY(indice.aggiorna());
        QCOMPARE(indice.conteggio(), 1);
    }
};

QTEST_GUILESS_MAIN(TestIndice)
#include "tst_indice.moc"
