// "Ripristina una copia" through its real widgets, opened from the main window's menu: the list of the dated copies,
// going back to one and forth again, "Annulla", changes being typed, and a copy that cannot be put in place or loaded;
// what the main window shows and what is on disk after.

#include "copie/copie.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/orologio.h"
#include "store/scritturasicura.h"
#include "ui/main/ambiente.h"

#include "common/finestramodale.h"
#include "common/verifiche.h"

using namespace prova;

namespace {

const QString kTitolo = QStringLiteral("Ripristina una copia");

QDateTime Ore(int ora, int minuto, int secondo = 0) { return {QDate(2026, 12, 7), QTime(ora, minuto, secondo)}; }

struct Finestra : Modale {
    ListaReport *lvc() const { return c<ListaReport>("LVC"); }
    QStringList righe() const { return RigheLista(lvc()); }
};

// A: five components, 144 pieces, the copy of the start at 09:05:33.
// B, on disk and in the window: four components, 142 pieces, one label renamed.
struct Prova : Caso {
    QMap<QString, QByteArray> datiA, datiB;
    Prova()
    {
        cinqueComponenti(stato);
        if (!SalvaDatabase(stato, dialoghi))
            qFatal("salvataggio iniziale fallito");
        ImpostaAdesso(Ore(9, 5, 33));
        if (!Main(stato, dialoghi, cartella.percorso()))
            qFatal("avvio fallito");
        datiA = dati();
        stato.Componenti.removeLast();
        stato.NumComponenti = 4;
        stato.componente(1).Quantita = 30;
        stato.Etichette[1] = QStringLiteral("Tolleranza");
        if (!SalvaDatabase(stato, dialoghi))
            qFatal("salvataggio fallito");
        datiB = dati();
        apri();
    }
    ~Prova() { ImpostaAdesso({}); }
    QMap<QString, QByteArray> dati() const { return cartella.dati(); }
    QMap<QString, QByteArray> datiCopia(const QString &nome) const { return cartella.dati("Backups/Copie/" + nome); }
    // Opens the window from the menu and runs the steps on it; closed with "Annulla" afterwards when the steps leave it
    // open. False when no window opened.
    bool usa(const std::function<void(const Finestra &)> &passi)
    {
        bool aperta = false;
        QObject contesto;
        QuandoModale(
            [&](QWidget *m) {
                aperta = true;
                QCOMPARE(m->objectName(), QStringLiteral("frmRipristina"));
                QCOMPARE(m->windowTitle(), kTitolo);
                const Finestra f{m};
                passi(f);
                if (m->isVisible())
                    f.clic("btnAnnullaRipristina");
            },
            &contesto);
        menu(QStringLiteral("mnuRipristina"));
        return aperta;
    }
};

QString Domanda(const QString &quando)
{
    return "Ripristinare la copia del " + quando + "?\r\nI dati attuali vengono prima salvati in una nuova copia.";
}

} // namespace

class TestFrmRipristina : public QObject {
    Q_OBJECT
private slots:
    // From B back to A, then to the copy of B the first restore made: the
    // five files are B's again byte for byte, and the window shows each.
    void avantiEIndietro()
    {
        Prova a;
        QCOMPARE(a.codici(), QStringList({"2N2222", "BC547C", "LM317T", "NE555"}));
        ImpostaAdesso(Ore(10, 0));
        QVERIFY(a.usa([&a](const Finestra &f) {
            QCOMPARE(f.righe(), QStringList{"07/12/2026 09:05:33|5|144|2026-12-07_09-05-33"});
            QCOMPARE(f.lvc()->rigaSelezionata(), 1);
            QVERIFY(f.c<QPushButton>("btnRipristina")->isEnabled());
            a.dialoghi.setNextAnswer(Risposta::Si);
            f.clic("btnRipristina");
            QVERIFY(!f.w->isVisible());
        }));
        VerificaBox(a.dialoghi, Domanda("07/12/2026 09:05:33"), Icona::Domanda, Pulsanti::SiNo, kTitolo);
        QCOMPARE(a.dati(), a.datiA);
        QVERIFY(!a.cartella.esiste(NomeGiornale));
        QCOMPARE(a.datiCopia("2026-12-07_10-00-00"), a.datiB);
        QCOMPARE(a.codici(), QStringList({"2N2222", "74HC00", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(a.contatori(), "5/5/144");
        QCOMPARE(a.etichetta("lblExtra(1)"), " Campo Personale 1");
        QCOMPARE(a.messaggio(), "Operazione completata: ripristinata la copia del 07/12/2026 09:05:33");
        QCOMPARE(a.bottoni(), "10000");
        QCOMPARE(a.stato.componente(1).Quantita, 20);

        a.dialoghi.dimentica();
        ImpostaAdesso(Ore(10, 5));
        QVERIFY(a.usa([&a](const Finestra &f) {
            QCOMPARE(f.righe(), QStringList({"07/12/2026 10:00:00|4|142|2026-12-07_10-00-00",
                                             "07/12/2026 09:05:33|5|144|2026-12-07_09-05-33"}));
            a.dialoghi.setNextAnswer(Risposta::Si);
            f.clic("btnRipristina");
        }));
        VerificaBox(a.dialoghi, Domanda("07/12/2026 10:00:00"), Icona::Domanda, Pulsanti::SiNo, kTitolo);
        QCOMPARE(a.dati(), a.datiB);
        QCOMPARE(a.datiCopia("2026-12-07_10-05-00"), a.datiA);
        QCOMPARE(a.codici(), QStringList({"2N2222", "BC547C", "LM317T", "NE555"}));
        QCOMPARE(a.contatori(), "4/4/142");
        QCOMPARE(a.etichetta("lblExtra(1)"), " Tolleranza");
        QVERIFY(StessiDati(*a.suDisco(), a.stato));
    }

    // Nothing written, nothing shown differently: "Annulla", "No" to the confirmation, and a component being edited,
    // whose changes are asked about first: going back to them opens no window, giving them up opens it (then closed
    // with "Annulla").
    void nienteCambia_data()
    {
        // The quantity of a component being typed; the answer to the question about it, else to the confirmation.
        Colonne<bool, Risposta>("modifica", "risposta");
        QTest::newRow("Annulla") << false << Risposta::Annulla;
        QTest::newRow("No to the question") << false << Risposta::No;
        QTest::newRow("editing, back to the editor") << true << Risposta::Annulla;
        QTest::newRow("editing, changes given up") << true << Risposta::No;
    }
    void nienteCambia()
    {
        const auto [modifica, risposta] = Valori<bool, Risposta>("modifica", "risposta");
        Prova a;
        const auto prima = Istantanea(a.cartella.percorso());
        const QString messaggio = a.messaggio();
        if (modifica) {
            a.clicRiga(1, 0);
            a.premi("edit");
            a.scrivi("txQty", "999");
        }
        if (modifica || risposta == Risposta::No)
            a.dialoghi.setNextAnswer(risposta);
        const bool aperta = a.usa([&](const Finestra &f) {
            if (!modifica && risposta == Risposta::No) {
                f.clic("btnRipristina");
                QVERIFY(f.w->isVisible());
            }
            f.clic("btnAnnullaRipristina");
            QVERIFY(!f.w->isVisible());
        });
        QCOMPARE(aperta, !modifica || risposta == Risposta::No);
        if (modifica) {
            VerificaBox(a.dialoghi, "Salvare le modifiche al componente?", Icona::Domanda, Pulsanti::SiNoAnnulla);
            QCOMPARE(a.testo("txQty"), aperta ? QString() : "999");
        } else {
            QCOMPARE(a.dialoghi.boxes().size(), risposta == Risposta::No ? 1 : 0);
            QCOMPARE(a.messaggio(), messaggio);
        }
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QCOMPARE(a.contatori(), "4/4/142");
    }

    // A copy that cannot be put in place, or whose files do not load: the message, the data files and the window as
    // they were (after a failed load, the files put back from the copy just made of them).
    void nonRiuscito_data()
    {
        // The copy's Tipi.dat (null: removed), the messages after the question (%1: the copy's folder).
        Colonne<QByteArray, QStringList, int>("tipi", "messaggi", "copie");
        QTest::newRow("file missing") << QByteArray() << QStringList{
            "Impossibile ripristinare la copia del 07/12/2026 09:05:33.\r\nImpossibile leggere il file %1/Tipi.dat.\r\n"
            "I dati attuali non sono stati modificati."} << 1;
        QTest::newRow("fewer types than counted") << QByteArray("1,\"IC\"\r\n") << QStringList{
            "Errore nell'apertura files del DB",
            "La copia del 07/12/2026 09:05:33 non pu\u00f2 essere caricata.\r\nI dati attuali sono stati rimessi al loro posto."} << 2;
    }
    void nonRiuscito()
    {
        const auto [tipi, messaggi, copie] = Valori<QByteArray, QStringList, int>("tipi", "messaggi", "copie");
        Prova a;
        const QString copia = a.cartella.file("Backups/Copie/2026-12-07_09-05-33");
        QVERIFY(QFile::remove(copia + "/Tipi.dat"));
        if (!tipi.isNull())
            a.cartella.scrivi("Backups/Copie/2026-12-07_09-05-33/Tipi.dat", tipi);
        ImpostaAdesso(Ore(11, 0));
        for (int i = 0; i <= messaggi.size(); ++i)
            a.dialoghi.setNextAnswer(i == 0 ? Risposta::Si : Risposta::Ok);
        QVERIFY(a.usa([&](const Finestra &f) {
            f.clic("btnRipristina");
            QVERIFY(f.w->isVisible());
            QCOMPARE(f.righe().size(), copie);
        }));
        QCOMPARE(a.dialoghi.boxes().size(), 1 + messaggi.size());
        for (int i = 0; i < messaggi.size(); ++i) {
            const auto box = a.dialoghi.boxes()[i + 1];
            QCOMPARE(box.testo, QString(messaggi[i]).replace("%1", QDir::toNativeSeparators(copia)));
            QCOMPARE(box.icona, i + 1 < messaggi.size() ? Icona::Nessuna : Icona::Esclamazione);
        }
        QCOMPARE(a.dati(), a.datiB);
        QCOMPARE(a.contatori(), "4/4/142");
        QCOMPARE(a.stato.componente(1).Quantita, 30);
    }

    // No copy yet: the window says where they would be; nothing to restore.
    void senzaCopie()
    {
        Prova a;
        QVERIFY(QDir(a.cartella.file("Backups/Copie")).removeRecursively());
        QVERIFY(a.usa([&a](const Finestra &f) {
            QCOMPARE(f.lvc()->numeroRighe(), 0);
            QVERIFY(!f.c<QPushButton>("btnRipristina")->isEnabled());
            QCOMPARE(f.c<QLabel>("lblSpiegazione")->text(),
                     "Non ci sono copie datate nella cartella "
                         + QDir::toNativeSeparators(a.cartella.file("Backups/Copie")) + ".");
        }));
    }
};

QTEST_MAIN(TestFrmRipristina)
#include "tst_frmripristino.moc"
