#include "components/operazioni.h"

#include "store/stato.h"

#include <QTest>

namespace {

Stato ConCodici(const QStringList &codici)
{
    Stato s;
    for (const QString &codice : codici) {
        Componente c;
        c.ID = qint32(s.Componenti.size()) + 10;
        c.Codice = codice;
        c.CodiceNumerico = 547;
        s.Componenti.append(c);
    }
    s.NumComponenti = qint32(s.Componenti.size());
    return s;
}

QStringList Codici(const Stato &s)
{
    QStringList codici;
    for (qint32 pos = 1; pos <= s.NumComponenti; ++pos)
        codici << s.componente(pos).Codice;
    return codici;
}

} // namespace

class TestOperazioni : public QObject {
    Q_OBJECT
private slots:
    void componenteDaPannello()
    {
        Stato s;
        s.Tipi = {{7, "DIODO"}, {3, "TRANSISTOR"}};
        s.Produttori = {{9, "PHILIPS"}};
        s.Packages = {{4, "TO92", "", ""}, {5, "SOT23", "", ""}};
        s.NumTipi = s.NumPackages = 2;
        s.NumProduttori = 1;
        ValoriPannello v{.codice = " bc\"547b ", .quantita = "2.5", .tipo = "TRANSISTOR", .produttore = "PHILIPS",
                         .package = "SOT23", .pins = "3 pin", .descrizione = "NPN \"general\", 45V\r\n100mA",
                         .note = "a,b", .datasheet = "BC547 \"rev\",2.pdf", .immagine = "bc\"547.jpg",
                         .extra = {"x,1", "\"2\"", "3\r\n", "4", "", "6\n"}};
        const QDateTime data(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
        // IDs (not positions) looked up; the code upper-cased, not trimmed; the
        // quantity rounded half to even; quotes, commas and line breaks cleaned.
        const Componente atteso{.ID = 42, .IDProduttore = 9, .IDTipo = 3, .IDPackage = 5, .Pins = 3,
                                .NomeTipo = "TRANSISTOR", .Codice = " BC'547B ", .CodiceNumerico = 547, .Quantita = 2,
                                .NomeProduttore = "PHILIPS", .Descrizione = "NPN 'general' -  45V 100mA",
                                .Datasheet = "BC547 'rev',2.pdf", .Immagine = "bc'547.jpg", .Note = "a - b",
                                .DataInserimento = data, .Extra1 = "x - 1", .Extra2 = "'2'", .Extra3 = "3 ",
                                .Extra4 = "4", .Extra5 = "", .Extra6 = "6\n"};
        QCOMPARE(ComponenteDaPannello(s, v, 42, data), atteso);

        // Names are exact and case-sensitive: unknown or empty ones give 0.
        v.tipo = "transistor";
        v.produttore = "\"P\"";
        v.package.clear();
        const Componente c = ComponenteDaPannello(s, v, 1, QDateTime());
        QCOMPARE(QList<qint32>({c.IDTipo, c.IDProduttore, c.IDPackage}), QList<qint32>({0, 0, 0}));
        QCOMPARE(c.NomeTipo, "transistor");
        QCOMPARE(c.NomeProduttore, "'P'");
    }

    void testoConflitto()
    {
        Stato s = ConCodici({"BC547C", "NE555", "BC547A", "BC547D"});
        s.Componenti[1].CodiceNumerico = 555;
        s.NumComponenti = 3; // storage past the count is not a component
        QCOMPARE(TestoConflitto(s, 547, "BC547B"),
                 "Ci sono altri componenti con lo stesso codice numerico [547] of BC547B:\r\n"
                 "> BC547C\r\n> BC547A\r\n\r\nDevo continuare comunque ?");
        QCOMPARE(TestoConflitto(s, 317, "LM317T"), QString());
    }

    void eliminaPosizione()
    {
        Stato s = ConCodici({"A", "B", "C", "D", "E"});
        EliminaPosizione(s, 2);
        QCOMPARE(Codici(s), QStringList({"A", "C", "D", "E"}));
        QCOMPARE(s.componente(2).ID, 12); // records keep their IDs
        EliminaPosizione(s, 4);
        for (qint32 fuori : {0, 4, -1})
            EliminaPosizione(s, fuori);
        QCOMPARE(Codici(s), QStringList({"A", "C", "D"}));

        Stato unico = ConCodici({"SOLO"});
        EliminaPosizione(unico, 1);
        QCOMPARE(unico.NumComponenti, 0);
    }

    void cercaCodici()
    {
        Stato s = ConCodici({"74HC00", "74LS00", "LM317T"});
        QCOMPARE(CercaCodici(s, "###t"), QList<qint32>{3});
        QCOMPARE(CercaCodici(s, "[!7]m"), QList<qint32>{3});
        QCOMPARE(CercaCodici(s, "xyz"), QList<qint32>{});
        s.NumComponenti = 1;
        QCOMPARE(CercaCodici(s, QString()), QList<qint32>{1});
        s.NumComponenti = 0;
        QCOMPARE(CercaCodici(s, QString()), QList<qint32>{});
    }
};

QTEST_GUILESS_MAIN(TestOperazioni)
#include "tst_operazioni.moc"
