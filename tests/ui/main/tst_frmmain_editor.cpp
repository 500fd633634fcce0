// Editor states of the detail panel: the five editing buttons, the panel's
// colours, entering, editing, cancelling (also with Esc from any control),
// the menu commands in every state and the pick lists.

#include "ambiente.h"

#include "store/orologio.h"

using namespace prova;

namespace {

QColor base(QWidget *w)
{
    return w->palette().color(QPalette::Base);
}

} // namespace

class TestFrmMainEditor : public QObject {
    Q_OBJECT

    static void prepara(Ambiente &a)
    {
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        Componente &c = a.stato.Componenti[1]; // BC547C
        c.IDPackage = 2;
        c.Pins = 3;
        c.Descrizione = QStringLiteral("Transistor NPN");
        c.Note = QStringLiteral("cassetto 4");
        c.Datasheet = QStringLiteral("bc547.pdf");
        c.Extra1 = QStringLiteral("50");
        c.Extra6 = QStringLiteral("sei");
        a.apri();
    }
    static QString testo(const Ambiente &a, const QString &nome) { return a.w<QLineEdit>(nome)->text(); }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void statiDellEditor()
    {
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        auto *fmDati = a.w(QStringLiteral("fmDati"));
        auto *fmImm = a.w(QStringLiteral("fmImm"));

        // Browsing, component shown (row 3 is BC547C, position 2).
        a.clicRiga(3, 0);
        QCOMPARE(a.bottoni(), QStringLiteral("11100"));
        QVERIFY(!fmDati->isEnabled());
        QCOMPARE(testo(a, QStringLiteral("txCodice")), QStringLiteral("BC547C"));
        QVERIFY(a.bottone(QStringLiteral("pdf"))->isEnabled());

        // Entering a new component: a copy of the shown one with today's date.
        a.bottone(QStringLiteral("new"))->trigger();
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QVERIFY(fmDati->isEnabled());
        QVERIFY(fmImm->isEnabled());
        QVERIFY(!a.lista()->isEnabled());
        QCOMPARE(testo(a, QStringLiteral("txCodice")), QStringLiteral("BC547C"));
        QCOMPARE(testo(a, QStringLiteral("txDatains")), QStringLiteral("05/12/2026"));
        QCOMPARE(f.variabili().PosCorrente, 5);
        QVERIFY(f.variabili().NuovoInserimento);
        QCOMPARE(a.messaggio(), f.messaggi()[5]);
        // The buttons of the other groups are left alone.
        QVERIFY(a.bottone(QStringLiteral("pdf"))->isEnabled());
        for (const char *n : {"txCodice", "txQty", "txDatains", "txPins"})
            QCOMPARE(base(a.w(QLatin1String(n))), QColor(216, 254, 176));
        for (const char *n : {"cmbTipo", "cmbPack"})
            QCOMPARE(base(a.w<QComboBox>(QLatin1String(n))->lineEdit()), QColor(216, 254, 176));
        for (const char *n : {"txDesc", "txNote", "txExtra1", "txExtra6"})
            QCOMPARE(base(a.w(QLatin1String(n))), QColor(255, 250, 215));
        QCOMPARE(base(a.w(QStringLiteral("LP"))), QColor(221, 232, 238));
        QCOMPARE(base(a.w(QStringLiteral("FLP"))), QColor(221, 232, 238));

        // Cancel: empty, locked, list back in use, nothing added.
        a.bottone(QStringLiteral("undo"))->trigger();
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(!fmDati->isEnabled());
        QVERIFY(!fmImm->isEnabled());
        QVERIFY(a.lista()->isEnabled());
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
        QVERIFY(!f.variabili().NuovoInserimento);
        QCOMPARE(a.stato.NumComponenti, 5);
        for (const char *n : {"txCodice", "txQty", "txDatains", "txPins", "txDesc", "txNote", "txExtra1",
                              "txExtra6", "txPDF", "txPic"}) {
            QVERIFY2(testo(a, QLatin1String(n)).isEmpty(), n);
        }
        for (const char *n : {"txCodice", "txQty", "txDatains", "txPins", "txDesc", "txNote", "txExtra3"})
            QCOMPARE(base(a.w(QLatin1String(n))), QColor(Qt::white));
        QCOMPARE(base(a.w(QStringLiteral("LP"))), QColor(240, 240, 240));
        QCOMPARE(base(a.w(QStringLiteral("FLP"))), QColor(240, 240, 240));
        QVERIFY(!a.bottone(QStringLiteral("pdf"))->isEnabled());
        for (const char *n : {"btnClearJPG", "btnAddJPG", "btnClearPDF"})
            QVERIFY(!a.w(QLatin1String(n))->isEnabledTo(fmImm));
        QVERIFY(a.w<QLabel>(QStringLiteral("pic"))->pixmap().isNull());
        QVERIFY(a.w<QLabel>(QStringLiteral("lblRedimPic"))->text().isEmpty());
        QCOMPARE(a.w(QStringLiteral("lblRedimPic"))->palette().color(QPalette::Window), QColor(128, 128, 128));

        // Editing the shown component: PosCorrente stays.
        a.clicRiga(3, 0);
        a.bottone(QStringLiteral("edit"))->trigger();
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QCOMPARE(f.variabili().PosCorrente, 2);
        QVERIFY(!f.variabili().NuovoInserimento);
        QCOMPARE(a.messaggio(), f.messaggi()[5]);
        QVERIFY(!a.lista()->isEnabled());

        // A failed check leaves only "undo"; the menu's Salva still works.
        a.w<QLineEdit>(QStringLiteral("txQty"))->setText(QStringLiteral("abc"));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.bottoni(), QStringLiteral("00001"));
        QVERIFY(!a.lista()->isEnabled());
        QVERIFY(fmDati->isEnabled());
        a.w<QLineEdit>(QStringLiteral("txQty"))->setText(QStringLiteral("42"));
        a.azione(QStringLiteral("mnuUpdate"))->trigger();
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QCOMPARE(a.stato.componente(2).Quantita, 42);
        QVERIFY(a.lista()->isEnabled());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void escInOgniStato_data()
    {
        QTest::addColumn<QString>("stato");
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<bool>("annulla");
        QTest::newRow("navigazione") << "browse" << "txSearch" << false;
        QTest::newRow("nuovo, fuoco sul codice") << "new" << "txCodice" << true;
        QTest::newRow("nuovo, fuoco sui produttori") << "new" << "LP" << true;
        QTest::newRow("modifica, fuoco sul tipo") << "edit" << "cmbTipo" << true;
        QTest::newRow("modifica, fuoco sulle note") << "edit" << "txNote" << true;
        QTest::newRow("controllo fallito") << "failed" << "txQty" << true;
    }
    void escInOgniStato()
    {
        QFETCH(QString, stato);
        QFETCH(QString, fuoco);
        QFETCH(bool, annulla);
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        a.clicRiga(3, 0);
        if (stato == QLatin1String("new")) {
            a.bottone(QStringLiteral("new"))->trigger();
        } else if (stato != QLatin1String("browse")) {
            a.bottone(QStringLiteral("edit"))->trigger();
            if (stato == QLatin1String("failed")) {
                a.w<QLineEdit>(QStringLiteral("txQty"))->clear();
                a.dialoghi.setNextAnswer(Risposta::Ok);
                a.bottone(QStringLiteral("save"))->trigger();
            }
        }
        const QString prima = a.bottoni();
        const QString messaggioPrima = a.messaggio();
        QWidget *w = a.w(fuoco);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            w = combo->lineEdit();
        QTest::keyClick(w, Qt::Key_Escape);
        if (annulla) {
            QCOMPARE(a.bottoni(), QStringLiteral("10000"));
            QCOMPARE(a.messaggio(), f.messaggi()[0]);
            QVERIFY(testo(a, QStringLiteral("txCodice")).isEmpty());
            QVERIFY(a.lista()->isEnabled());
        } else {
            QCOMPARE(a.bottoni(), prima);
            QCOMPARE(a.messaggio(), messaggioPrima);
            QCOMPARE(testo(a, QStringLiteral("txCodice")), QStringLiteral("BC547C"));
        }
        QCOMPARE(a.stato.NumComponenti, 5);
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
        a.azione(QStringLiteral("mnuUpdate"))->trigger();
        QCOMPARE(a.dialoghi.ultimoBox().testo,
                 QStringLiteral("Attenzione: manca il Codice\r\nInserire il valore e riprovare !"));
        QCOMPARE(a.bottoni(), QStringLiteral("00001"));
        a.bottone(QStringLiteral("undo"))->trigger();

        // "Elimina" with no current component: message 4, no question.
        a.azione(QStringLiteral("mnuDel"))->trigger();
        QCOMPARE(a.messaggio(), f.messaggi()[4]);
        QCOMPARE(a.stato.NumComponenti, 5);

        // "Modifica" with no current component moves the focus to the picture
        // and leads to a save that stores nothing.
        a.azione(QStringLiteral("mnuEdit"))->trigger();
        QCOMPARE(a.finestra->focusWidget(), a.w(QStringLiteral("pic")));
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        a.w<QLineEdit>(QStringLiteral("txCodice"))->setText(QStringLiteral("X1"));
        a.w<QLineEdit>(QStringLiteral("txQty"))->setText(QStringLiteral("1"));
        a.azione(QStringLiteral("mnuUpdate"))->trigger();
        QCOMPARE(a.stato.NumComponenti, 5);
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QVERIFY(!a.lista()->isEnabled());
        QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));

        // "Nuovo" from the editing state.
        a.azione(QStringLiteral("mnuNew"))->trigger();
        QVERIFY(f.variabili().NuovoInserimento);
        QCOMPARE(testo(a, QStringLiteral("txDatains")), QStringLiteral("05/12/2026"));

        // "Seleziona tutti" does nothing.
        const QString prima = a.bottoni();
        a.azione(QStringLiteral("mnuSelect"))->trigger();
        QCOMPARE(a.bottoni(), prima);
        QCOMPARE(testo(a, QStringLiteral("txCodice")), QStringLiteral("X1"));
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
        auto *codice = a.w<QLineEdit>(QStringLiteral("txCodice"));
        codice->setFocus();
        QTest::keyClicks(codice, QStringLiteral("1N4007"));
        a.w<QLineEdit>(QStringLiteral("txQty"))->setText(QStringLiteral("30"));
        QTest::keyClick(codice, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(a.stato.NumComponenti, 6);
        QCOMPARE(a.stato.componente(6).Codice, QStringLiteral("1N4007"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void abilitaBottoniLasciaGliAltri()
    {
        Ambiente a;
        prepara(a);
        a.clicRiga(3, 0);
        a.bottone(QStringLiteral("reselect"))->setEnabled(false);
        QVERIFY(a.bottone(QStringLiteral("pdf"))->isEnabled());
        a.finestra->AbilitaBottoni(true, false, false, false, false);
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(a.bottone(QStringLiteral("pdf"))->isEnabled());
        QVERIFY(!a.bottone(QStringLiteral("reselect"))->isEnabled());
        QVERIFY(a.bottone(QStringLiteral("search"))->isEnabled());
        QVERIFY(a.bottone(QStringLiteral("list"))->isEnabled());
    }

    void listeDiScelta()
    {
        Ambiente a;
        prepara(a);
        auto *tipi = a.w<QComboBox>(QStringLiteral("cmbTipo"));
        auto *pack = a.w<QComboBox>(QStringLiteral("cmbPack"));
        auto *lp = a.w<QListWidget>(QStringLiteral("LP"));
        QCOMPARE(tipi->count(), 3);
        QCOMPARE(tipi->itemText(2), QStringLiteral("REG"));
        QCOMPARE(tipi->itemData(2).toInt(), 3);
        QCOMPARE(lp->count(), 3);
        QCOMPARE(lp->item(1)->text(), QStringLiteral("ST"));
        QCOMPARE(lp->item(1)->data(Qt::UserRole).toInt(), 2);
        QCOMPARE(pack->count(), 2);
        QCOMPARE(pack->itemText(1), QStringLiteral("TO92"));
        QCOMPARE(pack->itemData(1).toInt(), 2);

        // A refill after the tables changed (IDs need not follow positions).
        a.stato.Produttori.append({9, QStringLiteral("Vishay")});
        a.stato.NumProduttori = 4;
        a.finestra->CaricaTabelle();
        QCOMPARE(lp->count(), 4);
        QCOMPARE(lp->item(3)->data(Qt::UserRole).toInt(), 9);
    }
};

QTEST_MAIN(TestFrmMainEditor)
#include "tst_frmmain_editor.moc"
