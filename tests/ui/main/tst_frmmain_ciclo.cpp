// The main window's load, status messages, timer and close, and the modal
// windows it opens (manual, custom labels, tables) with what follows them.

#include "ambiente.h"

#include "startup/avvio.h"

using namespace prova;

class TestFrmMainCiclo : public QObject {
    Q_OBJECT

    // Where the labels and tables windows open: beside the detail frame.
    static QPoint accanto(const Ambiente &a)
    {
        return a.finestra->frameGeometry().topLeft() + a.w(QStringLiteral("fmDati"))->mapTo(a.finestra.get(), QPoint())
               + QPoint(4, 46);
    }

private slots:
    void caricamento_data()
    {
        QTest::addColumn<int>("tipi");
        QTest::addColumn<int>("produttori");
        QTest::newRow("usabile") << 3 << 3;
        QTest::newRow("niente") << 0 << 0;
        QTest::newRow("solo tipi") << 3 << 0;
        QTest::newRow("solo produttori") << 0 << 3;
    }
    void caricamento()
    {
        QFETCH(int, tipi);
        QFETCH(int, produttori);
        Ambiente a;
        cinqueComponenti(a.stato);
        a.stato.NumTipi = tipi;
        a.stato.NumProduttori = produttori;
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        FrmMain &f = a.apri();
        QCOMPARE(f.windowTitle(), QStringLiteral("Arvo - Gestione Componenti - Versione 10.2.0 - 09/10/24"));
        QVERIFY(f.isVisible());
        QVERIFY(!a.w(QStringLiteral("fmDati"))->isEnabled() && !a.w(QStringLiteral("fmImm"))->isEnabled());
        QVERIFY(!a.bottone("pdf")->isEnabled());
        VERIFICA_DIALOGHI(a.dialoghi);
        if (!tipi || !produttori) {
            QCOMPARE(a.messaggio(), a.messaggio(1));
            QVERIFY(!a.bottone("new")->isEnabled() && !a.bottone("search")->isEnabled());
            QCOMPARE(a.lista()->numeroRighe(), 0);
            QVERIFY(a.riquadro().isNull());
            a.menu(QStringLiteral("mnuNew")); // the menu item still starts a new component
            QCOMPARE(a.bottoni(), QStringLiteral("00011"));
            return;
        }
        QCOMPARE(a.messaggio(), a.messaggio(0));
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(a.bottone("search")->isEnabled());
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(a.posizioni(), QList<int>({4, 5, 2, 3, 1}));
        QVERIFY(a.lista()->colonna(6).nascosta);
        QCOMPARE(a.contatori(), QStringLiteral("5/5/144"));
        QVERIFY(a.riquadro().pixelColor(5, 5).red() > 200); // back.jpg
    }

    void messaggiETimer()
    {
        Ambiente a;
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
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
        QCOMPARE(f.messaggi(), attesi);
        auto *timer = a.w<QTimer>(QStringLiteral("Timer"));
        QVERIFY(!timer->isActive());
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
            QCOMPARE(a.messaggio(), a.messaggio(6));
            QVERIFY(timer->isActive());
        }
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(a.messaggio(), a.messaggio(0));
        QVERIFY(!timer->isActive());
        VERIFICA_DIALOGHI(a.dialoghi);
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
            a.comando(comando); // saves without a question
        }
        QCOMPARE(f.isVisible(), comando.isEmpty());
        QCOMPARE(a.cartella.esiste(QStringLiteral("Info.ini")), !comando.isEmpty());
        QCOMPARE(a.cartella.esiste(QStringLiteral("Componenti.dat")), !comando.isEmpty());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // A first start on an empty folder through the real start-up: the manual
    // over the shown window, then the empty window; the manual again from the menu.
    void primoAvvio()
    {
        CartellaTest cartella;
        Stato stato;
        DialoghiFinti dialoghi;
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        QVERIFY(stato.PrimoAvvio);
        FrmMain f(stato, dialoghi);
        QStringList aperte;
        const auto chiudi = [&](QWidget *modale) {
            aperte << modale->objectName() + (f.isVisible() ? "/sopra" : "/prima");
            modale->close();
        };
        QuandoModale(chiudi, this);
        f.Form_Load();
        QVERIFY(!stato.PrimoAvvio);
        QCOMPARE(f.findChild<QLabel *>(QStringLiteral("msg"))->text(), f.messaggi()[1]);
        QuandoModale(chiudi, this);
        f.findChild<QAction *>(QStringLiteral("mnuHelp"))->trigger();
        QCOMPARE(aperte, QStringList({"frmManual/sopra", "frmManual/sopra"}));
        VERIFICA_DIALOGHI(dialoghi);
    }

    void etichette_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::newRow("barra") << "custom";
        QTest::newRow("menu") << "mnuExtra";
    }
    void etichette()
    {
        QFETCH(QString, comando);
        Ambiente a;
        a.apri();
        QString aperta;
        QPoint posizione;
        QuandoModale([&](QWidget *modale) {
            aperta = modale->objectName();
            posizione = modale->frameGeometry().topLeft();
            auto *casella = modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(2)"));
            casella->selectAll();
            QTest::keyClicks(casella, QStringLiteral("Tensione"));
            modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(3)"))->clear();
            QTest::mouseClick(modale->findChild<QPushButton *>(QStringLiteral("btnDone")), Qt::LeftButton);
        }, this);
        a.comando(comando);
        QCOMPARE(aperta, QStringLiteral("frmCustom"));
        QCOMPARE(posizione, accanto(a));
        QCOMPARE(a.etichetta(QStringLiteral("lblExtra(1)")), QStringLiteral(" Campo Personale 1"));
        QCOMPARE(a.etichetta(QStringLiteral("lblExtra(2)")), QStringLiteral(" Tensione"));
        QCOMPARE(a.etichetta(QStringLiteral("lblExtra(3)")), QStringLiteral(" "));
        QVERIFY(a.cartella.leggi(QStringLiteral("Info.ini")).contains("=Tensione\r\n"));
    }

    void tabelle_data()
    {
        QTest::addColumn<bool>("conTabelle");
        QTest::addColumn<bool>("modificate");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("nessun salvataggio") << true << false << QString();
        QTest::newRow("tabelle modificate") << true << true << QString();
        // The tables window's own message stays when nothing was saved.
        QTest::newRow("tabelle mancanti")
            << false << false << QStringLiteral("Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste");
    }
    void tabelle()
    {
        QFETCH(bool, conTabelle);
        QFETCH(bool, modificate);
        QFETCH(QString, messaggio);
        Ambiente a;
        if (conTabelle)
            riempiTabelle(a.stato);
        a.apri();
        a.finestra->MostraMessaggio(QStringLiteral("prima"));
        QPoint posizione;
        QString aperta;
        QuandoModale([&](QWidget *modale) {
            aperta = modale->objectName();
            posizione = modale->frameGeometry().topLeft();
            if (modificate) { // as the entry editor does after a save
                a.stato.Produttori.append({9, QStringLiteral("Vishay")});
                a.stato.NumProduttori = 4;
                a.stato.TabelleModificate = true;
            }
            modale->close();
        }, this);
        a.comando(modificate ? "mnuList" : "list");
        QCOMPARE(aperta, QStringLiteral("frmListe"));
        QCOMPARE(posizione, accanto(a));
        QCOMPARE(a.messaggio(), messaggio);
        QCOMPARE(a.w<QListWidget>(QStringLiteral("LP"))->count(), modificate ? 4 : conTabelle ? 3 : 0);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainCiclo)
#include "tst_frmmain_ciclo.moc"
