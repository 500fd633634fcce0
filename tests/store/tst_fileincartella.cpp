// Stored file names resolved inside their folder: what counts as a regular
// file there, what leads outside, and that special files are never opened.

#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "common/fifosorvegliata.h"
#include "store/fileincartella.h"
#include "store/fileini.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

Q_DECLARE_METATYPE(StatoNome)

namespace {

bool collega(const QString &bersaglio, const QString &nome)
{
    return ::symlink(QFile::encodeName(bersaglio).constData(), QFile::encodeName(nome).constData()) == 0;
}

// A socket file at the path; the descriptor stays open as long as the test.
int presa(const QString &percorso)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un indirizzo{};
    indirizzo.sun_family = AF_UNIX;
    const QByteArray p = QFile::encodeName(percorso);
    if (fd < 0 || p.size() >= qsizetype(sizeof indirizzo.sun_path))
        return -1;
    std::copy(p.begin(), p.end(), indirizzo.sun_path);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&indirizzo), sizeof indirizzo) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A program folder whose Pics holds one of everything:
//   a.bmp "ciao", B.JPG, b.jpg, d.txt, sub/b.bmp     regular files
//   collegamento.bmp -> a.bmp                          a link that stays inside
//   uscita.bmp -> ../fuori.bmp                         a link to a file outside
//   altrove -> ../Altrove (holding c.bmp)              a folder link leading outside
//   accanto.jpg -> ../Pics2/x.jpg                      a link into a sibling sharing the name's start
//   zero.jpg -> /dev/zero                              a device, outside
//   fifo.jpg, fifo2.jpg -> fifo.jpg                    a FIFO, and a link to it
//   cartella.jpg                                       a folder
//   presa.jpg                                          a socket
//   rotto.jpg -> manca.jpg                             a link to nothing
struct Pics {
    CartellaTest cartella;
    QString pics;
    std::unique_ptr<FifoSorvegliata> fifo;
    int fdPresa = -1;

    Pics()
    {
        pics = cartella.file(QStringLiteral("Pics")) + QLatin1Char('/');
        cartella.scrivi(QStringLiteral("Pics/a.bmp"), "ciao");
        cartella.scrivi(QStringLiteral("Pics/B.JPG"), "B");
        cartella.scrivi(QStringLiteral("Pics/b.jpg"), "b");
        cartella.scrivi(QStringLiteral("Pics/d.txt"), "d");
        cartella.scrivi(QStringLiteral("Pics/sub/b.bmp"), "sotto");
        cartella.scrivi(QStringLiteral("fuori.bmp"), "fuori");
        cartella.scrivi(QStringLiteral("Altrove/c.bmp"), "c");
        cartella.scrivi(QStringLiteral("Pics2/x.jpg"), "x");
        QVERIFY(collega(QStringLiteral("a.bmp"), pics + QStringLiteral("collegamento.bmp")));
        QVERIFY(collega(QStringLiteral("../fuori.bmp"), pics + QStringLiteral("uscita.bmp")));
        QVERIFY(collega(QStringLiteral("../Altrove"), pics + QStringLiteral("altrove")));
        QVERIFY(collega(QStringLiteral("../Pics2/x.jpg"), pics + QStringLiteral("accanto.jpg")));
        QVERIFY(collega(QStringLiteral("/dev/zero"), pics + QStringLiteral("zero.jpg")));
        QVERIFY(collega(QStringLiteral("manca.jpg"), pics + QStringLiteral("rotto.jpg")));
        fifo = std::make_unique<FifoSorvegliata>(pics + QStringLiteral("fifo.jpg"));
        QVERIFY(fifo->creata());
        QVERIFY(collega(QStringLiteral("fifo.jpg"), pics + QStringLiteral("fifo2.jpg")));
        QVERIFY(QDir().mkpath(pics + QStringLiteral("cartella.jpg")));
        fdPresa = presa(pics + QStringLiteral("presa.jpg"));
        QVERIFY(fdPresa >= 0);
    }
    ~Pics()
    {
        if (fdPresa >= 0)
            ::close(fdPresa);
    }
};

} // namespace

class TestFileInCartella : public QObject {
    Q_OBJECT
private slots:
    void risolvi_data()
    {
        // percorso: relative to the test folder; "" none
        Colonne<QString, StatoNome, QString, QByteArray>("nome", "atteso", "percorso", "contenuto");
        const auto r = StatoNome::Regolare, f = StatoNome::Fuori, m = StatoNome::Mancante,
                   n = StatoNome::NonRegolare;
        QTest::newRow("vuoto") << "" << StatoNome::Vuoto << "" << QByteArray();
        QTest::newRow("file") << "a.bmp" << r << "Pics/a.bmp" << QByteArray("ciao");
        QTest::newRow("sottocartella") << "sub/b.bmp" << r << "Pics/sub/b.bmp" << QByteArray("sotto");
        QTest::newRow("punto") << "./a.bmp" << r << "Pics/a.bmp" << QByteArray("ciao");
        QTest::newRow("barre doppie") << "sub//b.bmp" << r << "Pics/sub/b.bmp" << QByteArray("sotto");
        QTest::newRow("collegamento dentro") << "collegamento.bmp" << r << "Pics/a.bmp" << QByteArray("ciao");
        QTest::newRow("manca") << "manca.bmp" << m << "Pics/manca.bmp" << QByteArray();
        QTest::newRow("manca in cartella mancante") << "no/x.bmp" << m << "Pics/no/x.bmp" << QByteArray();
        QTest::newRow("punto punto") << "../fuori.bmp" << f << "" << QByteArray();
        QTest::newRow("punto punto in mezzo") << "sub/../a.bmp" << f << "" << QByteArray();
        QTest::newRow("punto punto alla fine") << "sub/.." << f << "" << QByteArray();
        QTest::newRow("punto punto di Windows") << "..\\fuori.bmp" << f << "" << QByteArray();
        QTest::newRow("assoluto") << "/etc/hostname" << f << "" << QByteArray();
        QTest::newRow("barra rovescia iniziale") << "\\fuori.bmp" << f << "" << QByteArray();
        QTest::newRow("unita' di Windows") << "C:\\fuori.bmp" << f << "" << QByteArray();
        QTest::newRow("unita' senza barra") << "C:fuori.bmp" << f << "" << QByteArray();
        QTest::newRow("carattere nullo") << QStringLiteral("a.bmp") + QChar(0) + QStringLiteral("x") << f << ""
                                         << QByteArray();
        QTest::newRow("collegamento fuori") << "uscita.bmp" << f << "" << QByteArray();
        QTest::newRow("cartella collegata fuori") << "altrove/c.bmp" << f << "" << QByteArray();
        QTest::newRow("manca in cartella collegata fuori") << "altrove/x.bmp" << f << "" << QByteArray();
        QTest::newRow("collegamento nella cartella accanto") << "accanto.jpg" << f << "" << QByteArray();
        QTest::newRow("dispositivo") << "zero.jpg" << f << "" << QByteArray();
        QTest::newRow("collegamento a niente") << "rotto.jpg" << f << "" << QByteArray();
        QTest::newRow("fifo") << "fifo.jpg" << n << "Pics/fifo.jpg" << QByteArray();
        QTest::newRow("collegamento a fifo") << "fifo2.jpg" << n << "Pics/fifo.jpg" << QByteArray();
        QTest::newRow("cartella") << "cartella.jpg" << n << "Pics/cartella.jpg" << QByteArray();
        QTest::newRow("socket") << "presa.jpg" << n << "Pics/presa.jpg" << QByteArray();
        QTest::newRow("la cartella stessa") << "." << n << "Pics" << QByteArray();
    }
    void risolvi()
    {
        const auto [nome, atteso, percorso] = Valori<QString, StatoNome, QString>("nome", "atteso", "percorso");
        const auto [contenuto] = Valori<QByteArray>("contenuto");
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
            QCOMPARE(*letto, contenuto);
        QVERIFY(!p.fifo->aperta());
    }

    // A read stops at the limit.
    void leggiInParte()
    {
        Pics p;
        QCOMPARE(LeggiFileInCartella(p.pics, QStringLiteral("a.bmp"), 2), std::optional<QByteArray>("ci"));
        QCOMPARE(LeggiFileInCartella(p.pics, QStringLiteral("a.bmp"), 0), std::optional<QByteArray>(""));
        QCOMPARE(LeggiFileInCartella(p.pics, QStringLiteral("a.bmp"), 100), std::optional<QByteArray>("ciao"));
        QCOMPARE(LeggiFileRegolare(p.pics + QStringLiteral("a.bmp"), 1), std::optional<QByteArray>("c"));
    }

    // No folder: every name is missing, nothing is listed.
    void cartellaMancante()
    {
        CartellaTest c;
        const QString pics = c.file(QStringLiteral("Pics/"));
        QCOMPARE(RisolviNome(pics, QStringLiteral("a.bmp")).stato, StatoNome::Mancante);
        QCOMPARE(RisolviNome(pics, QStringLiteral("../a.bmp")).stato, StatoNome::Fuori);
        QVERIFY(!LeggiFileInCartella(pics, QStringLiteral("a.bmp")));
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
        QVERIFY(collega(QStringLiteral("a.pdf"), ds + QStringLiteral("alias.pdf")));
        QVERIFY(collega(QStringLiteral("x.desktop"), ds + QStringLiteral("travestito.pdf")));
        FifoSorvegliata fifo(ds + QStringLiteral("fifo.pdf"));
        QVERIFY(fifo.creata());
        const auto trovato = PercorsoPDF(ds, nome);
        QCOMPARE(trovato.value_or(QString()),
                 atteso.isEmpty() ? QString() : QFileInfo(ds + atteso).canonicalFilePath());
        QVERIFY(!fifo.aperta());
    }

    // The settings file and the other files the program keeps may be links
    // to anywhere, but only a regular file is read (LeggiFileRegolare); the
    // settings file (LeggiFileIni) reads as empty when missing. Anything else
    // fails at once, and the FIFO is never opened.
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
        QTest::newRow("socket") << "presa.jpg" << false << QByteArray();
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
        QVERIFY2(!p.fifo->aperta(), "the FIFO was opened");
    }

    void nomeConservabile()
    {
        QVERIFY(NomeConservabile(QStringLiteral("a'b.bmp")));
        QVERIFY(NomeConservabile(QString()));
        QVERIFY(!NomeConservabile(QStringLiteral("a\"b.bmp")));
        QVERIFY(!NomeConservabile(QStringLiteral("\"")));
    }
};

QTEST_MAIN(TestFileInCartella)
#include "tst_fileincartella.moc"
