// The stock history: what it costs a save, an append, and opening a
// history of 10,000, 100,000 and 1,000,000 lines for the history window.
//
//   save with / without history   SalvaDatabase against SalvaOperazione
//                                 with one line, at N components, runs
//                                 taken in turns (target: at most +10%)
//   append                        one operation's line appended to a long
//                                 history through the journal, against a
//                                 plain append + fsync
//   open                          IndiceMovimenti::apri (map + one scan),
//                                 against reading the file whole
//   window ready                  apri + the lines of one component, newest
//                                 first + the first 40 of them read, as the
//                                 window opens (target: 300 ms)
//   text filter                   the lines whose code or Movimento holds
//                                 "74hc", on the whole history
//
//   arvo_bench_movimenti [--runs K] [--components N] [--lines 10000,100000,1000000]
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/misura.h"
#include "lib/storicofinto.h"
#include "movimenti/indice.h"
#include "movimenti/registro.h"
#include "movimenti/righeoperazione.h"
#include "startup/avvio.h"
#include "store/ini.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace {

void Riga(const char *cosa, qint64 n, const Tempo &t, const char *base, const Tempo &b, const char *obiettivo = "")
{
    std::printf("%-28s %9lld  %9.2f %9.2f   %-22s %9.2f %9.2f   x%-6.2f %s\n", cosa, qlonglong(n), t.muro, t.cpu,
                base, b.muro, b.cpu, b.muro > 0 ? t.muro / b.muro : 0.0, obiettivo);
    std::fflush(stdout);
}

bool Scrivi(const QString &percorso, const QByteArray &dati)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(dati) == dati.size();
}

QList<int> Numeri(const QString &testo)
{
    QList<int> n;
    for (const QString &parte : testo.split(QLatin1Char(',')))
        n << parte.toInt();
    return n;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int volte = 7;
    int componenti = 100000;
    QList<int> linee{10000, 100000, 1000000};
    const QStringList argomenti = app.arguments();
    for (int i = 1; i + 1 < argomenti.size(); i += 2) {
        if (argomenti[i] == QLatin1String("--runs"))
            volte = argomenti[i + 1].toInt();
        else if (argomenti[i] == QLatin1String("--components"))
            componenti = argomenti[i + 1].toInt();
        else if (argomenti[i] == QLatin1String("--lines"))
            linee = Numeri(argomenti[i + 1]);
    }
    QTemporaryDir dir;
    const QString cartella = dir.path() + QStringLiteral("/Arvo");
    if (!GeneraCartella(cartella, componenti)) {
        std::fprintf(stderr, "generazione fallita\n");
        return 1;
    }
    Stato s;
    s.percorsi = Percorsi::DaCartella(cartella);
    DialoghiMuti d;
    if (!LeggiInfo(s) || !CaricaDatabase(s, d))
        return 1;
    std::printf("%-28s %9s  %9s %9s   %-22s %9s %9s   %s\n", "figure", "N", "wall ms", "cpu ms", "baseline",
                "wall ms", "cpu ms", "ratio");

    // A save with and without its history line, in turns, on a folder whose
    // history already holds 100,000 lines.
    if (!Scrivi(s.percorsi.FileMovimenti, StoricoFinto(s, 100000)))
        return 1;
    QList<double> senza, con, cpuSenza, cpuCon;
    for (int i = 0; i < 2 * volte + 1; ++i) {
        Componente &c = s.Componenti[i % s.NumComponenti];
        const Componente prima = c;
        c.Quantita += 1;
        const QList<RigaMovimento> righe = RigheSalvataggio(&prima, c);
        for (bool storico : {false, true}) {
            const double cpu = TempoCpuMs();
            QElapsedTimer t;
            t.start();
            if (!(storico ? SalvaOperazione(s, d, righe) : SalvaDatabase(s, d)))
                return 1;
            (storico ? con : senza).append(double(t.nsecsElapsed()) / 1e6);
            (storico ? cpuCon : cpuSenza).append(TempoCpuMs() - cpu);
        }
    }
    const Tempo tSenza{Mediana(senza), Mediana(cpuSenza), true}, tCon{Mediana(con), Mediana(cpuCon), true};
    Riga("save with history", componenti, tCon, "save without", tSenza,
         tCon.muro <= tSenza.muro * 1.10 ? "ok (<= x1.10)" : "MISSED (> x1.10)");

    for (const int n : linee) {
        const QString percorso = dir.path() + QStringLiteral("/Movimenti-%1.csv").arg(n);
        const QByteArray dati = StoricoFinto(s, n);
        if (!Scrivi(percorso, dati))
            return 1;
        std::printf("-- history of %d lines, %.1f MB\n", n, double(dati.size()) / 1e6);
        const Tempo leggi = Misura(volte, [&] {
            QFile f(percorso);
            if (!f.open(QIODevice::ReadOnly) || f.readAll().size() != dati.size())
                std::abort();
        });
        const Tempo apri = Misura(volte, [&] {
            IndiceMovimenti indice;
            if (!indice.apri(percorso) || indice.conteggio() != n)
                std::abort();
        });
        Riga("open (index)", n, apri, "read whole file", leggi);
        const qint32 id = s.Componenti[s.NumComponenti / 2].ID;
        const Tempo finestra = Misura(volte, [&] {
            IndiceMovimenti indice;
            if (!indice.apri(percorso))
                std::abort();
            const std::vector<qint32> scelte = indice.filtra(id, QString());
            for (std::size_t k = 0; k < scelte.size() && k < 40; ++k) {
                if (!indice.riga(scelte[k]))
                    std::abort();
            }
        });
        Riga("window ready (1 component)", n, finestra, "read whole file", leggi,
             finestra.muro <= 300 ? "ok (<= 300 ms)" : "MISSED (> 300 ms)");
        const Tempo tutte = Misura(volte, [&] {
            IndiceMovimenti indice;
            if (!indice.apri(percorso))
                std::abort();
            const std::vector<qint32> scelte = indice.filtra(0, QString());
            for (std::size_t k = 0; k < scelte.size() && k < 40; ++k) {
                if (!indice.riga(scelte[k]))
                    std::abort();
            }
        });
        Riga("window ready (all lines)", n, tutte, "read whole file", leggi,
             tutte.muro <= 300 ? "ok (<= 300 ms)" : "MISSED (> 300 ms)");
        IndiceMovimenti indice;
        indice.apri(percorso);
        const Tempo testo = Misura(volte, [&] { indice.filtra(0, QStringLiteral("74hc")); });
        Riga("text filter \"74hc\"", n, testo, "read whole file", leggi);

        // One line appended through the journal, against a plain append.
        const QString cartellaStorico = dir.path();
        const QString nome = QStringLiteral("Movimenti-%1.csv").arg(n);
        const QByteArray riga = TestoRigaMovimento(*indice.riga(indice.conteggio() - 1));
        const Tempo aggiunta = Misura(volte, [&] {
            if (!ScriviInsieme(cartellaStorico, {{nome, riga, true}}))
                std::abort();
        });
        const Tempo semplice = Misura(volte, [&] {
            QFile f(percorso);
            if (!f.open(QIODevice::Append) || f.write(riga) != riga.size() || !f.flush() || ::fsync(f.handle()) != 0)
                std::abort();
        });
        Riga("append (journal)", n, aggiunta, "append + fsync", semplice);
    }
    if (d.boxes != 0) {
        std::fprintf(stderr, "messaggi di errore durante la misura\n");
        return 1;
    }
    std::printf("peak memory %.0f MB\n", PiccoMemoriaMB());
    return 0;
}
