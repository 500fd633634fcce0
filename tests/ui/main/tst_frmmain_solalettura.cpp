// A second copy that only looks: the real start-up on a folder another copy
// holds, answered "Sì", then a session through the main window. It shows,
// searches, sorts, exports and prints (into the temporary folder the status
// bar names); every command that would change data is disabled and does
// nothing; quitting writes nothing: the folder stays the same, byte for byte.

#include "ambiente.h"

#include "reports/stampa.h"
#include "startup/avvio.h"
#include "startup/bloccocartella.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"

using namespace prova;

class TestFrmMainSolaLettura : public QObject {
    Q_OBJECT
private slots:
    void init() { ImpostaOggi(QDate(2025, 3, 4)); }
    void cleanup() { ImpostaOggi(QDate()); }

    void sessione()
    {
        // A saved archive of five components whose lock another copy holds,
        // opened read-only through Main.
        Caso a;
        BloccoCartella altraCopia;
        {
            DialoghiFinti d;
            Stato primo;
            QVERIFY(Main(primo, d, a.cartella.percorso()));
            cinqueComponenti(primo);
            QVERIFY(SalvaDatabase(primo, d));
            QString testo;
            QCOMPARE(altraCopia.prendi(a.cartella.percorso(), &testo), BloccoCartella::Esito::Preso);
        }
        const auto prima = Istantanea(a.cartella.percorso());
        a.stato = Stato();
        a.dialoghi.setNextAnswer(Risposta::Si);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Un'altra copia di Arvo")));
        QVERIFY(Main(a.stato, a.dialoghi, a.cartella.percorso()) && a.stato.SolaLettura);
        a.dialoghi.dimentica();
        const QString uscita = QDir::toNativeSeparators(QDir::cleanPath(a.stato.percorsi.CartellaStampe));
        FrmMain &f = a.apri();
        QCOMPARE(f.windowTitle(), QStringLiteral("Arvo - Gestione Componenti - Versione 10.2.0 - 09/10/24 (sola lettura)"));
        const QString avviso =
            "Sola lettura: nessuna modifica viene salvata; stampe ed esportazioni vanno nella cartella " + uscita;
        QCOMPARE(a.messaggio(), avviso);
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(a.contatori(), QStringLiteral("5/5/144"));

        a.scrivi(QStringLiteral("txSearch"), QStringLiteral("BC"));
        a.premi(QStringLiteral("search"));
        QCOMPARE(a.codici(), QStringList({"BC547C"}));
        a.premi(QStringLiteral("reselect"));
        a.clicIntestazione(1);
        QCOMPARE(a.codici(), QStringList({"NE555", "LM317T", "BC547C", "74HC00", "2N2222"}));
        a.clicRiga(3, 0);
        QCOMPARE(a.testo(QStringLiteral("txCodice")), QStringLiteral("BC547C"));

        {
            QObject sorveglianza;
            QStringList aperte;
            QuandoModale([&](QWidget *m) { aperte << m->objectName(); m->close(); }, &sorveglianza);
            for (const char *comando : {"new", "edit", "save", "del", "list", "custom", "mnuNew", "mnuEdit", "mnuUpdate",
                                        "mnuDel", "mnuList", "mnuExtra", "mnuImporta"}) {
                QVERIFY2(!(comando[0] == 'm' ? a.azione(comando) : a.bottone(comando))->isEnabled(), comando);
                a.comando(comando);
            }
            QTest::qWait(50);
            QCOMPARE(aperte, QStringList());
        }
        QCOMPARE(a.bottoni(), QStringLiteral("00000"));
        QVERIFY(!a.w(QStringLiteral("fmDati"))->isEnabled());
        QCOMPARE(a.corrente(), 2);
        QCOMPARE(a.stato.NumComponenti, 5);

        // A display option may change: it is not kept.
        a.menu(QStringLiteral("mnuDark"));
        QVERIFY(!a.stato.TemaChiaro);

        // The export and the listing land in the temporary folder and say so.
        a.menu(QStringLiteral("mnuCSV"));
        QCOMPARE(a.messaggio(), "Esportazione CSV creata: " + uscita + QDir::separator() + "CSVlist.csv");
        a.dialoghi.setNextAnswer(Risposta::No); // the text file only
        a.premi(QStringLiteral("print"));
        QCOMPARE(a.messaggio(), "Stampa creata: " + uscita + QDir::separator() + NomeFileStampa(Oggi()));

        // The bill of materials is checked, its shopping list exported, but
        // no pieces can be taken.
        CartellaTest altrove;
        altrove.scrivi(QStringLiteral("scheda.csv"), "Reference;Value;Quantity\r\nU1;NE555;50\r\n");
        a.dialoghi.setNextFile(altrove.file(QStringLiteral("scheda.csv")));
        QString statoDistinta;
        bool prelevabile = true;
        QuandoModale([&](QWidget *m) {
            prelevabile = m->findChild<QPushButton *>(QStringLiteral("btnPreleva"))->isEnabled();
            QTest::mouseClick(m->findChild<QPushButton *>(QStringLiteral("btnMancanti")), Qt::LeftButton);
            statoDistinta = m->findChild<QLabel *>(QStringLiteral("lblStato"))->text();
            m->close();
        });
        a.menu(QStringLiteral("mnuDistinta"));
        QVERIFY(!prelevabile);
        QCOMPARE(statoDistinta, "Lista dei mancanti salvata in " + uscita + QDir::separator() + "Mancanti.csv");

        // Quitting asks nothing and writes nothing.
        a.premi(QStringLiteral("exit"));
        QVERIFY(!f.isVisible());
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(QDir(uscita).entryList(QDir::Files),
                 QStringList({"CSVlist.csv", "Mancanti.csv", NomeFileStampa(Oggi())}));
    }
};

QTEST_MAIN(TestFrmMainSolaLettura)
#include "tst_frmmain_solalettura.moc"
