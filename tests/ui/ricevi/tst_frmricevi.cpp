// The receiving window through its real widgets, opened from the main window's menu.

#include "common/buste.h"
#include "common/finestramodale.h"
#include "common/fogliocodici.h"
#include "movimenti/indice.h"
#include "ricevi/codiciimmagine.h"
#include "ricevi/scansione.h"
#include "ui/main/ambiente.h"
#include "ui/storico/aiutistorico.h"

#include <QComboBox>
#include <QSpinBox>

using namespace Qt::StringLiterals;

using namespace prova;

namespace {

const QString Lcsc = u"{pbn:PICK2309,on:SO2309,pc:C2040,pm:TL072CDR,qty:30,mc:,cc:1,pdi:9,hp:0,wc:JS}"_s;

struct Finestra : Modale {
    ListaReport *lvr() const { return c<ListaReport>("LVR"); }
    QStringList righe() const { return RigheLista(lvr()); }
    // Types a text as a scanner does, the separators as the control keys of a keyboard-emulating scanner, then Enter
    // unless the envelope ends.
    void scansiona(const QString &testo) const
    {
        auto *tx = c<QLineEdit>("txScansione");
        const QHash<QChar, Qt::Key> controllo{{u'\x1d', Qt::Key_BracketRight}, {u'\x1e', Qt::Key_AsciiCircum},
                                              {u'\x04', Qt::Key_D}};
        for (const QChar ch : testo) {
            if (controllo.contains(ch))
                QTest::keyClick(tx, controllo[ch], Qt::ControlModifier);
            else
                QTest::keyClicks(tx, QString(ch));
        }
        if (!testo.endsWith(u'\x04'))
            QTest::keyClick(tx, Qt::Key_Return);
    }
};

struct Prova : Caso {
    QList<QByteArray> prima;
    Prova() : Caso()
    {
        // cinqueComponenti and a second LM317T (of ST).
        cinqueComponenti(stato);
        aggiungi(stato, componente(15, "LM317T", 2, "ST", 3, "REG", 2, data(2024, 3, 3)));
        DialoghiFinti d;
        if (!SalvaDatabase(stato, d))
            qFatal("salvataggio iniziale fallito");
        prima = fileDati();
        apri();
    }
    // Opens the window from the menu and runs the steps on it; "Annulla" afterwards if the steps leave it open.
    void usa(const std::function<void(const Finestra &)> &passi)
    {
        bool aperta = false;
        QuandoModale([&](QWidget *m) {
            aperta = true;
            QCOMPARE(m->objectName(), u"frmRicevi"_s);
            const Finestra f{m};
            passi(f);
            if (m->isVisible()) {
                if (f.lvr()->numeroRighe() > 0)
                    dialoghi.setNextAnswer(Risposta::Si);
                f.clic("btnAnnullaRicevi");
            }
        });
        menu(u"mnuRicevi"_s);
        QVERIFY(aperta);
    }
};

} // namespace

class TestFrmRicevi : public QObject {
    Q_OBJECT
private slots:
    // Five bags scanned without touching the mouse, the first one twice (asked, not added); the pick, the pieces, the
    // type; "Registra" asks, saves one "Ricevimento" and the main window follows.
    void serieRegistrata()
    {
        Prova a;
        const QString illeggibile = LeggiScansione(Busta("Q5")).motivo;
        a.usa([&](const Finestra &f) {
            f.scansiona(Busta("1PNE555|Q25|1VTI|1T7|1K9"));
            f.scansiona(Lcsc);
            f.scansiona(u"lm317t"_s);
            f.scansiona(Busta("Q5"));
            QCOMPARE(f.c<QLineEdit>("txScansione")->text(), QString());
            a.dialoghi.setNextAnswer(Risposta::No);
            f.scansiona(Busta("1PNE555|Q25|1VTI|1T7|1K9"));
            QCOMPARE(a.dialoghi.ultimoBox().testo,
                     u"Questo sacchetto \u00e8 gi\u00e0 stato letto alla riga 1 (NE555).\r\n"
                     "Aggiungerlo un'altra volta?"_s);
            QCOMPARE(f.righe(), (QStringList{"NE555|TI|25|Aggiungi a NE555", "TL072CDR||30|Nuovo componente",
                                             "lm317t||0|Da scegliere",
                                             Busta("Q5").replace(u'\x1e', u'\u241e').replace(u'\x1d', u'\u241d')
                                                 .replace(u'\x04', u'\u2404')
                                                 + "|||Non leggibile: " + illeggibile}));
            QCOMPARE(f.c<QLabel>("lblRiepilogo")->text(),
                     u"Sacchetti letti: 4 (da aggiungere a componenti esistenti: 1, nuovi componenti: 1, "
                     "da scegliere: 1, non leggibili: 1)"_s);
            QCOMPARE(QList<int>({f.lvr()->evidenziata(1), f.lvr()->evidenziata(3), f.lvr()->evidenziata(4)}),
                     (QList<int>{0, 1, 1}));

            // The third row: the second LM317T, twelve pieces, typed digit by digit.
            ClicRiga(f.lvr(), 3, 0);
            auto *cmb = f.c<QComboBox>("cmbComponenteRiga");
            QCOMPARE(cmb->count(), 4);
            QCOMPARE(cmb->itemText(2), u"LM317T - ST - REG - 2 pz"_s);
            QTest::keyClick(cmb, Qt::Key_Down);
            QTest::keyClick(cmb, Qt::Key_Down);
            auto *spn = f.c<QSpinBox>("spnPezziRiga");
            Attiva(f.w);
            spn->setFocus();
            spn->selectAll();
            // Typed where the keyboard's focus is, key after key.
            for (const char *tasto : {"1", "2"})
                QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(tasto));
            QCOMPARE(f.righe()[2], u"lm317t||12|Aggiungi a LM317T"_s);
            QVERIFY(!f.lvr()->evidenziata(3));

            f.c<QComboBox>("cmbTipoRicevi")->setCurrentText(u"IC"_s);
            a.dialoghi.setNextAnswer(Risposta::Si);
            f.clic("btnRegistra");
            QCOMPARE(a.dialoghi.ultimoBox().testo,
                     u"Registrare 67 pezzi: 2 componenti esistenti aggiornati e 1 nuovi componenti?\r\n"
                     "Le righe non leggibili (1) non saranno registrate."_s);
            QVERIFY(!f.w->isVisible());
        });
        QCOMPARE(a.messaggio(), u"Operazione completata: ricevuti 67 pezzi (2 componenti aggiornati, 1 nuovi)"_s);
        QCOMPARE(a.contatori(), u"7/7/213"_s);
        const Componente nuovo = a.suDisco()->componente(7);
        QCOMPARE(QStringList({nuovo.Codice, nuovo.NomeTipo, nuovo.Descrizione, QString::number(nuovo.Quantita)}),
                 (QStringList{"TL072CDR", "IC", "C2040", "30"}));
        QCOMPARE(Storico(a), (QStringList{"1;Ricevimento;10;NE555;20;45;", "1;Ricevimento;15;LM317T;2;14;",
                                          "1;Ricevimento;16;TL072CDR;-;30;"}));
        // The type is proposed again next time.
        a.usa([](const Finestra &f) {
            QCOMPARE(f.c<QComboBox>("cmbTipoRicevi")->currentText(), u"IC"_s);
        });
    }

    // The editor holds a new quantity of NE555 when the bags are registered: it is saved first (as the user says), and
    // the pieces go on top of it; "Annulla" there stops the registration.
    void editorInSospeso()
    {
        Prova a;
        a.clicRiga(a.rigaDi(u"NE555"_s), 0);
        a.premi(u"edit"_s);
        a.scrivi(u"txQty"_s, u"30"_s);
        a.usa([&](const Finestra &f) {
            f.scansiona(Busta("1PNE555|Q5"));
            a.dialoghi.setNextAnswer(Risposta::Annulla);
            f.clic("btnRegistra");
            QCOMPARE(a.dialoghi.ultimoBox().testo, u"Salvare le modifiche al componente?"_s);
            QVERIFY(f.w->isVisible());
            a.dialoghi.setNextAnswer(Risposta::Si);
            a.dialoghi.setNextAnswer(Risposta::Si);
            f.clic("btnRegistra");
        });
        QCOMPARE(a.suDisco()->componente(1).Quantita, 35);
        QCOMPARE(Storico(a), (QStringList{"1;Modifica;10;NE555;20;30;", "2;Ricevimento;10;NE555;30;35;"}));
    }

    // What stops "Registra" before anything is saved, and the row it points to.
    void registraFermato_data()
    {
        Colonne<QStringList, QString, QString, int>("scansioni", "tipo", "avviso", "selezionata");
        const QString nessuno = u"Nessun sacchetto da registrare."_s;
        QTest::newRow("niente di leggibile") << QStringList{Busta("Q5")} << "IC" << nessuno << 1;
        QTest::newRow("etichetta di nessun componente") << QStringList{u"ARVO:99"_s} << "IC" << nessuno << 1;
        QTest::newRow("da scegliere")
            << QStringList{u"NE555"_s, u"LM317T"_s} << "IC"
            << "Riga 2: pi\u00f9 componenti hanno il codice LM317T.\r\nScegliere a quale vanno i pezzi, o \"Nuovo "
               "componente\"."
            << 2;
        QTest::newRow("senza tipo") << QStringList{Lcsc} << "" << "Indicare il tipo dei nuovi componenti." << 1;
        QTest::newRow("senza pezzi") << QStringList{Lcsc, Busta("Q5"), u"NE555"_s} << "IC"
                                     << "Non \u00e8 possibile registrare:\r\nRiga 3: numero di pezzi non valido" << 3;
    }
    void registraFermato()
    {
        const auto [scansioni, tipo, avviso, selezionata] =
            Valori<QStringList, QString, QString, int>("scansioni", "tipo", "avviso", "selezionata");
        Prova a;
        a.usa([&](const Finestra &f) {
            for (const QString &s : scansioni)
                f.scansiona(s);
            ClicRiga(f.lvr(), 1, 0);
            f.c<QComboBox>("cmbTipoRicevi")->setCurrentText(tipo);
            a.dialoghi.setNextAnswer(Risposta::Ok);
            f.clic("btnRegistra");
            QCOMPARE(a.dialoghi.ultimoBox().testo, avviso);
            QCOMPARE(f.lvr()->rigaSelezionata(), selezionata);
            QVERIFY(f.w->isVisible());
        });
        QCOMPARE(a.fileDati(), a.prima);
        QVERIFY(!a.cartella.esiste(u"Movimenti.csv"_s));
    }

    // A photo of three bags, each a row; a row removed; "Annulla" asks before the rows are dropped.
    void immagine()
    {
        Prova a;
        const QString percorso = a.cartella.file(u"sacchetti.png"_s);
        // The Code 128 is the label Arvo prints for BC547C (ID 11).
        QVERIFY(Foglio({1200, 500}, {{TipoCodice::DataMatrix, Busta("1PNE555|Q3"), 8, {40, 40}},
                                     {TipoCodice::QR, Lcsc, 6, {450, 40}},
                                     {TipoCodice::Code128, u"ARVO:11"_s, 3, {40, 330}}})
                    .save(percorso));
        a.usa([&](const Finestra &f) {
            a.dialoghi.setNextFile(percorso);
            f.clic("btnImmagineRicevi");
            QCOMPARE(f.righe(), (QStringList{"NE555||3|Aggiungi a NE555", "TL072CDR||30|Nuovo componente",
                                             "BC547C||0|Aggiungi a BC547C"}));
            QCOMPARE(f.c<QLabel>("lblStato")->text(), u"Codici letti dall'immagine sacchetti.png: 3."_s);
            ClicRiga(f.lvr(), 2, 0);
            f.clic("btnRimuoviRiga");
            QCOMPARE(f.righe().size(), 2);
            a.dialoghi.setNextAnswer(Risposta::No);
            f.clic("btnAnnullaRicevi");
            QCOMPARE(a.dialoghi.ultimoBox().testo, u"Chiudere senza registrare i sacchetti letti (2)?"_s);
            QVERIFY(f.w->isVisible());
        });
        QCOMPARE(a.fileDati(), a.prima);
    }
};

QTEST_MAIN(TestFrmRicevi)
#include "tst_frmricevi.moc"
