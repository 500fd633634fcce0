// The Qt side of the dialogs seam, on a real message box: the question with
// "Sostituisci", "Mantieni entrambi" and "Annulla", each way of answering it.

#include "common/finestre.h"
#include "ui/widgets/dialoghiqt.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(Risposta)

class TestDialoghiQt : public QObject {
    Q_OBJECT
private slots:
    // A button clicked gives its answer; Enter keeps both (nothing is
    // overwritten by a hasty key), Escape and the close box cancel.
    void sostituisciMantieniAnnulla_data()
    {
        QTest::addColumn<QString>("azione"); // a button's text, or "Invio", "Esc", "chiudi"
        QTest::addColumn<Risposta>("attesa");
        QTest::newRow("Sostituisci") << "Sostituisci" << Risposta::Sostituisci;
        QTest::newRow("Mantieni entrambi") << "Mantieni entrambi" << Risposta::MantieniEntrambi;
        QTest::newRow("Annulla") << "Annulla" << Risposta::Annulla;
        QTest::newRow("Invio") << "Invio" << Risposta::MantieniEntrambi;
        QTest::newRow("Esc") << "Esc" << Risposta::Annulla;
        QTest::newRow("chiudi") << "chiudi" << Risposta::Annulla;
    }
    void sostituisciMantieniAnnulla()
    {
        QFETCH(QString, azione);
        QFETCH(Risposta, attesa);
        DialoghiQt dialoghi;
        QStringList pulsanti;
        QString testo, titolo;
        QMessageBox::Icon icona = QMessageBox::NoIcon;
        QuandoModale([&](QWidget *m) {
            auto *box = qobject_cast<QMessageBox *>(m);
            QVERIFY(box);
            testo = box->text();
            titolo = box->windowTitle();
            icona = box->icon();
            QPushButton *premuto = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                pulsanti << b->text();
                if (b->text() == azione)
                    premuto = qobject_cast<QPushButton *>(b);
            }
            if (premuto)
                QTest::mouseClick(premuto, Qt::LeftButton);
            else if (azione == QLatin1String("Invio"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (azione == QLatin1String("Esc"))
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
        });
        const Risposta r = dialoghi.messaggio(QStringLiteral("Esiste già.\r\nSostituirlo?"), Icona::Domanda,
                                              Pulsanti::SostituisciMantieniAnnulla);
        QCOMPARE(r, attesa);
        pulsanti.sort();
        QCOMPARE(pulsanti, QStringList({"Annulla", "Mantieni entrambi", "Sostituisci"}));
        QCOMPARE(testo, QStringLiteral("Esiste già.\r\nSostituirlo?"));
        QCOMPARE(titolo, TitoloPredefinito);
        QCOMPARE(icona, QMessageBox::Question);
    }
};

QTEST_MAIN(TestDialoghiQt)
#include "tst_dialoghiqt.moc"
