// The dark theme can be read: every check box and radio button, as the style
// draws it, stands out from its background, and every text of the main
// window, the tables window and the import window keeps, disabled, a
// contrast of at least 3:1 with its background (the WCAG contrast ratio of
// the two colours' relative luminance).

#include "ambiente.h"

#include "importa/letturacsv.h"
#include "ui/importa/frmimporta.h"
#include "ui/main/avvioapp.h"
#include "ui/tables/apritabelle.h"
#include "ui/tables/frmliste.h"

#include <cmath>

namespace {

constexpr double Minimo = 3.0;

double luminanza(const QColor &c)
{
    const auto lineare = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lineare(c.redF()) + 0.7152 * lineare(c.greenF()) + 0.0722 * lineare(c.blueF());
}

double contrasto(const QColor &a, const QColor &b)
{
    const double la = luminanza(a);
    const double lb = luminanza(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour most of the image is painted in: the background.
QColor sfondo(const QImage &immagine)
{
    QHash<QRgb, int> conta;
    for (int y = 0; y < immagine.height(); ++y)
        for (int x = 0; x < immagine.width(); ++x)
            ++conta[immagine.pixel(x, y)];
    QRgb piu = 0;
    int volte = -1;
    for (auto it = conta.cbegin(); it != conta.cend(); ++it)
        if (it.value() > volte)
            std::tie(piu, volte) = std::tie(it.key(), it.value());
    return QColor::fromRgb(piu);
}

// What is wrong with an indicator drawn in zona (lato pixels square) on
// fondo, or nothing: the pixels that stand at least 3:1 from the background
// must outline it, reaching within two pixels of each of its sides.
QString contorno(const QImage &immagine, const QRect &zona, const QColor &fondo, int lato)
{
    QRect visti;
    int quanti = 0;
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            if (contrasto(immagine.pixelColor(x, y), fondo) >= Minimo) {
                visti |= QRect(x, y, 1, 1);
                ++quanti;
            }
    if (visti.width() >= lato - 2 && visti.height() >= lato - 2 && quanti >= 2 * lato)
        return {};
    return QStringLiteral("su %1: %2 pixel a 3:1, nel riquadro %3x%4 di %5")
        .arg(fondo.name())
        .arg(quanti)
        .arg(visti.width())
        .arg(visti.height())
        .arg(lato);
}

// How many pixels of the image stand at least 3:1 from fondo.
int segni(const QImage &immagine, const QColor &fondo)
{
    int quanti = 0;
    for (int y = 0; y < immagine.height(); ++y)
        for (int x = 0; x < immagine.width(); ++x)
            quanti += contrasto(immagine.pixelColor(x, y), fondo) >= Minimo;
    return quanti;
}

AccessoPrincipale accesso(FrmMain &f)
{
    AccessoPrincipale principale;
    principale.finestra = &f;
    principale.mostraMessaggio = [](const QString &) {};
    principale.caricaTabelle = [] {};
    return principale;
}

// The text and background colour roles a control draws its text with.
std::pair<QPalette::ColorRole, QPalette::ColorRole> ruoli(const QWidget *w)
{
    const auto *combo = qobject_cast<const QComboBox *>(w);
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractItemView *>(w)
        || qobject_cast<const QTextEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QMenu *>(w) || (combo && combo->isEditable()))
        return {QPalette::Text, QPalette::Base};
    if (combo || ((qobject_cast<const QPushButton *>(w) || qobject_cast<const QToolButton *>(w))))
        return {QPalette::ButtonText, QPalette::Button};
    return {QPalette::WindowText, QPalette::Window};
}

bool mostraTesto(const QWidget *w)
{
    return qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w)
           || qobject_cast<const QGroupBox *>(w) || qobject_cast<const QLineEdit *>(w)
           || qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractItemView *>(w)
           || qobject_cast<const QTextEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
           || qobject_cast<const QMenu *>(w) || qobject_cast<const QTabBar *>(w);
}

} // namespace

class TestTemaContrasto : public QObject {
    Q_OBJECT

    // The main window turned to the dark theme, then the tables window and
    // the import window opened over it, all shown.
    struct Scuro {
        prova::Ambiente a{prova::cinqueComponenti};
        AccessoPrincipale principale = accesso(*a.finestra);
        std::unique_ptr<FrmListe> liste;
        std::unique_ptr<FrmImporta> importa;

        Scuro()
        {
            a.menu(QStringLiteral("mnuDark"));
            liste = std::make_unique<FrmListe>(a.stato, a.dialoghi, principale, a.finestra.get());
            importa = std::make_unique<FrmImporta>(a.stato, a.dialoghi, LetturaCSV{}, QStringLiteral("nuovi.csv"),
                                                   a.finestra.get());
            for (QWidget *w : std::initializer_list<QWidget *>{a.finestra.get(), liste.get(), importa.get()}) {
                w->show();
                if (!QTest::qWaitForWindowExposed(w))
                    QTest::qFail("finestra non mostrata", __FILE__, __LINE__);
            }
        }
    };

private slots:
    void initTestCase() { PreparaApplicazione(); }

    // The "in use" boxes of the tables lists, the tables window's own check
    // box and the import window's radio buttons, ticked or not, enabled or
    // not, drawn by the style in the dark theme.
    void indicatori_data()
    {
        QTest::addColumn<QString>("controllo");
        QTest::addColumn<bool>("spuntato");
        QTest::addColumn<bool>("attivo");
        for (const char *controllo : {"LVP", "chkExclude", "optSomma"})
            for (const bool spuntato : {false, true})
                for (const bool attivo : {true, false})
                    QTest::addRow("%s %s %s", controllo, spuntato ? "spuntato" : "vuoto", attivo ? "attivo" : "spento")
                        << QString::fromLatin1(controllo) << spuntato << attivo;
    }
    void indicatori()
    {
        QFETCH(QString, controllo);
        QFETCH(bool, spuntato);
        QFETCH(bool, attivo);
        Scuro s;
        QWidget *w = s.liste->findChild<QWidget *>(controllo);
        if (!w)
            w = Figlio(s.importa.get(), controllo);
        w->setEnabled(attivo);
        QImage immagine;
        QRect zona;
        int lato = 0;
        if (auto *lista = qobject_cast<ListaReport *>(w)) {
            lista->impostaSpunta(1, spuntato);
            QTreeView *vista = lista->vista();
            QStyleOptionViewItem opzione;
            opzione.initFrom(vista);
            opzione.rect = vista->visualRect(vista->model()->index(0, 0));
            opzione.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
            opzione.text = lista->testo(1, 0);
            zona = vista->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opzione, vista);
            lato = vista->style()->pixelMetric(QStyle::PM_IndicatorWidth, &opzione, vista);
            immagine = vista->viewport()->grab().toImage();
        } else {
            auto *bottone = qobject_cast<QAbstractButton *>(w);
            bottone->setChecked(spuntato);
            QStyleOptionButton opzione;
            opzione.initFrom(bottone);
            const bool radio = qobject_cast<QRadioButton *>(w);
            zona = w->style()->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator,
                                              &opzione, w);
            lato = w->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                           &opzione, w);
            immagine = w->grab().toImage();
        }
        QCOMPARE(w->isEnabled(), attivo);
        const QColor fondo = sfondo(immagine);
        const QString problema = contorno(immagine, zona.adjusted(-1, -1, 1, 1) & immagine.rect(), fondo, lato);
        QVERIFY2(problema.isEmpty(), qPrintable(problema));
        // Inside, the mark stands 3:1 from the box's filling, and only when ticked.
        const QRect dentro = zona.adjusted(3, 3, -3, -3);
        const QImage interno = immagine.copy(dentro);
        QCOMPARE(segni(interno, sfondo(interno)) >= dentro.width(), spuntato);
    }

    // Every control that shows text, in each window, keeps its disabled
    // text at 3:1 from its disabled background; so do the application's
    // palette and the menus.
    void testoSpento()
    {
        Scuro s;
        QStringList deboli;
        const auto verifica = [&deboli](const QString &nome, const QPalette &p, QPalette::ColorRole testo,
                                        QPalette::ColorRole fondo) {
            const double c = contrasto(p.color(QPalette::Disabled, testo), p.color(QPalette::Disabled, fondo));
            if (c < Minimo)
                deboli << QStringLiteral("%1 %2 su %3: %4").arg(nome, p.color(QPalette::Disabled, testo).name(),
                                                              p.color(QPalette::Disabled, fondo).name())
                              .arg(c, 0, 'f', 2);
        };
        const QPalette app = QApplication::palette();
        verifica(QStringLiteral("applicazione testo"), app, QPalette::Text, QPalette::Base);
        verifica(QStringLiteral("applicazione finestra"), app, QPalette::WindowText, QPalette::Window);
        verifica(QStringLiteral("applicazione pulsante"), app, QPalette::ButtonText, QPalette::Button);
        int controlli = 0;
        for (QWidget *finestra : std::initializer_list<QWidget *>{s.a.finestra.get(), s.liste.get(), s.importa.get()}) {
            for (QWidget *w : finestra->findChildren<QWidget *>()) {
                if (!mostraTesto(w))
                    continue;
                ++controlli;
                const auto [testo, fondo] = ruoli(w);
                verifica(QStringLiteral("%1 (%2)").arg(w->objectName(), w->metaObject()->className()), w->palette(),
                         testo, fondo);
            }
        }
        QVERIFY(controlli > 100);
        QVERIFY2(deboli.isEmpty(), qPrintable(deboli.join(QStringLiteral("\n"))));
    }
};

QTEST_MAIN(TestTemaContrasto)
#include "tst_tema_contrasto.moc"
