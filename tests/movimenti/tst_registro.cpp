// Writing the history with the tables, in the same crash-safe set: both or
// neither after a failure, an interruption or a kill.
#include "common/storicoprova.h"
#include "common/verifiche.h"

#include <QTest>

namespace {

const QDateTime kMomento(QDate(2025, 3, 7), QTime(9, 5, 1, 987));

QByteArray Riga(qint64 op, const char *movimento, qint32 id, std::optional<qint32> prima, std::optional<qint32> dopo)
{
    return TestoRigaMovimento(RigaProva(op, QString::fromUtf8(movimento), id, QStringLiteral("C"), prima, dopo));
}

} // namespace

class TestRegistro : public QObject {
    Q_OBJECT

private slots:
    // What the end of the file says: a new file, a line cut short, the
    // number of the last line that reads; and the lines the index counts in
    // it, only whole ones.
    void coda_data()
    {
        // contenuto "<assente>": no file; "<cartella>": a folder instead (ultima -1: unreadable)
        Colonne<QByteArray, bool, bool, qint64, qsizetype>("contenuto", "nuovo", "troncata", "ultima", "righe");
        const QByteArray testa = IntestazioneMovimenti();
        const QByteArray r1 = Riga(1, "Nuovo", 1, std::nullopt, 3), r2 = Riga(2, "Modifica", 1, 3, 4);
        const QByteArray r3 = Riga(2, "Modifica", 2, 3, 4), due = r1 + r2 + r3;
        const QByteArray mezza = Riga(3, "Nuovo", 5, std::nullopt, 1).left(30);
        QTest::newRow("no file") << QByteArray("<assente>") << true << false << qint64(0) << qsizetype(0);
        QTest::newRow("empty file") << QByteArray() << true << false << qint64(0) << qsizetype(0);
        QTest::newRow("header only") << testa << false << false << qint64(0) << qsizetype(0);
        QTest::newRow("two operations") << testa + due << false << false << qint64(2) << qsizetype(3);
        QTest::newRow("line cut short") << testa + due + mezza << false << true << qint64(2) << qsizetype(3);
        QTest::newRow("cut inside the line end") << testa + r1 + r2.chopped(1) << false << true << qint64(1)
                                                 << qsizetype(1);
        QTest::newRow("cut line ended by an append")
            << testa + due + mezza + "\r\n" << false << false << qint64(2) << qsizetype(3);
        QTest::newRow("no header") << due << false << false << qint64(2) << qsizetype(3);
        QTest::newRow("line ends LF") << testa + QByteArray(due).replace("\r\n", "\n") << false << false << qint64(2)
                                      << qsizetype(3);
        QTest::newRow("a long damaged line last")
            << testa + due + QByteArray(200000, 'x') + "\r\n" << false << false << qint64(2) << qsizetype(3);
        QTest::newRow("only a long line") << QByteArray(200000, 'x') << false << true << qint64(0) << qsizetype(0);
        QTest::newRow("header cut short") << testa.left(20) << false << true << qint64(0) << qsizetype(0);
        QTest::newRow("a folder: unreadable") << QByteArray("<cartella>") << false << false << qint64(-1)
                                              << qsizetype(0);
        // Cut just after a field's closing quote: only the field count
        // shows it is not whole.
        QTest::newRow("cut after a field, then a line")
            << testa + r1 + r2.left(r2.indexOf("\"Modifica\"") + 10) + "\r\n" + r3 << false << false << qint64(2)
            << qsizetype(2);
        QTest::newRow("a field too many") << testa + r1 + r2.chopped(2) + ";\"x\"\r\n" + r3 << false << false
                                          << qint64(2) << qsizetype(2);
        QTest::newRow("empty lines, a header again, junk")
            << testa + "\r\n" + r1 + r2 + testa + "junk;\"x\"\r\n\r\n" + r3 << false << false << qint64(2)
            << qsizetype(3);
    }
    void coda()
    {
        const auto [contenuto, nuovo, troncata, ultima, righe] =
            Valori<QByteArray, bool, bool, qint64, qsizetype>("contenuto", "nuovo", "troncata", "ultima", "righe");
        CartellaTest c;
        if (contenuto == "<cartella>")
            QVERIFY(QDir().mkpath(c.file("Movimenti.csv")));
        else if (contenuto != "<assente>")
            c.scrivi("Movimenti.csv", contenuto);
        QString errore;
        const auto coda = LeggiCodaMovimenti(c.file("Movimenti.csv"), &errore);
        QCOMPARE(errore, ultima < 0 ? "Impossibile leggere il file " + c.file("Movimenti.csv") : QString());
        QCOMPARE(bool(coda), ultima >= 0);
        IndiceMovimenti indice;
        QString erroreIndice;
        QCOMPARE(indice.apri(c.file("Movimenti.csv"), &erroreIndice), ultima >= 0);
        QCOMPARE(erroreIndice, errore);
        QCOMPARE(indice.conteggio(), righe);
        if (!coda)
            return;
        QCOMPARE(coda->nuovo, nuovo);
        QCOMPARE(coda->rigaTroncata, troncata);
        QCOMPARE(coda->ultimaOperazione, ultima);
    }

    // Operation after operation, byte for byte: the header once, numbers
    // from the last whole line, a line cut short left on its own line.
    void operazioniInSequenza()
    {
        ArchivioStorico a(kMomento, true);
        const QByteArray primo =
            IntestazioneMovimenti() + TestoRigaMovimento(RigaProva(1, "Nuovo", 12, "NE555", std::nullopt, 10));
        QCOMPARE(a.storico(), primo);
        // No lines: the tables alone, the history untouched.
        qint64 numero = 0;
        QVERIFY(SalvaOperazione(a.stato, a.dialoghi, {}, &numero));
        QCOMPARE(a.storico(), primo);

        // A power cut left half a line: it stays on a line of its own, and
        // the number follows the last whole line, not the half one.
        QFile f(a.cartella.file("Movimenti.csv"));
        QVERIFY(f.open(QIODevice::Append));
        f.write("\"2025-03-07 09:06:00\";\"3\";\"Nuo");
        f.close();
        const QByteArray conMezza = a.storico();
        QVERIFY(SalvaOperazione(a.stato, a.dialoghi, RigheEliminazione(a.stato.Componenti[0]), &numero));
        QCOMPARE(numero, 2);
        QVERIFY(a.storico().startsWith(conMezza + "\r\n\"2025-03-07 09:05:01\";\"2\";\"Eliminazione\";\"12\";"));
        QCOMPARE(a.righe(), (QStringList{"1;Nuovo;12;NE555;-;10", "2;Eliminazione;12;NE555;10;-"}));
        QVERIFY(a.dialoghi.boxes().isEmpty());
    }

    // A save that fails at any step: the tables and the history are both
    // old or both new once the next start has recovered.
    void salvataggioInterrotto_data()
    {
        Colonne<int, qsizetype, int, bool, bool>("passi", "byteAggiunti", "aggiuntaGuasta", "nuovo", "riavvio");
        // Five temporaries (1-5), the journal (6), the append (7), five
        // renames (8-12), the journal removed (13).
        for (int passi = 0; passi <= 12; ++passi)
            QTest::addRow("stopped after %d steps", passi) << passi << qsizetype(-1) << -1 << (passi >= 6) << true;
        for (qsizetype byte : {qsizetype(0), qsizetype(5), qsizetype(200)})
            QTest::addRow("killed after %lld bytes of the lines", qlonglong(byte)) << -1 << byte << -1 << true << true;
        QTest::newRow("the append fails") << -1 << qsizetype(-1) << 5 << false << true;
        // The same program saves again: the set left half done is completed first.
        QTest::newRow("stopped after the journal, saved again") << 6 << qsizetype(-1) << -1 << true << false;
        QTest::newRow("killed in the lines, saved again") << -1 << qsizetype(5) << -1 << true << false;
    }
    void salvataggioInterrotto()
    {
        const auto [passi, byteAggiunti, aggiuntaGuasta, nuovo, riavvio] =
            Valori<int, qsizetype, int, bool, bool>("passi", "byteAggiunti", "aggiuntaGuasta", "nuovo", "riavvio");
        ArchivioStorico a(kMomento, true);
        const Stato vecchio = a.stato;
        const QByteArray storicoVecchio = a.storico();
        a.stato.Componenti[0].Quantita = 99;
        a.stato.Componenti[1].Note = "nota";
        const QList<RigaMovimento> righe = RigheDaConfronto(vecchio, a.stato, "Modifica");
        const Stato atteso = a.stato;
        GuastoScrittura guasto;
        guasto.interrompiDopoPassi = passi;
        guasto.aggiuntaInterrotta = byteAggiunti;
        guasto.aggiuntaGuasta = aggiuntaGuasta;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaOperazione(a.stato, a.dialoghi, righe, guasto));
        QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        VERIFICA_DIALOGHI(a.dialoghi);

        Stato riletto = vecchio;
        const QByteArray linee =
            TestoAggiunta({false, false, 1}, righe, 2, QDateTime(QDate(2025, 3, 7), QTime(9, 5, 1)));
        if (riavvio) {
            QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
            QVERIFY(!Avanzi(a.cartella.percorso()));
            QVERIFY(StessiDati(riletto, nuovo ? atteso : vecchio));
            QCOMPARE(a.storico(), nuovo ? storicoVecchio + linee : storicoVecchio);
        }

        // The next operation is numbered after what is there.
        qint64 numero = 0;
        QVERIFY(SalvaOperazione(riletto, a.dialoghi, RigheEliminazione(riletto.Componenti[0]), &numero));
        QCOMPARE(numero, nuovo ? 3 : 2);
        QVERIFY(a.storico().startsWith(nuovo ? storicoVecchio + linee : storicoVecchio));
    }

    // A history that cannot be read or written stops the save, as does a
    // program open read-only: the tables stay as they were, the user is
    // told. (A file its owner made read-only is refused even to the
    // superuser.)
    void storicoInutilizzabile_data()
    {
        Colonne<QString, QString>("come", "messaggio");
        QTest::newRow("a folder") << "cartella" << "Errore nel salvataggio dei dati";
        QTest::newRow("read-only file") << "file" << "Errore nel salvataggio dei dati";
        QTest::newRow("read-only program") << "programma" << MessaggioSolaLettura;
    }
    void storicoInutilizzabile()
    {
        const auto [come, messaggio] = Valori<QString, QString>("come", "messaggio");
        ArchivioStorico a(kMomento, true);
        if (come == "cartella") {
            QVERIFY(QFile::remove(a.cartella.file("Movimenti.csv")));
            QVERIFY(QDir().mkpath(a.cartella.file("Movimenti.csv")));
        } else if (come == "file") {
            QVERIFY(QFile::setPermissions(a.cartella.file("Movimenti.csv"), QFileDevice::ReadOwner));
        }
        a.stato.SolaLettura = come == "programma";
        const auto prima = Istantanea(a.cartella.percorso());
        a.stato.Componenti[0].Quantita = 1;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaOperazione(a.stato, a.dialoghi, RigheEliminazione(a.stato.Componenti[0])));
        QCOMPARE(a.dialoghi.ultimoBox().testo, messaggio);
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_GUILESS_MAIN(TestRegistro)
#include "tst_registro.moc"
