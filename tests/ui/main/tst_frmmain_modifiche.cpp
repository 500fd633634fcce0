// Nothing typed or stored is lost in everyday use of the editor: commands act only on the component shown (and leave
// their lines in the stock history), refilled pick lists keep the panel, stored names survive a save, a failed save
// keeps memory, disk and panel agreeing, and unsaved typing is never dropped without a question.

#include "ambiente.h"

#include "common/fifosorvegliata.h"
#include "common/storicoprova.h"
#include "movimenti/rigamovimento.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"

using namespace prova;

namespace {

QStringList codiciSuDisco(const Ambiente &a) { return idCodici(*a.suDisco()); }

const QStringList Cinque = {"10:NE555", "11:BC547C", "12:LM317T", "13:2N2222", "14:74HC00"};

// The five components, saved once so that the disk holds them too; BC547C
// has a package, 3 pins and a minimum stock of 80 in field 1.
void salvati(Stato &s)
{
    cinqueComponenti(s);
    s.Componenti[1].IDPackage = 2;
    s.Componenti[1].Pins = 3;
    s.Componenti[1].Extra1 = QStringLiteral("80");
    DialoghiFinti d;
    QVERIFY(SalvaDatabase(s, d));
}

} // namespace

class TestFrmMainModifiche : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    // "Modifica", "Salva" and "Elimina" never reach a component not shown (after "Nuovo" or "Annulla"). What they do
    // goes in the stock history with the tables: a new component, a change (quantity and the fields that changed), a
    // deletion with the whole record; nothing when nothing changed.
    void soloIlComponenteMostrato_data()
    {
        Colonne<QString, QStringList, QStringList>("passi", "attesi", "storico");
        const QStringList conXY = Cinque + QStringList{"15:XY100"}, nessuna;
        QTest::newRow("nuovo, modifica, salva: aggiunge")
            << "row new type edit save" << conXY << QStringList{"1;Nuovo;15;XY100;-;4;"};
        QTest::newRow("esc dal nuovo, modifica, salva: niente") << "row new esc edit type save" << Cinque << nessuna;
        QTest::newRow("annulla la modifica, modifica, salva: niente")
            << "row edit undo edit type save" << Cinque << nessuna;
        QTest::newRow("nuovo, elimina: niente") << "row new del" << Cinque << nessuna;
        QTest::newRow("esc dal nuovo, elimina: niente") << "row new esc del" << Cinque << nessuna;
        QTest::newRow("elimina il mostrato")
            << "row si del" << QStringList{"10:NE555", "12:LM317T", "13:2N2222", "14:74HC00"}
            << QStringList{"1;Eliminazione;11;BC547C;100;-;%1"}; // %1: the whole record
        QTest::newRow("quantita' e descrizione") << "row edit qty desc save" << Cinque
                                                 << QStringList{"1;Modifica;11;BC547C;100;90;Descrizione: \"\" → \"NPN; 45 V\""};
        QTest::newRow("quantita', poi un nuovo")
            << "row edit qty save new type save" << conXY
            << QStringList{"1;Modifica;11;BC547C;100;90;", "2;Nuovo;15;XY100;-;4;"};
        QTest::newRow("niente cambiato") << "row edit save" << Cinque << nessuna;
    }
    void soloIlComponenteMostrato()
    {
        const auto [passi, attesi, storico] = Valori<QString, QStringList, QStringList>("passi", "attesi", "storico");
        Caso a(salvati);
        const QString record = TestoRecord(a.stato.componente(2));
        const QMap<QString, std::function<void()>> azioni = {
            {"row", [&] { a.clicRiga(3, 0); }}, // BC547C
            {"new", [&] { a.menu("mnuNew"); }},
            {"edit", [&] { a.menu("mnuEdit"); }},
            {"esc", [&] { QTest::keyClick(a.w("txCodice"), Qt::Key_Escape); }},
            {"undo", [&] { a.premi("undo"); }},
            {"type", [&] { a.scrivi("txCodice", QStringLiteral("XY100")), a.scrivi("txQty", QStringLiteral("4")); }},
            {"qty", [&] { a.scrivi("txQty", QStringLiteral("90")); }},
            {"desc", [&] { a.scrivi("txDesc", QStringLiteral("NPN; 45 V")); }},
            {"save", [&] { a.menu("mnuUpdate"); }},
            {"si", [&] { a.dialoghi.setNextAnswer(Risposta::Si); }},
            {"del", [&] { a.menu("mnuDel"); }}};
        for (const QString &passo : passi.split(' '))
            azioni[passo]();
        QCOMPARE(idCodici(a.stato), attesi);
        QCOMPARE(codiciSuDisco(a), attesi);
        // The other components are untouched, field for field.
        QCOMPARE(a.stato.componente(1).Quantita, 20);
        QCOMPARE(DescriviStorico(a.cartella.file(NomeFileMovimenti), true),
                 QStringList(storico).replaceInStrings("%1", record));
        QCOMPARE(a.cartella.esiste(NomeFileMovimenti), !storico.isEmpty());
    }

    // Refilling the pick lists (the tables window closing after a save)
    // keeps type, manufacturer, package and pins of the panel being edited.
    void tabelleDuranteLaModifica()
    {
        Caso a(salvati);
        a.clicRiga(3, 0); // BC547C: ST, TR, TO92, 3 pins
        a.premi("edit");
        a.stato.TabelleModificate = true; // an entry was saved earlier in the run
        QuandoModale([&](QWidget *m) { m->close(); }, this);
        a.premi("list");
        auto *lp = a.w<QListWidget>("LP");
        QVERIFY(lp->currentItem() && lp->currentItem()->isSelected());
        QCOMPARE(lp->currentItem()->text(), QStringLiteral("ST"));
        QCOMPARE(a.w<QComboBox>("cmbTipo")->currentText() + a.w<QComboBox>("cmbPack")->currentText() + a.testo("txPins"),
                 QStringLiteral("TRTO923"));
        a.premi("save");
        const Componente c = a.suDisco()->componente(2);
        QCOMPARE(c.NomeProduttore + ' ' + QString::number(c.IDProduttore) + ' ' + c.NomeTipo + ' '
                     + QString::number(c.IDPackage) + ' ' + QString::number(c.Pins),
                 QStringLiteral("ST 2 TR 2 3"));
    }

    // A type typed by hand (ID 0) and a manufacturer no entry stands for survive being shown and saved again.
    void nomiFuoriTabella()
    {
        Caso a;
        cinqueComponenti(a.stato);
        a.stato.Componenti[0].IDProduttore = 77;
        a.stato.Componenti[0].NomeProduttore = QStringLiteral("FAIRCHILD");
        a.apri();
        a.nuovo(QStringLiteral("R100"), QStringLiteral("50"));
        a.w<QComboBox>("cmbTipo")->setEditText(QStringLiteral("RESISTORE"));
        a.premi("save"); // a conflict-free code: no question
        QCOMPARE(a.w<QComboBox>("cmbTipo")->currentText(), QStringLiteral("RESISTORE"));
        a.premi("edit");
        a.premi("save");
        a.modificaRiga(5); // NE555, made by FAIRCHILD
        const auto s = a.suDisco();
        QCOMPARE(s->componente(6).NomeTipo + '/' + QString::number(s->componente(6).IDTipo),
                 QStringLiteral("RESISTORE/0"));
        QCOMPARE(s->componente(1).NomeProduttore, QStringLiteral("FAIRCHILD"));
    }

    // A save that cannot be written (a folder, or a watched FIFO, in place of a table file or of the stock history):
    // the error, a status text saying so, memory and the other files as they were, the typing kept with "Salva" on; a
    // quit answered "Sì" stores it once the file can be written.
    void salvataggioFallito_data()
    {
        // fifo: else a folder
        Colonne<QString, bool>("nome", "fifo");
        QTest::newRow("cartella Componenti.dat.nuovo") << "Componenti.dat.nuovo" << false;
        QTest::newRow("FIFO Info.ini") << "Info.ini" << true;
        QTest::newRow("FIFO Componenti.dat") << "Componenti.dat" << true;
        QTest::newRow("FIFO giornale") << NomeGiornale << true;
        QTest::newRow("cartella Movimenti.csv") << NomeFileMovimenti << false;
        QTest::newRow("FIFO Movimenti.csv") << NomeFileMovimenti << true;
    }
    void salvataggioFallito()
    {
        const auto [nome, fifo] = Valori<QString, bool>("nome", "fifo");
        Caso a(salvati);
        const QString percorso = a.cartella.file(nome);
        const bool esisteva = a.cartella.esiste(nome);
        const QByteArray originale = a.cartella.leggi(nome);
        const auto gliAltri = [&] {
            QStringList altri;
            for (const char *f : {"Info.ini", "Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"})
                if (nome != QLatin1String(f))
                    altri << a.cartella.leggi(f);
            return altri;
        };
        const QStringList altri = gliAltri();
        std::unique_ptr<FifoSorvegliata> fifoSorvegliata;
        if (fifo) {
            QFile::remove(percorso);
            fifoSorvegliata = std::make_unique<FifoSorvegliata>(percorso);
            QVERIFY(fifoSorvegliata->creata());
        } else {
            QVERIFY(QDir().mkpath(percorso + "/x"));
        }
        const auto nonSalvato = [&a](const char *cosa) {
            QCOMPARE(a.messaggio(), QStringLiteral("Attenzione: i dati NON sono stati salvati, ") + QString::fromUtf8(cosa));
        };
        a.clicRiga(3, 0);
        a.premi("new");
        a.scrivi("txCodice", QStringLiteral("ZZ900"));
        a.dialoghi.setNextAnswer(Risposta::Ok); // the save error
        a.premi("save");
        QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        nonSalvato("il componente è ancora nel pannello: premi [SALVA] per riprovare");
        QCOMPARE(idCodici(a.stato), Cinque);
        QCOMPARE(a.stato.ProssimoIDComponente, 15);
        QCOMPARE(a.stato.TotalePezzi, 144);
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        QCOMPARE(a.testo("txCodice"), QStringLiteral("ZZ900"));
        QVERIFY(!a.lista()->isEnabled());

        // Quitting asks; "Sì" fails again and the window stays.
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("exit");
        QVERIFY(a.finestra->isVisible());
        QCOMPARE(a.testo("txCodice"), QStringLiteral("ZZ900"));

        // An edit and a deletion that cannot be written change nothing either.
        a.premi("undo");
        a.clicRiga(3, 0);
        a.premi("edit");
        a.scrivi("txQty", QStringLiteral("1"));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("save");
        QCOMPARE(a.stato.componente(2).Quantita, 100);
        a.premi("undo");
        a.clicRiga(3, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("del");
        QCOMPARE(idCodici(a.stato), Cinque);
        nonSalvato("il componente non è stato eliminato");
        QVERIFY2(!fifoSorvegliata || !fifoSorvegliata->aperta(), "the FIFO was opened");
        QCOMPARE(gliAltri(), altri);

        // Writable again: a new entry and a quit with "Sì" put it on disk.
        fifoSorvegliata.reset();
        QVERIFY(fifo ? QFile::remove(percorso) : QDir(percorso).removeRecursively());
        if (esisteva)
            a.cartella.scrivi(nome, originale);
        a.premi("new");
        a.scrivi("txCodice", QStringLiteral("ZZ900"));
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi("exit");
        QVERIFY(!a.finestra->isVisible());
        QCOMPARE(codiciSuDisco(a), Cinque + QStringList{"15:ZZ900"});
    }

    // Esci, a search and the list of low stock ask before unsaved typing is dropped: Sì saves, No drops, Annulla goes
    // back to the editor. With nothing changed nothing is asked.
    void modificheNonSalvate_data()
    {
        Colonne<QString, QString>("comando", "risposta");
        for (const char *c : {"exit", "mnuQuit", "invio", "search", "mnuScorta"}) {
            for (const char *r : {"si", "no", "annulla", "nessuna modifica"})
                QTest::addRow("%s, %s", c, r) << QString::fromLatin1(c) << QString::fromLatin1(r);
        }
    }
    void modificheNonSalvate()
    {
        const auto [comando, risposta] = Valori<QString, QString>("comando", "risposta");
        Caso a(salvati);
        a.clicRiga(3, 0); // BC547C, at least 80 in stock
        a.premi("edit");
        const bool chiede = risposta != QLatin1String("nessuna modifica");
        if (chiede) {
            a.scrivi("txQty", QStringLiteral("77"));
            a.dialoghi.setNextAnswer(prova::risposta(risposta));
        }
        const bool esci = comando == QLatin1String("exit") || comando == QLatin1String("mnuQuit");
        const bool scorta = comando == QLatin1String("mnuScorta");
        if (esci || scorta)
            a.comando(comando);
        else
            a.cerca(QStringLiteral("LM"), comando == QLatin1String("invio"));
        const bool annulla = risposta == QLatin1String("annulla");
        const bool salvato = risposta == QLatin1String("si");
        if (chiede)
            VerificaBox(a.dialoghi, QStringLiteral("Salvare le modifiche al componente?"), Icona::Domanda,
                        Pulsanti::SiNoAnnulla);
        QCOMPARE(a.finestra->isVisible(), !(esci && !annulla));
        QCOMPARE(a.suDisco()->componente(2).Quantita, salvato ? 77 : 100);
        QCOMPARE(a.stato.componente(2).Quantita, salvato ? 77 : 100);
        if (annulla) { // back in the editor with the typing and the whole list
            QCOMPARE(a.bottoni(), QStringLiteral("00011"));
            QCOMPARE(a.testo("txQty"), QStringLiteral("77"));
            QCOMPARE(a.codici().size(), 5);
        } else if (scorta) { // only BC547C, once saved under its minimum
            QCOMPARE(a.codici(), salvato ? QStringList{"BC547C"} : QStringList());
            QCOMPARE(a.etichetta("numScorta"), QStringLiteral("Sotto scorta %1").arg(salvato ? 1 : 0));
        } else if (!esci) { // the search went on and shows its match
            QCOMPARE(a.testo("txCodice"), QStringLiteral("LM317T"));
            QCOMPARE(a.posizioni(), QList<int>{3});
        }
        if (chiede && !annulla && !esci && !scorta) { // browsing again: "Riseleziona" puts the list back in use
            a.premi("new");
            QVERIFY(!a.lista()->isEnabled());
            a.premi("reselect");
            QVERIFY(a.lista()->isEnabled());
            QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        }
    }
};

QTEST_MAIN(TestFrmMainModifiche)
#include "tst_frmmain_modifiche.moc"
