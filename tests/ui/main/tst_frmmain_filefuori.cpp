// Pictures and datasheets picked in another folder (Downloads, a USB stick)
// through the editor's "Trova" buttons: the copy offered, the answers, what
// lands in Pics or Datasheet, what the panel shows, what a save stores. The
// picture list: every format Qt reads, and a list that follows its folder.

#include "ambiente.h"

#include "ui/widgets/immagineincartella.h"

#include <QImageWriter>

using namespace prova;

namespace {

bool simile(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40
           && std::abs(a.blue() - b.blue()) < 40;
}

QStringList voci(const QListWidget *l)
{
    QStringList v;
    for (int i = 0; i < l->count(); ++i)
        v << l->item(i)->text();
    return v;
}

// A red picture of 1 x 1 pixel in GIF, a format Qt reads but does not write.
const QByteArray GifRosso = QByteArray::fromHex("474946383961010001008000"
                                                "00ff000000000021f90400000000"
                                                "002c00000000010001000002024401003b");

const QByteArray Pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<<>>\nendobj\n";

} // namespace

class TestFrmMainFileFuori : public QObject {
    Q_OBJECT

    // The five components, BC547C (position 2, row 3) with no picture or
    // datasheet, shown and being edited.
    static void modifica(Ambiente &a)
    {
        cinqueComponenti(a.stato);
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        a.apri();
        a.clicRiga(3, 0);
        QCOMPARE(a.corrente(), 2);
        a.premi("edit");
    }

private slots:
    // "Trova" on a file of another folder: "Sì" copies it in (under a free
    // name when the user keeps both), and the panel shows and stores the
    // name in the folder: the picture is drawn and listed, "Elimina" is
    // enabled, and once saved "PDF" opens the copy. "No" and "Annulla" store
    // nothing and copy nothing. No data file is touched until the save.
    void daAltraCartella_data()
    {
        QTest::addColumn<QString>("pulsante"); // btnLoadPic or btnLoadPDF
        QTest::addColumn<bool>("omonimo");     // the folder already holds another file of that name
        QTest::addColumn<QList<int>>("risposte");
        QTest::addColumn<QString>("atteso"); // the name in the panel; empty: nothing taken
        const int si = int(Risposta::Si), no = int(Risposta::No);
        QTest::newRow("immagine, Sì") << "btnLoadPic" << false << QList<int>{si} << "foto.png";
        QTest::newRow("immagine, No") << "btnLoadPic" << false << QList<int>{no} << "";
        QTest::newRow("immagine omonima, Mantieni entrambi")
            << "btnLoadPic" << true << QList<int>{si, int(Risposta::MantieniEntrambi)} << "foto (2).png";
        QTest::newRow("immagine omonima, Sostituisci")
            << "btnLoadPic" << true << QList<int>{si, int(Risposta::Sostituisci)} << "foto.png";
        QTest::newRow("immagine omonima, Annulla")
            << "btnLoadPic" << true << QList<int>{si, int(Risposta::Annulla)} << "";
        QTest::newRow("datasheet, Sì") << "btnLoadPDF" << false << QList<int>{si} << "scheda.pdf";
        QTest::newRow("datasheet, No") << "btnLoadPDF" << false << QList<int>{no} << "";
        QTest::newRow("datasheet omonimo, Mantieni entrambi")
            << "btnLoadPDF" << true << QList<int>{si, int(Risposta::MantieniEntrambi)} << "scheda (2).pdf";
    }
    void daAltraCartella()
    {
        QFETCH(QString, pulsante);
        QFETCH(bool, omonimo);
        QFETCH(QList<int>, risposte);
        QFETCH(QString, atteso);
        Ambiente a;
        const bool immagine = pulsante == QLatin1String("btnLoadPic");
        const QString cartella = immagine ? QStringLiteral("Pics/") : QStringLiteral("Datasheet/");
        const QString nome = immagine ? QStringLiteral("foto.png") : QStringLiteral("scheda.pdf");
        if (immagine)
            scriviImmagine(a.cartella, QStringLiteral("Scaricati/foto.png"), 30, 20, Qt::green, "PNG");
        else
            a.cartella.scrivi(QStringLiteral("Scaricati/scheda.pdf"), Pdf);
        const QByteArray scelto = a.cartella.leggi(QStringLiteral("Scaricati/") + nome);
        if (omonimo)
            a.cartella.scrivi(cartella + nome, "vecchio");
        modifica(a);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const auto datiPrima = a.cartella.dati();
        const QStringList primaNellaCartella = QDir(a.cartella.file(cartella)).entryList(QDir::Files);

        for (int r : risposte)
            a.dialoghi.setNextAnswer(Risposta(r));
        a.dialoghi.setNextFile(a.cartella.file(QStringLiteral("Scaricati/") + nome));
        QTest::mouseClick(a.w(pulsante), Qt::LeftButton);

        QCOMPARE(a.dialoghi.boxes().size(), risposte.size());
        QCOMPARE(a.dialoghi.boxes().first().testo,
                 QStringLiteral("Copiare il file nella cartella %1?").arg(cartella.chopped(1)));
        QCOMPARE(a.testo(immagine ? "txPic" : "txPDF"), atteso);
        QCOMPARE(a.w(immagine ? "btnClearJPG" : "btnClearPDF")->isEnabled(), !atteso.isEmpty());
        if (atteso.isEmpty()) {
            QCOMPARE(QDir(a.cartella.file(cartella)).entryList(QDir::Files), primaNellaCartella);
        } else {
            QCOMPARE(a.cartella.leggi(cartella + atteso), scelto);
            if (atteso != nome)
                QCOMPARE(a.cartella.leggi(cartella + nome), QByteArray("vecchio"));
        }
        if (immagine) {
            QCOMPARE(voci(a.w<QListWidget>("FLP")).contains(atteso), !atteso.isEmpty());
            QVERIFY(atteso.isEmpty() ? a.riquadro().isNull() || simile(a.riquadro().pixelColor(5, 5), Qt::red)
                                     : simile(a.riquadro().pixelColor(200, 200), Qt::green));
        }
        // The copy is no save: the data files are as they were.
        QCOMPARE(a.cartella.dati(), datiPrima);

        a.premi("save");
        const Componente &c = a.stato.componente(2);
        QCOMPARE(immagine ? c.Immagine : c.Datasheet, atteso);
        QCOMPARE(a.suDisco()->componente(2).Immagine + u'|' + a.suDisco()->componente(2).Datasheet,
                 immagine ? atteso + u'|' : u'|' + atteso);
        QCOMPARE(a.bottone("pdf")->isEnabled(), !immagine && !atteso.isEmpty());
        if (immagine && !atteso.isEmpty()) {
            QVERIFY(simile(a.riquadro().pixelColor(200, 200), Qt::green));
        } else if (!atteso.isEmpty()) {
            a.premi("pdf"); // no viewer here: the desktop's opener gets the copy
            QCOMPARE(a.dialoghi.documentiAperti(),
                     QStringList{QFileInfo(a.cartella.file(cartella + atteso)).canonicalFilePath()});
        }
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Every picture format Qt reads here is offered by the file dialog,
    // listed in "Immagini disponibili in Pics" and drawn when clicked; PNG,
    // GIF, JPEG and BMP at least.
    void formati_data()
    {
        QTest::addColumn<QString>("estensione");
        QStringList scrivibili;
        for (const QByteArray &f : QImageWriter::supportedImageFormats())
            scrivibili << QString::fromLatin1(f);
        for (const QString &schema : SchemiImmagini()) {
            const QString estensione = schema.mid(2);
            if (scrivibili.contains(estensione) || estensione == QLatin1String("gif"))
                QTest::addRow("%s", qPrintable(estensione)) << estensione;
        }
    }
    void formati()
    {
        QFETCH(QString, estensione);
        Ambiente a;
        const QString nome = QStringLiteral("figura.") + estensione;
        if (estensione == QLatin1String("gif")) {
            a.cartella.scrivi(QStringLiteral("Pics/") + nome, GifRosso);
        } else {
            // Black: the same in every format, one-bit and grey ones too.
            QImage figura(32, 32, QImage::Format_RGB32);
            figura.fill(Qt::black);
            QVERIFY(QImageWriter(a.cartella.file(QStringLiteral("Pics/") + nome), estensione.toLatin1())
                        .write(figura));
        }
        modifica(a);
        auto *flp = a.w<QListWidget>("FLP");
        QCOMPARE(voci(flp), QStringList{nome});
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(flp->item(0)).center());
        QVERIFY(!a.riquadro().isNull());
        const QColor colore = a.riquadro().pixelColor(200, 200);
        QVERIFY2(simile(colore, estensione == QLatin1String("gif") ? Qt::red : Qt::black), qPrintable(colore.name()));

        a.dialoghi.setNextFile(QString());
        QTest::mouseClick(a.w("btnLoadPic"), Qt::LeftButton);
        const QStringList filtro = a.dialoghi.dialoghiFile().last().filtro.split(u'|');
        QCOMPARE(filtro.first(), QStringLiteral("Images"));
        const QStringList schemi = filtro.last().split(u';');
        QVERIFY(schemi.contains(QStringLiteral("*.") + estensione));
        for (const char *s : {"*.png", "*.gif", "*.jpg", "*.jpeg", "*.bmp"})
            QVERIFY2(schemi.contains(QLatin1String(s)), s);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The picture list follows Pics by itself: a file added, removed or
    // renamed by another program shows within a second, the entry the user
    // picked stays picked, a file that is no picture stays out.
    void listaSegueLaCartella()
    {
        Ambiente a;
        scriviImmagine(a.cartella, QStringLiteral("Pics/b.jpg"), 30, 20, Qt::yellow, "JPG");
        modifica(a);
        auto *flp = a.w<QListWidget>("FLP");
        QCOMPARE(voci(flp), QStringList{"b.jpg"});
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(flp->item(0)).center());
        QCOMPARE(a.finestra->variabili().ImmagineScelta, QStringLiteral("b.jpg"));

        const int entro = 2 * 1000; // within a second, with room for a busy machine
        scriviImmagine(a.cartella, QStringLiteral("Pics/a.png"), 30, 20, Qt::green, "PNG");
        a.cartella.scrivi(QStringLiteral("Pics/note.txt"), "non una immagine");
        a.cartella.scrivi(QStringLiteral("Pics/c.gif"), GifRosso);
        QTRY_COMPARE_WITH_TIMEOUT(voci(flp), QStringList({"a.png", "b.jpg", "c.gif"}), entro);
        QCOMPARE(flp->currentItem() ? flp->currentItem()->text() : QString(), QStringLiteral("b.jpg"));
        QVERIFY(flp->currentItem()->isSelected());
        QTest::mouseClick(a.w("btnAddJPG"), Qt::LeftButton);
        QCOMPARE(a.testo("txPic"), QStringLiteral("b.jpg"));

        QVERIFY(QFile::rename(a.cartella.file(QStringLiteral("Pics/a.png")),
                              a.cartella.file(QStringLiteral("Pics/z.png"))));
        QVERIFY(QFile::remove(a.cartella.file(QStringLiteral("Pics/c.gif"))));
        QTRY_COMPARE_WITH_TIMEOUT(voci(flp), QStringList({"b.jpg", "z.png"}), entro);
        QVERIFY(QFile::remove(a.cartella.file(QStringLiteral("Pics/b.jpg"))));
        QTRY_COMPARE_WITH_TIMEOUT(voci(flp), QStringList{"z.png"}, entro);
        QVERIFY(!flp->currentItem() || !flp->currentItem()->isSelected());
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainFileFuori)
#include "tst_frmmain_filefuori.moc"
