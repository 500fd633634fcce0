#include "common/cartellatest.h"
#include "store/aiutiarchivio.h"
#include "store/cp1252.h"
#include "store/ini.h"
#include "store/stato.h"

#include <QTest>

namespace {

struct ArchivioIni {
    CartellaTest cartella;
    Stato stato;
    explicit ArchivioIni(const QByteArray &ini)
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        cartella.scrivi(QStringLiteral("Info.ini"), ini);
    }
    QString file() const { return stato.percorsi.FileIni; }
};

} // namespace

class TestIni : public QObject {
    Q_OBJECT
private slots:
    void codifica()
    {
        // Every byte decodes and encodes back to itself.
        QByteArray tutti(256, '\0');
        for (int i = 0; i < 256; ++i)
            tutti[i] = char(i);
        QCOMPARE(CodificaCp1252(DecodificaCp1252(tutti)), tutti);
        QCOMPARE(DecodificaCp1252("\x80\x9F\xE0"), QStringLiteral("€Ÿà"));
        // One "?" per character the code page lacks, surrogate pairs included.
        QCOMPARE(CodificaCp1252(QStringLiteral("a\u0100b\U0001F600c\u2122")), QByteArray("a?b?c\x99"));
    }

    void leggiChiave_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("sezione");
        QTest::addColumn<QString>("chiave");
        QTest::addColumn<QString>("atteso");
        const QByteArray base = "[Uno]\r\nA=1\r\nB = due  \r\nVuota=\r\nSoloSpazi=   \r\n"
                                "Uguale=x=y\r\n[Due]\r\nA=altro\r\nA=secondo\r\n";
        QTest::newRow("plain") << base << "Uno" << "A" << "1";
        QTest::newRow("names ignore case") << base << "uNO" << "b" << "due";
        QTest::newRow("blanks trimmed") << base << "Uno" << "B" << "due";
        QTest::newRow("empty value is not the default") << base << "Uno" << "Vuota" << "";
        QTest::newRow("blank value is empty") << base << "Uno" << "SoloSpazi" << "";
        QTest::newRow("equals sign in value") << base << "Uno" << "Uguale" << "x=y";
        QTest::newRow("key of its own section") << base << "Due" << "A" << "altro";
        QTest::newRow("missing key") << base << "Due" << "B" << "predefinito";
        QTest::newRow("missing section") << base << "Tre" << "A" << "predefinito";
        QTest::newRow("LF line ends") << QByteArray("[S]\nK=v\n") << "S" << "K" << "v";
        QTest::newRow("blanks around the section")
            << QByteArray("  [ S ]  \r\n K =v\r\n") << "S" << "K" << "v";
        QTest::newRow("accented byte") << QByteArray("[S]\r\nK=perch\xE9\r\n") << "S" << "K" << "perché";
        QTest::newRow("cut to 2047") << QByteArray("[S]\r\nK=" + QByteArray(3000, 'x') + "\r\n")
                                     << "S" << "K" << QString(2047, QLatin1Char('x'));
    }
    void leggiChiave()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, sezione);
        QFETCH(QString, chiave);
        QFETCH(QString, atteso);
        ArchivioIni a(contenuto);
        const QString letto = LeggiChiaveIni(sezione, chiave, QStringLiteral("predefinito"), a.file());
        QCOMPARE(letto, atteso);
    }

    void leggiChiaveSenzaFile()
    {
        CartellaTest c;
        QCOMPARE(LeggiChiaveIni("S", "K", "p", c.file("manca.ini")), QStringLiteral("p"));
        QVERIFY(QDir(c.percorso()).mkdir("cartella.ini"));
        QCOMPARE(LeggiChiaveIni("S", "K", "p", c.file("cartella.ini")), QStringLiteral("p"));
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
            << base << "uno" << "altro" << "nuovo"
            << QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro=nuovo\r\n\r\n[Due]\r\nB=2\r\n");
        QTest::newRow("new key after the last of its section")
            << base << "Uno" << "C" << "3"
            << QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\nC=3\r\n\r\n[Due]\r\nB=2\r\n");
        QTest::newRow("new section at the end")
            << base << "Tre" << "D" << " spazi "
            << QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\n\r\n[Due]\r\nB=2\r\n[Tre]\r\nD= spazi \r\n");
        QTest::newRow("empty value") << QByteArray("[S]\r\nK=v\r\n") << "S" << "K" << ""
                                     << QByteArray("[S]\r\nK=\r\n");
        QTest::newRow("LF file becomes CR LF") << QByteArray("[S]\nK=v") << "S" << "K" << "w"
                                               << QByteArray("[S]\r\nK=w\r\n");
        QTest::newRow("cp1252 and ?") << QByteArray() << "S" << "K" << "città Ω"
                                      << QByteArray("[S]\r\nK=citt\xE0 ?\r\n");
        QTest::newRow("line breaks in a value")
            << QByteArray() << "S" << "K" << "a\r\nb" << QByteArray("[S]\r\nK=a  b\r\n");
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

    void scriviChiaveCreaIlFile()
    {
        CartellaTest c;
        ScriviChiaveIni("S", "K", "v", c.file("nuovo.ini"));
        QCOMPARE(c.leggi("nuovo.ini"), QByteArray("[S]\r\nK=v\r\n"));
    }

    void scriviInfoSuFileMancante()
    {
        CartellaTest c;
        Stato s;
        s.percorsi = Percorsi::DaCartella(c.percorso());
        for (int i = 1; i <= 6; ++i)
            s.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
        s.Versione = QStringLiteral("qualsiasi"); // the constant is written instead
        ScriviInfo(s);
        QCOMPARE(c.leggi("Info.ini"), IniPrimoAvvio());
    }

    void scriviInfoTieneLeRigheSconosciute()
    {
        ArchivioIni a("[Custom]\r\nCampo personale 2=vecchio\r\n; mia nota\r\n"
                      "[Mia]\r\nchiave=valore\r\n[counter]\r\nnumero tipi=4\r\n");
        a.stato.NumTipi = 7;
        a.stato.TemaChiaro = true;
        a.stato.Etichette = {QString(), "E1", "E2", "E3", "E4", "E5", "E6"};
        ScriviInfo(a.stato);
        QCOMPARE(a.cartella.leggi("Info.ini"),
                 QByteArray("[Custom]\r\nCampo personale 2=E2\r\n; mia nota\r\n"
                            "Campo personale 1=E1\r\nCampo personale 3=E3\r\nCampo personale 4=E4\r\n"
                            "Campo personale 5=E5\r\nCampo personale 6=E6\r\n"
                            "[Mia]\r\nchiave=valore\r\n[counter]\r\nnumero tipi=7\r\n"
                            "Numero Componenti=0\r\nNumero Produttori=0\r\nNumero Packages=0\r\n"
                            "Prossimo ID Componente=1\r\nProssimo ID Tipi=1\r\n"
                            "Prossimo ID Produttori=1\r\nProssimo ID Package=1\r\n"
                            "[Versione]\r\nVersione=10.2.0 \r\n"
                            "[Options]\r\nImmagini dimensioni reali=False\r\nSeparatore CSV=,\r\n"
                            "Tema Chiaro=True\r\n"));
    }

    void booleani_data()
    {
        QTest::addColumn<QByteArray>("riga");
        QTest::addColumn<bool>("atteso");
        QTest::newRow("True") << QByteArray("Tema Chiaro=True") << true;
        QTest::newRow("Vero") << QByteArray("Tema Chiaro=Vero") << true;
        QTest::newRow("blanks around") << QByteArray("Tema Chiaro=  Vero ") << true;
        QTest::newRow("lower case") << QByteArray("Tema Chiaro=true") << false;
        QTest::newRow("VERO") << QByteArray("Tema Chiaro=VERO") << false;
        QTest::newRow("False") << QByteArray("Tema Chiaro=False") << false;
        QTest::newRow("Falso") << QByteArray("Tema Chiaro=Falso") << false;
        QTest::newRow("empty") << QByteArray("Tema Chiaro=") << false;
        QTest::newRow("missing key") << QByteArray("Altro=x") << true;
    }
    void booleani()
    {
        QFETCH(QByteArray, riga);
        QFETCH(bool, atteso);
        ArchivioIni a("[Options]\r\n" + riga + "\r\n");
        QVERIFY(LeggiInfo(a.stato));
        QCOMPARE(a.stato.TemaChiaro, atteso);
    }

    void soloCounter()
    {
        ArchivioIni a("[Counter]\r\nNumero Componenti=3\r\nProssimo ID Tipi= 9 \r\n");
        QVERIFY(LeggiInfo(a.stato));
        QCOMPARE(a.stato.Versione, QString());
        QCOMPARE(a.stato.NumComponenti, 3);
        QCOMPARE(a.stato.NumTipi, 0);
        QCOMPARE(a.stato.ProssimoIDComponente, 1);
        QCOMPARE(a.stato.ProssimoIDTipo, 9);
        QVERIFY(a.stato.ImmaginiReali);
        QVERIFY(a.stato.TemaChiaro);
        QCOMPARE(a.stato.SeparatoreCSV, QStringLiteral(","));
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(a.stato.Etichette[i], QStringLiteral("Campo Personale%1").arg(i));
    }

    void valoriLetti()
    {
        ArchivioIni a(IniPrimoAvvio().replace("Separatore CSV=,", "Separatore CSV=")
                          .replace("Campo Personale 3", "Perch\xE9 " + QByteArray(2100, 'z')));
        QVERIFY(LeggiInfo(a.stato));
        QCOMPARE(a.stato.Versione, QStringLiteral("10.2.0")); // the trailing blank is dropped
        QCOMPARE(a.stato.SeparatoreCSV, QString());
        QVERIFY(!a.stato.ImmaginiReali);
        QCOMPARE(a.stato.Etichette[3], (QStringLiteral("Perché ") + QString(2100, 'z')).left(2047));
        QCOMPARE(a.stato.Etichette[6], QStringLiteral("Campo Personale 6"));
    }

    void contatori_data()
    {
        QTest::addColumn<QByteArray>("valore");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("atteso");
        QTest::newRow("plain") << QByteArray("42") << true << 42;
        QTest::newRow("negative") << QByteArray("-3") << true << -3;
        QTest::newRow("blanks") << QByteArray("  7  ") << true << 7;
        QTest::newRow("fraction rounded") << QByteArray("2.6") << true << 3;
        QTest::newRow("half to even") << QByteArray("2.5") << true << 2;
        QTest::newRow("half to even up") << QByteArray("3.5") << true << 4;
        QTest::newRow("largest") << QByteArray("2147483647") << true << INT_MAX;
        QTest::newRow("too large") << QByteArray("2147483648") << false << 0;
        QTest::newRow("letters") << QByteArray("dieci") << false << 0;
        QTest::newRow("number then letters") << QByteArray("10x") << false << 0;
        QTest::newRow("empty") << QByteArray("") << false << 0;
    }
    void contatori()
    {
        QFETCH(QByteArray, valore);
        QFETCH(bool, ok);
        QFETCH(int, atteso);
        ArchivioIni a("[Counter]\r\nNumero Tipi=" + valore + "\r\n");
        QString errore;
        QCOMPARE(LeggiInfo(a.stato, &errore), ok);
        if (ok)
            QCOMPARE(a.stato.NumTipi, atteso);
        else
            QCOMPARE(errore, QStringLiteral("Tipo non corrispondente: il valore di \"Numero Tipi\" "
                                            "in Info.ini non è un numero valido"));
    }

    void andataERitorno()
    {
        ArchivioIni a(QByteArray{});
        RiempiStatoDiEsempio(a.stato);
        a.stato.ImmaginiReali = true;
        a.stato.SeparatoreCSV = QStringLiteral(";");
        a.stato.Etichette = {QString(), "Tensione", "Corrente", "", "Ω", "à", "  x  "};
        ScriviInfo(a.stato);
        Stato letto;
        letto.percorsi = a.stato.percorsi;
        QVERIFY(LeggiInfo(letto));
        QCOMPARE(letto.NumComponenti, 2);
        QCOMPARE(letto.ProssimoIDPackage, 8);
        QVERIFY(letto.ImmaginiReali);
        QVERIFY(!letto.TemaChiaro);
        QCOMPARE(letto.SeparatoreCSV, QStringLiteral(";"));
        QCOMPARE(letto.Etichette,
                 (std::array<QString, 7>{QString(), "Tensione", "Corrente", "", "?", "à", "x"}));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
