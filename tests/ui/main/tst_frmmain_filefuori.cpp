// Pictures and datasheets picked in another folder through the editor's
// "Trova" buttons; the picture list: every format Qt reads, and a list that
// follows its folder.

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
const QByteArray GifRosso =
    QByteArray::fromHex("47494638396101000100800000ff000000000021f90400000000002c00000000010001000002024401003b");

// BC547C (position 2, row 3), with no picture or datasheet, being edited.
void modifica(Ambiente &a)
{
    cinqueComponenti(a.stato);
    scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
    a.apri();
    a.clicRiga(3, 0);
    a.premi("edit");
}

} // namespace

class TestFrmMainFileFuori : public QObject {
    Q_OBJECT
private slots:
    // "Sì" copies the file in (under a free name when the user keeps both):
    // the panel shows the name in the folder, the picture is drawn and
    // listed, "Elimina" is enabled, and once saved "PDF" opens the copy.
    // "No" takes nothing. No data file changes before the save.
    void daAltraCartella_data()
    {
        QTest::addColumn<QString>("nome"); // picked in USB/; a .png goes to Pics, a .pdf to Datasheet
        QTest::addColumn<QList<int>>("risposte");
        QTest::addColumn<QString>("atteso"); // empty: nothing taken
        const int si = int(Risposta::Si);
        QTest::newRow("immagine, Sì") << "foto.png" << QList<int>{si} << "foto.png";
        QTest::newRow("immagine, No") << "foto.png" << QList<int>{int(Risposta::No)} << "";
        QTest::newRow("immagine omonima, Mantieni entrambi")
            << "foto.png" << QList<int>{si, int(Risposta::MantieniEntrambi)} << "foto (2).png";
        QTest::newRow("datasheet, Sì") << "scheda.pdf" << QList<int>{si} << "scheda.pdf";
    }
    void daAltraCartella()
    {
        QFETCH(QString, nome);
        QFETCH(QList<int>, risposte);
        QFETCH(QString, atteso);
        Ambiente a;
        const bool immagine = nome.endsWith(QLatin1String(".png"));
        const QString cartella = immagine ? QStringLiteral("Pics/") : QStringLiteral("Datasheet/");
        if (immagine)
            scriviImmagine(a.cartella, QStringLiteral("USB/foto.png"), 30, 20, Qt::green, "PNG");
        else
            a.cartella.scrivi(QStringLiteral("USB/scheda.pdf"), "%PDF-1.4\n");
        if (risposte.size() > 1)
            a.cartella.scrivi(cartella + nome, "vecchio");
        modifica(a);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        const auto dati = a.cartella.dati();
        for (int r : risposte)
            a.dialoghi.setNextAnswer(Risposta(r));
        a.dialoghi.setNextFile(a.cartella.file(QStringLiteral("USB/") + nome));
        QTest::mouseClick(a.w(immagine ? "btnLoadPic" : "btnLoadPDF"), Qt::LeftButton);

        QCOMPARE(a.dialoghi.boxes().first().testo, "Copiare il file nella cartella " + cartella.chopped(1) + '?');
        QCOMPARE(a.testo(immagine ? "txPic" : "txPDF"), atteso);
        QCOMPARE(a.w(immagine ? "btnClearJPG" : "btnClearPDF")->isEnabled(), !atteso.isEmpty());
        QStringList nellaCartella = risposte.size() > 1 ? QStringList{nome} : QStringList{};
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
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Every picture format Qt reads here (GIF, and each one it writes) is
    // offered by the file dialog, listed and drawn when clicked.
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
        Ambiente a;
        const QString nome = QStringLiteral("Pics/figura.") + estensione;
        QImage nera(32, 32, QImage::Format_RGB32); // black: the same in one-bit and grey formats
        nera.fill(Qt::black);
        if (estensione == QLatin1String("gif"))
            a.cartella.scrivi(nome, GifRosso);
        else
            QVERIFY(QImageWriter(a.cartella.file(nome), estensione.toLatin1()).write(nera));
        modifica(a);
        auto *flp = a.w<QListWidget>("FLP");
        QCOMPARE(voci(flp), QStringList{nome.mid(5)});
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(flp->item(0)).center());
        const QColor colore = a.riquadro().pixelColor(200, 200);
        QVERIFY2(simile(colore, estensione == QLatin1String("gif") ? Qt::red : Qt::black), qPrintable(colore.name()));
        a.dialoghi.setNextFile(QString());
        QTest::mouseClick(a.w("btnLoadPic"), Qt::LeftButton);
        const QStringList schemi = a.dialoghi.dialoghiFile().last().filtro.split(u'|').last().split(u';');
        for (const QString &s : {"*." + estensione, QStringLiteral("*.png"), QStringLiteral("*.gif")})
            QVERIFY2(schemi.contains(s), qPrintable(s));
    }

    // A file added, renamed or removed by another program shows within a
    // second; the entry the user picked stays picked; no picture, no entry.
    void listaSegueLaCartella()
    {
        Ambiente a;
        a.cartella.scrivi(QStringLiteral("Pics/b.jpg"), "x");
        modifica(a);
        auto *flp = a.w<QListWidget>("FLP");
        QTest::mouseClick(flp->viewport(), Qt::LeftButton, {}, flp->visualItemRect(flp->item(0)).center());
        const int entro = 2000; // a second, with room for a busy machine
        for (const char *nome : {"Pics/a.png", "Pics/c.gif", "Pics/note.txt"})
            a.cartella.scrivi(QLatin1String(nome), "x");
        QTRY_COMPARE_WITH_TIMEOUT(voci(flp), QStringList({"a.png", "b.jpg", "c.gif"}), entro);
        QVERIFY(flp->currentItem()->isSelected());
        QCOMPARE(flp->currentItem()->text(), QStringLiteral("b.jpg"));
        QVERIFY(QFile::rename(a.cartella.file(QStringLiteral("Pics/a.png")),
                              a.cartella.file(QStringLiteral("Pics/z.png"))));
        QVERIFY(QFile::remove(a.cartella.file(QStringLiteral("Pics/b.jpg"))));
        QTRY_COMPARE_WITH_TIMEOUT(voci(flp), QStringList({"c.gif", "z.png"}), entro);
    }
};

QTEST_MAIN(TestFrmMainFileFuori)
#include "tst_frmmain_filefuori.moc"
