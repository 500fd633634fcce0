// The dark theme can be read: check boxes and radio buttons, as the style
// draws them, and the disabled texts of every window stand at least 3:1 from
// their background (the WCAG contrast ratio of relative luminances).

#include "ambiente.h"

#include "importa/letturacsv.h"
#include "ui/importa/frmimporta.h"
#include "ui/tables/apritabelle.h"
#include "ui/tables/frmliste.h"

#include <cmath>

namespace {

double contrasto(const QColor &a, const QColor &b)
{
    const auto luce = [](const QColor &c) {
        const auto l = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * l(c.redF()) + 0.7152 * l(c.greenF()) + 0.0722 * l(c.blueF()) + 0.05;
    };
    return std::max(luce(a), luce(b)) / std::min(luce(a), luce(b));
}

// The pixels of zona that stand 3:1 from fondo: how many, and the rectangle they span.
std::pair<int, QRect> marcati(const QImage &immagine, const QRect &zona, const QColor &fondo)
{
    std::pair<int, QRect> m{0, {}};
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            if (contrasto(immagine.pixelColor(x, y), fondo) >= 3.0)
                m = {m.first + 1, m.second | QRect(x, y, 1, 1)};
    return m;
}

} // namespace

class TestTemaContrasto : public QObject {
    Q_OBJECT

    // The main window turned dark, then the tables and import windows opened over it.
    struct Scuro {
        prova::Ambiente a{prova::cinqueComponenti};
        AccessoPrincipale principale;
        std::unique_ptr<FrmListe> liste;
        std::unique_ptr<FrmImporta> importa;
        Scuro()
        {
            a.menu(QStringLiteral("mnuDark"));
            principale.finestra = a.finestra.get();
            principale.mostraMessaggio = [](const QString &) {};
            principale.caricaTabelle = [] {};
            liste = std::make_unique<FrmListe>(a.stato, a.dialoghi, principale, a.finestra.get());
            importa = std::make_unique<FrmImporta>(a.stato, a.dialoghi, LetturaCSV{}, QStringLiteral("x.csv"));
            for (QWidget *w : std::initializer_list<QWidget *>{a.finestra.get(), liste.get(), importa.get()}) {
                w->show();
                QVERIFY(QTest::qWaitForWindowExposed(w));
            }
        }
    };

private slots:
    // The "in use" boxes of the tables lists, the tables window's check box
    // and the import window's radio buttons, ticked or not, enabled or not:
    // the frame outlines the indicator on its background, and a mark stands
    // out of the filling only when ticked.
    void indicatori_data()
    {
        QTest::addColumn<QString>("controllo");
        QTest::addColumn<bool>("spuntato");
        QTest::addColumn<bool>("attivo");
        for (const char *controllo : {"LVP", "chkExclude", "optSomma"})
            for (const bool spuntato : {false, true})
                for (const bool attivo : {true, false})
                    QTest::addRow("%s %d %d", controllo, spuntato, attivo) << QString::fromLatin1(controllo)
                                                                           << spuntato << attivo;
    }
    void indicatori()
    {
        QFETCH(QString, controllo);
        QFETCH(bool, spuntato);
        QFETCH(bool, attivo);
        Scuro s;
        QWidget *w = s.liste->findChild<QWidget *>(controllo);
        w = w ? w : Figlio(s.importa.get(), controllo);
        w->setEnabled(attivo);
        const QStyle *stile = w->style();
        QRect zona;
        QPalette::ColorRole fondo = QPalette::Window;
        if (auto *lista = qobject_cast<ListaReport *>(w)) {
            lista->impostaSpunta(1, spuntato);
            QStyleOptionViewItem opzione;
            opzione.initFrom(lista->vista());
            opzione.rect = lista->vista()->visualRect(lista->vista()->model()->index(0, 0));
            opzione.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
            zona = stile->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opzione, lista->vista());
            w = lista->vista()->viewport();
            fondo = QPalette::Base;
        } else {
            qobject_cast<QAbstractButton *>(w)->setChecked(spuntato);
            QStyleOptionButton opzione;
            opzione.initFrom(w);
            zona = stile->subElementRect(qobject_cast<QRadioButton *>(w) ? QStyle::SE_RadioButtonIndicator
                                                                        : QStyle::SE_CheckBoxIndicator,
                                         &opzione, w);
        }
        const QImage immagine = w->grab().toImage();
        const QPalette::ColorGroup gruppo = attivo ? QPalette::Active : QPalette::Disabled;
        const auto [bordo, spazio] = marcati(immagine, zona.adjusted(-1, -1, 1, 1), w->palette().color(gruppo, fondo));
        QVERIFY2(bordo >= 2 * zona.width() && spazio.width() >= zona.width() - 2 && spazio.height() >= zona.height() - 2,
                 qPrintable(QStringLiteral("%1 pixel in %2x%3").arg(bordo).arg(spazio.width()).arg(spazio.height())));
        const QRect dentro = zona.adjusted(3, 3, -3, -3);
        QCOMPARE(marcati(immagine, dentro, w->palette().color(gruppo, QPalette::Base)).first >= dentro.width(), spuntato);
    }

    // Every control that shows text, in each window, and the menus.
    void testoSpento()
    {
        Scuro s;
        QStringList deboli;
        int controlli = 0;
        for (QWidget *finestra : std::initializer_list<QWidget *>{s.a.finestra.get(), s.liste.get(), s.importa.get()}) {
            for (QWidget *w : finestra->findChildren<QWidget *>()) {
                auto ruoli = std::pair(QPalette::WindowText, QPalette::Window);
                if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractItemView *>(w) || qobject_cast<QMenu *>(w))
                    ruoli = {QPalette::Text, QPalette::Base};
                else if (qobject_cast<QPushButton *>(w) || qobject_cast<QToolButton *>(w) || qobject_cast<QComboBox *>(w))
                    ruoli = {QPalette::ButtonText, QPalette::Button};
                else if (!qobject_cast<QLabel *>(w) && !qobject_cast<QAbstractButton *>(w) && !qobject_cast<QGroupBox *>(w))
                    continue;
                ++controlli;
                const QPalette p = w->palette();
                const double c = contrasto(p.color(QPalette::Disabled, ruoli.first), p.color(QPalette::Disabled, ruoli.second));
                if (c < 3.0)
                    deboli << QStringLiteral("%1 %2: %3").arg(w->metaObject()->className(), w->objectName()).arg(c);
            }
        }
        QVERIFY(controlli > 100);
        QVERIFY2(deboli.isEmpty(), qPrintable(deboli.join(u'\n')));
    }
};

QTEST_MAIN(TestTemaContrasto)
#include "tst_tema_contrasto.moc"
