// The labels window: which components, the sheet, the start, the preview, the labels read back from what it writes.

#include "common/pdfletto.h"
#include "common/verifiche.h"
#include "etichette/codiceetichetta.h"
#include "ui/etichette/frmetichette.h"
#include "ui/main/ambiente.h"

#include <QPrinter>

using namespace Qt::StringLiterals;

using namespace prova;

namespace {

// n components, their codes in the reverse order of the table, the locations in field 3, some with a package.
void componenti(Stato &s, int n)
{
    riempiTabelle(s);
    for (int i = 1; i <= n; ++i) {
        Componente c = componente(100 + i, u"R%1"_s.arg(1000 - i), 1 + i % 3, u"TI"_s, 1, u"IC"_s, i);
        c.Descrizione = u"Resistenza numero %1"_s.arg(i);
        c.Extra3 = u"Cassetto A%1"_s.arg(i);
        c.IDPackage = i % 2 ? 1 : 0;
        aggiungi(s, c);
    }
    s.CampoPosizione = 3;
}

struct Banco : Ambiente {
    std::unique_ptr<FrmEtichette> f;
    AccessoEtichette accesso;

    Banco() = default;
    // cinqueComponenti, the list shown holding the given positions.
    explicit Banco(const QList<qint32> &lista) { cinqueComponenti(stato); accesso.lista = lista; }

    FrmEtichette &apriEtichette()
    {
        f = std::make_unique<FrmEtichette>(stato, dialoghi, accesso);
        return *f;
    }
    template <typename T = QWidget>
    T *c(const char *nome) const { return Figlio<T>(f.get(), QLatin1String(nome)); }
    void clic(const char *nome) const { QTest::mouseClick(c<QPushButton>(nome), Qt::LeftButton); }
    QString stato_() const { return c<QLabel>("lblStato")->text(); }
};

// Every label of the PDF read back from its place: the right component's symbol, and nothing before the start.
void verificaPdf(const QString &file, int f, const Stato &s, const QList<qint32> &posizioni, int inizio)
{
    const FormatoEtichette &formato = FormatiEtichette().at(f);
    constexpr int Dpi = 200;
    const QList<PostoEtichetta> posti = PostiEtichette(formato, int(posizioni.size()), inizio);
    const QList<QSizeF> pagine = pdf::PagineMm(file);
    QCOMPARE(pagine.size(), PagineEtichette(formato, int(posizioni.size()), inizio));
    for (const QSizeF &p : pagine) {
        QVERIFY2(qAbs(p.width() - formato.pagina.width()) < 0.1, qPrintable(QString::number(p.width())));
        QVERIFY2(qAbs(p.height() - formato.pagina.height()) < 0.1, qPrintable(QString::number(p.height())));
    }
    const QList<QImage> immagini = pdf::Immagini(file, Dpi);
    QCOMPARE(immagini.size(), pagine.size());
    for (qsizetype i = 0; i < posti.size(); ++i)
        QCOMPARE(pdf::DataMatrix(immagini[posti[i].pagina], pdf::InPixel(posti[i].rettangolo, Dpi)),
                 QStringList{TestoEtichetta(s.componente(posizioni[i]).ID)});
    for (int libero = 1; libero < InizioValido(formato, inizio); ++libero) {
        const QRectF r = PostiEtichette(formato, 1, libero).first().rettangolo;
        QVERIFY2(pdf::Bianca(immagini.first(), pdf::InPixel(r, Dpi)), qPrintable(QString::number(libero)));
    }
}

} // namespace

class TestFrmEtichette : public QObject {
    Q_OBJECT
private slots:
    // Labels of the list shown, in its order, at each format and start, into the PDF file or through the print
    // dialog seam (stampa 1: printed, -1: cancelled): the printer comes set to the sheet.
    void pdfRiletto_data()
    {
        Colonne<int, int, int, int>("formato", "quante", "inizio", "stampa");
        QTest::newRow("3x8, dal primo posto") << 0 << 5 << 1 << 0;
        QTest::newRow("3x8, da 23 su due fogli") << 0 << 5 << 23 << 0;
        QTest::newRow("4x10, un foglio e una") << 1 << 41 << 1 << 0;
        QTest::newRow("4x10, dall'ultimo posto") << 1 << 3 << 40 << 0;
        QTest::newRow("rotolo") << 2 << 3 << 1 << 0;
        QTest::newRow("stampante, 3x8 da 2") << 0 << 2 << 2 << 1;
        QTest::newRow("stampante, rotolo") << 2 << 2 << 1 << 1;
        QTest::newRow("stampa annullata") << 0 << 2 << 1 << -1;
    }
    void pdfRiletto()
    {
        const auto [formato, quante, inizio, stampa] =
            Valori<int, int, int, int>("formato", "quante", "inizio", "stampa");
        Banco b;
        componenti(b.stato, quante + 2);
        // The list in an order of its own, without the first two.
        for (qint32 p = quante + 2; p > 2; --p)
            b.accesso.lista << p;
        const QString file = b.cartella.file(stampa ? u"stampante.pdf"_s : u"Stampe/Etichette.pdf"_s);
        QStringList chiamate; // the sheet and the document's name of each call of the print dialog
        b.accesso.sceltaStampante = [&, stampa = stampa](QPrinter &p, QWidget *) {
            chiamate << QDebug::toString(p.pageLayout().fullRect(QPageLayout::Millimeter).size()) + p.docName();
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(file);
            return stampa > 0;
        };
        b.apriEtichette();
        b.c<QComboBox>("cmbFormato")->setCurrentIndex(formato);
        b.c<QSpinBox>("spnInizio")->setValue(inizio);
        QCOMPARE(b.c<QSpinBox>("spnInizio")->isEnabled(), formato != 2);
        b.clic(stampa ? "btnStampaEtichette" : "btnPdfEtichette");
        const QString carta = QDebug::toString(FormatiEtichette().at(formato).pagina) + u"Etichette"_s;
        QCOMPARE(chiamate, stampa ? QStringList{carta} : QStringList());
        QCOMPARE(b.stato_(), stampa == 0  ? u"Etichette salvate in "_s + QDir::toNativeSeparators(file)
                             : stampa > 0 ? u"%1 etichette inviate alla stampante"_s.arg(quante)
                                          : QString());
        QCOMPARE(b.cartella.esiste(u"Stampe/Etichette.pdf"_s), stampa == 0);
        if (stampa >= 0)
            verificaPdf(file, formato, b.stato, b.accesso.lista, inizio);
        else
            QVERIFY(!QFile::exists(file));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // Which components: all of them by code, the list as shown, the one in the panel; the count and the buttons follow.
    void quali_data()
    {
        Colonne<int, QList<qint32>, qint32, QList<qint32>, QString>("quali", "lista", "mostrato", "attese",
                                                                     "conteggio");
        const QList<qint32> lista{3, 1};
        QTest::newRow("tutti") << 0 << lista << 2 << QList<qint32>{4, 5, 2, 3, 1} << "5 etichette su 1 foglio";
        QTest::newRow("la lista") << 1 << lista << 2 << lista << "2 etichette su 1 foglio";
        QTest::newRow("il mostrato") << 2 << lista << 2 << QList<qint32>{2} << "1 etichetta su 1 foglio";
        QTest::newRow("lista vuota") << 1 << QList<qint32>{} << 2 << QList<qint32>{} << "Nessun componente da stampare";
        QTest::newRow("riga non pi\u00f9 valida") << 1 << QList<qint32>{6, 5, 0} << 0 << QList<qint32>{5}
                                                  << "1 etichetta su 1 foglio";
        QTest::newRow("nessuno mostrato") << 2 << lista << 0 << QList<qint32>{} << "Nessun componente da stampare";
    }
    void quali()
    {
        const auto [quali, lista, mostrato, attese, conteggio] =
            Valori<int, QList<qint32>, qint32, QList<qint32>, QString>("quali", "lista", "mostrato", "attese",
                                                                       "conteggio");
        Banco b(lista);
        b.accesso.mostrato = mostrato;
        FrmEtichette &f = b.apriEtichette();
        auto *cmb = b.c<QComboBox>("cmbQuali");
        QCOMPARE(cmb->currentIndex(), 1);
        QCOMPARE(cmb->itemText(1), u"La lista mostrata (%1)"_s.arg(lista.size()));
        QCOMPARE(cmb->itemText(2), mostrato ? u"Solo il componente mostrato (BC547C)"_s
                                            : u"Solo il componente mostrato (nessuno)"_s);
        QCOMPARE(qobject_cast<QStandardItemModel *>(cmb->model())->item(2)->isEnabled(), mostrato != 0);
        cmb->setCurrentIndex(quali);
        QCOMPARE(f.posizioniScelte(), attese);
        QCOMPARE(b.c<QLabel>("lblConteggio")->text(), conteggio);
        QCOMPARE(b.c<QPushButton>("btnPdfEtichette")->isEnabled(), !attese.isEmpty());
        QCOMPARE(b.c<QPushButton>("btnStampaEtichette")->isEnabled(), !attese.isEmpty());
    }

    // The sheet and the count of sheets; the roll has no start position. The preview is the first page: the first label
    // where the sheet's free places begin, the places before it empty.
    void formato_data()
    {
        Colonne<int, int, int, QString>("formato", "inizio", "massimo", "conteggio");
        QTest::newRow("3x8, oltre il foglio") << 0 << 30 << 24 << "5 etichette su 2 fogli";
        QTest::newRow("3x8, da 4") << 0 << 4 << 24 << "5 etichette su 1 foglio";
        QTest::newRow("4x10, da 37") << 1 << 37 << 40 << "5 etichette su 2 fogli";
        QTest::newRow("rotolo") << 2 << 5 << 1 << "5 etichette sul rotolo";
    }
    void formato()
    {
        const auto [formato, inizio, massimo, conteggio] =
            Valori<int, int, int, QString>("formato", "inizio", "massimo", "conteggio");
        Banco b(QList<qint32>{1, 2, 3, 4, 5});
        b.apriEtichette();
        b.c<QComboBox>("cmbFormato")->setCurrentIndex(formato);
        b.c<QSpinBox>("spnInizio")->setValue(inizio);
        QCOMPARE(b.c<QSpinBox>("spnInizio")->maximum(), massimo);
        QCOMPARE(b.c<QLabel>("lblConteggio")->text(), conteggio);
        const int valido = std::min(inizio, massimo);

        const QImage img = b.c<QLabel>("lblAnteprima")->pixmap().toImage();
        const FormatoEtichette &fe = FormatiEtichette().at(formato);
        QVERIFY(img.width() <= 300 && img.height() <= 424);
        QVERIFY(img.width() >= 299 || img.height() >= 423);
        const int dpi = int(std::lround(img.width() / (fe.pagina.width() / 25.4)));
        const auto dentro = [&](int posto) {
            return pdf::InPixel(PostiEtichette(fe, 1, posto).first().rettangolo, dpi).adjusted(3, 3, -3, -3);
        };
        QVERIFY(!pdf::Bianca(img, dentro(valido)));
        for (int libero = 1; libero < valido; ++libero)
            QVERIFY(pdf::Bianca(img, dentro(libero)));
    }

    // A file that cannot be written is reported, and nothing is left behind: here the Stampe folder is a file.
    void fileNonScritto()
    {
        Banco b(QList<qint32>{1});
        QDir(b.cartella.file(u"Stampe"_s)).removeRecursively();
        b.cartella.scrivi(u"Stampe"_s, "non una cartella");
        b.apriEtichette();
        b.dialoghi.setNextAnswer(Risposta::Ok);
        b.clic("btnPdfEtichette");
        VerificaBox(b.dialoghi, TestoErroreEtichette, Icona::Critica, Pulsanti::Ok, TitoloErroreEtichette);
        QCOMPARE(b.stato_(), QString());
        QCOMPARE(b.cartella.leggi(u"Stampe"_s), QByteArray("non una cartella"));
        QCOMPARE(QDir(b.cartella.percorso()).entryList(QDir::Files | QDir::Hidden), QStringList{"Stampe"});
        VERIFICA_DIALOGHI(b.dialoghi);
    }
};

QTEST_MAIN(TestFrmEtichette)
#include "tst_frmetichette.moc"
