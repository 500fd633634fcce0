// The tables window as a whole: its controls, usage counts, the filter, the
// order of the rows, header clicks, tab changes, opening and closing.
#include "bancotabelle.h"

class TestFrmListe : public QObject {
    Q_OBJECT
private slots:
    void controlli();
    void utilizziEFiltro();
    void ordineDelleRighe();
    void chiusura_data();
    void chiusura();
    void conteggioFallito_data();
    void conteggioFallito();
    void cambioSchedaAbbandonaModifica();
    void apriFinestraModale();
};

void TestFrmListe::controlli()
{
    Banco b;
    auto f = b.apri();
    QCOMPARE(f->windowTitle(), QStringLiteral("Gestione Tabelle"));
    QVERIFY(f->isModal());
    QCOMPARE(f->pos(), b.posizione);
    auto *sst = trova<QTabWidget>(f.get(), QStringLiteral("SST"));
    QCOMPARE(QStringList({sst->tabText(0), sst->tabText(1), sst->tabText(2)}),
             QStringList({"Produttori", "Tipi", "Contenitori"}));
    const char *nomi[] = {"LVP", "LVT", "LVG"};
    const char *titoli[] = {"Usata|PRODUTTORE|Qtà|ID", "|TIPO|Qtà|ID", "|PACKAGE|Qtà|ID"};
    for (int t = 0; t < 3; ++t) {
        ListaReport *l = lista(f.get(), nomi[t]);
        QStringList intestazioni;
        for (int c = 1; c <= l->numeroColonne(); ++c)
            intestazioni << l->colonna(c).titolo;
        QCOMPARE(intestazioni.join(u'|'), QString::fromUtf8(titoli[t]));
        QCOMPARE(QList<int>({l->larghezzaColonna(1), l->larghezzaColonna(2)}), QList<int>({18, 248})); // as drawn
        QCOMPARE(l->tagColonna(3), QStringLiteral("NUMBER"));
        QVERIFY(l->colonna(4).nascosta);
    }
    QCOMPARE(trova<QCheckBox>(f.get(), QStringLiteral("chkExclude"))->text(),
             QStringLiteral("Mostra SOLO le voci utilizzate"));
    QCOMPARE(trova<QStatusBar>(f.get(), QStringLiteral("SB"))->findChild<QLabel *>()->text(),
             QStringLiteral("Seleziona una lista  e applica l'azione  (nuovo,  modifica,  salva.)"));
    QStringList azioni;
    for (QAction *a : trova<QToolBar>(f.get(), QStringLiteral("TBT"))->actions()) {
        azioni << a->objectName() + u':' + a->text();
        QVERIFY(!a->icon().isNull());
    }
    QCOMPARE(azioni, QStringList({"new:Nuovo", "edit:Modifica", "undo:Annulla", "save:Salva", "quit:Esci"}));
    QCOMPARE(trova<QLabel>(f.get(), QStringLiteral("imgPack"))->size(), QSize(92, 92));
    VERIFICA_DIALOGHI(b.dialoghi);
}

// Usage counts and ticks; the filter hides unused entries while the first
// column keeps the positions in the whole table.
void TestFrmListe::utilizziEFiltro()
{
    Banco b;
    for (const char *n : {"RESISTENZA", "CONDENSATORE", "DIODO", "T4", "DIODO"})
        b.tipo(b.stato.NumTipi + 1, QLatin1String(n)); // a second "DIODO" with its own ID
    b.produttore(3, QStringLiteral("ACME"));
    b.package(7, QStringLiteral("DIP8"));
    b.package(8, QStringLiteral("TO92"));
    const int uso[][3] = {{1, 3, 0}, {1, 0, 8}, {3, 3, 8}, {1, 0, 0}, {5, 0, 0}, {0, 0, 0}};
    for (const auto &u : uso)
        b.componente(QStringLiteral("C"), u[0], u[1], u[2]);
    auto f = b.apri();
    ListaReport *lvt = lista(f.get(), "LVT");
    QCOMPARE(righe(lvt), QStringList({"2|CONDENSATORE|0|2", "3|DIODO|1|3", "5|DIODO|1|5", "1|RESISTENZA|3|1",
                                      "4|T4|0|4"}));
    QCOMPARE(spunte(lvt), QStringLiteral("01110"));
    QCOMPARE(righe(lista(f.get(), "LVP")), QStringList{"1|ACME|2|3"});
    QCOMPARE(spunte(lista(f.get(), "LVP")), QStringLiteral("1"));
    QCOMPARE(righe(lista(f.get(), "LVG")), QStringList({"1|DIP8|0|7", "2|TO92|2|8"}));
    QCOMPARE(spunte(lista(f.get(), "LVG")), QStringLiteral("01"));

    clicFiltro(f.get());
    QVERIFY(f->SoloUsate());
    QCOMPARE(righe(lvt), QStringList({"3|DIODO|1|3", "5|DIODO|1|5", "1|RESISTENZA|3|1"}));
    QCOMPARE(righe(lista(f.get(), "LVG")), QStringList{"2|TO92|2|8"});
    clicFiltro(f.get());
    QCOMPARE(colonna(lvt, 0), QStringList({"2", "3", "5", "1", "4"}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

// A header click on an empty list changes nothing; the first click on "Qtà"
// orders from the highest usage, by value; every refill puts the rows back in
// ascending name order.
void TestFrmListe::ordineDelleRighe()
{
    Banco b;
    const int usi[] = {2, 10, 0, 1};
    for (int i = 0; i < 4; ++i) {
        b.package(i + 1, QStringLiteral("P%1").arg(4 - i));
        for (int k = 0; k < usi[i]; ++k)
            b.componente(QStringLiteral("C"), 0, 0, i + 1);
    }
    auto f = b.apri();
    ListaReport *lvp = lista(f.get(), "LVP");
    clicIntestazione(lvp, 3);
    QCOMPARE(lvp->sortKey(), 1);
    QCOMPARE(lvp->sortOrder(), 0);
    scheda(f.get(), 2);
    ListaReport *lvg = lista(f.get(), "LVG");
    QCOMPARE(colonna(lvg, 1), QStringList({"P1", "P2", "P3", "P4"}));
    clicIntestazione(lvg, 3);
    QCOMPARE(colonna(lvg, 2), QStringList({"10", "2", "1", "0"}));
    QCOMPARE(spunte(lvg), QStringLiteral("1110"));
    clicIntestazione(lvg, 3);
    QCOMPARE(colonna(lvg, 2), QStringList({"0", "1", "2", "10"}));
    clicIntestazione(lvg, 2); // by name, in the direction that comes next
    QCOMPARE(colonna(lvg, 1), QStringList({"P4", "P3", "P2", "P1"}));
    clicFiltro(f.get());
    QCOMPARE(colonna(lvg, 1), QStringList({"P1", "P3", "P4"}));
    QCOMPARE(lvg->sortKey(), 1);
    QCOMPARE(lvg->sortOrder(), 0);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::chiusura_data()
{
    QTest::addColumn<QString>("tabelle"); // T types, P manufacturers, G packages
    QTest::addColumn<bool>("conEsci");
    QTest::addColumn<bool>("salvaTipo");
    QTest::addColumn<QString>("messaggio");
    const QString manca = QStringLiteral("Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste");
    QTest::newRow("tabelle vuote, Esci") << "" << true << false << manca;
    QTest::newRow("solo tipi, chiusura") << "TG" << false << false << manca;
    QTest::newRow("solo produttori, Esci") << "PG" << true << false << manca;
    QTest::newRow("tipi e produttori senza packages, Esci") << "TP" << true << false << QString();
    // A saved entry refills the main window's pick lists.
    QTest::newRow("tipo salvato, nessun produttore") << "" << true << true << manca;
    QTest::newRow("tipo salvato, chiusura") << "P" << false << true << QString();
}

void TestFrmListe::chiusura()
{
    QFETCH(QString, tabelle);
    QFETCH(bool, conEsci);
    QFETCH(bool, salvaTipo);
    QFETCH(QString, messaggio);
    Banco b;
    if (tabelle.contains(u'T'))
        b.tipo(1, QStringLiteral("T"));
    if (tabelle.contains(u'P'))
        b.produttore(1, QStringLiteral("P"));
    if (tabelle.contains(u'G'))
        b.package(1, QStringLiteral("G"));
    auto f = b.apri();
    if (salvaTipo) {
        scheda(f.get(), 1);
        nuova(f.get(), 1, QStringLiteral("pnp"));
        QVERIFY(b.stato.TabelleModificate);
    }
    QVERIFY(b.messaggi.isEmpty());
    if (conEsci)
        clic(f.get(), "quit");
    else
        f->close();
    QVERIFY(!f->isVisible());
    QCOMPARE(b.messaggi, QStringList{messaggio});
    QCOMPARE(b.ricariche, salvaTipo ? 1 : 0);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestFrmListe::conteggioFallito_data()
{
    QTest::addColumn<QList<int>>("guasto"); // type, manufacturer, package of GUASTO
    QTest::addColumn<QList<int>>("conteggi"); // NumTipi, NumComponenti announced (0: as held)
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QStringList>("usi"); // the Qtà columns of LVT, LVP, LVG
    const QString errore = QStringLiteral("Errore 9-Indice non compreso nell'intervallo (%1) nella lettura Tabelle ");
    const QString guasto = QStringLiteral("il componente GUASTO usa il %1 con ID %2, che non esiste");
    // GUASTO is counted up to the failing ID, nothing after it.
    QTest::newRow("tipo") << QList<int>{2, 1, 1} << QList<int>{0, 0} << errore.arg(guasto.arg("tipo").arg(2))
                          << QStringList({"1", "1", "1"});
    QTest::newRow("produttore") << QList<int>{1, 5, 1} << QList<int>{0, 0}
                                << errore.arg(guasto.arg("produttore").arg(5)) << QStringList({"2", "1", "1"});
    QTest::newRow("package") << QList<int>{1, 1, 42} << QList<int>{0, 0}
                             << errore.arg(guasto.arg("package").arg(42)) << QStringList({"2", "2", "1"});
    QTest::newRow("componenti annunciati in piu'") << QList<int>{1, 1, 1} << QList<int>{0, 4}
                                                   << errore.arg("componenti annunciati 4, presenti 3")
                                                   << QStringList({"3", "3", "3"});
    // Rows added before the failure stay; later lists stay empty.
    QTest::newRow("tipi meno del conteggio") << QList<int>{1, 1, 1} << QList<int>{2, 0}
                                             << errore.arg("Tipi: voci annunciate 2, presenti 1") << QStringList{"3"};
}

// Broken references or counts: the counting message, the window still usable.
void TestFrmListe::conteggioFallito()
{
    QFETCH(QList<int>, guasto);
    QFETCH(QList<int>, conteggi);
    Banco b;
    b.tipo(1, QStringLiteral("T"));
    b.produttore(1, QStringLiteral("P"));
    b.package(1, QStringLiteral("G"));
    b.componente(QStringLiteral("PRIMO"), 1, 1, 1);
    b.componente(QStringLiteral("GUASTO"), guasto[0], guasto[1], guasto[2]);
    b.componente(QStringLiteral("DOPO"), 1, 1, 1);
    if (conteggi[0])
        b.stato.NumTipi = conteggi[0];
    if (conteggi[1])
        b.stato.NumComponenti = conteggi[1];
    b.dialoghi.setNextAnswer(Risposta::Ok);
    auto f = b.apri();
    QCOMPARE(b.dialoghi.boxes().size(), 1);
    const auto box = b.dialoghi.ultimoBox();
    QTEST(box.testo, "testo");
    QCOMPARE(box.icona, Icona::Critica);
    QCOMPARE(box.pulsanti, Pulsanti::Ok);
    QTEST(colonna(lista(f.get(), "LVT"), 2) + colonna(lista(f.get(), "LVP"), 2) + colonna(lista(f.get(), "LVG"), 2),
          "usi");
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    if (QTest::currentDataTag() == QLatin1String("package")) {
        // A new package is saved and listed; the refill counts again from zero, and fails again.
        scheda(f.get(), 2);
        b.dialoghi.setNextAnswer(Risposta::Ok);
        nuova(f.get(), 2, QStringLiteral("sot23"));
        QCOMPARE(b.dialoghi.boxes().size(), 2);
        QCOMPARE(righe(lista(f.get(), "LVG")), QStringList({"1|G|1|1", "2|SOT23|0|2"}));
    }
    VERIFICA_DIALOGHI(b.dialoghi);
}

// Changing tab resets the editor of the tab being left: an edit is dropped.
void TestFrmListe::cambioSchedaAbbandonaModifica()
{
    Banco b;
    b.produttore(1, QStringLiteral("ACME"));
    auto f = b.apri();
    clicRiga(lista(f.get(), "LVP"), 1);
    clic(f.get(), "edit");
    QTest::keyClicks(voce(f.get(), 0), QStringLiteral("X"));
    scheda(f.get(), 1);
    QCOMPARE(f->TabCorrente(), 1);
    QVERIFY(!f->InModifica());
    QVERIFY(voce(f.get(), 0)->text().isEmpty() && !voce(f.get(), 0)->isEnabled());
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    QCOMPARE(b.stato.produttore(1).Nome, QStringLiteral("ACME"));
    QVERIFY(!b.stato.TabelleModificate);
    VERIFICA_DIALOGHI(b.dialoghi);
}

// The program's entry: modal, placed where the main window says, the
// emptied panel on closing.
void TestFrmListe::apriFinestraModale()
{
    Banco b;
    b.tipo(1, QStringLiteral("T"));
    b.produttore(1, QStringLiteral("P"));
    QPoint posizioneVista;
    QTimer sonda; // polls until the modal window is up, then presses "Esci"
    sonda.setInterval(5);
    connect(&sonda, &QTimer::timeout, this, [&] {
        auto *f = qobject_cast<FrmListe *>(QApplication::activeModalWidget());
        if (!f || !f->isVisible())
            return;
        sonda.stop();
        posizioneVista = f->pos();
        clic(f, "quit");
    });
    sonda.start();
    ApriFinestraTabelle(b.stato, b.dialoghi, b.principale());
    QCOMPARE(posizioneVista, b.posizione);
    QCOMPARE(b.messaggi, QStringList{QString()});
    QCOMPARE(b.ricariche, 0);
    VERIFICA_DIALOGHI(b.dialoghi);
}

QTEST_MAIN(TestFrmListe)
#include "tst_frmliste.moc"
