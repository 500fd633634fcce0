// Time to fill the tables window: N components and M entries per table,
// the window opened (usage counted, three lists filled and sorted by name)
// and the lists refilled, against the same rows put into plain
// QTreeWidgets. Prints medians in milliseconds.
//
//   tabelle [componenti] [voci] [ripetizioni]
#include "store/dialoghi.h"
#include "store/stato.h"
#include "ui/tables/frmliste.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

class DialoghiMuti : public Dialoghi {
public:
    Risposta messaggio(const QString &testo, Icona, Pulsanti, const QString &) override
    {
        std::fprintf(stderr, "messaggio inatteso: %s\n", qPrintable(testo));
        return Risposta::Ok;
    }
    QString apriFile(const QString &, const QString &, const QString &) override { return {}; }
    bool avviaProgramma(const QString &, const QStringList &) override { return false; }
    bool apriDocumento(const QString &) override { return false; }
};

QString nome(QRandomGenerator &r, const char *prefisso)
{
    return QStringLiteral("%1%2").arg(QLatin1String(prefisso)).arg(r.bounded(1000000), 6, 10, QLatin1Char('0'));
}

Stato genera(int componenti, int voci)
{
    QRandomGenerator r(42);
    Stato s;
    for (int i = 1; i <= voci; ++i) {
        s.Tipi.append({i, nome(r, "TIPO")});
        s.Produttori.append({i, nome(r, "PROD")});
        s.Packages.append({i, nome(r, "PKG"), QStringLiteral("descrizione"), QString()});
    }
    s.NumTipi = s.NumProduttori = s.NumPackages = voci;
    s.ProssimoIDTipo = s.ProssimoIDProduttore = s.ProssimoIDPackage = voci + 1;
    s.Componenti.reserve(componenti);
    for (int i = 1; i <= componenti; ++i) {
        Componente c;
        c.ID = i;
        c.Codice = nome(r, "C");
        c.IDTipo = r.bounded(voci) + 1;
        c.IDProduttore = r.bounded(voci) + 1;
        c.IDPackage = i % 3 ? r.bounded(voci) + 1 : 0;
        s.Componenti.append(c);
    }
    s.NumComponenti = componenti;
    return s;
}

double mediana(int ripetizioni, const std::function<void()> &passo)
{
    QList<double> tempi;
    for (int i = 0; i < ripetizioni; ++i) {
        QElapsedTimer t;
        t.start();
        passo();
        tempi << t.nsecsElapsed() / 1e6;
    }
    std::sort(tempi.begin(), tempi.end());
    return tempi[tempi.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int componenti = a.size() > 1 ? a[1].toInt() : 100000;
    const int voci = a.size() > 2 ? a[2].toInt() : 10000;
    const int ripetizioni = a.size() > 3 ? a[3].toInt() : 5;

    Stato stato = genera(componenti, voci);
    DialoghiMuti dialoghi;
    AccessoPrincipale principale;

    const double apertura = mediana(ripetizioni, [&] { FrmListe f(stato, dialoghi, principale); });
    FrmListe finestra(stato, dialoghi, principale);
    const double riempimento = mediana(ripetizioni, [&] { finestra.RiempiListe(); });
    UsoTabelle uso;
    const double conteggio = mediana(ripetizioni, [&] { ContaUtilizzi(stato, uso); });

    // Baseline: the same rows into three plain QTreeWidgets, sorted by name.
    const double base = mediana(ripetizioni, [&] {
        for (int t = 0; t < 3; ++t) {
            QTreeWidget w;
            w.setColumnCount(4);
            QList<QTreeWidgetItem *> items;
            items.reserve(voci);
            for (int i = 1; i <= voci; ++i)
                items << new QTreeWidgetItem(QStringList{QString::number(i), stato.tipo(i).Nome,
                                                         QStringLiteral("0"), QString::number(i)});
            w.addTopLevelItems(items);
            w.sortItems(1, Qt::AscendingOrder);
        }
    });

    std::printf("componenti %d, voci per tabella %d, mediana di %d (ms)\n", componenti, voci, ripetizioni);
    std::printf("  apertura finestra tabelle      %9.1f\n", apertura);
    std::printf("  RiempiListe                    %9.1f\n", riempimento);
    std::printf("  solo ContaUtilizzi             %9.1f\n", conteggio);
    std::printf("  base: 3 QTreeWidget ordinati   %9.1f\n", base);
    return 0;
}
