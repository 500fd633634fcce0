// The whole-program benchmark: for each number of components, a generated
// program folder is loaded, saved, listed, sorted, searched, printed,
// exported and shown in the tables window, and each figure (median of
// several runs, wall clock beside processor time) is printed beside a
// baseline measured in the same run. See bench/README.md.
//
//   build/release/bench/arvo_bench [--runs K] [--sizes 1000,10000,100000]
//
// Each size runs in a child process of its own (the same program with
// --figlio N), so that the peak memory of one size is not the leftover of
// another.

#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/ioconfronto.h"
#include "lib/misura.h"
#include "lib/righelista.h"

#include "components/operazioni.h"
#include "listsort/ordinacolonna.h"
#include "reports/csv.h"
#include "reports/stampa.h"
#include "startup/avvio.h"
#include "store/ini.h"
#include "store/localeutente.h"
#include "store/orologio.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/main/frmmain.h"
#include "ui/tables/frmliste.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

// ------------------------------------------------------------ one result

// One row of the table: the program's figure and up to two baselines.
struct Riga {
    QString nome;
    Tempo tempo;
    QString rif1;
    Tempo base1;
    QString rif2;
    Tempo base2;
    bool memoria = false; // figures in MB, not ms
};

// Child -> parent: one tab-separated line per row.
void emetti(const Riga &r)
{
    std::printf("RIGA\t%s\t%d\t%.3f\t%.3f\t%s\t%.3f\t%.3f\t%s\t%.3f\t%.3f\n", qPrintable(r.nome),
                r.memoria ? 1 : 0, r.tempo.muro, r.tempo.cpu, qPrintable(r.rif1), r.base1.muro,
                r.base1.cpu, qPrintable(r.rif2), r.base2.muro, r.base2.cpu);
    std::fflush(stdout);
}

std::optional<Riga> leggiRiga(const QByteArray &linea)
{
    const QList<QByteArray> c = linea.split('\t');
    if (c.size() != 11 || c[0] != "RIGA")
        return std::nullopt;
    Riga r;
    r.nome = QString::fromUtf8(c[1]);
    r.memoria = c[2] == "1";
    r.tempo = {c[3].toDouble(), c[4].toDouble(), true};
    r.rif1 = QString::fromUtf8(c[5]);
    r.base1 = {c[6].toDouble(), c[7].toDouble(), !r.rif1.isEmpty()};
    r.rif2 = QString::fromUtf8(c[8]);
    r.base2 = {c[9].toDouble(), c[10].toDouble(), !r.rif2.isEmpty()};
    return r;
}

// ------------------------------------------------------------ the child

QStringList fileDati(const Percorsi &p)
{
    return {p.FileIni, p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages};
}

// A copy of the state with `voci` entries in each of the three small tables
// and the components spread over them, for the tables window.
Stato statoConVoci(const Stato &origine, int voci)
{
    Stato s = origine;
    QRandomGenerator r(7);
    for (int i = s.NumTipi + 1; i <= voci; ++i)
        s.Tipi.append({i, QStringLiteral("TIPO %1").arg(r.bounded(1000000), 6, 10, QLatin1Char('0'))});
    for (int i = s.NumProduttori + 1; i <= voci; ++i)
        s.Produttori.append({i, QStringLiteral("PRODUTTORE %1").arg(r.bounded(1000000), 6, 10, QLatin1Char('0'))});
    for (int i = s.NumPackages + 1; i <= voci; ++i)
        s.Packages.append({i, QStringLiteral("PKG%1").arg(r.bounded(1000000), 6, 10, QLatin1Char('0')),
                           QStringLiteral("Contenitore di prova"), QString()});
    s.NumTipi = s.ProssimoIDTipo = qint32(s.Tipi.size());
    s.NumProduttori = s.ProssimoIDProduttore = qint32(s.Produttori.size());
    s.NumPackages = s.ProssimoIDPackage = qint32(s.Packages.size());
    ++s.ProssimoIDTipo;
    ++s.ProssimoIDProduttore;
    ++s.ProssimoIDPackage;
    for (qint32 i = 1; i <= s.NumComponenti; ++i) {
        Componente &c = s.componente(i);
        c.IDTipo = r.bounded(s.NumTipi) + 1;
        c.IDProduttore = r.bounded(s.NumProduttori) + 1;
        c.IDPackage = i % 3 ? r.bounded(s.NumPackages) + 1 : 0;
    }
    return s;
}

// The offscreen platform's notes (size hints, runtime folder) would only
// clutter the table; real errors still get through.
void soloErrori(QtMsgType tipo, const QMessageLogContext &, const QString &testo)
{
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(testo));
}

int figlio(int n, int volte)
{
    qInstallMessageHandler(soloErrori);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const int volteBase = std::max(1, std::min(volte, 3)); // the slow Qt baselines
    const double memoriaIniziale = MemoriaAttualeMB();

    QTemporaryDir dir;
    if (!dir.isValid())
        fallisci("cartella temporanea non creata");
    const QString cartella = dir.path() + QStringLiteral("/Arvo");
    if (!GeneraCartella(cartella, n))
        fallisci("generazione del database fallita");
    const Percorsi percorsi = Percorsi::DaCartella(cartella);
    DialoghiMuti dialoghi;

    // Start-up to a usable main window: paths, settings, the four tables,
    // the backup copy, then the window built, loaded (list filled and
    // sorted) and shown, with its pending events handled. The previous
    // run's window and state are freed before the clock starts.
    std::unique_ptr<FrmMain> finestra;
    std::unique_ptr<Stato> statoFinestra;
    {
        const auto chiudi = [&] {
            finestra.reset();
            statoFinestra.reset();
        };
        const Tempo t = Misura(volte, chiudi, [&] {
            auto s = std::make_unique<Stato>();
            if (!Main(*s, dialoghi, cartella))
                fallisci("avvio fallito");
            auto f = std::make_unique<FrmMain>(*s, dialoghi);
            f->Form_Load();
            while (!f->isVisible())
                QCoreApplication::processEvents();
            statoFinestra = std::move(s);
            finestra = std::move(f);
        });
        const Tempo b = Misura(volte, [&] { LeggiGrezzi(fileDati(percorsi)); });
        emetti({QStringLiteral("start-up to usable window"), t, QStringLiteral("readAll 5 files"), b, {}, {}});
    }
    const double memoriaAvvio = PiccoMemoriaMB();
    Stato &stato = *statoFinestra;
    FrmMain &frm = *finestra;
    auto *lv = frm.findChild<ListaReport *>(QStringLiteral("LV"));
    auto *txSearch = frm.findChild<QLineEdit *>(QStringLiteral("txSearch"));
    auto *mnuCSV = frm.findChild<QAction *>(QStringLiteral("mnuCSV"));
    if (!lv || !txSearch || !mnuCSV)
        fallisci("controlli della finestra principale non trovati");
    if (lv->numeroRighe() != n)
        fallisci("la lista non mostra tutti i componenti");

    // The start-up sequence alone, without the window.
    {
        const Tempo t = Misura(volte, [&] {
            Stato s;
            if (!Main(s, dialoghi, cartella))
                fallisci("avvio fallito");
        });
        const Tempo b = Misura(volte, [&] { LeggiGrezzi(fileDati(percorsi)); });
        emetti({QStringLiteral("start-up, no window (Main)"), t, QStringLiteral("readAll 5 files"), b, {}, {}});
    }

    // Load alone.
    {
        const Tempo t = Misura(volte, [&] {
            Stato s;
            s.percorsi = percorsi;
            if (!LeggiInfo(s) || !CaricaDatabase(s, dialoghi))
                fallisci("caricamento fallito");
        });
        const Tempo b1 = Misura(volte, [&] { LeggiGrezzi(fileDati(percorsi)); });
        const Tempo b2 = Misura(volte, [&] { LeggiTesto(fileDati(percorsi)); });
        emetti({QStringLiteral("load (CaricaDatabase)"), t, QStringLiteral("readAll"), b1,
                QStringLiteral("text lines (QTextStream)"), b2});
    }

    // Save.
    {
        const QList<QByteArray> contenuti = LeggiGrezzi(fileDati(percorsi));
        const Tempo t = Misura(volte, [&] {
            if (!SalvaDatabase(stato, dialoghi))
                fallisci("salvataggio fallito");
        });
        const Tempo b1 = Misura(volte, [&] { ScriviGrezzi(dir.path(), contenuti, false); });
        const Tempo b2 = Misura(volte, [&] { ScriviGrezzi(dir.path(), contenuti, true); });
        emetti({QStringLiteral("save (SalvaDatabase)"), t, QStringLiteral("write+flush"), b1,
                QStringLiteral("write+flush+fsync"), b2});
    }

    // The main window's list: refilled, sorted by a click on each visible
    // column's header, narrowed by a search; beside a plain QTreeWidget.
    QTreeWidget albero;
    PreparaAlbero(albero);
    QCoreApplication::processEvents();
    const auto riempiAlbero = [&] {
        albero.setSortingEnabled(false);
        RiempiAlbero(albero, RigheListaPrincipale(stato));
    };
    const auto riempiLista = [&] { frm.RiempiLista(); };
    {
        const Tempo t = Misura(volte, riempiLista);
        const Tempo b = Misura(volteBase, riempiAlbero);
        emetti({QStringLiteral("list refill (RiempiLista)"), t, QStringLiteral("QTreeWidget fill"), b, {}, {}});
    }

    static const char *nomiColonne[] = {"CODICE", "PRODUTTORE", "TIPO", "QTA", "DATA"};
    for (int k = 1; k <= 5; ++k) {
        // Each run starts from the list in table order, as after a refill.
        const Tempo t = Misura(volte, riempiLista, [&] { emit lv->intestazioneCliccata(k); });
        const Tempo b = Misura(volteBase, riempiAlbero, [&] { albero.sortItems(k - 1, Qt::AscendingOrder); });
        emetti({QStringLiteral("sort %1 (header click)").arg(QLatin1String(nomiColonne[k - 1])), t,
                QStringLiteral("QTreeWidget sortItems"), b, {}, {}});
    }

    // A search by code: the table scanned, and in the window the list
    // refilled with what was found and the first one shown.
    {
        const QString cerca = QStringLiteral("74hc");
        qsizetype trovati = 0;
        const Tempo tc = Misura(volte, [&] { trovati = CercaCodici(stato, cerca).size(); });
        qsizetype trovatiBase = 0;
        const Tempo b = Misura(volte, [&] {
            trovatiBase = 0;
            const QString maiuscolo = cerca.toUpper();
            for (qint32 i = 1; i <= stato.NumComponenti; ++i)
                trovatiBase += stato.componente(i).Codice.contains(maiuscolo) ? 1 : 0;
        });
        if (trovati != trovatiBase)
            fallisci("la ricerca non trova quel che trova il riferimento");
        emetti({QStringLiteral("search (CercaCodici)"), tc, QStringLiteral("QString::contains loop"), b, {}, {}});
        txSearch->setText(cerca);
        const Tempo t = Misura(volte, riempiLista, [&] { frm.PremiBottone(QStringLiteral("search")); });
        if (lv->numeroRighe() != trovati)
            fallisci("la ricerca nella finestra non mostra quel che trova");
        emetti({QStringLiteral("search in window (%1 found)").arg(trovati), t, QStringLiteral("QString::contains loop"),
                b, {}, {}});
    }

    // The listing of the whole list in its shown order, and the CSV export,
    // from the window's toolbar and menu.
    {
        riempiLista();
        emit lv->intestazioneCliccata(1);
        const QString fileStampa = percorsi.CartellaStampe + NomeFileStampa(Oggi());
        const Tempo t = Misura(volte, [&] { frm.PremiBottone(QStringLiteral("print")); });
        const QList<QByteArray> byteStampa = LeggiGrezzi({fileStampa});
        if (byteStampa[0].count('\n') != n + 8)
            fallisci("la stampa non elenca tutta la lista");
        const Tempo b = Misura(volte, [&] { ScriviGrezzi(dir.path(), byteStampa, false); });
        const Tempo b2 = Misura(volte, [&] { ScriviGrezzi(dir.path(), byteStampa, true); });
        emetti({QStringLiteral("listing (print button)"), t, QStringLiteral("write+flush"), b,
                QStringLiteral("write+flush+fsync"), b2});

        const Tempo tc = Misura(volte, [&] { mnuCSV->trigger(); });
        const QList<QByteArray> byteCSV = LeggiGrezzi({percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv")});
        const Tempo bc = Misura(volte, [&] { ScriviGrezzi(dir.path(), byteCSV, false); });
        const Tempo bc2 = Misura(volte, [&] { ScriviGrezzi(dir.path(), byteCSV, true); });
        emetti({QStringLiteral("CSV export (menu)"), tc, QStringLiteral("write+flush"), bc,
                QStringLiteral("write+flush+fsync"), bc2});
    }

    // The tables window with N/10 entries per table (10,000 for 100,000
    // components): usage counted, three lists filled and sorted, shown.
    {
        const int voci = std::max(n / 10, 1);
        Stato conVoci = statoConVoci(stato, voci);
        AccessoPrincipale principale;
        principale.mostraMessaggio = [](const QString &) {};
        principale.caricaTabelle = [] {};
        const Tempo t = Misura(volte, [&] {
            FrmListe finestra(conVoci, dialoghi, principale);
            finestra.show();
            QCoreApplication::processEvents();
        });
        const Tempo b = Misura(volteBase, [&] {
            for (int tab = 0; tab < 3; ++tab) {
                QTreeWidget w;
                w.setColumnCount(4);
                QList<QTreeWidgetItem *> elementi;
                elementi.reserve(voci);
                for (int i = 1; i <= voci; ++i) {
                    const QString nome = tab == 0 ? conVoci.produttore(i).Nome
                        : tab == 1               ? conVoci.tipo(i).Nome
                                                 : conVoci.package(i).Nome;
                    elementi.append(new QTreeWidgetItem(
                        QStringList{QString::number(i), nome, QStringLiteral("0"), QString::number(i)}));
                }
                w.addTopLevelItems(elementi);
                w.sortItems(1, Qt::AscendingOrder);
                w.show();
                QCoreApplication::processEvents();
            }
        });
        emetti({QStringLiteral("tables window (%1/table)").arg(voci), t, QStringLiteral("3 QTreeWidget sorted"), b,
                {}, {}});
    }

    if (dialoghi.boxes != 0)
        fallisci("messaggi di errore durante la misura");

    Riga mem;
    mem.nome = QStringLiteral("peak memory, window open");
    mem.memoria = true;
    mem.tempo = {memoriaAvvio, 0, true};
    mem.rif1 = QStringLiteral("RSS before load");
    mem.base1 = {memoriaIniziale, 0, true};
    emetti(mem);
    Riga fine = mem;
    fine.nome = QStringLiteral("peak memory, whole run");
    fine.tempo = {PiccoMemoriaMB(), 0, true};
    emetti(fine);
    return 0;
}

// ------------------------------------------------------------ the parent

// Targets at 100,000 components: a limit in ms (or MB), or a ratio to the
// first baseline.
struct Obiettivo {
    double limite = 0;
    double rapporto = 0;
    int baseline = 1;
};

std::optional<Obiettivo> obiettivo(const QString &nome)
{
    if (nome.startsWith(QLatin1String("start-up to")))
        return Obiettivo{1500, 0};
    if (nome.startsWith(QLatin1String("load")))
        return Obiettivo{0, 3, 2};
    if (nome.startsWith(QLatin1String("save")))
        return Obiettivo{0, 3, 2};
    if (nome.startsWith(QLatin1String("list refill")))
        return Obiettivo{150, 0};
    if (nome.startsWith(QLatin1String("sort")))
        return Obiettivo{200, 0};
    if (nome.startsWith(QLatin1String("search in")))
        return Obiettivo{30, 0};
    if (nome.startsWith(QLatin1String("listing")))
        return Obiettivo{150, 0};
    if (nome.startsWith(QLatin1String("CSV")))
        return Obiettivo{100, 0};
    if (nome.startsWith(QLatin1String("tables window")))
        return Obiettivo{300, 0};
    if (nome.startsWith(QLatin1String("peak memory, window")))
        return Obiettivo{300, 0};
    return std::nullopt;
}

QString testoObiettivo(const Riga &r)
{
    const auto o = obiettivo(r.nome);
    if (!o)
        return {};
    // Judged on the wall time and, since a busy machine stretches the wall
    // time of everything, on the processor time too.
    const auto esito = [](bool ok) { return ok ? "ok" : "MISSED"; };
    if (r.memoria)
        return QStringLiteral("<= %1 MB %2").arg(o->limite).arg(esito(r.tempo.muro <= o->limite));
    if (o->limite > 0) {
        return QStringLiteral("<= %1 ms: wall %2, cpu %3")
            .arg(o->limite)
            .arg(esito(r.tempo.muro <= o->limite), esito(r.tempo.cpu <= o->limite));
    }
    // A ratio to plain I/O is judged on the wall time only: the baseline's
    // processor time leaves out the waiting for the disk.
    const Tempo &b = o->baseline == 2 ? r.base2 : r.base1;
    return QStringLiteral("<= %1x base%2: wall %3")
        .arg(o->rapporto)
        .arg(o->baseline)
        .arg(esito(b.muro > 0 && r.tempo.muro <= o->rapporto * b.muro));
}

void stampaRiga(const QString &nome, const Tempo &t, const QString &rif, const Tempo &b, bool memoria,
                const QString &obiettivo)
{
    if (memoria) {
        std::printf("  %-30s %9.1f %9s   %-24s %9.1f %9s %8s  %s\n", qPrintable(nome), t.muro, "MB",
                    qPrintable(rif), b.muro, "MB", "", qPrintable(obiettivo));
        return;
    }
    const QString rapporto = b.valido && b.muro > 0 ? QStringLiteral("%1x").arg(t.muro / b.muro, 0, 'f', 1) : QString();
    std::printf("  %-30s %9.1f %9.1f   %-24s %9.1f %9.1f %8s  %s\n", qPrintable(nome), t.muro, t.cpu,
                qPrintable(rif), b.muro, b.cpu, qPrintable(rapporto), qPrintable(obiettivo));
}

int genitore(const QList<int> &dimensioni, int volte)
{
    std::printf("Arvo benchmark: median of %d runs per figure (Qt baselines: %d), ms unless stated\n", volte,
                std::max(1, std::min(volte, 3)));
    std::map<int, QList<Riga>> risultati;
    for (const int n : dimensioni) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--figlio"), QString::number(n), QStringLiteral("--runs"), QString::number(volte)});
        if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            fallisci("misura di una dimensione fallita");
        QList<Riga> righe;
        for (const QByteArray &linea : p.readAllStandardOutput().split('\n')) {
            if (const auto r = leggiRiga(linea))
                righe.append(*r);
        }
        std::printf("\nN = %d components\n", n);
        std::printf("  %-30s %9s %9s   %-24s %9s %9s %8s  %s\n", "figure", "wall", "cpu", "baseline", "wall",
                    "cpu", "ratio", n == 100000 ? "target (100,000)" : "");
        for (const Riga &r : righe) {
            stampaRiga(r.nome, r.tempo, r.rif1, r.base1, r.memoria, n == 100000 ? testoObiettivo(r) : QString());
            if (!r.rif2.isEmpty())
                stampaRiga(QString(), r.tempo, r.rif2, r.base2, r.memoria, {});
        }
        std::fflush(stdout);
        risultati[n] = righe;
    }

    // Growth between consecutive sizes: a step that grows like N*N shows here.
    for (auto it = risultati.begin(); it != risultati.end(); ++it) {
        const auto prossimo = std::next(it);
        if (prossimo == risultati.end())
            break;
        std::printf("\nGrowth from N = %d to N = %d (x%.0f components; target at most about 12x)\n", it->first,
                    prossimo->first, double(prossimo->first) / it->first);
        for (const Riga &r : prossimo->second) {
            for (const Riga &prima : it->second) {
                if (prima.nome.section(QLatin1Char('('), 0, 0) != r.nome.section(QLatin1Char('('), 0, 0))
                    continue;
                if (r.memoria && prima.tempo.muro > 0)
                    std::printf("  %-30s %7.1fx\n", qPrintable(r.nome), r.tempo.muro / prima.tempo.muro);
                else if (prima.tempo.muro > 0)
                    std::printf("  %-30s %7.1fx wall %7.1fx cpu\n", qPrintable(r.nome), r.tempo.muro / prima.tempo.muro,
                                prima.tempo.cpu > 0 ? r.tempo.cpu / prima.tempo.cpu : 0.0);
                break;
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    int volte = 5;
    QList<int> dimensioni = {1000, 10000, 100000};
    int unaDimensione = 0;
    for (qsizetype i = 1; i < a.size(); ++i) {
        const bool valore = i + 1 < a.size();
        if (a[i] == QLatin1String("--runs") && valore) {
            volte = a[++i].toInt();
        } else if (a[i] == QLatin1String("--sizes") && valore) {
            dimensioni.clear();
            for (const QString &s : a[++i].split(QLatin1Char(','), Qt::SkipEmptyParts))
                dimensioni.append(s.toInt());
        } else if (a[i] == QLatin1String("--figlio") && valore) {
            unaDimensione = a[++i].toInt();
        } else {
            std::fprintf(stderr, "uso: arvo_bench [--runs K] [--sizes 1000,10000,100000]\n");
            return 2;
        }
    }
    if (volte < 1 || dimensioni.isEmpty() || std::any_of(dimensioni.begin(), dimensioni.end(), [](int n) { return n < 1; })) {
        std::fprintf(stderr, "uso: arvo_bench [--runs K] [--sizes 1000,10000,100000]\n");
        return 2;
    }
    std::sort(dimensioni.begin(), dimensioni.end());
    return unaDimensione > 0 ? figlio(unaDimensione, volte) : genitore(dimensioni, volte);
}
