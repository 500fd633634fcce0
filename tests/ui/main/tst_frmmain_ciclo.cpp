// The main window's load, close, status messages, timer, menus, toolbar and
// status bar, driven through the real widgets.

#include "ambiente.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

using namespace prova;

class TestFrmMainCiclo : public QObject {
    Q_OBJECT
private slots:
    void caricamentoUsabile()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        FrmMain &f = a.apri();
        QCOMPARE(f.windowTitle(), QStringLiteral("Arvo - Gestione Componenti - Versione 10.2.0 - 09/10/24"));
        QVERIFY(f.isVisible());
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(a.bottone("search")->isEnabled());
        QVERIFY(!a.bottone("pdf")->isEnabled());
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(a.posizioni(), QList<int>({4, 5, 2, 3, 1}));
        QCOMPARE(a.contatori(), QStringLiteral("5/5/144"));
        // The background picture, the panel locked.
        QVERIFY(a.riquadro().pixelColor(5, 5).red() > 200);
        QVERIFY(!a.w(QStringLiteral("fmDati"))->isEnabled());
        QVERIFY(!a.w(QStringLiteral("fmImm"))->isEnabled());
        QVERIFY(a.w(QStringLiteral("Frame1"))->isEnabled());
        QCOMPARE(a.etichetta(QStringLiteral("lblExtra(3)")), QStringLiteral(" Campo Personale 3"));
        QVERIFY(!a.w<QTimer>(QStringLiteral("Timer"))->isActive());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void caricamentoVuoto_data()
    {
        QTest::addColumn<int>("tipi");
        QTest::addColumn<int>("produttori");
        QTest::newRow("niente") << 0 << 0;
        QTest::newRow("solo tipi") << 3 << 0;
        QTest::newRow("solo produttori") << 0 << 3;
    }
    void caricamentoVuoto()
    {
        QFETCH(int, tipi);
        QFETCH(int, produttori);
        Ambiente a;
        cinqueComponenti(a.stato);
        a.stato.NumTipi = tipi;
        a.stato.NumProduttori = produttori;
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        a.apri();
        QCOMPARE(a.messaggio(),
                 QStringLiteral("Per iniziare devi aggiungere Tipi e Produttori - Premi il bottone 'Tabelle'"));
        QVERIFY(!a.bottone("new")->isEnabled());
        QVERIFY(!a.bottone("search")->isEnabled());
        QCOMPARE(a.lista()->numeroRighe(), 0);
        QVERIFY(a.riquadro().isNull());
        // The menu item still starts a new component.
        a.menu(QStringLiteral("mnuNew"));
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void testiDeiMessaggi()
    {
        Ambiente a;
        const std::array<QString, 8> attesi = {
            QStringLiteral("Benvenuti in Ar.Vo. - Versione 10.2.0 - 09/10/24"),
            QStringLiteral("Per iniziare devi aggiungere Tipi e Produttori - Premi il bottone 'Tabelle'"),
            QString(),
            QStringLiteral("Selezione personalizzata: premi il pulsante 'Riseleziona' nella barra in alto "
                           "per visualizzare tutti i componenti"),
            QStringLiteral("Conferma la richiesta per l'operazione"),
            QStringLiteral("Inserisci le informazioni sul componente poi premi [SALVA]"),
            QStringLiteral("Operazione completata: componente aggiunto o modificato"),
            QStringLiteral("Doppio click sulla lista o premi [Inserisci] per inserire l'immagine"),
        };
        QCOMPARE(a.apri().messaggi(), attesi);
    }

    void messaggioConTimer()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        auto *timer = a.w<QTimer>(QStringLiteral("Timer"));
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 3000);
        // A save shows message 6 and starts the timer; a second save and a
        // deletion restart it. Its firing puts message 0 back once.
        for (const char *comando : {"save", "save", "del"}) {
            a.clicRiga(1, 0);
            if (QLatin1String(comando) == QLatin1String("save"))
                a.premi(QStringLiteral("edit"));
            else
                a.dialoghi.setNextAnswer(Risposta::Si);
            timer->stop();
            a.premi(QLatin1String(comando));
            QCOMPARE(a.messaggio(), f.messaggi()[6]);
            QVERIFY(timer->isActive());
        }
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
        QVERIFY(!timer->isActive());
    }

    void chiusura_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::newRow("riquadro di chiusura: rifiutato") << QString();
        QTest::newRow("menu Esci") << QStringLiteral("mnuQuit");
        QTest::newRow("toolbar exit") << QStringLiteral("exit");
    }
    void chiusura()
    {
        QFETCH(QString, comando);
        Ambiente a;
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        if (comando.isEmpty()) {
            a.dialoghi.setNextAnswer(Risposta::Ok);
            QVERIFY(!f.close());
            verificaBox(a.dialoghi, QStringLiteral("Per terminare il programma usare l'icona della barra comandi"),
                        QStringLiteral("Operazione annullata"), Icona::Informazione, Pulsanti::Ok);
        } else {
            (comando == QLatin1String("exit") ? a.bottone(comando) : a.azione(comando))->trigger();
            QVERIFY(a.dialoghi.boxes().isEmpty()); // saved without a question
        }
        QCOMPARE(f.isVisible(), comando.isEmpty());
        QCOMPARE(a.cartella.esiste(QStringLiteral("Info.ini")), !comando.isEmpty());
        QCOMPARE(a.cartella.esiste(QStringLiteral("Componenti.dat")), !comando.isEmpty());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void barreEPannelli()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        FrmMain &f = a.apri();
        QStringList voci;
        for (QAction *azione : a.w<QToolBar>("TB")->actions()) {
            if (!azione->objectName().isEmpty()) {
                voci << azione->objectName() + QLatin1Char('=') + azione->text();
                QVERIFY(!azione->icon().isNull());
            }
        }
        QCOMPARE(voci, QStringList({"new=Nuovo", "edit=Modifica", "undo=Annulla", "save=Salva", "del=Elimina",
                                    "pdf=PDF", "imgstd=Imm Reali", "imgrid=Imm Adatte", "list=Tabelle",
                                    "custom=Campi extra", "print=Stampe", "search=Cerca", "reselect=Riseleziona",
                                    "exit=Esci"}));
        // The menus, the shortcuts; no item is ever disabled, whatever the state.
        a.menu("mnuNew");
        QStringList menu;
        for (QAction *m : f.menuBar()->actions()) {
            menu << m->text();
            for (QAction *voce : m->menu()->actions()) {
                QVERIFY(voce->isEnabled());
                if (!voce->shortcut().isEmpty())
                    menu << voce->objectName() + QLatin1Char('@') + voce->shortcut().toString();
            }
        }
        QCOMPARE(menu, QStringList({"Programma", "Componenti", "mnuNew@Ctrl+N", "mnuEdit@Ctrl+E", "mnuUpdate@Ctrl+S",
                                    "mnuDel@Ctrl+X", "Visualizza", "mnuSelect@Ctrl+A", "Opzioni", "Informazioni..."}));
        QCOMPARE(a.azione("mnuCSV2")->text(), QStringLiteral("Il separatore CSV è il punto-virgola"));
        QStringList pannelli;
        for (QLabel *l : a.w<QStatusBar>("SBM")->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            pannelli << l->objectName() + QLatin1Char('=') + l->text();
        QCOMPARE(pannelli, QStringList({"msg=" + f.messaggi()[5], "lblComponenti=Componenti", "numComponent=0",
                                        "lblSelezionati=Selezionati", "numSelected=0", "lblPezzi=Pezzi",
                                        "numPieces=0"}));
        QVERIFY(a.lista()->colonna(6).nascosta); // the positions
    }
};

QTEST_MAIN(TestFrmMainCiclo)
#include "tst_frmmain_ciclo.moc"
