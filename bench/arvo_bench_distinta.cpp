// Checking a bill of materials against the stock: a BOM of 2,000 lines
// (KiCad's grouped layout, quoted reference lists, some lines by MPN, some
// in lower case, some not in stock) against a generated database, with a
// quarter of its lines linked by hand.
//
//   build/release/bench/arvo_bench_distinta [components] [lines] [runs]
//
// Rows: the check in the core (reading the CSV bytes, building the code
// index, matching and computing the outcomes for two boards, then again
// after picking a component for every ambiguous line), without links and
// with them (the links file parsed as well); the window built with its list
// filled and shown; and the search box that finds a component to link to,
// for the first key typed (its index of codes and descriptions is built
// then) and for a later one. The check's baseline reads the same bytes
// split into lines and fields with QString::split and looks every code up in
// a QHash built from the codes as they are; the search's baseline is the
// main window's search by code and description (CercaCodici) of the same
// text.

#include "components/operazioni.h"
#include "distinta/collegamenti.h"
#include "distinta/letturadistinta.h"
#include "distinta/verificadistinta.h"
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/misura.h"
#include "store/stato.h"
#include "ui/distinta/frmdistinta.h"

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray Distinta(const Stato &s, int righe)
{
    QRandomGenerator rng(20261206);
    // Every line has a footprint of its own: a BOM tool has grouped the
    // parts already, so that no two lines are joined into one.
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
            + "\",\"Package_SO:SOIC-8_" + QByteArray::number(i) + "\",\"3\",\"" + (perMpn ? codice : QByteArray())
            + "\"\r\n";
    }
    return bom;
}

// Links for one line in four, to components picked at random: the file's
// content as the window would have saved it.
QByteArray TestoCollegamenti(const Stato &s, const LetturaDistinta &lettura)
{
    QRandomGenerator rng(20261207);
    Collegamenti c;
    for (qsizetype i = 0; i < lettura.righe.size(); i += 4) {
        const Componente &k = s.componente(1 + int(rng.bounded(quint32(s.NumComponenti))));
        c.collega(lettura.righe[i], k.ID, k.Codice);
    }
    return c.testo();
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
    std::printf("BOM of %d lines (%lld bytes, %d joined as the same part) against %d components, median of %d "
                "runs, ms\n\n",
                righe, static_cast<long long>(bom.size()), LeggiDistinta(bom).righeUnite, n, volte);
    std::printf("%-34s %9s %9s %11s %9s %8s   %s\n", "figure", "wall", "cpu", "baseline", "cpu", "ratio",
                "target");

    const QByteArray collegamenti = TestoCollegamenti(stato, LeggiDistinta(bom));
    QString riepilogo, riepilogoCollegati;
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

    const Tempo conCollegamenti = Misura(volte, [&] {
        VerificaDistinta v(stato, LeggiDistinta(bom), Collegamenti::DaTesto(collegamenti));
        v.calcola(stato, 2);
        for (int i = 0; i < v.voci().size(); ++i) {
            if (v.voci()[i].esito == EsitoRiga::DaScegliere)
                v.scegli(i, v.voci()[i].candidati.first());
        }
        v.calcola(stato, 2);
        riepilogoCollegati = TestoRiepilogo(v.riepilogo());
    });
    Riga("check with links (1 line in 4)", conCollegamenti, base, 200);

    // The window reads the links from the data folder.
    QTemporaryDir cartella;
    stato.percorsi = Percorsi::DaCartella(cartella.path());
    QFile file(cartella.filePath(NomeFileCollegamenti));
    if (!file.open(QIODevice::WriteOnly) || file.write(collegamenti) != collegamenti.size())
        return 1;
    file.close();
    DialoghiMuti dialoghi;
    const LetturaDistinta lettura = LeggiDistinta(bom);
    const Tempo finestra = Misura(volte, [&] {
        FrmDistinta f(stato, dialoghi, AccessoDistinta{}, QStringLiteral("scheda.csv"), lettura);
        f.show();
        QCoreApplication::processEvents();
    });
    Riga("window (built, list filled, shown)", finestra, Tempo{}, 0);

    // The search box: a key typed, the list of components found refilled
    // and drawn. The first key also builds the search's index.
    const QString cercato = QStringLiteral("74hc");
    qsizetype perCodici = 0;
    const Tempo cercaBase = Misura(volte, [&] { perCodici = CercaCodici(stato, cercato, true).size(); });
    std::unique_ptr<FrmDistinta> f;
    const Tempo primoTasto = Misura(
        volte,
        [&] {
            f = std::make_unique<FrmDistinta>(stato, dialoghi, AccessoDistinta{}, QStringLiteral("scheda.csv"),
                                              lettura);
            f->show();
        },
        [&] { f->findChild<QLineEdit *>(QStringLiteral("txCollega"))->setText(cercato); });
    Riga("search box, first key", primoTasto, cercaBase, 150);
    auto *tx = f->findChild<QLineEdit *>(QStringLiteral("txCollega"));
    const Tempo tasto = Misura(
        volte, [&] { tx->setText(QStringLiteral("74h")); }, [&] { tx->setText(cercato); });
    Riga("search box, next key", tasto, cercaBase, 50);
    const Tempo molti = Misura(
        volte, [&] { tx->setText(QStringLiteral("74h")); }, [&] { tx->setText(QStringLiteral("7")); });
    Riga("search box, many found (500 listed)", molti, Tempo{}, 50);
    const Tempo dueParole = Misura(
        volte, [&] { tx->setText(QStringLiteral("74h")); }, [&] { tx->setText(QStringLiteral("74hc industriale")); });
    Riga("search box, two words", dueParole, Tempo{}, 50);
    tx->setText(cercato);
    const QString trovatiFinestra = f->findChild<QLabel *>(QStringLiteral("lblTrovati"))->text();
    f.reset();

    std::printf("\nOutcomes: %s; with links: %s; the baseline found %lld values as written\n", qPrintable(riepilogo),
                qPrintable(riepilogoCollegati), static_cast<long long>(trovate));
    std::printf("Search \"%s\": CercaCodici found %lld; the search box says \"%s\"\n", qPrintable(cercato),
                static_cast<long long>(perCodici), qPrintable(trovatiFinestra));
    return 0;
}
