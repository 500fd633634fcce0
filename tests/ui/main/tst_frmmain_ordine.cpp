// The order of the component list around a save and a deletion, and the
// header's sort arrow.

#include "ambiente.h"

#include "store/orologio.h"

using namespace prova;

namespace {

// The header's arrow as "4D" (column Index, Ascending or Descending); empty when none shows.
QString freccia(const Ambiente &a)
{
    const QHeaderView *h = a.lista()->vista()->header();
    return h->isSortIndicatorShown() ? QString::number(h->sortIndicatorSection() + 1)
                                           + (h->sortIndicatorOrder() == Qt::AscendingOrder ? u'A' : u'D')
                                     : QString();
}

int rigaDi(const Ambiente &a, const char *codice) { return int(a.codici().indexOf(QLatin1String(codice))) + 1; }

} // namespace

class TestFrmMainOrdine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    // Whatever the list was sorted by, a save lists the codes from A to Z,
    // with the saved component (new, or LM317T edited) current, its row
    // selected and scrolled into view, among 5 components or 305.
    void salvataggio_data()
    {
        QTest::addColumn<QList<int>>("intestazioni"); // headers clicked before
        QTest::addColumn<QString>("codice");          // empty: LM317T edited to R150A
        QTest::addColumn<int>("riempitivi");          // R000, R001... after the five
        QTest::newRow("all'avvio, nuovo") << QList<int>{} << "BC337" << 0;
        QTest::newRow("QTA, nuovo") << QList<int>{4} << "BC337" << 0;
        QTest::newRow("QTA due volte, modifica") << QList<int>{4, 4} << "" << 0;
        QTest::newRow("CODICE da Z ad A, modifica") << QList<int>{1} << "" << 0;
        QTest::newRow("DATA, nuovo in fondo") << QList<int>{5} << "ZX999" << 300;
        QTest::newRow("QTA, modifica a metà") << QList<int>{4} << "" << 300;
    }
    void salvataggio()
    {
        QFETCH(QList<int>, intestazioni);
        QFETCH(QString, codice);
        QFETCH(int, riempitivi);
        Ambiente a;
        cinqueComponenti(a.stato);
        for (int i = 0; i < riempitivi; ++i)
            aggiungi(a.stato, componente(100 + i, QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0')), 1, "TI", 1,
                                         "IC", i + 1));
        a.apri().show();
        QVERIFY(QTest::qWaitForWindowExposed(a.finestra.get()));
        for (const int indice : intestazioni)
            a.clicIntestazione(indice);
        const qint32 posizione = codice.isEmpty() ? 3 : a.stato.NumComponenti + 1;
        if (codice.isEmpty()) {
            a.clicRiga(rigaDi(a, "LM317T"), 0);
            a.premi(QStringLiteral("edit"));
            a.scrivi(QStringLiteral("txCodice"), codice = QStringLiteral("R150A"));
        } else {
            a.nuovo(codice, QStringLiteral("3"));
        }
        a.lista()->vista()->scrollToTop();
        a.premi(QStringLiteral("save"));
        QCOMPARE(a.stato.componente(posizione).Codice, codice);
        QStringList attesi = idCodici(a.stato).replaceInStrings(QRegularExpression(QStringLiteral("^\\d+:")), QString());
        attesi.sort();
        QCOMPARE(a.codici(), attesi);
        QCOMPARE(freccia(a), QStringLiteral("1A"));
        const int riga = int(attesi.indexOf(codice)) + 1;
        QCOMPARE(a.lista()->rigaSelezionata(), riga);
        QCOMPARE(a.finestra->variabili().IndiceVoce, riga);
        QCOMPARE(a.corrente(), posizione);
        const QTreeView *vista = a.lista()->vista();
        QVERIFY(vista->viewport()->rect().contains(vista->visualRect(vista->model()->index(riga - 1, 0))));
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    // A deletion keeps the order and the arrow the list had.
    void eliminazione_data()
    {
        QTest::addColumn<QList<int>>("intestazioni"); // headers clicked before
        QTest::addColumn<bool>("riseleziona");        // then a selection by manufacturer and "Riseleziona"
        QTest::addColumn<QString>("attesa");
        QTest::newRow("CODICE dall'avvio") << QList<int>{} << false << "1A";
        QTest::newRow("QTA") << QList<int>{4} << false << "4D";
        QTest::newRow("QTA due volte") << QList<int>{4, 4} << false << "4A";
        QTest::newRow("DATA") << QList<int>{5} << false << "5D";
        QTest::newRow("DATA, CODICE") << QList<int>{5, 1} << false << "1A";
        QTest::newRow("ordine della tabella") << QList<int>{4} << true << "";
    }
    void eliminazione()
    {
        QFETCH(QList<int>, intestazioni);
        QFETCH(bool, riseleziona);
        QFETCH(QString, attesa);
        Ambiente a(cinqueComponenti);
        for (const int indice : intestazioni)
            a.clicIntestazione(indice);
        if (riseleziona) {
            a.clicRiga(1, 1, Qt::RightButton);
            a.premi(QStringLiteral("reselect"));
        }
        QCOMPARE(freccia(a), attesa);
        QStringList attesi = a.codici();
        attesi.removeOne(QStringLiteral("BC547C"));
        a.clicRiga(rigaDi(a, "BC547C"), 0);
        a.dialoghi.setNextAnswer(Risposta::Si);
        a.premi(QStringLiteral("del"));
        QCOMPARE(a.codici(), attesi);
        QCOMPARE(freccia(a), attesa);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainOrdine)
#include "tst_frmmain_ordine.moc"
