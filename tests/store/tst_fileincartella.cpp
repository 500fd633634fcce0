// Stored file names resolved inside their folder: what counts as a regular file there, what leads outside, that
// special files are never opened; a file picked outside its folder copied in, with the questions asked.

#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "common/fifosorvegliata.h"
#include "store/copiaincartella.h"
#include "store/fileincartella.h"
#include "store/fileini.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

Q_DECLARE_METATYPE(StatoNome)

namespace {

// A program folder whose Pics holds one of everything:
//   a.bmp "ciao", B.JPG, b.jpg, d.txt, sub/b.bmp     regular files
//   collegamento.bmp -> a.bmp                          a link that stays inside
//   uscita.bmp -> ../fuori.bmp                         a link to a file outside
//   altrove -> ../Altrove (holding c.bmp)              a folder link leading outside
//   accanto.jpg -> ../Pics2/x.jpg                      a link into a sibling sharing the name's start
//   zero.jpg -> /dev/zero                              a device, outside
//   fifo.jpg, fifo2.jpg -> fifo.jpg                    a FIFO, and a link to it
//   cartella.jpg                                       a folder
//   rotto.jpg -> manca.jpg                             a link to nothing
struct Pics {
    CartellaTest cartella;
    QString pics;
    std::unique_ptr<FifoSorvegliata> fifo;

    Pics()
    {
        pics = cartella.file(QStringLiteral("Pics")) + QLatin1Char('/');
        for (const auto &[nome, byte] : {std::pair{"Pics/a.bmp", "ciao"}, {"Pics/B.JPG", "B"}, {"Pics/b.jpg", "b"},
                                         {"Pics/d.txt", "d"}, {"Pics/sub/b.bmp", "sotto"}, {"fuori.bmp", "fuori"},
                                         {"Altrove/c.bmp", "c"}, {"Pics2/x.jpg", "x"}})
            cartella.scrivi(QLatin1String(nome), byte);
        for (const auto &[nome, bersaglio] :
             {std::pair{"collegamento.bmp", "a.bmp"}, {"uscita.bmp", "../fuori.bmp"}, {"altrove", "../Altrove"},
              {"accanto.jpg", "../Pics2/x.jpg"}, {"zero.jpg", "/dev/zero"}, {"rotto.jpg", "manca.jpg"},
              {"fifo2.jpg", "fifo.jpg"}})
            QVERIFY(QFile::link(QLatin1String(bersaglio), pics + QLatin1String(nome)));
        fifo = std::make_unique<FifoSorvegliata>(pics + QStringLiteral("fifo.jpg"));
        QVERIFY(fifo->creata());
        QVERIFY(QDir().mkpath(pics + QStringLiteral("cartella.jpg")));
    }
};

// The entries of a folder as "name=content", "name/" for a folder, "name@" for a link.
QStringList contenuto(const CartellaTest &c, const QString &cartella)
{
    QStringList voci;
    const auto filtro = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden;
    for (const QFileInfo &i : QDir(c.file(cartella)).entryInfoList(filtro, QDir::Name))
        voci << i.fileName() + (i.isSymLink() ? "@" : i.isDir() ? "/" : '=' + c.leggi(cartella + '/' + i.fileName()));
    return voci;
}

// A message box as "icon/buttons text".
QString box(Icona icona, Pulsanti pulsanti, const QString &testo)
{
    return QStringLiteral("%1/%2 ").arg(int(icona)).arg(int(pulsanti)) + testo;
}

} // namespace

class TestFileInCartella : public QObject {
    Q_OBJECT
private slots:
    void risolvi_data()
    {
        // percorso: relative to the test folder; "" none
        Colonne<QString, StatoNome, QString>("nome", "atteso", "percorso");
        const auto r = StatoNome::Regolare, f = StatoNome::Fuori, m = StatoNome::Mancante,
                   n = StatoNome::NonRegolare;
        QTest::newRow("vuoto") << "" << StatoNome::Vuoto << "";
        QTest::newRow("file") << "a.bmp" << r << "Pics/a.bmp";
        QTest::newRow("sottocartella") << "sub/b.bmp" << r << "Pics/sub/b.bmp";
        QTest::newRow("punto") << "./a.bmp" << r << "Pics/a.bmp";
        QTest::newRow("barre doppie") << "sub//b.bmp" << r << "Pics/sub/b.bmp";
        QTest::newRow("collegamento dentro") << "collegamento.bmp" << r << "Pics/a.bmp";
        QTest::newRow("manca") << "manca.bmp" << m << "Pics/manca.bmp";
        QTest::newRow("manca in cartella mancante") << "no/x.bmp" << m << "Pics/no/x.bmp";
        QTest::newRow("punto punto") << "../fuori.bmp" << f << "";
        QTest::newRow("punto punto in mezzo") << "sub/../a.bmp" << f << "";
        QTest::newRow("punto punto alla fine") << "sub/.." << f << "";
        QTest::newRow("punto punto di Windows") << "..\\fuori.bmp" << f << "";
        QTest::newRow("assoluto") << "/etc/hostname" << f << "";
        QTest::newRow("barra rovescia iniziale") << "\\fuori.bmp" << f << "";
        QTest::newRow("unita' di Windows") << "C:\\fuori.bmp" << f << "";
        QTest::newRow("unita' senza barra") << "C:fuori.bmp" << f << "";
        QTest::newRow("carattere nullo") << QStringLiteral("a.bmp") + QChar(0) + QStringLiteral("x") << f << "";
        QTest::newRow("collegamento fuori") << "uscita.bmp" << f << "";
        QTest::newRow("cartella collegata fuori") << "altrove/c.bmp" << f << "";
        QTest::newRow("manca in cartella collegata fuori") << "altrove/x.bmp" << f << "";
        QTest::newRow("collegamento nella cartella accanto") << "accanto.jpg" << f << "";
        QTest::newRow("dispositivo") << "zero.jpg" << f << "";
        QTest::newRow("collegamento a niente") << "rotto.jpg" << f << "";
        QTest::newRow("fifo") << "fifo.jpg" << n << "Pics/fifo.jpg";
        QTest::newRow("collegamento a fifo") << "fifo2.jpg" << n << "Pics/fifo.jpg";
        QTest::newRow("cartella") << "cartella.jpg" << n << "Pics/cartella.jpg";
        QTest::newRow("la cartella stessa") << "." << n << "Pics";
    }
    void risolvi()
    {
        const auto [nome, atteso, percorso] = Valori<QString, StatoNome, QString>("nome", "atteso", "percorso");
        Pics p;
        const NomeRisolto r = RisolviNome(p.pics, nome);
        QCOMPARE(r.stato, atteso);
        const QString base = QFileInfo(p.cartella.percorso()).canonicalFilePath() + QLatin1Char('/');
        if (atteso == StatoNome::Mancante)
            QCOMPARE(r.percorso, p.pics + nome);
        else
            QCOMPARE(r.percorso, percorso.isEmpty() ? QString() : base + percorso);
        // The folder given without its final separator leads to the same.
        QCOMPARE(RisolviNome(p.cartella.file(QStringLiteral("Pics")), nome).stato, atteso);

        const auto letto = LeggiFileInCartella(p.pics, nome);
        QCOMPARE(letto.has_value(), atteso == StatoNome::Regolare);
        if (letto)
            QCOMPARE(*letto, p.cartella.leggi(percorso));
        QVERIFY(!p.fifo->aperta());
    }

    // No folder: every name is missing, nothing is listed.
    void cartellaMancante()
    {
        CartellaTest c;
        const QString pics = c.file(QStringLiteral("Pics/"));
        QCOMPARE(RisolviNome(pics, QStringLiteral("a.bmp")).stato, StatoNome::Mancante);
        QVERIFY(ElencoFileInCartella(pics, {QStringLiteral("*.bmp")}).isEmpty());
    }

    // Only regular files inside the folder that match a pattern, case
    // ignored in both; equal names but for case keep a fixed order.
    void elenco()
    {
        Pics p;
        const QStringList immagini = ElencoFileInCartella(
            p.pics, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.bmp")});
        QCOMPARE(immagini, QStringList({"a.bmp", "B.JPG", "b.jpg", "collegamento.bmp"}));
        QCOMPARE(ElencoFileInCartella(p.pics, {QStringLiteral("*.TXT")}), QStringList{"d.txt"});
        QCOMPARE(ElencoFileInCartella(p.pics, {}), QStringList());
        QVERIFY(!p.fifo->aperta());
    }

    // A PDF for the desktop's opener: a regular file of the folder, named
    // ".pdf" at the end of any link, with the header in its first kilobyte.
    void pdf_data()
    {
        // atteso: in the folder; "" refused
        Colonne<QString, QString>("nome", "atteso");
        QTest::newRow("pdf") << "a.pdf" << "a.pdf";
        QTest::newRow("estensione maiuscola") << "B.Pdf" << "B.Pdf";
        QTest::newRow("intestazione dopo altri byte") << "spostata.pdf" << "spostata.pdf";
        QTest::newRow("collegamento a un pdf") << "alias.pdf" << "a.pdf";
        QTest::newRow("intestazione oltre il primo kilobyte") << "lontana.pdf" << "";
        QTest::newRow("senza estensione") << "a" << "";
        QTest::newRow("non e' un pdf") << "script.pdf" << "";
        QTest::newRow("collegamento a un .desktop") << "travestito.pdf" << "";
        QTest::newRow("mancante") << "manca.pdf" << "";
        QTest::newRow("fifo") << "fifo.pdf" << "";
        QTest::newRow("fuori") << "../fuori.pdf" << "";
    }
    void pdf()
    {
        const auto [nome, atteso] = Valori<QString, QString>("nome", "atteso");
        CartellaTest c;
        const QString ds = c.file(QStringLiteral("Datasheet/"));
        const QByteArray testa = "%PDF-1.7\n";
        for (const char *n : {"Datasheet/a.pdf", "Datasheet/B.Pdf", "Datasheet/a", "Datasheet/x.desktop", "fuori.pdf"})
            c.scrivi(QLatin1String(n), testa);
        c.scrivi(QStringLiteral("Datasheet/spostata.pdf"), QByteArray(1000, ' ') + testa);
        c.scrivi(QStringLiteral("Datasheet/lontana.pdf"), QByteArray(1020, ' ') + testa);
        c.scrivi(QStringLiteral("Datasheet/script.pdf"), "#!/bin/sh\n");
        QVERIFY(QFile::link(QStringLiteral("a.pdf"), ds + QStringLiteral("alias.pdf")));
        QVERIFY(QFile::link(QStringLiteral("x.desktop"), ds + QStringLiteral("travestito.pdf")));
        FifoSorvegliata fifo(ds + QStringLiteral("fifo.pdf"));
        QVERIFY(fifo.creata());
        const auto trovato = PercorsoPDF(ds, nome);
        QCOMPARE(trovato.value_or(QString()),
                 atteso.isEmpty() ? QString() : QFileInfo(ds + atteso).canonicalFilePath());
        QVERIFY(!fifo.aperta());
    }

    // The settings file and the other files the program keeps may be links to anywhere, but only a regular file is read
    // (LeggiFileRegolare); the settings file (LeggiFileIni) reads as empty when missing. Anything else fails at once,
    // and the FIFO is never opened.
    void leggiFileIni_data()
    {
        Colonne<QString, bool, QByteArray>("nome", "letto", "contenuto");
        QTest::newRow("file") << "a.bmp" << true << QByteArray("ciao");
        QTest::newRow("link to a file") << "collegamento.bmp" << true << QByteArray("ciao");
        QTest::newRow("link to a file in another folder") << "uscita.bmp" << true << QByteArray("fuori");
        QTest::newRow("missing") << "manca.ini" << true << QByteArray();
        QTest::newRow("link to nothing") << "rotto.jpg" << true << QByteArray();
        QTest::newRow("FIFO") << "fifo.jpg" << false << QByteArray();
        QTest::newRow("link to the FIFO") << "fifo2.jpg" << false << QByteArray();
        QTest::newRow("device") << "zero.jpg" << false << QByteArray();
        QTest::newRow("folder") << "cartella.jpg" << false << QByteArray();
    }
    void leggiFileIni()
    {
        const auto [nome, letto, contenuto] = Valori<QString, bool, QByteArray>("nome", "letto", "contenuto");
        Pics p;
        QByteArray trovato("resto di prima");
        QCOMPARE(LeggiFileIni(p.pics + nome, &trovato), letto);
        QCOMPARE(trovato, contenuto);
        const bool regolare = letto && !contenuto.isEmpty();
        QCOMPARE(LeggiFileRegolare(p.pics + nome), regolare ? std::optional(contenuto) : std::nullopt);
        QCOMPARE(LeggiFileRegolare(p.pics + nome, 2), regolare ? std::optional(contenuto.left(2)) : std::nullopt);
        QVERIFY2(!p.fifo->aperta(), "the FIFO was opened");
    }

    void nomeLibero_data()
    {
        // presenti: "x/" a folder, "x@" a link leading nowhere; atteso: for "a.b.png"
        Colonne<QStringList, QString>("presenti", "atteso");
        QTest::newRow("primo") << QStringList{} << "a.b (2).png";
        QTest::newRow("dopo il 2") << QStringList{"a.b (2).png"} << "a.b (3).png";
        QTest::newRow("buco") << QStringList{"a.b (3).png"} << "a.b (2).png";
        QTest::newRow("cartella e collegamento") << QStringList{"a.b (2).png/", "a.b (3).png@"} << "a.b (4).png";
        QTest::newRow("maiuscole") << QStringList{"A.B (2).png"} << "a.b (2).png";
    }
    void nomeLibero()
    {
        const auto [presenti, atteso] = Valori<QStringList, QString>("presenti", "atteso");
        CartellaTest c;
        const QString pics = c.file(QStringLiteral("Pics/"));
        c.scrivi(QStringLiteral("Pics/a.b.png"), "x");
        for (const QString &p : presenti) {
            if (p.endsWith(u'/'))
                QVERIFY(QDir().mkpath(pics + p));
            else if (p.endsWith(u'@'))
                QVERIFY(QFile::link(QStringLiteral("manca"), pics + p.chopped(1)));
            else
                c.scrivi(QStringLiteral("Pics/") + p, "x");
        }
        QCOMPARE(NomeLibero(pics, QStringLiteral("a.b.png")), atteso);
        QCOMPARE(NomeLibero(pics, QStringLiteral("LEGGIMI")), QStringLiteral("LEGGIMI (2)"));
    }

    // Every byte up to the limit, nothing beyond it, nothing from what is no
    // regular file (a FIFO is never opened); a Pics removed is made again.
    void copia_data()
    {
        // errore: ORIGINE: the source's path; empty: copied
        Colonne<QString, QString>("origine", "errore");
        QTest::newRow("al limite") << "mega.png" << "";
        QTest::newRow("oltre il limite") << "oltre.png"
                                         << "Il file ORIGINE è troppo grande per essere copiato (più di 1 MB)";
        QTest::newRow("mancante") << "manca.png" << "Impossibile leggere il file ORIGINE";
        QTest::newRow("fifo") << "fifo.png" << "Impossibile leggere il file ORIGINE";
    }
    void copia()
    {
        const auto [origine, errore] = Valori<QString, QString>("origine", "errore");
        CartellaTest c;
        QByteArray mega(1024 * 1024, 'm');
        for (int i = 0; i < 256; ++i)
            mega[i] = char(i);
        c.scrivi(QStringLiteral("USB/mega.png"), mega);
        c.scrivi(QStringLiteral("USB/oltre.png"), mega + 'o');
        FifoSorvegliata fifo(c.file(QStringLiteral("USB/fifo.png")));
        QString descrizione;
        const QString sorgente = c.file(QStringLiteral("USB/") + origine);
        QCOMPARE(CopiaNellaCartella(sorgente, c.file(QStringLiteral("Pics")), QStringLiteral("x.png"), &descrizione,
                                    1024 * 1024),
                 errore.isEmpty());
        QCOMPARE(descrizione, QString(errore).replace(QStringLiteral("ORIGINE"), sorgente));
        QCOMPARE(contenuto(c, QStringLiteral("Pics")), errore.isEmpty() ? QStringList{"x.png=" + mega} : QStringList{});
        QVERIFY(fifo.creata() && !fifo.aperta());
    }

    // From the file dialog's answer to the name stored: the boxes shown, and what Pics holds afterwards. The file
    // picked holds "NUOVA"; Pics may already hold an "a.png".
    void porta_data()
    {
        // scelto: empty: the dialog cancelled; presente: Pics/a.png: "NUOVA", "VECCHIA", "/" a folder, "R" read-only;
        // atteso: "-": nothing stored; pics: what Pics holds, joined by "|"
        Colonne<QString, QString, QList<int>, QString>("scelto", "presente", "risposte", "atteso");
        Colonne<QStringList, QString>("domande", "pics");
        const int si = int(Risposta::Si), ok = int(Risposta::Ok), sost = int(Risposta::Sostituisci);
        const QString copia = box(Icona::Domanda, Pulsanti::SiNo, "Copiare il file nella cartella Pics?");
        const QString esiste = box(Icona::Domanda, Pulsanti::SostituisciMantieniAnnulla,
                                   "Nella cartella Pics esiste già un file di nome a.png.\r\n"
                                   "Sostituirlo con il file scelto o mantenerli entrambi?");
        const QString errore = box(Icona::Critica, Pulsanti::Ok, "Il file non è stato copiato nella cartella Pics:");
        const auto riga = [](const char *nome, const char *scelto, const char *presente, const QList<int> &risposte,
                             const char *atteso, const QStringList &domande, const char *pics) {
            QTest::newRow(nome) << scelto << presente << risposte << atteso << domande << pics;
        };
        riga("annullato", "", "", {}, "-", {}, "");
        riga("in Pics", "Pics/a.png", "VECCHIA", {}, "a.png", {}, "a.png=VECCHIA");
        riga("Pics per un collegamento", "ViaLink/a.png", "VECCHIA", {}, "a.png", {}, "a.png=VECCHIA");
        riga("virgolette", "USB/a\"b.png", "", {ok}, "-",
             {box(Icona::Esclamazione, Pulsanti::Ok, AvvisoVirgoletteNelNome)}, "");
        riga("No", "USB/a.png", "", {int(Risposta::No)}, "-", {copia}, "");
        riga("Sì", "USB/a.png", "", {si}, "a.png", {copia}, "a.png=NUOVA");
        riga("sottocartella", "Pics/sub/a.png", "", {si}, "a.png", {copia}, "a.png=NUOVA|sub/");
        riga("stessi byte", "USB/a.png", "NUOVA", {si}, "a.png", {copia}, "a.png=NUOVA");
        riga("Sostituisci", "USB/a.png", "VECCHIA", {si, sost}, "a.png", {copia, esiste}, "a.png=NUOVA");
        riga("Mantieni entrambi", "USB/a.png", "/", {si, int(Risposta::MantieniEntrambi)}, "a (2).png", {copia, esiste},
             "a (2).png=NUOVA|a.png/");
        riga("Annulla", "USB/a.png", "VECCHIA", {si, int(Risposta::Annulla)}, "-", {copia, esiste}, "a.png=VECCHIA");
        riga("sola lettura", "USB/a.png", "R", {si, sost, ok}, "-", {copia, esiste, errore}, "a.png=VECCHIA");
    }
    void porta()
    {
        const auto [scelto, presente] = Valori<QString, QString>("scelto", "presente");
        const auto [risposte, atteso] = Valori<QList<int>, QString>("risposte", "atteso");
        const auto [domande, pics] = Valori<QStringList, QString>("domande", "pics");
        CartellaTest c;
        c.scrivi(QStringLiteral("USB/a.png"), "NUOVA");
        c.scrivi(QStringLiteral("USB/a\"b.png"), "NUOVA");
        QVERIFY(QDir().mkpath(c.file(QStringLiteral("Pics"))));
        if (scelto.startsWith(QLatin1String("Pics/sub")))
            c.scrivi(scelto, "NUOVA");
        QVERIFY(QFile::link(c.file(QStringLiteral("Pics")), c.file(QStringLiteral("ViaLink"))));
        if (presente == QLatin1String("/"))
            QVERIFY(QDir().mkpath(c.file(QStringLiteral("Pics/a.png"))));
        else if (!presente.isEmpty())
            c.scrivi(QStringLiteral("Pics/a.png"), presente == QLatin1String("R") ? "VECCHIA" : presente.toUtf8());
        if (presente == QLatin1String("R"))
            QVERIFY(QFile::setPermissions(c.file(QStringLiteral("Pics/a.png")), QFileDevice::ReadOwner));

        DialoghiFinti d;
        for (int r : risposte)
            d.setNextAnswer(Risposta(r));
        const auto nome = PortaNellaCartella(d, scelto.isEmpty() ? QString() : c.file(scelto),
                                             c.file(QStringLiteral("Pics/")), QStringLiteral("Pics"));
        QCOMPARE(nome.value_or(QStringLiteral("-")), atteso);
        QStringList chieste; // a failure's own reason is left out
        for (const DialoghiFinti::Box &b : d.boxes())
            chieste << box(b.icona, b.pulsanti,
                           b.icona == Icona::Critica ? b.testo.section(QStringLiteral("\r\n"), 0, 0) : b.testo);
        QCOMPARE(chieste, domande);
        QCOMPARE(contenuto(c, QStringLiteral("Pics")).join(u'|'), pics);
        VERIFICA_DIALOGHI(d);
    }
};

QTEST_MAIN(TestFileInCartella)
#include "tst_fileincartella.moc"
