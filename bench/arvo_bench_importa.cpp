// The CSV import as the user meets it, from the main window's menu: the
// export of a generated database of N components imported into a program
// folder, timed from the file chosen (the menu item, the open-file dialog
// answering at once) to the preview window shown, and from the file chosen
// to the import done (the preview's "Importa", the crash-safe save, the main
// list refilled).
//
//   build/release/bench/arvo_bench_importa [N] [runs]     (default 100000 5)
//
// Rows:
// - file to preview, into a new empty folder (the round trip) and into the
//   folder the file came from (every line matched against N components);
// - whole import into a new empty folder (default choice: every line added);
// - the steps in the core (reading the file, planning, carrying out) for the
//   empty folder, beside one plain SalvaDatabase of the same tables.
// Targets at 100,000 lines: 1,000 ms to the preview, 1,500 ms whole.

#include "importa/importazione.h"
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "lib/misura.h"
#include "reports/csv.h"
#include "startup/avvio.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/main/frmmain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Answers the open-file dialog with one file; every box counts as a failure.
class DialoghiFile : public DialoghiMuti {
public:
    QString file;
    QString apriFile(const QString &, const QString &, const QString &) override { return file; }
};

// Watches for the preview window: the moment it is shown, then what to do
// with it (close it, or press "Importa").
class Anteprima : public QObject {
public:
    QElapsedTimer orologio;
    double mostrata = -1; // ms from the start of the clock
    bool importa = false;

    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() == QEvent::Show && oggetto->objectName() == QLatin1String("frmImporta")) {
            auto *finestra = static_cast<QDialog *>(oggetto);
            // Shown and drawn: the first paint is done in the event loop the
            // dialog runs, which this timer's call follows.
            QTimer::singleShot(0, finestra, [this, finestra] {
                mostrata = double(orologio.nsecsElapsed()) / 1e6;
                if (importa) {
                    if (auto *b = finestra->findChild<QAbstractButton *>(QStringLiteral("btnImporta")))
                        b->click();
                }
                if (finestra->isVisible())
                    finestra->reject();
            });
        }
        return false;
    }
};

void stampa(const char *nome, const Tempo &t, double obiettivo = 0, const Tempo &base = {},
            const char *nomeBase = nullptr)
{
    std::printf("%-48s %8.1f %8.1f", nome, t.muro, t.cpu);
    if (nomeBase && base.valido)
        std::printf("   vs %-26s %8.1f %8.1f", nomeBase, base.muro, base.cpu);
    if (obiettivo > 0)
        std::printf("   target %.0f %s", obiettivo, t.muro <= obiettivo ? "ok" : "MISSED");
    std::printf("\n");
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
    DialoghiFile dialoghi;
    Stato stato;
    if (!Main(stato, dialoghi, origine))
        fallisci("avvio");
    if (!EsportaCSV(stato, dialoghi))
        fallisci("esportazione");
    dialoghi.file = stato.percorsi.CartellaEsportati + QStringLiteral("CSVlist.csv");

    Anteprima anteprima;
    app.installEventFilter(&anteprima);

    // A new empty program folder with its main window open, made before the
    // clock starts.
    int giro = 0;
    std::unique_ptr<FrmMain> finestra;
    std::unique_ptr<Stato> vuoto;
    const auto nuovaCartella = [&] {
        finestra.reset();
        vuoto = std::make_unique<Stato>();
        const QString cartella = dir.path() + QStringLiteral("/Vuota%1").arg(++giro);
        QDir().mkpath(cartella);
        if (!Main(*vuoto, dialoghi, cartella))
            fallisci("avvio della cartella vuota");
        vuoto->PrimoAvvio = false; // no manual opened by the window's load
        finestra = std::make_unique<FrmMain>(*vuoto, dialoghi);
        finestra->Form_Load();
    };
    const auto menu = [&](FrmMain &f, bool importa) {
        anteprima.importa = importa;
        anteprima.mostrata = -1;
        anteprima.orologio.start();
        f.findChild<QAction *>(QStringLiteral("mnuImporta"))->trigger();
        if (anteprima.mostrata < 0)
            fallisci("anteprima non mostrata");
    };

    // To the preview: the time until it was shown, from the runs' own clock.
    const auto finoAllAnteprima = [&](const std::function<void()> &prepara, const std::function<FrmMain &()> &f) {
        QList<double> muro, cpu;
        for (int i = 0; i < volte; ++i) {
            prepara();
            QApplication::processEvents();
            const double c0 = TempoCpuMs();
            menu(f(), false);
            muro << anteprima.mostrata;
            cpu << TempoCpuMs() - c0; // includes closing the preview, a few ms
        }
        Tempo t;
        t.muro = Mediana(muro);
        t.cpu = Mediana(cpu);
        t.valido = true;
        return t;
    };
    const Tempo vuotaAnteprima = finoAllAnteprima(nuovaCartella, [&]() -> FrmMain & { return *finestra; });
    stampa("file to preview, empty folder", vuotaAnteprima, 1000);

    FrmMain piena(stato, dialoghi);
    piena.Form_Load();
    const Tempo pienaAnteprima = finoAllAnteprima([] {}, [&]() -> FrmMain & { return piena; });
    stampa("file to preview, folder of N components", pienaAnteprima, 1000);

    const Tempo tutto = Misura(volte, nuovaCartella, [&] {
        menu(*finestra, true);
        if (vuoto->NumComponenti != n)
            fallisci("importazione completa");
    });
    stampa("whole import from the menu, empty folder", tutto, 1500);
    if (dialoghi.boxes != 0)
        fallisci("un messaggio inatteso");
    finestra.reset();

    // The steps in the core, on a new empty folder each run.
    std::printf("\n");
    const auto soloCartella = [&] {
        vuoto = std::make_unique<Stato>();
        const QString cartella = dir.path() + QStringLiteral("/Vuota%1").arg(++giro);
        QDir().mkpath(cartella);
        if (!Main(*vuoto, dialoghi, cartella))
            fallisci("avvio della cartella vuota");
    };
    LetturaCSV lettura;
    const Tempo leggi = Misura(volte, soloCartella, [&] { lettura = LeggiFileCSV(dialoghi.file, *vuoto); });
    if (!lettura.errore.isEmpty() || lettura.righe.size() != n || !lettura.errori.isEmpty())
        fallisci("lettura del CSV");
    PianoImportazione piano;
    const Tempo pianifica = Misura(volte, soloCartella, [&] {
        piano = PianificaImportazione(*vuoto, lettura, CodiciEsistenti::Salta);
    });
    const Tempo pianificaPiena = Misura(volte, [&] {
        piano = PianificaImportazione(stato, lettura, CodiciEsistenti::Salta);
    });
    const Tempo esegui = Misura(volte, [&] {
        soloCartella();
        piano = PianificaImportazione(*vuoto, lettura, CodiciEsistenti::Salta);
    }, [&] {
        if (!EseguiImportazione(*vuoto, piano, dialoghi))
            fallisci("importazione");
    });
    const Tempo salva = Misura(volte, [&] {
        if (!SalvaDatabase(*vuoto, dialoghi))
            fallisci("salvataggio");
    });
    stampa("read the file (LeggiFileCSV)", leggi);
    stampa("plan, empty folder (PianificaImportazione)", pianifica);
    stampa("plan, folder of N components", pianificaPiena);
    stampa("carry out (EseguiImportazione)", esegui, 0, salva, "one save (SalvaDatabase)");
    return dialoghi.boxes == 0 ? 0 : 1;
}
