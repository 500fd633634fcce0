// The program's look. The dark theme darkens the whole program (the
// application's palette, so menus, toolbar, status bar, the tables window and
// message boxes) while the main window keeps its own colours for the list and
// the panels; the light theme brings the desktop's palette back. Icons on a
// machine without an icon theme: every toolbar button of the main window and
// of the tables window has one, from the icons built into the program, and
// the buttons that must be told apart at a glance show the intended pictures;
// every window shows the program's icon.

#include "ambiente.h"
#include "ui/aux/frmcustom.h"
#include "ui/aux/frmmanual.h"
#include "ui/main/avvioapp.h"
#include "ui/main/frmpicture.h"
#include "ui/tables/apritabelle.h"
#include "ui/tables/frmliste.h"
#include "ui/widgets/iconebarra.h"

namespace {

bool scuro(const QColor &c) { return c.lightness() < 100; }
bool chiaro(const QColor &c) { return c.lightness() > 160; }

QImage immagine(const QIcon &icona) { return icona.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

QImage file(const QString &nome)
{
    return QImage(QStringLiteral(":/icone/%1-24.png").arg(nome)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// What the tables window gets of a main window that does nothing back.
AccessoPrincipale accesso(FrmMain &f)
{
    AccessoPrincipale principale;
    principale.finestra = &f;
    principale.mostraMessaggio = [](const QString &) {};
    principale.caricaTabelle = [] {};
    return principale;
}

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
    void initTestCase()
    {
        // No theme anywhere: only the built-in icons are left.
        QIcon::setThemeSearchPaths({});
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeName(QStringLiteral("nessun-tema"));
        QIcon::setFallbackThemeName(QStringLiteral("nessun-tema"));
        PreparaApplicazione();
    }

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
        auto *fusion = qobject_cast<QProxyStyle *>(QApplication::style()); // Fusion, its indicators outlined
        QVERIFY(fusion && fusion->baseStyle()->name().toLower() == QStringLiteral("fusion"));
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
        const AccessoPrincipale principale = accesso(f);
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

    // Every toolbar button of the main window its own built-in picture, the
    // tables window's buttons theirs, and the program's icon in every
    // window, message boxes included.
    void bottoniEFinestre()
    {
        prova::Ambiente a;
        prova::cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        QSet<QString> nomi;
        int bottoni = 0;
        for (QAction *azione : a.w<QToolBar>(QStringLiteral("TB"))->actions()) {
            if (azione->objectName().isEmpty())
                continue; // a gap between groups
            ++bottoni;
            const QString nome = NomeIconaBarra(azione->objectName());
            QVERIFY2(!azione->icon().isNull(), qPrintable(azione->objectName()));
            QVERIFY2(!file(nome).isNull(), qPrintable(nome));
            QCOMPARE(immagine(azione->icon()), file(nome));
            nomi.insert(nome);
        }
        QCOMPARE(bottoni, 14);
        QCOMPARE(nomi.size(), bottoni);
        // The printer, the magnifier, the PDF document.
        QCOMPARE(NomeIconaBarra(QStringLiteral("print")), QStringLiteral("document-print"));
        QCOMPARE(NomeIconaBarra(QStringLiteral("search")), QStringLiteral("edit-find"));
        QCOMPARE(NomeIconaBarra(QStringLiteral("pdf")), QStringLiteral("application-pdf"));
        QVERIFY(immagine(a.bottone(QStringLiteral("print"))->icon()) != immagine(a.bottone(QStringLiteral("search"))->icon()));
        QVERIFY(immagine(a.bottone(QStringLiteral("pdf"))->icon()) != immagine(a.bottone(QStringLiteral("print"))->icon()));
        QVERIFY(NomeIconaBarra(QStringLiteral("nessuno")).isEmpty());
        QVERIFY(IconaBarra(QStringLiteral("nessuno")).isNull());

        const AccessoPrincipale principale = accesso(f);
        FrmListe liste(a.stato, a.dialoghi, principale, &f);
        for (const char *chiave : {"new", "edit", "undo", "save", "quit"}) {
            auto *azione = liste.findChild<QAction *>(QLatin1String(chiave));
            QVERIFY2(azione && !azione->icon().isNull(), chiave);
            QCOMPARE(immagine(azione->icon()), file(NomeIconaBarra(QLatin1String(chiave))));
        }
        QVERIFY(!IconaProgramma().isNull());
        const QImage programma = IconaProgramma().pixmap(48).toImage();
        FrmPicture figura(&f);
        FrmCustom etichette(a.stato, a.dialoghi, QPoint(0, 0), &f);
        FrmManual manuale(a.stato, &f);
        QMessageBox box(QMessageBox::Information, QStringLiteral("Arvo"), QStringLiteral("x"), QMessageBox::Ok, &f);
        for (QWidget *w : std::initializer_list<QWidget *>{&f, &liste, &etichette, &manuale, &box, &figura})
            QCOMPARE(w->windowIcon().pixmap(48).toImage(), programma);
    }
};

QTEST_MAIN(TestTema)
#include "tst_tema.moc"
