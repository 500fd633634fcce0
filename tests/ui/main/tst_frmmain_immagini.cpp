// Showing a component and its pictures (checked on the pixels of the box),
// the picture window, picture and datasheet associations, opening datasheets,
// and the display options with their marks, colours and persistence.

#include "ambiente.h"

#include "startup/avvio.h"
#include "ui/main/frmpicture.h"

using namespace prova;

namespace {

bool simile(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40
           && std::abs(a.blue() - b.blue()) < 40;
}

QColor suggerimento(const Ambiente &a) { return a.w("lblRedimPic")->palette().color(QPalette::Window); }

// Check marks of mnuImgReal, mnuImgMod, mnuCSV1, mnuCSV2, mnuLight, mnuDark,
// then the pressed state of imgstd and imgrid, as 0/1.
QString spunte(const FrmMain &f)
{
    QString s;
    for (const char *n : {"mnuImgReal", "mnuImgMod", "mnuCSV1", "mnuCSV2", "mnuLight", "mnuDark"})
        s += f.findChild<QAction *>(QLatin1String(n))->isChecked() ? u'1' : u'0';
    s += u'|';
    for (const char *k : {"imgstd", "imgrid"})
        s += f.bottone(QLatin1String(k))->isChecked() ? u'1' : u'0';
    return s;
}

} // namespace

class TestFrmMainImmagini : public QObject {
    Q_OBJECT

    // The table of five, BC547C (position 2, row 3 once sorted) with details.
    static void prepara(Ambiente &a, const QString &immagine = QString())
    {
        cinqueComponenti(a.stato);
        Componente &c = a.stato.Componenti[1];
        c.IDPackage = 1;
        c.Pins = 14;
        c.Descrizione = QStringLiteral("Transistor NPN");
        c.Note = QStringLiteral("cassetto 4");
        c.Datasheet = QStringLiteral("bc547.pdf");
        c.Immagine = immagine;
        c.Extra2 = QStringLiteral("due");
        c.Extra6 = QStringLiteral("sei");
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        scriviImmagine(a.cartella, QStringLiteral("Packages/dip14.bmp"), 40, 20, Qt::blue);
        a.apri();
    }
    // Opens the picture window with a double click and runs azione while it is open.
    void conFinestraAperta(Ambiente &a, const std::function<void()> &azione)
    {
        QTimer::singleShot(0, this, azione);
        QTest::mouseDClick(a.w("pic"), Qt::LeftButton);
    }

private slots:
    // Each command twice (a ticked item or pressed button chosen again stays
    // so), then the marks and the theme's colours. Nothing is written until
    // the next save (here a deletion); a restart comes back with the options.
    void opzioni()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        const FrmMain &f = a.apri();
        QCOMPARE(spunte(f), QStringLiteral("011010|01"));
        const QList<QPair<QString, QString>> passi = {
            {"imgstd", "101010|10"}, {"mnuImgMod", "011010|01"}, {"mnuImgReal", "101010|10"},
            {"imgrid", "011010|01"}, {"mnuCSV2", "010110|01"},   {"mnuCSV1", "011010|01"},
            {"mnuDark", "011001|01"}, {"mnuLight", "011010|01"}, {"mnuDark", "011001|01"},
            {"mnuCSV2", "010101|01"}, {"imgstd", "100101|10"}};
        const QColor faccia = QApplication::palette().color(QPalette::Button);
        for (const auto &[comando, attese] : passi) {
            a.comando(comando);
            a.comando(comando);
            QCOMPARE(spunte(f), attese);
            const bool chiaro = a.stato.TemaChiaro;
            const QColor sfondo = chiaro ? faccia : QColor(0, 0, 0);
            QCOMPARE(f.centralWidget()->palette().color(QPalette::Window), sfondo);
            for (const char *cornice : {"fmDati", "fmImm"}) {
                QCOMPARE(a.w(QLatin1String(cornice))->palette().color(QPalette::Window), sfondo);
                QCOMPARE(a.w(QLatin1String(cornice))->palette().color(QPalette::WindowText),
                         chiaro ? QColor(0, 0, 0) : QColor(255, 240, 16));
            }
            const QImage lista = a.lista()->vista()->viewport()->grab().toImage();
            QCOMPARE(lista.pixelColor(lista.width() / 2, lista.height() - 10),
                     chiaro ? QColor(255, 255, 248) : QColor(64, 64, 64));
            QCOMPARE(a.w("txCodice")->palette().color(QPalette::Base), QColor(Qt::white));
        }
        QVERIFY(!a.cartella.esiste(QStringLiteral("Info.ini")));
        a.clicRiga(1, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi("del");
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

    void mostraComponente()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/bc547.bmp"), 50, 40, Qt::yellow);
        prepara(a, QStringLiteral("bc547.bmp"));
        a.stato.Produttori[1].Nome = QStringLiteral("STMicro"); // renamed after BC547C was stored: found by ID
        a.finestra->CaricaTabelle();
        a.clicRiga(3, 0);
        QCOMPARE(a.corrente(), 2);
        QStringList campi;
        for (const char *n : {"txCodice", "txQty", "txPins", "txPackDesc", "txNote", "txDesc", "txPDF", "txPic",
                              "txDatains", "txExtra1", "txExtra2", "txExtra6"})
            campi << a.testo(QLatin1String(n));
        QCOMPARE(campi, QStringList({"BC547C", "100", "14", "Dual in line 14", "cassetto 4", "Transistor NPN",
                                     "bc547.pdf", "bc547.bmp", "15/01/2023", "", "due", "sei"}));
        QCOMPARE(a.w<QComboBox>("cmbTipo")->currentText() + a.w<QComboBox>("cmbPack")->currentText(),
                 QStringLiteral("TRDIP14"));
        QVERIFY(simile(a.w<QLabel>("imgPack")->pixmap().toImage().pixelColor(5, 5), Qt::blue));
        auto *lp = a.w<QListWidget>("LP");
        QCOMPARE(lp->currentItem()->text(), QStringLiteral("STMicro"));
        QVERIFY(lp->currentItem()->isSelected());
        QVERIFY(simile(a.riquadro().pixelColor(200, 200), Qt::yellow));
        // NE555: no package, picture or datasheet.
        a.clicRiga(5, 0);
        QCOMPARE(a.w<QComboBox>("cmbPack")->currentText() + a.testo("txPackDesc"), QString());
        QVERIFY(!a.bottone("pdf")->isEnabled());
        QCOMPARE(lp->currentItem()->text(), QStringLiteral("TI"));
    }

    void sfondo_data()
    {
        QTest::addColumn<QString>("nome");  // the component's picture, written green into Pics
        QTest::addColumn<QColor>("atteso"); // invalid: the box stays empty
        QTest::newRow("senza immagine: back.jpg") << "" << QColor(Qt::red);
        QTest::newRow("back.jpg: quello del programma") << "back.jpg" << QColor(Qt::red);
        QTest::newRow("Back.jpg: quello di Pics") << "Back.jpg" << QColor(Qt::green);
        QTest::newRow("non e' un'immagine") << "rotto.jpg" << QColor();
    }
    void sfondo()
    {
        QFETCH(QString, nome);
        QFETCH(QColor, atteso);
        Ambiente a;
        if (nome == QLatin1String("rotto.jpg"))
            a.cartella.scrivi(QStringLiteral("Pics/rotto.jpg"), "non sono una immagine");
        else if (!nome.isEmpty())
            scriviImmagine(a.cartella, QStringLiteral("Pics/") + nome, 30, 20, Qt::green, "JPG");
        prepara(a, nome);
        QTest::mouseDClick(a.w("pic"), Qt::LeftButton); // no component shown: no window
        QVERIFY(!a.finestra->finestraImmagine());
        a.clicRiga(3, 0);
        QCOMPARE(suggerimento(a), QColor(128, 128, 128));
        if (atteso.isValid()) {
            QVERIFY(simile(a.riquadro().pixelColor(10, 10), atteso));
            if (nome.isEmpty())
                QVERIFY(!simile(a.riquadro().pixelColor(100, 100), atteso)); // natural size, not stretched
            return;
        }
        // Not a picture: the box stays empty, and no picture window, no wait.
        QVERIFY(a.riquadro().isNull());
        QTest::mouseDClick(a.w("pic"), Qt::LeftButton);
        QVERIFY(!a.finestra->finestraImmagine() && !a.finestra->variabili().ImmagineAperta);
    }

    void modiDelleImmagini_data()
    {
        QTest::addColumn<bool>("reali");
        QTest::addColumn<QSize>("dimensione");
        QTest::addColumn<QList<QPoint>>("rossi"); // left half, right half, not covered by the picture
        QTest::addColumn<QList<QPoint>>("verdi");
        QTest::addColumn<QList<QPoint>>("fuori");
        const QList<QPoint> sinistra{{2, 2}, {200, 350}}, destra{{240, 2}, {440, 356}};
        // Fitted: stretched over the whole 443 x 359 box, either way.
        QTest::newRow("adattata 100x50") << false << QSize(100, 50) << sinistra << destra << QList<QPoint>{};
        QTest::newRow("adattata 1000x200") << false << QSize(1000, 200) << sinistra << destra << QList<QPoint>{};
        // Real size: top-left corner, natural size, cut to the box.
        QTest::newRow("reale 100x50") << true << QSize(100, 50) << QList<QPoint>{{2, 2}, {48, 48}}
                                      << QList<QPoint>{{52, 2}, {98, 48}} << QList<QPoint>{{102, 2}, {2, 52}, {300, 300}};
        QTest::newRow("reale 1000x200") << true << QSize(1000, 200) << QList<QPoint>{{2, 2}, {440, 198}}
                                        << QList<QPoint>{} << QList<QPoint>{{2, 202}, {440, 356}};
    }
    void modiDelleImmagini()
    {
        QFETCH(bool, reali);
        QFETCH(QSize, dimensione);
        QFETCH(QList<QPoint>, rossi);
        QFETCH(QList<QPoint>, verdi);
        QFETCH(QList<QPoint>, fuori);
        Ambiente a;
        a.stato.ImmaginiReali = reali;
        scriviImmagine(a.cartella, QStringLiteral("Pics/prova.bmp"), dimensione.width(), dimensione.height(), Qt::red,
                       "BMP", Qt::green);
        prepara(a, QStringLiteral("prova.bmp"));
        a.clicRiga(3, 0);
        const QImage img = a.riquadro();
        QCOMPARE(img.size(), QSize(443, 359));
        for (const QPoint &p : rossi)
            QVERIFY(simile(img.pixelColor(p), Qt::red));
        for (const QPoint &p : verdi)
            QVERIFY(simile(img.pixelColor(p), Qt::green));
        for (const QPoint &p : fuori)
            QVERIFY(!simile(img.pixelColor(p), Qt::red) && !simile(img.pixelColor(p), Qt::green));
        const bool grande = dimensione.width() > 443;
        QCOMPARE(a.etichetta("lblRedimPic"),
                 grande ? QStringLiteral("Doppio click per aprire l'immagine in una finestra dedicata") : QString());
        QCOMPARE(suggerimento(a), grande ? QColor(0, 128, 0) : QColor(128, 128, 128));
        // Switching the mode redraws the shown picture.
        a.comando(reali ? "imgrid" : "imgstd");
        QCOMPARE(a.riquadro().size() == QSize(443, 359) && simile(a.riquadro().pixelColor(440, 356), Qt::green),
                 reali);
    }

    // The picture window for a 300 x 200 picture: its size and place; the
    // main window keeps serving the user meanwhile; a click closes it, and
    // the double click returns only then.
    void finestraImmagine()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/grande.bmp"), 300, 200, Qt::cyan);
        prepara(a, QStringLiteral("grande.bmp"));
        a.finestra->move(120, 80);
        a.clicRiga(3, 0);
        bool controllato = false;
        conFinestraAperta(a, [&] {
            FrmPicture *fp = a.finestra->finestraImmagine();
            QVERIFY(fp && a.finestra->variabili().ImmagineAperta);
            QCOMPARE(fp->windowTitle(), QStringLiteral(" >>> Click to close <<<"));
            QCOMPARE(fp->frameGeometry(), QRect(a.finestra->frameGeometry().topLeft() + QPoint(4, 98), QSize(316, 240)));
            auto *imm = fp->findChild<QLabel *>(QStringLiteral("imm"));
            QCOMPARE(imm->geometry(), QRect(4, 4, 300, 200));
            a.clicRiga(5, 0);
            QCOMPARE(a.testo("txCodice"), QStringLiteral("NE555"));
            controllato = true;
            QTest::mouseClick(imm, Qt::LeftButton, {}, QPoint(10, 10));
        });
        QVERIFY(controllato);
        QVERIFY(!a.finestra->variabili().ImmagineAperta);
        QTRY_VERIFY(!a.finestra->finestraImmagine());
    }

    // The picture list shows only pictures; a click shows one, "Inserisci"
    // associates it; the file dialog keeps only the name.
    void associazioni()
    {
        Ambiente a;
        for (const char *nome : {"b.JPG", "c.jpeg", "d.txt", "e.png"})
            a.cartella.scrivi(QStringLiteral("Pics/") + QLatin1String(nome), "x");
        scriviImmagine(a.cartella, QStringLiteral("Pics/a.bmp"), 10, 10, Qt::magenta);
        prepara(a);
        auto *flp = a.w<QListWidget>("FLP");
        QStringList elenco;
        for (int i = 0; i < flp->count(); ++i)
            elenco << flp->item(i)->text();
        QCOMPARE(elenco, QStringList({"a.bmp", "b.JPG", "c.jpeg"}));
        a.premi("new");
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(flp->item(0)).center());
        QCOMPARE(a.messaggio(), a.messaggio(7));
        QVERIFY(simile(a.riquadro().pixelColor(200, 200), Qt::magenta));
        QCOMPARE(a.testo("txPic"), QString());
        QTest::mouseClick(a.w("btnAddJPG"), Qt::LeftButton);
        QCOMPARE(a.testo("txPic"), QStringLiteral("a.bmp"));
        a.dialoghi.setNextFile(QStringLiteral("/altrove/c.jpeg"));
        QTest::mouseClick(a.w("btnLoadPic"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.dialoghiFile().last().cartella, a.stato.percorsi.CartellaPics);
        QCOMPARE(a.dialoghi.dialoghiFile().last().filtro, QStringLiteral("Images|*.jpg;*.jpeg;*.bmp"));
        QCOMPARE(a.testo("txPic"), QStringLiteral("c.jpeg"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void apriDatasheet_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("visore"); // the viewer file exists
        QTest::addColumn<bool>("avvioRiesce");
        QTest::addColumn<bool>("documentoRiesce");
        QTest::newRow("visore") << "bc547.pdf" << true << true << true;
        QTest::newRow("spazio nel nome") << "data sheet bc547.pdf" << true << true << true;
        QTest::newRow("caratteri di shell") << "a\"; rm -rf ~; $(x) & b.pdf" << true << true << true;
        QTest::newRow("visore mancante") << "bc547.pdf" << false << true << true;
        QTest::newRow("visore non parte") << "bc547.pdf" << true << false << true;
        QTest::newRow("niente funziona") << "bc547.pdf" << true << false << false;
    }
    void apriDatasheet()
    {
        QFETCH(QString, nome);
        QFETCH(bool, visore);
        QFETCH(bool, avvioRiesce);
        QFETCH(bool, documentoRiesce);
        Ambiente a;
        if (visore)
            a.cartella.scrivi(QStringLiteral("Sumatra/SumatraPDF.exe"), "MZ");
        prepara(a);
        a.stato.Componenti[1].Datasheet = nome;
        a.dialoghi.impostaEsitoAvvio(avvioRiesce);
        a.dialoghi.impostaEsitoDocumento(documentoRiesce);
        a.clicRiga(3, 0);
        const QString documento = a.stato.percorsi.CartellaDatasheet + nome;
        if (!documentoRiesce)
            a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("pdf");
        QCOMPARE(a.dialoghi.programmiAvviati().size(), visore ? 1 : 0);
        if (visore) {
            QCOMPARE(a.dialoghi.programmiAvviati()[0].programma,
                     a.cartella.percorso() + QStringLiteral("/Sumatra/SumatraPDF.exe"));
            QCOMPARE(a.dialoghi.programmiAvviati()[0].argomenti, QStringList{documento});
        }
        QCOMPARE(a.dialoghi.documentiAperti(), visore && avvioRiesce ? QStringList() : QStringList{documento});
        if (!documentoRiesce)
            verificaBox(a.dialoghi, QStringLiteral("Errore nelle visualizzazione del PDF"), QString(), Icona::Critica,
                        Pulsanti::Ok);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Kept last: quitting ends the event loops of the whole test program.
    void esciConFinestraImmagineAperta()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/grande.bmp"), 300, 200, Qt::cyan);
        prepara(a, QStringLiteral("grande.bmp"));
        a.clicRiga(3, 0);
        QPointer<FrmPicture> aperta;
        conFinestraAperta(a, [&] {
            aperta = a.finestra->finestraImmagine();
            a.premi("exit");
        });
        QVERIFY(!a.finestra->isVisible());
        QVERIFY(!aperta || !aperta->isVisible());
        QVERIFY(!a.finestra->variabili().ImmagineAperta);
        QVERIFY(a.cartella.esiste(QStringLiteral("Componenti.dat")));
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainImmagini)
#include "tst_frmmain_immagini.moc"
