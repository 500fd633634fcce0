// The dated copies at scale: what they add to a start of N components (data
// unchanged since the last copy, so every file is linked; and with
// Componenti.dat changed, so that file is written afresh), and going back to
// a copy with "Ripristina" (the current files kept as a copy, the copy's
// files written as one set, the data loaded again).
//
//   build/release/bench/arvo_bench_copie [N] [runs]     (default 100000 7)

#include "copie/copie.h"
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/misura.h"
#include "startup/avvio.h"
#include "store/ini.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void stampa(const char *nome, const Tempo &t, const Tempo &base = {}, const char *nomeBase = nullptr)
{
    if (nomeBase && base.valido)
        std::printf("%-48s %8.1f %8.1f   vs %-34s %8.1f %8.1f   extra wall %+7.1f cpu %+7.1f\n", nome, t.muro,
                    t.cpu, nomeBase, base.muro, base.cpu, t.muro - base.muro, t.cpu - base.cpu);
    else
        std::printf("%-48s %8.1f %8.1f\n", nome, t.muro, t.cpu);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int volte = argc > 2 ? std::atoi(argv[2]) : 7;
    std::printf("N = %d, median of %d runs; wall and cpu in ms\n\n", n, volte);

    QTemporaryDir dir;
    if (!dir.isValid())
        fallisci("cartella temporanea");
    const QString cartella = dir.path() + QStringLiteral("/Arvo");
    if (!GeneraCartella(cartella, n))
        fallisci("generazione");
    DialoghiMuti dialoghi;
    const auto avvia = [&] {
        Stato s;
        if (!Main(s, dialoghi, cartella))
            fallisci("avvio");
    };
    const Percorsi percorsi = Percorsi::DaCartella(cartella);
    qint64 byte = 0;
    for (const QString &f : {percorsi.FileComponenti, percorsi.FileTipi, percorsi.FileProduttori,
                             percorsi.FilePackages, percorsi.FileIni})
        byte += QFileInfo(f).size();
    std::printf("data files: %.1f MB\n\n", double(byte) / (1024 * 1024));

    // Runs alternate between the two kinds of start, so both see the same
    // state of the machine; the first start makes the copy the others link to.
    avvia();
    QList<double> senzaMuro, senzaCpu, conMuro, conCpu;
    for (int i = 0; i < volte; ++i) {
        ImpostaCopieAllAvvio(false);
        const Tempo a = Misura(1, avvia);
        ImpostaCopieAllAvvio(true);
        const Tempo b = Misura(1, avvia);
        senzaMuro << a.muro;
        senzaCpu << a.cpu;
        conMuro << b.muro;
        conCpu << b.cpu;
    }
    const Tempo senza{Mediana(senzaMuro), Mediana(senzaCpu), true};
    const Tempo con{Mediana(conMuro), Mediana(conCpu), true};
    stampa("start-up (Main) without copies", senza);
    stampa("start-up (Main), copy linked (data unchanged)", con, senza, "without copies (target +100 ms)");

    // Componenti.dat changed by a save before each start (not timed): that
    // file is written into the copy, the other four linked.
    Stato stato;
    if (!Main(stato, dialoghi, cartella))
        fallisci("avvio");
    const auto cambia = [&] {
        ++stato.componente(1).Quantita;
        if (!SalvaDatabase(stato, dialoghi))
            fallisci("salvataggio");
    };
    const Tempo cambiato = Misura(volte, cambia, avvia);
    ImpostaCopieAllAvvio(false);
    const Tempo cambiatoSenza = Misura(volte, cambia, avvia);
    ImpostaCopieAllAvvio(true);
    stampa("start-up (Main), Componenti.dat changed", cambiato, cambiatoSenza, "the same without copies");
    std::printf("\n");

    // Ripristina between two copies that differ: each run goes back to the
    // other one, keeping the current files as a copy first.
    if (!Main(stato, dialoghi, cartella))
        fallisci("avvio");
    const QList<CopiaDatata> copie = ElencoCopie(percorsi);
    if (copie.size() < 2)
        fallisci("copie");
    const CopiaDatata uno = copie[0], due = copie[1];
    int giro = 0;
    const Tempo ripristino = Misura(volte, [&] {
        if (!RipristinaCopia(stato, giro++ % 2 ? uno : due) || !RicaricaArchivio(stato, dialoghi))
            fallisci("ripristino");
    });
    const Tempo salvaECarica = Misura(volte, [&] {
        Stato s;
        s.percorsi = percorsi;
        if (!SalvaDatabase(stato, dialoghi) || !LeggiInfo(s) || !CaricaDatabase(s, dialoghi))
            fallisci("salvataggio e caricamento");
    });
    stampa("Ripristina (RipristinaCopia + RicaricaArchivio)", ripristino, salvaECarica,
           "one save + one load");
    std::printf("copies kept: %lld\n", qlonglong(ElencoCopie(percorsi).size()));
    return dialoghi.boxes == 0 ? 0 : 1;
}
