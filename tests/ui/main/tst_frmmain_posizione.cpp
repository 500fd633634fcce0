// The location of the components: the option choosing its field and the list
// column (its order, the narrowing by a cell, its place in Info.ini).

#include "ambiente.h"

#include "common/verifiche.h"

using namespace prova;

namespace {

// The five with locations in field 3. In code order: 2N2222 (none), 74HC00 "A2", BC547C "A10", LM317T "a3", NE555 "A2".
void conPosizioni(Stato &s)
{
    cinqueComponenti(s);
    s.componente(1).Extra3 = QStringLiteral("A2");
    s.componente(2).Extra3 = QStringLiteral("A10");
    s.componente(3).Extra3 = QStringLiteral("a3");
    s.componente(5).Extra3 = QStringLiteral("A2");
}

QString Sezione(const CartellaTest &c, const char *nome)
{
    const QByteArray ini = c.leggi(QStringLiteral("Info.ini"));
    const qsizetype i = ini.indexOf(QByteArray("[") + nome + "]");
    if (i < 0)
        return QString();
    const qsizetype fine = ini.indexOf("\r\n[", i);
    return QString::fromLatin1(ini.mid(i, fine < 0 ? -1 : fine + 2 - i));
}

void Riavvia(Ambiente &a)
{
    a.menu(QStringLiteral("mnuQuit"));
    a.finestra.reset();
    QVERIFY(LeggiInfo(a.stato));
    a.apri();
}

} // namespace

class TestFrmMainPosizione : public QObject {
    Q_OBJECT
private slots:
    // Chosen from the menu, the column shows each row's location, sorts the
    // numbers in it by value, and narrows the list by a right click.
    void colonna()
    {
        Caso a(conPosizioni);
        QCOMPARE(a.lista()->numeroColonne(), 6); // "Nessuno": the list as ever
        QVERIFY(a.azione(QStringLiteral("mnuCampoPosizione(0)"))->isChecked());
        QCOMPARE(a.azione(QStringLiteral("mnuCampoPosizione(0)"))->text(), QStringLiteral("Nessuno"));
        QCOMPARE(a.azione(QStringLiteral("mnuCampoPosizione(3)"))->text(), QStringLiteral("Campo Personale 3"));

        // Chosen on a narrowed list: the search's rows and the selected one stay.
        a.cerca(QStringLiteral("7"), false);
        a.clicRiga(2, 0);
        a.menu(QStringLiteral("mnuCampoPosizione(3)"));
        QCOMPARE(a.stato.CampoPosizione, 3);
        QVERIFY(a.azione(QStringLiteral("mnuCampoPosizione(3)"))->isChecked());
        QCOMPARE(a.lista()->numeroColonne(), 7);
        QCOMPARE(a.lista()->colonna(7).titolo, QStringLiteral("Campo Personale 3"));
        QVERIFY(a.lista()->larghezzaColonna(7) > 20);
        QCOMPARE(a.codici(), (QStringList{"BC547C", "LM317T", "74HC00"}));
        QCOMPARE(a.colonna(IndiceColonna), (QStringList{"A10", "a3", "A2"}));
        QCOMPARE(a.lista()->rigaSelezionata(), 2);
        a.premi("reselect"); // every row, in table order
        QCOMPARE(a.colonna(IndiceColonna), (QStringList{"A2", "A10", "a3", "", "A2"}));

        // The direction flips from the code's: descending first, A10 before a3 before A2 (as text a3 would come first).
        a.clicIntestazione(7);
        QCOMPARE(a.colonna(IndiceColonna), (QStringList{"A10", "a3", "A2", "A2", ""}));

        // A right click on a location cell, then a click: only that place.
        a.clicRiga(a.rigaDi("NE555"), IndiceColonna, Qt::RightButton);
        QCOMPARE(a.messaggio(), a.messaggio(3));
        QVERIFY(a.bottone("reselect")->isEnabled());
        a.clicRiga(a.rigaDi("NE555"), IndiceColonna);
        QCOMPARE(a.codici(), (QStringList{"NE555", "74HC00"}));
        QCOMPARE(a.posizioni(), (QList<int>{1, 5}));
        QCOMPARE(a.contatori(), QStringLiteral("5/2/144"));
        a.premi("reselect");
        QCOMPARE(a.codici().size(), 5);

        // A cell without a location starts no selection.
        a.clicRiga(a.rigaDi("2N2222"), IndiceColonna, Qt::RightButton);
        a.clicRiga(a.rigaDi("2N2222"), IndiceColonna);
        QCOMPARE(a.codici().size(), 5);
        QCOMPARE(a.messaggio(), a.messaggio(0));
        QCOMPARE(a.corrente(), 4);

        // A save refills the list with the new location.
        a.modificaRiga(a.rigaDi("NE555"), QStringLiteral("txExtra3"), QStringLiteral("C7"));
        QCOMPARE(a.lista()->testo(a.rigaDi("NE555"), 6), QStringLiteral("C7"));

        // Back to "Nessuno": the five columns, the same rows.
        const QStringList codici = a.codici();
        a.menu(QStringLiteral("mnuCampoPosizione(0)"));
        QCOMPARE(a.lista()->numeroColonne(), 6);
        QCOMPARE(a.codici(), codici);
        QCOMPARE(a.stato.CampoPosizione, 0);
    }

    // Unused, the option leaves Info.ini as before (no section; the five column widths: tst_frmmain_finestra); chosen,
    // it is kept with the column's width; a section of five widths from before the column keeps them for the five.
    void infoIni()
    {
        Caso a(cinqueComponenti);
        Riavvia(a);
        QCOMPARE(Sezione(a.cartella, "Posizione"), QString());

        a.menu(QStringLiteral("mnuCampoPosizione(5)"));
        a.lista()->vista()->header()->resizeSection(6, 133);
        Riavvia(a);
        QCOMPARE(Sezione(a.cartella, "Posizione"), QStringLiteral("[Posizione]\r\nCampo=5\r\n"));
        QVERIFY(Sezione(a.cartella, "Finestra").contains(QStringLiteral("Larghezza colonne=110,125,60,50,90,133\r\n")));
        QCOMPARE(a.lista()->numeroColonne(), 7);
        QVERIFY(a.azione(QStringLiteral("mnuCampoPosizione(5)"))->isChecked());

        a.menu(QStringLiteral("mnuCampoPosizione(0)"));
        Riavvia(a);
        QCOMPARE(Sezione(a.cartella, "Posizione"), QStringLiteral("[Posizione]\r\nCampo=0\r\n"));
        QVERIFY(Sezione(a.cartella, "Finestra").contains(QStringLiteral("Larghezza colonne=110,125,60,50,90\r\n")));

        // Chosen by hand in the file, with the widths of five columns.
        QByteArray ini = a.cartella.leggi(QStringLiteral("Info.ini"));
        ini.replace("Campo=0", "Campo=2").replace("110,125,60,50,90", "110,170,60,50,90");
        a.cartella.scrivi(QStringLiteral("Info.ini"), ini);
        a.finestra.reset();
        QVERIFY(LeggiInfo(a.stato));
        a.apri();
        Riavvia(a);
        QVERIFY(Sezione(a.cartella, "Finestra").contains(QStringLiteral("Larghezza colonne=110,170,60,50,90,90\r\n")));
    }

private:
    static constexpr int IndiceColonna = 6;
};

QTEST_MAIN(TestFrmMainPosizione)
#include "tst_frmmain_posizione.moc"
