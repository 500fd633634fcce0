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
        cinqueComponenti(a.stato);
        a.apri();
    }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void controlli_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("quantita");
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<Icona>("icona");
        QTest::addColumn<Pulsanti>("pulsanti");
        QTest::addColumn<QString>("bottoni"); // after the answer; "10000": saved
        const QString manca = QStringLiteral("Attenzione: manca il Codice\r\nInserire il valore e riprovare !");
        const QString zero = QStringLiteral("Attenzione: la quantità è 0\r\nInserire il valore e riprovare !");
        const QString senzaNumeri = QStringLiteral("Attenzione: questo Codice non contiene numeri!\r\n"
                                                   "Premi Sì per salvare comunque, No per tornare a modificare il valore");
        const QString conflitto = QStringLiteral("Ci sono altri componenti con lo stesso codice numerico [547] of "
                                                 "BC547B:\r\n> BC547C\r\n\r\nDevo continuare comunque ?");
        for (const auto &[codice, quantita] : {std::pair{"", "10"}, {"BC337", ""}, {"BC337", "abc"}, {"BC337", "0"}})
            QTest::addRow("rifiuto %s/%s", codice, quantita) << codice << quantita << Risposta::Ok
                                                             << (*codice ? zero : manca) << "" << Icona::Critica
                                                             << Pulsanti::Ok << "00001";
        QTest::newRow("senza numeri, Si") << "ABC" << "3" << Risposta::Si << senzaNumeri << "" << Icona::Informazione
                                          << Pulsanti::SiNo << "10000";
        QTest::newRow("senza numeri, No") << "ABC" << "3" << Risposta::No << senzaNumeri << "" << Icona::Informazione
                                          << Pulsanti::SiNo << "00001";
        QTest::newRow("conflitto, Si") << "bc547b" << "10" << Risposta::Si << conflitto << "Conflitto di codice"
                                       << Icona::Esclamazione << Pulsanti::SiNo << "10000";
        QTest::newRow("conflitto, No") << "bc547b" << "10" << Risposta::No << conflitto << "Conflitto di codice"
                                       << Icona::Esclamazione << Pulsanti::SiNo << "00011";
    }
    void controlli()
    {
        QFETCH(QString, codice);
        QFETCH(QString, quantita);
        QFETCH(Risposta, risposta);
        QFETCH(QString, testo);
        QFETCH(QString, titolo);
        QFETCH(Icona, icona);
        QFETCH(Pulsanti, pulsanti);
        QFETCH(QString, bottoni);
        Ambiente a;
        prepara(a);
        const FrmMain &f = *a.finestra;
        a.premi("new");
        a.scrivi("txCodice", codice);
        a.scrivi("txQty", quantita);
        a.dialoghi.setNextAnswer(risposta);
        a.premi("save");
        verificaBox(a.dialoghi, testo, titolo, icona, pulsanti);
        QCOMPARE(a.bottoni(), bottoni);
        if (bottoni != QLatin1String("10000")) {
            QCOMPARE(a.stato.NumComponenti, 5);
            QCOMPARE(a.testo("txCodice"), codice);
            QVERIFY(!a.lista()->isEnabled());
            QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
            VERIFICA_DIALOGHI(a.dialoghi);
            return;
        }
        QCOMPARE(a.stato.NumComponenti, 6);
        const Componente &c = a.stato.componente(6);
        QCOMPARE(c.Codice, codice.toUpper());
        QCOMPARE(c.ID, 15);
        QCOMPARE(c.DataInserimento, data(2026, 12, 5));
        // On disk; the list redrawn sorted by code, the saved one shown.
        QVERIFY(a.cartella.leggi(QStringLiteral("Componenti.dat")).contains(c.Codice.toLatin1()));
        for (const char *file : {"Tipi.dat", "Produttori.dat", "Packages.dat", "Info.ini"})
            QVERIFY2(a.cartella.esiste(QLatin1String(file)), file);
        QStringList codici = {"2N2222", "74HC00", "BC547C", "LM317T", "NE555", c.Codice};
        codici.sort();
        QCOMPARE(a.codici(), codici);
        QCOMPARE(a.testo("txCodice"), c.Codice);
        QCOMPARE(f.variabili().PosCorrente, 6);
        QVERIFY(a.lista()->isEnabled());
        QCOMPARE(a.messaggio(), f.messaggi()[6]);
        QCOMPARE(a.contatori(), QStringLiteral("6/6/%1").arg(144 + quantita.toInt()));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void recordCompleto()
    {
        Ambiente a;
        prepara(a);
        a.premi("new");
        a.scrivi("txCodice", "ua741");
        a.scrivi("txQty", "2.5");
        a.w<QComboBox>("cmbTipo")->setEditText(QStringLiteral("IC"));
        a.w<QListWidget>("LP")->setCurrentRow(2);
        a.w<QComboBox>("cmbPack")->setEditText(QStringLiteral("TO92"));
        a.scrivi("txPins", "8");
        a.scrivi("txDesc", "Op-amp \"classico\", 8 pin");
        a.scrivi("txNote", "vedi, anche");
        a.scrivi("txDatains", "01/01/1999");
        a.scrivi("txPDF", "ua741.pdf");
        a.scrivi("txPic", "ua741.bmp");
        for (int i = 1; i <= 6; ++i)
            a.scrivi(QStringLiteral("txExtra%1").arg(i), QStringLiteral("e%1,x").arg(i));
        a.premi("save");

        // Today's date, upper-case code, cleaned texts, IDs looked up by name.
        Componente atteso = componente(15, "UA741", 3, "NXP", 1, "IC", 2, data(2026, 12, 5));
        atteso.IDPackage = 2;
        atteso.Pins = 8;
        atteso.Descrizione = QStringLiteral("Op-amp 'classico' -  8 pin");
        atteso.Note = QStringLiteral("vedi -  anche");
        atteso.Datasheet = QStringLiteral("ua741.pdf");
        atteso.Immagine = QStringLiteral("ua741.bmp");
        for (QString *e : {&atteso.Extra1, &atteso.Extra2, &atteso.Extra3, &atteso.Extra4, &atteso.Extra5,
                           &atteso.Extra6})
            *e = QStringLiteral("e%1 - x").arg(e - &atteso.Extra1 + 1);
        QCOMPARE(a.stato.componente(6), atteso);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void modificaNonChiedeConflitti()
    {
        Ambiente a;
        prepara(a);
        // Another component sharing 547 makes a conflict possible.
        aggiungi(a.stato, componente(20, "BC547B", 2, "ST", 2, "TR", 1));
        a.premi("reselect");
        a.clicRiga(2, 0); // BC547C, position 2, in table order
        a.premi("edit");
        a.scrivi("txQty", "42");
        a.premi("save");
        QVERIFY(a.dialoghi.boxes().isEmpty());
        Componente atteso = a.stato.componente(2);
        atteso.Quantita = 42;
        QCOMPARE(atteso.ID, 11);
        QCOMPARE(a.stato.componente(2), atteso);
        QCOMPARE(a.stato.ProssimoIDComponente, 21);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void nuovoDaUnoMostrato()
    {
        Ambiente a;
        prepara(a);
        a.clicRiga(5, 0); // NE555
        a.premi("new");
        a.dialoghi.setNextAnswer(Risposta::Si); // 555 is taken by NE555
        a.premi("save");
        const Componente &nuovo = a.stato.componente(6);
        QCOMPARE(nuovo.Codice + nuovo.NomeProduttore, QStringLiteral("NE555TI"));
        QCOMPARE(nuovo.Quantita, 20);
        QCOMPARE(nuovo.ID, 15);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void rigaCliccataResta()
    {
        Ambiente a;
        prepara(a);
        a.clicRiga(3, 0); // BC547C in the sorted list
        a.premi("edit");
        a.scrivi("txCodice", "ZTX450");
        a.premi("save");
        // Still ascending by code; row 3 (the last clicked) is selected.
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "LM317T", "NE555", "ZTX450"}));
        QCOMPARE(a.lista()->rigaSelezionata(), 3);
        QCOMPARE(a.testo("txCodice"), QStringLiteral("ZTX450"));
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
        a.clicRiga(3, 0); // BC547C, position 2 of 5
        a.dialoghi.setNextAnswer(risposta);
        a.premi("del");
        verificaBox(a.dialoghi, QStringLiteral("Confermi la cancellazione di:\r\nBC547C ?"), QString(),
                    Icona::Esclamazione, Pulsanti::SiNo);
        if (risposta == Risposta::No) {
            QCOMPARE(a.stato.NumComponenti, 5);
            QCOMPARE(a.messaggio(), a.finestra->messaggi()[4]);
            QCOMPARE(a.bottoni(), QStringLiteral("11100"));
            QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
            return;
        }
        QStringList codici;
        for (qint32 i = 1; i <= a.stato.NumComponenti; ++i)
            codici << a.stato.componente(i).Codice + QLatin1Char('/') + QString::number(a.stato.componente(i).ID);
        QCOMPARE(codici, QStringList({"NE555/10", "LM317T/12", "2N2222/13", "74HC00/14"}));
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3, 4}));
        QCOMPARE(a.messaggio(), a.finestra->messaggi()[6]);
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(a.testo("txCodice").isEmpty());
        QCOMPARE(a.contatori(), QStringLiteral("4/4/44"));
        const QByteArray file = a.cartella.leggi(QStringLiteral("Componenti.dat"));
        QVERIFY(file.contains("74HC00") && !file.contains("BC547C"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void eliminaLUnico()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        aggiungi(a.stato, componente(1, "NE555", 1, "TI", 1, "IC", 3));
        a.apri();
        a.clicRiga(1, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.menu("mnuDel");
        QCOMPARE(a.stato.NumComponenti, 0);
        QCOMPARE(a.lista()->numeroRighe(), 0);
        QCOMPARE(a.contatori(), QStringLiteral("0/0/0"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainSalvataggio)
#include "tst_frmmain_salvataggio.moc"
