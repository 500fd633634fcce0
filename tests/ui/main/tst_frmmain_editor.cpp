// The detail panel's editor: its states and buttons, Esc and the menu in
// every state, saving with its refusals and questions, and deleting.

#include "ambiente.h"

#include "store/orologio.h"

using namespace prova;

namespace {

QColor base(QWidget *w) { return w->palette().color(QPalette::Base); }

// The table of five with details on BC547C (position 2, row 3 once sorted).
void conDettagli(Stato &s)
{
    cinqueComponenti(s);
    s.Componenti[1].IDPackage = 2;
    s.Componenti[1].Datasheet = QStringLiteral("bc547.pdf");
}

// BC547C alone.
void soloBC547C(Stato &s)
{
    cinqueComponenti(s);
    s.Componenti = {s.Componenti.at(1)};
    s.NumComponenti = 1;
}

} // namespace

class TestFrmMainEditor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void statiDellEditor()
    {
        Caso a(conDettagli);
        a.clicRiga(3, 0); // browsing, BC547C shown
        QCOMPARE(a.bottoni(), QStringLiteral("11100"));
        QVERIFY(!a.w("fmDati")->isEnabled() && a.bottone("pdf")->isEnabled());
        // New: a copy of the shown one with today's date; the list out of use.
        a.premi("new");
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QVERIFY(a.w("fmDati")->isEnabled() && a.w("fmImm")->isEnabled() && !a.lista()->isEnabled());
        QCOMPARE(a.testo("txCodice") + ' ' + a.testo("txDatains"), QStringLiteral("BC547C 05/12/2026"));
        QCOMPARE(a.corrente(), 0); // not stored yet: no position stands for it
        QCOMPARE(a.messaggio(), a.messaggio(5));
        QCOMPARE(base(a.w("txQty")), QColor(216, 254, 176));
        QCOMPARE(base(a.w("txExtra6")), QColor(255, 250, 215));
        a.premi("undo");
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(!a.w("fmDati")->isEnabled() && a.lista()->isEnabled() && !a.bottone("pdf")->isEnabled());
        QCOMPARE(a.messaggio(), a.messaggio(0));
        QCOMPARE(a.testo("txCodice") + a.testo("txQty") + a.testo("txDatains") + a.testo("txPDF"), QString());
        QCOMPARE(base(a.w("txQty")), QColor(Qt::white));
        QCOMPARE(a.stato.NumComponenti, 5);
        // Edit keeps PosCorrente; a failed check keeps "save" and "undo"; so does the menu's Salva.
        a.clicRiga(3, 0);
        a.premi("edit");
        QCOMPARE(a.bottoni() + QString::number(a.corrente()), QStringLiteral("000112"));
        a.scrivi("txQty", QStringLiteral("abc"));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("save");
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QVERIFY(!a.lista()->isEnabled());
        a.scrivi("txQty", QStringLiteral("42"));
        a.menu("mnuUpdate");
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QCOMPARE(a.stato.componente(2).Quantita, 42);
    }

    void escInOgniStato_data()
    {
        Colonne<QString, QString>("stato", "fuoco");
        QTest::newRow("navigazione") << "browse" << "txSearch";
        QTest::newRow("nuovo, fuoco sui produttori") << "new" << "LP";
        QTest::newRow("modifica, fuoco sul tipo") << "edit" << "cmbTipo";
        QTest::newRow("controllo fallito") << "failed" << "txQty";
    }
    void escInOgniStato()
    {
        const auto [stato, fuoco] = Valori<QString, QString>("stato", "fuoco");
        Caso a(conDettagli);
        a.clicRiga(3, 0);
        if (stato != QLatin1String("browse"))
            a.premi(stato == QLatin1String("new") ? "new" : "edit");
        if (stato == QLatin1String("failed")) {
            a.scrivi("txQty", QString());
            a.dialoghi.setNextAnswer(Risposta::Ok);
            a.premi("save");
        }
        auto *combo = qobject_cast<QComboBox *>(a.w(fuoco));
        QTest::keyClick(combo ? combo->lineEdit() : a.w(fuoco), Qt::Key_Escape);
        const bool naviga = stato == QLatin1String("browse");
        QCOMPARE(a.bottoni(), naviga ? QStringLiteral("11100") : QStringLiteral("10000"));
        QCOMPARE(a.testo("txCodice"), naviga ? QStringLiteral("BC547C") : QString());
        QVERIFY(a.lista()->isEnabled());
        QCOMPARE(a.stato.componente(2).Quantita, 100);
    }

    void menuInOgniStato()
    {
        Caso a(conDettagli);
        a.dialoghi.setNextAnswer(Risposta::Ok); // "Salva" on an empty panel: refused
        a.menu("mnuUpdate");
        QCOMPARE(a.bottoni(), QStringLiteral("00001")); // no editor was open
        a.premi("undo");
        a.menu("mnuDel"); // no current component: message 4, no question
        QCOMPARE(a.messaggio(), a.messaggio(4));
        a.menu("mnuEdit"); // no current component: a save that stores nothing (tst_frmmain_modifiche checks)
        a.scrivi("txCodice", QStringLiteral("X1"));
        a.scrivi("txQty", QStringLiteral("1"));
        a.menu("mnuUpdate");
        a.menu("mnuNew"); // from the editing state; "Seleziona tutti" does nothing
        QVERIFY(a.finestra->variabili().NuovoInserimento);
        a.menu("mnuSelect");
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QCOMPARE(a.testo("txCodice"), QStringLiteral("X1"));
    }

    // A new component saved: checks refuse it, questions go on or back; what
    // is saved (upper-cased within the code page) is in memory, on disk, in
    // the list and in the panel alike.
    void salvaNuovo_data()
    {
        // componenti: stored before: the five, or BC547C alone; risposta: Ok: a refusal; Sì or No: a question; testo:
        // of the one box; empty: none; salvato: empty: still editing, nothing written
        Colonne<QString, QString, QString, int, Risposta, QString, QString>(
            "codice", "quantita", "descrizione", "componenti", "risposta", "testo", "salvato");
        const QString manca = QStringLiteral("Attenzione: manca il Codice\r\nInserire il valore e riprovare !");
        const QString zero = QStringLiteral("Attenzione: la quantità è 0\r\nInserire il valore e riprovare !");
        const QString carattere = QStringLiteral("Attenzione: il carattere \"%1\" non può essere salvato nei file "
                                                 "dei dati\r\nSostituirlo e riprovare !");
        const QString senzaNumeri = QStringLiteral("Attenzione: questo Codice non contiene numeri!\r\n"
                                                   "Premi Sì per salvare comunque, No per tornare a modificare il valore");
        const QString conflitto = QStringLiteral("Ci sono altri componenti con lo stesso codice numerico [547] of "
                                                 "BC547B:\r\n> BC547C\r\n\r\nDevo continuare comunque ?");
        const auto riga = [](const char *nome, const char *codice, const char *quantita, Risposta r, const QString &testo,
                             const char *salvato, int componenti = 5, const char *descrizione = "") {
            QTest::newRow(nome) << codice << quantita << descrizione << componenti << r << testo << salvato;
        };
        riga("senza codice", "", "10", Risposta::Ok, manca, "");
        riga("quantita' 0", "BC337", "0", Risposta::Ok, zero, "");
        riga("omega nel codice", "ω5", "10", Risposta::Ok, carattere.arg("ω"), "");
        riga("emoji nella descrizione", "A1", "1", Risposta::Ok, carattere.arg("🙂"), "", 5, "ok 🙂");
        riga("senza numeri, Si", "ABC", "3", Risposta::Si, senzaNumeri, "ABC");
        riga("senza numeri, No", "ABC", "3", Risposta::No, senzaNumeri, "");
        riga("conflitto, Si", "bc547b", "10", Risposta::Si, conflitto, "BC547B");
        riga("conflitto con l'unico, No", "bc547b", "10", Risposta::No, conflitto, "", 1); // still asked
        riga("maiuscole, micro", "µa741", "1", Risposta::Ok, "", "µA741");
        riga("maiuscole, accenti e ÿ", "èÿš7", "1", Risposta::Ok, "", "ÈŸŠ7");
        riga("maiuscole, ß e ƒ restano", "ßƒ1", "1", Risposta::Ok, "", "ßƒ1");
    }
    void salvaNuovo()
    {
        const auto [codice, quantita, descrizione, componenti, risposta, testo, salvato] =
            Valori<QString, QString, QString, int, Risposta, QString, QString>(
                "codice", "quantita", "descrizione", "componenti", "risposta", "testo", "salvato");
        Caso a(componenti == 1 ? soloBC547C : cinqueComponenti);
        a.nuovo(codice, quantita);
        a.scrivi("txDesc", descrizione);
        if (!testo.isEmpty())
            a.dialoghi.setNextAnswer(risposta);
        a.premi("save");
        const bool conflitto = testo.startsWith(QLatin1String("Ci sono"));
        if (testo.isEmpty())
            QVERIFY(a.dialoghi.boxes().isEmpty());
        else
            VerificaBox(a.dialoghi, testo,
                        conflitto ? Icona::Esclamazione : risposta == Risposta::Ok ? Icona::Critica : Icona::Informazione,
                        risposta == Risposta::Ok ? Pulsanti::Ok : Pulsanti::SiNo,
                        conflitto ? QStringLiteral("Conflitto di codice") : QString());
        if (salvato.isEmpty()) {
            QCOMPARE(a.bottoni(), QStringLiteral("00011"));
            QCOMPARE(a.stato.NumComponenti, componenti);
            QCOMPARE(a.testo("txCodice") + '/' + a.testo("txQty"), codice + '/' + quantita);
            QVERIFY(!a.lista()->isEnabled() && a.azione("mnuUpdate")->isEnabled());
            QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
            // Corrected, the toolbar's "Salva" stores it.
            a.scrivi("txCodice", "Q1");
            a.scrivi("txQty", "1");
            a.scrivi("txDesc", QString());
            a.premi("save");
            QCOMPARE(a.suDisco()->componente(componenti + 1).Codice, QStringLiteral("Q1"));
            return;
        }
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        const Componente &c = a.stato.componente(6);
        QCOMPARE(c.Codice + '/' + QString::number(c.ID), salvato + "/15");
        QCOMPARE(c.DataInserimento, data(2026, 12, 5));
        QCOMPARE(a.suDisco()->componente(6).Codice, salvato);
        QStringList codici = {"2N2222", "74HC00", "BC547C", "LM317T", "NE555", salvato};
        codici.sort();
        QCOMPARE(a.codici(), codici);
        QCOMPARE(a.testo("txCodice") + '/' + QString::number(a.corrente()), salvato + "/6");
        QVERIFY(a.lista()->isEnabled());
        QCOMPARE(a.messaggio(), a.messaggio(6));
        QCOMPARE(a.contatori(), QStringLiteral("6/6/%1").arg(144 + quantita.toInt()));
    }

    // New components in a row take consecutive IDs, the counter moving on in
    // memory and in Info.ini; the largest ID is never given (no wrapping).
    void nuoviInFila_data()
    {
        QTest::addColumn<qint32>("primo");
        QTest::newRow("from 15") << 15;
        QTest::newRow("the largest ID but one") << INT32_MAX - 1;
        QTest::newRow("the largest ID") << INT32_MAX;
    }
    void nuoviInFila()
    {
        QFETCH(qint32, primo);
        Caso a;
        cinqueComponenti(a.stato);
        a.stato.ProssimoIDComponente = primo;
        a.apri();
        for (int i = 0; i < 2; ++i) {
            // A refused code that shares 547 with BC547C: the ID check comes before the conflict question.
            a.nuovo(primo + i == INT32_MAX ? QStringLiteral("bc547b") : QStringLiteral("R%1").arg(i + 1), "1");
            if (primo + i == INT32_MAX) { // no ID left
                a.dialoghi.setNextAnswer(Risposta::Ok);
                a.premi("save");
                VerificaBox(a.dialoghi, "Impossibile aggiungere: gli ID disponibili sono esauriti.\r\n"
                                        "Controllare il valore di \"Prossimo ID Componente\" nel file Info.ini",
                            Icona::Critica);
                QCOMPARE(a.bottoni(), QStringLiteral("00011"));
                QCOMPARE(a.stato.NumComponenti, 5 + i);
                QCOMPARE(a.cartella.esiste(QStringLiteral("Componenti.dat")), i > 0);
                break;
            }
            a.premi("save");
            QCOMPARE(a.stato.NumComponenti, 6 + i);
            QCOMPARE(a.stato.componente(6 + i).ID, primo + i);
            QCOMPARE(a.stato.ProssimoIDComponente, primo + i + 1);
            QVERIFY(a.cartella.leggi("Info.ini").contains(
                QStringLiteral("\r\nProssimo ID Componente=%1\r\n").arg(primo + i + 1).toLatin1()));
            QCOMPARE(a.suDisco()->componente(6 + i).ID, primo + i);
        }
    }

    // A deletion asks first; "No" changes nothing. "Sì" removes the record,
    // the row and the file's line; the list keeps its order and arrow.
    void eliminazione_data()
    {
        // intestazioni: headers clicked before; 0: a selection and "Riseleziona"; freccia: the header's arrow, before
        // and after
        Colonne<int, Risposta, QList<int>, QString>("componenti", "risposta", "intestazioni", "freccia");
        QTest::newRow("2 di 5, No") << 5 << Risposta::No << QList<int>{} << "1A";
        QTest::newRow("2 di 5, per codice") << 5 << Risposta::Si << QList<int>{} << "1A";
        QTest::newRow("l'unico") << 1 << Risposta::Si << QList<int>{} << "-";
        QTest::newRow("per QTA") << 5 << Risposta::Si << QList<int>{4} << "4D";
        QTest::newRow("per DATA, poi CODICE") << 5 << Risposta::Si << QList<int>{5, 1} << "1A";
        QTest::newRow("ordine della tabella") << 5 << Risposta::Si << QList<int>{4, 0} << "";
    }
    void eliminazione()
    {
        const auto [componenti, risposta, intestazioni] =
            Valori<int, Risposta, QList<int>>("componenti", "risposta", "intestazioni");
        Caso a(componenti == 1 ? soloBC547C : cinqueComponenti);
        const auto verificaFreccia = [&] { // the header's arrow as "4D" (one row is never sorted)
            const QHeaderView *h = a.lista()->vista()->header();
            if (componenti > 1)
                QTEST(h->isSortIndicatorShown() ? QString::number(h->sortIndicatorSection() + 1)
                                                      + (h->sortIndicatorOrder() == Qt::AscendingOrder ? u'A' : u'D')
                                                : QString(),
                      "freccia");
        };
        for (const int indice : intestazioni) {
            if (indice)
                a.clicIntestazione(indice);
            else {
                a.clicRiga(1, 1, Qt::RightButton);
                a.premi("reselect");
            }
        }
        verificaFreccia();
        QStringList attesi = a.codici();
        const QList<int> posizioni = a.posizioni();
        attesi.removeOne(QStringLiteral("BC547C"));
        a.clicRiga(a.rigaDi("BC547C"), 0);
        a.dialoghi.setNextAnswer(risposta);
        a.menu("mnuDel");
        VerificaBox(a.dialoghi, QStringLiteral("Confermi la cancellazione di:\r\nBC547C ?"), Icona::Esclamazione,
                    Pulsanti::SiNo);
        if (risposta == Risposta::No) {
            QCOMPARE(a.stato.NumComponenti, 5);
            QCOMPARE(a.posizioni(), posizioni);
            QCOMPARE(a.messaggio(), a.messaggio(4));
            QCOMPARE(a.bottoni(), QStringLiteral("11100"));
            QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
            return;
        }
        QCOMPARE(a.codici(), attesi);
        verificaFreccia();
        QCOMPARE(idCodici(a.stato), componenti == 1 ? QStringList()
                                                    : QStringList({"10:NE555", "12:LM317T", "13:2N2222", "14:74HC00"}));
        if (intestazioni.isEmpty())
            QCOMPARE(a.posizioni(), componenti == 1 ? QList<int>() : QList<int>({3, 4, 2, 1}));
        QCOMPARE(a.contatori(), componenti == 1 ? QStringLiteral("0/0/0") : QStringLiteral("4/4/44"));
        QCOMPARE(a.messaggio(), QStringLiteral("Operazione completata: componente eliminato"));
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(a.testo("txCodice").isEmpty());
        QCOMPARE(a.cartella.leggi(QStringLiteral("Componenti.dat")).count("\r\n"), componenti - 1);
    }
};

QTEST_MAIN(TestFrmMainEditor)
#include "tst_frmmain_editor.moc"
