// Icons on a machine without an icon theme: every toolbar button of the main
// window and of the tables window has one, from the icons built into the
// program, and the buttons that must be told apart at a glance show the
// intended pictures; every window shows the program's icon.

#include "ambiente.h"
#include "ui/aux/frmcustom.h"
#include "ui/aux/frmmanual.h"
#include "ui/main/avvioapp.h"
#include "ui/main/frmpicture.h"
#include "ui/tables/apritabelle.h"
#include "ui/tables/frmliste.h"
#include "ui/widgets/iconebarra.h"

namespace {

QImage immagine(const QIcon &icona) { return icona.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

QImage file(const QString &nome)
{
    return QImage(QStringLiteral(":/icone/%1-24.png").arg(nome)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class TestIcone : public QObject {
    Q_OBJECT

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

        AccessoPrincipale principale;
        principale.finestra = &f;
        principale.mostraMessaggio = [](const QString &) {};
        principale.caricaTabelle = [] {};
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

QTEST_MAIN(TestIcone)
#include "tst_icone.moc"
