// The program's look. The dark theme darkens the whole program while the main window keeps its own colours for the list
// and the panels; the light theme brings the desktop's palette back. The dark theme can be read: check boxes and radio
// buttons as drawn, and disabled texts, stand 3:1 from their background. Without an icon theme every toolbar button has
// its built-in icon, and every window the program's icon.

#include "ambiente.h"
#include "importa/letturacsv.h"
#include "ui/aux/frmcustom.h"
#include "ui/aux/frmmanual.h"
#include "ui/importa/frmimporta.h"
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

// The pixels of zona that stand 3:1 from fondo: how many, and the rectangle they span.
std::pair<int, QRect> marcati(const QImage &immagine, const QRect &zona, const QColor &fondo)
{
    std::pair<int, QRect> m{0, {}};
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            if (prova::contrasto(immagine.pixelColor(x, y), fondo) >= 3.0)
                m = {m.first + 1, m.second | QRect(x, y, 1, 1)};
    return m;
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

    // The main window turned dark, then the tables and import windows opened over it.
    struct Scuro {
        prova::Ambiente a{prova::cinqueComponenti};
        AccessoPrincipale principale = accesso(*a.finestra);
        std::unique_ptr<FrmListe> liste;
        std::unique_ptr<FrmImporta> importa;
        Scuro()
        {
            a.menu(QStringLiteral("mnuDark"));
            liste = std::make_unique<FrmListe>(a.stato, a.dialoghi, principale, a.finestra.get());
            importa = std::make_unique<FrmImporta>(a.stato, a.dialoghi, LetturaCSV{}, QStringLiteral("x.csv"));
            for (QWidget *w : std::initializer_list<QWidget *>{a.finestra.get(), liste.get(), importa.get()}) {
                w->show();
                QVERIFY(QTest::qWaitForWindowExposed(w));
            }
        }
    };

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
        const QPalette desktop = QApplication::palette();
        const QString stile = QApplication::style()->name();
        Scuro s;
        prova::Ambiente &a = s.a;
        FrmMain &f = *a.finestra;
        a.menu(QStringLiteral("mnuDark")); // twice: still dark
        QTest::qWait(0); // the windows hear of the new palette
        const QPalette p = QApplication::palette();
        for (const QPalette::ColorRole r : {QPalette::Window, QPalette::Base, QPalette::Button})
            QVERIFY(scuro(p.color(r)));
        for (const QPalette::ColorRole r : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            QVERIFY(chiaro(p.color(r)));
        auto *fusion = qobject_cast<QProxyStyle *>(QApplication::style()); // Fusion, its indicators outlined
        QVERIFY(fusion && fusion->baseStyle()->name().toLower() == QStringLiteral("fusion"));
        // Menu bar, toolbar and status bar follow the application.
        for (QWidget *w : std::initializer_list<QWidget *>{f.menuBar(), a.w(QStringLiteral("TB")), f.statusBar()})
            QVERIFY2(scuro(w->palette().color(QPalette::Window)), qPrintable(w->objectName()));
        coloriPropri(a, false);
        // The locked boxes of a component stay light grey with dark text.
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
        QMessageBox box(QMessageBox::Information, QStringLiteral("Arvo"), QStringLiteral("x"), QMessageBox::Ok, &f);
        for (const QWidget *w : std::initializer_list<const QWidget *>{s.liste.get(), &box})
            QVERIFY(scuro(w->palette().color(QPalette::Window)) && chiaro(w->palette().color(QPalette::WindowText)));

        // Disabled text stands out in every control that shows text, in each window, and the menus.
        QStringList deboli;
        int controlli = 0;
        for (QWidget *finestra : std::initializer_list<QWidget *>{&f, s.liste.get(), s.importa.get()}) {
            for (QWidget *w : finestra->findChildren<QWidget *>()) {
                auto ruoli = std::pair(QPalette::WindowText, QPalette::Window);
                if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractItemView *>(w) || qobject_cast<QMenu *>(w))
                    ruoli = {QPalette::Text, QPalette::Base};
                else if (qobject_cast<QPushButton *>(w) || qobject_cast<QToolButton *>(w) || qobject_cast<QComboBox *>(w))
                    ruoli = {QPalette::ButtonText, QPalette::Button};
                else if (!qobject_cast<QLabel *>(w) && !qobject_cast<QAbstractButton *>(w) && !qobject_cast<QGroupBox *>(w))
                    continue;
                ++controlli;
                const QPalette t = w->palette();
                const double c = prova::contrasto(t.color(QPalette::Disabled, ruoli.first), t.color(QPalette::Disabled, ruoli.second));
                if (c < 3.0)
                    deboli << QStringLiteral("%1 %2: %3").arg(w->metaObject()->className(), w->objectName()).arg(c);
            }
        }
        QVERIFY(controlli > 100);
        QVERIFY2(deboli.isEmpty(), qPrintable(deboli.join(u'\n')));

        a.menu(QStringLiteral("mnuLight"));
        QCOMPARE(QApplication::palette(), desktop);
        QCOMPARE(QApplication::style()->name(), stile);
        coloriPropri(a, true);
        QTest::qWait(0);
        QCOMPARE(s.liste->palette().color(QPalette::Window), desktop.color(QPalette::Window));
    }

    // Every toolbar button its own built-in picture, in both windows, and the program's icon in every window.
    void bottoniEFinestre()
    {
        prova::Ambiente a(prova::cinqueComponenti);
        FrmMain &f = *a.finestra;
        QSet<QString> nomi;
        int bottoni = 0;
        for (QAction *azione : a.w<QToolBar>(QStringLiteral("TB"))->actions()) {
            if (azione->objectName().isEmpty())
                continue; // a gap between groups
            ++bottoni;
            const QString nome = NomeIconaBarra(azione->objectName());
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
            QVERIFY2(azione, chiave);
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

    // Check boxes and radio buttons, ticked or not, enabled or not: the frame
    // outlines the indicator, and a mark stands out only when ticked.
    void indicatori_data()
    {
        Colonne<QString, bool, bool>("controllo", "spuntato", "attivo");
        for (const char *controllo : {"LVP", "chkExclude", "optSomma"})
            for (const bool spuntato : {false, true})
                for (const bool attivo : {true, false})
                    QTest::addRow("%s %d %d", controllo, spuntato, attivo) << QString::fromLatin1(controllo)
                                                                           << spuntato << attivo;
    }
    void indicatori()
    {
        const auto [controllo, spuntato, attivo] = Valori<QString, bool, bool>("controllo", "spuntato", "attivo");
        Scuro s;
        QWidget *w = s.liste->findChild<QWidget *>(controllo);
        w = w ? w : Figlio(s.importa.get(), controllo);
        w->setEnabled(attivo);
        const QStyle *stile = w->style();
        QRect zona;
        QPalette::ColorRole fondo = QPalette::Window;
        if (auto *lista = qobject_cast<ListaReport *>(w)) {
            lista->impostaSpunta(1, spuntato);
            QStyleOptionViewItem opzione;
            opzione.initFrom(lista->vista());
            opzione.rect = lista->vista()->visualRect(lista->vista()->model()->index(0, 0));
            opzione.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
            zona = stile->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opzione, lista->vista());
            w = lista->vista()->viewport();
            fondo = QPalette::Base;
        } else {
            qobject_cast<QAbstractButton *>(w)->setChecked(spuntato);
            QStyleOptionButton opzione;
            opzione.initFrom(w);
            zona = stile->subElementRect(qobject_cast<QRadioButton *>(w) ? QStyle::SE_RadioButtonIndicator
                                                                        : QStyle::SE_CheckBoxIndicator,
                                         &opzione, w);
        }
        const QImage immagine = w->grab().toImage();
        const QPalette::ColorGroup gruppo = attivo ? QPalette::Active : QPalette::Disabled;
        const auto [bordo, spazio] = marcati(immagine, zona.adjusted(-1, -1, 1, 1), w->palette().color(gruppo, fondo));
        QVERIFY2(bordo >= 2 * zona.width() && spazio.width() >= zona.width() - 2 && spazio.height() >= zona.height() - 2,
                 qPrintable(QStringLiteral("%1 pixel in %2x%3").arg(bordo).arg(spazio.width()).arg(spazio.height())));
        const QRect dentro = zona.adjusted(3, 3, -3, -3);
        QCOMPARE(marcati(immagine, dentro, w->palette().color(gruppo, QPalette::Base)).first >= dentro.width(), spuntato);
    }
};

QTEST_MAIN(TestTema)
#include "tst_tema.moc"
