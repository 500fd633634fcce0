// Display options: theme colours, picture mode, CSV separator, with the
// menu check marks and the pressed toolbar button after every command, and
// the options surviving a save and a restart.

#include "ambiente.h"

#include "startup/avvio.h"

using namespace prova;

namespace {

// "RM" + check marks of mnuImgReal, mnuImgMod, mnuCSV1, mnuCSV2, mnuLight,
// mnuDark, then the pressed state of imgstd and imgrid, as 0/1.
QString spunte(const Ambiente &a)
{
    QString s;
    for (const char *n : {"mnuImgReal", "mnuImgMod", "mnuCSV1", "mnuCSV2", "mnuLight", "mnuDark"})
        s += a.azione(QLatin1String(n))->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    s += QLatin1Char('|');
    for (const char *k : {"imgstd", "imgrid"})
        s += a.bottone(QLatin1String(k))->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QColor colore(QWidget *w, QPalette::ColorRole ruolo)
{
    return w->palette().color(ruolo);
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
        a.apri();
        QCOMPARE(spunte(a), attese);
    }

    void comandi()
    {
        Ambiente a;
        a.apri();
        QCOMPARE(spunte(a), QStringLiteral("011010|01"));
        a.bottone(QStringLiteral("imgstd"))->trigger();
        QVERIFY(a.stato.ImmaginiReali);
        QCOMPARE(spunte(a), QStringLiteral("101010|10"));
        // Pressing the button already pressed keeps it pressed.
        a.bottone(QStringLiteral("imgstd"))->trigger();
        QCOMPARE(spunte(a), QStringLiteral("101010|10"));
        a.azione(QStringLiteral("mnuImgMod"))->trigger();
        QVERIFY(!a.stato.ImmaginiReali);
        QCOMPARE(spunte(a), QStringLiteral("011010|01"));
        // A ticked item chosen again stays ticked.
        a.azione(QStringLiteral("mnuImgMod"))->trigger();
        QCOMPARE(spunte(a), QStringLiteral("011010|01"));
        a.azione(QStringLiteral("mnuImgReal"))->trigger();
        QCOMPARE(spunte(a), QStringLiteral("101010|10"));
        a.bottone(QStringLiteral("imgrid"))->trigger();
        QCOMPARE(spunte(a), QStringLiteral("011010|01"));

        a.azione(QStringLiteral("mnuCSV2"))->trigger();
        QCOMPARE(a.stato.SeparatoreCSV, QStringLiteral(";"));
        QCOMPARE(spunte(a), QStringLiteral("010110|01"));
        a.azione(QStringLiteral("mnuCSV1"))->trigger();
        a.azione(QStringLiteral("mnuCSV1"))->trigger();
        QCOMPARE(a.stato.SeparatoreCSV, QStringLiteral(","));
        QCOMPARE(spunte(a), QStringLiteral("011010|01"));

        a.azione(QStringLiteral("mnuDark"))->trigger();
        a.azione(QStringLiteral("mnuDark"))->trigger();
        QVERIFY(!a.stato.TemaChiaro);
        QCOMPARE(spunte(a), QStringLiteral("011001|01"));
        a.azione(QStringLiteral("mnuLight"))->trigger();
        QVERIFY(a.stato.TemaChiaro);
        QCOMPARE(spunte(a), QStringLiteral("011010|01"));
        // Nothing of this is written yet.
        QVERIFY(!a.cartella.esiste(QStringLiteral("Info.ini")));
    }

    void coloriDelTema()
    {
        Ambiente a;
        FrmMain &f = a.apri();
        const QColor faccia = QApplication::palette().color(QPalette::Button);
        auto *dati = a.w(QStringLiteral("fmDati"));
        auto *imm = a.w(QStringLiteral("fmImm"));
        auto controlla = [&](bool chiaro) {
            const QColor sfondo = chiaro ? faccia : QColor(0, 0, 0);
            const QColor titolo = chiaro ? QColor(0, 0, 0) : QColor(255, 240, 16);
            QCOMPARE(colore(f.centralWidget(), QPalette::Window), sfondo);
            QCOMPARE(colore(dati, QPalette::Window), sfondo);
            QCOMPARE(colore(dati, QPalette::WindowText), titolo);
            QCOMPARE(colore(imm, QPalette::Window), sfondo);
            QCOMPARE(colore(imm, QPalette::WindowText), titolo);
            const QImage lista = a.lista()->grab().toImage();
            const QColor attesoLista = chiaro ? QColor(255, 255, 248) : QColor(64, 64, 64);
            QCOMPARE(lista.pixelColor(lista.width() / 2, lista.height() - 10), attesoLista);
        };
        controlla(true);
        a.azione(QStringLiteral("mnuDark"))->trigger();
        controlla(false);
        a.azione(QStringLiteral("mnuDark"))->trigger();
        controlla(false);
        a.azione(QStringLiteral("mnuLight"))->trigger();
        controlla(true);
        // The detail fields keep the colours of the editing state.
        a.azione(QStringLiteral("mnuDark"))->trigger();
        QCOMPARE(colore(a.w(QStringLiteral("txCodice")), QPalette::Base), QColor(Qt::white));
    }

    void cambioModoRidisegna()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        a.stato.Componenti[1].Immagine = QStringLiteral("largo.bmp");
        scriviImmagine(a.cartella, QStringLiteral("Pics/largo.bmp"), 1000, 200, Qt::blue);
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        a.apri();
        auto *pic = a.w<QLabel>(QStringLiteral("pic"));
        auto *hint = a.w<QLabel>(QStringLiteral("lblRedimPic"));

        // No component shown: only the setting changes.
        const QImage prima = pic->pixmap().toImage();
        a.bottone(QStringLiteral("imgstd"))->trigger();
        QCOMPARE(pic->pixmap().toImage(), prima);

        a.clicRiga(3, 0); // BC547C with the wide picture, real size: cropped
        QCOMPARE(pic->pixmap().toImage().pixelColor(10, 300), pic->palette().color(QPalette::Window));
        QCOMPARE(hint->palette().color(QPalette::Window), QColor(0, 128, 0));
        a.azione(QStringLiteral("mnuImgMod"))->trigger(); // fitted: fills the box
        QCOMPARE(pic->pixmap().toImage().pixelColor(10, 300), QColor(Qt::blue));
        QCOMPARE(hint->palette().color(QPalette::Window), QColor(0, 128, 0));

        // A component with no picture: the redraw leaves the box empty.
        a.clicRiga(5, 0);
        QVERIFY(!pic->pixmap().isNull()); // the placeholder
        a.bottone(QStringLiteral("imgstd"))->trigger();
        QVERIFY(pic->pixmap().isNull());
        QCOMPARE(hint->palette().color(QPalette::Window), QColor(128, 128, 128));
    }

    void opzioniDopoSalvataggioERiavvio()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        a.apri();
        a.azione(QStringLiteral("mnuDark"))->trigger();
        a.bottone(QStringLiteral("imgstd"))->trigger();
        a.azione(QStringLiteral("mnuCSV2"))->trigger();
        // The next save writes them.
        a.clicRiga(1, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.bottone(QStringLiteral("del"))->trigger();
        const QByteArray ini = a.cartella.leggi(QStringLiteral("Info.ini"));
        QVERIFY(ini.contains("Tema Chiaro"));

        // A restart on the same folder opens with them.
        Stato stato2;
        DialoghiFinti dialoghi2;
        QVERIFY(Main(stato2, dialoghi2, a.cartella.percorso()));
        QVERIFY(!stato2.TemaChiaro);
        QVERIFY(stato2.ImmaginiReali);
        QCOMPARE(stato2.SeparatoreCSV, QStringLiteral(";"));
        QCOMPARE(stato2.NumComponenti, 4);
        FrmMain f2(stato2, dialoghi2);
        f2.Form_Load();
        QVERIFY(f2.findChild<QAction *>(QStringLiteral("mnuDark"))->isChecked());
        QVERIFY(f2.findChild<QAction *>(QStringLiteral("mnuImgReal"))->isChecked());
        QVERIFY(f2.findChild<QAction *>(QStringLiteral("mnuCSV2"))->isChecked());
        QVERIFY(f2.bottone(QStringLiteral("imgstd"))->isChecked());
        QCOMPARE(f2.centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 0));
        VERIFICA_DIALOGHI(a.dialoghi);
        VERIFICA_DIALOGHI(dialoghi2);
    }
};

QTEST_MAIN(TestFrmMainOpzioni)
#include "tst_frmmain_opzioni.moc"
