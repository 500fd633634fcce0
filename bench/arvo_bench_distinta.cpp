// Checking a bill of materials against the stock: a BOM of 2,000 lines
// (KiCad's grouped layout, quoted reference lists, some lines by MPN, some
// in lower case, some not in stock) against a generated database.
//
//   build/release/bench/arvo_bench_distinta [components] [lines] [runs]
//
// Rows: the check in the core (reading the CSV bytes, building the code
// index, matching and computing the outcomes for two boards, then again
// after picking a component for every ambiguous line), and the same
// with the window built and its list filled and shown. The baseline reads
// the same bytes split into lines and fields with QString::split and looks
// every code up in a QHash built from the codes as they are.

#include "distinta/letturadistinta.h"
#include "distinta/verificadistinta.h"
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/misura.h"
#include "store/stato.h"
#include "ui/distinta/frmdistinta.h"

#include <QApplication>
#include <QHash>
#include <QRandomGenerator>

#include <cstdio>

namespace {

QByteArray Distinta(const Stato &s, int righe)
{
    QRandomGenerator rng(20261206);
    QByteArray bom = "\"Refs\",\"Value\",\"Footprint\",\"Qty\",\"MPN\"\r\n";
    for (int i = 1; i <= righe; ++i) {
        const Componente &c = s.componente(1 + int(rng.bounded(quint32(s.NumComponenti))));
        QByteArray codice = c.Codice.toUtf8();
        const quint32 tipo = rng.bounded(10u);
        if (tipo == 0)
            codice = "NONESISTE" + QByteArray::number(i); // not in stock
        else if (tipo < 4)
            codice = codice.toLower();
        const QByteArray riferimenti = "R" + QByteArray::number(3 * i) + ",R" + QByteArray::number(3 * i + 1)
            + ",R" + QByteArray::number(3 * i + 2);
        const bool perMpn = tipo >= 7;
        bom += "\"" + riferimenti + "\",\"" + (perMpn ? QByteArray("10k") : codice)
            + "\",\"Package_DIP:DIP-8_W7.62mm\",\"3\",\"" + (perMpn ? codice : QByteArray()) + "\"\r\n";
    }
    return bom;
}

void Riga(const char *nome, Tempo t, Tempo base, double obiettivo)
{
    std::printf("%-34s %9.1f %9.1f %11.1f %9.1f %7.1fx   %s\n", nome, t.muro, t.cpu, base.muro, base.cpu,
                base.muro > 0 ? t.muro / base.muro : 0.0,
                obiettivo <= 0 ? "" : t.muro <= obiettivo ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int righe = argc > 2 ? std::atoi(argv[2]) : 2000;
    const int volte = argc > 3 ? std::atoi(argv[3]) : 7;

    Stato stato;
    GeneraDatabase(stato, n);
    const QByteArray bom = Distinta(stato, righe);
    std::printf("BOM of %d lines (%lld bytes) against %d components, median of %d runs, ms\n\n", righe,
                static_cast<long long>(bom.size()), n, volte);
    std::printf("%-34s %9s %9s %11s %9s %8s   %s\n", "figure", "wall", "cpu", "baseline", "cpu", "ratio",
                "target 200");

    QString riepilogo;
    const Tempo nucleo = Misura(volte, [&] {
        VerificaDistinta v(stato, LeggiDistinta(bom));
        v.calcola(stato, 2);
        // The generated database repeats codes: the lines that match
        // several components get their first one, as a user would pick.
        for (int i = 0; i < v.voci().size(); ++i) {
            if (v.voci()[i].esito == EsitoRiga::DaScegliere)
                v.scegli(i, v.voci()[i].candidati.first());
        }
        v.calcola(stato, 2);
        riepilogo = TestoRiepilogo(v.riepilogo());
    });

    qsizetype trovate = 0;
    const Tempo base = Misura(volte, [&] {
        QHash<QString, qint32> codici;
        codici.reserve(stato.NumComponenti);
        for (qint32 i = 1; i <= stato.NumComponenti; ++i)
            codici.insert(stato.componente(i).Codice, i);
        trovate = 0;
        const QStringList linee = QString::fromUtf8(bom).split(QStringLiteral("\r\n"));
        for (const QString &l : linee) {
            const QStringList campi = l.split(QStringLiteral("\",\""));
            if (campi.size() > 1 && codici.contains(campi[1]))
                ++trovate;
        }
    });
    Riga("check (read, index, match, 2 boards)", nucleo, base, 200);

    DialoghiMuti dialoghi;
    const LetturaDistinta lettura = LeggiDistinta(bom);
    const Tempo finestra = Misura(volte, [&] {
        FrmDistinta f(stato, dialoghi, AccessoDistinta{}, QStringLiteral("scheda.csv"), lettura);
        f.show();
        QCoreApplication::processEvents();
    });
    Riga("window (built, list filled, shown)", finestra, Tempo{}, 0);
    std::printf("\nOutcomes: %s; the baseline found %lld values as written\n", qPrintable(riepilogo),
                static_cast<long long>(trovate));
    return 0;
}
