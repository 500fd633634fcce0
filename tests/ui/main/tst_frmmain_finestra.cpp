// The main window on a 1366 x 768 laptop screen: it fits whole, nothing of
// the panel is cut off, and its place, size, maximised state, column widths
// and sort come back after a restart; a place off the screen or a damaged
// section in Info.ini does no harm.

#include "ambiente.h"
#include "common/schermo.h"

#include "store/ini.h"
#include "ui/main/frmpicture.h"

using namespace prova;

namespace {

QRect Disponibile() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// The panel's controls that the user types into or clicks.
QList<QWidget *> ControlliPannello(const Ambiente &a)
{
    QList<QWidget *> controlli;
    for (const char *cornice : {"fmDati", "fmImm"}) {
        for (QWidget *w : a.w(cornice)->findChildren<QWidget *>()) {
            if (w->isVisibleTo(a.finestra.get()) && !w->objectName().isEmpty()
                && !w->objectName().startsWith(QLatin1String("qt_"))
                && (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w)
                    || qobject_cast<QListWidget *>(w) || qobject_cast<QLabel *>(w)))
                controlli << w;
        }
    }
    controlli << a.w("pic") << a.w("txSearch") << a.lista();
    return controlli;
}

// True when the whole of w shows, cut by none of the widgets it lies in.
bool Intero(QWidget *w)
{
    if (!w->isVisible())
        return false;
    QWidget *finestra = w->window();
    const QRect intero(w->mapTo(finestra, QPoint(0, 0)), w->size());
    QRect visibile = intero;
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        visibile &= QRect(p->mapTo(finestra, QPoint(0, 0)), p->size());
    return visibile == intero;
}

// The frame a common desktop draws around a window.
constexpr QMargins CorniceComune(4, 30, 4, 4);

// A stock like a real one: long names, more rows than the list shows; the
// table in the reverse order of the codes.
void MagazzinoReale(Stato &s)
{
    s.Tipi = {{1, "MICROCONTROLLORE"}, {2, "TRANSISTOR"}, {3, "CONDENSATORE"}};
    s.Produttori = {{1, "ST MICROELECTRONICS"}, {2, "TEXAS INSTRUMENTS"}, {3, "ON SEMICONDUCTOR"}};
    s.NumTipi = s.NumProduttori = 3;
    s.ProssimoIDTipo = s.ProssimoIDProduttore = 4;
    for (int i = 60; i >= 1; --i)
        aggiungi(s, componente(i, QStringLiteral("ATMEGA328-%1PU").arg(i, 2, 10, QLatin1Char('0')), 1 + i % 3,
                               s.Produttori[i % 3].Nome, 1 + i % 3, s.Tipi[i % 3].Nome, i * 397,
                               data(2020, 1 + i % 12, 10 + i % 18)));
}

// The widths of the list's five columns, added up.
int SommaColonne(const ListaReport *lista)
{
    return lista->larghezzaColonna(1) + lista->larghezzaColonna(2) + lista->larghezzaColonna(3)
           + lista->larghezzaColonna(4) + lista->larghezzaColonna(5);
}

// Where each field lies from its label (the picture box: from its hint).
QMap<QString, QPoint> Scarti(const Ambiente &a)
{
    QList<std::pair<QString, QString>> coppie = {
        {"lblTipo", "cmbTipo"},    {"lblProduttore", "LP"}, {"lblPack", "cmbPack"},    {"lblTitolo(1)", "txPDF"},
        {"lblTitolo(2)", "txPic"}, {"lblTitolo(0)", "FLP"}, {"lblRedimPic", "pic"}};
    for (const char *campo : {"Codice", "Qty", "Datains", "Pins", "Desc", "Note"})
        coppie.append({QLatin1String("lbl") + QLatin1String(campo), QLatin1String("tx") + QLatin1String(campo)});
    for (int i = 1; i <= 6; ++i)
        coppie.append({QStringLiteral("lblExtra(%1)").arg(i), QStringLiteral("txExtra%1").arg(i)});
    QMap<QString, QPoint> scarti;
    const QWidget *f = a.finestra.get();
    for (const auto &[etichetta, campo] : coppie)
        scarti[campo] = a.w(campo)->mapTo(f, QPoint()) - a.w(etichetta)->mapTo(f, QPoint());
    return scarti;
}

QString Sezione(const CartellaTest &c)
{
    const QByteArray ini = c.leggi(QStringLiteral("Info.ini"));
    const qsizetype i = ini.indexOf("[Finestra]");
    return i < 0 ? QString() : QString::fromLatin1(ini.mid(i));
}

} // namespace

class TestFrmMainFinestra : public QObject {
    Q_OBJECT

    // Quits through "Esci", which saves, and opens the window again.
    static void riavvia(Ambiente &a)
    {
        a.menu(QStringLiteral("mnuQuit"));
        QVERIFY(!a.finestra->isVisible());
        a.finestra.reset();
        LeggiInfo(a.stato);
        a.apri();
        QVERIFY(QTest::qWaitForWindowExposed(a.finestra.get()));
    }

private slots:
    // Smaller than its contents, the window keeps the list and scrolls the
    // panel; it never grows past the screen.
    void piu_piccola()
    {
        Caso a(cinqueComponenti);
        FrmMain &f = *a.finestra;
        f.resize(900, 500);
        QTRY_COMPARE(f.size(), QSize(900, 500));
        auto *area = a.w<QScrollArea>("scorrimentoPannello");
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        area->ensureWidgetVisible(a.w("txExtra6"));
        QVERIFY(Intero(a.w("txExtra6")));
        QVERIFY(Intero(a.lista()));
        // A work area of about 1366 x 700 still holds it with its frame.
        QVERIFY(f.minimumSizeHint().height() + 40 <= 700);
        QVERIFY(f.minimumSizeHint().width() <= 1366);
    }

    // A larger or maximised window widens only the list (its columns fill
    // it); every label stays beside its field.
    void piuGrande_data()
    {
        // invalid: maximised
        QTest::addColumn<QSize>("misura");
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("ingrandita") << QSize();
    }
    void piuGrande()
    {
        QFETCH(QSize, misura);
        Caso a(MagazzinoReale);
        FrmMain &f = *a.finestra;
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QSize lista = a.lista()->size();
        const QStringList fissi = {"scorrimentoPannello", "fmDati", "Frame1", "fmImm"};
        QList<int> larghezze;
        for (const QString &nome : fissi)
            larghezze << a.w(nome)->width();
        const QMap<QString, QPoint> scarti = Scarti(a);

        if (misura.isValid())
            f.resize(misura);
        else
            f.showMaximized();
        QTRY_VERIFY(a.lista()->width() > lista.width());
        QVERIFY(a.lista()->height() > lista.height());
        QTreeView *v = a.lista()->vista();
        QTRY_COMPARE(SommaColonne(a.lista()), v->viewport()->width());
        QVERIFY(!v->horizontalScrollBar()->isVisible());
        for (qsizetype i = 0; i < fissi.size(); ++i)
            QCOMPARE(a.w(fissi[i])->width(), larghezze[i]);
        QCOMPARE(Scarti(a), scarti);
    }

    // Place, size, column widths and sort, then the maximised state, come
    // back after a quit and a restart, in a section of Info.ini of their own.
    void ricorda()
    {
        Caso a(cinqueComponenti);
        FrmMain &f = *a.finestra;
        f.setGeometry(40, 30, 1300, 700);
        QTRY_COMPARE(f.geometry(), QRect(40, 30, 1300, 700));
        a.lista()->vista()->header()->resizeSection(1, 170);
        a.clicIntestazione(4); // QTA, descending: the direction flips from the code's
        const QStringList ordinati = a.codici();
        QCOMPARE(ordinati, QStringList({"BC547C", "NE555", "74HC00", "2N2222", "LM317T"}));
        riavvia(a);
        QCOMPARE(Sezione(a.cartella), QStringLiteral("[Finestra]\r\nX=40\r\nY=30\r\nLarghezza=1300\r\nAltezza=700\r\n"
                                                     "Massimizzata=False\r\nLarghezza colonne=110,170,60,50,90\r\n"
                                                     "Colonna ordinamento=4\r\nOrdine=Decrescente\r\n"));
        QCOMPARE(a.finestra->geometry(), QRect(40, 30, 1300, 700));
        // The columns fill the list, code and manufacturer in the user's proportion.
        const QHeaderView *h = a.lista()->vista()->header();
        QCOMPARE(SommaColonne(a.lista()), a.lista()->vista()->viewport()->width());
        QVERIFY2(qAbs(h->sectionSize(1) * 110 - h->sectionSize(0) * 170) <= 170,
                 qPrintable(QStringLiteral("%1 e %2").arg(h->sectionSize(0)).arg(h->sectionSize(1))));
        QCOMPARE(a.codici(), ordinati);
        // The next click on the column flips it, as if sorted by hand.
        a.clicIntestazione(4);
        QCOMPARE(a.codici().first(), QStringLiteral("LM317T"));

        a.finestra->showMaximized();
        QTRY_VERIFY(a.finestra->isMaximized());
        riavvia(a);
        QVERIFY(a.finestra->isMaximized());
        QCOMPARE(a.finestra->normalGeometry(), QRect(40, 30, 1300, 700));
        a.finestra->showNormal();
        QTRY_COMPARE(a.finestra->geometry(), QRect(40, 30, 1300, 700));
        // The widths asked for are kept through a maximised run too.
        riavvia(a);
        QVERIFY(Sezione(a.cartella).contains(QStringLiteral("Larghezza colonne=110,170,60,50,90\r\n")));
    }

    // At the first start the window opens as designed where it can: over long
    // names it lies whole in a laptop's work area with its frame, every control
    // whole; the five columns fill the list with no horizontal scroll bar, every
    // header, number and date whole. A saved place off the screen, or too large
    // for it, is brought back whole onto it; damaged values are ignored, as at a
    // first start (columns and sort too). Reading each value is tst_statofinestra's.
    void fuori_schermo_data()
    {
        // larghezza: 0: the designed one
        Colonne<QByteArray, int>("sezione", "larghezza");
        QTest::newRow("primo avvio") << QByteArray() << 0;
        QTest::newRow("a destra in basso") << QByteArray("X=5000\r\nY=3000\r\nLarghezza=1000\r\nAltezza=600\r\n") << 1000;
        QTest::newRow("piu' grande dello schermo") << QByteArray("X=0\r\nY=0\r\nLarghezza=3000\r\nAltezza=2000\r\n") << 3000;
        QTest::newRow("testo") << QByteArray("X=dieci\r\nY=10\r\nLarghezza=abc\r\nAltezza=600\r\n") << 0;
        QTest::newRow("colonne e ordine guasti")
            << QByteArray("Larghezza colonne=110,-5,60\r\nColonna ordinamento=9\r\nOrdine=storto\r\n") << 0;
    }
    void fuori_schermo()
    {
        const auto [sezione, larghezza] = Valori<QByteArray, int>("sezione", "larghezza");
        Caso a;
        MagazzinoReale(a.stato);
        if (!sezione.isEmpty())
            a.cartella.scrivi(QStringLiteral("Info.ini"), "[Versione]\r\nVersione=10.2.0 \r\n[Finestra]\r\n" + sezione);
        FrmMain &f = a.apri();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY2(Disponibile().contains(f.frameGeometry()), qPrintable(QDebug::toString(f.frameGeometry())));
        if (larghezza) {
            QCOMPARE(f.width(), qMin(larghezza, Disponibile().width() - (f.frameGeometry().width() - f.width())));
        } else {
            QVERIFY(f.width() > 1200); // the designed width fits a laptop
            const QRect conCornice = f.geometry().marginsAdded(CorniceComune);
            QVERIFY2(Disponibile().contains(conCornice), qPrintable(QDebug::toString(conCornice)));
            QVERIFY(Intero(a.w("SBM")));
            for (QWidget *w : ControlliPannello(a))
                QVERIFY2(Intero(w), qPrintable(w->objectName()));
            QTreeView *v = a.lista()->vista();
            QVERIFY(v->verticalScrollBar()->isVisible());
            QVERIFY(!v->horizontalScrollBar()->isVisible());
            QCOMPARE(SommaColonne(a.lista()), v->viewport()->width());
            const QFontMetrics intestazione(v->header()->font());
            const QFontMetrics celle(v->font());
            for (int c = 1; c <= 5; ++c) {
                const int larghezza = a.lista()->larghezzaColonna(c);
                QVERIFY(intestazione.horizontalAdvance(a.lista()->colonna(c).titolo) + 8 <= larghezza);
                for (int r = 1; c >= 4 && r <= a.lista()->numeroRighe(); ++r)
                    QVERIFY2(celle.horizontalAdvance(a.lista()->testo(r, c - 1)) + 6 <= larghezza,
                             qPrintable(a.lista()->testo(r, c - 1)));
            }
        }
        QCOMPARE(a.codici().first() + ' ' + a.codici().last(), QStringLiteral("ATMEGA328-01PU ATMEGA328-60PU"));
        a.menu(QStringLiteral("mnuQuit"));
        QVERIFY(Sezione(a.cartella).contains(QStringLiteral("Larghezza colonne=110,125,60,50,90\r\n")));
    }

    // The manual and a large picture (scaled down whole) never go past the
    // screen; Esc closes the picture window, and the double click returns.
    void finestreSecondarie()
    {
        Caso a;
        cinqueComponenti(a.stato);
        a.stato.Componenti[0].Immagine = QStringLiteral("enorme.bmp");
        scriviImmagine(a.cartella, QStringLiteral("Pics/enorme.bmp"), 3000, 1500, Qt::blue, "BMP", Qt::yellow);
        FrmMain &f = a.apri();
        f.move(300, 200);
        QRect manuale;
        QuandoModale([&](QWidget *m) {
            manuale = m->frameGeometry();
            m->close();
        }, this);
        a.menu(QStringLiteral("mnuHelp"));
        QVERIFY2(Disponibile().contains(manuale), qPrintable(QDebug::toString(manuale)));
        QVERIFY(manuale.height() > 600);

        a.clicRiga(5, 0); // NE555, with the picture
        QRect immagine;
        QImage mostrata;
        bool chiusaDaEsc = false;
        QTimer::singleShot(0, this, [&] {
            QPointer<FrmPicture> fp = f.finestraImmagine();
            if (!fp || !fp->isVisible())
                return;
            immagine = fp->frameGeometry();
            mostrata = fp->findChild<QLabel *>(QStringLiteral("imm"))->pixmap().toImage();
            const auto segnale = connect(fp, &FrmPicture::chiusa, this, [&] { chiusaDaEsc = true; });
            QTest::keyClick(fp, Qt::Key_Escape);
            disconnect(segnale);
            if (fp && !chiusaDaEsc)
                fp->close(); // so that a failure does not hang the test
        });
        a.doppioClic("pic");
        QVERIFY(chiusaDaEsc);
        QVERIFY(!f.variabili().ImmagineAperta);
        QTRY_VERIFY(!f.finestraImmagine());
        QVERIFY2(Disponibile().contains(immagine), qPrintable(QDebug::toString(immagine)));
        QCOMPARE(mostrata.width(), 2 * mostrata.height()); // the proportions kept
        QVERIFY(mostrata.width() > 1200);
        QCOMPARE(mostrata.pixelColor(5, 5), QColor(Qt::blue));
        QCOMPARE(mostrata.pixelColor(mostrata.width() - 5, 5), QColor(Qt::yellow)); // whole, not cut
    }

};

MAIN_SU_SCHERMO(TestFrmMainFinestra, 1366, 768)
#include "tst_frmmain_finestra.moc"
