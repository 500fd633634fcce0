// The crash-safe save: what a failure at each step leaves and the next start makes of it, linked files, rights
// and owners kept, special files never opened.
#include "common/cartellatest.h"
#include "common/fifosorvegliata.h"
#include "common/verifiche.h"
#include "reports/csv.h"
#include "reports/stampa.h"
#include "startup/avvio.h"
#include "store/aiutiarchivio.h"
#include "store/scritturasicura.h"
#include "store/stato.h"
#include "store/tabelle.h"

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The database of generation g: every record says which save wrote it, and the sizes change between generations.
void Generazione(Stato &s, int g)
{
    s.NumTipi = g % 7 + 1;
    s.NumComponenti = (g * 37) % 300 + 1;
    s.Tipi.resize(s.NumTipi);
    s.Componenti.resize(s.NumComponenti);
    for (int i = 0; i < s.NumTipi; ++i)
        s.Tipi[i] = {i + 1, QStringLiteral("T%1-%2").arg(g).arg(i)};
    for (int i = 0; i < s.NumComponenti; ++i) {
        Componente &c = s.Componenti[i] = Componente();
        c.ID = i + 1;
        c.Codice = QStringLiteral("C%1-%2").arg(g).arg(i);
        c.Descrizione = QString(i % 50, QLatin1Char('d'));
        c.Quantita = g;
        c.DataInserimento = DataUtc(2020, 1, g % 28 + 1);
    }
    s.ProssimoIDComponente = 1000 + g;
    s.ProssimoIDTipo = s.NumTipi + 1;
}

// A fresh start on the folder that shows no box.
bool Riavvia(const QString &cartella, Stato *stato)
{
    DialoghiFinti d;
    return Main(*stato, d, cartella) && d.boxes().isEmpty();
}

// A temporary or the journal of a save left in the folder.
bool Avanzi(const QString &cartella)
{
    return !QDir(cartella).entryList({QStringLiteral("*.nuovo"), NomeGiornale}, QDir::Files | QDir::Hidden).isEmpty();
}

const char *const kNomiFile[] = {"Info.ini", "Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"};

enum class Ostacolo { Seam, Interruzione, CartellaTemporaneo, ConteggioOltre, RinominaFallita, Sincronizzazione };

// A chmod mode as Qt's permissions: one hexadecimal digit per octal one, the owner's twice (owner and user).
QFileDevice::Permissions Modo(int ottale)
{
    const int u = (ottale >> 6) & 7, g = (ottale >> 3) & 7, o = ottale & 7;
    return QFileDevice::Permissions::fromInt((u << 12) | (u << 8) | (g << 4) | o);
}

// Gives the folder and all below to the user and group: files with the mode, folders searchable where readable.
void DaiA(const QString &cartella, uint utente, uint gruppo, int modo)
{
    for (const QString &percorso : Voci(cartella)) {
        const QByteArray nome = QFile::encodeName(percorso);
        const bool dir = QFileInfo(percorso).isDir();
        QVERIFY(::lchown(nome.constData(), utente, gruppo) == 0);
        QVERIFY(::chmod(nome.constData(), mode_t(dir ? modo | ((modo & 0444) >> 2) : modo)) == 0);
    }
}

// A saved folder ready for a save of generation 5.
struct Salvato {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    Stato vecchio;
    Salvato()
    {
        QVERIFY(Main(stato, dialoghi, cartella.percorso()));
        RiempiStatoDiEsempio(stato);
        QVERIFY(SalvaDatabase(stato, dialoghi));
        vecchio = stato;
        Generazione(stato, 5);
    }
};

} // namespace

class TestSalvataggio : public QObject {
    Q_OBJECT
private slots:
    // A save that fails: the message, memory keeps the change, a restart loads one whole set (the new one only once
    // the journal was in place); once the cause is gone the next save writes the new set.
    void salvataggioFallito_data()
    {
        Colonne<Ostacolo, int>("ostacolo", "file");
        for (int i = 0; i < 5; ++i)
            QTest::addRow("seam at %s", kNomiFile[i]) << Ostacolo::Seam << i;
        // The disk refuses a temporary's data: the old set stays.
        for (int i : {0, 4})
            QTest::addRow("fsync of %s fails", kNomiFile[i]) << Ostacolo::Sincronizzazione << i;
        // Five temporaries (1-5), the journal (6), five renames (7-11), the journal removed (12).
        for (int i = 0; i <= 11; ++i)
            QTest::addRow("stopped after %d steps", i) << Ostacolo::Interruzione << i;
        QTest::newRow("folder where a temporary goes") << Ostacolo::CartellaTemporaneo << -1;
        QTest::newRow("count beyond the table") << Ostacolo::ConteggioOltre << -1;
        // A rename that fails after the journal: the next start completes the new set from the temporaries.
        for (int i = 0; i < 5; ++i)
            QTest::addRow("rename of %s fails", kNomiFile[i]) << Ostacolo::RinominaFallita << i;
    }
    void salvataggioFallito()
    {
        const auto [ostacolo, file] = Valori<Ostacolo, int>("ostacolo", "file");
        Salvato a;
        const auto prima = Istantanea(a.cartella.percorso());
        a.stato.Etichette[2] = QStringLiteral("nuova");
        const Stato nuovo = a.stato;
        const QString temporaneo = a.cartella.file(QStringLiteral("Produttori.dat.nuovo"));
        GuastoScrittura guasto;
        (ostacolo == Ostacolo::Interruzione       ? guasto.interrompiDopoPassi
         : ostacolo == Ostacolo::RinominaFallita  ? guasto.rinominaGuasta
         : ostacolo == Ostacolo::Sincronizzazione ? guasto.sincronizzazioneGuasta
                                                  : guasto.fileGuasto) = file;
        if (ostacolo == Ostacolo::CartellaTemporaneo)
            QVERIFY(QDir().mkpath(temporaneo + "/x"));
        if (ostacolo == Ostacolo::ConteggioOltre)
            ++a.stato.NumTipi;

        a.dialoghi.setNextAnswer(Risposta::Ok);
        QVERIFY(!SalvaDatabase(a.stato, a.dialoghi, guasto));
        const auto box = a.dialoghi.ultimoBox();
        QCOMPARE(box.testo, QStringLiteral("Errore nel salvataggio dei dati"));
        QVERIFY(box.pulsanti == Pulsanti::Ok && box.titolo.isEmpty());
        VERIFICA_DIALOGHI(a.dialoghi);
        QCOMPARE(a.stato.Etichette[2], QStringLiteral("nuova"));

        QVERIFY(QDir(temporaneo).removeRecursively());
        if (ostacolo == Ostacolo::ConteggioOltre)
            --a.stato.NumTipi;
        QVERIFY(StessiDati(a.stato, nuovo));
        const bool giornaleScritto = (ostacolo == Ostacolo::Interruzione && file >= 6)
                                  || ostacolo == Ostacolo::RinominaFallita;
        if (ostacolo == Ostacolo::RinominaFallita) {
            QVERIFY(a.cartella.esiste(NomeGiornale));
            QVERIFY(a.cartella.esiste(QLatin1String(kNomiFile[file]) + QLatin1String(".nuovo")));
        } else if (ostacolo != Ostacolo::Interruzione) {
            QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        }
        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, giornaleScritto ? nuovo : a.vecchio));
        QVERIFY(!Avanzi(a.cartella.percorso()));

        QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, nuovo));
        QCOMPARE(riletto.Etichette[2], QStringLiteral("nuova"));
    }

    // Table files and Info.ini that are symbolic links: the save writes the targets and keeps the links, also when
    // it is interrupted and the next start completes it.
    void collegamenti_data()
    {
        Colonne<int>("interrompiDopo"); // -1: the save runs to its end
        QTest::newRow("whole save") << -1;
        QTest::newRow("stopped with the journal in place") << 6;
        QTest::newRow("stopped after two renames") << 8;
        QTest::newRow("stopped before the journal") << 4;
    }
    void collegamenti()
    {
        const auto [interrompiDopo] = Valori<int>("interrompiDopo");
        Salvato a;
        const CartellaTest &c = a.cartella;
        CartellaTest altrove;
        // Tipi.dat a relative link into a sub-folder, Info.ini an absolute one elsewhere, Packages.dat a chain of two.
        QVERIFY(QDir().mkpath(c.file("veri")));
        QVERIFY(QFile::rename(c.file("Tipi.dat"), c.file("veri/tipi.dat")));
        QVERIFY(QFile::link("veri/tipi.dat", c.file("Tipi.dat")));
        QVERIFY(QFile::rename(c.file("Info.ini"), altrove.file("info.ini")));
        QVERIFY(QFile::link(altrove.file("info.ini"), c.file("Info.ini")));
        QVERIFY(QFile::rename(c.file("Packages.dat"), altrove.file("packages.dat")));
        QVERIFY(QFile::link(altrove.file("packages.dat"), altrove.file("anello")));
        QVERIFY(QFile::link(altrove.file("anello"), c.file("Packages.dat")));
        QVERIFY(::chmod(QFile::encodeName(altrove.file("packages.dat")).constData(), 0640) == 0);

        GuastoScrittura guasto;
        guasto.interrompiDopoPassi = interrompiDopo;
        if (interrompiDopo < 0)
            QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
        else
            QVERIFY(!SalvaDatabase(a.stato, a.dialoghi, guasto));
        Stato riletto;
        QVERIFY(Riavvia(c.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, interrompiDopo < 0 || interrompiDopo >= 6 ? a.stato : a.vecchio));

        QCOMPARE(QFileInfo(c.file("Tipi.dat")).symLinkTarget(), c.file("veri/tipi.dat"));
        QCOMPARE(QFileInfo(c.file("Info.ini")).symLinkTarget(), altrove.file("info.ini"));
        QCOMPARE(QFileInfo(c.file("Packages.dat")).symLinkTarget(), altrove.file("anello"));
        QVERIFY(QFileInfo(altrove.file("anello")).isSymLink());
        QCOMPARE(c.leggi("veri/tipi.dat"), c.leggi("Tipi.dat"));
        QCOMPARE(StatDi(altrove.file("packages.dat")).st_mode & 07777, 0640u);
        QVERIFY(!Avanzi(c.percorso()) && !Avanzi(c.file("veri")) && !Avanzi(altrove.percorso()));
        const QStringList veri = QDir(altrove.percorso()).entryList(QDir::Files | QDir::System);
        QCOMPARE(veri, QStringList({"anello", "info.ini", "packages.dat"}));
    }

    // The smallest set, two files, killed after each step: after the recovery of the next start both files are
    // old or both new, never one of each.
    void coppiaInterrotta_data()
    {
        Colonne<int>("passi");
        for (int passi = 0; passi <= 5; ++passi)
            QTest::addRow("stopped after %d steps", passi) << passi;
    }
    void coppiaInterrotta()
    {
        const auto [passi] = Valori<int>("passi");
        CartellaTest c;
        c.scrivi("A.dat", "vecchio A");
        c.scrivi("B.dat", "vecchio B");
        GuastoScrittura guasto;
        guasto.interrompiDopoPassi = passi;
        QVERIFY(!ScriviInsieme(c.percorso(), {{"A.dat", "nuovo A"}, {"B.dat", "nuovo B"}}, nullptr, guasto));
        QVERIFY(RecuperaScrittura(c.percorso(), {"A.dat", "B.dat"}));
        const QByteArray coppia = c.leggi("A.dat") + '|' + c.leggi("B.dat");
        QVERIFY2(coppia == "vecchio A|vecchio B" || coppia == "nuovo A|nuovo B", coppia.constData());
    }

    // A table file its owner made read-only is refused (even to root), changing nothing; any other rights are kept.
    // The superuser writes another owner's file on the owner's behalf: owner, group and mode kept.
    void fileDiAltri_data()
    {
        Colonne<int, bool, bool>("modo", "altroProprietario", "salvato");
        QTest::newRow("own, read-only") << 0444 << false << false;
        for (int modo : {0600, 0640, 0644, 0664, 0755})
            QTest::addRow("own, %o", modo) << modo << false << true;
        QTest::newRow("another owner, read-only") << 0444 << true << false;
        QTest::newRow("another owner, anybody may write") << 0666 << true << true; // more: proprietariConservati
    }
    void fileDiAltri()
    {
        const auto [modo, altroProprietario, salvato] = Valori<int, bool, bool>("modo", "altroProprietario", "salvato");
        if (altroProprietario && ::geteuid() != 0)
            QSKIP("giving a file to another owner needs the superuser");
        Salvato a;
        const QString tipi = a.stato.percorsi.FileTipi;
        if (altroProprietario)
            QVERIFY(::chown(QFile::encodeName(tipi).constData(), 4242, 4242) == 0);
        QVERIFY(::chmod(QFile::encodeName(tipi).constData(), mode_t(modo)) == 0);
        const auto prima = Istantanea(a.cartella.percorso());
        if (!salvato)
            a.dialoghi.setNextAnswer(Risposta::Ok);
        QCOMPARE(SalvaDatabase(a.stato, a.dialoghi), salvato);
        VERIFICA_DIALOGHI(a.dialoghi);
        if (!salvato) {
            QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
            QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        }
        QCOMPARE(QFileInfo(tipi).ownerId(), altroProprietario ? 4242u : uint(::geteuid()));
        QCOMPARE(QFileInfo(tipi).groupId(), altroProprietario ? 4242u : uint(::getegid()));
        QCOMPARE(int(StatDi(tipi).st_mode & 07777), modo);
        Stato riletto;
        QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
        QVERIFY(StessiDati(riletto, salvato ? a.stato : a.vecchio));
    }

    // The rule itself, for any user (the superuser included: uid 0).
    void permessoScrittura_data()
    {
        Colonne<int, uint, uint, uint, bool>("modo", "proprietario", "gruppo", "utente", "atteso");
        QTest::newRow("owner, 0644") << 0644 << 1000u << 1000u << 1000u << true;
        QTest::newRow("owner, 0444") << 0444 << 1000u << 1000u << 1000u << false;
        QTest::newRow("owner, 0466: the owner's bit rules") << 0466 << 1000u << 1000u << 1000u << false;
        QTest::newRow("group member, 0664") << 0664 << 1000u << 50u << 2000u << true;
        QTest::newRow("group member, 0646") << 0646 << 1000u << 50u << 2000u << false;
        QTest::newRow("other, 0664") << 0664 << 1000u << 1000u << 2000u << false;
        QTest::newRow("other, 0666") << 0666 << 1000u << 1000u << 2000u << true;
        // The superuser writes for the owner: only the owner's bit counts.
        QTest::newRow("superuser, another's 0644") << 0644 << 1000u << 1000u << 0u << true;
        QTest::newRow("superuser, another's 0466") << 0466 << 1000u << 1000u << 0u << false;
    }
    void permessoScrittura()
    {
        const auto [modo, proprietario, gruppo] = Valori<int, uint, uint>("modo", "proprietario", "gruppo");
        const auto [utente, atteso] = Valori<uint, bool>("utente", "atteso");
        const QList<uint> gruppi = utente == 2000u ? QList<uint>{2000u, 50u} : QList<uint>{utente};
        QCOMPARE(PermessoScrittura(Modo(modo), proprietario, gruppo, utente, gruppi), atteso);
    }

    // A FIFO in place of a file: a save or the backup copy never opens it (its watcher releases a reader, so a fault
    // fails at once) and says so; memory and the other files stay, and once the file is back all is written.
    void fileSpeciale_data()
    {
        // salva: SalvaDatabase, else CopiaBackup with its description (%1 the FIFO's path)
        Colonne<bool, QString, QString>("salva", "nome", "descrizione");
        QTest::newRow("save, Info.ini") << true << "Info.ini" << "";
        QTest::newRow("save, Componenti.dat") << true << "Componenti.dat" << "";
        QTest::newRow("save, the journal") << true << NomeGiornale << "";
        const QString leggere = QStringLiteral("Impossibile leggere il file %1");
        QTest::newRow("backup, Info.ini") << false << "Info.ini" << leggere;
        QTest::newRow("backup, Tipi.dat") << false << "Tipi.dat" << leggere;
        QTest::newRow("backup, its Produttori.dat")
            << false << "Backups/Produttori.dat" << QStringLiteral("Al posto del file %1 c'è un file speciale");
        QTest::newRow("backup, its journal") << false << "Backups/" + NomeGiornale << leggere;
    }
    void fileSpeciale()
    {
        const auto [salva, nome, descrizione] = Valori<bool, QString, QString>("salva", "nome", "descrizione");
        Salvato a;
        const Stato nuovo = a.stato;
        const QString percorso = a.cartella.file(nome);
        const bool esisteva = a.cartella.esiste(nome);
        const QByteArray originale = a.cartella.leggi(nome);
        QFile::remove(percorso);
        auto fifo = std::make_unique<FifoSorvegliata>(percorso);
        QVERIFY(fifo->creata());
        const auto prima = Istantanea(a.cartella.percorso());

        QString errore;
        if (salva) {
            a.dialoghi.setNextAnswer(Risposta::Ok);
            QVERIFY(!SalvaDatabase(a.stato, a.dialoghi));
            QCOMPARE(a.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        } else {
            QVERIFY(!CopiaBackup(a.stato, &errore));
            QCOMPARE(errore, descrizione.arg(QDir::toNativeSeparators(percorso)));
        }
        VERIFICA_DIALOGHI(a.dialoghi);
        QVERIFY2(!fifo->aperta(), "the FIFO was opened");
        QCOMPARE(Istantanea(a.cartella.percorso()), prima);
        QVERIFY(StessiDati(a.stato, nuovo));

        fifo.reset();
        QVERIFY(QFile::remove(percorso));
        if (esisteva)
            a.cartella.scrivi(nome, originale);
        if (salva) {
            QVERIFY(SalvaDatabase(a.stato, a.dialoghi));
            Stato riletto;
            QVERIFY(Riavvia(a.cartella.percorso(), &riletto));
            QVERIFY(StessiDati(riletto, nuovo));
        } else {
            QVERIFY2(CopiaBackup(a.stato, &errore), qPrintable(errore));
            QCOMPARE(a.cartella.dati(QStringLiteral("Backups")), a.cartella.dati());
        }
        QVERIFY(!Avanzi(a.cartella.percorso()));
    }

    // The superuser (sudo) on another user's folder: start, save, backup, listing and export keep owner, group and
    // mode of what they replace; what they create belongs to its folder's owner and group; nothing is asked.
    void proprietariConservati_data()
    {
        Colonne<int, uint, QStringList>("modo", "gruppo", "mancanti"); // mancanti removed first; "*": an empty folder
        QTest::newRow("0600") << 0600 << 65534u << QStringList();
        QTest::newRow("0640, another group") << 0640 << 4242u << QStringList();
        QTest::newRow("0664") << 0664 << 65534u << QStringList();
        QTest::newRow("0640, folders to create")
            << 0640 << 65534u << QStringList{"Backups", "Pics", "Stampe", "Exported"};
        QTest::newRow("first start in an empty folder") << 0600 << 4242u << QStringList{"*"};
    }
    void proprietariConservati()
    {
        const auto [modo, gruppo, mancanti] = Valori<int, uint, QStringList>("modo", "gruppo", "mancanti");
        if (::geteuid() != 0)
            QSKIP("only the superuser can give a folder to another user");
        const uint utente = 65534;
        const QList<qint32> righe{1, 2};
        CartellaTest c;
        if (mancanti != QStringList{"*"}) {
            // The folder as the user's own program leaves it.
            Stato s;
            DialoghiFinti d;
            QVERIFY(Main(s, d, c.percorso()));
            RiempiStatoDiEsempio(s);
            QVERIFY(SalvaDatabase(s, d) && EsportaCSV(s, d) && CreatFileStampa(s, righe, d));
            QVERIFY(Main(s, d, c.percorso())); // the backup of the saved files
            for (const QString &m : mancanti)
                QVERIFY(QFileInfo(c.file(m)).isDir() ? QDir(c.file(m)).removeRecursively() : QFile::remove(c.file(m)));
        }
        DaiA(c.percorso(), utente, gruppo, modo);
        QMap<QString, int> modi, dopo;
        Proprietari(c.percorso(), utente, gruppo, &modi);

        Stato s;
        DialoghiFinti d;
        QVERIFY(Main(s, d, c.percorso()));
        Generazione(s, 3);
        QVERIFY(SalvaDatabase(s, d) && EsportaCSV(s, d) && CreatFileStampa(s, righe, d));
        Stato riletto;
        QVERIFY(Main(riletto, d, c.percorso()));
        QVERIFY(StessiDati(riletto, s));
        QVERIFY(d.boxes().isEmpty());
        VERIFICA_DIALOGHI(d);

        const QStringList diversi = Proprietari(c.percorso(), utente, gruppo, &dopo);
        QVERIFY2(diversi.isEmpty(), qPrintable(diversi.join(QLatin1Char('\n'))));
        for (auto it = modi.cbegin(); it != modi.cend(); ++it)
            QCOMPARE(it.key() + ": " + QString::number(dopo.value(it.key()), 8),
                     it.key() + ": " + QString::number(it.value(), 8));
        QVERIFY(c.esiste(QStringLiteral("Backups/Tipi.dat")) && c.esiste(QStringLiteral("Exported/CSVlist.csv")));
    }
};

QTEST_GUILESS_MAIN(TestSalvataggio)
#include "tst_salvataggio.moc"
