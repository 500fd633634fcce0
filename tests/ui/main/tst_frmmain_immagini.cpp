// Showing a component and its pictures (checked on the pixels of the box),
// the picture window and list, picture and datasheet associations, opening
// datasheets, names leading out of their folder or to special files, and
// the display options with their marks and persistence.

#include "ambiente.h"

#include "common/fifosorvegliata.h"
#include "store/ini.h"
#include "startup/avvio.h"
#include "ui/main/frmpicture.h"
#include "ui/widgets/immagineincartella.h"

#include <QImageWriter>

using namespace prova;

namespace {

// A red picture of 1 x 1 pixel in GIF, a format Qt reads but does not write.
const QByteArray GifRosso =
    QByteArray::fromHex("47494638396101000100800000ff000000000021f90400000000002c00000000010001000002024401003b");

// A double click on the picture box that should open no picture window (one
// that opens all the same is closed at once: the test fails, it never waits).
bool apreFinestra(Ambiente &a)
{
    bool aperta = false;
    QTimer guardia;
    guardia.setSingleShot(true);
    QObject::connect(&guardia, &QTimer::timeout, [&] {
        if (FrmPicture *fp = a.finestra->finestraImmagine()) {
            aperta = true;
            fp->close();
        }
    });
    guardia.start(0);
    a.doppioClic("pic");
    return aperta || a.finestra->finestraImmagine() || a.finestra->variabili().ImmagineAperta;
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
    static void prepara(Caso &a, const QString &immagine = QString())
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
    // Opens the picture window with a double click and runs azione while it
    // is open, closing it after (a failed check in azione leaves it open);
    // then checks that azione ran to its end and that the window is gone.
    void conFinestraAperta(Caso &a, const std::function<void()> &azione)
    {
        bool finita = false;
        QTimer::singleShot(0, this, [&a, &finita, azione] {
            azione();
            finita = !QTest::currentTestFailed();
            if (FrmPicture *aperta = a.finestra->finestraImmagine())
                aperta->close();
        });
        a.doppioClic("pic");
        QVERIFY(finita);
        QVERIFY(!a.finestra->variabili().ImmagineAperta);
        QTRY_VERIFY(!a.finestra->finestraImmagine());
    }
    // BC547C (position 2, row 3) with no picture or datasheet, being edited.
    static void inModifica(Caso &a)
    {
        cinqueComponenti(a.stato);
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        a.apri();
        a.clicRiga(3, 0);
        a.premi("edit");
    }

private slots:
    // Each command twice (chosen again, a mark stays), then the marks; a
    // separator other than "," and ";" ticks neither CSV item. Nothing is
    // written until the next save (a deletion); a restart brings back the
    // options, the field of the minimum and the search in descriptions.
    void opzioni()
    {
        Caso a;
        cinqueComponenti(a.stato);
        a.stato.componente(5).Extra4 = QStringLiteral("20 pz"); // 74HC00: 12, under a minimum of 20
        a.stato.SeparatoreCSV = QStringLiteral("|");
        const FrmMain &f = a.apri();
        QCOMPARE(spunte(f), QStringLiteral("010010|01"));
        const QList<QPair<QString, QString>> passi = {
            {"imgstd", "100010|10"}, {"mnuImgMod", "010010|01"}, {"mnuImgReal", "100010|10"},
            {"imgrid", "010010|01"}, {"mnuCSV2", "010110|01"},   {"mnuCSV1", "011010|01"},
            {"mnuDark", "011001|01"}, {"mnuLight", "011010|01"}, {"mnuDark", "011001|01"},
            {"mnuCSV2", "010101|01"}, {"imgstd", "100101|10"}};
        for (const auto &[comando, attese] : passi) {
            a.comando(comando);
            a.comando(comando);
            QCOMPARE(spunte(f), attese);
        }
        a.menu(QStringLiteral("mnuCampoMinimo(4)"));
        a.menu(QStringLiteral("mnuCercaDesc"));
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
        QVERIFY(Figlio<QAction>(&f2, "mnuCampoMinimo(4)")->isChecked() && Figlio<QAction>(&f2, "mnuCercaDesc")->isChecked());
        QCOMPARE(Figlio<QLabel>(&f2, "numScorta")->text(), QStringLiteral("Sotto scorta 1"));
        VERIFICA_DIALOGHI(dialoghi2);
    }

    // A component shown in full. The pin count belongs to the component: it
    // shows, and the next save keeps it, with no package or with one gone
    // from the table. A manufacturer renamed since the component was saved
    // is found by its ID, and the next save keeps the component with it.
    void mostraComponente()
    {
        Caso a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/bc547.bmp"), 50, 40, Qt::yellow);
        prepara(a, QStringLiteral("bc547.bmp"));
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
        QVERIFY(lp->currentItem()->isSelected());
        QCOMPARE(lp->currentItem()->text(), QStringLiteral("ST"));
        QVERIFY(simile(a.riquadro().pixelColor(200, 200), Qt::yellow));
        const auto pinESalva = [&](int riga, int pos, const char *produttore) {
            a.clicRiga(riga, 0);
            QCOMPARE(a.testo("txPins") + '|' + a.w<QComboBox>("cmbPack")->currentText() + '|' + a.testo("txPackDesc"),
                     QStringLiteral("8||"));
            QVERIFY(a.w<QLabel>("imgPack")->pixmap().isNull());
            QVERIFY(lp->currentItem() && lp->currentItem()->isSelected());
            QCOMPARE(lp->currentItem()->text(), QLatin1String(produttore));
            a.premi("edit");
            a.premi("save");
            QCOMPARE(a.stato.componente(pos).Pins, 8);
        };
        // NE555: no package, picture or datasheet.
        a.stato.Componenti[0].Pins = 8;
        pinESalva(5, 1, "TI");
        a.clicRiga(5, 0);
        QVERIFY(!a.bottone("pdf")->isEnabled());
        // BC547C: its package gone from the table, its manufacturer renamed.
        a.stato.Componenti[1].IDPackage = 9;
        a.stato.Componenti[1].Pins = 8;
        a.stato.Produttori[1].Nome = QStringLiteral("STMICRO");
        a.finestra->CaricaTabelle();
        QCOMPARE(a.stato.componente(2).NomeProduttore, QStringLiteral("ST"));
        pinESalva(3, 2, "STMICRO");
        QCOMPARE(a.stato.componente(2).NomeProduttore + ' ' + QString::number(a.stato.componente(2).IDProduttore),
                 QStringLiteral("STMICRO 2"));
    }

    void sfondo_data()
    {
        // nome: the component's picture, written green into Pics; atteso: invalid: the box stays empty
        Colonne<QString, QColor>("nome", "atteso");
        QTest::newRow("senza immagine: back.jpg") << "" << QColor(Qt::red);
        QTest::newRow("back.jpg: quello del programma") << "back.jpg" << QColor(Qt::red);
        QTest::newRow("Back.jpg: quello di Pics") << "Back.jpg" << QColor(Qt::green);
        QTest::newRow("non e' un'immagine") << "rotto.jpg" << QColor();
    }
    void sfondo()
    {
        const auto [nome, atteso] = Valori<QString, QColor>("nome", "atteso");
        Caso a;
        if (nome == QLatin1String("rotto.jpg"))
            a.cartella.scrivi(QStringLiteral("Pics/rotto.jpg"), "non sono una immagine");
        else if (!nome.isEmpty())
            scriviImmagine(a.cartella, QStringLiteral("Pics/") + nome, 30, 20, Qt::green, "JPG");
        prepara(a, nome);
        a.clicRiga(3, 0);
        QCOMPARE(suggerimento(a), QColor(128, 128, 128));
        if (atteso.isValid()) {
            QVERIFY(simile(a.riquadro().pixelColor(10, 10), atteso));
            if (nome.isEmpty())
                QVERIFY(!simile(a.riquadro().pixelColor(100, 100), atteso)); // natural size, not stretched
            return;
        }
        QVERIFY(a.riquadro().isNull());
        QVERIFY(!apreFinestra(a));
    }

    void modiDelleImmagini_data()
    {
        // rossi: left half, right half, not covered by the picture
        Colonne<bool, QSize, QList<QPoint>, QList<QPoint>, QList<QPoint>>("reali", "dimensione", "rossi", "verdi",
                                                                          "fuori");
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
        const auto [reali, dimensione, rossi, verdi, fuori] =
            Valori<bool, QSize, QList<QPoint>, QList<QPoint>, QList<QPoint>>("reali", "dimensione", "rossi", "verdi",
                                                                             "fuori");
        Caso a;
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

    // A stored name leading out of Pics (or Packages), or to a FIFO there,
    // shows nothing in either mode: nothing opened or waited for, nothing
    // listed, no message, no picture window.
    void nomiNonMostrati_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::newRow("collegamento fuori") << "uscita.bmp";
        QTest::newRow("fifo") << "fifo.jpg";
    }
    void nomiNonMostrati()
    {
        QFETCH(QString, nome);
        Caso a;
        scriviImmagine(a.cartella, QStringLiteral("fuori.bmp"), 300, 200, Qt::cyan);
        scriviImmagine(a.cartella, QStringLiteral("Pics/vera.jpg"), 30, 20, Qt::green, "JPG");
        std::vector<std::unique_ptr<FifoSorvegliata>> fifo;
        for (const QString cartella : {"Pics/", "Packages/"}) {
            QVERIFY(
                QFile::link(a.cartella.file(QStringLiteral("fuori.bmp")), a.cartella.file(cartella + "uscita.bmp")));
            fifo.push_back(std::make_unique<FifoSorvegliata>(a.cartella.file(cartella + "fifo.jpg")));
            QVERIFY(fifo.back()->creata());
        }
        prepara(a, nome);
        a.stato.Packages[0].Immagine = nome;
        QCOMPARE(voci(a.w<QListWidget>("FLP")), QStringList{"vera.jpg"});
        for (const char *modo : {"imgrid", "imgstd"}) {
            a.comando(QLatin1String(modo));
            a.clicRiga(3, 0);
            QCOMPARE(a.testo("txPic"), nome);
            QVERIFY(a.riquadro().isNull());
            QVERIFY(a.w<QLabel>("imgPack")->pixmap().isNull());
            QCOMPARE(suggerimento(a), QColor(128, 128, 128));
            QVERIFY(!apreFinestra(a));
        }
        QVERIFY(a.dialoghi.boxes().isEmpty());
        for (const auto &f : fifo)
            QVERIFY(!f->aperta());
    }

    // "Nuovo" on an empty table: the picture and datasheet controls work for the very first component too
    // (locked while nothing is edited). The list shows only pictures; a click shows one, "Inserisci" takes it;
    // a file picked in its folder is taken by its name. A name holding a double quote, which the files cannot
    // keep, is refused with a message, by a double click or "Inserisci".
    void associazioniSuTabellaVuota()
    {
        Caso a;
        riempiTabelle(a.stato);
        for (const char *nome : {"b.JPG", "d.txt", "e.png"})
            a.cartella.scrivi(QStringLiteral("Pics/") + QLatin1String(nome), "x");
        scriviImmagine(a.cartella, QStringLiteral("Pics/c.jpeg"), 30, 20, Qt::yellow, "JPG");
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        scriviImmagine(a.cartella, QStringLiteral("Pics/a.bmp"), 30, 20, Qt::magenta);
        a.cartella.scrivi(QStringLiteral("Pics/a\"b.bmp"), "x");
        a.cartella.scrivi(QStringLiteral("Datasheet/d.pdf"), "%PDF-1.4\n");
        a.apri();
        auto *flp = a.w<QListWidget>("FLP");
        QCOMPARE(voci(flp), QStringList({"a\"b.bmp", "a.bmp", "b.JPG", "c.jpeg", "e.png"}));
        QVERIFY(!a.w("fmImm")->isEnabled());
        QVERIFY(!apreFinestra(a));
        a.premi("new");
        QCOMPARE(a.corrente(), 0);
        QVERIFY(a.w("fmImm")->isEnabled());
        const QPoint virgolette = flp->visualItemRect(flp->item(0)).center();
        for (const bool doppio : {true, false}) {
            a.dialoghi.setNextAnswer(Risposta::Ok);
            QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, virgolette); // a double click starts with a click
            if (doppio) {
                QTest::mouseDClick(flp->viewport(), Qt::LeftButton, {}, virgolette);
                QTest::mouseRelease(flp->viewport(), Qt::LeftButton, {}, virgolette);
            } else {
                a.clic("btnAddJPG");
            }
            VerificaBox(a.dialoghi,
                        QStringLiteral("Il nome del file scelto contiene le virgolette (\"), che l'archivio non può "
                                       "conservare: rinomina il file e sceglilo di nuovo."),
                        Icona::Esclamazione);
            a.dialoghi.dimentica();
            QCOMPARE(a.testo("txPic"), QString());
        }
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(flp->item(1)).center());
        QCOMPARE(a.messaggio(), a.messaggio(7));
        QVERIFY(simile(a.riquadro().pixelColor(200, 200), Qt::magenta));
        QCOMPARE(a.testo("txPic"), QString());
        a.clic("btnAddJPG");
        QCOMPARE(a.testo("txPic"), QStringLiteral("a.bmp"));
        // Files added, renamed or removed by others show within a second (2 s
        // for a busy machine); the picked entry stays picked.
        for (const char *nome : {"Pics/f.gif", "Pics/note.txt"})
            a.cartella.scrivi(QLatin1String(nome), "x");
        QVERIFY(QFile::rename(a.cartella.file(QStringLiteral("Pics/e.png")),
                              a.cartella.file(QStringLiteral("Pics/z.png"))));
        QVERIFY(QFile::remove(a.cartella.file(QStringLiteral("Pics/b.JPG"))));
        QTRY_COMPARE_WITH_TIMEOUT(voci(flp), QStringList({"a\"b.bmp", "a.bmp", "c.jpeg", "f.gif", "z.png"}), 2000);
        QVERIFY(flp->currentItem()->isSelected());
        QCOMPARE(flp->currentItem()->text(), QStringLiteral("a.bmp"));
        a.dialoghi.setNextFile(a.cartella.file(QStringLiteral("Pics/c.jpeg")));
        a.clic("btnLoadPic");
        QCOMPARE(a.dialoghi.dialoghiFile().last().cartella, a.stato.percorsi.CartellaPics);
        QVERIFY(a.dialoghi.dialoghiFile().last().filtro.startsWith(QStringLiteral("Images|*.jpg;*.jpeg;*.bmp;")));
        QCOMPARE(a.testo("txPic"), QStringLiteral("c.jpeg"));
        QVERIFY(simile(a.riquadro().pixelColor(200, 200), Qt::yellow));
        a.dialoghi.setNextFile(a.cartella.file(QStringLiteral("Datasheet/d.pdf")));
        a.clic("btnLoadPDF");
        QCOMPARE(a.testo("txPDF"), QStringLiteral("d.pdf"));
        a.scrivi("txCodice", QStringLiteral("NE555"));
        a.scrivi("txQty", QStringLiteral("3"));
        a.w<QComboBox>("cmbTipo")->setEditText(QStringLiteral("IC"));
        a.w<QListWidget>("LP")->setCurrentRow(0);
        a.premi("save");
        QCOMPARE(a.stato.NumComponenti, 1);
        QCOMPARE(a.stato.componente(1).Immagine + '|' + a.stato.componente(1).Datasheet, QStringLiteral("c.jpeg|d.pdf"));
    }

    // The viewer gets any name inside the folder, even of a missing file; the
    // desktop's opener, when the viewer is missing or fails, only a real PDF
    // of the folder (tst_fileincartella checks which). Else the message.
    void apriDatasheet_data()
    {
        // visore: the viewer file exists; avviato: the viewer started on Datasheet/nome; aperto: asked of the
        // desktop's opener, in the program folder
        Colonne<QString, bool, bool, bool, bool, QString>("nome", "visore", "avvioRiesce", "documentoRiesce", "avviato",
                                                          "aperto");
        QTest::newRow("visore") << "bc547.pdf" << true << true << true << true << "";
        QTest::newRow("visore, pdf mancante") << "manca.pdf" << true << true << true << true << "";
        QTest::newRow("spazio nel nome") << "data sheet bc547.pdf" << true << true << true << true << "";
        QTest::newRow("visore mancante") << "bc547.pdf" << false << true << true << false << "Datasheet/bc547.pdf";
        QTest::newRow("visore non parte") << "bc547.pdf" << true << false << true << true << "Datasheet/bc547.pdf";
        QTest::newRow("niente funziona") << "bc547.pdf" << true << false << false << true << "Datasheet/bc547.pdf";
        QTest::newRow("collegamento dentro") << "alias.pdf" << false << true << true << false << "Datasheet/bc547.pdf";
        // Refused by the opener (not a PDF), and by the viewer too where it leads out or to a FIFO.
        QTest::newRow("non e' un pdf") << "script.pdf" << false << true << true << false << "";
        for (const char *n : {"../fuori.pdf", "fifo.pdf"})
            QTest::addRow("visore, %s", n) << QString::fromLatin1(n) << true << true << true << false << "";
    }
    void apriDatasheet()
    {
        const auto [nome, visore, avvioRiesce, documentoRiesce, avviato, aperto] =
            Valori<QString, bool, bool, bool, bool, QString>("nome", "visore", "avvioRiesce", "documentoRiesce",
                                                             "avviato", "aperto");
        Caso a;
        a.cartella.scrivi(QStringLiteral("Datasheet/bc547.pdf"), "%PDF-1.4\n");
        a.cartella.scrivi(QStringLiteral("Datasheet/script.pdf"), "#!/bin/sh\n");
        const QString ds = a.stato.percorsi.CartellaDatasheet;
        QVERIFY(QFile::link(QStringLiteral("bc547.pdf"), ds + QStringLiteral("alias.pdf")));
        FifoSorvegliata fifo(ds + QStringLiteral("fifo.pdf"));
        QVERIFY(fifo.creata());
        if (visore)
            a.cartella.scrivi(QStringLiteral("Sumatra/SumatraPDF.exe"), "MZ");
        prepara(a);
        a.stato.Componenti[1].Datasheet = nome;
        a.dialoghi.impostaEsitoAvvio(avvioRiesce);
        a.dialoghi.impostaEsitoDocumento(documentoRiesce);
        a.clicRiga(3, 0);
        const bool errore = !(avviato && avvioRiesce) && !(!aperto.isEmpty() && documentoRiesce);
        if (errore)
            a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("pdf");

        QCOMPARE(a.dialoghi.programmiAvviati().size(), avviato ? 1 : 0);
        if (avviato) {
            QCOMPARE(a.dialoghi.programmiAvviati()[0].programma,
                     a.cartella.percorso() + QStringLiteral("/Sumatra/SumatraPDF.exe"));
            QCOMPARE(a.dialoghi.programmiAvviati()[0].argomenti, QStringList{ds + nome});
        }
        const QString programma = QFileInfo(a.cartella.percorso()).canonicalFilePath() + u'/';
        QCOMPARE(a.dialoghi.documentiAperti(), aperto.isEmpty() ? QStringList() : QStringList{programma + aperto});
        if (errore)
            VerificaBox(a.dialoghi, QStringLiteral("Errore nelle visualizzazione del PDF"), Icona::Critica);
        else
            QVERIFY(a.dialoghi.boxes().isEmpty());
        QVERIFY(!fifo.aperta());
    }

    // A file picked in another folder: "Sì" copies it in (the copy's names
    // are tst_copiaincartella's), the panel shows its name, the picture is
    // drawn and listed, "Elimina" is enabled, and once saved "PDF" opens the
    // copy. "No" takes nothing. No data file changes before the save.
    void daAltraCartella_data()
    {
        // nome: picked in USB/; a .png goes to Pics, a .pdf to Datasheet; atteso: empty: nothing taken
        Colonne<QString, QList<Risposta>, QString>("nome", "risposte", "atteso");
        QTest::newRow("immagine, Sì") << "foto.png" << QList{Risposta::Si} << "foto.png";
        QTest::newRow("immagine, No") << "foto.png" << QList{Risposta::No} << "";
        // The panel takes the copy's own name.
        QTest::newRow("omonima, Mantieni entrambi") << "foto.png" << QList{Risposta::Si, Risposta::MantieniEntrambi}
                                                    << "foto (2).png";
        QTest::newRow("datasheet, Sì") << "scheda.pdf" << QList{Risposta::Si} << "scheda.pdf";
    }
    void daAltraCartella()
    {
        const auto [nome, risposte, atteso] = Valori<QString, QList<Risposta>, QString>("nome", "risposte", "atteso");
        Caso a;
        const bool immagine = nome.endsWith(QLatin1String(".png"));
        const QString cartella = immagine ? QStringLiteral("Pics/") : QStringLiteral("Datasheet/");
        if (immagine)
            scriviImmagine(a.cartella, QStringLiteral("USB/foto.png"), 30, 20, Qt::green, "PNG");
        else
            a.cartella.scrivi(QStringLiteral("USB/scheda.pdf"), "%PDF-1.4\n");
        if (risposte.size() > 1)
            a.cartella.scrivi(cartella + nome, "vecchio");
        inModifica(a);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const auto dati = a.cartella.dati();
        for (const Risposta r : risposte)
            a.dialoghi.setNextAnswer(r);
        a.dialoghi.setNextFile(a.cartella.file(QStringLiteral("USB/") + nome));
        a.clic(immagine ? "btnLoadPic" : "btnLoadPDF");

        QCOMPARE(a.dialoghi.boxes().first().testo, "Copiare il file nella cartella " + cartella.chopped(1) + '?');
        QCOMPARE(a.testo(immagine ? "txPic" : "txPDF"), atteso);
        QCOMPARE(a.w(immagine ? "btnClearJPG" : "btnClearPDF")->isEnabled(), !atteso.isEmpty());
        QStringList nellaCartella = risposte.size() > 1 ? QStringList{nome} : QStringList();
        if (!atteso.isEmpty() && !nellaCartella.contains(atteso))
            nellaCartella.prepend(atteso); // "foto (2).png" comes before "foto.png"
        QCOMPARE(QDir(a.cartella.file(cartella)).entryList(QDir::Files, QDir::Name), nellaCartella);
        if (!atteso.isEmpty())
            QCOMPARE(a.cartella.leggi(cartella + atteso), a.cartella.leggi(QStringLiteral("USB/") + nome));
        if (immagine) {
            QCOMPARE(voci(a.w<QListWidget>("FLP")).contains(atteso), !atteso.isEmpty());
            QCOMPARE(simile(a.riquadro().pixelColor(200, 200), Qt::green), !atteso.isEmpty());
        }
        QCOMPARE(a.cartella.dati(), dati);

        a.premi("save");
        const Componente c = a.suDisco()->componente(2);
        QCOMPARE(immagine ? c.Immagine : c.Datasheet, atteso);
        QCOMPARE(a.bottone("pdf")->isEnabled(), !immagine);
        if (!immagine) {
            a.premi("pdf"); // no viewer here: the desktop's opener gets the copy
            const QString copia = QFileInfo(a.cartella.file(cartella + atteso)).canonicalFilePath();
            QCOMPARE(a.dialoghi.documentiAperti(), QStringList{copia});
        }
    }

    // Every picture format Qt reads (GIF, and each it writes) is offered, listed and drawn.
    void formati_data()
    {
        QTest::addColumn<QString>("estensione");
        const QList<QByteArray> scrivibili = QImageWriter::supportedImageFormats();
        for (const QString &schema : SchemiImmagini())
            if (scrivibili.contains(schema.mid(2).toLatin1()) || schema == QLatin1String("*.gif"))
                QTest::addRow("%s", qPrintable(schema)) << schema.mid(2);
    }
    void formati()
    {
        QFETCH(QString, estensione);
        Caso a;
        const QString nome = QStringLiteral("Pics/figura.") + estensione;
        QImage nera(32, 32, QImage::Format_RGB32); // black: the same in one-bit and grey formats
        nera.fill(Qt::black);
        if (estensione == QLatin1String("gif"))
            a.cartella.scrivi(nome, GifRosso);
        else
            QVERIFY(QImageWriter(a.cartella.file(nome), estensione.toLatin1()).write(nera));
        inModifica(a);
        auto *flp = a.w<QListWidget>("FLP");
        QCOMPARE(voci(flp), QStringList{nome.mid(5)});
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(flp->item(0)).center());
        const QColor colore = a.riquadro().pixelColor(200, 200);
        QVERIFY2(simile(colore, estensione == QLatin1String("gif") ? Qt::red : Qt::black), qPrintable(colore.name()));
        a.dialoghi.setNextFile(QString());
        a.clic("btnLoadPic");
        const QStringList schemi = a.dialoghi.dialoghiFile().last().filtro.split(u'|').last().split(u';');
        for (const QString &s : {"*." + estensione, QStringLiteral("*.png"), QStringLiteral("*.gif")})
            QVERIFY2(schemi.contains(s), qPrintable(s));
    }

    // The picture window: title, size and place; meanwhile the main window serves the user, and another
    // component's picture shows in the same window at its size. A component with no picture closes it, and so
    // does a click on the picture; the double click returns only then. Quitting with it open closes both and
    // saves. Kept last: quitting ends the event loops of the whole test program.
    void finestraImmagine()
    {
        Caso a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/grande.bmp"), 300, 200, Qt::cyan);
        scriviImmagine(a.cartella, QStringLiteral("Pics/piccola.bmp"), 120, 80, Qt::magenta);
        prepara(a, QStringLiteral("grande.bmp"));
        a.stato.Componenti[0].Immagine = QStringLiteral("piccola.bmp"); // NE555, row 5
        a.finestra->move(120, 80);
        const QPoint angolo = a.finestra->frameGeometry().topLeft() + QPoint(4, 98);
        a.clicRiga(3, 0);
        conFinestraAperta(a, [&] {
            QPointer<FrmPicture> fp = a.finestra->finestraImmagine();
            QVERIFY(fp && a.finestra->variabili().ImmagineAperta);
            QCOMPARE(fp->windowTitle(), QStringLiteral(" >>> Click to close <<<"));
            QCOMPARE(fp->frameGeometry(), QRect(angolo, QSize(316, 240)));
            auto *imm = fp->findChild<QLabel *>(QStringLiteral("imm"));
            QCOMPARE(imm->geometry(), QRect(4, 4, 300, 200));
            a.clicRiga(5, 0);
            QCOMPARE(a.testo("txCodice"), QStringLiteral("NE555"));
            a.doppioClic("pic");
            QCOMPARE(a.finestra->finestraImmagine(), fp.data());
            QVERIFY(fp->isVisible());
            QCOMPARE(fp->frameGeometry(), QRect(angolo, QSize(136, 120)));
            QCOMPARE(imm->geometry(), QRect(4, 4, 120, 80));
            QVERIFY(simile(imm->pixmap().toImage().pixelColor(60, 40), Qt::magenta));
            QCOMPARE(imm->pixmap().size(), QSize(120, 80));
            a.clicRiga(1, 0); // 2N2222: no picture
            a.doppioClic("pic");
            QTRY_VERIFY(!fp || !fp->isVisible());
        });
        // Opened again, a click on the picture closes it.
        a.clicRiga(3, 0);
        conFinestraAperta(a, [&] {
            QPointer<FrmPicture> fp = a.finestra->finestraImmagine();
            QVERIFY(fp);
            QTest::mouseClick(fp->findChild<QLabel *>(QStringLiteral("imm")), Qt::LeftButton, {}, QPoint(10, 10));
            QVERIFY(!fp || !fp->isVisible()); // checked before the helper closes it anyway
        });
        a.clicRiga(3, 0);
        QPointer<FrmPicture> aperta;
        conFinestraAperta(a, [&] {
            aperta = a.finestra->finestraImmagine();
            a.premi("exit");
        });
        QVERIFY(!a.finestra->isVisible());
        QVERIFY(!aperta || !aperta->isVisible());
        QVERIFY(a.cartella.esiste(QStringLiteral("Componenti.dat")));
    }
};

QTEST_MAIN(TestFrmMainImmagini)
#include "tst_frmmain_immagini.moc"
