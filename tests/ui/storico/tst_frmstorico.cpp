// "Storico movimenti" through its real widgets, opened from the main
// window's menu on a history the main window itself wrote.

#include "store/aiutiarchivio.h"
#include "ui/storico/aiutistorico.h"

#include <QCheckBox>

using namespace prova;

namespace {

const QString kTitolo = QStringLiteral("Annulla operazione");
const QString kOra = QStringLiteral("05/12/2026 17:30:12");
// NE555's 5 pieces taken (operation 1), then its quantity set to 30.
const QString kCambiato = QStringLiteral("Dopo l'operazione 1 questi componenti sono cambiati:\r\n"
                                         "> NE555: ora 30, dopo l'operazione 15\r\n\r\nPremi S\u00ec per applicare "
                                         "la differenza alle quantit\u00e0 attuali, No per non annullare nulla");

// Steps the main window takes before the window opens: edit (BC547C to 90
// pieces, description "NPN"), take (5 of NE555's 20, note "scheda 3"), del
// (LM317T), qty30 and editing (NE555 to 30 saved, to 99 not saved), show
// (NE555 in the panel), undo (the newest operation, from the history
// window), readonly (the archive open read-only), readonlyfile.
void Passi(ConStorico &a, const QString &passi)
{
    const auto modifica = [&](const char *codice, const char *quantita) {
        a.clicRiga(a.rigaDi(codice), 0);
        a.premi("edit");
        a.scrivi("txQty", quantita);
    };
    for (const QString &p : passi.split(' ', Qt::SkipEmptyParts)) {
        if (p == "edit") {
            modifica("BC547C", "90");
            a.scrivi("txDesc", "NPN");
            a.premi("save");
        } else if (p == "take") {
            a.clicRiga(a.rigaDi("NE555"), 0);
            QVERIFY(a.pezzi("mnuPrelevaPezzi", 5, "scheda 3"));
        } else if (p == "del") {
            a.clicRiga(a.rigaDi("LM317T"), 0);
            a.dialoghi.setNextAnswer(Risposta::Si);
            a.premi("del");
        } else if (p == "qty30" || p == "editing") {
            modifica("NE555", p == "qty30" ? "30" : "99");
            if (p == "qty30")
                a.premi("save");
        } else if (p == "show") {
            a.clicRiga(a.rigaDi("NE555"), 0);
        } else if (p == "readonlyfile") {
            QVERIFY(QFile::setPermissions(a.cartella.file("Componenti.dat"), QFile::ReadOwner | QFile::ReadGroup));
        } else if (p == "readonly") {
            a.stato.SolaLettura = true;
            a.apri();
        } else if (p == "undo") {
            a.dialoghi.setNextAnswer(Risposta::Si);
            QVERIFY(a.storico([](const Storico_ &f) {
                f.scegli(0);
                f.clic("btnAnnullaOperazione");
            }));
        } else {
            QFAIL(qPrintable("passo sconosciuto " + p));
        }
    }
    a.dialoghi.dimentica();
}

QString Domanda(int n, const QString &movimento, int componenti = 1)
{
    return QStringLiteral("Annullare l'operazione %1 (%2, del %3)?\r\nComponenti coinvolti: %4")
        .arg(n)
        .arg(movimento, kOra)
        .arg(componenti);
}

} // namespace

class TestFrmStorico : public QObject {
    Q_OBJECT
private slots:
    // The component shown narrows the list at once; the box and the text
    // narrow it further or widen it again.
    void filtri_data()
    {
        Colonne<bool, QString, QStringList>("solo", "testo", "attese");
        QTest::newRow("the component shown") << true << "" << QStringList{"NE555|3", "NE555|2"};
        QTest::newRow("every line") << false << "" << QStringList{"NE555|3", "NE555|2", "BC547C|1"};
        QTest::newRow("by operation, any case") << false << "PRELIEVO" << QStringList{"NE555|2"};
        QTest::newRow("operation and component") << true << "modif" << QStringList{"NE555|3"};
    }
    void filtri()
    {
        const auto [solo, testo, attese] = Valori<bool, QString, QStringList>("solo", "testo", "attese");
        ConStorico a;
        Passi(a, "edit take qty30 show");
        QVERIFY(a.storico([&](const Storico_ &f) {
            auto *box = f.c<QCheckBox>("chkSoloComponente");
            QVERIFY(box->isChecked());
            QVERIFY(box->isEnabled());
            QCOMPARE(box->text(), "Solo il componente NE555");
            if (!solo)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
            if (!testo.isEmpty())
                f.filtra(testo);
            QCOMPARE(f.elenco({1, 6}), attese);
            QCOMPARE(f.c<QLabel>("lblContoStorico")->text(), QStringLiteral("Righe: %1 di 3").arg(attese.size()));
            QCOMPARE(f.c<QPushButton>("btnEsportaStorico")->isEnabled(), !attese.isEmpty());
        }));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Every line, newest first, each cell as the file has it; the tooltip
    // tells the fields changed; no component shown, so no narrowing. The
    // lines shown, as shown, in Exported/Movimenti.csv, and where it went; a
    // file that cannot be written is said so.
    void elencoEsportato_data()
    {
        Colonne<QString, bool, QStringList>("testo", "riesce", "attese");
        QTest::newRow("every line") << "" << true
                                    << QStringList{"3;Eliminazione;12;LM317T;5;-;",
                                                   "2;Prelievo pezzi;10;NE555;20;15;scheda 3",
                                                   "1;Modifica;11;BC547C;100;90;"};
        QTest::newRow("the lines found") << "e5" << true << QStringList{"2;Prelievo pezzi;10;NE555;20;15;scheda 3"};
        QTest::newRow("a folder in the way") << "" << false << QStringList{};
    }
    void elencoEsportato()
    {
        const auto [testo, riesce, attese] = Valori<QString, bool, QStringList>("testo", "riesce", "attese");
        ConStorico a;
        Passi(a, "edit take del");
        const QString file = a.cartella.file("Exported/Movimenti.csv");
        if (!riesce)
            QVERIFY(QDir().mkpath(file));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(a.storico([&](const Storico_ &f) {
            QCOMPARE(f.elenco({0, 1, 2, 3, 4, 5, 6, 7, 8}),
                     QStringList({kOra + "|LM317T|5||-5|Eliminazione|3|TI|",
                                  kOra + "|NE555|20|15|-5|Prelievo pezzi|2|TI|scheda 3",
                                  kOra + "|BC547C|100|90|-10|Modifica|1|ST|"}));
            QCOMPARE(f.cella(2, 9), "Descrizione: \"\" \u2192 \"NPN\"");
            QCOMPARE(f.lvs()->model()->index(2, 4).data(Qt::ToolTipRole).toString(),
                     "Operazione 1: Modifica\nCampi cambiati:\n  Descrizione: \"\" \u2192 \"NPN\"");
            QVERIFY(f.lvs()->model()->index(0, 0).data(Qt::ToolTipRole).toString().startsWith(
                "Operazione 3: Eliminazione\nComponente tolto:\n  Codice: LM317T\n"));
            QCOMPARE(f.c<QLabel>("lblContoStorico")->text(), "Righe: 3 di 3");
            auto *solo = f.c<QCheckBox>("chkSoloComponente");
            QVERIFY(!solo->isChecked());
            QVERIFY(!solo->isEnabled());
            QCOMPARE(solo->text(), "Solo il componente visualizzato");
            QVERIFY(!f.c<QPushButton>("btnAnnullaOperazione")->isEnabled());
            if (!testo.isEmpty())
                f.filtra(testo);
            f.clic("btnEsportaStorico");
            const QString esportate = QStringLiteral("Righe esportate: %1 nel file %2").arg(attese.size());
            QCOMPARE(f.c<QLabel>("lblStatoStorico")->text(),
                     riesce ? esportate.arg(QDir::toNativeSeparators(file)) : "Lo storico non \u00e8 stato esportato.");
        }));
        VerificaBox(a.dialoghi,
                    riesce ? "Storico esportato nel file\r\n" + QDir::toNativeSeparators(file)
                                 + QStringLiteral("\r\nRighe esportate: %1").arg(attese.size())
                           : "Errore nella creazione del file Movimenti.csv\r\nForse il file \u00e8 gi\u00e0 aperto "
                             "in altro programma",
                    riesce ? Icona::Informazione : Icona::Critica, Pulsanti::Ok, "Esporta storico");
        if (riesce) {
            QVERIFY(a.cartella.leggi("Exported/Movimenti.csv").startsWith(IntestazioneMovimenti()));
            QCOMPARE(DescriviStorico(file, false, true), attese);
        }
    }

    // An operation undone from the window, with the answers given: the undo
    // of an undo as the third operation; a component changed since, where Yes
    // applies the opposite of its difference to the quantity it has now. Done,
    // the tables on disk as in memory, the undo's line at the end of the file
    // and at the top of the list, and the main window showing it. Nothing is
    // undone on No, on an operation undone already (the way back is the
    // undo's undo), when the user goes back to changes in the editor, when the
    // save fails (said in the window and in the main window), on an archive
    // open read-only (looked at and exported, never undone).
    void annulla_data()
    {
        // riga: the line chosen (0 the newest, one line per operation); box:
        // the last one shown; nuova: the undo's line, empty when nothing is
        // undone; etichetta and messaggio when nothing is undone.
        Colonne<QString, int, QList<Risposta>, QString, QString, QString, QString, QString>(
            "passi", "riga", "risposte", "box", "nuova", "contatori", "etichetta", "messaggio");
        const QList<Risposta> si{Risposta::Si};
        const QString prelievo = Domanda(1, "Prelievo pezzi");
        QTest::newRow("pieces") << "take" << 0 << si << prelievo << "10;NE555;15;20;" << "5/5/144" << "" << "";
        QTest::newRow("deletion") << "del" << 0 << si << Domanda(1, "Eliminazione") << "12;LM317T;-;5;" << "5/5/144"
                                  << "" << "";
        QTest::newRow("the undo of an undo") << "take undo" << 0 << si << Domanda(2, "Annullamento dell'operazione 1")
                                             << "10;NE555;20;15;" << "5/5/139" << "" << "";
        QTest::newRow("changed since, Yes") << "take qty30" << 1 << QList<Risposta>{Risposta::Si, Risposta::Si}
                                            << kCambiato << "10;NE555;30;35;" << "5/5/159" << "" << "";
        QTest::newRow("No") << "take" << 0 << QList<Risposta>{Risposta::No} << prelievo << "" << "" << "" << "";
        QTest::newRow("undone already") << "take undo" << 1 << QList<Risposta>{Risposta::Ok}
                                        << "L'operazione 1 \u00e8 gi\u00e0 stata annullata dall'operazione 2.\r\n"
                                           "Per rifarla, annullare l'operazione 2."
                                        << "" << "" << "" << "";
        QTest::newRow("editing, back to the editor")
            << "take editing" << 0 << QList<Risposta>{Risposta::Si, Risposta::Annulla}
            << "Salvare le modifiche al componente?" << "" << "" << "" << "";
        QTest::newRow("changed since, No") << "take qty30" << 1 << QList<Risposta>{Risposta::Si, Risposta::No}
                                           << kCambiato << "" << "" << "" << "";
        QTest::newRow("save fails")
            << "take readonlyfile" << 0 << QList<Risposta>{Risposta::Si, Risposta::Ok}
            << "Errore nel salvataggio dei dati" << "" << ""
            << "Attenzione: i dati NON sono stati salvati, l'operazione 1 non \u00e8 stata annullata."
            << "Attenzione: i dati NON sono stati salvati, l'operazione non \u00e8 stata annullata";
        QTest::newRow("read-only") << "take readonly" << 0 << QList<Risposta>{} << "" << "" << "" << "" << "";
    }
    void annulla()
    {
        const auto [passi, riga, risposte, box, nuova, contatori, etichetta, messaggio] =
            Valori<QString, int, QList<Risposta>, QString, QString, QString, QString, QString>(
                "passi", "riga", "risposte", "box", "nuova", "contatori", "etichetta", "messaggio");
        ConStorico a;
        Passi(a, passi);
        const QStringList prima = Storico(a);
        const auto dati = a.fileDati();
        const Stato stato = a.stato;
        const QString contatoriPrima = a.contatori(), messaggioPrima = a.messaggio();
        const bool fatto = !nuova.isEmpty();
        const int n = prima.size() + 1, annullata = n - 1 - riga;
        for (Risposta r : risposte)
            a.dialoghi.setNextAnswer(r);
        QVERIFY(a.storico([&](const Storico_ &f) {
            f.scegli(riga);
            QCOMPARE(f.c<QPushButton>("btnAnnullaOperazione")->isEnabled(), !passi.endsWith("readonly"));
            QVERIFY(f.c<QPushButton>("btnEsportaStorico")->isEnabled());
            f.clic("btnAnnullaOperazione");
            QCOMPARE(f.righe(), fatto ? n : prima.size());
            if (fatto) {
                QCOMPARE(f.cella(0, 6), QString::number(n));
                QCOMPARE(f.lvs()->selectionModel()->selectedRows().value(0).row(), 0);
                QCOMPARE(f.c<QLabel>("lblStatoStorico")->text(),
                         QStringLiteral("Operazione %1 annullata: l'annullamento \u00e8 l'operazione %2.")
                             .arg(annullata)
                             .arg(n));
            } else if (!etichetta.isEmpty()) {
                QCOMPARE(f.c<QLabel>("lblStatoStorico")->text(), etichetta);
            }
        }));
        QCOMPARE(a.dialoghi.boxes().size(), risposte.size());
        QCOMPARE(a.dialoghi.boxes().isEmpty() ? QString() : a.dialoghi.ultimoBox().testo, box);
        if (!risposte.isEmpty())
            QCOMPARE(a.dialoghi.boxes().first().titolo, kTitolo);
        if (fatto) {
            const QString annullamento = QStringLiteral("%1;Annullamento dell'operazione %2;").arg(n).arg(annullata);
            QCOMPARE(Storico(a), QStringList(prima) << annullamento + nuova);
            QVERIFY(StessiDati(*a.suDisco(), a.stato));
            QCOMPARE(a.codici().join(' '), "2N2222 74HC00 BC547C LM317T NE555");
            QCOMPARE(a.lista()->testo(a.rigaDi("NE555"), 3), QString::number(a.stato.componente(1).Quantita));
            QCOMPARE(a.bottoni(), "10000");
        } else {
            QCOMPARE(Storico(a), prima);
            QCOMPARE(a.fileDati(), dati);
            QVERIFY(StessiDati(a.stato, stato));
            QCOMPARE(a.stato.TotalePezzi, stato.TotalePezzi);
        }
        QCOMPARE(a.contatori(), fatto ? contatori : contatoriPrima);
        const QString completata = QStringLiteral("Operazione completata: annullata l'operazione %1").arg(annullata);
        QCOMPARE(a.messaggio(), fatto ? completata : messaggio.isEmpty() ? messaggioPrima : messaggio);
        if (passi.endsWith("editing"))
            QCOMPARE(a.testo("txQty"), "99");
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // A history that cannot be read opens no window; a missing one is empty.
    void illeggibile()
    {
        ConStorico a;
        QVERIFY(a.storico([](const Storico_ &f) {
            QCOMPARE(f.righe(), 0);
            QCOMPARE(f.c<QLabel>("lblStatoStorico")->text(),
                     "Lo storico \u00e8 vuoto: ogni cambiamento delle quantit\u00e0 vi sar\u00e0 registrato.");
        }));
        QVERIFY(QDir().mkpath(a.cartella.file(NomeFileMovimenti)));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!a.storico([](const Storico_ &) {}));
        VerificaBox(a.dialoghi,
                    "Impossibile leggere il file " + QDir::toNativeSeparators(a.cartella.file(NomeFileMovimenti)),
                    Icona::Esclamazione, Pulsanti::Ok, "Storico movimenti");
    }
};

QTEST_MAIN(TestFrmStorico)
#include "tst_frmstorico.moc"
