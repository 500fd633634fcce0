#include "common/cartellatest.h"
#include "store/ini.h"
#include "store/stato.h"
#include "ui/aux/etichette.h"
#include "ui/aux/frmcustom.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QColor Bianco(0xFF, 0xFF, 0xFF);
const QColor Verde(0xE2, 0xFE, 0xCD);
const QColor Arancio(0xFF, 0xC0, 0x80);

const QString Venti = QStringLiteral("ABCDEFGHIJKLMNOPQRST");           // 20 characters
const QString Trenta = QStringLiteral("0123456789abcdefghijKLMNOPQRST"); // 30 characters

QColor sfondo(const QLineEdit *casella) { return casella->palette().color(QPalette::Base); }

template <typename T>
T *figlio(QWidget *finestra, const QString &nome)
{
    auto *w = finestra->findChild<T *>(nome);
    if (!w)
        qWarning("missing widget %s", qPrintable(nome));
    return w;
}

// Runs azione on the modal window as soon as one is open; polling keeps a
// test from hanging when the window only opens after some events have run.
void quandoAperto(const std::function<void(QWidget *)> &azione, int tentativi = 500)
{
    QTimer::singleShot(10, [azione, tentativi] {
        if (QWidget *m = QApplication::activeModalWidget())
            azione(m);
        else if (tentativi > 0)
            quandoAperto(azione, tentativi - 1);
    });
}

} // namespace

class TstFrmCustom : public QObject {
    Q_OBJECT

private:
    Stato m_stato;
    std::unique_ptr<FrmCustom> m_finestra;

    void etichetteNormali()
    {
        for (int i = 1; i <= 6; ++i)
            m_stato.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
    }
    // Opens the window non-modally as a user would see it: shown, active,
    // focus in the first box.
    FrmCustom *apri(const QPoint &posizione = QPoint(120, 90))
    {
        m_finestra = std::make_unique<FrmCustom>(m_stato, posizione);
        m_finestra->show();
        QApplication::setActiveWindow(m_finestra.get());
        if (!QTest::qWaitForWindowActive(m_finestra.get()))
            qWarning("window not active");
        return m_finestra.get();
    }
    QLineEdit *casella(int i) { return figlio<QLineEdit>(m_finestra.get(), QStringLiteral("txEtichetta(%1)").arg(i)); }
    QPushButton *pulsante(const char *nome) { return figlio<QPushButton>(m_finestra.get(), QLatin1String(nome)); }
    QStringList etichette() const
    {
        QStringList l;
        for (int i = 1; i <= 6; ++i)
            l << m_stato.Etichette[i];
        return l;
    }

private slots:
    void init()
    {
        m_stato = Stato{};
        etichetteNormali();
    }
    void cleanup() { m_finestra.reset(); }

    void aspettoEControlli()
    {
        FrmCustom *f = apri(QPoint(140, 75));
        QCOMPARE(f->objectName(), QStringLiteral("frmCustom"));
        QCOMPARE(f->windowTitle(), QStringLiteral("Definizione campi personalizzati"));
        QCOMPARE(f->frameGeometry().topLeft(), QPoint(140, 75));
        QVERIFY(f->isModal());

        auto *label1 = figlio<QLabel>(f, QStringLiteral("Label1"));
        QVERIFY(label1);
        QCOMPARE(label1->text(),
                 QString::fromUtf8("Scrivi nei campi i nomi da applicare alle etichette dei campi "
                                   "personalizzati (la massima  lunghezza \xC3\xA8 di 20 caratteri"));
        for (int i = 0; i <= 5; ++i) {
            auto *nome = figlio<QLabel>(f, QStringLiteral("lblNome(%1)").arg(i));
            QVERIFY(nome);
            QCOMPARE(nome->text(), QStringLiteral("Etichetta campo Personale %1").arg(i + 1));
            QVERIFY(nome->isVisible());
        }
        for (int i = 1; i <= 6; ++i) {
            QVERIFY(casella(i));
            QCOMPARE(casella(i)->text(), QStringLiteral("Campo Personale %1").arg(i));
            QCOMPARE(casella(i), f->txEtichetta(i));
        }
        QCOMPARE(pulsante("btnUndo")->text(), QStringLiteral("Annulla"));
        QCOMPARE(pulsante("btnDone")->text(), QStringLiteral("Fatto"));
        for (const char *nome : {"Line1", "Line2"}) {
            auto *linea = figlio<QFrame>(f, QLatin1String(nome));
            QVERIFY(linea);
            const QImage img = linea->grab().toImage();
            QCOMPARE(img.pixelColor(img.width() / 2, 0), QColor(0x80, 0x80, 0x80));
        }
    }

    void focusAllApertura()
    {
        apri();
        QCOMPARE(QApplication::focusWidget(), casella(1));
        QCOMPARE(sfondo(casella(1)), Verde);
        for (int i = 2; i <= 6; ++i)
            QCOMPARE(sfondo(casella(i)), Bianco);
        // What is painted, not only the palette.
        const QImage img = casella(1)->grab().toImage();
        QCOMPARE(img.pixelColor(img.width() - 4, img.height() / 2), Verde);
    }

    // A colour theme of the owner window must not hide the box colours.
    void coloriConTemaDellaFinestraPrincipale()
    {
        QWidget principale;
        principale.setStyleSheet(QStringLiteral("QLineEdit { background-color: black; color: white; }"));
        principale.show();
        m_finestra = std::make_unique<FrmCustom>(m_stato, QPoint(10, 10), &principale);
        m_finestra->show();
        QApplication::setActiveWindow(m_finestra.get());
        QVERIFY(QTest::qWaitForWindowActive(m_finestra.get()));
        auto pixel = [](QLineEdit *c) {
            const QImage img = c->grab().toImage();
            return img.pixelColor(img.width() - 4, img.height() / 2);
        };
        QCOMPARE(pixel(casella(1)), Verde);
        QCOMPARE(pixel(casella(2)), Bianco);
        casella(1)->setText(Trenta);
        QCOMPARE(pixel(casella(1)), Arancio);
        m_finestra.reset();
    }

    void ordineDiTabulazioneEColori()
    {
        FrmCustom *f = apri();
        const QStringList attesi = {"txEtichetta(2)", "txEtichetta(3)", "txEtichetta(4)",
                                    "txEtichetta(5)", "txEtichetta(6)", "btnDone",
                                    "btnUndo",        "txEtichetta(1)"};
        for (const QString &atteso : attesi) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), atteso);
            for (int i = 1; i <= 6; ++i)
                QCOMPARE(sfondo(casella(i)), casella(i)->hasFocus() ? Verde : Bianco);
        }
        QVERIFY(f->isVisible());
    }

    void regolaLunghezzaDigitando()
    {
        apri();
        QLineEdit *c = casella(1);
        c->selectAll();
        QTest::keyClicks(c, Venti);
        QCOMPARE(c->text(), Venti);
        QCOMPARE(sfondo(c), Verde);

        QTest::keyClick(c, Qt::Key_U);
        QCOMPARE(c->text(), Venti);
        QCOMPARE(c->cursorPosition(), 20);
        QVERIFY(!c->hasSelectedText());
        QCOMPARE(sfondo(c), Arancio);

        // The next change within the limit is green again.
        QTest::keyClick(c, Qt::Key_Backspace);
        QCOMPARE(c->text(), Venti.left(19));
        QCOMPARE(sfondo(c), Verde);
    }

    void regolaLunghezzaInserendoInMezzo()
    {
        m_stato.Etichette[2] = Venti;
        apri();
        QLineEdit *c = casella(2);
        QTest::keyClick(casella(1), Qt::Key_Tab);
        c->setCursorPosition(5);
        QTest::keyClick(c, 'X');
        QCOMPARE(c->text(), QStringLiteral("ABCDEXFGHIJKLMNOPQRS"));
        QCOMPARE(c->cursorPosition(), 20);
        QCOMPARE(sfondo(c), Arancio);
    }

    void regolaLunghezzaIncollando_data()
    {
        QTest::addColumn<QString>("iniziale");
        QTest::addColumn<bool>("selezionaTutto");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<bool>("tagliato");
        QTest::newRow("30 caratteri al posto del testo") << QStringLiteral("abc") << true << Trenta.left(20) << true;
        QTest::newRow("in coda a un testo") << QStringLiteral("abc") << false
                                             << (QStringLiteral("abc") + Trenta).left(20) << true;
        QTest::newRow("esattamente 20") << QString() << true << Trenta.left(20) << false;
    }
    void regolaLunghezzaIncollando()
    {
        QFETCH(QString, iniziale);
        QFETCH(bool, selezionaTutto);
        QFETCH(QString, atteso);
        QFETCH(bool, tagliato);
        m_stato.Etichette[1] = iniziale;
        apri();
        QLineEdit *c = casella(1);
        if (selezionaTutto)
            c->selectAll();
        else
            c->end(false);
        QApplication::clipboard()->setText(tagliato ? Trenta : Trenta.left(20));
        QTest::keySequence(c, QKeySequence::Paste);
        QCOMPARE(c->text(), atteso);
        QCOMPARE(sfondo(c), tagliato ? Arancio : Verde);
        QCOMPARE(c->cursorPosition(), 20);
        QVERIFY(!c->hasSelectedText());
    }

    void regolaLunghezzaDaProgramma()
    {
        apri();
        QLineEdit *c = casella(4);
        c->setText(Trenta);
        QCOMPARE(c->text(), Trenta.left(20));
        QCOMPARE(sfondo(c), Arancio);
        c->setText(QStringLiteral("corto"));
        QCOMPARE(sfondo(c), Verde);
        c->selectAll();
        c->insert(Trenta);
        QCOMPARE(c->text(), Trenta.left(20));
        QCOMPARE(c->cursorPosition(), 20);
    }

    void tagliaSenzaSpezzareUnCarattere()
    {
        apri();
        QLineEdit *c = casella(1);
        // 19 letters, then a character made of two UTF-16 units.
        const QString lungo = Venti.left(19) + QString::fromUtf8("\xF0\x9F\x94\x8C") + QStringLiteral("ZZ");
        c->setText(lungo);
        QCOMPARE(c->text(), Venti.left(19));
        QCOMPARE(sfondo(c), Arancio);
    }

    void fattoConUnCampoVuoto()
    {
        FrmCustom *f = apri();
        QTest::keyClick(casella(1), Qt::Key_Tab);
        QTest::keyClick(casella(2), Qt::Key_Tab);
        casella(3)->selectAll();
        QTest::keyClick(casella(3), Qt::Key_Delete);
        QCOMPARE(casella(3)->text(), QString());
        casella(5)->setText(QStringLiteral("   "));
        QTest::mouseClick(pulsante("btnDone"), Qt::LeftButton);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QCOMPARE(etichette(), QStringList({"Campo Personale 1", "Campo Personale 2", "",
                                           "Campo Personale 4", "   ", "Campo Personale 6"}));
    }

    void annullaRipristinaTutte()
    {
        FrmCustom *f = apri();
        const QStringList prima = etichette();
        for (int i = 1; i <= 6; ++i) {
            casella(i)->setFocus();
            QTest::keyClicks(casella(i), QStringLiteral("xyz"));
        }
        QCOMPARE(etichette(), prima); // typing alone changes nothing
        QTest::mouseClick(pulsante("btnUndo"), Qt::LeftButton);
        QVERIFY(!f->isVisible());
        QCOMPARE(etichette(), prima);
    }

    void chiusuraSenzaPulsanti_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("Esc") << 0;
        QTest::newRow("chiusura della finestra") << 1;
    }
    void chiusuraSenzaPulsanti()
    {
        QFETCH(int, modo);
        FrmCustom *f = apri();
        const QStringList prima = etichette();
        QTest::keyClicks(casella(1), QStringLiteral("nuovo"));
        if (modo == 0)
            QTest::keyClick(casella(1), Qt::Key_Escape);
        else
            f->close();
        QVERIFY(!f->isVisible());
        QCOMPARE(etichette(), prima);
    }

    void etichettaTroppoLungaDalFile_data()
    {
        QTest::addColumn<bool>("fatto");
        QTest::newRow("Fatto") << true;
        QTest::newRow("Annulla") << false;
    }
    void etichettaTroppoLungaDalFile()
    {
        QFETCH(bool, fatto);
        m_stato.Etichette[3] = Trenta;
        apri();
        QCOMPARE(casella(3)->text(), Trenta.left(20));
        QCOMPARE(sfondo(casella(3)), Bianco);
        QTest::mouseClick(pulsante(fatto ? "btnDone" : "btnUndo"), Qt::LeftButton);
        QCOMPARE(m_stato.Etichette[3], fatto ? Trenta.left(20) : Trenta);
        QCOMPARE(m_stato.Etichette[1], QStringLiteral("Campo Personale 1"));
    }

    void invioConfermaConFatto()
    {
        FrmCustom *f = apri();
        casella(1)->selectAll();
        QTest::keyClicks(casella(1), QStringLiteral("Tensione"));
        QTest::keyClick(casella(1), Qt::Key_Return);
        QVERIFY(!f->isVisible());
        QCOMPARE(m_stato.Etichette[1], QStringLiteral("Tensione"));
    }

    // ApriEtichette: modal window driven from a timer, then the callback and
    // the settings file.
    void apriEtichette_data()
    {
        QTest::addColumn<QString>("chiusura");
        QTest::addColumn<QString>("attesa1");
        QTest::newRow("Fatto") << "btnDone" << "Tolleranza";
        QTest::newRow("Annulla") << "btnUndo" << "Campo Personale 1";
        QTest::newRow("Esc") << "esc" << "Campo Personale 1";
    }
    void apriEtichette()
    {
        QFETCH(QString, chiusura);
        QFETCH(QString, attesa1);
        CartellaTest cartella;
        QVERIFY(cartella.valida());
        m_stato.percorsi = Percorsi::DaCartella(cartella.percorso());

        QWidget principale;
        principale.setGeometry(200, 150, 600, 400);
        principale.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principale));

        bool guidato = false;
        QPointer<QWidget> vista;
        QPoint posizioneVista;
        quandoAperto([&](QWidget *modale) {
            vista = modale;
            if (modale->objectName() != QLatin1String("frmCustom")) {
                modale->close();
                return;
            }
            posizioneVista = modale->frameGeometry().topLeft();
            auto *c1 = modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(1)"));
            auto *c4 = modale->findChild<QLineEdit *>(QStringLiteral("txEtichetta(4)"));
            c1->selectAll();
            QTest::keyClicks(c1, QStringLiteral("Tolleranza"));
            c4->setText(QString());
            guidato = modale->parentWidget() == &principale;
            if (chiusura == QLatin1String("esc"))
                QTest::keyClick(c1, Qt::Key_Escape);
            else
                QTest::mouseClick(modale->findChild<QPushButton *>(chiusura), Qt::LeftButton);
        });

        int chiamate = 0;
        bool chiusaPrima = false;
        ApriEtichette(m_stato, &principale, QPoint(260, 230), [&] {
            ++chiamate;
            chiusaPrima = QApplication::activeModalWidget() == nullptr;
        });
        QVERIFY(guidato);
        QVERIFY(vista.isNull()); // the window is gone once ApriEtichette returns
        QCOMPARE(posizioneVista, QPoint(260, 230));
        QCOMPARE(chiamate, 1);
        QVERIFY(chiusaPrima);
        QCOMPARE(m_stato.Etichette[1], attesa1);
        QCOMPARE(m_stato.Etichette[4], chiusura == QLatin1String("btnDone")
                                           ? QString() : QStringLiteral("Campo Personale 4"));

        // Info.ini is written in every case, with the labels as they are now.
        QVERIFY(cartella.esiste(QStringLiteral("Info.ini")));
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(LeggiChiaveIni(QStringLiteral("Custom"), QStringLiteral("Campo personale %1").arg(i),
                                    QStringLiteral("?"), m_stato.percorsi.FileIni),
                     m_stato.Etichette[i].trimmed());
        QVERIFY(cartella.leggi(QStringLiteral("Info.ini"))
                    .contains(QByteArray("Campo personale 1=") + attesa1.toLatin1() + "\r\n"));
    }

    void apriEtichetteSenzaCallback()
    {
        CartellaTest cartella;
        m_stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        quandoAperto([](QWidget *m) { m->close(); });
        ApriEtichette(m_stato, nullptr, QPoint(10, 10), {});
        QCOMPARE(m_stato.Etichette[6], QStringLiteral("Campo Personale 6"));
    }
};

QTEST_MAIN(TstFrmCustom)
#include "tst_frmcustom.moc"
