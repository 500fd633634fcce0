// The bill-of-materials window through its real widgets, opened from the main window's menu: the rows and the summary,
// the number of boards, the pick among several matching components, links made by hand, and "Preleva" with its
// confirmation, its failure and what the main window shows after.

#include "common/bomkicad.h"
#include "common/verifiche.h"
#include "distinta/collegamenti.h"
#include "ui/main/ambiente.h"
#include "ui/widgets/tavolozza.h"

using namespace prova;

namespace {

// Everything is in stock for one board.
const QByteArray BomDisponibile = "Reference;Value;Quantity\r\nU1;NE555;2\r\nR1,R2;10k;5\r\n";

// The tables and the components, "code:manufacturer ID:type ID:pieces", in table order.
void riempi(Stato &s, std::initializer_list<const char *> voci)
{
    riempiTabelle(s);
    for (const char *voce : voci) {
        const QStringList p = QString::fromLatin1(voce).split(u':');
        const qint32 produttore = p[1].toInt(), tipo = p[2].toInt();
        aggiungi(s, componente(s.NumComponenti + 1, p[0], produttore, s.produttore(produttore).Nome, tipo,
                               s.tipo(tipo).Nome, p[3].toInt()));
    }
}

// The drawers; 634 pieces.
void magazzino(Stato &s)
{
    riempi(s, {"10K:1:1:100", "100NF:1:1:500", "GRM21BR71H104KA01:1:1:1", "NE555:1:1:5", "BC547:2:2:10", "BC547:3:2:3",
               "LM7805:2:3:10", "L7805CV:2:3:1", "TL072:1:1:4"});
}

QList<qint32> quantita(const Stato &s)
{
    QList<qint32> q;
    for (qint32 i = 1; i <= s.NumComponenti; ++i)
        q << s.componente(i).Quantita;
    return q;
}

const QList<qint32> Iniziali{100, 500, 1, 5, 10, 3, 10, 1, 4};

// A stock that names parts its own way: the KiCad BOM's "10k" and "100nF" are found only through a link.
void magazzinoConCodiciPropri(Stato &s)
{
    riempi(s, {"RES-10K-0805:1:1:100", "C-100N-0805:1:1:1", "NE555:1:1:5", "BC547:2:2:10", "BC547:3:2:3"});
    s.componente(1).Descrizione = QStringLiteral("Resistenza 10k 1% 0805");
    s.componente(2).Descrizione = QStringLiteral("Condensatore 100nF X7R 0805");
}

// The widgets of the open window.
struct Finestra {
    QWidget *w;
    template <typename T = QWidget>
    T *c(const char *nome) const
    {
        return Figlio<T>(w, QLatin1String(nome));
    }
    ListaReport *lvd() const { return c<ListaReport>("LVD"); }
    ListaReport *lvCollega() const { return c<ListaReport>("LVCollega"); }
    // Each row of a list, its first cells joined.
    static QStringList celle(const ListaReport *l, int quante, QChar tra)
    {
        QStringList out;
        for (int r = 1; r <= l->numeroRighe(); ++r) {
            QStringList riga;
            for (int k = 0; k < quante; ++k)
                riga << l->testo(r, k);
            out << riga.join(tra);
        }
        return out;
    }
    QStringList trovati() const { return celle(lvCollega(), 2, u' '); }
    QStringList righe() const { return celle(lvd(), 7, u'|'); }
    QString riga(int r) const { return righe().at(r - 1); }
    // The rows marked as short of pieces.
    QList<int> marcate() const
    {
        QList<int> out;
        for (int r = 1; r <= lvd()->numeroRighe(); ++r)
            if (lvd()->evidenziata(r))
                out << r;
        return out;
    }
    void cerca(const QString &testo) const
    {
        auto *tx = c<QLineEdit>("txCollega");
        tx->clear();
        QTest::keyClicks(tx, testo);
    }
    bool attivo(const char *bottone) const { return c<QPushButton>(bottone)->isEnabled(); }
    QString riepilogo() const { return c<QLabel>("lblRiepilogo")->text(); }
    QString stato() const { return c<QLabel>("lblStato")->text(); }
    void clic(const char *bottone) const { QTest::mouseClick(c<QPushButton>(bottone), Qt::LeftButton); }
};

struct Prova : Caso {
    QList<QByteArray> prima;
    explicit Prova(const QByteArray &bom, void (*riempi)(Stato &) = magazzino)
    {
        riempi(stato);
        DialoghiFinti d;
        if (!SalvaDatabase(stato, d))
            qFatal("salvataggio iniziale fallito");
        prima = fileDati();
        cartella.scrivi(QStringLiteral("progetto/scheda.csv"), bom);
        apri();
    }
    // Opens the window from the menu and runs the steps on it, then "Chiudi" when the steps leave it open.
    void usa(const std::function<void(const Finestra &)> &passi)
    {
        dialoghi.setNextFile(cartella.file(QStringLiteral("progetto/scheda.csv")));
        bool aperta = false;
        QuandoModale([&](QWidget *m) {
            aperta = true;
            QCOMPARE(m->objectName(), QStringLiteral("frmDistinta"));
            const Finestra f{m};
            passi(f);
            if (m->isVisible())
                f.clic("btnChiudi");
        });
        menu(QStringLiteral("mnuDistinta"));
        QVERIFY(aperta);
    }
    bool fileInvariati() const { return fileDati() == prima; }
};

} // namespace

class TestFrmDistinta : public QObject {
    Q_OBJECT
private slots:
    // The KiCad BOM against the stock: every outcome, two boards, the pick of one of two BC547, the rows short of
    // pieces marked. "Preleva" names the short lines: after "No" all is as before, and a second opening starts afresh;
    // "Sì" takes what there is, and the main list and counters follow.
    void verificaEPrelievo()
    {
        Prova a(BomKicad);
        const QString domanda = QString::fromUtf8(
            "Non tutto è disponibile:\r\n> C1,C2 GRM21BR71H104KA01: Mancano 3\r\n> Q1,Q2 BC547: Mancano 1\r\n"
            "> U2 l7805cv: Mancano 1\r\n> D1 1N4148: Non trovato\r\n\r\nPrelevare comunque i pezzi disponibili?");
        a.usa([&](const Finestra &f) {
            QCOMPARE(f.righe(), (QStringList{
                                    "R1,R2,R5|10k|3|3|10K|100|Disponibile",
                                    "C1,C2|GRM21BR71H104KA01|2|2|GRM21BR71H104KA01|1|Mancano 1",
                                    "U1|ne555|1|1|NE555|5|Disponibile",
                                    "Q1,Q2|BC547|2|2|2 componenti||Da scegliere (2)",
                                    "U2|l7805cv|1|1|L7805CV|1|Disponibile",
                                    "U3|TL072|1|1|TL072|4|Disponibile",
                                    "D1|1N4148|1|1|||Non trovato",
                                }));
            QCOMPARE(f.riepilogo(), QStringLiteral("Disponibili 4 - Mancano pezzi 1 - Non trovati 1 - Da scegliere 1"));
            // Lines short of pieces (what the shopping list takes) are marked in the main list's colours of low stock.
            QCOMPARE(f.marcate(), (QList<int>{2, 7}));
            const QAbstractItemModel *m = f.lvd()->vista()->model();
            const ColoriAvviso avviso = ColoriRigaAvviso(true);
            QCOMPARE(m->data(m->index(1, 0), Qt::BackgroundRole).value<QColor>(), avviso.sfondo);
            QCOMPARE(m->data(m->index(6, 3), Qt::ForegroundRole).value<QColor>(), avviso.testo);
            QVERIFY(!m->data(m->index(0, 0), Qt::BackgroundRole).isValid());
            QVERIFY2(f.c<QLabel>("lblFile")->text().endsWith(QStringLiteral("separatore virgola)")),
                     qPrintable(f.c<QLabel>("lblFile")->text()));
            auto *spn = f.c<QSpinBox>("spnSchede");
            QCOMPARE(spn->value(), 1);
            QTest::keyClick(spn, Qt::Key_Up);
            QCOMPARE(f.riga(2), QStringLiteral("C1,C2|GRM21BR71H104KA01|2|4|GRM21BR71H104KA01|1|Mancano 3"));
            QCOMPARE(f.riga(5), QStringLiteral("U2|l7805cv|1|2|L7805CV|1|Mancano 1"));
            QCOMPARE(f.riepilogo(), QStringLiteral("Disponibili 3 - Mancano pezzi 2 - Non trovati 1 - Da scegliere 1"));
            QCOMPARE(f.marcate(), (QList<int>{2, 5, 7}));

            // The pick is offered only on the ambiguous row.
            auto *cmb = f.c<QComboBox>("cmbScelta");
            ClicRiga(f.lvd(), 1, 0);
            QVERIFY(!cmb->isEnabled());
            ClicRiga(f.lvd(), 4, 0);
            QVERIFY(cmb->isEnabled());
            QCOMPARE(cmb->count(), 3);
            QCOMPARE(cmb->itemText(1), QStringLiteral("BC547 - ST - TR - 10 pz"));
            QCOMPARE(cmb->itemText(2), QStringLiteral("BC547 - NXP - TR - 3 pz"));
            QTest::keyClick(cmb, Qt::Key_Down);
            QCOMPARE(f.riga(4), QStringLiteral("Q1,Q2|BC547|2|4|BC547|10|Disponibile"));
            QTest::keyClick(cmb, Qt::Key_Down);
            QCOMPARE(f.riga(4), QStringLiteral("Q1,Q2|BC547|2|4|BC547|3|Mancano 1"));
            QCOMPARE(f.riepilogo(), QStringLiteral("Disponibili 3 - Mancano pezzi 3 - Non trovati 1"));
            QCOMPARE(f.marcate(), (QList<int>{2, 4, 5, 7}));
            a.dialoghi.setNextAnswer(Risposta::No);
            f.clic("btnPreleva");
            VerificaBox(a.dialoghi, domanda, Icona::Esclamazione, Pulsanti::SiNo, QStringLiteral("Preleva"));
        });
        QCOMPARE(quantita(a.stato), Iniziali);
        QVERIFY(a.fileInvariati());
        QCOMPARE(a.dialoghi.dialoghiFile().size(), 1);
        QCOMPARE(a.dialoghi.dialoghiFile()[0].titolo, QStringLiteral("Verifica distinta base"));

        // Nothing is remembered: one board, no pick.
        a.usa([&](const Finestra &f) {
            QCOMPARE(f.c<QSpinBox>("spnSchede")->value(), 1);
            QCOMPARE(f.riga(4), QStringLiteral("Q1,Q2|BC547|2|2|2 componenti||Da scegliere (2)"));
            QTest::keyClick(f.c<QSpinBox>("spnSchede"), Qt::Key_Up);
            ClicRiga(f.lvd(), 4, 0);
            QTest::keyClick(f.c<QComboBox>("cmbScelta"), Qt::Key_Down);
            QTest::keyClick(f.c<QComboBox>("cmbScelta"), Qt::Key_Down);
            a.dialoghi.setNextAnswer(Risposta::Si);
            f.clic("btnPreleva");
            QCOMPARE(a.dialoghi.ultimoBox().testo, domanda);
            QCOMPARE(f.stato(), QString::fromUtf8("Prelevati 15 pezzi da 6 componenti: il magazzino è stato salvato."));
            QVERIFY(!f.c<QPushButton>("btnPreleva")->isEnabled());
            QCOMPARE(f.riga(3), QStringLiteral("U1|ne555|1|2|NE555|3|Disponibile"));
        });
        const QList<qint32> dopo{94, 500, 0, 3, 10, 0, 10, 0, 2};
        QCOMPARE(quantita(a.stato), dopo);
        QCOMPARE(quantita(*a.suDisco()), dopo);
        QCOMPARE(a.contatori(), QStringLiteral("9/9/619"));
        QCOMPARE(a.messaggio(), QStringLiteral("Operazione completata: pezzi prelevati per la distinta base"));
        // The list shows the new quantities, still sorted by code.
        QCOMPARE(a.codici(), (QStringList{"100NF", "10K", "BC547", "BC547", "GRM21BR71H104KA01", "L7805CV",
                                          "LM7805", "NE555", "TL072"}));
        QCOMPARE(a.lista()->testo(8, 3), QStringLiteral("3"));
    }

    // Everything available: no question. A save that fails (the rollback: tst_operazioni) leaves the main window as it
    // was and says so; once the folder can be written again the taking succeeds, and a later quit keeps it.
    void prelevaSalvataggioFallito()
    {
        Prova a(BomDisponibile);
        const QString bloccante = a.cartella.file(QStringLiteral("Componenti.dat.nuovo"));
        QVERIFY(QDir().mkpath(bloccante + "/x"));
        const QStringList codici = a.codici();
        a.usa([&](const Finestra &f) {
            QCOMPARE(f.riepilogo(), QStringLiteral("Disponibili 2 - Mancano pezzi 0 - Non trovati 0"));
            QVERIFY(!f.c<QPushButton>("btnMancanti")->isEnabled());
            a.dialoghi.setNextAnswer(Risposta::Ok);
            f.clic("btnPreleva");
            VerificaBox(a.dialoghi, QStringLiteral("Errore nel salvataggio dei dati"), Icona::Nessuna);
            QCOMPARE(f.stato(),
                     QString::fromUtf8("Attenzione: i dati NON sono stati salvati, nessun pezzo è stato prelevato"));
            QCOMPARE(a.contatori(), QStringLiteral("9/9/634"));
            QCOMPARE(a.codici(), codici);
            // The main window says so too, as for any save that fails.
            QCOMPARE(a.messaggio(),
                     QString::fromUtf8("Attenzione: i dati NON sono stati salvati, nessun pezzo è stato prelevato"));

            QVERIFY(QDir(bloccante).removeRecursively());
            QVERIFY(f.c<QPushButton>("btnPreleva")->isEnabled());
            f.clic("btnPreleva");
            QCOMPARE(f.stato(), QString::fromUtf8("Prelevati 7 pezzi da 2 componenti: il magazzino è stato salvato."));
        });
        const QList<qint32> dopo{95, 500, 1, 3, 10, 3, 10, 1, 4};
        QCOMPARE(quantita(*a.suDisco()), dopo);
        QCOMPARE(a.contatori(), QStringLiteral("9/9/627"));
        a.menu(QStringLiteral("mnuQuit"));
        QVERIFY(!a.finestra->isVisible());
        QCOMPARE(quantita(*a.suDisco()), dopo);
    }

    // The main window's editor open on NE555 (5 pieces) at "Preleva": a change typed there is settled first (Annulla,
    // Sì, No), a saved code change matches the lines again, and no editor is left open whose old quantity a later
    // "Salva" could write back.
    void editorApertoAlPrelievo_data()
    {
        // campo: the field typed in, none when empty; domanda: the last box, none when empty; riga1: the NE555 line
        // afterwards; dopo: on disk, after a "Salva"; pannello: txQty afterwards
        Colonne<QString, QString, QList<int>, QString, QString>("campo", "valore", "risposte", "domanda", "riga1");
        Colonne<QList<qint32>, QString, QString>("dopo", "bottoni", "pannello");
        const QString salvare = QStringLiteral("Salvare le modifiche al componente?");
        const QList<qint32> preso{95, 500, 1, 3, 10, 3, 10, 1, 4};
        QTest::newRow("nulla scritto") << QString() << QString() << QList<int>() << QString()
                                       << "U1|NE555|2|2|NE555|3|Disponibile" << preso << "10000" << "";
        QTest::newRow("Annulla") << "txQty" << "50" << QList<int>{int(Risposta::Annulla)} << salvare
                                 << "U1|NE555|2|2|NE555|5|Disponibile"
                                 << QList<qint32>{100, 500, 1, 50, 10, 3, 10, 1, 4} << "00011" << "50";
        QTest::newRow("Sì") << "txQty" << "50" << QList<int>{int(Risposta::Si)} << salvare
                            << "U1|NE555|2|2|NE555|48|Disponibile"
                            << QList<qint32>{95, 500, 1, 48, 10, 3, 10, 1, 4} << "10000" << "";
        QTest::newRow("No") << "txQty" << "50" << QList<int>{int(Risposta::No)} << salvare
                            << "U1|NE555|2|2|NE555|3|Disponibile" << preso << "10000" << "";
        QTest::newRow("codice cambiato") << "txCodice" << "NE556" << QList<int>{int(Risposta::Si), int(Risposta::No)}
                                         << QString::fromUtf8("Non tutto è disponibile:\r\n> U1 NE555: Non trovato"
                                                              "\r\n\r\nPrelevare comunque i pezzi disponibili?")
                                         << "U1|NE555|2|2|||Non trovato" << Iniziali << "10000" << "5";
    }
    void editorApertoAlPrelievo()
    {
        const auto [campo, valore, risposte] = Valori<QString, QString, QList<int>>("campo", "valore", "risposte");
        const auto [domanda, riga1, dopo] = Valori<QString, QString, QList<qint32>>("domanda", "riga1", "dopo");
        const auto [bottoni, pannello] = Valori<QString, QString>("bottoni", "pannello");
        Prova a(BomDisponibile);
        a.clicRiga(int(a.codici().indexOf("NE555")) + 1, 0);
        a.premi("edit");
        QCOMPARE(a.testo(QStringLiteral("txQty")), QStringLiteral("5"));
        if (!campo.isEmpty())
            a.scrivi(campo, valore);
        a.usa([&](const Finestra &f) {
            QCOMPARE(f.riga(1), QStringLiteral("U1|NE555|2|2|NE555|5|Disponibile"));
            for (int r : risposte)
                a.dialoghi.setNextAnswer(Risposta(r));
            f.clic("btnPreleva");
            QCOMPARE(a.dialoghi.ultimoBox().testo, domanda);
            QCOMPARE(f.riga(1), riga1);
        });
        QCOMPARE(a.dialoghi.boxes().size(), int(risposte.size()));
        // The panel is emptied after a taking, or still holds the typing.
        QCOMPARE(a.bottoni(), bottoni);
        QCOMPARE(a.testo(QStringLiteral("txQty")), pannello);
        a.premi("save"); // only where the editor is still open
        QCOMPARE(quantita(a.stato), dopo);
        QCOMPARE(quantita(*a.suDisco()), dopo);
        QCOMPARE(a.suDisco()->componente(4).Codice, campo == "txCodice" ? valore : QStringLiteral("NE555"));
    }

    // Lines linked by hand through the search box, saved at once, used at the next opening, removable; a read-only
    // archive keeps them as they are.
    void collegaAMano()
    {
        Prova a(BomKicad, magazzinoConCodiciPropri);
        a.usa([&](const Finestra &f) {
            QCOMPARE(f.c<QLabel>("lblCollega")->text(), QStringLiteral(
                "Selezionare una riga della distinta per collegarla a mano a un componente del magazzino."));
            f.cerca("0805");
            QCOMPARE(f.trovati(), (QStringList{"RES-10K-0805 TI", "C-100N-0805 TI"}));
            QCOMPARE(f.c<QLabel>("lblTrovati")->text(), QStringLiteral("Trovati 2 componenti"));
            ClicRiga(f.lvCollega(), 1, 0);
            QVERIFY(!f.attivo("btnCollega")); // no line chosen
            QVERIFY(!f.attivo("btnScollega"));

            // Not found, by value and footprint: the only component found is selected by itself.
            ClicRiga(f.lvd(), 1, 0);
            QCOMPARE(f.c<QLabel>("lblCollega")->text(),
                     QStringLiteral("Collegare il valore \"10k\" con footprint \"Resistor_SMD:R_0805_2012Metric\" a "
                                    "un componente del magazzino:"));
            f.cerca("10k 0805");
            QCOMPARE(f.trovati(), QStringList{"RES-10K-0805 TI"});
            QCOMPARE(f.c<QLabel>("lblTrovati")->text(), QStringLiteral("Trovato 1 componente"));
            QVERIFY(f.attivo("btnCollega"));
            f.clic("btnCollega");
            QCOMPARE(f.riga(1), QStringLiteral("R1,R2,R5|10k|3|3|RES-10K-0805|100|Disponibile (collegato)"));
            QCOMPARE(f.stato(), QString::fromUtf8("Riga collegata a RES-10K-0805: il collegamento è salvato in "
                                                  "Collegamenti.csv e vale anche per le prossime verifiche."));
            QVERIFY(f.attivo("btnScollega"));

            // Not found, by MPN, with a double click; one piece for two.
            ClicRiga(f.lvd(), 2, 0);
            QCOMPARE(f.c<QLabel>("lblCollega")->text(),
                     QStringLiteral("Collegare l'MPN \"GRM21BR71H104KA01\" a un componente del magazzino:"));
            QVERIFY(!f.attivo("btnScollega"));
            f.cerca("condensatore");
            QTest::mouseDClick(f.lvCollega()->vista()->viewport(), Qt::LeftButton, {},
                               f.lvCollega()->vista()->visualRect(f.lvCollega()->vista()->model()->index(0, 0)).center());
            QCOMPARE(f.riga(2), QStringLiteral("C1,C2|GRM21BR71H104KA01|2|2|C-100N-0805|1|Mancano 1 (collegato)"));

            // Ambiguous: linked, nothing to pick; unlinked, the component stays picked.
            ClicRiga(f.lvd(), 4, 0);
            f.cerca("bc547");
            ClicRiga(f.lvCollega(), 2, 0);
            f.clic("btnCollega");
            QCOMPARE(f.riga(4), QStringLiteral("Q1,Q2|BC547|2|2|BC547|3|Disponibile (collegato)"));
            QVERIFY(!f.c<QComboBox>("cmbScelta")->isEnabled());
            QCOMPARE(f.c<QLabel>("lblCollega")->text(),
                     QStringLiteral("Collegare il valore \"BC547\" con footprint \"Package_TO_SOT_THT:TO-92_Inline\" "
                                    "a un componente del magazzino: ora \u00e8 collegato a BC547."));
            f.clic("btnScollega");
            QCOMPARE(f.riga(4), QStringLiteral("Q1,Q2|BC547|2|2|BC547|3|Disponibile")); // now the line's pick
            QVERIFY(f.c<QComboBox>("cmbScelta")->isEnabled());
            QCOMPARE(f.stato(), QString::fromUtf8("Collegamento rimosso: la riga è cercata di nuovo per codice, MPN "
                                                  "e valore."));
            QCOMPARE(f.marcate(), (QList<int>{2, 5, 6, 7}));
        });
        QVERIFY(a.fileInvariati());

        // Next time the links are there (saved as tst_distinta checks); read-only shows them but does not change them.
        const QByteArray salvato = a.cartella.leggi(NomeFileCollegamenti);
        a.stato.SolaLettura = true;
        a.usa([&](const Finestra &f) {
            QCOMPARE(f.riga(1), QStringLiteral("R1,R2,R5|10k|3|3|RES-10K-0805|100|Disponibile (collegato)"));
            ClicRiga(f.lvd(), 1, 0);
            f.cerca("0805");
            ClicRiga(f.lvCollega(), 2, 0);
            QVERIFY(!f.attivo("btnCollega"));
            QVERIFY(!f.attivo("btnScollega"));
        });
        QCOMPARE(a.cartella.leggi(NomeFileCollegamenti), salvato);

        // A links file that cannot be read: the check goes on without links and says why; a link then cannot be saved,
        // and the user is told.
        const QString file = a.cartella.file(NomeFileCollegamenti);
        QVERIFY(QFile::remove(file) && QDir().mkpath(file));
        a.stato.SolaLettura = false;
        a.usa([&](const Finestra &f) {
            QCOMPARE(f.stato(), QString::fromUtf8("I collegamenti fatti a mano non sono stati letti. Impossibile "
                                                  "leggere il file %1: non è un file normale o non è leggibile.")
                                    .arg(QDir::toNativeSeparators(file)));
            ClicRiga(f.lvd(), 1, 0);
            f.cerca("res-10k");
            a.dialoghi.setNextAnswer(Risposta::Ok);
            f.clic("btnCollega");
            VerificaBox(a.dialoghi,
                        QString::fromUtf8("Impossibile salvare il file Collegamenti.csv: il collegamento non è "
                                          "cambiato.\r\nAl posto del file %1 c'è una cartella")
                            .arg(QDir::toNativeSeparators(file)),
                        Icona::Critica, Pulsanti::Ok, QStringLiteral("Collegamento non salvato"));
            QCOMPARE(f.stato(), QString::fromUtf8("Il collegamento non è stato salvato."));
            QCOMPARE(f.riga(1), QStringLiteral("R1,R2,R5|10k|3|3|||Non trovato"));
        });
    }

    // How the file was read, said above the list; a line that cannot be read stays in the list with its reason and is
    // named before taking; the keyboard reaches the pick of a component.
    void descrizioneERigheIlleggibili()
    {
        Prova a("Designator,Comment,DNP\nU1,NE555,\nR1,10k,\nR2,10k,\n,1k,\nR4,22k,X\nR5,1k,DNP\nQ1,BC547,\n");
        a.usa([&a](const Finestra &f) {
            const QString testo = f.c<QLabel>("lblFile")->text();
            QVERIFY2(testo.endsWith(QString::fromUtf8(
                         "separatore virgola) - senza colonna della quantità: i pezzi sono contati dai riferimenti"
                         " - righe dello stesso componente unite: 1 - righe da non montare (DNP) escluse: 2 (R4, R5)")),
                     qPrintable(testo));
            const QString errore =
                QStringLiteral("Errore alla riga 5: mancano i riferimenti, che danno la quantit\u00e0");
            QCOMPARE(f.righe(), (QStringList{"U1|NE555|1|1|NE555|5|Disponibile", "R1,R2|10k|2|2|10K|100|Disponibile",
                                             "|1k|||||" + errore, "Q1|BC547|1|1|2 componenti||Da scegliere (2)"}));
            QCOMPARE(f.riepilogo(), QStringLiteral("Disponibili 2 - Mancano pezzi 0 - Non trovati 0 - Da scegliere 1 - "
                                                   "Righe con errori 1"));
            f.lvd()->vista()->setFocus();
            QTest::keyClick(f.lvd()->vista(), Qt::Key_Down); // row 1
            QTest::keyClick(f.lvd()->vista(), Qt::Key_End);  // row 4
            QCOMPARE(f.lvd()->rigaSelezionata(), 4);
            QVERIFY(f.c<QComboBox>("cmbScelta")->isEnabled());
            a.dialoghi.setNextAnswer(Risposta::Si);
            f.clic("btnPreleva");
            QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Non tutto \u00e8 disponibile:\r\n> 1k: ") + errore
                                                       + QStringLiteral("\r\n> Q1 BC547: Da scegliere (2)\r\n\r\n"
                                                                        "Prelevare comunque i pezzi disponibili?"));
        });
        QCOMPARE(quantita(*a.suDisco()), (QList<qint32>{98, 500, 1, 4, 10, 3, 10, 1, 4}));
    }

    // A file that is no BOM (tst_distinta has the others): one message, no window; a cancelled file dialog: nothing.
    void fileNonUtilizzabile()
    {
        Prova a(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        a.dialoghi.setNextFile(a.cartella.file(QStringLiteral("progetto/scheda.csv")));
        a.dialoghi.setNextAnswer(Risposta::Ok);
        a.menu(QStringLiteral("mnuDistinta"));
        VerificaBox(a.dialoghi,
                    QString::fromUtf8("Il file non è un testo CSV (contiene dati binari): salvare la distinta base come CSV."),
                    Icona::Esclamazione, Pulsanti::Ok, QStringLiteral("Verifica distinta base"));
        QVERIFY(!QApplication::activeModalWidget());
        a.dialoghi.setNextFile(QString());
        a.menu(QStringLiteral("mnuDistinta"));
        QCOMPARE(a.dialoghi.boxes().size(), 1);
        QVERIFY(a.fileInvariati());
        QCOMPARE(a.contatori(), QStringLiteral("9/9/634"));
    }
};

QTEST_MAIN(TestFrmDistinta)
#include "tst_frmdistinta.moc"
