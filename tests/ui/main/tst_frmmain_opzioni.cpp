// Display options: theme colours, picture mode, CSV separator, with the
// menu check marks and the pressed toolbar button after every command, and
// the options surviving a save and a restart.

#include "ambiente.h"

#include "startup/avvio.h"

using namespace prova;

namespace {

// Check marks of mnuImgReal, mnuImgMod, mnuCSV1, mnuCSV2, mnuLight, mnuDark,
// then the pressed state of imgstd and imgrid, as 0/1.
QString spunte(const FrmMain &f)
{
    QString s;
    for (const char *n : {"mnuImgReal", "mnuImgMod", "mnuCSV1", "mnuCSV2", "mnuLight", "mnuDark"})
        s += f.findChild<QAction *>(QLatin1String(n))->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    s += QLatin1Char('|');
    for (const char *k : {"imgstd", "imgrid"})
        s += f.bottone(QLatin1String(k))->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

} // namespace

class TestFrmMainOpzioni : public QObject {
    Q_OBJECT
private slots:
    void spunteAlCaricamento_data()
    {
        QTest::addColumn<bool>("reali");
        QTest::addColumn<QString>("separatore");
        QTest::addColumn<bool>("chiaro");
        QTest::addColumn<QString>("attese");
        QTest::newRow("adattate, virgola, chiaro") << false << "," << true << "011010|01";
        QTest::newRow("reali, punto-virgola, scuro") << true << ";" << false << "100101|10";
        QTest::newRow("separatore strano") << false << "|" << true << "010010|01";
        QTest::newRow("separatore vuoto") << true << "" << false << "100001|10";
    }
    void spunteAlCaricamento()
    {
        QFETCH(bool, reali);
        QFETCH(QString, separatore);
        QFETCH(bool, chiaro);
        QFETCH(QString, attese);
        Ambiente a;
        a.stato.ImmaginiReali = reali;
        a.stato.SeparatoreCSV = separatore;
        a.stato.TemaChiaro = chiaro;
        QCOMPARE(spunte(a.apri()), attese);
    }

    void comandi()
    {
        Ambiente a;
        const FrmMain &f = a.apri();
        // Each command, and the same command again (a ticked item or a
        // pressed button chosen twice stays so), then the marks.
        const QList<QPair<QString, QString>> passi = {
            {"imgstd", "101010|10"}, {"mnuImgMod", "011010|01"}, {"mnuImgReal", "101010|10"},
            {"imgrid", "011010|01"}, {"mnuCSV2", "010110|01"},   {"mnuCSV1", "011010|01"},
            {"mnuDark", "011001|01"}, {"mnuLight", "011010|01"}};
        for (const auto &[comando, attese] : passi) {
            for (int volta = 0; volta < 2; ++volta)
                (comando.startsWith(QLatin1String("mnu")) ? a.azione(comando) : a.bottone(comando))->trigger();
            QCOMPARE(spunte(f), attese);
        }
        a.menu("mnuCSV2");
        a.premi("imgstd");
        a.menu("mnuDark");
        QCOMPARE(a.stato.SeparatoreCSV, QStringLiteral(";"));
        QVERIFY(a.stato.ImmaginiReali && !a.stato.TemaChiaro);
        QVERIFY(!a.cartella.esiste(QStringLiteral("Info.ini"))); // nothing written yet
    }

    void coloriDelTema()
    {
        Ambiente a;
        FrmMain &f = a.apri();
        const QColor faccia = QApplication::palette().color(QPalette::Button);
        for (const bool chiaro : {true, false, true}) {
            a.menu(chiaro ? "mnuLight" : "mnuDark");
            const QColor sfondo = chiaro ? faccia : QColor(0, 0, 0);
            const QColor titolo = chiaro ? QColor(0, 0, 0) : QColor(255, 240, 16);
            QCOMPARE(f.centralWidget()->palette().color(QPalette::Window), sfondo);
            for (const char *cornice : {"fmDati", "fmImm"}) {
                QCOMPARE(a.w(QLatin1String(cornice))->palette().color(QPalette::Window), sfondo);
                QCOMPARE(a.w(QLatin1String(cornice))->palette().color(QPalette::WindowText), titolo);
            }
            const QImage lista = a.lista()->grab().toImage();
            QCOMPARE(lista.pixelColor(lista.width() / 2, lista.height() - 10),
                     chiaro ? QColor(255, 255, 248) : QColor(64, 64, 64));
            // The detail fields keep the colours of the editing state.
            QCOMPARE(a.w("txCodice")->palette().color(QPalette::Base), QColor(Qt::white));
        }
    }

    void cambioModoRidisegna()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        a.stato.Componenti[1].Immagine = QStringLiteral("largo.bmp");
        scriviImmagine(a.cartella, QStringLiteral("Pics/largo.bmp"), 1000, 200, Qt::blue);
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        a.apri();
        a.premi("imgstd"); // no component shown: only the setting changes
        a.clicRiga(3, 0);  // BC547C with the wide picture, real size: cropped
        QCOMPARE(a.riquadro().pixelColor(10, 300), a.w("pic")->palette().color(QPalette::Window));
        a.menu("mnuImgMod"); // fitted: fills the box
        QCOMPARE(a.riquadro().pixelColor(10, 300), QColor(Qt::blue));
        // A component with no picture: the redraw leaves the box empty.
        a.clicRiga(5, 0);
        QVERIFY(!a.riquadro().isNull()); // the placeholder
        a.premi("imgstd");
        QVERIFY(a.riquadro().isNull());
    }

    void opzioniDopoSalvataggioERiavvio()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        a.apri();
        a.menu("mnuDark");
        a.premi("imgstd");
        a.menu("mnuCSV2");
        // The next save (here a deletion) writes them.
        a.clicRiga(1, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi("del");
        // A restart on the same folder opens with them.
        Stato stato2;
        DialoghiFinti dialoghi2;
        QVERIFY(Main(stato2, dialoghi2, a.cartella.percorso()));
        QCOMPARE(stato2.NumComponenti, 4);
        FrmMain f2(stato2, dialoghi2);
        f2.Form_Load();
        QCOMPARE(spunte(f2), QStringLiteral("100101|10"));
        QCOMPARE(f2.centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 0));
        VERIFICA_DIALOGHI(a.dialoghi);
        VERIFICA_DIALOGHI(dialoghi2);
    }
};

QTEST_MAIN(TestFrmMainOpzioni)
#include "tst_frmmain_opzioni.moc"
