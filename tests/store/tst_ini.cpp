#include "common/cartellatest.h"
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

    void scriviChiave()
    {
        const auto scrivi = [](const QByteArray &prima, const char *sezione, const char *chiave,
                               const QString &valore) {
            ArchivioIni a(prima);
            ScriviChiaveIni(sezione, chiave, valore, a.file());
            return a.cartella.leggi("Info.ini");
        };
        const QByteArray base = "; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\n\r\n[Due]\r\nB=2\r\n";
        // Replaced in place, names matched whatever their case, the rest kept.
        QCOMPARE(scrivi(base, "uno", "altro", "nuovo"),
                 QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro=nuovo\r\n\r\n[Due]\r\nB=2\r\n"));
        // A new key goes after the last of its section, a new section at the end.
        QCOMPARE(scrivi(base, "Uno", "C", "3"),
                 QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\nC=3\r\n\r\n[Due]\r\nB=2\r\n"));
        QCOMPARE(scrivi(base, "Tre", "D", " spazi "),
                 QByteArray("; nota\r\n[Uno]\r\nA=1\r\nAltro = x\r\n\r\n[Due]\r\nB=2\r\n[Tre]\r\nD= spazi \r\n"));
        QCOMPARE(scrivi("[S]\r\nK=v\r\n", "S", "K", ""), QByteArray("[S]\r\nK=\r\n"));
        QCOMPARE(scrivi("[S]\nK=v", "S", "K", "w"), QByteArray("[S]\r\nK=w\r\n")); // LF file becomes CR LF
        QCOMPARE(scrivi(QByteArray(), "S", "K", "città € Ω\U0001F600"), // new file; one "?" a character
                 QByteArray("[S]\r\nK=citt\xE0 \x80 ??\r\n"));
        QCOMPARE(scrivi("", "S", "K", "a\r\nb"), QByteArray("[S]\r\nK=a  b\r\n"));
    }

    void infoBooleaniEContatori()
    {
        const auto leggi = [](const QByteArray &righe) {
            ArchivioIni a("[Options]\r\n" + righe + "\r\n[Counter]\r\n" + righe + "\r\n");
            QString errore;
            return LeggiInfo(a.stato, &errore) ? QStringLiteral("%1 %2").arg(a.stato.TemaChiaro).arg(a.stato.NumTipi)
                                               : errore;
        };
        QCOMPARE(leggi("Tema Chiaro=True"), "1 0");
        QCOMPARE(leggi("Tema Chiaro=Vero"), "1 0");
        QCOMPARE(leggi("Tema Chiaro=true"), "0 0");
        QCOMPARE(leggi("Tema Chiaro=VERO"), "0 0");
        QCOMPARE(leggi("Tema Chiaro="), "0 0");
        QCOMPARE(leggi("Altro=x"), "1 0"); // missing keys read as their defaults
        QCOMPARE(leggi("Numero Tipi=  -3  "), "1 -3");
        QCOMPARE(leggi("Numero Tipi=2.5"), "1 2"); // halves to even
        QCOMPARE(leggi("Numero Tipi=3.5"), "1 4");
        for (const char *valore : {"Numero Tipi=dieci", "Numero Tipi=10x", "Numero Tipi="})
            QCOMPARE(leggi(valore), "Tipo non corrispondente: il valore di \"Numero Tipi\" in Info.ini "
                                    "non è un numero valido");
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
