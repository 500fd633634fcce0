// Renews the screenshots of the manual and of the README from the real
// windows: builds a sample stock in a temporary program folder, opens the
// main window on it on an offscreen screen and saves, in the light theme and
// in the dark one, the main window, the component panel while editing, the
// tables window and the custom-labels window. The theme is switched with the
// Opzioni menu, as a user does. Run by tools/screenshots.sh:
//
//   arvo_fotografie <assets folder> <docs folder>

#include "common/finestre.h"
#include "lib/dialoghimuti.h"
#include "lib/generatore.h"
#include "startup/avvio.h"
#include "store/stato.h"
#include "ui/main/frmmain.h"
#include "ui/widgets/listareport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// A photograph-like picture of a chip in a DIP package with its code on it.
void disegnaChip(const QString &file, const QString &codice)
{
    QImage immagine(640, 480, QImage::Format_RGB32);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fondo(0, 0, 0, 480);
    fondo.setColorAt(0, QColor(236, 238, 240));
    fondo.setColorAt(1, QColor(196, 200, 206));
    p.fillRect(immagine.rect(), fondo);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 172, 176));
    for (int i = 0; i < 4; ++i) {
        p.drawRoundedRect(QRectF(178 + i * 88, 110, 28, 60), 4, 4);
        p.drawRoundedRect(QRectF(178 + i * 88, 310, 28, 60), 4, 4);
    }
    p.setBrush(QColor(32, 34, 38));
    p.drawRoundedRect(QRectF(130, 150, 380, 180), 14, 14);
    p.setBrush(QColor(60, 62, 66));
    p.drawEllipse(QPointF(160, 300), 11, 11);
    p.setBrush(QColor(200, 204, 210));
    p.drawEllipse(QPointF(130, 240), 16, 16);
    p.setPen(QColor(235, 235, 235));
    QFont carattere(QStringLiteral("DejaVu Sans"), 34, QFont::Bold);
    p.setFont(carattere);
    p.drawText(QRectF(130, 150, 380, 180), Qt::AlignCenter, codice);
    p.end();
    immagine.save(file, "JPG", 90);
}

// Runs the event loop for a while, so that layouts and pictures settle.
void attendi(int ms)
{
    QEventLoop ciclo;
    QTimer::singleShot(ms, &ciclo, &QEventLoop::quit);
    ciclo.exec();
}

bool salva(const QImage &immagine, const QString &file, int larghezza = 0)
{
    const QImage finale = larghezza > 0 && immagine.width() != larghezza
                              ? immagine.scaledToWidth(larghezza, Qt::SmoothTransformation)
                              : immagine;
    const bool fatto = finale.convertToFormat(QImage::Format_RGB32).save(file, "PNG");
    std::printf("%s %dx%d %s\n", fatto ? "written" : "NOT WRITTEN", finale.width(), finale.height(),
                qPrintable(file));
    return fatto;
}

// Presses a toolbar button or a menu item that opens a modal window and
// saves that window as it first shows; the window is then closed.
bool fotografaModale(QAction *azione, const QString &file)
{
    bool fatto = false;
    QuandoModale([&](QWidget *m) {
        QTimer::singleShot(300, m, [&, m] {
            fatto = salva(m->grab().toImage(), file);
            m->close();
        });
    });
    azione->trigger();
    return fatto;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <assets folder> <docs folder>\n", argv[0]);
        return 2;
    }
    const QString assets = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString docs = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();

    // A screen as large as a desktop's, so that the window shows at its
    // designed size rather than fitted to the offscreen default.
    QTemporaryDir lavoro;
    const QString config = lavoro.filePath(QStringLiteral("schermo.json"));
    QFile schermo(config);
    if (!schermo.open(QIODevice::WriteOnly))
        return 1;
    schermo.write("{\"screens\": [{\"name\": \"desktop\", \"x\": 0, \"y\": 0, \"width\": 1920, "
                  "\"height\": 1080, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}");
    schermo.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toUtf8());
    QApplication app(argc, argv);

    // The sample stock: sixty components, each named picture drawn in Pics.
    const QString cartella = lavoro.filePath(QStringLiteral("Arvo"));
    if (!GeneraCartella(cartella, 60))
        return 1;
    Stato stato;
    DialoghiMuti dialoghi;
    if (!Main(stato, dialoghi, cartella, assets))
        return 1;
    for (int i = 1; i <= stato.NumComponenti; ++i) {
        const Componente &c = stato.componente(i);
        if (!c.Immagine.isEmpty())
            disegnaChip(stato.percorsi.CartellaPics + c.Immagine, c.Codice);
    }

    bool tutto = true;
    for (const bool chiaro : {true, false}) {
        FrmMain finestra(stato, dialoghi);
        finestra.Form_Load();
        finestra.findChild<QAction *>(QLatin1String(chiaro ? "mnuLight" : "mnuDark"))->trigger();
        // At the size it opens with at a first start on this screen.
        finestra.show();
        attendi(300);

        // A component with a picture, about halfway down the list.
        auto *lista = finestra.findChild<ListaReport *>(QStringLiteral("LV"));
        int riga = lista->numeroRighe() / 2;
        while (riga < lista->numeroRighe()
               && stato.componente(lista->testo(riga, 5).toInt()).Immagine.isEmpty())
            ++riga;
        ClicRiga(lista, riga, 0);
        attendi(300);

        const QString tema = chiaro ? QString() : QStringLiteral("-scuro");
        const QString img = assets + QStringLiteral("/Manual/img/");
        const QImage intera = finestra.grab().toImage();
        tutto &= salva(intera, img + QStringLiteral("principale%1.png").arg(tema), 800);
        tutto &= salva(intera, docs + (chiaro ? QStringLiteral("/screenshot-main.png")
                                              : QStringLiteral("/screenshot-main-dark.png")));

        tutto &= fotografaModale(finestra.findChild<QAction *>(QStringLiteral("list")),
                                 img + QStringLiteral("tabelle%1.png").arg(tema));
        tutto &= fotografaModale(finestra.findChild<QAction *>(QStringLiteral("custom")),
                                 img + QStringLiteral("etichette%1.png").arg(tema));

        // The panel while editing, then the edit given up.
        finestra.findChild<QAction *>(QStringLiteral("edit"))->trigger();
        attendi(200);
        tutto &= salva(finestra.findChild<QWidget *>(QStringLiteral("pannelloDestro"))->grab().toImage(),
                       img + QStringLiteral("dettaglio%1.png").arg(tema), 640);
        finestra.findChild<QAction *>(QStringLiteral("undo"))->trigger();
        attendi(100);
        finestra.hide();
    }
    return tutto ? 0 : 1;
}
