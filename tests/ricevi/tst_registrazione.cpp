// Registering received bags: one save, one "Ricevimento" operation of the history; a plan with errors saves nothing.

#include "common/storicoprova.h"
#include "common/verifiche.h"
#include "ricevi/registrazione.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(VoceRicevimento)

namespace {

QString Riassunto(const Componente &c)
{
    return u"%1 %2 %3/%4 %5/%6 %7 %8"_s.arg(c.ID).arg(c.Codice).arg(c.IDProduttore).arg(c.NomeProduttore).arg(c.IDTipo)
        .arg(c.NomeTipo).arg(c.Quantita).arg(c.Descrizione);
}

} // namespace

class TestRegistrazione : public QObject {
    Q_OBJECT
private slots:
    void registra()
    {
        ArchivioStorico a(QDateTime(QDate(2026, 12, 7), QTime(9, 30), Qt::UTC));
        const QList<VoceRicevimento> voci{
            {"NE555", "", "", 5, 12},
            {"lm358n", "acme", "C7950", 3, 0},
            {"NE555", "", "", 2, 12},
            {"LM358N", "ACME ", "", 4, 0},      // the same new part: one component
            {"BAT54 \"S\"", "Nexperia", "", 1, 0}, // a manufacturer the tables lack
        };
        const PianoImportazione piano = PianificaRicevimento(a.stato, voci, u"DIODO"_s);
        QVERIFY(piano.errori.isEmpty());
        QVERIFY(RegistraRicevimento(a.stato, piano, a.dialoghi));

        Stato letto;
        QVERIFY(Riavvia(a.cartella.percorso(), &letto));
        QStringList componenti;
        for (qint32 pos = 1; pos <= letto.NumComponenti; ++pos)
            componenti << Riassunto(letto.componente(pos));
        QCOMPARE(componenti, (QStringList{"12 NE555 5/ACME 3/INTEGRATO 17 Timer di precisione",
                                          u"13 BC547B 6/Societ\u00e0 Pi\u00f9 4/TRANSISTOR, BJT -25 NPN, 45 V; \u00e8 cos\u00ec"_s,
                                          "14 LM358N 5/ACME 5/DIODO 7 C7950", "15 BAT54 'S' 7/NEXPERIA 5/DIODO 1 "}));
        QCOMPARE(letto.componente(3).DataInserimento, QDateTime(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC));

        QCOMPARE(a.righe(), (QStringList{"1;Ricevimento;12;NE555;10;17", "1;Ricevimento;14;LM358N;-;7",
                                         "1;Ricevimento;15;BAT54 'S';-;1"}));
    }

    void errori_data()
    {
        Colonne<VoceRicevimento, QString>("voce", "motivo");
        const auto riga = [](const char *nome, const VoceRicevimento &v, const QString &motivo) {
            QTest::newRow(nome) << v << motivo;
        };
        riga("no pieces", {"X", "", "", 0, 0}, u"numero di pezzi non valido"_s);
        riga("beyond 32 bits", {"X", "", "", 2147483648LL, 0}, u"numero di pezzi non valido"_s);
        riga("component gone", {"X", "", "", 1, 99}, u"il componente scelto non c'\u00e8 pi\u00f9"_s);
        riga("sum beyond the limit", {"NE555", "", "", 2147483647LL - 10 + 1, 12},
             u"la quantit\u00e0 di NE555 supererebbe il limite"_s);
        riga("no code", {"  ", "", "", 1, 0}, u"manca il codice"_s);
        riga("outside the code page", {"X", u"\u4e2d"_s, "", 1, 0},
             u"il carattere \"\u4e2d\" non pu\u00f2 essere salvato nei file dei dati"_s);
    }
    void errori()
    {
        const auto [voce, motivo] = Valori<VoceRicevimento, QString>("voce", "motivo");
        ArchivioStorico a(QDateTime(QDate(2026, 12, 7), QTime(9, 30), Qt::UTC));
        const auto prima = Istantanea(a.cartella.percorso());
        // A good bag first: nothing of it is registered either.
        const PianoImportazione piano =
            PianificaRicevimento(a.stato, {{"NE555", "", "", 2147483647LL - 10, 12}, voce}, u"IC"_s);
        QCOMPARE(piano.errori, (QList<ErroreRiga>{{2, motivo}}));
        QVERIFY(!RegistraRicevimento(a.stato, piano, a.dialoghi));
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.stato.componente(1).Quantita, 10);
    }
};

QTEST_GUILESS_MAIN(TestRegistrazione)
#include "tst_registrazione.moc"
