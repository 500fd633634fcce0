// The tables window as a whole: its controls, usage counts, the filter, the
// order of the rows, header clicks, tab changes, opening and closing.
#include "bancotabelle.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

class TestFrmListe : public QObject {
    Q_OBJECT
private slots:
    void controlli();
    void utilizziESpunte();
    void filtroSoloUsate();
    void righeInOrdineDiNome();
    void intestazioneQta();
    void intestazioneListaVuota();
    void chiusura_data();
    void chiusura();
    void chiusuraDopoSalvataggio();
    void packageInesistente();
    void tabellaPiuCortaDelConteggio();
    void cambioSchedaAbbandonaModifica();
    void spuntaAMano();
    void apriFinestraModale();
};

void TestFrmListe::controlli()
{
    Banco b;
    auto f = b.apri();
    QCOMPARE(f->objectName(), QStringLiteral("frmListe"));
    QCOMPARE(f->windowTitle(), QStringLiteral("Gestione Tabelle"));
    QVERIFY(f->isModal());
    QCOMPARE(f->pos(), b.posizione);

    auto *sst = trova<QTabWidget>(f.get(), QStringLiteral("SST"));
    QCOMPARE(sst->count(), 3);
    QCOMPARE(sst->tabText(0), QStringLiteral("Produttori"));
    QCOMPARE(sst->tabText(1), QStringLiteral("Tipi"));
    QCOMPARE(sst->tabText(2), QStringLiteral("Contenitori"));
    QCOMPARE(sst->currentIndex(), 0);

    const char *nomi[] = {"LVP", "LVT", "LVG"};
    const QString primi[] = {QStringLiteral("Usata"), QString(), QString()};
    const QString secondi[] = {QStringLiteral("PRODUTTORE"), QStringLiteral("TIPO"), QStringLiteral("PACKAGE")};
    for (int t = 0; t < 3; ++t) {
        ListaReport *l = lista(f.get(), nomi[t]);
        QCOMPARE(l->parentWidget()->parentWidget()->parentWidget(), sst); // on its own tab
        QCOMPARE(l->numeroColonne(), 4);
        QCOMPARE(l->colonna(1).titolo, primi[t]);
        QCOMPARE(l->colonna(2).titolo, secondi[t]);
        QCOMPARE(l->colonna(3).titolo, QStringLiteral("Qtà"));
        QCOMPARE(l->colonna(4).titolo, QStringLiteral("ID"));
        QCOMPARE(l->colonna(1).larghezza, 18);
        QCOMPARE(l->colonna(2).larghezza, 248);
        QCOMPARE(l->colonna(3).larghezza, 40);
        QCOMPARE(l->larghezzaColonna(1), 18); // as drawn, narrower than the style's minimum
        QCOMPARE(l->larghezzaColonna(2), 248);
        QCOMPARE(l->tagColonna(3), QStringLiteral("NUMBER"));
        QVERIFY(l->tagColonna(1).isEmpty() && l->tagColonna(2).isEmpty());
        QCOMPARE(l->colonna(3).allineamento & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(l->colonna(4).nascosta);
        QCOMPARE(trova<QLabel>(f.get(), QStringLiteral("lbItem(%1)").arg(t))->text(), QStringLiteral("Elemento"));
        QVERIFY(!voce(f.get(), t)->isEnabled());
        QCOMPARE(voce(f.get(), t)->palette().color(QPalette::Base), QColor(0xEE, 0xEE, 0xEE));
    }

    QCOMPARE(trova<QCheckBox>(f.get(), QStringLiteral("chkExclude"))->text(),
             QStringLiteral("Mostra SOLO le voci utilizzate"));
    QVERIFY(!trova<QCheckBox>(f.get(), QStringLiteral("chkExclude"))->isChecked());
    auto *sb = trova<QStatusBar>(f.get(), QStringLiteral("SB"));
    QCOMPARE(sb->findChild<QLabel *>()->text(),
             QStringLiteral("Seleziona una lista  e applica l'azione  (nuovo,  modifica,  salva.)"));

    struct Atteso { const char *chiave, *titolo, *suggerimento; };
    const Atteso bottoni[] = {
        {"new", "Nuovo", "Nuovo elemento"}, {"edit", "Modifica", "Modifica voce"},
        {"undo", "Annulla", "Annulla la modifica"}, {"save", "Salva", "Salva la voce"},
        {"quit", "Esci", "Torna a Arvo"}};
    const QList<QAction *> azioni = trova<QToolBar>(f.get(), QStringLiteral("TBT"))->actions();
    QCOMPARE(azioni.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(azioni[i]->objectName(), QLatin1String(bottoni[i].chiave));
        QCOMPARE(azioni[i]->text(), QString::fromUtf8(bottoni[i].titolo));
        QCOMPARE(azioni[i]->toolTip(), QString::fromUtf8(bottoni[i].suggerimento));
        QVERIFY(!azioni[i]->icon().isNull());
    }
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));

    QCOMPARE(trova<QLabel>(f.get(), QStringLiteral("lbDesc"))->text(), QStringLiteral("Descrizione"));
    QCOMPARE(trova<QLabel>(f.get(), QStringLiteral("lbImmagine"))->text(), QStringLiteral("Immagine"));
    auto *carica = trova<QPushButton>(f.get(), QStringLiteral("btnLoadPic"));
    QCOMPARE(carica->text(), QStringLiteral("Carica"));
    QCOMPARE(carica->toolTip(), QStringLiteral("Find the image in the PICS folder (jpg, jpeg, bmp)"));
    QVERIFY(!carica->isEnabled());
    QVERIFY(!casella(f.get(), QStringLiteral("txDesc"))->isEnabled());
    QVERIFY(!casella(f.get(), QStringLiteral("txImmagine"))->isEnabled());
    auto *img = trova<QLabel>(f.get(), QStringLiteral("imgPack"));
    QCOMPARE(img->size(), QSize(92, 92));
    QCOMPARE(img->toolTip(), QStringLiteral("Immagine del Package"));
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::utilizziESpunte()
{
    Banco b;
    b.tipo(1, QStringLiteral("RESISTENZA"));
    b.tipo(2, QStringLiteral("CONDENSATORE"));
    b.tipo(5, QStringLiteral("DIODO"));
    b.produttore(3, QStringLiteral("ACME"));
    b.package(7, QStringLiteral("DIP8"));
    b.package(8, QStringLiteral("TO92"));
    b.componente(QStringLiteral("R1"), 1, 3, 0);
    b.componente(QStringLiteral("R2"), 1, 0, 8);
    b.componente(QStringLiteral("D1"), 5, 3, 8);
    b.componente(QStringLiteral("R3"), 1, 0, 0);
    b.componente(QStringLiteral("X"), 0, 0, 0); // refers to nothing
    auto f = b.apri();

    ListaReport *lvt = lista(f.get(), "LVT");
    QCOMPARE(righe(lvt), (QList<QStringList>{{"2", "CONDENSATORE", "0", "2"},
                                            {"3", "DIODO", "1", "5"},
                                            {"1", "RESISTENZA", "3", "1"}}));
    QCOMPARE(spunte(lvt), (QList<bool>{false, true, true}));
    QCOMPARE(righe(lista(f.get(), "LVP")), (QList<QStringList>{{"1", "ACME", "2", "3"}}));
    QCOMPARE(spunte(lista(f.get(), "LVP")), QList<bool>{true});
    QCOMPARE(righe(lista(f.get(), "LVG")), (QList<QStringList>{{"1", "DIP8", "0", "7"},
                                                               {"2", "TO92", "2", "8"}}));
    QCOMPARE(spunte(lista(f.get(), "LVG")), (QList<bool>{false, true}));
    QCOMPARE(f->Usi().UsoTipi.uso(1), 3);
    QCOMPARE(f->Usi().UsoPackages.uso(8), 2);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::filtroSoloUsate()
{
    Banco b;
    for (int i = 1; i <= 5; ++i)
        b.tipo(i, QStringLiteral("T%1").arg(i));
    b.tipo(6, QStringLiteral("T2")); // a second entry with the same name
    b.componente(QStringLiteral("A"), 4, 0, 0);
    b.componente(QStringLiteral("B"), 2, 0, 0);
    b.componente(QStringLiteral("C"), 6, 0, 0);
    b.componente(QStringLiteral("D"), 6, 0, 0);
    auto f = b.apri();
    scheda(f.get(), 1);
    ListaReport *lvt = lista(f.get(), "LVT");
    QCOMPARE(lvt->numeroRighe(), 6);

    auto *filtro = trova<QCheckBox>(f.get(), QStringLiteral("chkExclude"));
    QTest::mouseClick(filtro, Qt::LeftButton);
    QVERIFY(f->SoloUsate());
    // Positions in the whole table, with gaps; both "T2" entries, each with
    // its own ID and usage.
    QCOMPARE(righe(lvt), (QList<QStringList>{{"2", "T2", "1", "2"},
                                            {"6", "T2", "2", "6"},
                                            {"4", "T4", "1", "4"}}));
    QCOMPARE(spunte(lvt), (QList<bool>{true, true, true}));

    QTest::mouseClick(filtro, Qt::LeftButton);
    QVERIFY(!f->SoloUsate());
    QCOMPARE(colonna(lvt, 0), (QStringList{"1", "2", "6", "3", "4", "5"}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::righeInOrdineDiNome()
{
    Banco b;
    const QStringList nomi{"ZENER", "BJT", "MOSFET", "CONDENSATORE", "ALIMENTATORE"};
    for (int i = 0; i < nomi.size(); ++i) {
        b.produttore(i + 1, nomi[i]);
        b.componente(QStringLiteral("C%1").arg(i), 0, i + 1, 0);
    }
    b.componente(QStringLiteral("EXTRA"), 0, 3, 0);
    auto f = b.apri();
    ListaReport *lvp = lista(f.get(), "LVP");
    const QStringList ordinati{"ALIMENTATORE", "BJT", "CONDENSATORE", "MOSFET", "ZENER"};
    QCOMPARE(colonna(lvp, 1), ordinati);

    // A column sort, then a refill: the refill puts the name order back.
    clicIntestazione(lvp, 3);
    QCOMPARE(colonna(lvp, 1).first(), QStringLiteral("MOSFET"));
    auto *filtro = trova<QCheckBox>(f.get(), QStringLiteral("chkExclude"));
    QTest::mouseClick(filtro, Qt::LeftButton);
    QCOMPARE(colonna(lvp, 1), ordinati);
    QCOMPARE(lvp->sortKey(), 1);
    QCOMPARE(lvp->sortOrder(), 0);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::intestazioneQta()
{
    Banco b;
    const int usi[] = {2, 10, 0, 1};
    for (int i = 0; i < 4; ++i) {
        b.package(i + 1, QStringLiteral("P%1").arg(i + 1));
        for (int k = 0; k < usi[i]; ++k)
            b.componente(QStringLiteral("C%1_%2").arg(i).arg(k), 0, 0, i + 1);
    }
    auto f = b.apri();
    scheda(f.get(), 2);
    ListaReport *lvg = lista(f.get(), "LVG");
    // By value, not by text: 10 is the highest.
    clicIntestazione(lvg, 3);
    QCOMPARE(colonna(lvg, 2), (QStringList{"10", "2", "1", "0"}));
    QCOMPARE(colonna(lvg, 1), (QStringList{"P2", "P1", "P4", "P3"}));
    QCOMPARE(spunte(lvg), (QList<bool>{true, true, true, false}));
    clicIntestazione(lvg, 3);
    QCOMPARE(colonna(lvg, 2), (QStringList{"0", "1", "2", "10"}));
    // The name header orders by name, in the direction that comes next.
    clicIntestazione(lvg, 2);
    QCOMPARE(colonna(lvg, 1), (QStringList{"P4", "P3", "P2", "P1"}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::intestazioneListaVuota()
{
    Banco b;
    b.tipo(1, QStringLiteral("A"));
    auto f = b.apri();
    for (const char *nome : {"LVP", "LVG"}) {
        ListaReport *l = lista(f.get(), nome);
        scheda(f.get(), nome == QLatin1String("LVP") ? 0 : 2);
        const int ordine = l->sortOrder();
        const int chiave = l->sortKey();
        clicIntestazione(l, 3);
        clicIntestazione(l, 2);
        QCOMPARE(l->sortOrder(), ordine);
        QCOMPARE(l->sortKey(), chiave);
        QCOMPARE(l->numeroRighe(), 0);
    }
    // With a row the same click flips the direction.
    ListaReport *lvt = lista(f.get(), "LVT");
    scheda(f.get(), 1);
    clicIntestazione(lvt, 3);
    QCOMPARE(lvt->sortOrder(), 1);
    QCOMPARE(lvt->sortKey(), 2);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::chiusura_data()
{
    QTest::addColumn<bool>("tipi");
    QTest::addColumn<bool>("produttori");
    QTest::addColumn<bool>("packages");
    QTest::addColumn<bool>("conEsci");
    QTest::addColumn<QString>("messaggio");
    const QString manca = QStringLiteral("Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste");
    QTest::newRow("tabelle vuote, Esci") << false << false << false << true << manca;
    QTest::newRow("solo tipi, chiusura") << true << false << true << false << manca;
    QTest::newRow("solo produttori, Esci") << false << true << true << true << manca;
    QTest::newRow("tipi e produttori senza packages") << true << true << false << true << QString();
    QTest::newRow("tutto, chiusura") << true << true << true << false << QString();
}

void TestFrmListe::chiusura()
{
    QFETCH(bool, tipi);
    QFETCH(bool, produttori);
    QFETCH(bool, packages);
    QFETCH(bool, conEsci);
    QFETCH(QString, messaggio);
    Banco b;
    if (tipi)
        b.tipo(1, QStringLiteral("T"));
    if (produttori)
        b.produttore(1, QStringLiteral("P"));
    if (packages)
        b.package(1, QStringLiteral("G"));
    auto f = b.apri();
    QVERIFY(b.messaggi.isEmpty());
    if (conEsci)
        clic(f.get(), "quit");
    else
        f->close();
    QVERIFY(!f->isVisible());
    QCOMPARE(b.messaggi, QStringList{messaggio});
    QCOMPARE(b.ricariche, 0);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::chiusuraDopoSalvataggio()
{
    Banco b;
    auto f = b.apri();
    scheda(f.get(), 1);
    clic(f.get(), "new");
    QTest::keyClicks(voce(f.get(), 1), QStringLiteral("pnp"));
    clic(f.get(), "save");
    QVERIFY(b.stato.TabelleModificate);
    clic(f.get(), "quit");
    // Still no manufacturer: the warning is set, and the pick lists refilled.
    QCOMPARE(b.messaggi, QStringList{"Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste"});
    QCOMPARE(b.ricariche, 1);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::packageInesistente()
{
    Banco b;
    b.tipo(1, QStringLiteral("T"));
    b.produttore(1, QStringLiteral("P"));
    b.package(1, QStringLiteral("G"));
    b.componente(QStringLiteral("PRIMO"), 1, 1, 1);
    b.componente(QStringLiteral("GUASTO"), 1, 1, 42);
    b.componente(QStringLiteral("DOPO"), 1, 1, 1);
    b.dialoghi.setNextAnswer(Risposta::Ok);
    auto f = b.apri();
    QCOMPARE(b.dialoghi.boxes().size(), 1);
    const auto box = b.dialoghi.ultimoBox();
    QCOMPARE(box.testo, QStringLiteral("Errore 9-Indice non compreso nell'intervallo (il componente GUASTO "
                                       "usa il package con ID 42, che non esiste) nella lettura Tabelle "));
    QCOMPARE(box.icona, Icona::Critica);
    QCOMPARE(box.pulsanti, Pulsanti::Ok);
    QVERIFY(box.titolo.isEmpty());
    // The failing component's type and manufacturer were counted before its
    // package; the component after it was not counted at all.
    QCOMPARE(colonna(lista(f.get(), "LVT"), 2), QStringList{"2"});
    QCOMPARE(colonna(lista(f.get(), "LVP"), 2), QStringList{"2"});
    QCOMPARE(colonna(lista(f.get(), "LVG"), 2), QStringList{"1"});

    // The window is still usable: a new package is saved and listed.
    scheda(f.get(), 2);
    clic(f.get(), "new");
    QTest::keyClicks(voce(f.get(), 2), QStringLiteral("sot23"));
    b.dialoghi.setNextAnswer(Risposta::Ok); // the refill counts again
    QTest::keyClick(voce(f.get(), 2), Qt::Key_Return);
    QCOMPARE(b.stato.NumPackages, 2);
    QCOMPARE(colonna(lista(f.get(), "LVG"), 1), (QStringList{"G", "SOT23"}));
    QCOMPARE(b.dialoghi.boxes().size(), 2);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::tabellaPiuCortaDelConteggio()
{
    Banco b;
    b.tipo(1, QStringLiteral("B"));
    b.tipo(2, QStringLiteral("A"));
    b.stato.NumTipi = 3; // one more than held
    b.produttore(1, QStringLiteral("P"));
    b.dialoghi.setNextAnswer(Risposta::Ok);
    auto f = b.apri();
    QCOMPARE(b.dialoghi.ultimoBox().testo,
             QStringLiteral("Errore 9-Indice non compreso nell'intervallo (Tipi: voci annunciate 3, "
                            "presenti 2) nella lettura Tabelle "));
    QCOMPARE(b.dialoghi.ultimoBox().icona, Icona::Critica);
    // The rows added before the failure stay, unsorted; later lists stay empty.
    QCOMPARE(colonna(lista(f.get(), "LVT"), 1), (QStringList{"B", "A"}));
    QCOMPARE(lista(f.get(), "LVP")->numeroRighe(), 0);
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::cambioSchedaAbbandonaModifica()
{
    Banco b;
    b.produttore(1, QStringLiteral("ACME"));
    b.tipo(1, QStringLiteral("DIODO"));
    auto f = b.apri();
    QCOMPARE(f->TabCorrente(), 0);
    clicRiga(lista(f.get(), "LVP"), 1);
    clic(f.get(), "edit");
    QVERIFY(f->InModifica());
    QTest::keyClicks(voce(f.get(), 0), QStringLiteral("X"));

    scheda(f.get(), 1);
    QCOMPARE(f->TabCorrente(), 1);
    QVERIFY(!f->InModifica());
    QVERIFY(voce(f.get(), 0)->text().isEmpty());
    QVERIFY(!voce(f.get(), 0)->isEnabled());
    QCOMPARE(voce(f.get(), 0)->palette().color(QPalette::Base), QColor(0xEE, 0xEE, 0xEE));
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    QCOMPARE(b.stato.produttore(1).Nome, QStringLiteral("ACME"));
    QVERIFY(!b.stato.TabelleModificate);

    // The name box of the tab left behind keeps a shown entry: only the
    // current tab's box is reset.
    clicRiga(lista(f.get(), "LVT"), 1);
    QCOMPARE(voce(f.get(), 1)->text(), QStringLiteral("DIODO"));
    scheda(f.get(), 0);
    QVERIFY(voce(f.get(), 1)->text().isEmpty());
    QVERIFY(voce(f.get(), 0)->text().isEmpty());
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::spuntaAMano()
{
    Banco b;
    b.produttore(1, QStringLiteral("ACME"));
    auto f = b.apri();
    ListaReport *lvp = lista(f.get(), "LVP");
    lvp->impostaSpunta(1, true);
    QVERIFY(!b.stato.TabelleModificate);
    QTest::mouseClick(trova<QCheckBox>(f.get(), QStringLiteral("chkExclude")), Qt::LeftButton);
    QTest::mouseClick(trova<QCheckBox>(f.get(), QStringLiteral("chkExclude")), Qt::LeftButton);
    QCOMPARE(spunte(lvp), QList<bool>{false});
    VERIFICA_DIALOGHI(b.dialoghi);
}

// The program's entry: modal, placed where the main window says, closing
// steps delivered through the callbacks.
void TestFrmListe::apriFinestraModale()
{
    Banco b;
    b.tipo(1, QStringLiteral("T"));
    b.produttore(1, QStringLiteral("P"));
    QPoint posizioneVista;
    bool aperta = false;
    // Polls until the modal window is up, then presses "Esci".
    QTimer sonda;
    sonda.setInterval(5);
    connect(&sonda, &QTimer::timeout, this, [&] {
        auto *f = qobject_cast<FrmListe *>(QApplication::activeModalWidget());
        if (!f || !f->isVisible())
            return;
        sonda.stop();
        aperta = true;
        posizioneVista = f->pos();
        clic(f, "quit");
    });
    sonda.start();
    ApriFinestraTabelle(b.stato, b.dialoghi, b.principale());
    QVERIFY(aperta);
    QCOMPARE(posizioneVista, b.posizione);
    QCOMPARE(b.messaggi, QStringList{QString()});
    QCOMPARE(b.ricariche, 0);
    VERIFICA_DIALOGHI(b.dialoghi);
}

QTEST_MAIN(TestFrmListe)
#include "tst_frmliste.moc"
