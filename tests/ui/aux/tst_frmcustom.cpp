// The custom labels window: its place, the focus colours, the 20-character
// rule however the text changes, and each way of closing it.
#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/finestre.h"
#include "common/verifiche.h"
#include "store/cp1252.h"
#include "store/ini.h"
#include "store/stato.h"
#include "ui/aux/etichette.h"
#include "ui/aux/frmcustom.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QColor Bianco(0xFF, 0xFF, 0xFF);
const QColor Verde(0xE2, 0xFE, 0xCD);
const QColor Arancio(0xFF, 0xC0, 0x80);
const QString Venti = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
const QString Trenta = QStringLiteral("0123456789abcdefghijKLMNOPQRST");

QColor sfondo(const QLineEdit *casella) { return casella->palette().color(QPalette::Base); }
// What is painted, not only the palette.
QColor dipinto(QWidget *w)
{
    const QImage img = w->grab().toImage();
    return img.pixelColor(img.width() - 4, img.height() / 2);
}
QLineEdit *casella(QWidget *f, int i) { return f->findChild<QLineEdit *>(QStringLiteral("txEtichetta(%1)").arg(i)); }

} // namespace

class TstFrmCustom : public QObject {
    Q_OBJECT

    Stato m_stato;
    DialoghiFinti m_dialoghi;
    std::unique_ptr<FrmCustom> m_finestra;

    // Opens the window non-modally as a user would see it: shown, active.
    FrmCustom *apri(QWidget *principale = nullptr)
    {
        m_finestra = std::make_unique<FrmCustom>(m_stato, m_dialoghi, QPoint(140, 75), principale);
        m_finestra->show();
        QApplication::setActiveWindow(m_finestra.get());
        if (!QTest::qWaitForWindowActive(m_finestra.get()))
            qWarning("window not active");
        return m_finestra.get();
    }
    QStringList etichette() const { return QStringList(m_stato.Etichette.begin() + 1, m_stato.Etichette.begin() + 7); }

private slots:
    void init()
    {
        m_stato = Stato{};
        m_dialoghi = DialoghiFinti{};
        for (int i = 1; i <= 6; ++i)
            m_stato.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
    }
    void cleanup()
    {
        m_finestra.reset();
        VERIFICA_DIALOGHI(m_dialoghi);
    }

    // In place with its caption; the focused box is green and the others
    // white through the whole tab order, even under a dark theme of the owner.
    void posizioneEColori()
    {
        QWidget principale;
        principale.setStyleSheet(QStringLiteral("QLineEdit { background-color: black; color: white; }"));
        principale.show();
        FrmCustom *f = apri(&principale);
        QCOMPARE(f->windowTitle(), QStringLiteral("Definizione campi personalizzati"));
        QCOMPARE(f->frameGeometry().topLeft(), QPoint(140, 75));
        QVERIFY(f->isModal());
        QCOMPARE(dipinto(casella(f, 1)), Verde);
        QCOMPARE(dipinto(casella(f, 2)), Bianco);
        for (const char *atteso : {"txEtichetta(2)", "txEtichetta(3)", "txEtichetta(4)", "txEtichetta(5)",
                                   "txEtichetta(6)", "btnDone", "btnUndo", "txEtichetta(1)"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(atteso));
            for (int i = 1; i <= 6; ++i)
                QCOMPARE(sfondo(casella(f, i)), casella(f, i)->hasFocus() ? Verde : Bianco);
        }
        casella(f, 1)->setText(Trenta);
        QCOMPARE(dipinto(casella(f, 1)), Arancio);
        m_finestra.reset();
    }

    // At most 20 characters, however the text changes: the cut is orange, the caret ends after the kept text, and the
    // next change within the limit is green again.
    void regolaLunghezza_data()
    {
        Colonne<QString, int, QString, QString, QString, bool>("iniziale", "cursore", "modo", "nuovo", "atteso",
                                                               "tagliato"); // cursore -1: all selected
        QTest::newRow("20 typed") << "" << 0 << "keys" << Venti << Venti << false;
        QTest::newRow("21st typed") << Venti << 20 << "keys" << "U" << Venti << true;
        QTest::newRow("typed in the middle") << Venti << 5 << "keys" << "X" << "ABCDEXFGHIJKLMNOPQRS" << true;
        QTest::newRow("30 pasted over the text") << "abc" << -1 << "paste" << Trenta << Trenta.left(20) << true;
        QTest::newRow("30 pasted after a text") << "abc" << 3 << "paste" << Trenta << "abc" + Trenta.left(17) << true;
        QTest::newRow("set by the program") << "" << 0 << "setText" << Trenta << Trenta.left(20) << true;
        // A character of two UTF-16 units is never split.
        QTest::newRow("no half character") << "" << 0 << "setText"
                                           << Venti.left(19) + QString::fromUtf8("\xF0\x9F\x94\x8C") + "ZZ"
                                           << Venti.left(19) << true;
    }
    void regolaLunghezza()
    {
        const auto [iniziale, cursore, modo] = Valori<QString, int, QString>("iniziale", "cursore", "modo");
        const auto [nuovo, atteso, tagliato] = Valori<QString, QString, bool>("nuovo", "atteso", "tagliato");
        m_stato.Etichette[1] = iniziale;
        QLineEdit *c = casella(apri(), 1);
        if (cursore < 0)
            c->selectAll();
        else
            c->setCursorPosition(cursore);
        if (modo == "keys")
            QTest::keyClicks(c, nuovo);
        else if (modo == "setText")
            c->setText(nuovo);
        else {
            QApplication::clipboard()->setText(nuovo);
            QTest::keySequence(c, QKeySequence::Paste);
        }
        QCOMPARE(c->text(), atteso);
        QCOMPARE(c->cursorPosition(), atteso.size());
        QVERIFY(!c->hasSelectedText());
        QCOMPARE(sfondo(c), tagliato ? Arancio : Verde);
        QTest::keyClick(c, Qt::Key_Backspace);
        QCOMPARE(c->text(), atteso.chopped(1));
        QCOMPARE(sfondo(c), Verde);
    }

    // Opened by ApriEtichette as the main window does, box 5 showing cut a label lengthened by hand in Info.ini.
    // "Fatto" (click or Enter) stores the boxes, any other way out keeps the labels; either way the callback runs
    // once, after the close, and Info.ini is written. A character Windows-1252 cannot keep is refused: the first one
    // named, its box focused, the window open with every text typed, nothing stored in memory or on disk; once the
    // box is retyped, "Fatto" stores every box.
    void chiusura_data()
    {
        // How the window is closed, the texts put in boxes 1 to 6 (null: untouched), the characters refused by
        // "Fatto" in order and the box focused at each refusal, whether the labels are stored.
        Colonne<QString, QStringList, QStringList, QString, bool>("modo", "testi", "rifiutati", "caselle", "salvate");
        const QStringList testi{"uno", "due", "µ", "", QString(), "sei"}, nessuno;
        QTest::newRow("Fatto") << "btnDone" << testi << nessuno << "" << true;
        QTest::newRow("Enter") << "enter" << testi << nessuno << "" << true;
        QTest::newRow("Annulla") << "btnUndo" << testi << nessuno << "" << false;
        QTest::newRow("Esc") << "esc" << testi << nessuno << "" << false;
        QTest::newRow("closed") << "close" << testi << nessuno << "" << false;
        QTest::newRow("omega") << "btnDone" << QStringList{"A", "B", "10 Ωhm", "D", "E", "F"} << QStringList{"Ω"} << "3"
                               << true;
        QTest::newRow("emoji in the last box") << "btnDone" << QStringList{"A", "B", "C", "D", "E", "ok \U0001F642"}
                                               << QStringList{"\U0001F642"} << "6" << true;
        QTest::newRow("two boxes, the first named first") << "btnDone" << QStringList{"A", "kΩ", "C", "Ж", "E", "F"}
                                                          << QStringList{"Ω", "Ж"} << "24" << true;
        QTest::newRow("Windows-1252 beyond Latin-1 is kept") << "enter" << QStringList{"€ ‰ Ÿ", "µ", "C", "D", "E", "x ≤ y"}
                                                             << QStringList{"≤"} << "6" << true;
    }
    void chiusura()
    {
        const auto [modo, testi, rifiutati] = Valori<QString, QStringList, QStringList>("modo", "testi", "rifiutati");
        const auto [caselle, salvate] = Valori<QString, bool>("caselle", "salvate");
        CartellaTest cartella;
        m_stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        m_stato.Etichette[5] = Trenta;
        ScriviInfo(m_stato);
        const QByteArray iniPrima = cartella.leggi(QStringLiteral("Info.ini"));
        const QStringList prima = etichette();
        QStringList attesi = prima; // what the boxes hold at the end
        attesi[4] = Trenta.left(20);
        for (int i = 0; i < 6; ++i)
            attesi[i] = testi[i].isNull() ? attesi[i] : testi[i];
        QWidget principale;
        principale.show();
        QPointer<QWidget> vista;
        QString mostrata;
        int giri = 0;
        QuandoModale([&](QWidget *modale) {
            vista = modale;
            mostrata = modale->objectName() + (modale->parentWidget() == &principale ? " " : " ?")
                       + casella(modale, 5)->text();
            for (int i = 1; i <= 6; ++i)
                if (!testi[i - 1].isNull())
                    casella(modale, i)->setText(testi[i - 1]);
            for (; giri < rifiutati.size(); ++giri) {
                m_dialoghi.setNextAnswer(Risposta::Ok);
                QTest::mouseClick(modale->findChild<QPushButton *>(QStringLiteral("btnDone")), Qt::LeftButton);
                VerificaBox(m_dialoghi, "Attenzione: il carattere \"" + rifiutati[giri]
                                            + "\" non può essere salvato nei file dei dati\r\nSostituirlo e riprovare !",
                            Icona::Critica);
                m_dialoghi.dimentica();
                QVERIFY(modale->isVisible());
                for (int i = 1; i <= 6; ++i)
                    QCOMPARE(casella(modale, i)->text(), attesi[i - 1]);
                const int rifiutata = caselle.mid(giri, 1).toInt();
                QCOMPARE(modale->focusWidget(), casella(modale, rifiutata)); // without waiting for the window to be active
                QCOMPARE(etichette(), prima);
                QCOMPARE(cartella.leggi(QStringLiteral("Info.ini")), iniPrima);
                attesi[rifiutata - 1] = QStringLiteral("ok");
                casella(modale, rifiutata)->setText(attesi[rifiutata - 1]);
            }
            if (modo == "enter" || modo == "esc")
                QTest::keyClick(casella(modale, 6), modo == "esc" ? Qt::Key_Escape : Qt::Key_Return);
            else if (modo == "close")
                modale->close();
            else
                QTest::mouseClick(modale->findChild<QPushButton *>(modo), Qt::LeftButton);
        }, this);
        int chiamate = 0;
        ApriEtichette(m_stato, m_dialoghi, &principale, QPoint(260, 230), [&] {
            chiamate += QApplication::activeModalWidget() ? 100 : 1; // once, after the window closed
        });
        QCOMPARE(mostrata, "frmCustom " + Trenta.left(20));
        QVERIFY(vista.isNull()); // the window is gone once ApriEtichette returns
        QCOMPARE(chiamate, 1);
        QCOMPARE(giri, rifiutati.size());
        QCOMPARE(etichette(), salvate ? attesi : prima);
        QByteArray custom = "[Custom]\r\n";
        for (int i = 1; i <= 6; ++i)
            custom += "Campo personale " + QByteArray::number(i) + '=' + CodificaCp1252(m_stato.Etichette[i]) + "\r\n";
        QVERIFY(cartella.leggi(QStringLiteral("Info.ini")).contains(custom));
    }
};

QTEST_MAIN(TstFrmCustom)
#include "tst_frmcustom.moc"
