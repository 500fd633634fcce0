// The history window on a history of 10,000, 100,000 and 1,000,000 lines
// (over 20,000 generated components, operations of one to five lines of
// every kind, one line in fifty a deletion with its whole record):
//
//   open, all lines        the file indexed, the window built and shown,
//                          its visible rows painted (a grab of the window)
//   open, one component    the same with "only this component" ticked
//   filter "74hc"          a text typed into the search box, applied and
//                          the rows painted again (the pause is not timed)
//   filter "e"             a one-letter text, which most lines hold
//
// The baseline of the openings is reading the file whole with QFile; that
// of the filters is one pass over the file's bytes looking for the text
// (QByteArray::indexOf, case as typed).
//
//   QT_QPA_PLATFORM=offscreen build/release/bench/arvo_bench_storico [--runs K] [--lines 10000,100000]

#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/misura.h"
#include "lib/storicofinto.h"
#include "movimenti/indice.h"
#include "movimenti/righeoperazione.h"
#include "store/stato.h"
#include "ui/storico/frmstorico.h"
#include "ui/storico/modellostorico.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void Riga(const char *cosa, qint64 n, const Tempo &t, const char *base, const Tempo &b, const char *nota = "")
{
    std::printf("%-24s %9lld  %9.2f %9.2f   %-18s %9.2f %9.2f   x%-6.2f %s\n", cosa, qlonglong(n), t.muro, t.cpu, base,
                b.muro, b.cpu, b.muro > 0 ? t.muro / b.muro : 0.0, nota);
    std::fflush(stdout);
}

QList<int> Numeri(const QString &testo)
{
    QList<int> n;
    for (const QString &parte : testo.split(QLatin1Char(',')))
        n << parte.toInt();
    return n;
}

// The offscreen platform's notes (size hints, runtime folder) would only
// clutter the table; real errors still get through.
void SoloErrori(QtMsgType tipo, const QMessageLogContext &, const QString &testo)
{
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(testo));
}

// The window as ApriFinestraStorico opens it, shown and painted.
std::unique_ptr<FrmStorico> Apri(Stato &s, DialoghiMuti &d, const AccessoStorico &accesso)
{
    auto indice = std::make_unique<IndiceMovimenti>();
    if (!indice->apri(s.percorsi.FileMovimenti))
        std::abort();
    auto f = std::make_unique<FrmStorico>(s, d, accesso, std::move(indice));
    f->show();
    QCoreApplication::processEvents();
    (void)f->grab();
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(SoloErrori);
    int volte = 7;
    QList<int> linee{10000, 100000, 1000000};
    const QStringList argomenti = app.arguments();
    for (int i = 1; i + 1 < argomenti.size(); i += 2) {
        if (argomenti[i] == QLatin1String("--runs"))
            volte = argomenti[i + 1].toInt();
        else if (argomenti[i] == QLatin1String("--lines"))
            linee = Numeri(argomenti[i + 1]);
    }
    QTemporaryDir dir;
    Stato s;
    s.percorsi = Percorsi::DaCartella(dir.path());
    GeneraDatabase(s, 20000);
    DialoghiMuti d;
    std::printf("%-24s %9s  %9s %9s   %-18s %9s %9s   %s\n", "figure", "lines", "wall ms", "cpu ms", "baseline",
                "wall ms", "cpu ms", "ratio");
    for (const int n : linee) {
        const QByteArray dati = StoricoFinto(s, n, 11);
        QFile f(s.percorsi.FileMovimenti);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(dati) != dati.size())
            return 1;
        f.close();
        std::printf("-- history of %d lines, %.1f MB\n", n, double(dati.size()) / 1e6);
        const Tempo leggi = Misura(volte, [&] {
            QFile g(s.percorsi.FileMovimenti);
            if (!g.open(QIODevice::ReadOnly) || g.readAll().size() != dati.size())
                std::abort();
        });
        AccessoStorico tutte;
        const Tempo apriTutte = Misura(volte, [&] {
            auto w = Apri(s, d, tutte);
            if (w->modello().righe().size() != std::size_t(n))
                std::abort();
        });
        Riga("open, all lines", n, apriTutte, "read whole file", leggi,
             apriTutte.muro <= 300 ? "ok (<= 300 ms)" : "MISSED (> 300 ms)");
        AccessoStorico uno;
        uno.idComponente = s.componente(s.NumComponenti / 2).ID;
        uno.codiceComponente = s.componente(s.NumComponenti / 2).Codice;
        const Tempo apriUno = Misura(volte, [&] { Apri(s, d, uno); });
        Riga("open, one component", n, apriUno, "read whole file", leggi,
             apriUno.muro <= 300 ? "ok (<= 300 ms)" : "MISSED (> 300 ms)");

        auto w = Apri(s, d, tutte);
        auto *testo = w->findChild<QLineEdit *>(QStringLiteral("txFiltroStorico"));
        for (const char *cercato : {"74hc", "e"}) {
            const Tempo filtro = Misura(
                volte, [&] { testo->setText(QString()); w->Filtra(); },
                [&] {
                    testo->setText(QString::fromLatin1(cercato));
                    w->Filtra();
                    (void)w->grab();
                });
            const Tempo scorri = Misura(volte, [&] {
                if (dati.indexOf(cercato) < -1)
                    std::abort();
                qsizetype quante = 0;
                for (qsizetype p = dati.indexOf(cercato); p >= 0; p = dati.indexOf(cercato, p + 1))
                    ++quante;
                if (quante < 0)
                    std::abort();
            });
            const QByteArray nome = QByteArrayLiteral("filter \"") + cercato + '"';
            Riga(nome.constData(), n, filtro, "scan for the text", scorri,
                 QByteArray::number(qulonglong(w->modello().righe().size())).append(" lines found").constData());
        }
    }
    if (d.boxes != 0) {
        std::fprintf(stderr, "messaggi durante la misura\n");
        return 1;
    }
    std::printf("peak memory %.0f MB\n", PiccoMemoriaMB());
    return 0;
}
