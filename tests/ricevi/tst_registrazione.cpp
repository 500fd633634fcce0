// Registering received bags: pieces added to the chosen components, new
// components made from the bags, in one save with one "Ricevimento"
// operation of the history; a plan with errors registers nothing.
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "movimenti/indice.h"
#include "ricevi/registrazione.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"
#include "store/tabelle.h"

#include <QTest>

namespace {

struct Archivio {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    Archivio()
    {
        ImpostaOggi(QDate(2026, 12, 7));
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        RiempiStatoDiEsempio(stato); // NE555 (ID 12) x10 of ACME, BC547B (ID 13) x-25 of "Società Più"
        QVERIFY(SalvaDatabase(stato, dialoghi));
    }
    ~Archivio() { ImpostaOggi(QDate()); }
};

QString Riassunto(const Componente &c)
{
    return QStringLiteral("%1 %2 %3/%4 %5/%6 %7 %8")
        .arg(c.ID)
        .arg(c.Codice)
        .arg(c.IDProduttore)
        .arg(c.NomeProduttore)
        .arg(c.IDTipo)
        .arg(c.NomeTipo)
        .arg(c.Quantita)
        .arg(c.Descrizione);
}

} // namespace

class TestRegistrazione : public QObject {
    Q_OBJECT
private slots:
    void registra()
    {
        Archivio a;
        const QList<VoceRicevimento> voci{
            {"NE555", "", "", 5, 12},
            {"lm358n", "acme", "C7950", 3, 0},
            {"NE555", "", "", 2, 12},
            {"LM358N", "ACME ", "", 4, 0},      // the same new part: one component
            {"BAT54 \"S\"", "Nexperia", "", 1, 0}, // a manufacturer the tables lack
        };
        const PianoImportazione piano = PianificaRicevimento(a.stato, voci, QStringLiteral("DIODO"));
        QVERIFY(piano.errori.isEmpty());
        QVERIFY(RegistraRicevimento(a.stato, piano, a.dialoghi));

        Stato letto;
        DialoghiFinti d;
        QVERIFY(Main(letto, d, a.cartella.percorso()));
        QStringList componenti;
        for (qint32 pos = 1; pos <= letto.NumComponenti; ++pos)
            componenti << Riassunto(letto.componente(pos));
        QCOMPARE(componenti, (QStringList{"12 NE555 5/ACME 3/INTEGRATO 17 Timer di precisione",
                                          QStringLiteral("13 BC547B 6/Societ\u00e0 Pi\u00f9 4/TRANSISTOR, BJT -25 NPN, 45 V; \u00e8 cos\u00ec"),
                                          "14 LM358N 5/ACME 5/DIODO 7 C7950", "15 BAT54 'S' 7/NEXPERIA 5/DIODO 1 "}));
        QCOMPARE(letto.componente(3).DataInserimento, QDateTime(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC));

        IndiceMovimenti storico;
        QVERIFY(storico.apri(letto.percorsi.FileMovimenti));
        QCOMPARE(storico.conteggio(), 3);
        for (qsizetype i = 0; i < 3; ++i) {
            QCOMPARE(storico.riga(i)->movimento, QStringLiteral("Ricevimento"));
            QCOMPARE(storico.operazione(i), 1);
        }
        QCOMPARE(storico.riga(0)->differenza(), 7);
    }

    void errori_data()
    {
        QTest::addColumn<VoceRicevimento>("voce");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("no pieces") << VoceRicevimento{"X", "", "", 0, 0} << "numero di pezzi non valido";
        QTest::newRow("beyond 32 bits") << VoceRicevimento{"X", "", "", 2147483648LL, 0} << "numero di pezzi non valido";
        QTest::newRow("component gone") << VoceRicevimento{"X", "", "", 1, 99}
                                        << QStringLiteral("il componente scelto non c'\u00e8 pi\u00f9");
        QTest::newRow("sum beyond the limit") << VoceRicevimento{"NE555", "", "", 2147483647LL - 10 + 1, 12}
                                              << QStringLiteral("la quantit\u00e0 di NE555 supererebbe il limite");
        QTest::newRow("no code") << VoceRicevimento{"  ", "", "", 1, 0} << "manca il codice";
        QTest::newRow("outside the code page")
            << VoceRicevimento{"X", QStringLiteral("\u4e2d"), "", 1, 0}
            << QStringLiteral("il carattere \"\u4e2d\" non pu\u00f2 essere salvato nei file dei dati");
    }
    void errori()
    {
        QFETCH(VoceRicevimento, voce);
        QFETCH(QString, motivo);
        Archivio a;
        const auto prima = Istantanea(a.cartella.percorso());
        // A good bag first: nothing of it is registered either.
        const PianoImportazione piano =
            PianificaRicevimento(a.stato, {{"NE555", "", "", 2147483647LL - 10, 12}, voce}, QStringLiteral("IC"));
        QCOMPARE(piano.errori, (QList<ErroreRiga>{{2, motivo}}));
        QVERIFY(!RegistraRicevimento(a.stato, piano, a.dialoghi));
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.stato.componente(1).Quantita, 10);
    }
};

Q_DECLARE_METATYPE(VoceRicevimento)
QTEST_GUILESS_MAIN(TestRegistrazione)
#include "tst_registrazione.moc"
