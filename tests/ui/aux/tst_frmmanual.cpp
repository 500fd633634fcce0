// The manual window: over the main window wherever it moved, PrimoAvvio
// cleared once it closes, a missing manual, and the manual that ships.
#include "common/cartellatest.h"
#include "common/finestre.h"
#include "common/schermo.h"
#include "common/verifiche.h"
#include "store/stato.h"
#include "ui/aux/frmmanual.h"

#include <QRegularExpression>
#include <QtTest>
#include <QtWidgets>

class TstFrmManual : public QObject {
    Q_OBJECT

    CartellaTest cartella;
    Stato stato;
    std::unique_ptr<QWidget> principale;

private slots:
    void init()
    {
        stato = Stato{};
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        stato.PrimoAvvio = true;
        QDir(cartella.file(QStringLiteral("Manual"))).removeRecursively();
        principale = std::make_unique<QWidget>();
        principale->setGeometry(130, 90, 500, 400);
        principale->show();
        QVERIFY(QTest::qWaitForWindowExposed(principale.get()));
    }
    void cleanup() { principale.reset(); }

    // Shown modally as the main window does it, then closed in some way: PrimoAvvio is cleared only then. A missing or
    // unreadable manual gives a short note naming the file instead of a blank page. An installed program keeps its data
    // in the user's folder and reads the manual from its share folder.
    void apertura_data()
    {
        Colonne<QString, QByteArray, bool, QString>("file", "contenuto", "esc", "testo"); // esc: else closed
        const QByteArray pagina = "<html><body><h1>Manuale</h1><p>Riga unica del manuale.</p></body></html>";
        const QString riga = QStringLiteral("Riga unica del manuale.");
        const QString nota = QStringLiteral("Manuale d'uso non disponibile");
        QTest::newRow("Esc") << "Manual/manual.html" << pagina << true << riga;
        QTest::newRow("window closed") << "Manual/manual.html" << pagina << false << riga;
        QTest::newRow("no Manual folder") << "" << QByteArray() << true << nota;
        QTest::newRow("folder without manual.html") << "Manual/altro.txt" << pagina << true << nota;
        QTest::newRow("empty manual.html") << "Manual/manual.html" << QByteArray() << false << nota;
        QTest::newRow("manual.html is a folder") << "Manual/manual.html/x" << pagina << true << nota;
        QTest::newRow("installed copy") << "share/Manual/manual.html" << pagina << true << riga;
    }
    void apertura()
    {
        const auto [file, contenuto, esc, testo] =
            Valori<QString, QByteArray, bool, QString>("file", "contenuto", "esc", "testo");
        if (!file.isEmpty())
            cartella.scrivi(file, contenuto);
        CartellaTest dati;
        if (file.startsWith(QLatin1String("share/")))
            stato.percorsi = Percorsi::DaCartella(dati.percorso(), cartella.file(QStringLiteral("share")));
        principale->setStyleSheet(QStringLiteral("QWidget { background-color: white; }"));
        principale->move(310, 220);
        QTRY_COMPARE(principale->frameGeometry().topLeft(), QPoint(310, 220));
        bool primoAvvioDuranteApertura = false;
        QuandoModale([&](QWidget *m) {
            primoAvvioDuranteApertura = stato.PrimoAvvio;
            // Over the main window's corner, wherever it has moved; the dark border painted even under a light theme.
            QCOMPARE(m->frameGeometry().topLeft(), QPoint(310, 220));
            QCOMPARE(m->windowTitle(), QStringLiteral("Arvo Manual"));
            const QImage img = m->grab().toImage();
            QCOMPARE(img.pixelColor(0, 0), QColor(0x40, 0x40, 0x40));
            QCOMPARE(img.pixelColor(img.width() - 1, img.height() - 1), QColor(0x40, 0x40, 0x40));
            esc ? QTest::keyClick(m, Qt::Key_Escape) : void(m->close());
        }, this);
        FrmManual f(stato, principale.get());
        const QString mostrato = f.WB()->toPlainText();
        f.exec();
        QVERIFY(f.WB()->openExternalLinks());
        QVERIFY2(mostrato.contains(testo), qPrintable(mostrato));
        if (testo != QLatin1String("Riga unica del manuale.")) // the note names the file looked for
            QVERIFY(mostrato.contains(QDir::toNativeSeparators(FrmManual::PercorsoManuale(stato))));
        QVERIFY(primoAvvioDuranteApertura);
        QVERIFY(!f.isVisible());
        QVERIFY(!stato.PrimoAvvio);
    }

    // The manual that ships with the program: every picture it shows and every link inside the page exists.
    void manualeDistribuito()
    {
        const QString percorso = QFINDTESTDATA("../../../assets/Manual/manual.html");
        QFile file(percorso);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        const QDir cartellaManuale = QFileInfo(percorso).dir();
        int immagini = 0;
        for (const auto &m : QRegularExpression(QStringLiteral("<img[^>]*src=\"([^\"]+)\"")).globalMatch(html)) {
            ++immagini;
            QVERIFY2(!QImage(cartellaManuale.filePath(m.captured(1))).isNull(), qPrintable(m.captured(1)));
        }
        QVERIFY(immagini > 0);
        for (const auto &m : QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html))
            QVERIFY2(html.contains(QStringLiteral("id=\"%1\"").arg(m.captured(1)))
                         || html.contains(QStringLiteral("name=\"%1\"").arg(m.captured(1))),
                     qPrintable(m.captured(1)));
    }
};

// A screen with room for the manual at its designed size wherever the main
// window is; on a laptop screen it is made to fit (tst_frmmain_finestra).
MAIN_SU_SCHERMO(TstFrmManual, 1920, 1200)
#include "tst_frmmanual.moc"
