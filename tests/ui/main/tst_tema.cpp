// The dark theme darkens the whole program (the application's palette, so
// menus, toolbar, status bar, the tables window and message boxes) while the
// main window keeps its own colours for the list and the panels; the light
// theme brings the desktop's palette back.

#include "ambiente.h"
#include "ui/tables/apritabelle.h"
#include "ui/tables/frmliste.h"

namespace {

bool scuro(const QColor &c) { return c.lightness() < 100; }
bool chiaro(const QColor &c) { return c.lightness() > 160; }

} // namespace

class TestTema : public QObject {
    Q_OBJECT

    // The main window's own colours for one theme.
    static void coloriPropri(prova::Ambiente &a, bool temaChiaro)
    {
        QPalette lv = a.lista()->vista()->palette();
        QCOMPARE(lv.color(QPalette::Base), temaChiaro ? QColor(255, 255, 248) : QColor(64, 64, 64));
        QCOMPARE(lv.color(QPalette::Text), temaChiaro ? QColor(0, 0, 0) : QColor(255, 255, 255));
        for (const char *cornice : {"fmDati", "fmImm"}) {
            const QPalette p = a.w(QLatin1String(cornice))->palette();
            QCOMPARE(p.color(QPalette::WindowText), temaChiaro ? QColor(0, 0, 0) : QColor(255, 240, 16));
            QCOMPARE(p.color(QPalette::Window),
                     temaChiaro ? QApplication::palette().color(QPalette::Button) : QColor(0, 0, 0));
        }
        QCOMPARE(a.finestra->centralWidget()->palette().color(QPalette::Window),
                 temaChiaro ? QApplication::palette().color(QPalette::Button) : QColor(0, 0, 0));
    }

private slots:
    void scuroEChiaro()
    {
        prova::Ambiente a;
        prova::cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QPalette desktop = QApplication::palette();
        const QString stile = QApplication::style()->name();

        a.menu(QStringLiteral("mnuDark"));
        a.menu(QStringLiteral("mnuDark")); // twice: still dark
        QTest::qWait(0); // the windows hear of the new palette
        const QPalette p = QApplication::palette();
        QVERIFY(scuro(p.color(QPalette::Window)));
        QVERIFY(scuro(p.color(QPalette::Base)));
        QVERIFY(scuro(p.color(QPalette::Button)));
        QVERIFY(chiaro(p.color(QPalette::Text)));
        QVERIFY(chiaro(p.color(QPalette::WindowText)));
        QVERIFY(chiaro(p.color(QPalette::ButtonText)));
        QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
        // Menu bar, toolbar and status bar follow the application.
        for (QWidget *w : std::initializer_list<QWidget *>{f.menuBar(), a.w(QStringLiteral("TB")), f.statusBar()})
            QVERIFY2(scuro(w->palette().color(QPalette::Window)), qPrintable(w->objectName()));
        coloriPropri(a, false);
        // The locked boxes a component shows (datasheet, picture, package
        // description) stay readable: light grey with dark text.
        for (const char *nome : {"txPDF", "txPic", "txPackDesc"}) {
            QWidget *casella = a.w(QLatin1String(nome));
            QVERIFY2(!casella->isEnabled(), nome);
            const QPalette bloccata = casella->palette();
            QVERIFY2(chiaro(bloccata.color(QPalette::Disabled, QPalette::Base)), nome);
            QVERIFY2(scuro(bloccata.color(QPalette::Disabled, QPalette::Text)), nome);
        }
        // The detail fields keep their light backgrounds, with dark text.
        a.premi(QStringLiteral("new"));
        const QPalette codice = a.w(QStringLiteral("txCodice"))->palette();
        QVERIFY(chiaro(codice.color(QPalette::Base)));
        QCOMPARE(codice.color(QPalette::Text), QColor(Qt::black));
        a.premi(QStringLiteral("undo"));

        // The tables window and a message box owned by the main window.
        AccessoPrincipale principale;
        principale.finestra = &f;
        principale.mostraMessaggio = [](const QString &) {};
        principale.caricaTabelle = [] {};
        {
            FrmListe liste(a.stato, a.dialoghi, principale, &f);
            QVERIFY(scuro(liste.palette().color(QPalette::Window)));
            QVERIFY(chiaro(liste.palette().color(QPalette::WindowText)));
            QMessageBox box(QMessageBox::Information, QStringLiteral("Arvo"), QStringLiteral("x"), QMessageBox::Ok, &f);
            QVERIFY(scuro(box.palette().color(QPalette::Window)));
            QVERIFY(chiaro(box.palette().color(QPalette::WindowText)));
        }

        a.menu(QStringLiteral("mnuLight"));
        QCOMPARE(QApplication::palette(), desktop);
        QCOMPARE(QApplication::style()->name(), stile);
        coloriPropri(a, true);
        FrmListe liste(a.stato, a.dialoghi, principale, &f);
        QCOMPARE(liste.palette().color(QPalette::Window), desktop.color(QPalette::Window));
    }
};

QTEST_MAIN(TestTema)
#include "tst_tema.moc"
