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
        Colonne<int, int>("tipi", "produttori");
        QTest::newRow("usabile") << 3 << 3;
        QTest::newRow("niente") << 0 << 0;
        QTest::newRow("solo tipi") << 3 << 0;
        QTest::newRow("solo produttori") << 0 << 3;
    }
    void caricamento()
    {
        const auto [tipi, produttori] = Valori<int, int>("tipi", "produttori");
        Caso a;
        cinqueComponenti(a.stato);
        a.stato.NumTipi = tipi;
        a.stato.NumProduttori = produttori;
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        FrmMain &f = a.apri();
        QCOMPARE(f.windowTitle(), QStringLiteral("Arvo - Gestione Componenti - Versione 10.2.0 - 09/10/24"));
        QVERIFY(f.isVisible());
        QVERIFY(!a.w(QStringLiteral("fmDati"))->isEnabled() && !a.w(QStringLiteral("fmImm"))->isEnabled());
        QVERIFY(!a.bottone("pdf")->isEnabled());
        if (!tipi || !produttori) {
            // The list of low stock waits for the tables too.
            a.menu(QStringLiteral("mnuScorta"));
            QCOMPARE(a.messaggio(), a.messaggio(1));
            QVERIFY(!a.bottone("new")->isEnabled() && !a.bottone("search")->isEnabled());
            QCOMPARE(a.lista()->numeroRighe(), 0);
            QCOMPARE(a.contatori(), QStringLiteral("5/0/144")); // counted, not left blank
            QCOMPARE(a.etichetta("numScorta"), QStringLiteral("Sotto scorta 0"));
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
        QVERIFY(a.lista()->vista()->isColumnHidden(5)); // the positions
        QCOMPARE(a.contatori(), QStringLiteral("5/5/144"));
        QVERIFY(a.riquadro().pixelColor(5, 5).red() > 200); // back.jpg
    }

    // The status messages and the timer that puts the first back. The close
    // box is refused: only the program's commands quit (and save).
    void messaggiETimer()
    {
        Caso a(cinqueComponenti);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!a.finestra->close());
        VerificaBox(a.dialoghi, QStringLiteral("Per terminare il programma usare l'icona della barra comandi"),
                    Icona::Informazione, Pulsanti::Ok, QStringLiteral("Operazione annullata"));
        QVERIFY(a.finestra->isVisible());
        QVERIFY(!a.cartella.esiste(QStringLiteral("Info.ini")) && !a.cartella.esiste(QStringLiteral("Componenti.dat")));
        const std::array<QString, 8> attesi = {
            QStringLiteral("Benvenuti in Ar.Vo. - Versione 10.2.0 - 09/10/24"),
            QStringLiteral("Per iniziare devi aggiungere Tipi e Produttori - Premi il bottone 'Tabelle'"),
            QStringLiteral("Operazione completata: componente eliminato"),
            QStringLiteral("Selezione personalizzata: premi il pulsante 'Riseleziona' nella barra in alto "
                           "per visualizzare tutti i componenti"),
            QStringLiteral("Conferma la richiesta per l'operazione"),
            QStringLiteral("Inserisci le informazioni sul componente poi premi [SALVA]"),
            QStringLiteral("Operazione completata: componente aggiunto o modificato"),
            QStringLiteral("Doppio click sulla lista o premi [Inserisci] per inserire l'immagine"),
        };
        QCOMPARE(a.finestra->messaggi(), attesi);
        auto *timer = a.w<QTimer>(QStringLiteral("Timer"));
        QVERIFY(!timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 3000);
        // A deletion (message 2; a save: tst_frmmain_lista) starts the timer; its firing puts message 0 back.
        a.clicRiga(1, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi(QStringLiteral("del"));
        QCOMPARE(a.messaggio(), a.messaggio(2));
        QVERIFY(timer->isActive());
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(a.messaggio(), a.messaggio(0));
        QVERIFY(!timer->isActive());
    }

    // A first start on an empty folder: the manual over the shown window,
    // then the empty window; the manual again from the menu.
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
        for (const char *contatore : {"numComponent", "numSelected", "numPieces"})
            QCOMPARE(f.findChild<QLabel *>(QLatin1String(contatore))->text(), QStringLiteral("0"));
        QuandoModale(chiudi, this);
        f.findChild<QAction *>(QStringLiteral("mnuHelp"))->trigger();
        QCOMPARE(aperte, QStringList({"frmManual/sopra", "frmManual/sopra"}));
        VERIFICA_DIALOGHI(dialoghi);
    }

    // The labels and tables windows, from the toolbar or the menu: beside the
    // detail frame, and what the main window does once each closes.
    void finestreModali_data()
    {
        // messaggio: afterwards in the status panel; produttori: listed in LP afterwards
        Colonne<QString, bool, QString, int>("comando", "conTabelle", "messaggio", "produttori");
        QTest::newRow("etichette, barra") << "custom" << true << "prima" << 3;
        QTest::newRow("etichette, menu") << "mnuExtra" << false << "prima" << 0;
        QTest::newRow("tabelle, nulla salvato") << "list" << true << "" << 3;
        QTest::newRow("tabelle modificate") << "mnuList" << true << "" << 4;
        // The tables window's own message stays when nothing was saved.
        QTest::newRow("tabelle mancanti") << "list" << false
                                          << "Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste" << 0;
    }
    void finestreModali()
    {
        const auto [comando, conTabelle, produttori] =
            Valori<QString, bool, int>("comando", "conTabelle", "produttori");
        const bool etichette = comando.contains(QLatin1String("xtra")) || comando == QLatin1String("custom");
        Caso a;
        if (conTabelle)
            riempiTabelle(a.stato);
        a.stato.CampoPosizione = etichette ? 2 : 0; // the location column titled by label 2
        a.apri();
        // The window settles a moment after it shows (the list widens to its
        // texts, the frame is checked against the screen): wait until it rests.
        for (QPoint prima(-1, -1); accanto(a) != prima; QTest::qWait(50))
            prima = accanto(a);
        a.finestra->MostraMessaggio(QStringLiteral("prima"));
        QString aperta;
        QuandoModale([&](QWidget *modale) {
            aperta = modale->objectName() + ' ' + QString::number(modale->frameGeometry().topLeft() == accanto(a));
            if (!etichette) {
                if (produttori == 4) { // as the entry editor does after a save
                    a.stato.Produttori.append({9, QStringLiteral("Vishay")});
                    a.stato.NumProduttori = 4;
                    a.stato.TabelleModificate = true;
                }
                return void(modale->close());
            }
            auto *casella = modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(2)"));
            casella->selectAll();
            QTest::keyClicks(casella, QStringLiteral("Tensione"));
            modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(3)"))->clear();
            QTest::mouseClick(modale->findChild<QPushButton *>(QStringLiteral("btnDone")), Qt::LeftButton);
        }, this);
        a.comando(comando);
        QCOMPARE(aperta, etichette ? QStringLiteral("frmCustom 1") : QStringLiteral("frmListe 1"));
        QTEST(a.messaggio(), "messaggio");
        QCOMPARE(a.w<QListWidget>(QStringLiteral("LP"))->count(), produttori);
        if (!etichette)
            return;
        // An emptied label shows as a blank; the location column and its menu item follow their label.
        QCOMPARE(a.etichetta("lblExtra(1)") + '|' + a.etichetta("lblExtra(2)") + '|' + a.etichetta("lblExtra(3)"),
                 QStringLiteral(" Campo Personale 1| Tensione| "));
        emit a.w<QMenu>(QStringLiteral("mnuPosizione"))->aboutToShow();
        QCOMPARE(a.lista()->colonna(7).titolo + '|' + a.azione(QStringLiteral("mnuCampoPosizione(2)"))->text(),
                 QStringLiteral("Tensione|Tensione"));
    }

    // The tables window closing once types and manufacturers both exist where one was missing: the window becomes what
    // a start on them shows (a component being entered keeps its typing). The main window writes nothing.
    void tabelleCompletate_data()
    {
        // conTipi: types exist at the opening; nomi: typed in: "0:name" a manufacturer, "1:name" a type; inserendo: a
        // new component being entered (menu "Nuovo"); stato: buttons new/edit/del/save/undo, "search", message;
        // codici: listed afterwards
        Colonne<bool, QStringList, bool, QString, QStringList>("conTipi", "nomi", "inserendo", "stato", "codici");
        const QString usabile = QStringLiteral("10000 1 Benvenuti in Ar.Vo. - Versione 10.2.0 - 09/10/24");
        const QStringList cinque = {"2N2222", "74HC00", "BC547C", "LM317T", "NE555"};
        QTest::newRow("primo avvio: tipo e produttore") << false << QStringList{"0:ACME", "1:IC"} << false << usabile
                                                        << QStringList();
        QTest::newRow("mancavano i produttori") << true << QStringList{"0:ACME"} << false << usabile << cinque;
        // As every closing after a saved entry: the panel emptied, the warning gone.
        QTest::newRow("solo un tipo") << false << QStringList{"1:IC"} << false << "00000 0 " << QStringList();
        QTest::newRow("durante un inserimento")
            << false << QStringList{"0:ACME", "1:IC"} << true
            << QStringLiteral("00011 1 Inserisci le informazioni sul componente poi premi [SALVA]") << QStringList();
    }
    void tabelleCompletate()
    {
        const auto [conTipi, nomi, inserendo] = Valori<bool, QStringList, bool>("conTipi", "nomi", "inserendo");
        Caso a;
        if (conTipi) { // the five, entered before any manufacturer existed
            cinqueComponenti(a.stato);
            a.stato.Produttori.clear();
            a.stato.NumProduttori = 0;
            for (Componente &c : a.stato.Componenti)
                c.IDProduttore = 0;
        }
        a.apri();
        if (inserendo) {
            a.menu(QStringLiteral("mnuNew"));
            a.scrivi(QStringLiteral("txCodice"), QStringLiteral("NE555"));
        }
        QList<QByteArray> suDisco;
        QuandoModale([&](QWidget *modale) {
            for (const QString &voce : nomi) {
                const int scheda = voce.left(1).toInt();
                Figlio<QTabWidget>(modale, QStringLiteral("SST"))->setCurrentIndex(scheda);
                QTest::mouseClick(Figlio<QToolButton>(modale, QStringLiteral("new")), Qt::LeftButton);
                auto *nome = Figlio<QLineEdit>(modale, QStringLiteral("txVoce(%1)").arg(scheda));
                QTest::keyClicks(nome, voce.mid(2));
                QTest::mouseClick(Figlio<QToolButton>(modale, QStringLiteral("save")), Qt::LeftButton);
            }
            suDisco = a.fileDati();
            modale->close();
        }, this);
        a.premi(QStringLiteral("list"));
        QTEST(a.bottoni() + ' ' + QString::number(a.bottone("search")->isEnabled()) + ' ' + a.messaggio(), "stato");
        QTEST(a.codici(), "codici");
        QCOMPARE(a.testo(QStringLiteral("txCodice")), inserendo ? QStringLiteral("NE555") : QString());
        QCOMPARE(a.lista()->isEnabled(), !inserendo);
        QCOMPARE(a.fileDati(), suDisco);
    }
};

QTEST_MAIN(TestFrmMainCiclo)
#include "tst_frmmain_ciclo.moc"
