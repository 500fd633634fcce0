// Paper from the main window: the labels window opened on the list shown,
// and the print listing offered on a printer or as a PDF after its file.

#include "ambiente.h"

#include "common/pdfletto.h"
#include "common/verifiche.h"
#include "reports/stampa.h"
#include "store/cp1252.h"
#include "store/orologio.h"
#include "ui/etichette/frmetichette.h"

#include <QPrinter>

using namespace Qt::StringLiterals;

using namespace prova;

namespace {

// Seventy components: a listing of two pages.
void settanta(Stato &s)
{
    riempiTabelle(s);
    for (int i = 1; i <= 70; ++i) {
        Componente c = componente(i, u"C%1"_s.arg(i, 3, 10, QLatin1Char('0')), 1 + i % 3,
                                  QStringList{"TI", "ST", "NXP"}[i % 3], 1 + i % 2, QStringList{"IC", "TR"}[i % 2], i);
        c.Descrizione = u"Condensatore %1 \u00b5F, 50 V"_s.arg(i);
        aggiungi(s, c);
    }
}

// The lines of a text with their blanks run together, empty lines and the
// pages' footers left out: what a PDF and a text file must share.
QStringList Righe(const QString &testo)
{
    static const QRegularExpression piede(u"^Pagina \\d+ di \\d+$"_s);
    QStringList righe;
    for (QString r : testo.split(QLatin1Char('\n'))) {
        r = r.remove(QLatin1Char('\f')).simplified();
        if (!r.isEmpty() && !piede.match(r).hasMatch())
            righe << r;
    }
    return righe;
}

} // namespace

class TestFrmMainCarta : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ImpostaOggi(QDate(2026, 12, 5)); }

    // Programma > Stampa etichette: the window knows the rows the list
    // shows, in their order, and the component in the panel.
    void etichetteDalMenu()
    {
        Caso a(cinqueComponenti);
        QCOMPARE(a.azione(u"mnuEtichette"_s)->text().remove(u'&'), u"Stampa etichette\u2026"_s);
        QVERIFY(a.w<QMenu>(u"mnuProg"_s)->actions().contains(a.azione(u"mnuEtichette"_s)));
        // Only ST (right click on a manufacturer cell, then a click), by code descending.
        a.clicRiga(a.rigaDi("74HC00"), 1, Qt::RightButton);
        a.clicRiga(a.rigaDi("74HC00"), 1);
        a.clicIntestazione(1);
        QCOMPARE(a.codici(), (QStringList{"BC547C", "74HC00"}));
        a.clicRiga(a.rigaDi("74HC00"), 0);
        QList<qint32> scelte;
        QString mostrato;
        QuandoModale([&](QWidget *m) {
            auto *f = qobject_cast<FrmEtichette *>(m);
            QVERIFY(f);
            scelte = f->posizioniScelte();
            mostrato = Figlio<QComboBox>(f, u"cmbQuali"_s)->itemText(2);
            m->close();
        });
        a.menu(u"mnuEtichette"_s);
        QCOMPARE(scelte, (QList<qint32>{2, 5}));
        QCOMPARE(mostrato, u"Solo il componente mostrato (74HC00)"_s);
    }

    // After the text file, a box offers paper or PDF; each answer does its part and nothing more, the text file the
    // same in every case. The listing is longer than a page: A4 pages numbered in their footers, the text the same as
    // the file's, line by line.
    void listaSuCarta_data()
    {
        Colonne<QString, bool, bool, QString>("risposta", "conferma", "pdf", "messaggio");
        QTest::newRow("no") << "no" << false << false << "Stampa creata: %1.txt";
        QTest::newRow("pdf") << "pdf" << false << true << "Stampa in PDF creata: %1.pdf";
        QTest::newRow("stampa") << "stampa" << true << false << "Stampa inviata alla stampante";
        QTest::newRow("stampa annullata") << "stampa" << false << false << "Stampa creata: %1.txt";
    }
    void listaSuCarta()
    {
        const auto [risposta, conferma, pdf, messaggio] =
            Valori<QString, bool, bool, QString>("risposta", "conferma", "pdf", "messaggio");
        Caso a(settanta);
        const QString uscita = a.cartella.file(u"stampante.pdf"_s);
        int chiamate = 0;
        QString documento;
        a.finestra->impostaSceltaStampante([&, conferma = conferma](QPrinter &p, QWidget *) {
            ++chiamate;
            documento = p.docName();
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(uscita);
            return conferma;
        });
        a.dialoghi.setNextAnswer(risposta == "no" ? Risposta::No : risposta == "pdf" ? Risposta::Pdf : Risposta::Stampa);
        a.premi("print");

        const QString base = a.cartella.file(u"Stampe/Stampa_05122026"_s);
        VerificaBox(a.dialoghi, "La lista di stampa \u00e8 stata scritta in " + QDir::toNativeSeparators(base)
                        + ".txt\r\nStamparla anche su carta o salvarla in PDF?",
                    Icona::Domanda, Pulsanti::StampaPdfNo, u"Stampa"_s);
        QCOMPARE(a.messaggio(), messaggio.arg(QDir::toNativeSeparators(base)));
        const QByteArray testo = a.cartella.leggi(u"Stampe/Stampa_05122026.txt"_s);
        QCOMPARE(testo, CodificaCp1252(TestoStampa(a.stato, a.posizioni(), Oggi())));
        QCOMPARE(a.cartella.esiste(u"Stampe/Stampa_05122026.pdf"_s), pdf);
        QCOMPARE(chiamate, risposta == "stampa" ? 1 : 0);
        QCOMPARE(QFile::exists(uscita), conferma);
        if (chiamate)
            QCOMPARE(documento, u"Stampa_05122026"_s);
        const QString stampato = pdf ? base + ".pdf" : uscita;
        if (!pdf && !conferma)
            return;
        const QList<QSizeF> pagine = pdf::PagineMm(stampato);
        QCOMPARE(pagine.size(), 2);
        for (const QSizeF &p : pagine)
            QVERIFY(qAbs(p.width() - 210) < 0.5 && qAbs(p.height() - 297) < 0.5);
        const QString stampa = pdf::Testo(stampato);
        const QStringList fogli = stampa.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(fogli.size(), 2);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(fogli[i].trimmed().section(QLatin1Char('\n'), -1).trimmed(), u"Pagina %1 di 2"_s.arg(i + 1));
        const QStringList attese = Righe(DecodificaCp1252(testo));
        QCOMPARE(attese.size(), 70 + 6); // heading, titles, rows, footer
        QCOMPARE(Righe(stampa), attese);
    }

    // A PDF that cannot be written is reported; the text file is there.
    void pdfNonScritto()
    {
        Caso a(cinqueComponenti);
        QDir().mkpath(a.cartella.file(u"Stampe/Stampa_05122026.pdf"_s));
        a.dialoghi.setNextAnswer(Risposta::Pdf);
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.premi("print");
        QCOMPARE(a.dialoghi.boxes().size(), 2);
        QCOMPARE(a.dialoghi.ultimoBox().testo,
                 u"Errore nella creazione del PDF della lista di stampa\r\nControllare che la cartella Stampe esista "
                 "e che il file non sia aperto in altro programma"_s);
        QCOMPARE(a.dialoghi.ultimoBox().icona, Icona::Critica);
        QCOMPARE(a.dialoghi.ultimoBox().titolo, TitoloErroreStampa);
        QVERIFY(a.cartella.esiste(u"Stampe/Stampa_05122026.txt"_s));
        QVERIFY(a.messaggio().startsWith(u"Stampa creata: "_s));
    }
};

QTEST_MAIN(TestFrmMainCarta)
#include "tst_frmmain_carta.moc"
