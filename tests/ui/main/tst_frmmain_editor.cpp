// Editor states of the detail panel: the five editing buttons, the panel's
// colours, entering, editing, cancelling (also with Esc from any control),
// the menu commands in every state and the pick lists.

#include "ambiente.h"

#include "store/orologio.h"

using namespace prova;

class TestFrmMainEditor : public QObject {
    Q_OBJECT

    static QColor base(QWidget *w) { return w->palette().color(QPalette::Base); }
    // The table of five with details on BC547C (position 2, row 3 once sorted).
    static void prepara(Ambiente &a)
    {
        cinqueComponenti(a.stato);
        Componente &c = a.stato.Componenti[1];
        c.IDPackage = 2;
        c.Descrizione = QStringLiteral("Transistor NPN");
        c.Datasheet = QStringLiteral("bc547.pdf");
        a.apri();
    }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void statiDellEditor()
    {
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        auto *fmDati = a.w("fmDati");
        auto *fmImm = a.w("fmImm");

        // Browsing, component shown.
        a.clicRiga(3, 0);
        QCOMPARE(a.bottoni(), QStringLiteral("11100"));
        QVERIFY(!fmDati->isEnabled());
        QVERIFY(a.bottone("pdf")->isEnabled());

        // Entering a new component: a copy of the shown one with today's date.
        a.premi("new");
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QVERIFY(fmDati->isEnabled() && fmImm->isEnabled());
        QVERIFY(!a.lista()->isEnabled());
        QCOMPARE(a.testo("txCodice"), QStringLiteral("BC547C"));
        QCOMPARE(a.testo("txDatains"), QStringLiteral("05/12/2026"));
        QCOMPARE(f.variabili().PosCorrente, 5);
        QVERIFY(f.variabili().NuovoInserimento);
        QCOMPARE(a.messaggio(), f.messaggi()[5]);
        QCOMPARE(base(a.w("txQty")), QColor(216, 254, 176));
        QCOMPARE(base(a.w<QComboBox>("cmbTipo")->lineEdit()), QColor(216, 254, 176));
        QCOMPARE(base(a.w("txExtra6")), QColor(255, 250, 215));
        QCOMPARE(base(a.w("LP")), QColor(221, 232, 238));

        // Cancel: empty, locked, list back in use, nothing added.
        a.premi("undo");
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(!fmDati->isEnabled() && !fmImm->isEnabled());
        QVERIFY(a.lista()->isEnabled());
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
        QCOMPARE(a.stato.NumComponenti, 5);
        QCOMPARE(a.testo("txCodice") + a.testo("txQty") + a.testo("txDatains") + a.testo("txPDF"), QString());
        QCOMPARE(base(a.w("txQty")), QColor(Qt::white));
        QCOMPARE(base(a.w("FLP")), QColor(240, 240, 240));
        QVERIFY(!a.bottone("pdf")->isEnabled());
        QVERIFY(a.riquadro().isNull());

        // Editing the shown component: PosCorrente stays.
        a.clicRiga(3, 0);
        a.premi("edit");
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QCOMPARE(f.variabili().PosCorrente, 2);
        QVERIFY(!f.variabili().NuovoInserimento);

        // A failed check leaves only "undo"; the menu's Salva still works.
        a.scrivi("txQty", QStringLiteral("abc"));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("save");
        QCOMPARE(a.bottoni(), QStringLiteral("00001"));
        QVERIFY(!a.lista()->isEnabled());
        a.scrivi("txQty", QStringLiteral("42"));
        a.menu("mnuUpdate");
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QCOMPARE(a.stato.componente(2).Quantita, 42);
        QVERIFY(a.lista()->isEnabled());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void escInOgniStato_data()
    {
        QTest::addColumn<QString>("stato");
        QTest::addColumn<QString>("fuoco");
        QTest::newRow("navigazione") << "browse" << "txSearch";
        QTest::newRow("nuovo, fuoco sui produttori") << "new" << "LP";
        QTest::newRow("modifica, fuoco sul tipo") << "edit" << "cmbTipo";
        QTest::newRow("controllo fallito") << "failed" << "txQty";
    }
    void escInOgniStato()
    {
        QFETCH(QString, stato);
        QFETCH(QString, fuoco);
        Ambiente a;
        prepara(a);
        a.clicRiga(3, 0);
        if (stato != QLatin1String("browse"))
            a.premi(stato == QLatin1String("new") ? "new" : "edit");
        if (stato == QLatin1String("failed")) {
            a.scrivi("txQty", QString());
            a.dialoghi.setNextAnswer(Risposta::Ok);
            a.premi("save");
        }
        QWidget *w = a.w(fuoco);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            w = combo->lineEdit();
        QTest::keyClick(w, Qt::Key_Escape);
        if (stato == QLatin1String("browse")) {
            QCOMPARE(a.bottoni(), QStringLiteral("11100"));
            QCOMPARE(a.testo("txCodice"), QStringLiteral("BC547C"));
        } else {
            QCOMPARE(a.bottoni(), QStringLiteral("10000"));
            QCOMPARE(a.messaggio(), a.finestra->messaggi()[0]);
            QVERIFY(a.testo("txCodice").isEmpty());
            QVERIFY(a.lista()->isEnabled());
        }
        QCOMPARE(a.stato.componente(2).Quantita, 100);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void menuInOgniStato()
    {
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        // "Salva" while browsing with an empty panel: the first check refuses it.
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.menu("mnuUpdate");
        QCOMPARE(a.dialoghi.ultimoBox().testo,
                 QStringLiteral("Attenzione: manca il Codice\r\nInserire il valore e riprovare !"));
        QCOMPARE(a.bottoni(), QStringLiteral("00001"));
        a.premi("undo");

        // "Elimina" with no current component: message 4, no question.
        a.menu("mnuDel");
        QCOMPARE(a.messaggio(), f.messaggi()[4]);
        QCOMPARE(a.stato.NumComponenti, 5);

        // "Modifica" with no current component moves the focus to the picture
        // and leads to a save that stores nothing.
        a.menu("mnuEdit");
        QCOMPARE(a.finestra->focusWidget(), a.w("pic"));
        a.scrivi("txCodice", QStringLiteral("X1"));
        a.scrivi("txQty", QStringLiteral("1"));
        a.menu("mnuUpdate");
        QCOMPARE(a.stato.NumComponenti, 5);
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));

        // "Nuovo" from the editing state; "Seleziona tutti" does nothing.
        a.menu("mnuNew");
        QVERIFY(f.variabili().NuovoInserimento);
        a.menu("mnuSelect");
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QCOMPARE(a.testo("txCodice"), QStringLiteral("X1"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void scorciatoie()
    {
        Ambiente a;
        prepara(a);
        a.finestra->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(a.finestra.get()));
        // Ctrl+N from the list, Ctrl+S from a text box of the panel.
        a.lista()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(a.finestra->variabili().NuovoInserimento);
        auto *codice = a.w<QLineEdit>("txCodice");
        codice->setFocus();
        codice->clear();
        QTest::keyClicks(codice, QStringLiteral("1N4007"));
        a.scrivi("txQty", QStringLiteral("30"));
        QTest::keyClick(codice, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(a.stato.NumComponenti, 6);
        QCOMPARE(a.stato.componente(6).Codice, QStringLiteral("1N4007"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainEditor)
#include "tst_frmmain_editor.moc"
