#include "common/cartellatest.h"
#include "store/aiutiarchivio.h"
#include "store/ini.h"
#include "store/stato.h"

#include <QTest>

namespace {

// A state on a fresh program folder whose Info.ini holds the given bytes
// (no Info.ini at all for a null array).
struct ArchivioIni {
    CartellaTest cartella;
    Stato stato;
    explicit ArchivioIni(const QByteArray &ini)
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        if (!ini.isNull())
            cartella.scrivi("Info.ini", ini);
    }
    QString file() const { return stato.percorsi.FileIni; }
};

} // namespace

class TestIni : public QObject {
    Q_OBJECT
private slots:
    void leggiChiave()
    {
        ArchivioIni a("[Uno]\r\nA=1\r\nB = due  \r\nVuota=\r\nUguale=x=y\r\n[Due]\r\nA=altro\r\nA=secondo\r\n"
                      "  [ Tre ]  \nK =perch\xE9\nLunga=" + QByteArray(3000, 'x') + "\n");
        const auto leggi = [&](const char *s, const char *k) { return LeggiChiaveIni(s, k, "predefinito", a.file()); };
        QCOMPARE(leggi("uNO", "b"), "due");          // names ignore case, blanks trimmed
        QCOMPARE(leggi("Uno", "Vuota"), "");         // an empty value is not the default
        QCOMPARE(leggi("Uno", "Uguale"), "x=y");
        QCOMPARE(leggi("Due", "A"), "altro");        // the first in its own section
        QCOMPARE(leggi("Due", "B"), "predefinito");  // missing key
        QCOMPARE(leggi("Quattro", "A"), "predefinito");
        QCOMPARE(leggi("Tre", "K"), "perché");       // LF line ends, blanks around the section
        QCOMPARE(leggi("Tre", "Lunga"), QString(2047, QLatin1Char('x')));
        QCOMPARE(LeggiChiaveIni("Uno", "A", "predefinito", a.file() + ".manca"), "predefinito");
    }

    void scriviChiave_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<QString>("sezione");
        QTest::addColumn<QString>("chiave");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QByteArray>("dopo");
        const QByteArray base = "; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\n\r\n[Due]\r\nB=2\r\n";
        QTest::newRow("replaced in place, rest kept")
            << base << "uno" << "altro" << "nuovo" << QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro=nuovo\r\n\r\n[Due]\r\nB=2\r\n");
        QTest::newRow("new key after the last of its section")
            << base << "Uno" << "C" << "3" << QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\nC=3\r\n\r\n[Due]\r\nB=2\r\n");
        QTest::newRow("new section at the end") << base << "Tre" << "D" << " spazi "
            << QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\n\r\n[Due]\r\nB=2\r\n[Tre]\r\nD= spazi \r\n");
        QTest::newRow("empty value") << QByteArray("[S]\r\nK=v\r\n") << "S" << "K" << "" << QByteArray("[S]\r\nK=\r\n");
        QTest::newRow("LF file becomes CR LF") << QByteArray("[S]\nK=v") << "S" << "K" << "w" << QByteArray("[S]\r\nK=w\r\n");
        QTest::newRow("new file, cp1252 and ?") << QByteArray() << "S" << "K" << "città € Ω\U0001F600"
                                                << QByteArray("[S]\r\nK=citt\xE0 \x80 ??\r\n");
        QTest::newRow("line breaks in a value") << QByteArray("") << "S" << "K" << "a\r\nb" << QByteArray("[S]\r\nK=a  b\r\n");
    }
    void scriviChiave()
    {
        QFETCH(QByteArray, prima);
        QFETCH(QString, sezione);
        QFETCH(QString, chiave);
        QFETCH(QString, valore);
        QFETCH(QByteArray, dopo);
        ArchivioIni a(prima);
        ScriviChiaveIni(sezione, chiave, valore, a.file());
        QCOMPARE(a.cartella.leggi("Info.ini"), dopo);
    }

    void booleani()
    {
        const auto tema = [](const QByteArray &riga) {
            ArchivioIni a("[Options]\r\n" + riga + "\r\n");
            return LeggiInfo(a.stato) && a.stato.TemaChiaro;
        };
        QVERIFY(tema("Tema Chiaro=True"));
        QVERIFY(tema("Tema Chiaro=Vero"));
        QVERIFY(!tema("Tema Chiaro=true"));
        QVERIFY(!tema("Tema Chiaro=VERO"));
        QVERIFY(!tema("Tema Chiaro="));
        QVERIFY(tema("Altro=x")); // a missing key reads as its default
    }

    void contatori_data()
    {
        QTest::addColumn<QByteArray>("valore");
        QTest::addColumn<int>("atteso"); // -1: not a number
        QTest::newRow("negative") << QByteArray("-3") << -3;
        QTest::newRow("blanks") << QByteArray("  7  ") << 7;
        QTest::newRow("fraction rounded") << QByteArray("2.6") << 3;
        QTest::newRow("half to even") << QByteArray("2.5") << 2;
        QTest::newRow("too large") << QByteArray("2147483648") << -1;
        QTest::newRow("letters") << QByteArray("dieci") << -1;
        QTest::newRow("number then letters") << QByteArray("10x") << -1;
        QTest::newRow("empty") << QByteArray("") << -1;
    }
    void contatori()
    {
        QFETCH(QByteArray, valore);
        QFETCH(int, atteso);
        ArchivioIni a("[Counter]\r\nNumero Tipi=" + valore + "\r\n");
        QString errore;
        QCOMPARE(LeggiInfo(a.stato, &errore), atteso != -1);
        if (atteso != -1)
            QCOMPARE(a.stato.NumTipi, atteso);
        else
            QCOMPARE(errore, "Tipo non corrispondente: il valore di \"Numero Tipi\" in Info.ini non è un numero valido");
    }

    void andataERitorno()
    {
        ArchivioIni a(QByteArray{});
        RiempiStatoDiEsempio(a.stato);
        a.stato.ImmaginiReali = true;
        a.stato.SeparatoreCSV = ";";
        a.stato.Etichette = {QString(), "Tensione", "Corrente", "", "Ω", "à", "  x  "};
        a.stato.Versione = "qualsiasi"; // the program's own version is written instead
        ScriviInfo(a.stato);
        Stato letto;
        letto.percorsi = a.stato.percorsi;
        QVERIFY(LeggiInfo(letto));
        QCOMPARE(letto.NumComponenti, 2);
        QCOMPARE(letto.ProssimoIDPackage, 8);
        QCOMPARE(letto.Versione, "10.2.0");
        QVERIFY(letto.ImmaginiReali);
        QVERIFY(!letto.TemaChiaro);
        QCOMPARE(letto.SeparatoreCSV, ";");
        QCOMPARE(letto.Etichette, (std::array<QString, 7>{QString(), "Tensione", "Corrente", "", "?", "à", "x"}));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
