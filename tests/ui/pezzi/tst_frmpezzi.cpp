// "Aggiungi pezzi" and "Preleva pezzi" through the real widgets, from the
// main window's menu, its shortcuts and the list's context menu.

#include "ui/storico/aiutistorico.h"

#include <QMenu>
#include <QSpinBox>

using namespace prova;

namespace {

const QString kDomandaOltre = QStringLiteral(
    "Pezzi richiesti: 25, pezzi di NE555 in magazzino: 20.\r\n"
    "Premi S\u00ec per prelevare tutti i pezzi in magazzino, No per tornare a modificare il numero");

// NE555 (row 5 of the list sorted by code, 20 pieces unless told) with a
// minimum of 15.
struct Prova : ConStorico {
    explicit Prova(qint32 scorta = 20)
    {
        stato.componente(1).Extra1 = QStringLiteral("15");
        stato.componente(1).Quantita = scorta;
        DialoghiFinti d;
        if (!SalvaDatabase(stato, d))
            qFatal("salvataggio fallito");
        apri();
        clicRiga(5, 0);
    }
    bool voci() const { return azione("mnuAggiungiPezzi")->isEnabled() && azione("mnuPrelevaPezzi")->isEnabled(); }
};

} // namespace

class TestFrmPezzi : public QObject {
    Q_OBJECT
private slots:
    // One confirmation, by the menu item ("+" adds, "-" takes, "+!" adds
    // with Componenti.dat read-only, "-invio" and "-esc" take with 3 typed
    // and that key), with the stock before, the pieces asked, the answer to
    // the question it may ask and the quantity after (the same when nothing
    // is written); under 15 the row is marked; the note is saved trimmed. A
    // save that fails leaves memory as it was and the window open. The caption and labels name the
    // component and its stock; the spin box goes from 1 to the 32-bit limit.
    void conferma_data()
    {
        Colonne<int, QString, int, QString, QString, int>("scorta", "verso", "quanti", "risposta", "box", "quantita");
        QTest::newRow("add, with a note") << 20 << "+" << 5 << "" << "" << 25;
        QTest::newRow("take, under the minimum") << 20 << "-" << 10 << "" << "" << 10;
        QTest::newRow("take more, Yes takes all there is") << 20 << "-" << 25 << "si" << kDomandaOltre << 0;
        QTest::newRow("take more, No takes nothing") << 20 << "-" << 25 << "no" << kDomandaOltre << 20;
        QTest::newRow("take from an empty stock")
            << -2 << "-" << 1 << ""
            << "In magazzino non ci sono pezzi di NE555: non c'\u00e8 nulla da prelevare." << -2;
        QTest::newRow("add past 32 bits, refused")
            << 20 << "+" << 2147483647 << ""
            << "Impossibile aggiungere 2147483647 pezzi a NE555:\r\n"
               "la quantit\u00e0 diventerebbe 2147483667, oltre il massimo di 2147483647."
            << 20;
        QTest::newRow("save fails") << 20 << "+!" << 5 << "" << "Errore nel salvataggio dei dati" << 20;
        QTest::newRow("Enter confirms") << 20 << "-invio" << 1 << "" << "" << 17;
        QTest::newRow("Esc cancels") << 20 << "-esc" << 1 << "" << "" << 20;
    }
    void conferma()
    {
        const auto [scorta, verso, quanti, risposta, box, quantita] =
            Valori<int, QString, int, QString, QString, int>("scorta", "verso", "quanti", "risposta", "box",
                                                             "quantita");
        const bool aggiunta = verso.startsWith('+'), guasto = verso == "+!";
        const int tasto = verso == "-invio" ? Qt::Key_Return : verso == "-esc" ? Qt::Key_Escape : 0;
        const bool scritta = quantita != scorta;
        const bool sottoScorta = quantita < 15;
        Prova a(scorta);
        if (guasto)
            QVERIFY(QFile::setPermissions(a.cartella.file("Componenti.dat"), QFile::ReadOwner | QFile::ReadGroup));
        const QString messaggio =
            guasto ? "Attenzione: i dati NON sono stati salvati, nessun pezzo \u00e8 stato aggiunto" : a.messaggio();
        if (!risposta.isEmpty())
            a.dialoghi.setNextAnswer(prova::risposta(risposta));
        else if (!box.isEmpty())
            a.dialoghi.setNextAnswer(Risposta::Ok);
        QString dopo;
        const char *voce = aggiunta ? "mnuAggiungiPezzi" : "mnuPrelevaPezzi";
        QVERIFY(a.pezzi(voce, quanti, "  ordine 12 ", [&](const Storico_ &f) {
            QCOMPARE(f.w->windowTitle(), QStringLiteral("%1 pezzi - NE555").arg(aggiunta ? "Aggiungi" : "Preleva"));
            QCOMPARE(f.c<QLabel>("lblComponentePezzi")->text(),
                     QStringLiteral("Componente: NE555 - TI - IC\nQuantit\u00e0 attuale: %1").arg(scorta));
            auto *spn = f.c<QSpinBox>("spnPezzi");
            QCOMPARE(spn->minimum(), 1);
            QCOMPARE(spn->maximum(), 2147483647);
            if (tasto) {
                // The window's focus (whether or not the platform made it active).
                QTRY_COMPARE(f.w->focusWidget(), spn);
                spn->selectAll();
                QTest::keyClicks(spn, "3");
                QCOMPARE(f.c<QLabel>("lblDopoPezzi")->text(), QStringLiteral("Quantit\u00e0 dopo: 17"));
                QTest::keyClick(spn, Qt::Key(tasto));
            } else {
                f.clic("btnConfermaPezzi");
            }
            dopo = f.w->isVisible() ? f.c<QLabel>("lblDopoPezzi")->text() : QString();
        }));
        QCOMPARE(a.rimastaAperta, !scritta && !tasto);
        if (guasto)
            QCOMPARE(dopo, "Attenzione: i dati NON sono stati salvati, la quantit\u00e0 resta 20.");
        if (box.isEmpty())
            QCOMPARE(a.dialoghi.boxes().size(), 0);
        else if (guasto)
            VerificaBox(a.dialoghi, box, Icona::Nessuna);
        else
            VerificaBox(a.dialoghi, box, scorta < 0 ? Icona::Informazione : Icona::Esclamazione,
                        risposta.isEmpty() ? Pulsanti::Ok : Pulsanti::SiNo,
                        aggiunta ? "Aggiungi pezzi" : "Preleva pezzi");
        QCOMPARE(a.stato.componente(1).Quantita, quantita);
        QCOMPARE(a.suDisco()->componente(1).Quantita, quantita);
        QCOMPARE(Storico(a), scritta ? QStringList{QStringLiteral("1;%1 pezzi;10;NE555;%2;%3;ordine 12")
                                                       .arg(aggiunta ? "Aggiunta" : "Prelievo")
                                                       .arg(scorta)
                                                       .arg(quantita)}
                                     : QStringList());
        // The row, its mark, the counters and the panel follow.
        QCOMPARE(a.lista()->testo(5, 0), QStringLiteral("NE555"));
        QCOMPARE(a.lista()->testo(5, 3), QString::number(quantita));
        QCOMPARE(a.lista()->evidenziata(5), sottoScorta);
        QCOMPARE(a.etichetta("numScorta"), sottoScorta ? "Sotto scorta 1" : "Sotto scorta 0");
        QCOMPARE(a.contatori(), QStringLiteral("5/5/%1").arg(124 + qint64(quantita)));
        QCOMPARE(a.testo("txQty"), QString::number(quantita));
        QCOMPARE(a.corrente(), 1);
        QCOMPARE(a.messaggio(), !scritta ? messaggio
                                         : QStringLiteral("Operazione completata: NE555, pezzi %1 %2, quantit\u00e0 %3")
                                               .arg(aggiunta ? "aggiunti" : "prelevati")
                                               .arg(qAbs(qint64(quantita) - scorta))
                                               .arg(quantita));
        QVERIFY(a.voci());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // On only while a stored component is shown and nothing is edited, and
    // never on an archive open read-only.
    void vociAttive_data()
    {
        Colonne<QString, bool>("passi", "attive");
        QTest::newRow("row clicked") << "" << true;
        QTest::newRow("panel emptied") << "clear" << false;
        QTest::newRow("editing") << "edit" << false;
        QTest::newRow("new component") << "new" << false;
        QTest::newRow("saved, still shown") << "edit save" << true;
        QTest::newRow("list refilled") << "reselect" << false;
        QTest::newRow("read-only") << "readonly" << false;
    }
    void vociAttive()
    {
        const auto [passi, attive] = Valori<QString, bool>("passi", "attive");
        Prova a;
        for (const QString &p : passi.split(' ', Qt::SkipEmptyParts)) {
            if (p == "readonly") {
                a.stato.SolaLettura = true;
                a.apri();
                a.clicRiga(5, 0);
            } else if (p == "clear") {
                a.finestra->AnnullaModifica();
            } else if (p == "reselect") {
                a.finestra->RiempiLista();
            } else {
                a.premi(p);
            }
        }
        QCOMPARE(a.voci(), attive);
        // A shortcut of an item that is off opens nothing.
        bool aperta = false;
        QObject contesto;
        QuandoModale([&](QWidget *m) { aperta = true; m->close(); }, &contesto);
        QApplication::setActiveWindow(a.finestra.get());
        QVERIFY(QTest::qWaitForWindowActive(a.finestra.get()));
        QTest::keyClick(a.finestra.get(), Qt::Key_Plus, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(aperta, attive, 200);
        QCOMPARE(a.azione("mnuAggiungiPezzi")->shortcut(), QKeySequence("Ctrl++"));
        QCOMPARE(a.azione("mnuPrelevaPezzi")->shortcut(), QKeySequence("Ctrl+-"));
    }

    // The right button on a row's code shows it and its menu; on a
    // manufacturer it selects by it, as ever, without a menu. The menu key
    // gives the menu of the row selected.
    void menuContestuale()
    {
        Prova a;
        QMenu *menu = a.w<QMenu>("menuLista");
        QStringList voci;
        for (QAction *v : menu->actions())
            voci << (v->isSeparator() ? QStringLiteral("-") : v->objectName());
        QCOMPARE(voci, QStringList({"mnuAggiungiPezzi", "mnuPrelevaPezzi", "-", "mnuStorico"}));
        a.finestra->AnnullaModifica();
        a.clicRiga(3, 0, Qt::RightButton);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(a.testo("txCodice"), QStringLiteral("BC547C"));
        QVERIFY(a.voci());
        menu->close();
        a.clicRiga(3, 1, Qt::RightButton);
        QTest::qWait(50);
        QVERIFY(!menu->isVisible());
        QCOMPARE(a.lista()->numeroRighe(), 2); // the two of ST
        a.clicRiga(1, 0);
        QContextMenuEvent tasto(QContextMenuEvent::Keyboard, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(a.lista()->vista(), &tasto);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }
};

QTEST_MAIN(TestFrmPezzi)
#include "tst_frmpezzi.moc"
