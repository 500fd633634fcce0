// The order of the component list around a save and a deletion: a save
// lists the codes from A to Z, whatever the list was sorted by, with the
// saved component's row selected and in view; a deletion keeps the order the
// list had; the header's arrow shows the column and direction of the rows.

#include "ambiente.h"

#include "store/orologio.h"

using namespace prova;

namespace {

// The header's sort arrow as "4D" (column Index, Ascending or Descending),
// empty when none is shown.
QString freccia(const Ambiente &a)
{
    const QHeaderView *h = a.lista()->vista()->header();
    if (!h->isSortIndicatorShown())
        return {};
    return QString::number(h->sortIndicatorSection() + 1)
           + (h->sortIndicatorOrder() == Qt::AscendingOrder ? u'A' : u'D');
}

// The five components and, after them, riempitivi more coded R000, R001...
void componenti(Ambiente &a, int riempitivi)
{
    cinqueComponenti(a.stato);
    for (int i = 0; i < riempitivi; ++i)
        aggiungi(a.stato, componente(100 + i, QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0')), 1,
                                     QStringLiteral("TI"), 1, QStringLiteral("IC"), i + 1));
    a.apri();
    a.finestra->show();
    QVERIFY(QTest::qWaitForWindowExposed(a.finestra.get()));
}

int rigaDi(const Ambiente &a, const QString &codice) { return int(a.codici().indexOf(codice)) + 1; }

} // namespace

class TestFrmMainOrdine : public QObject {
    Q_OBJECT

    // The list after a save: every stored code from A to Z, the saved one's
    // row selected, current and within the visible part of the list.
    static void verificaDopoSalvataggio(const Ambiente &a, const QString &codice, qint32 posizione)
    {
        QStringList attesi;
        for (qint32 i = 1; i <= a.stato.NumComponenti; ++i)
            attesi << a.stato.componente(i).Codice;
        std::sort(attesi.begin(), attesi.end());
        QCOMPARE(a.codici(), attesi);
        QCOMPARE(freccia(a), QStringLiteral("1A"));
        const int riga = rigaDi(a, codice);
        QCOMPARE(a.lista()->rigaSelezionata(), riga);
        QCOMPARE(a.finestra->variabili().IndiceVoce, riga);
        QCOMPARE(a.corrente(), posizione);
        QCOMPARE(a.testo("txCodice"), codice);
        const QTreeView *vista = a.lista()->vista();
        const QRect visibile = vista->visualRect(vista->model()->index(riga - 1, 0));
        QVERIFY2(vista->viewport()->rect().contains(visibile), qPrintable(QStringLiteral("riga %1").arg(riga)));
    }

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    void salvataggio_data()
    {
        QTest::addColumn<QList<int>>("intestazioni"); // headers clicked before the save
        QTest::addColumn<bool>("nuovo");              // a new component, or LM317T edited
        QTest::addColumn<QString>("codice");
        QTest::addColumn<int>("riempitivi");
        QTest::newRow("all'avvio, nuovo") << QList<int>{} << true << "BC337" << 0;
        QTest::newRow("dopo QTA, nuovo") << QList<int>{4} << true << "BC337" << 0;
        QTest::newRow("dopo QTA due volte, modifica") << QList<int>{4, 4} << false << "AD590" << 0;
        QTest::newRow("dopo CODICE da Z ad A, modifica") << QList<int>{1} << false << "AD590" << 0;
        QTest::newRow("dopo DATA, nuovo in fondo a 305") << QList<int>{5} << true << "ZX999" << 300;
        QTest::newRow("dopo QTA, modifica a metà di 305") << QList<int>{4} << false << "R150A" << 300;
    }
    void salvataggio()
    {
        QFETCH(QList<int>, intestazioni);
        QFETCH(bool, nuovo);
        QFETCH(QString, codice);
        QFETCH(int, riempitivi);
        Ambiente a;
        componenti(a, riempitivi);
        for (const int indice : intestazioni)
            a.clicIntestazione(indice);
        if (nuovo) {
            a.nuovo(codice, QStringLiteral("3"));
        } else {
            a.clicRiga(rigaDi(a, QStringLiteral("LM317T")), 0);
            a.premi(QStringLiteral("edit"));
            a.scrivi(QStringLiteral("txCodice"), codice);
        }
        a.lista()->vista()->scrollToTop();
        a.premi(QStringLiteral("save"));
        const qint32 posizione = nuovo ? a.stato.NumComponenti : 3;
        QCOMPARE(a.stato.componente(posizione).Codice, codice);
        verificaDopoSalvataggio(a, codice, posizione);
        // Saved again from its row, it keeps the order from A to Z.
        a.clicRiga(rigaDi(a, codice), 0);
        a.lista()->vista()->scrollToTop();
        a.premi(QStringLiteral("edit"));
        a.premi(QStringLiteral("save"));
        verificaDopoSalvataggio(a, codice, posizione);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void eliminazione_data()
    {
        QTest::addColumn<QList<int>>("intestazioni"); // headers clicked before the deletion
        QTest::addColumn<bool>("riseleziona");        // a custom selection, then "Riseleziona"
        QTest::addColumn<QString>("attesa");          // the arrow before and after
        QTest::newRow("per codice, dall'avvio") << QList<int>{} << false << "1A";
        QTest::newRow("QTA decrescente") << QList<int>{4} << false << "4D";
        QTest::newRow("QTA crescente") << QList<int>{4, 4} << false << "4A";
        QTest::newRow("DATA decrescente") << QList<int>{5} << false << "5D";
        QTest::newRow("CODICE dopo DATA") << QList<int>{5, 1} << false << "1A";
        QTest::newRow("ordine della tabella") << QList<int>{4} << true << "";
    }
    void eliminazione()
    {
        QFETCH(QList<int>, intestazioni);
        QFETCH(bool, riseleziona);
        QFETCH(QString, attesa);
        Ambiente a;
        componenti(a, 0);
        for (const int indice : intestazioni)
            a.clicIntestazione(indice);
        if (riseleziona) {
            a.clicRiga(1, 1, Qt::RightButton); // a selection by manufacturer
            a.premi(QStringLiteral("reselect"));
        }
        QCOMPARE(freccia(a), attesa);
        QStringList attesi = a.codici();
        a.clicRiga(rigaDi(a, QStringLiteral("BC547C")), 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi(QStringLiteral("del"));
        QCOMPARE(a.stato.NumComponenti, 4);
        attesi.removeOne(QStringLiteral("BC547C"));
        QCOMPARE(a.codici(), attesi);
        QCOMPARE(freccia(a), attesa);
        // Each row still leads to its own component.
        for (int r = 1; r <= a.lista()->numeroRighe(); ++r)
            QCOMPARE(a.stato.componente(a.posizioni()[r - 1]).Codice, attesi[r - 1]);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainOrdine)
#include "tst_frmmain_ordine.moc"
