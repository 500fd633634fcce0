// A second copy that only looks: the real start-up on a folder another copy
// holds, answered "Sì", then a whole session through the real main window.
// Everything is shown, searched, sorted, exported and printed (into the
// temporary folder the status bar names); every command that would change
// data is disabled and does nothing when tried; quitting writes nothing. The
// folder is the same, byte for byte, before and after.

#include "ambiente.h"

#include "reports/stampa.h"
#include "startup/avvio.h"
#include "startup/bloccocartella.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"

using namespace prova;

namespace {

// The commands that change data: toolbar keys and menu items.
const QStringList ComandiDiModifica = {"new",    "edit",   "save",      "del",     "list",     "custom",  "mnuNew",
                                       "mnuEdit", "mnuUpdate", "mnuDel", "mnuList", "mnuExtra", "mnuImporta"};

// A saved archive of five components whose lock another copy holds, opened
// read-only through Main.
struct SecondaCopia : Ambiente {
    BloccoCartella altraCopia;
    QMap<QString, QByteArray> prima;
    QString uscita; // the temporary folder, as the user reads it

    SecondaCopia()
    {
        DialoghiFinti d;
        Stato primo;
        if (!Main(primo, d, cartella.percorso()))
            qFatal("primo avvio fallito");
        cinqueComponenti(primo);
        if (!SalvaDatabase(primo, d))
            qFatal("salvataggio fallito");
        QString testo;
        if (altraCopia.prendi(cartella.percorso(), &testo) != BloccoCartella::Esito::Preso)
            qFatal("blocco non preso");
        prima = Istantanea(cartella.percorso());

        stato = Stato();
        dialoghi.setNextAnswer(Risposta::Si);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Un'altra copia di Arvo")));
        if (!Main(stato, dialoghi, cartella.percorso()) || !stato.SolaLettura)
            qFatal("avvio in sola lettura fallito");
        dialoghi.dimentica();
        uscita = QDir::toNativeSeparators(QDir::cleanPath(stato.percorsi.CartellaStampe));
        apri();
    }
};

} // namespace

class TestFrmMainSolaLettura : public QObject {
    Q_OBJECT
private slots:
    void init() { ImpostaOggi(QDate(2025, 3, 4)); }
    void cleanup() { ImpostaOggi(QDate()); }

    void sessione()
    {
        SecondaCopia a;
        FrmMain &f = *a.finestra;
        QCOMPARE(f.windowTitle(), QStringLiteral("Arvo - Gestione Componenti - Versione 10.2.0 - 09/10/24 (sola lettura)"));
        const QString avviso =
            "Sola lettura: nessuna modifica viene salvata; stampe ed esportazioni vanno nella cartella " + a.uscita;
        QCOMPARE(a.messaggio(), avviso);
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(a.contatori(), QStringLiteral("5/5/144"));

        // Search, all again, a sort by code the other way, a component shown.
        a.scrivi(QStringLiteral("txSearch"), QStringLiteral("BC"));
        a.premi(QStringLiteral("search"));
        QCOMPARE(a.codici(), QStringList({"BC547C"}));
        a.premi(QStringLiteral("reselect"));
        a.clicIntestazione(1);
        QCOMPARE(a.codici(), QStringList({"NE555", "LM317T", "BC547C", "74HC00", "2N2222"}));
        a.clicRiga(3, 0);
        QCOMPARE(a.testo(QStringLiteral("txCodice")), QStringLiteral("BC547C"));

        // Every command that would change data is disabled and does
        // nothing, from the toolbar or the menu.
        {
            QObject sorveglianza;
            QStringList aperte;
            QuandoModale([&](QWidget *m) { aperte << m->objectName(); m->close(); }, &sorveglianza);
            for (const QString &comando : ComandiDiModifica) {
                QVERIFY2(!(comando.startsWith("mnu") ? a.azione(comando) : a.bottone(comando))->isEnabled(),
                         qPrintable(comando));
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
        const QString csv = a.uscita + QDir::separator() + "CSVlist.csv";
        QCOMPARE(a.messaggio(), "Esportazione CSV creata: " + csv);
        a.premi(QStringLiteral("print"));
        const QString stampa = a.uscita + QDir::separator() + NomeFileStampa(Oggi());
        QCOMPARE(a.messaggio(), "Stampa creata: " + stampa);

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
        QCOMPARE(statoDistinta, "Lista dei mancanti salvata in " + a.uscita + QDir::separator() + "Mancanti.csv");

        // Quitting asks nothing and writes nothing.
        a.premi(QStringLiteral("exit"));
        QVERIFY(!f.isVisible());
        VERIFICA_DIALOGHI(a.dialoghi);
        QCOMPARE(Istantanea(a.cartella.percorso()), a.prima);
        QCOMPARE(QDir(a.uscita).entryList(QDir::Files),
                 QStringList({"CSVlist.csv", "Mancanti.csv", NomeFileStampa(Oggi())}));
    }
};

QTEST_MAIN(TestFrmMainSolaLettura)
#include "tst_frmmain_solalettura.moc"
