// A file picked outside its folder copied in: the free name for keeping
// both, the copy, and the questions asked with what each answer leaves.

#include "common/cartellatest.h"
#include "common/verifiche.h"
#include "common/fifosorvegliata.h"
#include "store/copiaincartella.h"
#include "store/fileincartella.h"

#include <QDir>

namespace {

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

class TestCopiaInCartella : public QObject {
    Q_OBJECT
private slots:
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

    // From the file dialog's answer to the name stored: the boxes shown,
    // and what Pics holds afterwards. The file picked holds "NUOVA"; Pics
    // may already hold an "a.png".
    void porta_data()
    {
        // scelto: empty: the dialog cancelled; presente: Pics/a.png: "NUOVA", "VECCHIA", "/" a folder, "R" read-only;
        // atteso: "-": nothing stored
        Colonne<QString, QString, QList<int>, QString>("scelto", "presente", "risposte", "atteso");
        Colonne<QStringList, QStringList>("domande", "pics");
        const int si = int(Risposta::Si), ok = int(Risposta::Ok), sost = int(Risposta::Sostituisci);
        const QString copia = box(Icona::Domanda, Pulsanti::SiNo, "Copiare il file nella cartella Pics?");
        const QString esiste = box(Icona::Domanda, Pulsanti::SostituisciMantieniAnnulla,
                                   "Nella cartella Pics esiste già un file di nome a.png.\r\n"
                                   "Sostituirlo con il file scelto o mantenerli entrambi?");
        const QString errore = box(Icona::Critica, Pulsanti::Ok, "Il file non è stato copiato nella cartella Pics:");
        QTest::newRow("annullato") << "" << "" << QList<int>{} << "-" << QStringList{} << QStringList{};
        QTest::newRow("in Pics") << "Pics/a.png" << "VECCHIA" << QList<int>{} << "a.png" << QStringList{}
                                 << QStringList{"a.png=VECCHIA"};
        QTest::newRow("Pics per un collegamento") << "ViaLink/a.png" << "VECCHIA" << QList<int>{} << "a.png"
                                                  << QStringList{} << QStringList{"a.png=VECCHIA"};
        QTest::newRow("virgolette") << "USB/a\"b.png" << "" << QList<int>{ok} << "-"
                                    << QStringList{box(Icona::Esclamazione, Pulsanti::Ok, AvvisoVirgoletteNelNome)}
                                    << QStringList{};
        QTest::newRow("No") << "USB/a.png" << "" << QList<int>{int(Risposta::No)} << "-" << QStringList{copia}
                            << QStringList{};
        QTest::newRow("Sì") << "USB/a.png" << "" << QList<int>{si} << "a.png" << QStringList{copia}
                            << QStringList{"a.png=NUOVA"};
        QTest::newRow("sottocartella") << "Pics/sub/a.png" << "" << QList<int>{si} << "a.png" << QStringList{copia}
                                       << QStringList{"a.png=NUOVA", "sub/"};
        QTest::newRow("stessi byte") << "USB/a.png" << "NUOVA" << QList<int>{si} << "a.png" << QStringList{copia}
                                     << QStringList{"a.png=NUOVA"};
        QTest::newRow("Sostituisci") << "USB/a.png" << "VECCHIA" << QList<int>{si, sost} << "a.png"
                                     << QStringList{copia, esiste} << QStringList{"a.png=NUOVA"};
        QTest::newRow("Mantieni entrambi") << "USB/a.png" << "/" << QList<int>{si, int(Risposta::MantieniEntrambi)}
                                           << "a (2).png" << QStringList{copia, esiste}
                                           << QStringList{"a (2).png=NUOVA", "a.png/"};
        QTest::newRow("Annulla") << "USB/a.png" << "VECCHIA" << QList<int>{si, int(Risposta::Annulla)} << "-"
                                 << QStringList{copia, esiste} << QStringList{"a.png=VECCHIA"};
        QTest::newRow("sola lettura") << "USB/a.png" << "R" << QList<int>{si, sost, ok} << "-"
                                      << QStringList{copia, esiste, errore} << QStringList{"a.png=VECCHIA"};
    }
    void porta()
    {
        const auto [scelto, presente] = Valori<QString, QString>("scelto", "presente");
        const auto [risposte, atteso] = Valori<QList<int>, QString>("risposte", "atteso");
        const auto [domande, pics] = Valori<QStringList, QStringList>("domande", "pics");
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
        QCOMPARE(contenuto(c, QStringLiteral("Pics")), pics);
        VERIFICA_DIALOGHI(d);
    }
};

QTEST_GUILESS_MAIN(TestCopiaInCartella)
#include "tst_copiaincartella.moc"
