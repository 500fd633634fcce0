// Saving the detail panel and deleting components through the window:
// refusals and questions with their exact texts, the stored records, the
// files on disk and the redrawn list.

#include "ambiente.h"

#include "store/orologio.h"

using namespace prova;

class TestFrmMainSalvataggio : public QObject {
    Q_OBJECT

    static void prepara(Ambiente &a)
    {
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        a.apri();
    }
    static QLineEdit *casella(const Ambiente &a, const char *nome) { return a.w<QLineEdit>(QLatin1String(nome)); }
    static void scrivi(const Ambiente &a, const char *nome, const QString &testo)
    {
        QLineEdit *t = casella(a, nome);
        t->clear();
        QTest::keyClicks(t, testo);
    }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void rifiuti_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("quantita");
        QTest::addColumn<QString>("testo");
        const QString manca = QStringLiteral("Attenzione: manca il Codice\r\nInserire il valore e riprovare !");
        const QString zero = QStringLiteral("Attenzione: la quantità è 0\r\nInserire il valore e riprovare !");
        QTest::newRow("codice vuoto") << "" << "10" << manca;
        QTest::newRow("quantita vuota") << "BC337" << "" << zero;
        QTest::newRow("quantita abc") << "BC337" << "abc" << zero;
        QTest::newRow("quantita 0") << "BC337" << "0" << zero;
    }
    void rifiuti()
    {
        QFETCH(QString, codice);
        QFETCH(QString, quantita);
        QFETCH(QString, testo);
        Ambiente a;
        prepara(a);
        a.bottone(QStringLiteral("new"))->trigger();
        scrivi(a, "txCodice", codice);
        scrivi(a, "txQty", quantita);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.dialoghi.boxes().size(), 1);
        QCOMPARE(a.dialoghi.ultimoBox().testo, testo);
        QCOMPARE(a.dialoghi.ultimoBox().icona, Icona::Critica);
        QCOMPARE(a.dialoghi.ultimoBox().pulsanti, Pulsanti::Ok);
        QVERIFY(a.dialoghi.ultimoBox().titolo.isEmpty());
        QCOMPARE(a.bottoni(), QStringLiteral("00001"));
        QCOMPARE(a.stato.NumComponenti, 5);
        QCOMPARE(casella(a, "txCodice")->text(), codice);
        QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void codiceSenzaNumeri_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::newRow("Si salva") << Risposta::Si;
        QTest::newRow("No torna al valore") << Risposta::No;
    }
    void codiceSenzaNumeri()
    {
        QFETCH(Risposta, risposta);
        Ambiente a;
        prepara(a);
        a.bottone(QStringLiteral("new"))->trigger();
        scrivi(a, "txCodice", QStringLiteral("ABC"));
        scrivi(a, "txQty", QStringLiteral("3"));
        a.dialoghi.setNextAnswer(risposta);
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.dialoghi.boxes().size(), 1);
        const auto box = a.dialoghi.ultimoBox();
        QCOMPARE(box.testo, QStringLiteral("Attenzione: questo Codice non contiene numeri!\r\n"
                                           "Premi Sì per salvare comunque, No per tornare a modificare il valore"));
        QCOMPARE(box.icona, Icona::Informazione);
        QCOMPARE(box.pulsanti, Pulsanti::SiNo);
        if (risposta == Risposta::Si) {
            QCOMPARE(a.stato.NumComponenti, 6);
            QCOMPARE(a.stato.componente(6).Codice, QStringLiteral("ABC"));
            QCOMPARE(a.stato.componente(6).CodiceNumerico, 0);
            QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        } else {
            QCOMPARE(a.stato.NumComponenti, 5);
            QCOMPARE(a.bottoni(), QStringLiteral("00001"));
        }
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void conflittoDiCodice_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::newRow("Si") << Risposta::Si;
        QTest::newRow("No") << Risposta::No;
    }
    void conflittoDiCodice()
    {
        QFETCH(Risposta, risposta);
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        a.bottone(QStringLiteral("new"))->trigger();
        scrivi(a, "txCodice", QStringLiteral("bc547b"));
        scrivi(a, "txQty", QStringLiteral("10"));
        a.dialoghi.setNextAnswer(risposta);
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.dialoghi.boxes().size(), 1);
        const auto box = a.dialoghi.ultimoBox();
        QCOMPARE(box.testo, QStringLiteral("Ci sono altri componenti con lo stesso codice numerico [547] of BC547B:\r\n"
                                           "> BC547C\r\n\r\nDevo continuare comunque ?"));
        QCOMPARE(box.titolo, QStringLiteral("Conflitto di codice"));
        QCOMPARE(box.icona, Icona::Esclamazione);
        QCOMPARE(box.pulsanti, Pulsanti::SiNo);
        if (risposta == Risposta::No) {
            QCOMPARE(a.stato.NumComponenti, 5);
            QCOMPARE(a.bottoni(), QStringLiteral("00011"));
            QCOMPARE(casella(a, "txCodice")->text(), QStringLiteral("bc547b"));
            QVERIFY(!a.lista()->isEnabled());
            VERIFICA_DIALOGHI(a.dialoghi);
            return;
        }
        QCOMPARE(a.stato.NumComponenti, 6);
        const Componente &c = a.stato.componente(6);
        QCOMPARE(c.Codice, QStringLiteral("BC547B"));
        QCOMPARE(c.CodiceNumerico, 547);
        QCOMPARE(c.ID, 15);
        QCOMPARE(c.DataInserimento, data(2026, 12, 5));
        QCOMPARE(a.stato.ProssimoIDComponente, 16);
        QVERIFY(!f.variabili().NuovoInserimento);
        // Saved to disk, list redrawn sorted by code, the saved one shown.
        QVERIFY(a.cartella.leggi(QStringLiteral("Componenti.dat")).contains("BC547B"));
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "BC547B", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(casella(a, "txCodice")->text(), QStringLiteral("BC547B"));
        QCOMPARE(f.variabili().PosCorrente, 6);
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(a.lista()->isEnabled());
        QVERIFY(!a.w(QStringLiteral("fmDati"))->isEnabled());
        QCOMPARE(a.messaggio(), f.messaggi()[6]);
        QVERIFY(a.w<QTimer>(QStringLiteral("Timer"))->isActive());
        QCOMPARE(a.w<QLabel>(QStringLiteral("numComponent"))->text(), QStringLiteral("6"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numPieces"))->text(), QStringLiteral("154"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void recordCompleto()
    {
        Ambiente a;
        prepara(a);
        a.bottone(QStringLiteral("new"))->trigger();
        scrivi(a, "txCodice", QStringLiteral("ua741"));
        scrivi(a, "txQty", QStringLiteral("2.5"));
        a.w<QComboBox>(QStringLiteral("cmbTipo"))->setEditText(QStringLiteral("IC"));
        a.w<QListWidget>(QStringLiteral("LP"))->setCurrentRow(2);
        a.w<QComboBox>(QStringLiteral("cmbPack"))->setEditText(QStringLiteral("TO92"));
        scrivi(a, "txPins", QStringLiteral("8"));
        scrivi(a, "txDesc", QStringLiteral("Op-amp \"classico\", 8 pin"));
        scrivi(a, "txNote", QStringLiteral("vedi, anche"));
        scrivi(a, "txDatains", QStringLiteral("01/01/1999"));
        casella(a, "txPDF")->setText(QStringLiteral("ua741.pdf"));
        casella(a, "txPic")->setText(QStringLiteral("ua741.bmp"));
        for (int i = 1; i <= 6; ++i)
            scrivi(a, qPrintable(QStringLiteral("txExtra%1").arg(i)), QStringLiteral("e%1,x").arg(i));
        a.bottone(QStringLiteral("save"))->trigger();

        QCOMPARE(a.stato.NumComponenti, 6);
        Componente atteso;
        atteso.ID = 15;
        atteso.IDTipo = 1;
        atteso.IDProduttore = 3;
        atteso.IDPackage = 2;
        atteso.Pins = 8;
        atteso.NomeTipo = QStringLiteral("IC");
        atteso.Codice = QStringLiteral("UA741");
        atteso.CodiceNumerico = 741;
        atteso.Quantita = 2;
        atteso.NomeProduttore = QStringLiteral("NXP");
        atteso.Descrizione = QStringLiteral("Op-amp 'classico' -  8 pin");
        atteso.Note = QStringLiteral("vedi -  anche");
        atteso.Datasheet = QStringLiteral("ua741.pdf");
        atteso.Immagine = QStringLiteral("ua741.bmp");
        atteso.DataInserimento = data(2026, 12, 5);
        atteso.Extra1 = QStringLiteral("e1 - x");
        atteso.Extra2 = QStringLiteral("e2 - x");
        atteso.Extra3 = QStringLiteral("e3 - x");
        atteso.Extra4 = QStringLiteral("e4 - x");
        atteso.Extra5 = QStringLiteral("e5 - x");
        atteso.Extra6 = QStringLiteral("e6 - x");
        QCOMPARE(a.stato.componente(6), atteso);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void modificaNonChiedeConflitti()
    {
        Ambiente a;
        prepara(a);
        // Another component sharing 547 makes a conflict possible.
        aggiungi(a.stato, componente(20, QStringLiteral("BC547B"), 2, QStringLiteral("ST"), 2, QStringLiteral("TR"), 1));
        a.bottone(QStringLiteral("reselect"))->trigger();
        a.clicRiga(2, 0); // BC547C, position 2, in table order
        QCOMPARE(a.finestra->variabili().PosCorrente, 2);
        a.bottone(QStringLiteral("edit"))->trigger();
        scrivi(a, "txQty", QStringLiteral("42"));
        a.bottone(QStringLiteral("save"))->trigger();
        QVERIFY(a.dialoghi.boxes().isEmpty());
        const Componente &c = a.stato.componente(2);
        QCOMPARE(c.Quantita, 42);
        QCOMPARE(c.ID, 11);
        QCOMPARE(c.DataInserimento, data(2023, 1, 15));
        QCOMPARE(c.NomeProduttore, QStringLiteral("ST"));
        QCOMPARE(c.NomeTipo, QStringLiteral("TR"));
        QCOMPARE(a.stato.NumComponenti, 6);
        QCOMPARE(a.stato.ProssimoIDComponente, 21);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void nuovoDaUnoMostrato()
    {
        Ambiente a;
        prepara(a);
        a.clicRiga(5, 0); // NE555
        a.bottone(QStringLiteral("new"))->trigger();
        a.dialoghi.setNextAnswer(Risposta::Si); // 555 is taken by NE555
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.dialoghi.ultimoBox().titolo, QStringLiteral("Conflitto di codice"));
        QCOMPARE(a.stato.NumComponenti, 6);
        const Componente &nuovo = a.stato.componente(6);
        QCOMPARE(nuovo.Codice, QStringLiteral("NE555"));
        QCOMPARE(nuovo.Quantita, 20);
        QCOMPARE(nuovo.NomeProduttore, QStringLiteral("TI"));
        QCOMPARE(nuovo.ID, 15);
        QCOMPARE(nuovo.DataInserimento, data(2026, 12, 5));

        // A second new one right after gets the next ID.
        a.bottone(QStringLiteral("new"))->trigger();
        scrivi(a, "txCodice", QStringLiteral("TL072"));
        scrivi(a, "txQty", QStringLiteral("-3"));
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.stato.componente(7).ID, 16);
        QCOMPARE(a.stato.componente(7).Quantita, -3);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void rigaCliccataResta()
    {
        Ambiente a;
        prepara(a);
        a.clicRiga(3, 0); // BC547C in the sorted list
        a.bottone(QStringLiteral("edit"))->trigger();
        scrivi(a, "txCodice", QStringLiteral("ZTX450"));
        a.bottone(QStringLiteral("save"))->trigger();
        // Still ascending by code; row 3 (the last clicked) is selected.
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "LM317T", "NE555", "ZTX450"}));
        QCOMPARE(a.lista()->rigaSelezionata(), 3);
        QCOMPARE(a.finestra->variabili().IndiceVoce, 3);
        QCOMPARE(casella(a, "txCodice")->text(), QStringLiteral("ZTX450"));
        // A header click after that, then a save, still lists everything.
        a.clicIntestazione(2);
        a.bottone(QStringLiteral("new"))->trigger();
        scrivi(a, "txCodice", QStringLiteral("1N4148"));
        scrivi(a, "txQty", QStringLiteral("9"));
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.lista()->numeroRighe(), 6);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void eliminazione_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::newRow("Si") << Risposta::Si;
        QTest::newRow("No") << Risposta::No;
    }
    void eliminazione()
    {
        QFETCH(Risposta, risposta);
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        a.clicRiga(3, 0); // BC547C, position 2 of 5
        a.dialoghi.setNextAnswer(risposta);
        a.bottone(QStringLiteral("del"))->trigger();
        const auto box = a.dialoghi.ultimoBox();
        QCOMPARE(box.testo, QStringLiteral("Confermi la cancellazione di:\r\nBC547C ?"));
        QCOMPARE(box.icona, Icona::Esclamazione);
        QCOMPARE(box.pulsanti, Pulsanti::SiNo);
        if (risposta == Risposta::No) {
            QCOMPARE(a.stato.NumComponenti, 5);
            QCOMPARE(a.messaggio(), f.messaggi()[4]);
            QCOMPARE(a.bottoni(), QStringLiteral("11100"));
            QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
            VERIFICA_DIALOGHI(a.dialoghi);
            return;
        }
        QCOMPARE(a.stato.NumComponenti, 4);
        QStringList codici;
        QList<qint32> id;
        for (qint32 i = 1; i <= 4; ++i) {
            codici << a.stato.componente(i).Codice;
            id << a.stato.componente(i).ID;
        }
        QCOMPARE(codici, QStringList({"NE555", "LM317T", "2N2222", "74HC00"}));
        QCOMPARE(id, QList<qint32>({10, 12, 13, 14}));
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3, 4}));
        QCOMPARE(a.codici(), codici);
        QCOMPARE(a.messaggio(), f.messaggi()[6]);
        QVERIFY(a.w<QTimer>(QStringLiteral("Timer"))->isActive());
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(casella(a, "txCodice")->text().isEmpty());
        QCOMPARE(a.w<QLabel>(QStringLiteral("numComponent"))->text(), QStringLiteral("4"));
        const QByteArray file = a.cartella.leggi(QStringLiteral("Componenti.dat"));
        QVERIFY(!file.isEmpty());
        QVERIFY(!file.contains("BC547C"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void eliminaLUnico()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        aggiungi(a.stato, componente(1, QStringLiteral("NE555"), 1, QStringLiteral("TI"), 1, QStringLiteral("IC"), 3));
        a.apri();
        a.clicRiga(1, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.azione(QStringLiteral("mnuDel"))->trigger();
        QCOMPARE(a.stato.NumComponenti, 0);
        QCOMPARE(a.lista()->numeroRighe(), 0);
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("0"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numPieces"))->text(), QStringLiteral("0"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainSalvataggio)
#include "tst_frmmain_salvataggio.moc"
