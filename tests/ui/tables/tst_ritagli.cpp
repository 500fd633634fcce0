// Nothing clipped at the default font on a laptop's screen: the main list, the tables window's lists (their set widths
// kept), a custom label of 20 characters.

#include "bancotabelle.h"
#include "../main/ambiente.h"
#include "common/schermo.h"

namespace {

// Every header and cell text of the shown columns fits its section; in the first column, beside the check box when
// there is one (casella > 0).
void VerificaColonne(ListaReport *lista, const QString &nome, int casella = 0)
{
    QTreeView *v = lista->vista();
    QHeaderView *h = v->header();
    const QFontMetrics fIntestazione(h->font());
    const QFontMetrics f(v->font());
    for (int c = 0; c < lista->numeroColonne(); ++c) {
        if (v->isColumnHidden(c))
            continue;
        const int sezione = h->sectionSize(c);
        const QString titolo = lista->colonna(c + 1).titolo;
        QVERIFY2(fIntestazione.horizontalAdvance(titolo) + 8 <= sezione,
                 qPrintable(QStringLiteral("%1: intestazione \"%2\" in %3 px").arg(nome, titolo).arg(sezione)));
        for (int r = 1; r <= lista->numeroRighe(); ++r) {
            const QString t = lista->testo(r, c);
            QVERIFY2(f.horizontalAdvance(t) + 6 + (c == 0 ? casella : 0) <= sezione,
                     qPrintable(QStringLiteral("%1: \"%2\" in %3 px").arg(nome, t).arg(sezione)));
        }
    }
}

} // namespace

class TestRitagli : public QObject {
    Q_OBJECT

private slots:
    void listaPrincipale()
    {
        prova::Ambiente a;
        Stato &s = a.stato;
        s.Tipi = {{1, "TRANSISTOR"}, {2, "INTEGRATO"}, {3, "CONDENSATORE"}};
        s.Produttori = {{1, "Texas Instruments"}, {2, "STMicroelectronics"}, {3, "ON Semiconductor"}};
        s.NumTipi = s.NumProduttori = 3;
        s.ProssimoIDTipo = s.ProssimoIDProduttore = 4;
        prova::aggiungi(s, prova::componente(1, "SN74HC595NSR", 1, "Texas Instruments", 2, "INTEGRATO", 1200));
        prova::aggiungi(s, prova::componente(2, "BC547C", 2, "STMicroelectronics", 1, "TRANSISTOR", 5));
        prova::aggiungi(s, prova::componente(3, "MMBT3904LT1G", 3, "ON Semiconductor", 1, "TRANSISTOR", 99999));
        prova::aggiungi(s, prova::componente(4, "EEU-FR1V102L", 3, "ON Semiconductor", 3, "CONDENSATORE", 40));
        FrmMain &f = a.apri();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        VerificaColonne(a.lista(), QStringLiteral("LV"));
        // The designed widths, where enough, are kept or widened: the columns fill the list.
        const int disegnate[] = {110, 125, 60, 50, 90};
        int somma = 0;
        for (int i = 1; i <= 5; ++i) {
            QVERIFY(a.lista()->larghezzaColonna(i) >= disegnate[i - 1]);
            somma += a.lista()->larghezzaColonna(i);
        }
        QCOMPARE(somma, a.lista()->vista()->viewport()->width());
    }

    void finestraTabelle()
    {
        Banco b;
        b.tipo(1, "TRANSISTOR");
        b.tipo(2, "INTEGRATO");
        b.produttore(1, "Texas Instruments Incorporated");
        b.produttore(2, "Würth Elektronik");
        b.package(1, "TSSOP-20", "Thin shrink small outline");
        auto f = b.apri();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        for (const char *nome : {"LVP", "LVT", "LVG"}) {
            auto *lista = f->findChild<ListaReport *>(QLatin1String(nome));
            QVERIFY(lista->numeroRighe() > 0);
            // The check box of the first column is drawn, and fits inside it beside the row's number.
            QTreeView *v = lista->vista();
            QVERIFY(v->model()->data(v->model()->index(0, 0), Qt::CheckStateRole).isValid());
            const int casella = v->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, v);
            VerificaColonne(lista, QLatin1String(nome), casella);
            // The name column keeps its set width, enough for these names; the others are as wide as their texts need,
            // never narrower than set; the ID is kept hidden.
            QCOMPARE(lista->larghezzaColonna(2), 248);
            QCOMPARE(lista->larghezzaColonna(1), qMax(18, lista->larghezzaNecessaria(0)));
            QCOMPARE(lista->larghezzaColonna(3), qMax(40, lista->larghezzaNecessaria(2)));
            QVERIFY(v->isColumnHidden(3));
        }
        f->close();
    }

    void etichetta20()
    {
        prova::Ambiente a;
        prova::cinqueComponenti(a.stato);
        FrmMain &f = a.apri();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QList<int> colonne;
        for (int i = 1; i <= 6; ++i)
            colonne << a.w(QStringLiteral("txExtra%1").arg(i))->x();
        // The last one, of the widest letters, may be cut, but moves nothing.
        const QStringList lunghe = {"Quantità minima 1234", "Fornitore principale", "Campo Personale 20A",
                                    "WWWWWWWWWWWWWWWWWWWW"};
        for (const QString &testo : lunghe) {
            QCOMPARE(testo.size(), qsizetype(20 - (testo.startsWith(u'C') ? 1 : 0)));
            const bool larghe = testo.startsWith(u'W');
            for (int i = 1; i <= 6; ++i)
                a.stato.Etichette[i] = testo;
            // Through the labels window, closed at once: the captions are renewed.
            QuandoModale([](QWidget *m) { m->close(); }, this);
            a.menu(QStringLiteral("mnuExtra"));
            QTest::qWait(20); // the layout has run again
            for (int i = 1; i <= 6; ++i) {
                auto *l = a.w<QLabel>(QStringLiteral("lblExtra(%1)").arg(i));
                QCOMPARE(l->text(), u' ' + testo);
                QVERIFY2(larghe || l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(),
                         qPrintable(QStringLiteral("%1 in %2 px").arg(l->objectName()).arg(l->contentsRect().width())));
                QCOMPARE(a.w(QStringLiteral("txExtra%1").arg(i))->x(), colonne[i - 1]);
            }
        }
    }
};

// At the default font, on a laptop's screen.
MAIN_SU_SCHERMO(TestRitagli, 1366, 768)
#include "tst_ritagli.moc"
