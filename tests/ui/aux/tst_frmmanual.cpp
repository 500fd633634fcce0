#include "common/cartellatest.h"
#include "store/stato.h"
#include "ui/aux/frmmanual.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <QtTest>

// Runs azione on the modal dialog as soon as one is open (polling, so it
// also works when the dialog lets events run before it is shown).
static void quandoAperto(const std::function<void(QDialog *)> &azione, int tentativi = 500)
{
    QTimer::singleShot(10, [azione, tentativi] {
        auto *m = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (m)
            azione(m);
        else if (tentativi > 0)
            quandoAperto(azione, tentativi - 1);
    });
}

class TstFrmManual : public QObject {
    Q_OBJECT

private:
    // A program folder with the given page as the manual.
    static void scriviManuale(const CartellaTest &cartella, const QByteArray &html)
    {
        cartella.scrivi(QStringLiteral("Manual/manual.html"), html);
    }
    static Stato statoSu(const CartellaTest &cartella)
    {
        Stato s;
        s.percorsi = Percorsi::DaCartella(cartella.percorso());
        s.PrimoAvvio = true;
        return s;
    }

private slots:
    void geometria()
    {
        CartellaTest cartella;
        Stato stato = statoSu(cartella);
        QWidget principale;
        principale.setGeometry(50, 60, 300, 200);
        principale.show();
        FrmManual f(stato, &principale);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.objectName(), QStringLiteral("frmManual"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Arvo Manual"));
        QVERIFY(f.isModal());
        QCOMPARE(f.parentWidget(), &principale);
        QCOMPARE(f.size(), QSize(875, 870));
        auto *wb = f.findChild<QTextBrowser *>(QStringLiteral("WB"));
        QVERIFY(wb);
        QCOMPARE(wb, f.WB());
        QCOMPARE(wb->geometry(), QRect(2, 2, 870, 865));
        QVERIFY(wb->openExternalLinks());
        // The dark border around the viewer is what is painted.
        const QImage img = f.grab().toImage();
        QCOMPARE(img.pixelColor(0, 0), QColor(0x40, 0x40, 0x40));
        QCOMPARE(img.pixelColor(874, 869), QColor(0x40, 0x40, 0x40));
    }

    void sfondoConTemaDellaFinestraPrincipale()
    {
        CartellaTest cartella;
        Stato stato = statoSu(cartella);
        QWidget principale;
        principale.setStyleSheet(QStringLiteral("QWidget { background-color: white; }"));
        principale.show();
        FrmManual f(stato, &principale);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QImage img = f.grab().toImage();
        QCOMPARE(img.pixelColor(0, 0), QColor(0x40, 0x40, 0x40));
        QCOMPARE(img.pixelColor(874, 869), QColor(0x40, 0x40, 0x40));
    }

    void seguelaFinestraPrincipale()
    {
        CartellaTest cartella;
        Stato stato = statoSu(cartella);
        QWidget principale;
        principale.setGeometry(130, 90, 500, 400);
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));
        {
            FrmManual f(stato, &principale);
            f.show();
            QCOMPARE(f.frameGeometry().topLeft(), principale.frameGeometry().topLeft());
        }
        principale.move(310, 220);
        QTRY_COMPARE(principale.frameGeometry().topLeft(), QPoint(310, 220));
        FrmManual f(stato, &principale);
        f.show();
        QCOMPARE(f.frameGeometry().topLeft(), QPoint(310, 220));
    }

    void caricaIlManuale()
    {
        CartellaTest cartella;
        scriviManuale(cartella, "<html><head><title>Prova</title></head><body>"
                                "<h1>Manuale di prova</h1><p>Riga unica del manuale.</p></body></html>");
        Stato stato = statoSu(cartella);
        FrmManual f(stato, nullptr);
        QCOMPARE(f.WB()->source(), QUrl::fromLocalFile(cartella.file(QStringLiteral("Manual/manual.html"))));
        QVERIFY(f.WB()->toPlainText().contains(QStringLiteral("Riga unica del manuale.")));
        QVERIFY(!f.WB()->toPlainText().contains(QStringLiteral("non disponibile")));
    }

    void manualeMancante_data()
    {
        QTest::addColumn<QString>("crea");
        QTest::newRow("senza cartella Manual") << QString();
        QTest::newRow("cartella senza manual.html") << QStringLiteral("Manual/altro.txt");
        QTest::newRow("manual.html vuoto") << QStringLiteral("Manual/manual.html");
        QTest::newRow("manual.html è una cartella") << QStringLiteral("Manual/manual.html/x");
    }
    void manualeMancante()
    {
        QFETCH(QString, crea);
        CartellaTest cartella;
        if (!crea.isEmpty())
            cartella.scrivi(crea, QByteArray());
        Stato stato = statoSu(cartella);
        QWidget principale;
        principale.show();
        // Opened and closed as the main window does it: modally.
        quandoAperto([](QDialog *m) { QTest::keyClick(m, Qt::Key_Escape); });
        FrmManual f(stato, &principale);
        const QString testo = f.WB()->toPlainText();
        f.exec();
        QVERIFY2(testo.contains(QStringLiteral("Manuale d'uso non disponibile")), qPrintable(testo));
        QVERIFY(testo.contains(QDir::toNativeSeparators(FrmManual::PercorsoManuale(stato))));
        QVERIFY(!f.isVisible());
        QVERIFY(!stato.PrimoAvvio);
    }

    void chiusuraAzzeraPrimoAvvio_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("Esc") << 0;
        QTest::newRow("chiusura della finestra") << 1;
        QTest::newRow("reject") << 2;
        QTest::newRow("accept") << 3;
    }
    void chiusuraAzzeraPrimoAvvio()
    {
        QFETCH(int, modo);
        CartellaTest cartella;
        scriviManuale(cartella, "<p>Manuale</p>");
        Stato stato = statoSu(cartella);
        QWidget principale;
        principale.show();
        bool primoAvvioDuranteApertura = false;
        quandoAperto([&](QDialog *m) {
            primoAvvioDuranteApertura = stato.PrimoAvvio;
            switch (modo) {
            case 0: QTest::keyClick(m, Qt::Key_Escape); break;
            case 1: m->close(); break;
            case 2: m->reject(); break;
            default: m->accept(); break;
            }
        });
        FrmManual f(stato, &principale);
        f.exec();
        QVERIFY(primoAvvioDuranteApertura);
        QVERIFY(!f.isVisible());
        QVERIFY(!stato.PrimoAvvio);
    }

    // The manual that ships with the program: every picture it shows and
    // every page-internal link it uses exists.
    void manualeDistribuito()
    {
        const QString percorso = QFINDTESTDATA("../../../assets/Manual/manual.html");
        QVERIFY(!percorso.isEmpty());
        QFile file(percorso);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY(html.contains(QStringLiteral("charset=utf-8"), Qt::CaseInsensitive));

        const QDir cartella = QFileInfo(percorso).dir();
        const QRegularExpression img(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
        int immagini = 0;
        for (const auto &m : img.globalMatch(html)) {
            ++immagini;
            const QString nome = m.captured(1);
            QVERIFY2(cartella.exists(nome), qPrintable(nome));
            QVERIFY2(!QImage(cartella.filePath(nome)).isNull(), qPrintable(nome));
        }
        QVERIFY(immagini > 0);

        const QRegularExpression ancora(QStringLiteral("href=\"#([^\"]+)\""));
        for (const auto &m : ancora.globalMatch(html)) {
            const QString nome = m.captured(1);
            QVERIFY2(html.contains(QStringLiteral("id=\"%1\"").arg(nome))
                         || html.contains(QStringLiteral("name=\"%1\"").arg(nome)),
                     qPrintable(nome));
        }

        // Shown in the viewer, the assets folder standing for the program folder.
        Stato stato;
        stato.percorsi = Percorsi::DaCartella(QDir::cleanPath(cartella.absolutePath() + QStringLiteral("/..")));
        FrmManual f(stato, nullptr);
        const QString testo = f.WB()->toPlainText();
        QVERIFY(testo.contains(QStringLiteral("Arvo")));
        QVERIFY(testo.contains(QStringLiteral("Contenitori")));
        QVERIFY(testo.contains(QString::fromUtf8("quantit\xC3\xA0"))); // read as UTF-8
        QVERIFY(!testo.contains(QStringLiteral("non disponibile")));
    }
};

QTEST_MAIN(TstFrmManual)
#include "tst_frmmanual.moc"
