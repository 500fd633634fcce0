// The main window's optional features: components under stock (marked rows
// in both themes, the count, the narrowed list and its listing, the field
// of the minimum surviving a restart), the CSV import from the menu through
// its preview window, and the search in descriptions through the real
// search box.

#include "ambiente.h"

#include "store/aiutiarchivio.h"
#include "store/cp1252.h"
#include "store/orologio.h"

#include <QStringEncoder>

using namespace prova;

namespace {

// The five components with minimums: field 1 puts NE555 (20 < 25) and
// LM317T (5 < "5.5", read as 6) under stock, leaves BC547C ("abc"), 74HC00
// (-2) and 2N2222 (empty) alone; field 4 puts only 2N2222 (7 < 10) under.
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

// Those five in an open window; saved first where a test compares with the
// files or reads them back.
void Apri(Ambiente &a, bool salvati = false)
{
    conMinimi(a.stato);
    if (salvati)
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
    a.apri();
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

int RigaDi(const Ambiente &a, const QString &codice)
{
    return int(a.codici().indexOf(codice)) + 1;
}

// The contrast ratio of two colours (1 to 21), as accessibility guides
// compute it.
double Contrasto(const QColor &x, const QColor &y)
{
    const auto luce = [](const QColor &c) {
        const auto canale = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * canale(c.redF()) + 0.7152 * canale(c.greenF()) + 0.0722 * canale(c.blueF());
    };
    const double a = luce(x) + 0.05, b = luce(y) + 0.05;
    return std::max(a, b) / std::min(a, b);
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

void Clic(QWidget *finestra, const char *nome)
{
    auto *b = finestra->findChild<QAbstractButton *>(QLatin1String(nome));
    QVERIFY2(b, nome);
    QTest::mouseClick(b, Qt::LeftButton);
}

const QByteArray Intestazione = "Codice | Produttore | Tipo | Qt\xE0 | Inserito | Descrizione";

} // namespace

class TestFrmMainScorta : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void righeMarcateEConteggio()
    {
        Ambiente a;
        Apri(a);
        QCOMPARE(Marcati(a), (QStringList{"LM317T", "NE555"}));
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 2"));
        // The warning reads well on either theme, and differs from the plain rows.
        const int ne555 = RigaDi(a, QStringLiteral("NE555"));
        for (const char *tema : {"mnuDark", "mnuLight"}) {
            a.menu(QLatin1String(tema));
            const QColor sfondo = Colore(a, ne555, Qt::BackgroundRole);
            const QColor testo = Colore(a, ne555, Qt::ForegroundRole);
            QVERIFY2(Contrasto(sfondo, testo) >= 7.0, tema);
            QVERIFY(sfondo != a.lista()->vista()->palette().color(QPalette::Base));
            QVERIFY(!Colore(a, RigaDi(a, QStringLiteral("BC547C")), Qt::BackgroundRole).isValid());
        }
        // A sort carries the marks with their rows.
        a.clicIntestazione(4);
        QCOMPARE(Marcati(a), (QStringList{"LM317T", "NE555"}));
        QCOMPARE(a.lista()->testo(RigaDi(a, QStringLiteral("NE555")), 3), QStringLiteral("20"));

        // A custom selection lists none under stock; the count stays the table's.
        const int st = RigaDi(a, QStringLiteral("BC547C"));
        a.clicRiga(st, 1, Qt::RightButton);
        a.clicRiga(st, 1);
        QCOMPARE(a.codici().size(), 2);
        QVERIFY(Marcati(a).isEmpty());
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 2"));
        a.premi("reselect");

        // The count and the marks follow a save, a deletion and an import.
        // Save: NE555 restocked to 30 is no longer under its 25.
        a.clicRiga(RigaDi(a, QStringLiteral("NE555")), 0);
        a.premi("edit");
        a.scrivi(QStringLiteral("txQty"), QStringLiteral("30"));
        a.premi("save");
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 1"));
        QCOMPARE(Marcati(a), QStringList{"LM317T"});
        // A minimum typed into field 1 of BC547C (100 < 150).
        a.clicRiga(RigaDi(a, QStringLiteral("BC547C")), 0);
        a.premi("edit");
        a.scrivi(QStringLiteral("txExtra1"), QStringLiteral("150"));
        a.premi("save");
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 2"));
        // Deletion.
        a.clicRiga(RigaDi(a, QStringLiteral("LM317T")), 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi("del");
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 1"));
        QCOMPARE(Marcati(a), QStringList{"BC547C"});
        // Import: one more under stock through the field's own label.
        a.cartella.scrivi(QStringLiteral("nuovi.csv"),
                          "Codice;Qt\xE0;Campo Personale 1\r\nLM7805;2;10\r\nLM7812;20;10\r\n");
        Importa(a, a.cartella.file(QStringLiteral("nuovi.csv")), [](QWidget *m) { Clic(m, "btnImporta"); });
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 2"));
        QCOMPARE(Marcati(a), (QStringList{"BC547C", "LM7805"}));

        // The submenu lists the six labels; field 4 marks other rows at once.
        QCOMPARE(a.azione(QStringLiteral("mnuCampoMinimo(4)"))->text(), QStringLiteral("Campo Personale 4"));
        QVERIFY(a.azione(QStringLiteral("mnuCampoMinimo(1)"))->isChecked());
        a.menu(QStringLiteral("mnuCampoMinimo(4)"));
        QVERIFY(a.azione(QStringLiteral("mnuCampoMinimo(4)"))->isChecked());
        QVERIFY(!a.azione(QStringLiteral("mnuCampoMinimo(1)"))->isChecked());
        QCOMPARE(Marcati(a), QStringList{"2N2222"});
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 1"));
        QCOMPARE(a.stato.CampoMinimo, 4);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // "Componenti sotto scorta" narrows the list like a custom selection; the
    // narrowed list follows a save and prints as a shopping list.
    void elencoSottoScorta()
    {
        Ambiente a;
        Apri(a);
        a.premi("reselect");
        QVERIFY(!a.bottone("reselect")->isEnabled());
        QCOMPARE(a.azione(QStringLiteral("mnuScorta"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        a.menu(QStringLiteral("mnuScorta"));
        QCOMPARE(a.codici(), (QStringList{"NE555", "LM317T"}));
        QCOMPARE(a.posizioni(), (QList<int>{1, 3}));
        QCOMPARE(a.messaggio(), a.messaggio(3));
        QVERIFY(a.bottone("reselect")->isEnabled());
        QCOMPARE(a.contatori(), QStringLiteral("5/2/144"));
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));

        a.premi("print");
        const QByteArray stampa = a.cartella.leggi(QStringLiteral("Stampe/Stampa_05122026.txt"));
        QVERIFY(stampa.startsWith("Elenco dei 2 componenti estratti il 05/12/2026\r\n"));
        const QList<QByteArray> righe = stampa.split('\n');
        QCOMPARE(righe.size(), 11);
        const auto riga = [](const char *codice, const char *tipo, const char *quantita) {
            return QByteArray(codice).leftJustified(18) + QByteArray(tipo).leftJustified(9)
                   + QByteArray("TI").leftJustified(19) + QByteArray(quantita).leftJustified(7);
        };
        QVERIFY(righe[6].startsWith(riga("NE555", "IC", "20")));
        QVERIFY(righe[7].startsWith(riga("LM317T", "REG", "5")));

        // Another field for the minimum while a component is being edited:
        // the marks change, the list and the typing stay.
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
        a.clicRiga(2, 0);
        a.premi("edit");
        a.scrivi(QStringLiteral("txQty"), QStringLiteral("40"));
        a.premi("save");
        QCOMPARE(a.codici(), QStringList{"NE555"});
        QVERIFY(a.bottone("reselect")->isEnabled());
        // "Riseleziona" shows them all again, and a save afterwards too.
        a.premi("reselect");
        QCOMPARE(a.codici().size(), 5);
        QCOMPARE(a.messaggio(), a.messaggio(0));
        QVERIFY(!a.bottone("reselect")->isEnabled());
        a.clicRiga(1, 0);
        a.premi("edit");
        a.premi("save");
        QCOMPARE(a.codici().size(), 5);
        // A search replaces the narrowed list, and the next refill is whole.
        a.menu(QStringLiteral("mnuScorta"));
        a.scrivi(QStringLiteral("txSearch"), QStringLiteral("7"));
        a.premi("search");
        QCOMPARE(a.codici().size(), 3);
        a.clicRiga(1, 0);
        a.premi("edit");
        a.premi("save");
        QCOMPARE(a.codici().size(), 5);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The narrowed list empties the panel: unsaved changes are asked about
    // first, as before a search. Sì saves them and narrows, No drops them
    // and narrows, Annulla stays in the editor with the typing and the list.
    void scortaConModificheNonSalvate_data()
    {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<QStringList>("elencati");
        QTest::addColumn<int>("quantita");
        QTest::newRow("si") << "si" << QStringList{"NE555"} << 40;
        QTest::newRow("no") << "no" << QStringList{"NE555", "LM317T"} << 5;
        QTest::newRow("annulla") << "annulla" << QStringList{"NE555", "BC547C", "LM317T", "2N2222", "74HC00"} << 5;
        QTest::newRow("nessuna modifica") << "nessuna modifica" << QStringList{"NE555", "LM317T"} << 5;
    }
    void scortaConModificheNonSalvate()
    {
        QFETCH(QString, risposta);
        QFETCH(QStringList, elencati);
        QFETCH(int, quantita);
        Ambiente a;
        Apri(a, true);
        a.premi("reselect"); // the whole table in table order
        a.clicRiga(RigaDi(a, QStringLiteral("LM317T")), 0);
        a.premi("edit");
        if (risposta != QLatin1String("nessuna modifica")) {
            a.scrivi(QStringLiteral("txQty"), QStringLiteral("40"));
            a.dialoghi.setNextAnswer(risposta == QLatin1String("si")  ? Risposta::Si
                                     : risposta == QLatin1String("no") ? Risposta::No
                                                                       : Risposta::Annulla);
        }
        a.menu(QStringLiteral("mnuScorta"));
        if (risposta != QLatin1String("nessuna modifica"))
            verificaBox(a.dialoghi, QStringLiteral("Salvare le modifiche al componente?"), QString(),
                        Icona::Domanda, Pulsanti::SiNoAnnulla);
        QCOMPARE(a.codici(), elencati);
        QCOMPARE(a.stato.componente(3).Quantita, quantita);
        const auto riletto = a.suDisco();
        QCOMPARE(riletto->componente(3).Quantita, quantita);
        if (risposta == QLatin1String("annulla")) {
            QCOMPARE(a.bottoni(), QStringLiteral("00011"));
            QCOMPARE(a.testo(QStringLiteral("txQty")), QStringLiteral("40"));
            QVERIFY(!a.bottone("reselect")->isEnabled());
        } else {
            QCOMPARE(a.bottoni(), QStringLiteral("10000"));
            QCOMPARE(a.messaggio(), a.messaggio(3));
            QVERIFY(a.bottone("reselect")->isEnabled());
            QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta %1").arg(elencati.size()));
        }
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // An empty database waits for its tables: the menu item leaves the
    // window as the load left it.
    void senzaTabelle()
    {
        Ambiente a;
        a.apri();
        const QString prima = a.messaggio();
        a.menu(QStringLiteral("mnuScorta"));
        QCOMPARE(a.messaggio(), prima);
        QVERIFY(!a.bottone("new")->isEnabled());
        QCOMPARE(Sotto(a), QStringLiteral("Sotto scorta 0"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The field of the minimum and the search option reach Info.ini when the
    // program quits, and come back with the next start.
    void sceltaDopoIlRiavvio()
    {
        Ambiente a;
        Apri(a, true);
        QVERIFY(!a.cartella.leggi(QStringLiteral("Info.ini")).contains("[Scorta]"));
        a.menu(QStringLiteral("mnuCampoMinimo(4)"));
        a.menu(QStringLiteral("mnuCercaDesc"));
        a.menu(QStringLiteral("mnuQuit"));
        const QByteArray ini = a.cartella.leggi(QStringLiteral("Info.ini"));
        // Sections of their own (the window's place may follow them).
        QVERIFY(ini.contains("\r\n[Scorta]\r\nCampo minimo=4\r\n[Ricerca]\r\nCerca nella descrizione=True\r\n"));

        const auto riavvio = a.suDisco();
        FrmMain f(*riavvio, a.dialoghi);
        f.Form_Load();
        QVERIFY(f.findChild<QAction *>(QStringLiteral("mnuCampoMinimo(4)"))->isChecked());
        QVERIFY(f.findChild<QAction *>(QStringLiteral("mnuCercaDesc"))->isChecked());
        QCOMPARE(f.findChild<QLabel *>(QStringLiteral("numScorta"))->text(), QStringLiteral("Sotto scorta 1"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void ricercaNellaDescrizione_data()
    {
        QTest::addColumn<bool>("attiva");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("trovati");
        // Off: only codes, as always ("timer" finds nothing: the list stays whole).
        QTest::newRow("spenta, descrizione") << false << "timer" << QStringList{"NE555", "BC547C", "LM317T", "2N2222", "74HC00"};
        QTest::newRow("spenta, codice") << false << "55" << QStringList{"NE555"};
        QTest::newRow("accesa, descrizione") << true << "timer" << QStringList{"NE555"};
        QTest::newRow("accesa, jolly") << true << "n?n" << QStringList{"BC547C"};
        QTest::newRow("accesa, codice o descrizione") << true << "C" << QStringList{"NE555", "BC547C", "74HC00"};
        // "µ" stays "µ" in the pattern and in the description alike.
        QTest::newRow("accesa, micro") << true << "\u00b5f" << QStringList{"74HC00"};
        QTest::newRow("spenta, micro") << false << "\u00b5f" << QStringList{"NE555", "BC547C", "LM317T", "2N2222", "74HC00"};
        QTest::newRow("accesa, nulla") << true << "diodo" << QStringList{"NE555", "BC547C", "LM317T", "2N2222", "74HC00"};
    }
    void ricercaNellaDescrizione()
    {
        QFETCH(bool, attiva);
        QFETCH(QString, testo);
        QFETCH(QStringList, trovati);
        Ambiente a;
        Apri(a);
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
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // Files in other encodings: the preview names the encoding and the
    // separator, and a line with a character the files cannot hold, which
    // the import leaves out, so that what memory holds is what the disk
    // holds ("€" is in the code page and passes); a UTF-16 spreadsheet's
    // "Unicode text" is tab-separated.
    void codificheDelFile_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QStringList>("anteprima"); // the second line of lblFile, then lstErrori
        QTest::addColumn<QString>("codice");        // the one component added, as saved
        QTest::addColumn<int>("quantita");
        QTest::addColumn<QString>("descrizione");
        QTest::newRow("utf-8, carattere non salvabile")
            << QStringLiteral("\uFEFFCodice;Descrizione;Qt\u00e0\r\nR10;Resistenza 10 \u03a9;4\r\nc\u00e9ll;Costa 2 \u20ac;3\r\n")
                   .toUtf8()
            << QStringList{"Codifica: UTF-8 - separatore: punto e virgola",
                           "Riga 2: il carattere \"\u03a9\" (descrizione) non pu\u00f2 essere salvato nei file dei dati"}
            << "C\u00c9LL" << 3 << "Costa 2 \u20ac";
        QStringEncoder utf16(QStringConverter::Utf16LE);
        QTest::newRow("utf-16, tabulazione")
            << "\xFF\xFE" + QByteArray(utf16(QStringLiteral("Codice\tQt\u00e0\tDescrizione\r\nlm317\t7\t\"Regolatore\t1,5 A\"\r\n")))
            << QStringList{"Codifica: UTF-16 - separatore: tabulazione"} << "LM317" << 7 << "Regolatore\t1 - 5 A";
    }
    void codificheDelFile()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QStringList, anteprima);
        QFETCH(QString, codice);
        QFETCH(int, quantita);
        QFETCH(QString, descrizione);
        Ambiente a;
        Apri(a, true);
        a.cartella.scrivi(QStringLiteral("Exported/f.txt"), contenuto);
        QStringList visto;
        Importa(a, a.cartella.file(QStringLiteral("Exported/f.txt")), [&](QWidget *m) {
            visto << m->findChild<QLabel *>(QStringLiteral("lblFile"))->text().section(QLatin1Char('\n'), 1);
            auto *l = m->findChild<QListWidget *>(QStringLiteral("lstErrori"));
            for (int i = 0; i < l->count(); ++i)
                visto << l->item(i)->text();
            Clic(m, "btnImporta");
        });
        QCOMPARE(visto, anteprima);
        const auto riletto = a.suDisco();
        for (const Stato *s : {&a.stato, riletto.get()}) {
            QCOMPARE(s->NumComponenti, 6);
            const Componente &c = s->componente(6);
            QCOMPARE(c.Codice + u'|' + QString::number(c.Quantita) + u'|' + c.Descrizione,
                     codice + u'|' + QString::number(quantita) + u'|' + descrizione);
        }
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // The preview shows what the file would do; "Annulla" changes nothing,
    // nor does a failed save; "Importa" adds in one save with the choice
    // made for existing codes.
    void anteprimaEImportazione()
    {
        Ambiente a;
        Apri(a, true);
        const QString file = a.cartella.file(QStringLiteral("Exported/arrivi.csv"));
        a.cartella.scrivi(QStringLiteral("Exported/arrivi.csv"),
                          Intestazione + "\r\n"
                                         "NE555;TI;IC;5;01/12/2026;\r\n"
                                         "BD139;Fairchild;TR;10;01/12/2026;NPN media potenza\r\n"
                                         "RIGA;TI;IC;1\r\n"
                                         "LED;Kingbright;OPTO;tanti;01/12/2026;\r\n"
                                         "LED2;Kingbright;OPTO;3;32/12/2026;\r\n");
        const auto prima = Istantanea(a.cartella.percorso());
        const QList<Componente> componenti = a.stato.Componenti;
        QStringList visto;
        const auto leggiAnteprima = [&](QWidget *m) {
            visto << m->findChild<QLabel *>(QStringLiteral("lblConteggio"))->text();
            for (const char *nome : {"lstErrori", "lstNuoveVoci"}) {
                auto *l = m->findChild<QListWidget *>(QLatin1String(nome));
                for (int i = 0; i < l->count(); ++i)
                    visto << l->item(i)->text();
            }
        };
        Importa(a, file, [&](QWidget *m) {
            leggiAnteprima(m);
            Clic(m, "btnAnnullaImporta");
        });
        QCOMPARE(a.dialoghi.dialoghiFile().last().cartella, a.stato.percorsi.CartellaEsportati);
        QCOMPARE(visto, (QStringList{
                            "Componenti da aggiungere: 1\nRighe saltate perch\u00e9 il codice esiste gi\u00e0: 1\n"
                            "Righe non leggibili: 3",
                            "Riga 4: mancano colonne: 4 invece di 6", "Riga 5: quantit\u00e0 non numerica: \"tanti\"",
                            "Riga 6: data non valida: \"32/12/2026\"", "Produttore: FAIRCHILD"}));
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.stato.Componenti, componenti);
        QCOMPARE(a.codici().size(), 5);

        // A save that fails leaves the preview open and changes nothing; the
        // user may then give up.
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
        verificaBox(a.dialoghi, QStringLiteral("Errore nel salvataggio dei dati"), QString(), Icona::Nessuna, Pulsanti::Ok);
        QCOMPARE(a.stato.Componenti, componenti);
        QCOMPARE(a.stato.NumProduttori, 3);
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.codici().size(), 5);

        // Add the quantity to NE555; the new manufacturer is created.
        visto.clear();
        Importa(a, file, [&](QWidget *m) {
            Clic(m, "optSomma");
            leggiAnteprima(m);
            Clic(m, "btnImporta");
        });
        QCOMPARE(visto.first(), QStringLiteral("Componenti da aggiungere: 1\nComponenti esistenti di cui sommare "
                                               "la quantit\u00e0: 1\nRighe non leggibili: 3"));
        QCOMPARE(a.stato.NumComponenti, 6);
        QCOMPARE(a.stato.componente(1).Quantita, 25);
        QCOMPARE(a.stato.componente(6).Codice, QStringLiteral("BD139"));
        QCOMPARE(a.stato.componente(6).IDProduttore, 4);
        QCOMPARE(a.codici().last(), QStringLiteral("BD139"));
        QCOMPARE(a.contatori(), QStringLiteral("6/6/159"));
        QCOMPARE(a.messaggio(), QStringLiteral("Importazione completata: componenti aggiunti 1, quantit\u00e0 aggiornate 1"));
        QVERIFY(a.w<QListWidget>(QStringLiteral("LP"))->findItems(QStringLiteral("FAIRCHILD"), Qt::MatchExactly).size() == 1);
        // On disk at once.
        const auto letto = a.suDisco();
        QCOMPARE(letto->NumComponenti, 6);
        QCOMPARE(letto->componente(1).Quantita, 25);
        QCOMPARE(letto->produttore(4).Nome, QStringLiteral("FAIRCHILD"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // A line whose code matches two stored components is listed in the
    // preview with both, and summed to neither; a line naming the
    // manufacturer is summed to that one. The list shows only when there is
    // something in it.
    void anteprimaRigheAmbigue()
    {
        Ambiente a;
        conMinimi(a.stato);
        aggiungi(a.stato, componente(15, "BC547C", 3, "NXP", 2, "TR", 30, data(2021, 6, 1)));
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        a.apri();
        const QString file = a.cartella.file(QStringLiteral("Exported/arrivi.csv"));
        a.cartella.scrivi(QStringLiteral("Exported/arrivi.csv"), "Codice;Produttore;Qt\xE0\r\n"
                                                                 " bc547c ; nxp ;5\r\n"
                                                                 "BC547C;;2\r\n");
        QStringList visto;
        bool visibilePrima = true;
        Importa(a, file, [&](QWidget *m) {
            visibilePrima = Figlio<QListWidget>(m, QStringLiteral("lstAmbigue"))->isVisible();
            Clic(m, "optSomma");
            visto << Figlio<QLabel>(m, QStringLiteral("lblConteggio"))->text();
            QVERIFY(Figlio<QListWidget>(m, QStringLiteral("lstAmbigue"))->isVisible());
            QVERIFY(Figlio<QLabel>(m, QStringLiteral("lblAmbigue"))->isVisible());
            auto *l = Figlio<QListWidget>(m, QStringLiteral("lstAmbigue"));
            for (int i = 0; i < l->count(); ++i)
                visto << l->item(i)->text();
            Clic(m, "btnImporta");
        });
        QVERIFY(!visibilePrima);
        QCOMPARE(visto, (QStringList{
                            "Componenti da aggiungere: 0\nComponenti esistenti di cui sommare la quantit\u00e0: 1\n"
                            "Righe ambigue, non importate: 1\nRighe non leggibili: 0",
                            "Riga 3: BC547C corrisponde a 2 componenti",
                            "    BC547C - ST - TR - 100 pz - inserito il 15/01/2023 - Transistor NPN per uso generale",
                            "    BC547C - NXP - TR - 30 pz - inserito il 01/06/2021"}));
        QCOMPARE(a.stato.componente(2).Quantita, 100);
        QCOMPARE(a.stato.componente(6).Quantita, 35);
        QCOMPARE(a.messaggio(), QStringLiteral("Importazione completata: componenti aggiunti 0, quantit\u00e0 aggiornate 1"));
        QCOMPARE(a.suDisco()->componente(6).Quantita, 35);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void importazioneRifiutata_data()
    {
        QTest::addColumn<QByteArray>("contenuto"); // empty name: cancelled dialog
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("dialogo annullato") << QByteArray() << QString();
        QTest::newRow("binario") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11)
                                 << "Il file non \u00e8 un testo CSV: contiene dati binari.\r\nScegliere un file esportato come testo CSV.";
        QTest::newRow("solo intestazione") << (Intestazione + "\r\n")
                                           << "Il file contiene solo l'intestazione: non c'\u00e8 nessun componente da importare.";
        QTest::newRow("in modifica") << QByteArray("modifica")
                                     << "Salvare o annullare prima il componente in modifica,\r\npoi ripetere l'importazione.";
    }
    void importazioneRifiutata()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, messaggio);
        Ambiente a;
        Apri(a);
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
            verificaBox(a.dialoghi, messaggio, QStringLiteral("Importa da testo CSV"),
                        contenuto == "modifica" ? Icona::Informazione : Icona::Esclamazione, Pulsanti::Ok);
        QCOMPARE(a.stato.NumComponenti, 5);
        QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainScorta)
#include "tst_frmmain_scorta.moc"
