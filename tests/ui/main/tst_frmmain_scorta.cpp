// Components under stock (marked rows, the count, the narrowed list and its
// listing), the CSV import through its preview, the search in descriptions.

#include "ambiente.h"

#include "store/aiutiarchivio.h"
#include "store/orologio.h"

using namespace prova;

namespace {

// The five with minimums: field 1 puts NE555 (20 < 25) and LM317T (5 <
// "5.5", read as 6) under stock, not BC547C ("abc"), 74HC00 (-2) nor 2N2222
// (empty); field 4 puts only 2N2222 (7 < 10) under.
void conMinimi(Stato &s)
{
    cinqueComponenti(s);
    s.componente(1).Extra1 = QStringLiteral("25");
    s.componente(2).Extra1 = QStringLiteral("abc");
    s.componente(3).Extra1 = QStringLiteral("5.5");
    s.componente(5).Extra1 = QStringLiteral("-2");
    s.componente(4).Extra4 = QStringLiteral("10 pz");
    s.componente(1).Descrizione = QStringLiteral("Timer di precisione");
    s.componente(2).Descrizione = QStringLiteral("Transistor NPN per uso generale");
    s.componente(5).Descrizione = QStringLiteral("Quattro porte e 10 \u00b5F");
}

QStringList Marcati(const Ambiente &a)
{
    QStringList codici;
    for (int r = 1; r <= a.lista()->numeroRighe(); ++r)
        if (a.lista()->evidenziata(r))
            codici << a.lista()->testo(r, 0);
    codici.sort();
    return codici;
}

QColor Colore(const Ambiente &a, int riga, int ruolo)
{
    const QAbstractItemModel *m = a.lista()->vista()->model();
    return m->data(m->index(riga - 1, 0), ruolo).value<QColor>();
}

QString Sotto(const Ambiente &a) { return a.etichetta(QStringLiteral("numScorta")); }

// Runs the import of a file from the menu, doing `azione` in the preview.
void Importa(Ambiente &a, const QString &file, const std::function<void(QWidget *)> &azione)
{
    a.dialoghi.setNextFile(file);
    bool vista = false;
    QuandoModale([&](QWidget *m) {
        vista = m->objectName() == QLatin1String("frmImporta");
        azione(m);
    });
    a.menu(QStringLiteral("mnuImporta"));
    QVERIFY(vista);
}

void Clic(QWidget *finestra, const char *nome) { QTest::mouseClick(Figlio<QAbstractButton>(finestra, nome), Qt::LeftButton); }

} // namespace

class TestFrmMainScorta : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void righeMarcateEConteggio()
    {
        Caso a(conMinimi);
        QCOMPARE(Marcati(a), (QStringList{"LM317T", "NE555"}));
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 2"));
        // The warning reads well on either theme, and differs from the plain rows.
        const int ne555 = a.rigaDi("NE555");
        for (const char *tema : {"mnuDark", "mnuLight"}) {
            a.menu(QLatin1String(tema));
            const QColor sfondo = Colore(a, ne555, Qt::BackgroundRole);
            const QColor testo = Colore(a, ne555, Qt::ForegroundRole);
            QVERIFY2(contrasto(sfondo, testo) >= 7.0, tema);
            QVERIFY(sfondo != a.lista()->vista()->palette().color(QPalette::Base));
            QVERIFY(!Colore(a, a.rigaDi("BC547C"), Qt::BackgroundRole).isValid());
        }
        // A custom selection lists none under stock; the count stays the table's.
        const int st = a.rigaDi("BC547C");
        a.clicRiga(st, 1, Qt::RightButton);
        a.clicRiga(st, 1);
        QCOMPARE(a.codici().size(), 2);
        QVERIFY(Marcati(a).isEmpty());
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 2"));
        a.premi("reselect");

        // The count and the marks follow a save and a deletion (an import: anteprimaEImportazione).
        // Save: NE555 restocked to 30 is no longer under its 25.
        a.modificaRiga(a.rigaDi("NE555"), QStringLiteral("txQty"), QStringLiteral("30"));
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 1"));
        QCOMPARE(Marcati(a), QStringList{"LM317T"});
        // A minimum typed into field 1 of BC547C (100 < 150).
        a.modificaRiga(a.rigaDi("BC547C"), QStringLiteral("txExtra1"), QStringLiteral("150"));
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 2"));
        a.clicRiga(a.rigaDi("LM317T"), 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi("del");
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 1"));
        QCOMPARE(Marcati(a), QStringList{"BC547C"});

        // The submenu lists the six labels; field 4 marks other rows at once.
        QCOMPARE(a.azione(QStringLiteral("mnuCampoMinimo(4)"))->text(), QStringLiteral("Campo Personale 4"));
        QVERIFY(a.azione(QStringLiteral("mnuCampoMinimo(1)"))->isChecked());
        a.menu(QStringLiteral("mnuCampoMinimo(4)"));
        QVERIFY(a.azione(QStringLiteral("mnuCampoMinimo(4)"))->isChecked());
        QVERIFY(!a.azione(QStringLiteral("mnuCampoMinimo(1)"))->isChecked());
        QCOMPARE(Marcati(a), QStringList{"2N2222"});
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 1"));
        QCOMPARE(a.stato.CampoMinimo, 4);
    }

    // "Componenti sotto scorta" narrows the list like a custom selection,
    // follows a save and prints as a shopping list.
    void elencoSottoScorta()
    {
        Caso a(conMinimi);
        a.premi("reselect");
        QVERIFY(!a.bottone("reselect")->isEnabled());
        QCOMPARE(a.azione(QStringLiteral("mnuScorta"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        a.menu(QStringLiteral("mnuScorta"));
        QCOMPARE(a.codici(), (QStringList{"NE555", "LM317T"}));
        QCOMPARE(a.posizioni(), (QList<int>{1, 3}));
        QCOMPARE(a.contatori(), QStringLiteral("5/2/144"));
        // The listing's lines are tst_elenchi's.
        a.dialoghi.setNextAnswer(Risposta::No); // the text file only
        a.premi("print");
        QVERIFY(a.cartella.leggi(QStringLiteral("Stampe/Stampa_05122026.txt"))
                    .startsWith("Elenco dei 2 componenti estratti il 05/12/2026\r\n"));

        // Another field for the minimum while editing: the marks change, the
        // list and the typing stay.
        a.clicRiga(1, 0);
        a.premi("edit");
        a.scrivi(QStringLiteral("txNote"), QStringLiteral("in arrivo"));
        a.menu(QStringLiteral("mnuCampoMinimo(4)"));
        QCOMPARE(a.codici(), (QStringList{"NE555", "LM317T"}));
        QVERIFY(Marcati(a).isEmpty());
        QCOMPARE(a.testo(QStringLiteral("txNote")), QStringLiteral("in arrivo"));
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        a.premi("undo");
        // Browsing again, the narrowed list follows the field at once.
        a.menu(QStringLiteral("mnuCampoMinimo(4)"));
        QCOMPARE(a.codici(), QStringList{"2N2222"});
        a.menu(QStringLiteral("mnuCampoMinimo(1)"));
        QCOMPARE(a.codici(), (QStringList{"NE555", "LM317T"}));

        // LM317T restocked: the list keeps to the components under stock.
        a.modificaRiga(2, QStringLiteral("txQty"), QStringLiteral("40"));
        QCOMPARE(a.codici(), QStringList{"NE555"});
        QVERIFY(a.bottone("reselect")->isEnabled());
        // "Riseleziona" shows them all again, and a save afterwards too.
        a.premi("reselect");
        QCOMPARE(a.codici().size(), 5);
        a.modificaRiga(1);
        QCOMPARE(a.codici().size(), 5);
        // A search replaces the narrowed list, and the next refill is whole.
        a.menu(QStringLiteral("mnuScorta"));
        a.scrivi(QStringLiteral("txSearch"), QStringLiteral("7"));
        a.premi("search");
        QCOMPARE(a.codici().size(), 3);
        a.modificaRiga(1);
        QCOMPARE(a.codici().size(), 5);
    }

    void ricercaNellaDescrizione_data()
    {
        Colonne<bool, QString, QStringList>("attiva", "testo", "trovati");
        // Off: only codes, as always ("timer" finds nothing: the list stays whole).
        QTest::newRow("spenta, descrizione") << false << "timer" << QStringList{"NE555", "BC547C", "LM317T", "2N2222", "74HC00"};
        QTest::newRow("spenta, codice") << false << "55" << QStringList{"NE555"};
        QTest::newRow("accesa, descrizione") << true << "timer" << QStringList{"NE555"};
        QTest::newRow("accesa, jolly") << true << "n?n" << QStringList{"BC547C"};
        QTest::newRow("accesa, codice o descrizione") << true << "C" << QStringList{"NE555", "BC547C", "74HC00"};
        // "µ" stays "µ" in the pattern and in the description alike.
        QTest::newRow("accesa, micro") << true << "\u00b5f" << QStringList{"74HC00"};
    }
    void ricercaNellaDescrizione()
    {
        const auto [attiva, testo, trovati] = Valori<bool, QString, QStringList>("attiva", "testo", "trovati");
        Caso a(conMinimi);
        a.premi("reselect"); // the whole table in table order
        QVERIFY(!a.azione(QStringLiteral("mnuCercaDesc"))->isChecked());
        if (attiva)
            a.menu(QStringLiteral("mnuCercaDesc"));
        QCOMPARE(a.stato.CercaDescrizione, attiva);
        auto *box = a.w<QLineEdit>(QStringLiteral("txSearch"));
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClicks(box, testo);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(a.codici(), trovati);
    }

    // The preview shows what the file would do; "Annulla" changes nothing,
    // nor does a failed save; "Importa" adds in one save. A line whose code
    // matches two stored components (a second BC547C) is listed with both
    // and summed to neither; one naming the manufacturer is summed to that
    // one. The list shows only when there is something in it.
    void anteprimaEImportazione()
    {
        Caso a;
        conMinimi(a.stato);
        aggiungi(a.stato, componente(15, "BC547C", 3, "NXP", 2, "TR", 30, data(2021, 6, 1)));
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        a.apri();
        const QString file = a.cartella.file(QStringLiteral("Exported/arrivi.csv"));
        a.cartella.scrivi(QStringLiteral("Exported/arrivi.csv"),
                          "Codice | Produttore | Tipo | Qt\xE0 | Inserito | Descrizione\r\n"
                          "NE555;TI;IC;5;01/12/2026;\r\n"
                          "BD139;Fairchild;TR;10;01/12/2026;NPN media potenza\r\n"
                          "RIGA;TI;IC;1\r\n"
                          "LED;Kingbright;OPTO;tanti;01/12/2026;\r\n"
                          " bc547c ; nxp ;TR;5;01/12/2026;\r\n"
                          "BC547C;;TR;2;01/12/2026;\r\n");
        const auto prima = Istantanea(a.cartella.percorso());
        const QList<Componente> componenti = a.stato.Componenti;
        QStringList visto;
        const auto leggiAnteprima = [&](QWidget *m) {
            visto << Figlio<QLabel>(m, "lblFile")->text().section(u'\n', 1) << Figlio<QLabel>(m, "lblConteggio")->text()
                  << voci(Figlio<QListWidget>(m, "lstErrori")) << voci(Figlio<QListWidget>(m, "lstNuoveVoci"));
        };
        Importa(a, file, [&](QWidget *m) {
            leggiAnteprima(m);
            QVERIFY(!Figlio<QListWidget>(m, "lstAmbigue")->isVisible());
            Clic(m, "btnAnnullaImporta");
        });
        QCOMPARE(a.dialoghi.dialoghiFile().last().cartella, a.stato.percorsi.CartellaEsportati);
        QCOMPARE(visto, (QStringList{
                            "Codifica: Windows-1252 - separatore: punto e virgola",
                            "Componenti da aggiungere: 1\nRighe saltate perch\u00e9 il codice esiste gi\u00e0: 3\n"
                            "Righe non leggibili: 2",
                            "Riga 4: mancano colonne: 4 invece di 6", "Riga 5: quantit\u00e0 non numerica: \"tanti\"",
                            "Produttore: FAIRCHILD"}));
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.stato.Componenti, componenti);
        QCOMPARE(a.codici().size(), 6);

        // A failed save leaves the preview open and changes nothing.
        QFile(a.cartella.file(QStringLiteral("Packages.dat"))).setPermissions(QFile::ReadOwner);
        bool ancoraAperta = false;
        a.dialoghi.setNextAnswer(Risposta::Ok);
        Importa(a, file, [&](QWidget *m) {
            Clic(m, "btnImporta");
            ancoraAperta = m->isVisible();
            Clic(m, "btnAnnullaImporta");
        });
        QFile(a.cartella.file(QStringLiteral("Packages.dat"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(ancoraAperta);
        VerificaBox(a.dialoghi, QStringLiteral("Errore nel salvataggio dei dati"), Icona::Nessuna);
        QCOMPARE(a.stato.Componenti, componenti);
        QCOMPARE(a.stato.NumProduttori, 3);
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.codici().size(), 6);

        // Add the quantity to NE555 and to the NXP BC547C; the new manufacturer is created.
        visto.clear();
        Importa(a, file, [&](QWidget *m) {
            Clic(m, "optSomma");
            QVERIFY(Figlio<QLabel>(m, "lblAmbigue")->isVisible());
            visto << Figlio<QLabel>(m, "lblConteggio")->text() << voci(Figlio<QListWidget>(m, "lstAmbigue"));
            Clic(m, "btnImporta");
        });
        QCOMPARE(visto, (QStringList{
                            "Componenti da aggiungere: 1\nComponenti esistenti di cui sommare la quantit\u00e0: 2\n"
                            "Righe ambigue, non importate: 1\nRighe non leggibili: 2",
                            "Riga 7: BC547C corrisponde a 2 componenti",
                            "    BC547C - ST - TR - 100 pz - inserito il 15/01/2023 - Transistor NPN per uso generale",
                            "    BC547C - NXP - TR - 30 pz - inserito il 01/06/2021"}));
        QCOMPARE(a.stato.NumComponenti, 7);
        QCOMPARE(QList<int>({a.stato.componente(1).Quantita, a.stato.componente(2).Quantita,
                             a.stato.componente(6).Quantita}),
                 QList<int>({25, 100, 35}));
        QCOMPARE(a.stato.componente(7).Codice, QStringLiteral("BD139"));
        QCOMPARE(a.stato.componente(7).IDProduttore, 4);
        QCOMPARE(a.codici().last(), QStringLiteral("BD139"));
        QCOMPARE(a.contatori(), QStringLiteral("7/7/194"));
        QCOMPARE(Marcati(a), QStringList{"LM317T"}); // NE555 now at its minimum
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 1"));
        QCOMPARE(a.messaggio(), QStringLiteral("Importazione completata: componenti aggiunti 1, quantit\u00e0 aggiornate 2"));
        QVERIFY(a.w<QListWidget>(QStringLiteral("LP"))->findItems(QStringLiteral("FAIRCHILD"), Qt::MatchExactly).size() == 1);
        // On disk at once.
        const auto letto = a.suDisco();
        QCOMPARE(letto->NumComponenti, 7);
        QCOMPARE(letto->componente(1).Quantita + letto->componente(6).Quantita, 25 + 35);
        QCOMPARE(letto->produttore(4).Nome, QStringLiteral("FAIRCHILD"));
    }

    void importazioneRifiutata_data()
    {
        // contenuto: empty name: cancelled dialog
        Colonne<QByteArray, QString>("contenuto", "messaggio");
        QTest::newRow("dialogo annullato") << QByteArray() << QString();
        QTest::newRow("binario") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11)
                                 << "Il file non \u00e8 un testo CSV: contiene dati binari.\r\nScegliere un file esportato come testo CSV.";
        QTest::newRow("in modifica") << QByteArray("modifica")
                                     << "Salvare o annullare prima il componente in modifica,\r\npoi ripetere l'importazione.";
    }
    void importazioneRifiutata()
    {
        const auto [contenuto, messaggio] = Valori<QByteArray, QString>("contenuto", "messaggio");
        Caso a(conMinimi);
        if (contenuto == "modifica") {
            a.clicRiga(1, 0);
            a.premi("edit");
        } else {
            a.cartella.scrivi(QStringLiteral("f.csv"), contenuto);
            a.dialoghi.setNextFile(contenuto.isEmpty() ? QString() : a.cartella.file(QStringLiteral("f.csv")));
        }
        if (!messaggio.isEmpty())
            a.dialoghi.setNextAnswer(Risposta::Ok);
        a.menu(QStringLiteral("mnuImporta"));
        if (!messaggio.isEmpty())
            VerificaBox(a.dialoghi, messaggio, contenuto == "modifica" ? Icona::Informazione : Icona::Esclamazione,
                        Pulsanti::Ok, QStringLiteral("Importa da testo CSV"));
        QCOMPARE(a.stato.NumComponenti, 5);
        QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
    }
};

QTEST_MAIN(TestFrmMainScorta)
#include "tst_frmmain_scorta.moc"
