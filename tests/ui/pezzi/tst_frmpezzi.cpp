// "Aggiungi pezzi" and "Preleva pezzi" through the real widgets, from the
// main window's menu, its shortcuts and the list's context menu: when the
// items are on, what a confirmation writes (table and history line), the
// questions and refusals at the edges of the stock and of 32 bits, a save
// that fails, and what the main window shows after.

#include "ui/storico/aiutistorico.h"

#include <QMenu>
#include <QSpinBox>

using namespace prova;

namespace {

const QString kDomandaOltre = QStringLiteral(
    "Pezzi richiesti: 25, pezzi di NE555 in magazzino: 20.\r\n"
    "Premi S\u00ec per prelevare tutti i pezzi in magazzino, No per tornare a modificare il numero");

// NE555 (row 5 of the list sorted by code, 20 pieces) with a minimum of 15.
struct Prova : ConStorico {
    Prova()
    {
        stato.componente(1).Extra1 = QStringLiteral("15");
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
    // One confirmation, by the menu item, with the pieces typed and the
    // answer to the question it may ask.
    void conferma_data()
    {
        Colonne<QString, int, QString, QString, int, QString, bool>("voce", "quanti", "risposta", "box", "quantita",
                                                                    "riga", "sottoScorta");
        QTest::newRow("add, with a note") << "mnuAggiungiPezzi" << 5 << "" << "" << 25
                                          << "1;Aggiunta pezzi;10;NE555;20;25;ordine 12" << false;
        QTest::newRow("take, under the minimum") << "mnuPrelevaPezzi" << 10 << "" << "" << 10
                                                 << "1;Prelievo pezzi;10;NE555;20;10;ordine 12" << true;
        QTest::newRow("take the whole stock") << "mnuPrelevaPezzi" << 20 << "" << "" << 0
                                              << "1;Prelievo pezzi;10;NE555;20;0;ordine 12" << true;
        QTest::newRow("take more, Yes takes all there is")
            << "mnuPrelevaPezzi" << 25 << "si" << kDomandaOltre << 0 << "1;Prelievo pezzi;10;NE555;20;0;ordine 12"
            << true;
        QTest::newRow("take more, No takes nothing") << "mnuPrelevaPezzi" << 25 << "no" << kDomandaOltre << 20 << ""
                                                     << false;
        QTest::newRow("add past 32 bits, refused")
            << "mnuAggiungiPezzi" << 2147483647 << ""
            << "Impossibile aggiungere 2147483647 pezzi a NE555:\r\n"
               "la quantit\u00e0 diventerebbe 2147483667, oltre il massimo di 2147483647."
            << 20 << "" << false;
        QTest::newRow("add up to 32 bits") << "mnuAggiungiPezzi" << 2147483627 << "" << "" << 2147483647
                                           << "1;Aggiunta pezzi;10;NE555;20;2147483647;ordine 12" << false;
    }
    void conferma()
    {
        const auto [voce, quanti, risposta, box, quantita, riga, sottoScorta] =
            Valori<QString, int, QString, QString, int, QString, bool>("voce", "quanti", "risposta", "box",
                                                                       "quantita", "riga", "sottoScorta");
        Prova a;
        const QString messaggio = a.messaggio();
        if (!risposta.isEmpty())
            a.dialoghi.setNextAnswer(prova::risposta(risposta));
        else if (!box.isEmpty())
            a.dialoghi.setNextAnswer(Risposta::Ok);
        bool rimastaAperta = false;
        QVERIFY(a.pezzi(voce.toLatin1().constData(), quanti, QStringLiteral("ordine 12"), [&](QWidget *m) {
            QTest::mouseClick(Figlio<QPushButton>(m, QStringLiteral("btnConfermaPezzi")), Qt::LeftButton);
            rimastaAperta = m->isVisible();
        }));
        QCOMPARE(rimastaAperta, riga.isEmpty());
        if (box.isEmpty())
            QCOMPARE(a.dialoghi.boxes().size(), 0);
        else
            VerificaBox(a.dialoghi, box,
                        Icona::Esclamazione, risposta.isEmpty() ? Pulsanti::Ok : Pulsanti::SiNo,
                        voce == "mnuAggiungiPezzi" ? "Aggiungi pezzi" : "Preleva pezzi");

        QCOMPARE(a.stato.componente(1).Quantita, quantita);
        QCOMPARE(a.suDisco()->componente(1).Quantita, quantita);
        QCOMPARE(Storico(a), riga.isEmpty() ? QStringList() : QStringList{riga});
        // The row, its mark, the counters and the panel follow.
        QCOMPARE(a.lista()->testo(5, 0), QStringLiteral("NE555"));
        QCOMPARE(a.lista()->testo(5, 3), QString::number(quantita));
        QCOMPARE(a.lista()->evidenziata(5), sottoScorta);
        QCOMPARE(a.etichetta("numScorta"), sottoScorta ? "Sotto scorta 1" : "Sotto scorta 0");
        QCOMPARE(a.contatori(), QStringLiteral("5/5/%1").arg(124 + qint64(quantita)));
        QCOMPARE(a.testo("txQty"), QString::number(quantita));
        QCOMPARE(a.corrente(), 1);
        if (riga.isEmpty()) {
            QCOMPARE(a.messaggio(), messaggio);
        } else {
            const qint64 mossi = qAbs(qint64(quantita) - 20);
            QCOMPARE(a.messaggio(), QStringLiteral("Operazione completata: NE555, pezzi %1 %2, quantit\u00e0 %3")
                                        .arg(voce == "mnuAggiungiPezzi" ? "aggiunti" : "prelevati")
                                        .arg(mossi)
                                        .arg(quantita));
        }
        QVERIFY(a.voci());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Nothing to take from an empty stock: said, nothing written.
    void scortaVuota()
    {
        Prova a;
        a.premi("edit");
        a.scrivi("txQty", "-2");
        a.premi("save");
        a.clicRiga(5, 0);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(a.pezzi("mnuPrelevaPezzi", 1));
        VerificaBox(a.dialoghi,
                    "In magazzino non ci sono pezzi di NE555: non c'\u00e8 nulla da prelevare.",
                    Icona::Informazione, Pulsanti::Ok, "Preleva pezzi");
        QCOMPARE(a.stato.componente(1).Quantita, -2);
        QCOMPARE(Storico(a).size(), 1); // the edit's line only
    }

    // The caption and labels name the component and its stock; the spin
    // box starts at 1 and goes to the 32-bit limit; Enter confirms, Esc
    // cancels.
    void tastiera_data()
    {
        Colonne<int, int>("tasto", "quantita");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 17;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 20;
    }
    void tastiera()
    {
        const auto [tasto, quantita] = Valori<int, int>("tasto", "quantita");
        Prova a;
        QVERIFY(a.pezzi("mnuPrelevaPezzi", 1, QString(), [&](QWidget *m) {
            QCOMPARE(m->windowTitle(), QStringLiteral("Preleva pezzi - NE555"));
            QCOMPARE(Figlio<QLabel>(m, QStringLiteral("lblComponentePezzi"))->text(),
                     QStringLiteral("Componente: NE555 - TI - IC\nQuantit\u00e0 attuale: 20"));
            auto *spn = Figlio<QSpinBox>(m, QStringLiteral("spnPezzi"));
            QCOMPARE(spn->minimum(), 1);
            QCOMPARE(spn->maximum(), 2147483647);
            QCOMPARE(QApplication::focusWidget(), spn);
            spn->selectAll();
            QTest::keyClicks(spn, "3");
            QCOMPARE(Figlio<QLabel>(m, QStringLiteral("lblDopoPezzi"))->text(), QStringLiteral("Quantit\u00e0 dopo: 17"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(tasto));
            QVERIFY(!m->isVisible());
        }));
        QCOMPARE(a.stato.componente(1).Quantita, quantita);
        QCOMPARE(Storico(a).size(), quantita == 20 ? 0 : 1);
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
        Attiva(a.finestra.get());
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

    // A save that fails: the message, the window still open with what was
    // typed, files and memory as before; once given up, the main window
    // says nothing was saved.
    void nonSalvato_data()
    {
        Colonne<bool>("cartella"); // else Componenti.dat read-only
        QTest::newRow("history a folder") << true;
        QTest::newRow("table read-only") << false;
    }
    void nonSalvato()
    {
        const auto [cartella] = Valori<bool>("cartella");
        Prova a;
        if (cartella)
            QVERIFY(QDir().mkpath(a.cartella.file(NomeFileMovimenti)));
        else
            QVERIFY(QFile::setPermissions(a.cartella.file("Componenti.dat"), QFile::ReadOwner | QFile::ReadGroup));
        const QList<QByteArray> dati = a.fileDati();
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(a.pezzi("mnuAggiungiPezzi", 5, "x", [&](QWidget *m) {
            QTest::mouseClick(Figlio<QPushButton>(m, QStringLiteral("btnConfermaPezzi")), Qt::LeftButton);
            QVERIFY(m->isVisible());
            QCOMPARE(Figlio<QSpinBox>(m, QStringLiteral("spnPezzi"))->value(), 5);
            QCOMPARE(Figlio<QLabel>(m, QStringLiteral("lblDopoPezzi"))->text(),
                     QStringLiteral("Attenzione: i dati NON sono stati salvati, la quantit\u00e0 resta 20."));
        }));
        VerificaBox(a.dialoghi, "Errore nel salvataggio dei dati", Icona::Nessuna);
        QCOMPARE(a.fileDati(), dati);
        QVERIFY(cartella || !a.cartella.esiste(NomeFileMovimenti));
        QCOMPARE(a.stato.componente(1).Quantita, 20);
        QCOMPARE(a.contatori(), "5/5/144");
        QCOMPARE(a.lista()->testo(5, 3), "20");
        QCOMPARE(a.messaggio(), "Attenzione: i dati NON sono stati salvati, nessun pezzo \u00e8 stato aggiunto");
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmPezzi)
#include "tst_frmpezzi.moc"
