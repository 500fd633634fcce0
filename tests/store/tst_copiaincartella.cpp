// A file picked outside its folder (Pics, Datasheet, Packages) copied in:
// where a picked file counts as inside, the free name for keeping both, the
// copy itself, and the questions asked on the way with what each answer
// leaves in the folder.

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/fifosorvegliata.h"
#include "store/copiaincartella.h"
#include "store/fileincartella.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

namespace {

const QString Vecchia = QStringLiteral("VECCHIA");
const QString Nuova = QStringLiteral("NUOVA");

// The entries of a folder, sorted, as "name=content"; a folder shows as
// "name/", a link as "name->target".
QStringList contenuto(const QString &cartella)
{
    QStringList voci;
    const QFileInfoList elenco = QDir(cartella).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                                                  | QDir::System,
                                                              QDir::Name);
    for (const QFileInfo &info : elenco) {
        if (info.isSymLink()) {
            voci << info.fileName() + QStringLiteral("->") + QFileInfo(info.symLinkTarget()).fileName();
        } else if (info.isDir()) {
            voci << info.fileName() + u'/';
        } else {
            QFile f(info.filePath());
            voci << info.fileName() + u'=' + QString::fromUtf8(f.open(QIODevice::ReadOnly) ? f.readAll() : "?");
        }
    }
    return voci;
}

} // namespace

class TestCopiaInCartella : public QObject {
    Q_OBJECT
private slots:
    // The free name numbers from 2, skips every kind of entry that holds a
    // name (a file, a folder, a link leading nowhere), takes the first gap,
    // and keeps the extension (the last one) at the end.
    void nomeLibero_data()
    {
        QTest::addColumn<QStringList>("presenti"); // "x/" a folder, "x@" a broken link, otherwise a file
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("primo") << QStringList{"foto.png"} << "foto.png" << "foto (2).png";
        QTest::newRow("secondo") << QStringList{"foto.png", "foto (2).png"} << "foto.png" << "foto (3).png";
        QTest::newRow("buco") << QStringList{"foto.png", "foto (3).png"} << "foto.png" << "foto (2).png";
        QTest::newRow("molti") << QStringList{"a.jpg", "a (2).jpg", "a (3).jpg", "a (4).jpg", "a (5).jpg",
                                              "a (6).jpg", "a (7).jpg", "a (8).jpg", "a (9).jpg", "a (10).jpg"}
                               << "a.jpg" << "a (11).jpg";
        QTest::newRow("cartella") << QStringList{"foto.png", "foto (2).png/"} << "foto.png" << "foto (3).png";
        QTest::newRow("collegamento rotto") << QStringList{"foto.png", "foto (2).png@"} << "foto.png"
                                            << "foto (3).png";
        QTest::newRow("due punti") << QStringList{"foto.tar.png"} << "foto.tar.png" << "foto.tar (2).png";
        QTest::newRow("senza estensione") << QStringList{"LEGGIMI"} << "LEGGIMI" << "LEGGIMI (2)";
        QTest::newRow("punto iniziale") << QStringList{".png"} << ".png" << ".png (2)";
        QTest::newRow("maiuscole diverse") << QStringList{"foto.png", "FOTO (2).png"} << "foto.png"
                                           << "foto (2).png";
        QTest::newRow("spazi") << QStringList{"data sheet.pdf"} << "data sheet.pdf" << "data sheet (2).pdf";
    }
    void nomeLibero()
    {
        QFETCH(QStringList, presenti);
        QFETCH(QString, nome);
        QFETCH(QString, atteso);
        CartellaTest c;
        const QString pics = c.file(QStringLiteral("Pics"));
        QVERIFY(QDir().mkpath(pics));
        for (const QString &p : presenti) {
            if (p.endsWith(u'/'))
                QVERIFY(QDir().mkpath(pics + u'/' + p));
            else if (p.endsWith(u'@'))
                QVERIFY(QFile::link(QStringLiteral("manca"), pics + u'/' + p.chopped(1)));
            else
                c.scrivi(QStringLiteral("Pics/") + p, "x");
        }
        QCOMPARE(NomeLibero(pics, nome), atteso);
        QCOMPARE(NomeLibero(pics + u'/', nome), atteso);
    }

    // Only a file directly in the folder counts as in it, however the path
    // reaches it; a sub-folder, or a sibling whose name starts the same, is
    // elsewhere.
    void fileNellaCartella_data()
    {
        QTest::addColumn<QString>("percorso"); // inside the test folder
        QTest::addColumn<bool>("dentro");
        QTest::newRow("diretto") << "Pics/a.png" << true;
        QTest::newRow("file mancante") << "Pics/manca.png" << true;
        QTest::newRow("punto punto") << "Pics/sotto/../a.png" << true;
        QTest::newRow("cartella collegata") << "ViaCollegamento/a.png" << true;
        QTest::newRow("sottocartella") << "Pics/sotto/a.png" << false;
        QTest::newRow("cartella sorella") << "Pics2/a.png" << false;
        QTest::newRow("cartella del programma") << "a.png" << false;
        QTest::newRow("altrove") << "Scaricati/a.png" << false;
    }
    void fileNellaCartella()
    {
        QFETCH(QString, percorso);
        QFETCH(bool, dentro);
        CartellaTest c;
        for (const char *f : {"Pics/a.png", "Pics/sotto/a.png", "Pics2/a.png", "a.png", "Scaricati/a.png"})
            c.scrivi(QLatin1String(f), "x");
        QVERIFY(QFile::link(c.file(QStringLiteral("Pics")), c.file(QStringLiteral("ViaCollegamento"))));
        QCOMPARE(FileNellaCartella(c.file(QStringLiteral("Pics")) + u'/', c.file(percorso)), dentro);
        QCOMPARE(FileNellaCartella(c.file(QStringLiteral("Pics")), c.file(percorso)), dentro);
        QVERIFY(!FileNellaCartella(c.file(QStringLiteral("Manca")), c.file(QStringLiteral("Manca/a.png"))));
    }

    // The copy: every byte, up to the limit and not beyond it; a source that
    // is missing, a folder or a FIFO (never opened) refused with a
    // description; a folder removed since the start made again; no
    // temporary left behind in any case.
    void copia_data()
    {
        QTest::addColumn<QString>("origine"); // inside the test folder
        QTest::addColumn<qint64>("massimo");
        QTest::addColumn<bool>("picsPresente"); // false: the folder was removed since the start
        QTest::addColumn<QString>("errore");    // ORIGINE stands for the source's full path; empty: copied
        const qint64 mega = 1024 * 1024;
        QTest::newRow("vuoto") << "Scaricati/vuoto.png" << mega << true << "";
        QTest::newRow("tutti i byte") << "Scaricati/byte.png" << mega << true << "";
        QTest::newRow("al limite") << "Scaricati/mega.png" << mega << true << "";
        QTest::newRow("oltre il limite") << "Scaricati/oltre.png" << mega << true
                                         << "Il file ORIGINE è troppo grande per essere copiato (più di 1 MB)";
        QTest::newRow("mancante") << "Scaricati/manca.png" << mega << true << "Impossibile leggere il file ORIGINE";
        QTest::newRow("cartella") << "Scaricati/cartella.png" << mega << true << "Impossibile leggere il file ORIGINE";
        QTest::newRow("fifo") << "Scaricati/fifo.png" << mega << true << "Impossibile leggere il file ORIGINE";
        QTest::newRow("collegamento") << "Scaricati/collegamento.png" << mega << true << "";
        QTest::newRow("cartella Pics sparita") << "Scaricati/byte.png" << mega << false << "";
    }
    void copia()
    {
        QFETCH(QString, origine);
        QFETCH(qint64, massimo);
        QFETCH(bool, picsPresente);
        QFETCH(QString, errore);
        CartellaTest c;
        QByteArray tutti;
        for (int i = 0; i < 256; ++i)
            tutti += char(i);
        c.scrivi(QStringLiteral("Scaricati/vuoto.png"), QByteArray());
        c.scrivi(QStringLiteral("Scaricati/byte.png"), tutti);
        c.scrivi(QStringLiteral("Scaricati/mega.png"), QByteArray(1024 * 1024, 'm'));
        c.scrivi(QStringLiteral("Scaricati/oltre.png"), QByteArray(1024 * 1024 + 1, 'o'));
        QVERIFY(QDir().mkpath(c.file(QStringLiteral("Scaricati/cartella.png"))));
        QVERIFY(QFile::link(QStringLiteral("byte.png"), c.file(QStringLiteral("Scaricati/collegamento.png"))));
        FifoSorvegliata fifo(c.file(QStringLiteral("Scaricati/fifo.png")));
        QVERIFY(fifo.creata());
        const QString pics = c.file(QStringLiteral("Pics"));
        if (picsPresente)
            QVERIFY(QDir().mkpath(pics));

        QString descrizione;
        const QString sorgente = c.file(origine);
        QCOMPARE(CopiaNellaCartella(sorgente, pics, QStringLiteral("x.png"), &descrizione, massimo),
                 errore.isEmpty());
        if (errore.isEmpty()) {
            QCOMPARE(c.leggi(QStringLiteral("Pics/x.png")), c.leggi(origine));
            QVERIFY(RisolviNome(pics, QStringLiteral("x.png")).regolare()); // a copy, not a link
            QCOMPARE(QDir(pics).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                     QStringList{"x.png"});
        } else {
            QCOMPARE(descrizione, QString(errore).replace(QStringLiteral("ORIGINE"), sorgente));
            QVERIFY(QDir(pics).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
        }
        QVERIFY(!fifo.aperta());
    }

    // The whole way from the file dialog's answer to the name stored: which
    // questions are asked, in this order, for which answers, and what the
    // folder holds afterwards. The picked file is "a.png" holding "NUOVA"
    // unless the row says otherwise; the folder may already hold an "a.png".
    void porta_data()
    {
        QTest::addColumn<QString>("scelto");   // inside the test folder; empty: the dialog cancelled
        QTest::addColumn<QString>("presente"); // in Pics as a.png: "", "uguale", "diverso", "cartella", "sola lettura", "rotto"
        QTest::addColumn<QList<int>>("risposte");
        QTest::addColumn<QString>("atteso"); // the name to store; "-" for nothing
        QTest::addColumn<QStringList>("domande"); // copia, esistente, virgolette, errore
        QTest::addColumn<QStringList>("pics");    // the folder afterwards (see contenuto)
        const int si = int(Risposta::Si), no = int(Risposta::No), ok = int(Risposta::Ok);
        const int sostituisci = int(Risposta::Sostituisci), entrambi = int(Risposta::MantieniEntrambi),
                  annulla = int(Risposta::Annulla);
        const QStringList copia{"copia"}, esistente{"copia", "esistente"},
            fallita{"copia", "esistente", "errore"};
        QTest::newRow("dialogo annullato") << "" << "" << QList<int>{} << "-" << QStringList{} << QStringList{};
        QTest::newRow("nella cartella") << "Pics/a.png" << "diverso" << QList<int>{} << "a.png" << QStringList{}
                                        << QStringList{"a.png=VECCHIA"};
        QTest::newRow("cartella raggiunta da un collegamento")
            << "ViaCollegamento/a.png" << "diverso" << QList<int>{} << "a.png" << QStringList{}
            << QStringList{"a.png=VECCHIA"};
        QTest::newRow("virgolette") << "Scaricati/a\"b.png" << "" << QList<int>{ok} << "-"
                                    << QStringList{"virgolette"} << QStringList{};
        QTest::newRow("No") << "Scaricati/a.png" << "" << QList<int>{no} << "-" << copia << QStringList{};
        QTest::newRow("Sì") << "Scaricati/a.png" << "" << QList<int>{si} << "a.png" << copia
                            << QStringList{"a.png=NUOVA"};
        QTest::newRow("sottocartella di Pics") << "Pics/sotto/a.png" << "" << QList<int>{si} << "a.png" << copia
                                               << QStringList{"a.png=NUOVA", "sotto/"};
        QTest::newRow("stessi byte già presenti") << "Scaricati/a.png" << "uguale" << QList<int>{si} << "a.png"
                                                  << copia << QStringList{"a.png=NUOVA"};
        QTest::newRow("Sostituisci") << "Scaricati/a.png" << "diverso" << QList<int>{si, sostituisci} << "a.png"
                                     << esistente << QStringList{"a.png=NUOVA"};
        QTest::newRow("Mantieni entrambi") << "Scaricati/a.png" << "diverso" << QList<int>{si, entrambi}
                                           << "a (2).png" << esistente
                                           << QStringList{"a (2).png=NUOVA", "a.png=VECCHIA"};
        QTest::newRow("Annulla") << "Scaricati/a.png" << "diverso" << QList<int>{si, annulla} << "-" << esistente
                                 << QStringList{"a.png=VECCHIA"};
        QTest::newRow("cartella omonima, Mantieni entrambi")
            << "Scaricati/a.png" << "cartella" << QList<int>{si, entrambi} << "a (2).png" << esistente
            << QStringList{"a (2).png=NUOVA", "a.png/"};
        QTest::newRow("cartella omonima, Sostituisci")
            << "Scaricati/a.png" << "cartella" << QList<int>{si, sostituisci, ok} << "-" << fallita
            << QStringList{"a.png/"};
        QTest::newRow("collegamento rotto omonimo, Mantieni entrambi")
            << "Scaricati/a.png" << "rotto" << QList<int>{si, entrambi} << "a (2).png" << esistente
            << QStringList{"a (2).png=NUOVA", "a.png->manca.png"};
        QTest::newRow("sola lettura, Sostituisci") << "Scaricati/a.png" << "sola lettura"
                                                   << QList<int>{si, sostituisci, ok} << "-" << fallita
                                                   << QStringList{"a.png=VECCHIA"};
        QTest::newRow("illeggibile") << "Scaricati/fifo.png" << "" << QList<int>{si, ok} << "-"
                                     << QStringList{"copia", "errore"} << QStringList{};
    }
    void porta()
    {
        QFETCH(QString, scelto);
        QFETCH(QString, presente);
        QFETCH(QList<int>, risposte);
        QFETCH(QString, atteso);
        QFETCH(QStringList, domande);
        QFETCH(QStringList, pics);
        CartellaTest c;
        const QString cartella = c.file(QStringLiteral("Pics")) + u'/';
        QVERIFY(QDir().mkpath(cartella));
        for (const char *f : {"Scaricati/a.png", "Scaricati/a\"b.png", "Pics/sotto/a.png"})
            c.scrivi(QLatin1String(f), Nuova.toUtf8());
        QVERIFY(QFile::link(c.file(QStringLiteral("Pics")), c.file(QStringLiteral("ViaCollegamento"))));
        FifoSorvegliata fifo(c.file(QStringLiteral("Scaricati/fifo.png")));
        QVERIFY(fifo.creata());
        const QString gia = cartella + QStringLiteral("a.png");
        if (presente == QLatin1String("uguale")) {
            c.scrivi(QStringLiteral("Pics/a.png"), Nuova.toUtf8());
        } else if (presente == QLatin1String("diverso") || presente == QLatin1String("sola lettura")) {
            c.scrivi(QStringLiteral("Pics/a.png"), Vecchia.toUtf8());
            if (presente == QLatin1String("sola lettura"))
                QVERIFY(QFile::setPermissions(gia, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        } else if (presente == QLatin1String("cartella")) {
            QVERIFY(QDir().mkpath(gia));
        } else if (presente == QLatin1String("rotto")) {
            QVERIFY(QFile::link(QStringLiteral("manca.png"), gia));
        }
        if (scelto != QLatin1String("Pics/sotto/a.png"))
            QVERIFY(QDir(cartella + QStringLiteral("sotto")).removeRecursively());

        DialoghiFinti d;
        for (int r : risposte)
            d.setNextAnswer(Risposta(r));
        const std::optional<QString> nome =
            PortaNellaCartella(d, scelto.isEmpty() ? QString() : c.file(scelto), cartella, QStringLiteral("Pics"));

        QCOMPARE(nome.value_or(QStringLiteral("-")), atteso);
        QCOMPARE(d.boxes().size(), domande.size());
        for (qsizetype i = 0; i < domande.size(); ++i) {
            const DialoghiFinti::Box &b = d.boxes()[i];
            QVERIFY(b.titolo.isEmpty());
            if (domande[i] == QLatin1String("copia")) {
                QCOMPARE(b.testo, QStringLiteral("Copiare il file nella cartella Pics?"));
                QCOMPARE(b.icona, Icona::Domanda);
                QCOMPARE(b.pulsanti, Pulsanti::SiNo);
            } else if (domande[i] == QLatin1String("esistente")) {
                QCOMPARE(b.testo, QStringLiteral("Nella cartella Pics esiste già un file di nome a.png.\r\n"
                                                 "Sostituirlo con il file scelto o mantenerli entrambi?"));
                QCOMPARE(b.icona, Icona::Domanda);
                QCOMPARE(b.pulsanti, Pulsanti::SostituisciMantieniAnnulla);
            } else if (domande[i] == QLatin1String("virgolette")) {
                QCOMPARE(b.testo, AvvisoVirgoletteNelNome);
                QCOMPARE(b.icona, Icona::Esclamazione);
                QCOMPARE(b.pulsanti, Pulsanti::Ok);
            } else {
                QVERIFY2(b.testo.startsWith(QStringLiteral("Il file non è stato copiato nella cartella Pics:\r\n")),
                         qPrintable(b.testo));
                QCOMPARE(b.icona, Icona::Critica);
                QCOMPARE(b.pulsanti, Pulsanti::Ok);
            }
        }
        QCOMPARE(contenuto(cartella), pics);
        QVERIFY(!fifo.aperta());
        VERIFICA_DIALOGHI(d);
    }
};

QTEST_GUILESS_MAIN(TestCopiaInCartella)
#include "tst_copiaincartella.moc"
