// The component list: refill, counters, custom selection by a right click, header sorting, row clicks, the order after
// a save; search, "reselect", and the listing and CSV export of what the list shows.

#include "ambiente.h"

#include "reports/stampa.h"
#include "store/cp1252.h"
#include "store/orologio.h"

using namespace prova;

class TestFrmMainLista : public QObject {
    Q_OBJECT

    // LM317T, 74HC00, 74LS00 in table order, "reselect" off.
    static void treDaCercare(Caso &a)
    {
        riempiTabelle(a.stato);
        aggiungi(a.stato, componente(1, "LM317T", 1, "TI", 3, "REG", 5));
        aggiungi(a.stato, componente(2, "74HC00", 2, "ST", 1, "IC", 12));
        aggiungi(a.stato, componente(3, "74LS00", 1, "TI", 1, "IC", 3));
        a.apri();
        a.bottone("reselect")->setEnabled(false);
    }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void selezionePersonalizzata_data()
    {
        // riga: 0: the empty area below the rows; colonna: -2: the boundary pixel between columns 1 and 2, which
        // belongs to the left-hand one; attese: empty: no selection
        Colonne<int, int, QList<int>>("riga", "colonna", "attese");
        QTest::newRow("produttore ST") << 2 << 1 << QList<int>{2, 5};
        QTest::newRow("confine produttore-tipo") << 2 << -2 << QList<int>{2, 5};
        QTest::newRow("tipo TR") << 1 << 2 << QList<int>{2, 4};
        QTest::newRow("tipo REG") << 4 << 2 << QList<int>{3};
        QTest::newRow("CODICE") << 3 << 0 << QList<int>{};
        QTest::newRow("DATA") << 3 << 4 << QList<int>{};
        QTest::newRow("sotto le righe") << 0 << 1 << QList<int>{};
    }
    void selezionePersonalizzata()
    {
        const auto [riga, colonna, attese] = Valori<int, int, QList<int>>("riga", "colonna", "attese");
        Caso a(cinqueComponenti);
        a.bottone("reselect")->setEnabled(false);
        QTreeView *vista = a.lista()->vista();
        if (colonna < 0)
            QTest::mouseClick(vista->viewport(), Qt::RightButton, Qt::NoModifier,
                              {vista->header()->sectionViewportPosition(-colonna),
                               vista->visualRect(vista->model()->index(riga - 1, 0)).center().y()});
        else
            a.clicRiga(riga, colonna, Qt::RightButton);
        const bool niente = attese.isEmpty();
        QCOMPARE(a.posizioni(), niente ? QList<int>({4, 5, 2, 3, 1}) : attese);
        QCOMPARE(a.messaggio(), a.messaggio(niente ? 0 : 3));
        QCOMPARE(a.bottone("reselect")->isEnabled(), !niente);
        if (niente) {
            QCOMPARE(a.testo("txCodice"), riga ? QStringLiteral("BC547C") : QString()); // the row click itself
            return;
        }
        QCOMPARE(a.contatori(), QStringLiteral("5/%1/").arg(attese.size()) + a.etichetta("numPieces"));
        QCOMPARE(a.corrente(), 0);
        // The last listed row shows its component; "reselect" refills in table order.
        a.clicRiga(attese.size(), 0);
        QCOMPARE(a.corrente(), attese.last());
        QCOMPARE(a.testo("txCodice"), a.stato.componente(attese.last()).Codice);
        a.premi("reselect");
        QCOMPARE(a.posizioni(), QList<int>({1, 2, 3, 4, 5}));
        QStringList prima;
        for (int c = 0; c < 6; ++c)
            prima << a.lista()->testo(1, c);
        QCOMPARE(prima, QStringList({"NE555", "TI", "IC", "20", "02/05/2024", "1"}));
        QCOMPARE(a.contatori(), QStringLiteral("5/5/144"));
        QCOMPARE(a.messaggio(), a.messaggio(0));
        QVERIFY(a.testo("txCodice").isEmpty() && !a.bottone("reselect")->isEnabled());
    }

    // A search lists what it finds (which codes match is CercaCodici's, tst_componenti), the first current. A
    // label read into the box (a scanner types it and Enter) finds its component whatever the code; one of no
    // stored component is searched as a code.
    void trova_data()
    {
        // attese: empty: nothing found, the list stays
        Colonne<QString, bool, QList<int>>("testo", "conInvio", "attese");
        QTest::newRow("hc") << "hc" << true << QList<int>{2};
        QTest::newRow("74") << "74" << false << QList<int>{2, 3};
        QTest::newRow("etichetta") << "ARVO:3" << true << QList<int>{3};
        QTest::newRow("etichetta di nessuno") << "ARVO:99" << true << QList<int>{};
        QTest::newRow("nessun risultato, Invio") << "zz" << true << QList<int>{};
        QTest::newRow("nessun risultato, barra") << "zz" << false << QList<int>{};
    }
    void trova()
    {
        const auto [testo, conInvio, attese] = Valori<QString, bool, QList<int>>("testo", "conInvio", "attese");
        Caso a;
        treDaCercare(a);
        a.clicRiga(2, 0);
        a.cerca(testo, conInvio);
        // Nothing found: the list stays, and only the toolbar command enables "reselect" (more: nessunRisultato).
        QCOMPARE(a.posizioni(), attese.isEmpty() ? QList<int>({2, 3, 1}) : attese);
        QCOMPARE(a.bottone("reselect")->isEnabled(), !attese.isEmpty() || !conInvio);
        if (attese.isEmpty())
            return;
        QCOMPARE(a.corrente(), attese.first());
        QCOMPARE(a.lista()->rigaSelezionata(), 1);
        QCOMPARE(a.testo("txCodice"), a.stato.componente(attese.first()).Codice);
        QCOMPARE(a.messaggio(), a.messaggio(3));
        // "Selezionati" counts the rows the search listed.
        QCOMPARE(a.contatori(), QStringLiteral("3/%1/20").arg(attese.size()));
        if (testo.startsWith(QLatin1String("ARVO"))) { // ready for the next label: typing replaces the text
            QTest::keyClicks(a.w("txSearch"), QStringLiteral("ARVO:1"));
            QTest::keyClick(a.w("txSearch"), Qt::Key_Return);
            QCOMPARE(a.posizioni(), QList<int>{1});
        }
    }

    // A search that finds nothing changes nothing and names the text; the
    // timer brings back what the notice covered (message 0 after a timed one).
    void nessunRisultato_data()
    {
        // prima: what the window was showing; volte: searches without matches in a row; poi: the message once the
        // timer fired
        Colonne<QString, int, int>("prima", "volte", "poi");
        QTest::newRow("una riga") << "riga" << 1 << 0;
        QTest::newRow("i trovati di una ricerca") << "ricerca" << 1 << 3;
        QTest::newRow("i trovati, due ricerche a vuoto") << "ricerca" << 2 << 3;
        QTest::newRow("un inserimento") << "nuovo" << 1 << 5;
        QTest::newRow("un salvataggio appena fatto") << "salvato" << 1 << 0;
        QTest::newRow("archivio vuoto") << "vuoto" << 1 << 0;
    }
    void nessunRisultato()
    {
        const auto [prima, volte, poi] = Valori<QString, int, int>("prima", "volte", "poi");
        Caso a;
        prima == QLatin1String("vuoto") ? (riempiTabelle(a.stato), void(a.apri())) : treDaCercare(a);
        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        if (prima == QLatin1String("ricerca"))
            a.cerca(QStringLiteral("74"), true);
        else if (prima != QLatin1String("vuoto"))
            a.clicRiga(2, 0); // 74LS00
        if (prima == QLatin1String("nuovo")) {
            a.premi("new");
            a.scrivi("txCodice", "NUOVO1");
        } else if (prima == QLatin1String("salvato")) {
            a.premi("edit");
            a.premi("save");
        }
        const QString stato = a.bottoni() + a.testo("txCodice") + a.codici().join(u',');
        const QList<QByteArray> archivio = a.fileDati();
        auto *timer = a.w<QTimer>(QStringLiteral("Timer"));
        for (int i = 1; i <= volte; ++i)
            a.cerca(QStringLiteral("lm3%1").arg(4 + i), true);
        QCOMPARE(a.messaggio(), QStringLiteral("Nessun componente trovato per \"lm3%1\"").arg(4 + volte));
        QVERIFY(timer->isActive());
        QCOMPARE(a.bottoni() + a.testo("txCodice") + a.codici().join(u','), stato);
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(a.messaggio(), a.messaggio(poi));
        QCOMPARE(a.fileDati(), archivio);
    }

    // Whatever the sort, a save lists the codes from A to Z with the saved component current, its row selected and in
    // view, among 5 or 305. Editing asks nothing about a shared number (ZTX547, BC547C) and keeps the record's ID and
    // date.
    void salvataggio_data()
    {
        // intestazioni: headers clicked before; codice: empty: LM317T edited to ZTX547; riempitivi: R000, R001...
        // after the five
        Colonne<QList<int>, QString, int>("intestazioni", "codice", "riempitivi");
        QTest::newRow("all'avvio, nuovo") << QList<int>{} << "BC337" << 0;
        QTest::newRow("QTA, nuovo") << QList<int>{4} << "BC337" << 0;
        QTest::newRow("QTA due volte, modifica") << QList<int>{4, 4} << "" << 0;
        QTest::newRow("CODICE da Z ad A, modifica") << QList<int>{1} << "" << 0;
        QTest::newRow("DATA, nuovo in fondo") << QList<int>{5} << "ZX999" << 300;
        QTest::newRow("QTA, modifica a metà") << QList<int>{4} << "" << 300;
    }
    void salvataggio()
    {
        auto [intestazioni, codice, riempitivi] =
            Valori<QList<int>, QString, int>("intestazioni", "codice", "riempitivi");
        Caso a;
        cinqueComponenti(a.stato);
        for (int i = 0; i < riempitivi; ++i)
            aggiungi(a.stato, componente(100 + i, QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0')), 1, "TI", 1,
                                         "IC", i + 1));
        a.apri().show();
        QVERIFY(QTest::qWaitForWindowExposed(a.finestra.get()));
        for (const int indice : intestazioni)
            a.clicIntestazione(indice);
        const bool nuovo = !codice.isEmpty();
        const qint32 posizione = nuovo ? a.stato.NumComponenti + 1 : 3;
        const qint32 prossimo = a.stato.ProssimoIDComponente;
        Componente atteso = a.stato.componente(3);
        if (nuovo) {
            a.nuovo(codice, QStringLiteral("3"));
        } else {
            a.clicRiga(a.rigaDi("LM317T"), 0);
            a.premi(QStringLiteral("edit"));
            a.scrivi(QStringLiteral("txCodice"), codice = atteso.Codice = QStringLiteral("ZTX547"));
            atteso.CodiceNumerico = 547;
        }
        a.lista()->vista()->scrollToTop();
        a.premi(QStringLiteral("save"));
        QCOMPARE(a.stato.componente(posizione).Codice, codice);
        if (!nuovo)
            QCOMPARE(a.stato.componente(3), atteso);
        QCOMPARE(a.stato.ProssimoIDComponente, prossimo + (nuovo ? 1 : 0));
        QStringList attesi = idCodici(a.stato).replaceInStrings(QRegularExpression(QStringLiteral("^\\d+:")), QString());
        attesi.sort();
        QCOMPARE(a.codici(), attesi);
        const QHeaderView *h = a.lista()->vista()->header();
        QVERIFY(h->isSortIndicatorShown() && h->sortIndicatorSection() == 0 && h->sortIndicatorOrder() == Qt::AscendingOrder);
        const int riga = int(attesi.indexOf(codice)) + 1;
        QCOMPARE(a.lista()->rigaSelezionata(), riga);
        QCOMPARE(a.finestra->variabili().IndiceVoce, riga);
        QCOMPARE(a.corrente(), posizione);
        const QTreeView *vista = a.lista()->vista();
        QVERIFY(vista->viewport()->rect().contains(vista->visualRect(vista->model()->index(riga - 1, 0))));
    }

    // A header click sorts (the direction is the list's, tst_listareport) and leaves no component current. The
    // listing prints the rows on screen in their order; the CSV holds the whole table.
    void stampaEdEsportazione()
    {
        Caso a;
        treDaCercare(a);
        a.cerca(QStringLiteral("74"), true);
        a.clicIntestazione(1); // descending by code after the search's table order
        QCOMPARE(a.posizioni(), QList<int>({3, 2}));
        QCOMPARE(a.corrente() + a.finestra->variabili().IndiceVoce, 0);
        a.dialoghi.setNextAnswer(Risposta::No); // the text file only
        a.premi("print");
        QCOMPARE(a.cartella.leggi(QStringLiteral("Stampe/Stampa_05122026.txt")),
                 CodificaCp1252(TestoStampa(a.stato, {3, 2}, Oggi())));
        a.menu("mnuCSV");
        QCOMPARE(a.cartella.leggi(QStringLiteral("Exported/CSVlist.csv")).count("\r\n"), 4);
    }
};

QTEST_MAIN(TestFrmMainLista)
#include "tst_frmmain_lista.moc"
