// The modal windows the main window opens: the manual (on a first start and
// from the menu), the custom labels and the tables window, with what the
// main window does once each is closed.

#include "ambiente.h"

#include "startup/avvio.h"

#include <QDialog>

using namespace prova;

namespace {

// Runs azione on the modal window as soon as it is open (a window may serve
// pending events while it is built, before it is shown).
void quandoAperta(QObject *contesto, const std::function<void(QWidget *)> &azione)
{
    auto *attesa = new QTimer(contesto);
    attesa->setInterval(5);
    QObject::connect(attesa, &QTimer::timeout, contesto, [attesa, azione] {
        QWidget *modale = QApplication::activeModalWidget();
        if (!modale || !modale->isVisible())
            return;
        attesa->stop();
        attesa->deleteLater();
        azione(modale);
    });
    attesa->start();
}

} // namespace

class TestFrmMainFinestre : public QObject {
    Q_OBJECT
private slots:
    void manualeAlPrimoAvvio()
    {
        Ambiente a;
        a.stato.PrimoAvvio = true;
        QString aperta;
        bool finestraVisibile = false;
        quandoAperta(this, [&](QWidget *modale) {
            aperta = modale->objectName();
            finestraVisibile = a.finestra->isVisible();
            modale->close();
        });
        FrmMain &f = a.apri();
        QCOMPARE(aperta, QStringLiteral("frmManual"));
        QVERIFY(finestraVisibile);
        QVERIFY(!a.stato.PrimoAvvio);
        // The first start has no tables yet.
        QCOMPARE(a.messaggio(), f.messaggi()[1]);
        QVERIFY(!a.bottone(QStringLiteral("new"))->isEnabled());
        QCOMPARE(a.lista()->numeroRighe(), 0);
    }

    void primoAvvioReale()
    {
        // A first start on an empty folder, through the real start-up.
        CartellaTest cartella;
        Stato stato;
        DialoghiFinti dialoghi;
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        QVERIFY(stato.PrimoAvvio);
        QString aperta;
        quandoAperta(this, [&](QWidget *modale) {
            aperta = modale->objectName();
            modale->close();
        });
        FrmMain f(stato, dialoghi);
        f.Form_Load();
        QCOMPARE(aperta, QStringLiteral("frmManual"));
        QVERIFY(!stato.PrimoAvvio);
        QCOMPARE(f.findChild<QLabel *>(QStringLiteral("msg"))->text(), f.messaggi()[1]);
        QVERIFY(!f.bottone(QStringLiteral("new"))->isEnabled());
        QVERIFY(!f.bottone(QStringLiteral("search"))->isEnabled());
        VERIFICA_DIALOGHI(dialoghi);
    }

    void manualeDalMenu()
    {
        Ambiente a;
        a.apri();
        QString aperta;
        quandoAperta(this, [&](QWidget *modale) {
            aperta = modale->objectName();
            modale->close();
        });
        a.azione(QStringLiteral("mnuHelp"))->trigger();
        QCOMPARE(aperta, QStringLiteral("frmManual"));
    }

    void etichette_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::newRow("barra") << "custom";
        QTest::newRow("menu") << "mnuExtra";
    }
    void etichette()
    {
        QFETCH(QString, comando);
        Ambiente a;
        a.apri();
        QPoint posizione;
        quandoAperta(this, [&](QWidget *modale) {
            QCOMPARE(modale->objectName(), QStringLiteral("frmCustom"));
            posizione = modale->frameGeometry().topLeft();
            auto *casella = modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(2)"));
            QVERIFY(casella);
            casella->selectAll();
            QTest::keyClicks(casella, QStringLiteral("Tensione"));
            QTest::mouseClick(modale->findChild<QPushButton *>(QStringLiteral("btnDone")), Qt::LeftButton);
        });
        if (comando == QLatin1String("custom"))
            a.bottone(comando)->trigger();
        else
            a.azione(comando)->trigger();
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblExtra(2)"))->text(), QStringLiteral(" Tensione"));
        QCOMPARE(a.w<QLabel>(QStringLiteral("lblExtra(1)"))->text(), QStringLiteral(" Campo Personale 1"));
        QVERIFY(a.cartella.leggi(QStringLiteral("Info.ini")).contains("Tensione"));
        // Placed like the tables window, beside the detail frame.
        const QPoint dati = a.w(QStringLiteral("fmDati"))->mapTo(a.finestra.get(), QPoint(0, 0));
        QCOMPARE(posizione, a.finestra->frameGeometry().topLeft() + dati + QPoint(4, 46));
    }

    void tabelle_data()
    {
        QTest::addColumn<bool>("modificate");
        QTest::newRow("nessun salvataggio") << false;
        QTest::newRow("tabelle modificate") << true;
    }
    void tabelle()
    {
        QFETCH(bool, modificate);
        Ambiente a;
        riempiTabelle(a.stato);
        a.apri();
        a.finestra->MostraMessaggio(QStringLiteral("prima"));
        QPoint posizione;
        QString nome;
        quandoAperta(this, [&](QWidget *modale) {
            nome = modale->objectName();
            posizione = modale->frameGeometry().topLeft();
            if (modificate) {
                // As the entry editor does after a save.
                a.stato.Produttori.append({9, QStringLiteral("Vishay")});
                a.stato.NumProduttori = 4;
                a.stato.TabelleModificate = true;
            }
            modale->close();
        });
        a.azione(QStringLiteral("mnuList"))->trigger();
        QCOMPARE(nome, QStringLiteral("frmListe"));
        const QPoint dati = a.w(QStringLiteral("fmDati"))->mapTo(a.finestra.get(), QPoint(0, 0));
        QCOMPARE(posizione, a.finestra->frameGeometry().topLeft() + dati + QPoint(4, 46));
        // The tables window leaves the panel empty when nothing is missing;
        // a change refills the pick lists.
        QCOMPARE(a.messaggio(), QString());
        QCOMPARE(a.w<QListWidget>(QStringLiteral("LP"))->count(), modificate ? 4 : 3);
        VERIFICA_DIALOGHI(a.dialoghi);
    }

    void tabelleMancanti()
    {
        Ambiente a;
        a.apri();
        quandoAperta(this, [](QWidget *modale) { modale->close(); });
        a.bottone(QStringLiteral("list"))->trigger();
        // The tables window's own message stays when nothing was saved.
        QCOMPARE(a.messaggio(),
                 QStringLiteral("Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste"));
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainFinestre)
#include "tst_frmmain_finestre.moc"
