// The main window's load, close, status messages, timer, menus, toolbar and
// status bar, driven through the real widgets.

#include "ambiente.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace prova;

class TestFrmMainCiclo : public QObject {
    Q_OBJECT
private slots:
    void caricamentoUsabile()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        FrmMain &f = a.apri();

        QCOMPARE(f.windowTitle(), QStringLiteral("Arvo - Gestione Componenti - Versione 10.2.0 - 09/10/24"));
        QCOMPARE(f.objectName(), QStringLiteral("frmMain"));
        QVERIFY(f.isVisible());
        QCOMPARE(a.messaggio(), QStringLiteral("Benvenuti in Ar.Vo. - Versione 10.2.0 - 09/10/24"));
        QCOMPARE(a.bottoni(), QStringLiteral("10000"));
        QVERIFY(a.bottone(QStringLiteral("search"))->isEnabled());
        QVERIFY(!a.bottone(QStringLiteral("pdf"))->isEnabled());
        // Filled and sorted by code, ascending.
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(a.posizioni(), QList<int>({4, 5, 2, 3, 1}));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numComponent"))->text(), QStringLiteral("5"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numSelected"))->text(), QStringLiteral("5"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("numPieces"))->text(), QStringLiteral("144"));
        QCOMPARE(a.stato.TotalePezzi, 144);
        // The background picture, the panel locked.
        const QPixmap sfondo = a.w<QLabel>(QStringLiteral("pic"))->pixmap();
        QVERIFY(!sfondo.isNull());
        QCOMPARE(sfondo.toImage().pixelColor(5, 5).red() > 200, true);
        QVERIFY(!a.w(QStringLiteral("fmDati"))->isEnabled());
        QVERIFY(!a.w(QStringLiteral("fmImm"))->isEnabled());
        QVERIFY(a.w(QStringLiteral("Frame1"))->isEnabled());
        // Form variables start afresh.
        QCOMPARE(f.variabili().PosCorrente, 0);
        QCOMPARE(f.variabili().IndiceVoce, 0);
        QCOMPARE(f.variabili().ColonnaOrdinamento, 1);
        QVERIFY(!f.variabili().NuovoInserimento);
        QCOMPARE(f.variabili().LarghezzaPic, 443);
        QCOMPARE(f.variabili().AltezzaPic, 359);
        QVERIFY(!a.w<QTimer>(QStringLiteral("Timer"))->isActive());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void caricamentoVuoto_data()
    {
        QTest::addColumn<bool>("tipi");
        QTest::addColumn<bool>("produttori");
        QTest::newRow("niente") << false << false;
        QTest::newRow("solo tipi") << true << false;
        QTest::newRow("solo produttori") << false << true;
    }
    void caricamentoVuoto()
    {
        QFETCH(bool, tipi);
        QFETCH(bool, produttori);
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        if (!tipi)
            a.stato.NumTipi = 0;
        if (!produttori)
            a.stato.NumProduttori = 0;
        scriviImmagine(a.cartella, QStringLiteral("back.jpg"), 30, 20, Qt::red, "JPG");
        a.apri();
        QCOMPARE(a.messaggio(), QStringLiteral(
                                    "Per iniziare devi aggiungere Tipi e Produttori - Premi il bottone 'Tabelle'"));
        QVERIFY(!a.bottone(QStringLiteral("new"))->isEnabled());
        QVERIFY(!a.bottone(QStringLiteral("search"))->isEnabled());
        QCOMPARE(a.lista()->numeroRighe(), 0);
        QVERIFY(a.w<QLabel>(QStringLiteral("pic"))->pixmap().isNull());
        // The menu item still starts a new component.
        a.azione(QStringLiteral("mnuNew"))->trigger();
        QCOMPARE(a.bottoni(), QStringLiteral("00011"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void testiDeiMessaggi()
    {
        Ambiente a;
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
    }

    void messaggioConTimer()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        auto *timer = a.w<QTimer>(QStringLiteral("Timer"));
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 3000);

        // A save shows message 6 and starts the timer.
        a.clicRiga(1, 0);
        a.bottone(QStringLiteral("edit"))->trigger();
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.messaggio(), f.messaggi()[6]);
        QVERIFY(timer->isActive());

        // A second save restarts it; a deletion too. Its firing resets the
        // message once.
        a.clicRiga(2, 0);
        a.bottone(QStringLiteral("edit"))->trigger();
        a.bottone(QStringLiteral("save"))->trigger();
        QCOMPARE(a.messaggio(), f.messaggi()[6]);
        QVERIFY(timer->isActive());
        a.clicRiga(1, 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.bottone(QStringLiteral("del"))->trigger();
        QCOMPARE(a.messaggio(), f.messaggi()[6]);
        QVERIFY(timer->isActive());
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(a.messaggio(), f.messaggi()[0]);
        QVERIFY(!timer->isActive());
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void chiusuraRifiutata()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        FrmMain &f = a.apri();
        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!f.close());
        QVERIFY(f.isVisible());
        QCOMPARE(a.dialoghi.boxes().size(), 1);
        const auto box = a.dialoghi.ultimoBox();
        QCOMPARE(box.testo, QStringLiteral("Per terminare il programma usare l'icona della barra comandi"));
        QCOMPARE(box.titolo, QStringLiteral("Operazione annullata"));
        QCOMPARE(box.icona, Icona::Informazione);
        QCOMPARE(box.pulsanti, Pulsanti::Ok);
        // Nothing was saved.
        QVERIFY(!a.cartella.esiste(QStringLiteral("Info.ini")));
        QVERIFY(!a.cartella.esiste(QStringLiteral("Componenti.dat")));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void esciSalvaEChiude_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::newRow("menu Esci") << QStringLiteral("mnuQuit");
        QTest::newRow("toolbar exit") << QStringLiteral("exit");
    }
    void esciSalvaEChiude()
    {
        QFETCH(QString, comando);
        Ambiente a;
        riempiTabelle(a.stato);
        cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        QAction *azione = comando == QLatin1String("exit") ? a.bottone(comando) : a.azione(comando);
        azione->trigger();
        QVERIFY(!f.isVisible());
        // Saved without a question.
        QVERIFY(a.dialoghi.boxes().isEmpty());
        QVERIFY(a.cartella.esiste(QStringLiteral("Info.ini")));
        QVERIFY(a.cartella.esiste(QStringLiteral("Componenti.dat")));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void etichetteExtra()
    {
        Ambiente a;
        a.stato.Etichette[3] = QStringLiteral("Tensione");
        a.apri();
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblExtra(1)"))->text(), QStringLiteral(" Campo Personale 1"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblExtra(3)"))->text(), QStringLiteral(" Tensione"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblExtra(6)"))->text(), QStringLiteral(" Campo Personale 6"));
    }

    void barraComandi()
    {
        Ambiente a;
        a.apri();
        auto *tb = a.w<QToolBar>(QStringLiteral("TB"));
        QStringList chiavi, testi, suggerimenti;
        for (QAction *azione : tb->actions()) {
            if (azione->objectName().isEmpty())
                continue;
            chiavi << azione->objectName();
            testi << azione->text();
            suggerimenti << azione->toolTip();
            QVERIFY(!azione->icon().isNull());
        }
        QCOMPARE(chiavi, QStringList({"new", "edit", "undo", "save", "del", "pdf", "imgstd", "imgrid", "list",
                                      "custom", "print", "search", "reselect", "exit"}));
        QCOMPARE(testi, QStringList({"Nuovo", "Modifica", "Annulla", "Salva", "Elimina", "PDF", "Imm Reali",
                                     "Imm Adatte", "Tabelle", "Campi extra", "Stampe", "Cerca", "Riseleziona",
                                     "Esci"}));
        QCOMPARE(suggerimenti[0], QStringLiteral("Crea un nuovo componente"));
        QCOMPARE(suggerimenti[2], QStringLiteral("Annulla i cambiamenti"));
        QCOMPARE(suggerimenti[7], QStringLiteral("Immagini in dimensioni adattate alla finestra"));
        QCOMPARE(suggerimenti[11], QStringLiteral("Seleziona i componenti per Codice o parte della Descrizione "));
        QCOMPARE(suggerimenti[12], QStringLiteral("Riseleziona e mostra tutti i componenti"));
        QCOMPARE(suggerimenti[13], QStringLiteral("Termina il programma"));
        QVERIFY(a.bottone(QStringLiteral("imgstd"))->isCheckable());
        // Load: edit, undo, save, del, pdf disabled; the fitted mode pressed.
        QVERIFY(a.bottone(QStringLiteral("imgrid"))->isChecked());
        QVERIFY(!a.bottone(QStringLiteral("imgstd"))->isChecked());
    }

    void barraMenu()
    {
        Ambiente a;
        FrmMain &f = a.apri();
        // Menu captions and items in order; "-" is a separator.
        QStringList righe;
        for (QAction *m : f.menuBar()->actions()) {
            righe << m->menu()->objectName() + QLatin1Char('=') + m->text();
            for (QAction *voce : m->menu()->actions()) {
                QString r = voce->isSeparator() ? QStringLiteral("-") : voce->text();
                if (!voce->objectName().isEmpty())
                    r = voce->objectName() + QLatin1Char('=') + r;
                if (!voce->shortcut().isEmpty())
                    r += QLatin1Char('@') + voce->shortcut().toString();
                righe << QStringLiteral("  ") + r;
            }
        }
        const QStringList attese = {
            "mnuProg=Programma", "  mnuList=Modifica tabelle", "  mnuExtra=Gestione campi Extra", "  -",
            "  mnuCSV=Esport come testo CSV", "  -", "  mnuQuit=Esci",
            "mnuComp=Componenti", "  mnuNew=Nuovo@Ctrl+N", "  mnuEdit=Modifica@Ctrl+E", "  mnuUpdate=Salva@Ctrl+S",
            "  mnuDel=Elimina@Ctrl+X",
            "mnuShow=Visualizza", "  mnuSelect=Seleziona tutti@Ctrl+A", "  mnuImg(0)=Aggiorna lista immagini",
            "  mnuImg(1)=Visualizza il PDF",
            "mnuOpt=Opzioni", "  mnuImgReal=Immagini in dimensioni reali",
            "  mnuImgMod=Immagini in dimensioni adattate", "  dummy4=-",
            QStringLiteral("  mnuCSV1=Il separatore CSV è la virgola"),
            QStringLiteral("  mnuCSV2=Il separatore CSV è il punto-virgola"), "  dummy6=-", "  mnuLight=Tema chiaro",
            "  mnuDark=Tema scuro",
            "mnuA=Informazioni...", "  mnuHelp=Visualizza il Manuale d'uso", "  -",
            "  mnuAutore=Autore: Arvo developers", "  mnuContatti=Contatti: vedere il file README del progetto",
            "  mnuLicenza=Licenza MIT"};
        QCOMPARE(righe, attese);
        // Menu items are never disabled, whatever the state.
        a.azione(QStringLiteral("mnuNew"))->trigger();
        for (QAction *m : f.menuBar()->actions())
            for (QAction *voce : m->menu()->actions())
                QVERIFY(voce->isEnabled());
    }

    void barraDiStato()
    {
        Ambiente a;
        riempiTabelle(a.stato);
        a.apri();
        auto *sbm = a.w<QStatusBar>(QStringLiteral("SBM"));
        QStringList pannelli;
        for (QLabel *l : sbm->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            pannelli << l->objectName() + QLatin1Char('=') + l->text();
        QCOMPARE(pannelli, QStringList({"msg=Benvenuti in Ar.Vo. - Versione 10.2.0 - 09/10/24",
                                        "lblComponenti=Componenti", "numComponent=0", "lblSelezionati=Selezionati",
                                        "numSelected=0", "lblPezzi=Pezzi", "numPieces=0"}));
    }

    void controlliDelPannello()
    {
        Ambiente a;
        a.apri();
        // Tooltips of the detail panel, typos included.
        const QList<QPair<QString, QString>> suggerimenti = {
            {"txCodice", "Valore obbligatorio"},
            {"txQty", "Valore obbligatorio"},
            {"cmbTipo", "Valore obbligatorio"},
            {"LP", "Selezionare il Produttore - valore obbligatorio"},
            {"cmbPack", "Seleziona il Package  - non obblgatoria"},
            {"txPins", "Numero di Pin  - non obblgatoria"},
            {"txDatains", "Valore automatico e modificabile"},
            {"txDesc", "Descrizione del componente - non obblgatoria"},
            {"txNote", "Altre note - non obbligatorie"},
            {"txExtra1", QStringLiteral("Quantità minima da tenere a magazzino")},
            {"txExtra2", "da definire a piacere in Info"},
            {"txExtra4", QStringLiteral("Quantità minima da tenere a magazzino")},
            {"txExtra6", "da definire a piacere in Info"},
            {"txPackDesc", "Descrizione del Packages (modificare in tabella)"},
            {"imgPack", "Immagine del Package"},
            {"txPDF", "Titolo del datasheet"},
            {"btnLoadPDF", "Trova il  Datasheet nella cartella  DATASHEET"},
            {"btnClearPDF", "Cancella l'associazione al  datasheet ( il datasheet non viene cancellato!)"},
            {"FLP", "Click destro per ricaricare l'elenco"},
            {"txPic", "Nome dell'immagine associata"},
            {"btnAddJPG", "Associa l'immagine selezionata"},
            {"btnClearJPG", "Cancella l'associazione all'immagine (l'immagine non viene cancellata!)"},
            {"btnLoadPic", "Cerca l'immagine nella cartella  PICS"},
            {"txSearch", "Cerca per Codice o Descrizione  (accetta valori parziali)"},
        };
        for (const auto &[nome, testo] : suggerimenti) {
            QWidget *w = a.w(nome);
            QVERIFY2(w, qPrintable(nome));
            QCOMPARE(w->toolTip(), testo);
        }
        QCOMPARE(a.w<QGroupBox>(QStringLiteral("fmDati"))->title(), QStringLiteral("Informazioni  Componente "));
        QCOMPARE(a.w<QGroupBox>(QStringLiteral("fmImm"))->title(), QStringLiteral("Datasheet  && Immagine"));
        QCOMPARE(a.w<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("Cerca codici"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblTitolo(0)"))->text(), QStringLiteral("Immagini disponibili in Pics"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblTitolo(1)"))->text(), QStringLiteral("Datasheet"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblTitolo(2)"))->text(), QStringLiteral("Picture"));
        QCOMPARE(a.w(QStringLiteral("pic"))->size(), QSize(443, 359));
        QVERIFY(!a.w(QStringLiteral("FL"))->isVisible());

        // The list's columns.
        ListaReport *lv = a.lista();
        QCOMPARE(lv->numeroColonne(), 6);
        const QStringList titoli = {"CODICE", "PRODUTTORE", "TIPO", "QTA", "DATA", ""};
        const QList<int> larghezze = {110, 125, 60, 50, 90};
        const QStringList tag = {"", "", "", "NUMBER", "DATE", "0"};
        for (int i = 1; i <= 6; ++i) {
            QCOMPARE(lv->colonna(i).titolo, titoli[i - 1]);
            QCOMPARE(lv->colonna(i).tag, tag[i - 1]);
            if (i <= 5)
                QCOMPARE(lv->colonna(i).larghezza, larghezze[i - 1]);
        }
        QCOMPARE(lv->colonna(4).allineamento & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(lv->colonna(5).allineamento & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(lv->colonna(6).nascosta);
    }
};

QTEST_MAIN(TestFrmMainCiclo)
#include "tst_frmmain_ciclo.moc"
