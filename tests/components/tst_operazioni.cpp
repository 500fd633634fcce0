#include "components/operazioni.h"

#include "store/stato.h"

#include <QTest>

namespace {

Componente Comp(qint32 id, const QString &codice, qint32 numerico, qint32 quantita = 1)
{
    Componente c;
    c.ID = id;
    c.Codice = codice;
    c.CodiceNumerico = numerico;
    c.Quantita = quantita;
    return c;
}

Stato ConCodici(const QStringList &codici)
{
    Stato s;
    qint32 id = 10;
    for (const QString &codice : codici)
        s.Componenti.append(Comp(id++, codice, 0));
    s.NumComponenti = static_cast<qint32>(s.Componenti.size());
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
        ValoriPannello v;
        v.codice = QStringLiteral(" bc547b ");
        v.quantita = QStringLiteral("2.5");
        v.tipo = QStringLiteral("TRANSISTOR");
        v.produttore = QStringLiteral("PHILIPS");
        v.package = QStringLiteral("TO92");
        v.pins = QStringLiteral("3 pin");
        v.descrizione = QStringLiteral("NPN \"general\", 45V\r\n100mA");
        v.note = QStringLiteral("a,b");
        v.datasheet = QStringLiteral("BC547 \"rev\",2.pdf");
        v.immagine = QStringLiteral("bc547.jpg");
        v.extra = {QStringLiteral("x,1"), QStringLiteral("\"2\""), QStringLiteral("3\r\n"),
                   QStringLiteral("4"), QString(), QStringLiteral("6\n")};
        const QDateTime data(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);

        const Componente c = ComponenteDaPannello(s, v, 42, data);

        Componente atteso;
        atteso.ID = 42;
        atteso.Pins = 3;
        atteso.NomeTipo = QStringLiteral("TRANSISTOR");
        atteso.Codice = QStringLiteral(" BC547B "); // upper-cased, not trimmed
        atteso.CodiceNumerico = 547;
        atteso.Quantita = 2; // half to even
        atteso.NomeProduttore = QStringLiteral("PHILIPS");
        atteso.Descrizione = QStringLiteral("NPN 'general' -  45V 100mA");
        atteso.Note = QStringLiteral("a - b");
        atteso.Datasheet = QStringLiteral("BC547 'rev',2.pdf"); // comma kept, quotes not
        atteso.Immagine = QStringLiteral("bc547.jpg");
        atteso.DataInserimento = data;
        atteso.Extra1 = QStringLiteral("x - 1");
        atteso.Extra2 = QStringLiteral("'2'");
        atteso.Extra3 = QStringLiteral("3 ");
        atteso.Extra4 = QStringLiteral("4");
        atteso.Extra6 = QStringLiteral("6\n");
        // No type, manufacturer or package in the tables: IDs 0.
        QCOMPARE(c, atteso);
    }

    void idDaiNomi()
    {
        // IDs (not positions) of the entries named; exact, case-sensitive
        // names; 0 where the name is unknown or empty.
        Stato s;
        s.Tipi = {{7, QStringLiteral("DIODO")}, {3, QStringLiteral("TRANSISTOR")}};
        s.NumTipi = 2;
        s.Produttori = {{9, QStringLiteral("PHILIPS")}};
        s.NumProduttori = 1;
        s.Packages = {{4, QStringLiteral("TO92"), QString(), QString()},
                      {5, QStringLiteral("SOT23"), QString(), QString()}};
        s.NumPackages = 2;
        ValoriPannello v;
        v.codice = QStringLiteral("BC547");
        v.tipo = QStringLiteral("TRANSISTOR");
        v.produttore = QStringLiteral("PHILIPS");
        v.package = QStringLiteral("SOT23");
        Componente c = ComponenteDaPannello(s, v, 1, QDateTime());
        QCOMPARE(c.IDTipo, 3);
        QCOMPARE(c.IDProduttore, 9);
        QCOMPARE(c.IDPackage, 5);

        v.tipo = QStringLiteral("transistor");
        v.produttore.clear();
        v.package = QStringLiteral("DIP8");
        c = ComponenteDaPannello(s, v, 1, QDateTime());
        QCOMPARE(c.IDTipo, 0);
        QCOMPARE(c.IDProduttore, 0);
        QCOMPARE(c.IDPackage, 0);
        QCOMPARE(c.NomeTipo, QStringLiteral("transistor")); // the name as typed
    }

    void virgoletteNeiNomi()
    {
        // A double quote would split the field in the table file.
        Stato s;
        ValoriPannello v;
        v.codice = QStringLiteral("a\"b");
        v.tipo = QStringLiteral("T\"1");
        v.produttore = QStringLiteral("\"P\"");
        v.immagine = QStringLiteral("x\".jpg");
        const Componente c = ComponenteDaPannello(s, v, 1, QDateTime());
        QCOMPARE(c.Codice, QStringLiteral("A'B"));
        QCOMPARE(c.NomeTipo, QStringLiteral("T'1"));
        QCOMPARE(c.NomeProduttore, QStringLiteral("'P'"));
        QCOMPARE(c.Immagine, QStringLiteral("x'.jpg"));
    }

    void testoConflitto()
    {
        Stato s;
        s.Componenti = {Comp(1, QStringLiteral("BC547C"), 547), Comp(2, QStringLiteral("NE555"), 555),
                        Comp(3, QStringLiteral("BC547A"), 547)};
        s.NumComponenti = 3;
        QCOMPARE(TestoConflitto(s, 547, QStringLiteral("BC547B")),
                 QStringLiteral("Ci sono altri componenti con lo stesso codice numerico [547] of BC547B:\r\n"
                                "> BC547C\r\n"
                                "> BC547A\r\n"
                                "\r\n"
                                "Devo continuare comunque ?"));
        QCOMPARE(TestoConflitto(s, 317, QStringLiteral("LM317T")), QString());

        // Only positions 1 to the count are looked at.
        s.NumComponenti = 2;
        QCOMPARE(TestoConflitto(s, 547, QStringLiteral("BC547B")),
                 QStringLiteral("Ci sono altri componenti con lo stesso codice numerico [547] of BC547B:\r\n"
                                "> BC547C\r\n\r\nDevo continuare comunque ?"));
        s.NumComponenti = 0;
        QCOMPARE(TestoConflitto(s, 547, QStringLiteral("BC547B")), QString());
    }

    void eliminaPosizione()
    {
        Stato s = ConCodici({"A", "B", "C", "D", "E"});
        EliminaPosizione(s, 2);
        QCOMPARE(s.NumComponenti, 4);
        QCOMPARE(Codici(s), QStringList({"A", "C", "D", "E"}));
        QCOMPARE(s.componente(2).ID, 12); // C kept its ID
        QCOMPARE(s.componente(4).ID, 14);

        Stato unico = ConCodici({"SOLO"});
        EliminaPosizione(unico, 1);
        QCOMPARE(unico.NumComponenti, 0);

        // The last one, and positions that name no component.
        Stato t = ConCodici({"A", "B", "C"});
        EliminaPosizione(t, 3);
        QCOMPARE(Codici(t), QStringList({"A", "B"}));
        for (qint32 fuori : {0, 3, -1}) {
            EliminaPosizione(t, fuori);
            QCOMPARE(Codici(t), QStringList({"A", "B"}));
        }
    }

    void cercaCodici_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QList<qint32>>("attese");
        QTest::newRow("hc, any case") << "hc" << QList<qint32>{1};
        QTest::newRow("74") << "74" << QList<qint32>{1, 2};
        QTest::newRow("7?L") << "7?L" << QList<qint32>{2};
        QTest::newRow("empty lists all") << "" << QList<qint32>{1, 2, 3};
        QTest::newRow("digits wildcard") << "###t" << QList<qint32>{3};
        QTest::newRow("negated list wildcard") << "[!7]m" << QList<qint32>{3};
        QTest::newRow("no match") << "xyz" << QList<qint32>{};
        QTest::newRow("unclosed bracket") << "[74" << QList<qint32>{};
    }
    void cercaCodici()
    {
        QFETCH(QString, testo);
        QFETCH(QList<qint32>, attese);
        const Stato s = ConCodici({"74HC00", "74LS00", "LM317T"});
        QCOMPARE(CercaCodici(s, testo), attese);
    }

    void cercaCodiciSoloFinoAlConteggio()
    {
        Stato s = ConCodici({"74HC00", "74LS00", "LM317T"});
        s.NumComponenti = 1; // storage past the count is not a component
        QCOMPARE(CercaCodici(s, QString()), QList<qint32>{1});
        s.NumComponenti = 0;
        QVERIFY(CercaCodici(s, QString()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOperazioni)
#include "tst_operazioni.moc"
