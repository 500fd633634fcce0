// Showing a component, drawing pictures in both modes (checked on the
// pixels of the picture box), the picture window, the picture file list,
// the association buttons and dialogs, and opening datasheets.

#include "ambiente.h"

#include "ui/main/frmpicture.h"

using namespace prova;

namespace {

const QString TestoGrande = QStringLiteral("Doppio click per aprire l'immagine in una finestra dedicata");

bool simile(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40
           && std::abs(a.blue() - b.blue()) < 40;
}

} // namespace

class TestFrmMainImmagini : public QObject {
    Q_OBJECT

    // The table of five plus details on BC547C (position 2, row 3 once sorted).
    static void prepara(Ambiente &a, const QString &immagine = QString())
    {
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        Componente &c = a.stato.Componenti[1];
        c.IDPackage = 1;
        c.Pins = 14;
        c.Descrizione = QStringLiteral("Transistor NPN");
        c.Note = QStringLiteral("cassetto 4");
        c.Datasheet = QStringLiteral("bc547.pdf");
        c.Immagine = immagine;
        c.Extra1 = QStringLiteral("50");
        c.Extra2 = QStringLiteral("due");
        c.Extra6 = QStringLiteral("sei");
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        scriviImmagine(a.cartella, QStringLiteral("Packages/dip14.bmp"), 40, 20, Qt::blue);
        a.apri();
    }
    static QString testo(const Ambiente &a, const char *nome) { return a.w<QLineEdit>(QLatin1String(nome))->text(); }
    static QImage riquadro(const Ambiente &a) { return a.w<QLabel>(QStringLiteral("pic"))->pixmap().toImage(); }
    static QLabel *suggerimento(const Ambiente &a) { return a.w<QLabel>(QStringLiteral("lblRedimPic")); }
    static QColor coloreSuggerimento(const Ambiente &a) { return suggerimento(a)->palette().color(QPalette::Window); }

private slots:
    void mostraComponente()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/bc547.bmp"), 50, 40, Qt::yellow);
        prepara(a, QStringLiteral("bc547.bmp"));
        a.clicRiga(3, 0);
        QCOMPARE(a.finestra->variabili().PosCorrente, 2);
        QCOMPARE(a.w<QComboBox>(QStringLiteral("cmbTipo"))->currentText(), QStringLiteral("TR"));
        QCOMPARE(a.w<QComboBox>(QStringLiteral("cmbPack"))->currentText(), QStringLiteral("DIP14"));
        QCOMPARE(testo(a, "txPins"), QStringLiteral("14"));
        QCOMPARE(testo(a, "txPackDesc"), QStringLiteral("Dual in line 14"));
        QVERIFY(!a.w<QLabel>(QStringLiteral("imgPack"))->pixmap().isNull());
        QCOMPARE(testo(a, "txCodice"), QStringLiteral("BC547C"));
        QCOMPARE(testo(a, "txQty"), QStringLiteral("100"));
        QCOMPARE(testo(a, "txNote"), QStringLiteral("cassetto 4"));
        QCOMPARE(testo(a, "txDesc"), QStringLiteral("Transistor NPN"));
        QCOMPARE(testo(a, "txPDF"), QStringLiteral("bc547.pdf"));
        QCOMPARE(testo(a, "txPic"), QStringLiteral("bc547.bmp"));
        QCOMPARE(testo(a, "txDatains"), QStringLiteral("15/01/2023"));
        QCOMPARE(testo(a, "txExtra1"), QStringLiteral("50"));
        QCOMPARE(testo(a, "txExtra2"), QStringLiteral("due"));
        QCOMPARE(testo(a, "txExtra3"), QString());
        QCOMPARE(testo(a, "txExtra6"), QStringLiteral("sei"));
        auto *lp = a.w<QListWidget>(QStringLiteral("LP"));
        QCOMPARE(lp->currentItem()->text(), QStringLiteral("ST"));
        QVERIFY(lp->currentItem()->isSelected());
        QVERIFY(a.w(QStringLiteral("btnClearJPG"))->isEnabledTo(a.w(QStringLiteral("fmImm"))));
        QVERIFY(a.w(QStringLiteral("btnClearPDF"))->isEnabledTo(a.w(QStringLiteral("fmImm"))));
        QVERIFY(a.bottone(QStringLiteral("pdf"))->isEnabled());
        QVERIFY(simile(riquadro(a).pixelColor(200, 200), Qt::yellow));

        // Another component without package, picture or datasheet.
        a.clicRiga(5, 0); // NE555
        QCOMPARE(a.w<QComboBox>(QStringLiteral("cmbPack"))->currentText(), QString());
        QCOMPARE(testo(a, "txPackDesc"), QString());
        QVERIFY(a.w<QLabel>(QStringLiteral("imgPack"))->pixmap().isNull());
        QVERIFY(!a.w(QStringLiteral("btnClearJPG"))->isEnabledTo(a.w(QStringLiteral("fmImm"))));
        QVERIFY(!a.bottone(QStringLiteral("pdf"))->isEnabled());
        QCOMPARE(lp->currentItem()->text(), QStringLiteral("TI"));
    }

    void produttoreNonInElenco()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        // Renamed in the tables after the component was stored: found by ID.
        a.stato.Produttori[1].Nome = QStringLiteral("STMicro");
        // Not in the table at all: nothing is selected.
        a.stato.Componenti[0].NomeProduttore = QStringLiteral("Sconosciuto");
        a.stato.Componenti[0].IDProduttore = 77;
        a.apri();
        auto *lp = a.w<QListWidget>(QStringLiteral("LP"));
        a.clicRiga(3, 0); // BC547C, stored as "ST"
        QCOMPARE(lp->currentItem()->text(), QStringLiteral("STMicro"));
        a.clicRiga(5, 0); // NE555, "Sconosciuto"
        QVERIFY(lp->selectedItems().isEmpty());
        // Editing it keeps the manufacturer empty rather than picking another.
        a.bottone(QStringLiteral("edit"))->trigger();
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.stato.componente(1).NomeProduttore, QString());
        QCOMPARE(a.stato.componente(1).IDProduttore, 0);
    }

    void pinSenzaPackageNonSiPerdono()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        a.stato.Componenti[0].Pins = 8; // NE555, no package
        a.apri();
        a.clicRiga(5, 0);
        QCOMPARE(testo(a, "txPins"), QStringLiteral("8"));
        a.bottone(QStringLiteral("edit"))->trigger();
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.stato.componente(1).Pins, 8);
    }

    void sfondoQuandoNonCeImmagine()
    {
        Ambiente a;
        prepara(a);
        a.clicRiga(3, 0);
        const QImage img = riquadro(a);
        QCOMPARE(img.size(), QSize(443, 359));
        QVERIFY(simile(img.pixelColor(5, 5), Qt::red));
        QVERIFY(simile(img.pixelColor(29, 19), Qt::red));
        QVERIFY(!simile(img.pixelColor(100, 100), Qt::red)); // natural size, not stretched
        QVERIFY(suggerimento(a)->text().isEmpty());
        QCOMPARE(coloreSuggerimento(a), QColor(128, 128, 128));
    }

    void backJpgInPics_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QColor>("atteso");
        QTest::newRow("back.jpg: quello del programma") << "back.jpg" << QColor(Qt::red);
        QTest::newRow("Back.jpg: quello di Pics") << "Back.jpg" << QColor(Qt::green);
    }
    void backJpgInPics()
    {
        QFETCH(QString, nome);
        QFETCH(QColor, atteso);
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/") + nome, 30, 20, Qt::green, "JPG");
        prepara(a, nome);
        a.clicRiga(3, 0);
        QVERIFY(simile(riquadro(a).pixelColor(10, 10), atteso));
    }

    void modiDelleImmagini_data()
    {
        QTest::addColumn<bool>("reali");
        QTest::addColumn<int>("larghezza");
        QTest::addColumn<int>("altezza");
        QTest::addColumn<QList<QPoint>>("rossi");  // left half of the picture
        QTest::addColumn<QList<QPoint>>("verdi");  // right half
        QTest::addColumn<QList<QPoint>>("fuori");  // not covered by the picture
        QTest::addColumn<bool>("grande");
        // Fitted: stretched over the whole 443 x 359 box, either way.
        QTest::newRow("adattata 100x50") << false << 100 << 50 << QList<QPoint>{{2, 2}, {200, 350}}
                                         << QList<QPoint>{{240, 2}, {440, 356}} << QList<QPoint>{} << false;
        QTest::newRow("adattata 1000x200") << false << 1000 << 200 << QList<QPoint>{{2, 2}, {200, 350}}
                                           << QList<QPoint>{{240, 2}, {440, 356}} << QList<QPoint>{} << true;
        // Real size: top-left corner, natural size, cut to the box.
        QTest::newRow("reale 100x50") << true << 100 << 50 << QList<QPoint>{{2, 2}, {48, 48}}
                                      << QList<QPoint>{{52, 2}, {98, 48}} << QList<QPoint>{{102, 2}, {2, 52}, {300, 300}}
                                      << false;
        QTest::newRow("reale 1000x200") << true << 1000 << 200 << QList<QPoint>{{2, 2}, {440, 198}}
                                        << QList<QPoint>{} << QList<QPoint>{{2, 202}, {440, 356}} << true;
    }
    void modiDelleImmagini()
    {
        QFETCH(bool, reali);
        QFETCH(int, larghezza);
        QFETCH(int, altezza);
        QFETCH(QList<QPoint>, rossi);
        QFETCH(QList<QPoint>, verdi);
        QFETCH(QList<QPoint>, fuori);
        QFETCH(bool, grande);
        Ambiente a;
        a.stato.ImmaginiReali = reali;
        scriviImmagineDivisa(a.cartella, QStringLiteral("Pics/prova.bmp"), larghezza, altezza, Qt::red, Qt::green);
        prepara(a, QStringLiteral("prova.bmp"));
        a.clicRiga(3, 0);
        const QImage img = riquadro(a);
        QCOMPARE(img.size(), QSize(443, 359));
        for (const QPoint &p : rossi)
            QVERIFY2(simile(img.pixelColor(p), Qt::red), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint &p : verdi)
            QVERIFY2(simile(img.pixelColor(p), Qt::green), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint &p : fuori) {
            QVERIFY(!simile(img.pixelColor(p), Qt::red));
            QVERIFY(!simile(img.pixelColor(p), Qt::green));
        }
        QCOMPARE(suggerimento(a)->text(), grande ? TestoGrande : QString());
        QCOMPARE(coloreSuggerimento(a), grande ? QColor(0, 128, 0) : QColor(128, 128, 128));
    }

    void fileCheNonEImmagine()
    {
        Ambiente a;
        a.cartella.scrivi(QStringLiteral("Pics/rotto.jpg"), "non sono una immagine");
        prepara(a, QStringLiteral("rotto.jpg"));
        a.clicRiga(3, 0);
        QVERIFY(a.w<QLabel>(QStringLiteral("pic"))->pixmap().isNull());
        QCOMPARE(coloreSuggerimento(a), QColor(128, 128, 128));
        // No picture window either, and no wait.
        QTest::mouseDClick(a.w(QStringLiteral("pic")), Qt::LeftButton);
        QVERIFY(!a.finestra->finestraImmagine());
        QVERIFY(!a.finestra->variabili().ImmagineAperta);
    }

    void finestraImmagine_data()
    {
        QTest::addColumn<bool>("conClic");
        QTest::newRow("clic sull'immagine") << true;
        QTest::newRow("chiusura della finestra") << false;
    }
    void finestraImmagine()
    {
        QFETCH(bool, conClic);
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/grande.bmp"), 300, 200, Qt::cyan);
        prepara(a, QStringLiteral("grande.bmp"));
        a.finestra->move(120, 80);
        a.clicRiga(3, 0);

        bool controllato = false;
        QTimer::singleShot(0, this, [&] {
            FrmPicture *fp = a.finestra->finestraImmagine();
            QVERIFY(fp);
            QVERIFY(a.finestra->variabili().ImmagineAperta);
            QCOMPARE(fp->windowTitle(), QStringLiteral(" >>> Click to close <<<"));
            QCOMPARE(fp->frameGeometry().size(), QSize(316, 240));
            QCOMPARE(fp->frameGeometry().topLeft(), a.finestra->frameGeometry().topLeft() + QPoint(4, 98));
            auto *imm = fp->findChild<QLabel *>(QStringLiteral("imm"));
            QVERIFY(imm);
            QCOMPARE(imm->geometry(), QRect(4, 4, 300, 200));
            controllato = true;
            if (conClic)
                QTest::mouseClick(imm, Qt::LeftButton, {}, QPoint(10, 10));
            else
                fp->close();
        });
        // Returns only once the picture window is gone.
        QTest::mouseDClick(a.w(QStringLiteral("pic")), Qt::LeftButton);
        QVERIFY(controllato);
        QVERIFY(!a.finestra->variabili().ImmagineAperta);
        QTRY_VERIFY(!a.finestra->finestraImmagine());
    }

    void finestraPrincipaleUsabileMentreAperta()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/grande.bmp"), 300, 200, Qt::cyan);
        prepara(a, QStringLiteral("grande.bmp"));
        a.clicRiga(3, 0);
        QString mostrato;
        QTimer::singleShot(0, this, [&] {
            // The main window keeps serving the user while the picture is open.
            a.clicRiga(5, 0);
            mostrato = a.w<QLineEdit>(QStringLiteral("txCodice"))->text();
            QVERIFY(a.finestra->variabili().ImmagineAperta);
            a.finestra->finestraImmagine()->close();
        });
        QTest::mouseDClick(a.w(QStringLiteral("pic")), Qt::LeftButton);
        QCOMPARE(mostrato, QStringLiteral("NE555"));
        QVERIFY(!a.finestra->variabili().ImmagineAperta);
    }

    void doppioClicSenzaComponente()
    {
        Ambiente a;
        prepara(a);
        QTest::mouseDClick(a.w(QStringLiteral("pic")), Qt::LeftButton);
        QVERIFY(!a.finestra->finestraImmagine());
    }

    void listaDelleImmagini()
    {
        Ambiente a;
        for (const char *nome : {"b.JPG", "a.bmp", "c.jpeg", "d.txt", "e.png"})
            a.cartella.scrivi(QStringLiteral("Pics/") + QLatin1String(nome), "x");
        scriviImmagine(a.cartella, QStringLiteral("Pics/a.bmp"), 10, 10, Qt::magenta);
        prepara(a);
        auto *flp = a.w<QListWidget>(QStringLiteral("FLP"));
        auto elenco = [flp] {
            QStringList n;
            for (int i = 0; i < flp->count(); ++i)
                n << flp->item(i)->text();
            return n;
        };
        QCOMPARE(elenco(), QStringList({"a.bmp", "b.JPG", "c.jpeg"}));

        // Reloaded by a right press, a click on txPic and the menu.
        a.cartella.scrivi(QStringLiteral("Pics/a0.jpg"), "x");
        a.bottone(QStringLiteral("new"))->trigger();
        QTest::mouseClick(flp->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(elenco(), QStringList({"a.bmp", "a0.jpg", "b.JPG", "c.jpeg"}));
        a.cartella.scrivi(QStringLiteral("Pics/a1.bmp"), "x");
        QTest::mouseClick(a.w(QStringLiteral("txPic")), Qt::LeftButton);
        QCOMPARE(elenco().size(), 5);
        a.cartella.scrivi(QStringLiteral("Pics/a2.bmp"), "x");
        a.azione(QStringLiteral("mnuImg(0)"))->trigger();
        QCOMPARE(elenco().size(), 6);

        // "Inserisci" before anything was picked empties the name.
        a.w<QLineEdit>(QStringLiteral("txPic"))->setText(QStringLiteral("vecchia.bmp"));
        QVERIFY(!a.w(QStringLiteral("btnAddJPG"))->isEnabled());
        QMetaObject::invokeMethod(a.w<QPushButton>(QStringLiteral("btnAddJPG")), "clicked");
        QCOMPARE(testo(a, "txPic"), QString());

        // A click picks and shows the file; "Inserisci" associates it.
        QListWidgetItem *voce = flp->findItems(QStringLiteral("a.bmp"), Qt::MatchExactly).first();
        flp->scrollToItem(voce);
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(voce).center());
        QCOMPARE(a.finestra->variabili().ImmagineScelta, QStringLiteral("a.bmp"));
        QCOMPARE(a.messaggio(), a.finestra->messaggi()[7]);
        QVERIFY(simile(riquadro(a).pixelColor(200, 200), Qt::magenta));
        QVERIFY(a.w(QStringLiteral("btnAddJPG"))->isEnabled());
        QCOMPARE(testo(a, "txPic"), QString());
        QTest::mouseClick(a.w(QStringLiteral("btnAddJPG")), Qt::LeftButton);
        QCOMPARE(testo(a, "txPic"), QStringLiteral("a.bmp"));

        // A double click associates at once.
        QListWidgetItem *altra = flp->findItems(QStringLiteral("c.jpeg"), Qt::MatchExactly).first();
        flp->scrollToItem(altra);
        const QPoint centro = flp->visualItemRect(altra).center();
        // A real double click: press and release, then the double click.
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, centro);
        QTest::mouseDClick(flp->viewport(), Qt::LeftButton, {}, centro);
        QCOMPARE(testo(a, "txPic"), QStringLiteral("c.jpeg"));
        // c.jpeg is no picture: the box is left empty.
        QVERIFY(a.w<QLabel>(QStringLiteral("pic"))->pixmap().isNull());

        // Saving with a picture forgets the pick.
        a.w<QLineEdit>(QStringLiteral("txCodice"))->setText(QStringLiteral("X1"));
        a.w<QLineEdit>(QStringLiteral("txQty"))->setText(QStringLiteral("1"));
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.finestra->variabili().ImmagineScelta, QString());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void pulsantiDiAssociazione()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/x.bmp"), 10, 10, Qt::green);
        scriviImmagine(a.cartella, QStringLiteral("Pics/y.bmp"), 10, 10, Qt::blue);
        prepara(a, QStringLiteral("y.bmp"));
        a.clicRiga(3, 0);
        a.bottone(QStringLiteral("edit"))->trigger();

        // Picture dialog: starting folder, filter, only the name is kept.
        a.dialoghi.setNextFile(QStringLiteral("/altrove/x.bmp"));
        QTest::mouseClick(a.w(QStringLiteral("btnLoadPic")), Qt::LeftButton);
        QCOMPARE(a.dialoghi.dialoghiFile().last().cartella, a.stato.percorsi.CartellaPics);
        QCOMPARE(a.dialoghi.dialoghiFile().last().filtro, QStringLiteral("Images|*.jpg;*.jpeg;*.bmp"));
        QCOMPARE(testo(a, "txPic"), QStringLiteral("x.bmp"));
        QVERIFY(simile(riquadro(a).pixelColor(100, 100), Qt::green));
        QCOMPARE(a.finestra->focusWidget(), a.w(QStringLiteral("pic")));
        // Cancelled: nothing changes.
        a.dialoghi.setNextFile(QString());
        QTest::mouseClick(a.w(QStringLiteral("btnLoadPic")), Qt::LeftButton);
        QCOMPARE(testo(a, "txPic"), QStringLiteral("x.bmp"));

        // Datasheet dialog.
        a.dialoghi.setNextFile(a.stato.percorsi.CartellaDatasheet + QStringLiteral("nuovo foglio.pdf"));
        QTest::mouseClick(a.w(QStringLiteral("btnLoadPDF")), Qt::LeftButton);
        QCOMPARE(a.dialoghi.dialoghiFile().last().cartella, a.stato.percorsi.CartellaDatasheet);
        QCOMPARE(a.dialoghi.dialoghiFile().last().filtro, QStringLiteral("File Acrobat|*.pdf"));
        QCOMPARE(testo(a, "txPDF"), QStringLiteral("nuovo foglio.pdf"));

        // Clearing.
        QTest::mouseClick(a.w(QStringLiteral("btnClearPDF")), Qt::LeftButton);
        QCOMPARE(testo(a, "txPDF"), QString());
        QTest::mouseClick(a.w(QStringLiteral("btnClearJPG")), Qt::LeftButton);
        QCOMPARE(testo(a, "txPic"), QString());
        QVERIFY(simile(riquadro(a).pixelColor(5, 5), Qt::red)); // the placeholder

        // The package's ID into the pins on a double click.
        auto *pack = a.w<QComboBox>(QStringLiteral("cmbPack"));
        pack->setEditText(QStringLiteral("TO92"));
        QTest::mouseDClick(pack->lineEdit(), Qt::LeftButton);
        QCOMPARE(testo(a, "txPins"), QStringLiteral("2"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void pulsantiSenzaComponente()
    {
        Ambiente a;
        prepara(a);
        // Editing with no current component: the buttons do nothing.
        a.azione(QStringLiteral("mnuEdit"))->trigger();
        a.w<QLineEdit>(QStringLiteral("txPDF"))->setText(QStringLiteral("a.pdf"));
        for (const char *nome : {"btnLoadPic", "btnLoadPDF", "btnClearPDF"})
            QTest::mouseClick(a.w(QLatin1String(nome)), Qt::LeftButton);
        QVERIFY(a.dialoghi.dialoghiFile().isEmpty());
        QCOMPARE(testo(a, "txPDF"), QStringLiteral("a.pdf"));

        // Entering the very first component: they work.
        Ambiente b;
        riempiTabelle(b.stato);
        b.apri();
        b.bottone(QStringLiteral("new"))->trigger();
        b.dialoghi.setNextFile(b.stato.percorsi.CartellaDatasheet + QStringLiteral("a.pdf"));
        QTest::mouseClick(b.w(QStringLiteral("btnLoadPDF")), Qt::LeftButton);
        QCOMPARE(b.w<QLineEdit>(QStringLiteral("txPDF"))->text(), QStringLiteral("a.pdf"));
        VERIFICA_DIALOGHI(a.dialoghi);
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    void apriDatasheet_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("visore");      // the viewer file exists
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
        if (!documentoRiesce && !avvioRiesce)
            a.dialoghi.setNextAnswer(Risposta::Ok);

        a.bottone(QStringLiteral("pdf"))->trigger();

        if (visore) {
            QCOMPARE(a.dialoghi.programmiAvviati().size(), 1);
            QCOMPARE(a.dialoghi.programmiAvviati()[0].programma,
                     a.cartella.percorso() + QStringLiteral("/Sumatra/SumatraPDF.exe"));
            QCOMPARE(a.dialoghi.programmiAvviati()[0].argomenti, QStringList{documento});
        } else {
            QVERIFY(a.dialoghi.programmiAvviati().isEmpty());
        }
        if (visore && avvioRiesce)
            QVERIFY(a.dialoghi.documentiAperti().isEmpty());
        else
            QCOMPARE(a.dialoghi.documentiAperti(), QStringList{documento});
        if (!documentoRiesce && !avvioRiesce) {
            QCOMPARE(a.dialoghi.boxes().size(), 1);
            QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nelle visualizzazione del PDF"));
            QCOMPARE(a.dialoghi.ultimoBox().icona, Icona::Critica);
            QCOMPARE(a.dialoghi.ultimoBox().pulsanti, Pulsanti::Ok);
            QVERIFY(a.dialoghi.ultimoBox().titolo.isEmpty());
        }
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void datasheetDalCampoSalvato()
    {
        Ambiente a;
        a.cartella.scrivi(QStringLiteral("Sumatra/SumatraPDF.exe"), "MZ");
        prepara(a);
        a.clicRiga(3, 0);
        a.bottone(QStringLiteral("edit"))->trigger();
        a.w<QLineEdit>(QStringLiteral("txPDF"))->setText(QStringLiteral("altro.pdf"));
        a.azione(QStringLiteral("mnuImg(1)"))->trigger();
        QCOMPARE(a.dialoghi.programmiAvviati().size(), 1);
        QCOMPARE(a.dialoghi.programmiAvviati()[0].argomenti,
                 QStringList{a.stato.percorsi.CartellaDatasheet + QStringLiteral("bc547.pdf")});
        // No component shown: nothing.
        a.bottone(QStringLiteral("undo"))->trigger();
        a.bottone(QStringLiteral("reselect"))->trigger();
        a.azione(QStringLiteral("mnuImg(1)"))->trigger();
        QCOMPARE(a.dialoghi.programmiAvviati().size(), 1);
    }

    // Kept last: quitting ends the event loops of the whole test program.
    void esciConFinestraImmagineAperta()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/grande.bmp"), 300, 200, Qt::cyan);
        prepara(a, QStringLiteral("grande.bmp"));
        a.clicRiga(3, 0);
        QPointer<FrmPicture> aperta;
        QTimer::singleShot(0, this, [&] {
            aperta = a.finestra->finestraImmagine();
            a.bottone(QStringLiteral("exit"))->trigger();
        });
        QTest::mouseDClick(a.w(QStringLiteral("pic")), Qt::LeftButton);
        QVERIFY(!a.finestra->isVisible());
        QVERIFY(!aperta || !aperta->isVisible());
        QVERIFY(!a.finestra->variabili().ImmagineAperta);
        QVERIFY(a.cartella.esiste(QStringLiteral("Componenti.dat")));
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainImmagini)
#include "tst_frmmain_immagini.moc"
