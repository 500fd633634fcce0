// Load and save times of the data store for 1,000, 10,000 and 100,000
// components, each beside a baseline of plain file I/O on the same bytes
// measured in the same run:
//   caricamento  LeggiInfo + CaricaDatabase  | read the five files whole
//   salvataggio  SalvaDatabase (crash-safe)  | write the same bytes + flush,
//                                              and + fsync as the save does
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "store/ini.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

constexpr int kRipetizioni = 7;

double mediana(const std::function<void()> &f)
{
    std::vector<double> tempi;
    for (int i = 0; i < kRipetizioni; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        tempi.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(tempi.begin(), tempi.end());
    return tempi[tempi.size() / 2];
}

QStringList fileDati(const Percorsi &p)
{
    return {p.FileIni, p.FileComponenti, p.FileTipi, p.FileProduttori, p.FilePackages};
}

void riga(const char *cosa, int n, double ms, const char *base, double msBase)
{
    std::printf("%-12s %7d  %9.2f ms   %-22s %9.2f ms   x%.2f\n", cosa, n, ms, base, msBase,
                msBase > 0 ? ms / msBase : 0.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("%-12s %7s  %12s   %-22s %12s   %s\n", "misura", "N", "mediana", "riferimento",
                "mediana", "rapporto");
    for (int n : {1000, 10000, 100000}) {
        QTemporaryDir dir;
        const QString cartella = dir.path() + QStringLiteral("/Arvo");
        if (!GeneraCartella(cartella, n)) {
            std::fprintf(stderr, "generazione fallita\n");
            return 1;
        }
        const Percorsi percorsi = Percorsi::DaCartella(cartella);
        DialoghiMuti d;

        // The old state is freed outside the timed part: only the load counts.
        Stato caricato;
        std::vector<double> tempiCarica;
        for (int i = 0; i < kRipetizioni; ++i) {
            Stato nuovo;
            nuovo.percorsi = percorsi;
            QElapsedTimer t;
            t.start();
            if (!LeggiInfo(nuovo) || !CaricaDatabase(nuovo, d))
                std::abort();
            tempiCarica.push_back(t.nsecsElapsed() / 1e6);
            caricato = std::move(nuovo);
        }
        std::sort(tempiCarica.begin(), tempiCarica.end());
        const double carica = tempiCarica[tempiCarica.size() / 2];
        QList<QByteArray> contenuti;
        const double leggi = mediana([&] {
            contenuti.clear();
            for (const QString &f : fileDati(percorsi)) {
                QFile file(f);
                if (!file.open(QIODevice::ReadOnly))
                    std::abort();
                contenuti.append(file.readAll());
            }
        });
        riga("caricamento", n, carica, "lettura file", leggi);

        const double salva = mediana([&] {
            if (!SalvaDatabase(caricato, d))
                std::abort();
        });
        const auto scriviTutto = [&](bool sincronizza) {
            for (int i = 0; i < contenuti.size(); ++i) {
                QFile file(dir.path() + QStringLiteral("/copia%1").arg(i));
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    std::abort();
                file.write(contenuti[i]);
                file.flush();
                if (sincronizza)
                    ::fsync(file.handle());
            }
        };
        const double scrivi = mediana([&] { scriviTutto(false); });
        const double scriviSync = mediana([&] { scriviTutto(true); });
        riga("salvataggio", n, salva, "scrittura+flush", scrivi);
        riga("salvataggio", n, salva, "scrittura+flush+fsync", scriviSync);
        if (d.boxes != 0) {
            std::fprintf(stderr, "messaggi di errore durante la misura\n");
            return 1;
        }
    }
    return 0;
}
