// Labels at scale: 1,000 labels (the first thousand components by code) to
// a PDF in the Stampe folder, at each format, as the labels window writes
// them (the drawing, the DataMatrix symbols, the file written whole); the
// preview of the first page; and the listing of the whole table to PDF.
// Beside each figure, the same pages with only each label's code drawn
// (no symbol, no layout): what the page output itself costs.
//
//   build/release/bench/arvo_bench_etichette [N] [runs]     (default 1000 7)

#include "lib/generatore.h"
#include "lib/misura.h"
#include "reports/stampa.h"
#include "store/orologio.h"
#include "store/stato.h"
#include "ui/etichette/disegnoetichette.h"
#include "ui/etichette/frmetichette.h"
#include "ui/widgets/pagine.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void stampa(const char *nome, const Tempo &t, const Tempo &base, const char *nomeBase, double obiettivo = 0)
{
    std::printf("%-34s %8.1f %8.1f   vs %-26s %8.1f %8.1f   ratio %5.2f", nome, t.muro, t.cpu, nomeBase, base.muro,
                base.cpu, base.muro > 0 ? t.muro / base.muro : 0.0);
    if (obiettivo > 0)
        std::printf("   target %.0f ms %s", obiettivo, t.muro <= obiettivo ? "ok" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}

// Only each label's code in its place: the baseline.
bool soloCodici(QPagedPaintDevice &d, const LavoroEtichette &l)
{
    QPainter p;
    if (!p.begin(&d))
        return false;
    const double perMm = d.logicalDpiX() / 25.4;
    const QList<PostoEtichetta> posti = PostiEtichette(l.formato, int(l.etichette.size()), l.inizio);
    int pagina = 0;
    for (qsizetype i = 0; i < posti.size(); ++i) {
        while (pagina < posti[i].pagina) {
            d.newPage();
            ++pagina;
        }
        const QRectF &r = posti[i].rettangolo;
        p.drawText(QPointF(r.x() * perMm + 50, r.y() * perMm + 100), l.etichette[i].codice);
    }
    return p.end();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int volte = argc > 2 ? std::atoi(argv[2]) : 7;
    std::printf("%d labels, median of %d runs; wall and cpu in ms\n\n", n, volte);

    QTemporaryDir dir;
    if (!dir.isValid())
        fallisci("cartella temporanea");
    Stato stato;
    stato.percorsi = Percorsi::DaCartella(dir.path());
    QDir().mkpath(stato.percorsi.CartellaStampe);
    GeneraDatabase(stato, n);
    stato.CampoPosizione = 1;
    const QList<qint32> posizioni = PosizioniPerCodice(stato);
    const QString file = PercorsoPdfEtichette(stato);

    for (const FormatoEtichette &formato : FormatiEtichette()) {
        LavoroEtichette lavoro;
        lavoro.formato = formato;
        // As the window builds it: the contents, then the pages.
        const auto costruisci = [&] {
            lavoro.etichette.clear();
            for (const qint32 p : posizioni)
                lavoro.etichette.append(ContenutoDi(stato, p, stato.CampoPosizione));
        };
        const Tempo t = Misura(volte, [&] {
            costruisci();
            if (!ScriviPdf(file, PaginaEtichette(formato), QStringLiteral("Etichette"),
                           [&](QPagedPaintDevice &d) { return DisegnaEtichette(d, lavoro); }))
                fallisci("pdf");
        });
        const qint64 byte = QFileInfo(file).size();
        const Tempo base = Misura(volte, [&] {
            if (!ScriviPdf(file, PaginaEtichette(formato), QStringLiteral("Etichette"),
                           [&](QPagedPaintDevice &d) { return soloCodici(d, lavoro); }))
                fallisci("pdf");
        });
        const QByteArray nome = QStringLiteral("PDF, %1 pages").arg(lavoro.pagine()).toUtf8();
        std::printf("%s (%.0f kB)\n", qPrintable(formato.nome), double(byte) / 1024);
        stampa(nome.constData(), t, base, "codes only", 3000);
        const Tempo anteprima = Misura(volte, [&] { (void)ImmaginePaginaEtichette(lavoro, 0, 36); });
        std::printf("%-34s %8.1f %8.1f\n\n", "preview, first page", anteprima.muro, anteprima.cpu);
    }

    const QString testo = TestoStampa(stato, posizioni, Oggi());
    const QString listato = stato.percorsi.CartellaStampe + QStringLiteral("Stampa.pdf");
    const Tempo lista = Misura(volte, [&] {
        if (!ScriviPdf(listato, PaginaTesto(), QStringLiteral("Stampa"),
                       [&](QPagedPaintDevice &d) { return DisegnaTesto(d, testo); }))
            fallisci("pdf");
    });
    const Tempo file1 = Misura(volte, [&] { (void)TestoStampa(stato, posizioni, Oggi()); });
    stampa("listing to PDF", lista, file1, "listing text only");
    return 0;
}
