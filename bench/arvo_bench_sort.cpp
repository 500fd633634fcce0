// Filling and column-sorting the report list with rows shaped like the main
// list (code, manufacturer, type, quantity, date, hidden position), beside a
// plain QTreeWidget doing the same work one item and one setText at a time.
//
//   QT_QPA_PLATFORM=offscreen build/release/bench/arvo_bench_sort [rows] [runs]

#include "listsort/chiavi.h"
#include "listsort/ordinacolonna.h"
#include "store/localeutente.h"
#include "lib/righelista.h"
#include "ui/widgets/listareport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

QList<QStringList> righeDiProva(int n)
{
    static const char *produttori[] = {"Texas Instruments", "Philips", "Motorola", "STMicroelectronics",
                                       "Microchip", "Vishay", "NXP", "Fairchild", "Analog Devices", "Maxim"};
    static const char *tipi[] = {"IC", "R", "C", "T", "D", "LED", "Quarzo", "Relè"};
    QRandomGenerator rng(20261205);
    QList<QStringList> righe;
    righe.reserve(n);
    const QDate base(2000, 1, 1);
    for (int i = 1; i <= n; ++i) {
        const QString codice = QStringLiteral("%1%2").arg(QChar(u'A' + int(rng.bounded(26)))).arg(rng.bounded(100000));
        righe.append({codice, QString::fromUtf8(produttori[rng.bounded(10)]), QString::fromUtf8(tipi[rng.bounded(8)]),
                      QString::number(rng.bounded(5000)), DataBreve(base.addDays(rng.bounded(9000))),
                      QString::number(i)});
    }
    return righe;
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Tempo {
    double muro = 0; // wall clock, ms
    double cpu = 0;  // processor time of the process, ms
};

// Median wall-clock and processor times of several runs; the processor time
// is the steadier figure on a machine shared with other work.
Tempo misura(int volte, const std::function<void()> &prepara, const std::function<void()> &lavoro)
{
    std::vector<double> muro, cpu;
    if (volte <= 0)
        return {};
    for (int i = 0; i < volte; ++i) {
        prepara();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        const std::clock_t c = std::clock();
        t.start();
        lavoro();
        QCoreApplication::processEvents();
        muro.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(double(std::clock() - c) * 1000.0 / CLOCKS_PER_SEC);
    }
    return {mediana(muro), mediana(cpu)};
}

void stampa(const char *nome, Tempo t, Tempo base)
{
    std::printf("%-20s %9.1f %9.1f %11.1f %9.1f %7.1fx %7.1fx\n", nome, t.muro, t.cpu, base.muro, base.cpu,
                base.muro / t.muro, base.cpu / t.cpu);
}

// The plain way: one setText per cell for the keys, sortItems, one setText
// per cell to restore.
void ordinaIngenuo(QTreeWidget &w, int colonna, TipoColonna tipo, Qt::SortOrder &ordine)
{
    const GeneratoreChiavi g(LocaleUtente());
    const int n = w.topLevelItemCount();
    if (tipo != TipoColonna::Testo) {
        for (int r = 0; r < n; ++r) {
            QTreeWidgetItem *it = w.topLevelItem(r);
            const QString testo = it->text(colonna);
            it->setData(colonna, Qt::UserRole, testo + QChar(0) + it->data(colonna, Qt::UserRole).toString());
            it->setText(colonna, g.chiave(tipo, testo));
        }
    }
    ordine = ordine == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    w.sortItems(colonna, ordine);
    if (tipo != TipoColonna::Testo) {
        for (int r = 0; r < n; ++r) {
            QTreeWidgetItem *it = w.topLevelItem(r);
            const QString salvato = it->data(colonna, Qt::UserRole).toString();
            const qsizetype nul = salvato.indexOf(QChar(0));
            it->setText(colonna, salvato.left(nul));
            it->setData(colonna, Qt::UserRole, salvato.mid(nul + 1));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int volte = argc > 2 ? std::atoi(argv[2]) : 5;
    // A third argument "solo" leaves the QTreeWidget baseline out (for profiling).
    const bool soloLista = argc > 3 && qstrcmp(argv[3], "solo") == 0;
    const int volteIngenuo = soloLista ? 0 : std::max(1, std::min(volte, 3));

    const QList<QStringList> righe = righeDiProva(n);
    const QList<ListaReport::Colonna> colonne = ColonneListaComponenti();

    ListaReport lista;
    lista.resize(455, 583);
    lista.impostaColonne(colonne);
    lista.show();

    QTreeWidget albero;
    PreparaAlbero(albero);
    QCoreApplication::processEvents();

    auto riempiLista = [&] {
        lista.setSorted(false);
        lista.svuota();
        lista.aggiungiRighe(righe);
    };
    auto riempiAlbero = [&] {
        albero.clear();
        QList<QTreeWidgetItem *> items;
        items.reserve(righe.size());
        for (const QStringList &r : righe) {
            auto *it = new QTreeWidgetItem;
            for (int c = 0; c < r.size(); ++c)
                it->setText(c, r[c]);
            items.append(it);
        }
        albero.addTopLevelItems(items);
    };

    std::printf("rows: %d, runs: %d (QTreeWidget: %d), medians in ms\n", n, volte, volteIngenuo);
    std::printf("%-20s %19s %21s %16s\n", "", "ListaReport", "QTreeWidget", "ratio");
    std::printf("%-20s %9s %9s %11s %9s %8s %8s\n", "operation", "wall", "cpu", "wall", "cpu", "wall", "cpu");

    stampa("fill", misura(volte, [] {}, riempiLista), misura(volteIngenuo, [] {}, riempiAlbero));

    const struct {
        const char *nome;
        int indice;
    } prove[] = {{"sort number (QTA)", 4}, {"sort date (DATA)", 5}, {"sort text (CODICE)", 1}};
    for (const auto &p : prove) {
        const TipoColonna tipo = TipoDaTag(colonne[p.indice - 1].tag);
        // Each run starts from the list in fill order.
        const Tempo t = misura(volte, riempiLista, [&] { OrdinaColonna(lista, p.indice); });
        Qt::SortOrder ordine = Qt::DescendingOrder;
        const Tempo base = misura(volteIngenuo, riempiAlbero, [&] { ordinaIngenuo(albero, p.indice - 1, tipo, ordine); });
        stampa(p.nome, t, base);
    }
    return 0;
}
