// The keyboard: the focus when editing starts, the Tab order of the panel,
// the Alt mnemonics of the menus and the shortcuts.

#include "ambiente.h"

#include "ui/widgets/mnemonici.h"

using namespace prova;

namespace {

// The name of the focus widget, or of its nearest named parent.
QString NomeFocus()
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            return w->objectName();
    }
    return QString();
}

} // namespace

class TestFrmMainTastiera : public QObject {
    Q_OBJECT

private slots:
    // Tab walks the panel as it is drawn: top to bottom, left to right.
    void ordineTab()
    {
        Caso a(cinqueComponenti);
        FrmMain &f = *a.finestra;
        Attiva(&f);
        a.premi("new");
        QCOMPARE(NomeFocus(), QStringLiteral("txCodice"));
        // The buttons of an empty datasheet or picture are off, and skipped.
        QStringList attesi = {"txQty",      "cmbTipo",   "txDatains", "LP",       "cmbPack",     "txPins",
                              "txPackDesc", "txDesc",    "txNote",    "txExtra1", "txExtra2",    "txExtra3",
                              "txExtra4",   "txExtra5",  "txExtra6",  "txPDF",    "btnLoadPDF",  "btnClearPDF",
                              "txPic",      "btnLoadPic", "btnClearJPG", "FLP"};
        attesi.removeIf([&](const QString &n) { return !a.w(n)->isEnabled(); });
        QCOMPARE(attesi.size(), 20);
        QStringList visti;
        for (qsizetype i = 0; i < attesi.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visti << NomeFocus();
        }
        QCOMPARE(visti, attesi);
        // Each stop lies below, or right of on the same row, the one before.
        QPoint prima(-1, -1);
        for (const QString &nome : attesi.mid(0, 15)) {
            const QPoint qui = a.w(nome)->mapTo(a.w("fmDati"), QPoint(0, 0));
            QVERIFY2(qui.y() > prima.y() + 2 || (qAbs(qui.y() - prima.y()) <= 2 && qui.x() > prima.x()),
                     qPrintable(nome));
            prima = qui;
        }
        // Shift+Tab walks back; the search box comes just before the list.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(NomeFocus(), QStringLiteral("btnLoadPic"));
        a.premi("undo");
        a.w("txSearch")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), a.lista()->vista());
        // Whichever other command starts the editing, the focus lands in "Codice" too.
        for (const char *comando : {"mnuNew", "edit", "mnuEdit"}) {
            a.clicRiga(2, 0);
            a.lista()->vista()->setFocus();
            a.comando(QLatin1String(comando));
            QCOMPARE(a.bottoni() + NomeFocus(), QStringLiteral("00011txCodice"));
            a.premi("undo");
        }
    }

    // Each menu opens with Alt and a letter of its own; the items of a menu have letters unique in it. The shortcuts.
    void mnemoniciEScorciatoie()
    {
        Caso a(cinqueComponenti);
        FrmMain &f = *a.finestra;
        Attiva(&f);
        QStringList lettere;
        const QList<QAction *> menu = f.menuBar()->actions();
        QCOMPARE(menu.size(), 5);
        for (QAction *voce : menu) {
            const QKeySequence tasto = QKeySequence::mnemonic(voce->text());
            QVERIFY2(!tasto.isEmpty(), qPrintable(voce->text()));
            const QString lettera = tasto.toString().right(1);
            QVERIFY2(!lettere.contains(lettera), qPrintable(voce->text()));
            lettere << lettera;
            QCOMPARE(QString(voce->text()).remove(u'&'), voce->menu()->title().remove(u'&'));
            QTest::keySequence(&f, tasto);
            QTRY_VERIFY2(voce->menu()->isVisible(), qPrintable(voce->text()));
            voce->menu()->close();
            QTRY_VERIFY(!voce->menu()->isVisible());

            QStringList delMenu;
            for (QAction *a : voce->menu()->actions()) {
                if (a->isSeparator())
                    continue;
                const QString l = QKeySequence::mnemonic(a->text()).toString().right(1);
                QVERIFY2(!l.isEmpty() && !delMenu.contains(l), qPrintable(a->text()));
                delMenu << l;
            }
        }
        QCOMPARE(lettere, QStringList({"P", "C", "V", "O", "I"}));
        // The captions themselves are unchanged.
        QCOMPARE(a.azione("mnuQuit")->text().remove(u'&'), QStringLiteral("Esci"));
        QCOMPARE(a.azione("mnuHelp")->text().remove(u'&'), QStringLiteral("Visualizza il Manuale d'uso"));

        // The shortcuts; F1 and Ctrl+Q belong to menu items whose work other tests check from the menu.
        const QList<std::pair<const char *, const char *>> attese = {
            {"mnuNew", "Ctrl+N"}, {"mnuEdit", "Ctrl+E"},  {"mnuUpdate", "Ctrl+S"}, {"mnuDel", "Ctrl+X"},
            {"mnuSelect", "Ctrl+A"}, {"mnuHelp", "F1"}, {"mnuQuit", "Ctrl+Q"},    {"azioneCerca", "Ctrl+F"}};
        for (const auto &[nome, tasto] : attese)
            QCOMPARE(a.azione(QLatin1String(nome))->shortcut(), QKeySequence(QLatin1String(tasto)));

        // Ctrl+F: the search box, its text selected to be typed over.
        a.scrivi("txSearch", QStringLiteral("NE"));
        a.clicRiga(1, 0);
        QTest::keySequence(&f, QKeySequence(QStringLiteral("Ctrl+F")));
        QCOMPARE(NomeFocus(), QStringLiteral("txSearch"));
        QCOMPARE(a.w<QLineEdit>("txSearch")->selectedText(), QStringLiteral("NE"));
    }

    void sceltaMnemonico_data()
    {
        Colonne<QString, QString, QString>("testo", "usate", "atteso");
        QTest::newRow("iniziale") << "Esci" << "" << "&Esci";
        QTest::newRow("iniziale di un'altra parola") << "Tema scuro" << "T" << "Tema &scuro";
        QTest::newRow("lettera interna") << "Salva" << "S" << "S&alva";
        QTest::newRow("maiuscole e minuscole uguali") << "nuovo" << "N" << "n&uovo";
        QTest::newRow("gia' presente") << "&Apri" << "" << "&Apri";
        QTest::newRow("nessuna lettera libera") << "aa" << "A" << "aa";
        QTest::newRow("salta i segni") << "...Fine" << "" << "...&Fine";
    }
    void sceltaMnemonico()
    {
        const auto [testo, usate, atteso] = Valori<QString, QString, QString>("testo", "usate", "atteso");
        QStringList lettere = usate.isEmpty() ? QStringList() : usate.split(u',');
        QCOMPARE(ConMnemonico(testo, &lettere), atteso);
    }
};

QTEST_MAIN(TestFrmMainTastiera)
#include "tst_frmmain_tastiera.moc"
