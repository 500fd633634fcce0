// The modal windows the main window opens: the manual (on a first start and
// from the menu), the custom labels and the tables window, with what the
// main window does once each is closed.

#include "ambiente.h"

#include "startup/avvio.h"

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
    void primoAvvio()
    {
        // A first start on an empty folder, through the real start-up: the
        // manual over the shown window, then the empty window.
        CartellaTest cartella;
        Stato stato;
        DialoghiFinti dialoghi;
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        QVERIFY(stato.PrimoAvvio);
        FrmMain f(stato, dialoghi);
        QString aperta;
        bool finestraVisibile = false;
        quandoAperta(this, [&](QWidget *modale) {
            aperta = modale->objectName();
            finestraVisibile = f.isVisible();
            modale->close();
        });
        f.Form_Load();
        QCOMPARE(aperta, QStringLiteral("frmManual"));
        QVERIFY(finestraVisibile);
        QVERIFY(!stato.PrimoAvvio);
        QCOMPARE(f.findChild<QLabel *>(QStringLiteral("msg"))->text(), f.messaggi()[1]);
        QVERIFY(!f.bottone(QStringLiteral("new"))->isEnabled());
        VERIFICA_DIALOGHI(dialoghi);
        // The manual from the menu.
        aperta.clear();
        quandoAperta(this, [&](QWidget *modale) {
            aperta = modale->objectName();
            modale->close();
        });
        f.findChild<QAction *>(QStringLiteral("mnuHelp"))->trigger();
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
            casella->selectAll();
            QTest::keyClicks(casella, QStringLiteral("Tensione"));
            modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(3)"))->clear();
            QTest::mouseClick(modale->findChild<QPushButton *>(QStringLiteral("btnDone")), Qt::LeftButton);
        });
        (comando == QLatin1String("custom") ? a.bottone(comando) : a.azione(comando))->trigger();
        QCOMPARE(a.etichetta(QStringLiteral("lblExtra(2)")), QStringLiteral(" Tensione"));
        QCOMPARE(a.etichetta(QStringLiteral("lblExtra(1)")), QStringLiteral(" Campo Personale 1"));
        QCOMPARE(a.etichetta(QStringLiteral("lblExtra(3)")), QStringLiteral(" ")); // emptied label
        QVERIFY(a.cartella.leggi(QStringLiteral("Info.ini")).contains("Tensione"));
        // Placed like the tables window, beside the detail frame.
        const QPoint dati = a.w(QStringLiteral("fmDati"))->mapTo(a.finestra.get(), QPoint(0, 0));
        QCOMPARE(posizione, a.finestra->frameGeometry().topLeft() + dati + QPoint(4, 46));
    }

    void tabelle_data()
    {
        QTest::addColumn<bool>("conTabelle");
        QTest::addColumn<bool>("modificate");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("nessun salvataggio") << true << false << QString();
        QTest::newRow("tabelle modificate") << true << true << QString();
        // The tables window's own message stays when nothing was saved.
        QTest::newRow("tabelle mancanti")
            << false << false << QStringLiteral("Devi aggiungere qualcosa in Tipi e Produttori col Menu Gestisci Liste");
    }
    void tabelle()
    {
        QFETCH(bool, conTabelle);
        QFETCH(bool, modificate);
        QFETCH(QString, messaggio);
        Ambiente a;
        if (conTabelle)
            riempiTabelle(a.stato);
        a.apri();
        a.finestra->MostraMessaggio(QStringLiteral("prima"));
        QPoint posizione;
        QString nome;
        quandoAperta(this, [&](QWidget *modale) {
            nome = modale->objectName();
            posizione = modale->frameGeometry().topLeft();
            if (modificate) { // as the entry editor does after a save
                a.stato.Produttori.append({9, QStringLiteral("Vishay")});
                a.stato.NumProduttori = 4;
                a.stato.TabelleModificate = true;
            }
            modale->close();
        });
        if (modificate)
            a.menu(QStringLiteral("mnuList"));
        else
            a.premi(QStringLiteral("list"));
        QCOMPARE(nome, QStringLiteral("frmListe"));
        const QPoint dati = a.w(QStringLiteral("fmDati"))->mapTo(a.finestra.get(), QPoint(0, 0));
        QCOMPARE(posizione, a.finestra->frameGeometry().topLeft() + dati + QPoint(4, 46));
        QCOMPARE(a.messaggio(), messaggio);
        QCOMPARE(a.w<QListWidget>(QStringLiteral("LP"))->count(), modificate ? 4 : conTabelle ? 3 : 0);
        VERIFICA_DIALOGHI(a.dialoghi);
    }
};

QTEST_MAIN(TestFrmMainFinestre)
#include "tst_frmmain_finestre.moc"
