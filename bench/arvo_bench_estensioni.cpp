// The optional features at scale: the CSV import of N lines (the export of
// a generated database, imported into a new empty program folder: reading,
// planning and the one crash-safe save), and what the low-stock marks and
// count add to the main list's refill and sorts.
//
//   build/release/bench/arvo_bench_estensioni [N] [runs]     (default 100000 5)

#include "components/scorta.h"
#include "importa/importazione.h"
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/misura.h"
#include "reports/csv.h"
#include "startup/avvio.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/main/frmmain.h"
#include "ui/widgets/listareport.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void stampa(const char *nome, const Tempo &t, const Tempo &base = {}, const char *nomeBase = nullptr)
{
    if (nomeBase && base.valido)
        std::printf("%-44s %8.1f %8.1f   vs %-28s %8.1f %8.1f   ratio wall %.3f cpu %.3f\n", nome, t.muro,
                    t.cpu, nomeBase, base.muro, base.cpu, t.muro / base.muro, t.cpu / base.cpu);
    else
        std::printf("%-44s %8.1f %8.1f\n", nome, t.muro, t.cpu);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int volte = argc > 2 ? std::atoi(argv[2]) : 5;
    std::printf("N = %d, median of %d runs; wall and cpu in ms\n\n", n, volte);

    QTemporaryDir dir;
    if (!dir.isValid())
        fallisci("cartella temporanea");
    const QString origine = dir.path() + QStringLiteral("/Origine");
    if (!GeneraCartella(origine, n))
        fallisci("generazione");
    DialoghiMuti dialoghi;
    Stato stato;
    if (!Main(stato, dialoghi, origine))
        fallisci("avvio");
    if (!EsportaCSV(stato, dialoghi))
        fallisci("esportazione");
    const QString csv = stato.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv");

    // Import into a new empty folder each run (made before the clock starts).
    // The generated codes repeat, so every line is added (not skipped).
    {
        int giro = 0;
        std::unique_ptr<Stato> vuoto;
        const auto nuovaCartella = [&] {
            vuoto = std::make_unique<Stato>();
            const QString cartella = dir.path() + QStringLiteral("/Vuota%1").arg(++giro);
            QDir().mkpath(cartella);
            if (!Main(*vuoto, dialoghi, cartella))
                fallisci("avvio della cartella vuota");
        };
        LetturaCSV lettura;
        const Tempo leggi = Misura(volte, nuovaCartella, [&] { lettura = LeggiFileCSV(csv, *vuoto); });
        if (!lettura.errore.isEmpty() || lettura.righe.size() != n || !lettura.errori.isEmpty())
            fallisci("lettura del CSV");
        PianoImportazione piano;
        const Tempo pianifica = Misura(volte, nuovaCartella, [&] {
            piano = PianificaImportazione(*vuoto, lettura, CodiciEsistenti::Aggiungi);
        });
        const Tempo esegui = Misura(volte, [&] {
            nuovaCartella();
            piano = PianificaImportazione(*vuoto, lettura, CodiciEsistenti::Aggiungi);
        }, [&] {
            if (!EseguiImportazione(*vuoto, piano, dialoghi))
                fallisci("importazione");
        });
        const Tempo tutto = Misura(volte, nuovaCartella, [&] {
            const LetturaCSV l = LeggiFileCSV(csv, *vuoto);
            const PianoImportazione p = PianificaImportazione(*vuoto, l, CodiciEsistenti::Aggiungi);
            if (!EseguiImportazione(*vuoto, p, dialoghi) || vuoto->NumComponenti != n)
                fallisci("importazione completa");
        });
        const Tempo salva = Misura(volte, [&] {
            if (!SalvaDatabase(*vuoto, dialoghi))
                fallisci("salvataggio");
        });
        stampa("import: read the file (LeggiFileCSV)", leggi);
        stampa("import: plan (PianificaImportazione)", pianifica);
        stampa("import: carry out (EseguiImportazione)", esegui, salva, "one save (SalvaDatabase)");
        stampa("import: whole, N lines (target 1000 ms)", tutto);
        std::printf("\n");
    }

    // The main list with and without minimums to check. Field 0 names no
    // field: every row is checked and found without a minimum, which is
    // the list of a database that does not use the feature.
    FrmMain finestra(stato, dialoghi);
    finestra.Form_Load();
    auto *lv = finestra.findChild<ListaReport *>(QStringLiteral("LV"));
    const auto riempi = [&] { finestra.RiempiLista(); };
    struct Caso {
        const char *nome;
        int campo;
    };
    // The generator writes a number in field 1 of one component in six; field
    // 6 gets a number in every component for the heaviest case.
    QRandomGenerator rnd(17);
    for (qint32 i = 1; i <= stato.NumComponenti; ++i)
        stato.componente(i).Extra6 = QString::number(rnd.bounded(0, 500));
    Tempo baseRiempi, baseOrdina[2];
    for (const Caso &c : {Caso{"no minimum (field 0)", 0}, Caso{"generated: 1 in 6 (field 1)", 1},
                          Caso{"every row has one (field 6)", 6}}) {
        stato.CampoMinimo = c.campo;
        const Tempo t = Misura(volte, riempi);
        const QByteArray nome = QByteArray("list refill, ") + c.nome;
        if (c.campo == 0)
            baseRiempi = t;
        stampa(nome.constData(), t, baseRiempi, c.campo ? "field 0" : nullptr);
        int k = 0;
        for (int colonna : {1, 4}) {
            const Tempo s = Misura(volte, riempi, [&] { emit lv->intestazioneCliccata(colonna); });
            const QByteArray n2 = QByteArray("sort ") + (colonna == 1 ? "CODICE" : "QTA") + ", " + c.nome;
            if (c.campo == 0)
                baseOrdina[k] = s;
            stampa(n2.constData(), s, baseOrdina[k], c.campo ? "field 0" : nullptr);
            ++k;
        }
        std::printf("  under stock: %d\n", ContaSottoScorta(stato));
    }
    // The checks alone: the marks made while the rows are written and the
    // count for the status bar, each one pass over the table.
    stato.CampoMinimo = 6;
    const Tempo conta = Misura(volte, [&] { (void)ContaSottoScorta(stato); });
    stampa("one pass of the check alone (field 6)", conta);
    return dialoghi.boxes == 0 ? 0 : 1;
}
