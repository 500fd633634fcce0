// The tables window as a whole: usage counts, the filter, the order of the rows, opening and closing, lookups by ID.
#include "bancotabelle.h"

#include "common/verifiche.h"

using namespace Qt::StringLiterals;

class TestFrmListe : public QObject {
    Q_OBJECT
private slots:
    // Usage counts and ticks; the filter hides unused entries while the first column keeps the positions in the whole
    // table. Entries sharing an ID (a hand-edited file: ZENER, BETA, SOT23): the usage belongs to the ID, so each shows
    // the components counted once, not twice and not split, and the filter keeps them all.
    void utilizziEFiltro()
    {
        Banco b;
        for (const char *n : {"RESISTENZA", "CONDENSATORE", "DIODO", "T4", "DIODO"})
            b.tipo(b.stato.NumTipi + 1, QLatin1String(n)); // a second "DIODO" with its own ID
        b.tipo(1, QStringLiteral("ZENER"));
        b.produttore(3, QStringLiteral("ACME"));
        b.produttore(3, QStringLiteral("BETA"));
        b.package(7, QStringLiteral("DIP8"));
        b.package(8, QStringLiteral("TO92"));
        b.package(8, QStringLiteral("SOT23"));
        for (const auto &u : {std::array{1, 3, 0}, {1, 0, 8}, {3, 3, 8}, {1, 0, 0}, {5, 0, 0}, {0, 0, 0}})
            b.componente(QStringLiteral("C"), u[0], u[1], u[2]);
        auto f = b.apri();
        ListaReport *lvt = lista(f.get(), "LVT");
        QCOMPARE(righe(lvt), QStringList({"2|CONDENSATORE|0|2", "3|DIODO|1|3", "5|DIODO|1|5", "1|RESISTENZA|3|1",
                                          "4|T4|0|4", "6|ZENER|3|1"}));
        QCOMPARE(spunte(lvt), QStringLiteral("011101"));
        QCOMPARE(righe(lista(f.get(), "LVP")), QStringList({"1|ACME|2|3", "2|BETA|2|3"}));
        QCOMPARE(spunte(lista(f.get(), "LVP")), QStringLiteral("11"));
        QCOMPARE(righe(lista(f.get(), "LVG")), QStringList({"1|DIP8|0|7", "3|SOT23|2|8", "2|TO92|2|8"}));
        QCOMPARE(spunte(lista(f.get(), "LVG")), QStringLiteral("011"));
        // Kept under the first entry of the ID, the lowest position.
        const UsoTabella &produttori = f->Usi().UsoProduttori;
        QCOMPARE(produttori.primaPosizione, (QHash<qint32, qint32>{{3, 1}}));
        QCOMPARE(produttori.usi, QList<qint32>({0, 2, 0}));
        clicFiltro(f.get());
        QVERIFY(f->SoloUsate());
        QCOMPARE(righe(lvt), QStringList({"3|DIODO|1|3", "5|DIODO|1|5", "1|RESISTENZA|3|1", "6|ZENER|3|1"}));
        QCOMPARE(righe(lista(f.get(), "LVG")), QStringList({"3|SOT23|2|8", "2|TO92|2|8"}));
        clicFiltro(f.get());
        QCOMPARE(colonna(lvt, 0), QStringList({"2", "3", "5", "1", "4", "6"}));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A header click on an empty list changes nothing; the first click on "Qtà" orders from the highest usage, by
    // value, the next click the other way; every refill puts the rows back in ascending name order.
    void ordineDelleRighe()
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
        ClicIntestazione(lvp, 3);
        QCOMPARE(QPoint(lvp->sortKey(), lvp->sortOrder()), QPoint(1, 0));
        scheda(f.get(), 2);
        ListaReport *lvg = lista(f.get(), "LVG");
        QCOMPARE(colonna(lvg, 1), QStringList({"P1", "P2", "P3", "P4"}));
        ClicIntestazione(lvg, 3);
        QCOMPARE(colonna(lvg, 2), QStringList({"10", "2", "1", "0"}));
        QCOMPARE(spunte(lvg), QStringLiteral("1110"));
        ClicIntestazione(lvg, 3);
        QCOMPARE(colonna(lvg, 2), QStringList({"0", "1", "2", "10"}));
        clicFiltro(f.get());
        QCOMPARE(colonna(lvg, 1), QStringList({"P1", "P3", "P4"}));
        QCOMPARE(QPoint(lvg->sortKey(), lvg->sortOrder()), QPoint(1, 0));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // Through the program's entry: modal, with its caption, placed where the main window says; the message it leaves on
    // closing, and the pick lists refilled once an entry was saved.
    void chiusura_data()
    {
        Colonne<QString, bool, bool, QString>("tabelle", "conEsci", "salvaTipo", "messaggio"); // tabelle: T, P, G
        const QString manca = QStringLiteral("Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste");
        QTest::newRow("tabelle vuote, Esci") << "" << true << false << manca;
        QTest::newRow("solo tipi, chiusura") << "TG" << false << false << manca;
        QTest::newRow("solo produttori, Esci") << "PG" << true << false << manca;
        QTest::newRow("tipi e produttori senza packages, Esci") << "TP" << true << false << QString();
        // A saved entry refills the main window's pick lists.
        QTest::newRow("tipo salvato, nessun produttore") << "" << true << true << manca;
        QTest::newRow("tipo salvato, chiusura") << "P" << false << true << QString();
    }
    void chiusura()
    {
        const auto [tabelle, conEsci, salvaTipo, messaggio] =
            Valori<QString, bool, bool, QString>("tabelle", "conEsci", "salvaTipo", "messaggio");
        Banco b;
        if (tabelle.contains(u'T'))
            b.tipo(1, QStringLiteral("T"));
        if (tabelle.contains(u'P'))
            b.produttore(1, QStringLiteral("P"));
        if (tabelle.contains(u'G'))
            b.package(1, QStringLiteral("G"));
        QString vista;
        QuandoModale([&](QWidget *f) {
            vista = QStringLiteral("%1 %2,%3").arg(f->windowTitle()).arg(f->x()).arg(f->y());
            if (salvaTipo) {
                scheda(f, 1);
                nuova(f, 1, QStringLiteral("pnp"));
            }
            QVERIFY(b.messaggi.isEmpty());
            if (conEsci)
                clic(f, "quit");
            else
                f->close();
        }, this);
        ApriFinestraTabelle(b.stato, b.dialoghi, b.principale());
        QCOMPARE(vista, QStringLiteral("Gestione Tabelle 120,80"));
        QCOMPARE(b.messaggi, QStringList{messaggio});
        QCOMPARE(b.ricariche, salvaTipo ? 1 : 0);
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    void conteggioFallito_data()
    {
        // The type, manufacturer, package of GUASTO; NumTipi, NumComponenti announced (0: as held); the message; the
        // Qtà columns of LVT, LVP, LVG.
        Colonne<QList<int>, QList<int>, QString, QString>("guasto", "conteggi", "testo", "usi");
        const QString errore = u"Errore 9-Indice non compreso nell'intervallo (%1) nella lettura Tabelle "_s;
        const auto riga = [&](const char *nome, QList<int> guasto, QList<int> conteggi, const QString &motivo,
                              const char *usi) {
            QTest::newRow(nome) << guasto << conteggi << errore.arg(motivo) << QString::fromLatin1(usi);
        };
        const QString guasto = QStringLiteral("il componente GUASTO usa il %1 con ID %2, che non esiste");
        // GUASTO is counted up to the failing ID, nothing after it.
        riga("tipo", {2, 1, 1}, {0, 0}, guasto.arg("tipo").arg(2), "1 1 1");
        riga("produttore", {1, 5, 1}, {0, 0}, guasto.arg("produttore").arg(5), "2 1 1");
        riga("package", {1, 1, 42}, {0, 0}, guasto.arg("package").arg(42), "2 2 1");
        riga("componenti annunciati in piu'", {1, 1, 1}, {0, 4}, u"componenti annunciati 4, presenti 3"_s, "3 3 3");
        // Rows added before the failure stay; later lists stay empty.
        riga("tipi meno del conteggio", {1, 1, 1}, {2, 0}, u"Tipi: voci annunciate 2, presenti 1"_s, "3");
    }
    // Broken references or counts: the counting message, the window still usable.
    void conteggioFallito()
    {
        const auto [guasto, conteggi, testo] = Valori<QList<int>, QList<int>, QString>("guasto", "conteggi", "testo");
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
        VerificaBox(b.dialoghi, testo, Icona::Critica);
        QStringList usi;
        for (const char *nome : {"LVT", "LVP", "LVG"})
            usi += colonna(lista(f.get(), nome), 2);
        QTEST(usi.join(u' '), "usi");
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

    // The first match among the held records, within the announced count.
    void ricercheDaID()
    {
        Stato s;
        s.Tipi = {{3, "A"}, {1, "B"}, {3, "C"}};
        s.NumTipi = 3;
        s.Produttori = {{2, "P"}};
        s.NumProduttori = 1;
        s.Packages = {{5, "G", "", ""}, {6, "H", "", ""}};
        s.NumPackages = 2;
        QCOMPARE(QList<int>({TrovaTipoDaID(s, 3), TrovaTipoDaID(s, 1), TrovaTipoDaID(s, 2), TrovaProduttoreDaID(s, 2),
                             IndicePackageDaID(s, 6)}),
                 QList<int>({1, 2, 0, 1, 2}));
        s.NumPackages = 1;
        s.NumTipi = 7;
        QCOMPARE(IndicePackageDaID(s, 6) + TrovaTipoDaID(s, 2), 0);
    }
};

QTEST_MAIN(TestFrmListe)
#include "tst_frmliste.moc"
