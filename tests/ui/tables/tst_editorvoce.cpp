// The entry editor of the tables window: its states and toolbar, Enter and
// Escape, adding and renaming entries, the package picture, and what every
// save leaves on disk.
#include "bancotabelle.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>

namespace {

const QColor Sbloccata(0xCC, 0xFF, 0xAA);
const QColor Bloccata(0xEE, 0xEE, 0xEE);

QColor sfondo(QLineEdit *c) { return c->palette().color(QPalette::Base); }

// A picture file of the given size in the package folder.
void immagine(const Banco &b, const QString &nome, QSize dimensione)
{
    QImage img(dimensione, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(b.stato.percorsi.CartellaPackages + nome));
}

} // namespace

class TestEditorVoce : public QObject {
    Q_OBJECT
private slots:
    void statiEBarra();
    void salvaConNomeVuoto();
    void invioConNomeVuoto();
    void escapeDaIdle();
    void nomeInMaiuscolo();
    void treTipiNuovi();
    void rinominaTipoUsato();
    void nuovoDopoClicRiga();
    void clicRigaInNuovo();
    void immaginePackage();
    void caricaPoiAnnulla();
    void caricaAnnullato();
    void virgoletteDoppie();
    void salvataggioSuDisco();
    void salvataggioFallito();
};

void TestEditorVoce::statiEBarra()
{
    Banco b;
    b.produttore(1, QStringLiteral("ACME"));
    b.produttore(2, QStringLiteral("BETA"));
    auto f = b.apri();
    QLineEdit *nome = voce(f.get(), 0);
    ListaReport *lvp = lista(f.get(), "LVP");

    // idle
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    QVERIFY(!nome->isEnabled());
    QCOMPARE(sfondo(nome), Bloccata);

    // shown
    clicRiga(lvp, 2);
    QCOMPARE(f->IDVoce(), 2);
    QCOMPARE(f->PosVoce(), 2);
    QCOMPARE(nome->text(), QStringLiteral("BETA"));
    QVERIFY(!nome->isEnabled());
    QCOMPARE(barra(f.get()), QStringLiteral("11001"));

    // edit
    clic(f.get(), "edit");
    QVERIFY(f->InModifica());
    QVERIFY(nome->isEnabled());
    QCOMPARE(sfondo(nome), Sbloccata);
    QCOMPARE(f->focusWidget(), nome);
    QCOMPARE(nome->selectedText(), QStringLiteral("BETA"));
    QCOMPARE(barra(f.get()), QStringLiteral("00110"));

    // undo: idle again, nothing stored
    clic(f.get(), "undo");
    QVERIFY(!f->InModifica());
    QVERIFY(nome->text().isEmpty());
    QVERIFY(!nome->isEnabled());
    QCOMPARE(sfondo(nome), Bloccata);
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));

    // new, then Escape: idle
    clic(f.get(), "new");
    QVERIFY(!f->InModifica());
    QVERIFY(nome->isEnabled());
    QCOMPARE(barra(f.get()), QStringLiteral("00110"));
    QTest::keyClick(nome, Qt::Key_Escape);
    QVERIFY(f->isVisible()); // Escape does not close the window
    QVERIFY(!nome->isEnabled());
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));

    // Escape while shown empties the box and turns "Modifica" off.
    clicRiga(lvp, 1);
    QCOMPARE(nome->text(), QStringLiteral("ACME"));
    QTest::keyClick(lvp, Qt::Key_Escape);
    QVERIFY(nome->text().isEmpty());
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}}));
    QVERIFY(!b.stato.TabelleModificate);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::salvaConNomeVuoto()
{
    Banco b;
    auto f = b.apri();
    clic(f.get(), "new");
    clic(f.get(), "save");
    // Every button off, the box still open for typing.
    QCOMPARE(barra(f.get()), QStringLiteral("00000"));
    QVERIFY(voce(f.get(), 0)->isEnabled());
    QCOMPARE(b.stato.NumProduttori, 0);
    QVERIFY(!b.stato.TabelleModificate);
    // Typing a name and Enter leaves that state by saving.
    QTest::keyClicks(voce(f.get(), 0), QStringLiteral("acme"));
    QTest::keyClick(voce(f.get(), 0), Qt::Key_Return);
    QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}}));
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));

    // Escape leaves it too.
    clic(f.get(), "new");
    clic(f.get(), "save");
    QCOMPARE(barra(f.get()), QStringLiteral("00000"));
    QTest::keyClick(voce(f.get(), 0), Qt::Key_Escape);
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    QVERIFY(!voce(f.get(), 0)->isEnabled());
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::invioConNomeVuoto()
{
    Banco b;
    auto f = b.apri();
    scheda(f.get(), 1);
    clic(f.get(), "new");
    QTest::keyClick(voce(f.get(), 1), Qt::Key_Return);
    QCOMPARE(barra(f.get()), QStringLiteral("00110"));
    QCOMPARE(b.stato.NumTipi, 0);
    // A name of blanks is a name.
    QTest::keyClicks(voce(f.get(), 1), QStringLiteral("  "));
    QTest::keyClick(voce(f.get(), 1), Qt::Key_Enter);
    QCOMPARE(b.stato.Tipi, (QList<Tipo>{{1, "  "}}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::escapeDaIdle()
{
    Banco b;
    b.tipo(1, QStringLiteral("DIODO"));
    auto f = b.apri();
    const auto prima = righe(lista(f.get(), "LVT"));
    QTest::keyClick(f.get(), Qt::Key_Escape);
    QVERIFY(f->isVisible());
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    QCOMPARE(righe(lista(f.get(), "LVT")), prima);
    QVERIFY(b.messaggi.isEmpty());
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::nomeInMaiuscolo()
{
    Banco b;
    auto f = b.apri();
    scheda(f.get(), 2);
    clic(f.get(), "new");
    QTest::keyClicks(voce(f.get(), 2), QStringLiteral("so-8 "));
    // Accented letters come as typed text (QTest only types ASCII keys).
    QKeyEvent accentate(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("àè"));
    QApplication::sendEvent(voce(f.get(), 2), &accentate);
    QTest::keyClicks(casella(f.get(), QStringLiteral("txDesc")), QStringLiteral("Small Outline 8"));
    QTest::keyClicks(casella(f.get(), QStringLiteral("txImmagine")), QStringLiteral("So8.JPG"));
    clic(f.get(), "save");
    QCOMPARE(b.stato.Packages,
             (QList<Package>{{1, QStringLiteral("SO-8 ÀÈ"), "Small Outline 8", "So8.JPG"}}));
    QCOMPARE(colonna(lista(f.get(), "LVG"), 1), QStringList{QStringLiteral("SO-8 ÀÈ")});
    QVERIFY(b.stato.TabelleModificate);
    // Saved: editor idle and empty.
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    QVERIFY(voce(f.get(), 2)->text().isEmpty());
    QVERIFY(casella(f.get(), QStringLiteral("txDesc"))->text().isEmpty());
    QVERIFY(!trova<QPushButton>(f.get(), QStringLiteral("btnLoadPic"))->isEnabled());
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::treTipiNuovi()
{
    Banco b;
    auto f = b.apri();
    scheda(f.get(), 1);
    for (const char *nome : {"pnp", "npn", "mosfet"}) {
        clic(f.get(), "new");
        QTest::keyClicks(voce(f.get(), 1), QLatin1String(nome));
        QTest::keyClick(voce(f.get(), 1), Qt::Key_Return);
    }
    QCOMPARE(b.stato.Tipi, (QList<Tipo>{{1, "PNP"}, {2, "NPN"}, {3, "MOSFET"}}));
    QCOMPARE(b.stato.NumTipi, 3);
    QCOMPARE(b.stato.ProssimoIDTipo, 4);
    QCOMPARE(righe(lista(f.get(), "LVT")), (QList<QStringList>{{"3", "MOSFET", "0", "3"},
                                                               {"2", "NPN", "0", "2"},
                                                               {"1", "PNP", "0", "1"}}));
    const QByteArray ini = b.cartella.leggi(QStringLiteral("Info.ini"));
    QVERIFY2(ini.contains("\r\nNumero Tipi=3\r\n"), ini.constData());
    QVERIFY2(ini.contains("\r\nProssimo ID Tipi=4\r\n"), ini.constData());
    QCOMPARE(b.cartella.leggi(QStringLiteral("Tipi.dat")), RigheCrLf({"1,\"PNP\"", "2,\"NPN\"", "3,\"MOSFET\""}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::rinominaTipoUsato()
{
    Banco b;
    b.tipo(4, QStringLiteral("TRANSISTORE"));
    b.tipo(9, QStringLiteral("DIODO"));
    b.componente(QStringLiteral("BC547"), 4, 0, 0, QStringLiteral("TRANSISTORE"));
    b.componente(QStringLiteral("BC557"), 4, 0, 0, QStringLiteral("TRANSISTORE"));
    auto f = b.apri();
    scheda(f.get(), 1);
    ListaReport *lvt = lista(f.get(), "LVT");
    QCOMPARE(colonna(lvt, 1), (QStringList{"DIODO", "TRANSISTORE"}));
    clicRiga(lvt, 2);
    QCOMPARE(f->IDVoce(), 4);
    QCOMPARE(f->PosVoce(), 1);
    clic(f.get(), "edit");
    QLineEdit *nome = voce(f.get(), 1);
    // The whole name is selected: typing replaces it.
    QTest::keyClicks(nome, QStringLiteral("bjt"));
    clic(f.get(), "save");
    QCOMPARE(b.stato.Tipi, (QList<Tipo>{{4, "BJT"}, {9, "DIODO"}}));
    QCOMPARE(b.stato.ProssimoIDTipo, 10);
    QCOMPARE(righe(lvt), (QList<QStringList>{{"1", "BJT", "2", "4"}, {"2", "DIODO", "0", "9"}}));
    QCOMPARE(spunte(lvt), (QList<bool>{true, false}));
    // The components keep their copies of the old name.
    QCOMPARE(b.stato.componente(1).NomeTipo, QStringLiteral("TRANSISTORE"));
    QCOMPARE(b.stato.componente(2).NomeTipo, QStringLiteral("TRANSISTORE"));
    QCOMPARE(b.stato.componente(1).IDTipo, 4);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::nuovoDopoClicRiga()
{
    Banco b;
    b.package(3, QStringLiteral("TO220"), QStringLiteral("Potenza"), QStringLiteral("to220.jpg"));
    auto f = b.apri();
    scheda(f.get(), 2);
    clicRiga(lista(f.get(), "LVG"), 1);
    clic(f.get(), "new");
    QVERIFY(!f->InModifica());
    QCOMPARE(voce(f.get(), 2)->text(), QStringLiteral("TO220"));
    clic(f.get(), "save");
    QCOMPARE(b.stato.Packages, (QList<Package>{{3, "TO220", "Potenza", "to220.jpg"},
                                              {4, "TO220", "Potenza", "to220.jpg"}}));
    QCOMPARE(colonna(lista(f.get(), "LVG"), 3).size(), 2);
    VERIFICA_DIALOGHI(b.dialoghi);
}

// A row click during "new" shows the entry in the still open boxes and
// keeps the mode; "Modifica" is then on.
void TestEditorVoce::clicRigaInNuovo()
{
    Banco b;
    b.produttore(1, QStringLiteral("ACME"));
    b.produttore(2, QStringLiteral("BETA"));
    auto f = b.apri();
    clic(f.get(), "new");
    QTest::keyClicks(voce(f.get(), 0), QStringLiteral("zeta"));
    clicRiga(lista(f.get(), "LVP"), 2);
    QCOMPARE(voce(f.get(), 0)->text(), QStringLiteral("BETA"));
    QVERIFY(voce(f.get(), 0)->isEnabled());
    QCOMPARE(sfondo(voce(f.get(), 0)), Sbloccata);
    QCOMPARE(barra(f.get()), QStringLiteral("01101"));
    QVERIFY(!f->InModifica());
    // Saving now appends, as the mode is still "new".
    QTest::keyClick(voce(f.get(), 0), Qt::Key_Return);
    QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}, {3, "BETA"}}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::immaginePackage()
{
    Banco b;
    immagine(b, QStringLiteral("dip8.jpg"), QSize(200, 100));
    b.package(1, QStringLiteral("DIP8"), QStringLiteral("Dual in line"), QStringLiteral("dip8.jpg"));
    b.package(2, QStringLiteral("SENZA"));
    b.package(3, QStringLiteral("ROTTA"), QString(), QStringLiteral("manca.jpg"));
    b.cartella.scrivi(QStringLiteral("Packages/guasta.bmp"), "non e' una bitmap");
    b.package(4, QStringLiteral("GUASTA"), QString(), QStringLiteral("guasta.bmp"));
    auto f = b.apri();
    scheda(f.get(), 2);
    ListaReport *lvg = lista(f.get(), "LVG");
    auto *img = trova<QLabel>(f.get(), QStringLiteral("imgPack"));
    QCOMPARE(colonna(lvg, 1), (QStringList{"DIP8", "GUASTA", "ROTTA", "SENZA"}));

    clicRiga(lvg, 1);
    QCOMPARE(casella(f.get(), QStringLiteral("txDesc"))->text(), QStringLiteral("Dual in line"));
    QCOMPARE(casella(f.get(), QStringLiteral("txImmagine"))->text(), QStringLiteral("dip8.jpg"));
    const QPixmap mostrata = img->pixmap();
    QVERIFY(!mostrata.isNull());
    // Fitted into the box, proportions kept.
    QVERIFY(mostrata.width() <= 92 && mostrata.height() <= 92);
    QVERIFY(mostrata.width() >= 80);
    QCOMPARE(mostrata.width(), mostrata.height() * 2);

    clicRiga(lvg, 4); // no image
    QVERIFY(img->pixmap().isNull());
    QVERIFY(casella(f.get(), QStringLiteral("txImmagine"))->text().isEmpty());
    clicRiga(lvg, 1);
    QVERIFY(!img->pixmap().isNull());
    clicRiga(lvg, 3); // file missing: no picture, window goes on
    QVERIFY(img->pixmap().isNull());
    QCOMPARE(casella(f.get(), QStringLiteral("txImmagine"))->text(), QStringLiteral("manca.jpg"));
    clicRiga(lvg, 1);
    clicRiga(lvg, 2); // not a picture
    QVERIFY(img->pixmap().isNull());
    QCOMPARE(barra(f.get()), QStringLiteral("11001"));

    // "Annulla" empties the picture box.
    clicRiga(lvg, 1);
    clic(f.get(), "edit");
    clic(f.get(), "undo");
    QVERIFY(img->pixmap().isNull());
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::caricaPoiAnnulla()
{
    Banco b;
    immagine(b, QStringLiteral("nuova.bmp"), QSize(50, 50));
    b.package(1, QStringLiteral("SOT23"), QStringLiteral("Piccolo"), QStringLiteral("vecchia.jpg"));
    auto f = b.apri();
    scheda(f.get(), 2);
    clicRiga(lista(f.get(), "LVG"), 1);
    clic(f.get(), "edit");
    QVERIFY(trova<QPushButton>(f.get(), QStringLiteral("btnLoadPic"))->isEnabled());
    // A file from another folder: only its bare name is kept, and the
    // picture is looked for in the package folder.
    b.dialoghi.setNextFile(QStringLiteral("/altrove/sotto/nuova.bmp"));
    QTest::mouseClick(trova<QPushButton>(f.get(), QStringLiteral("btnLoadPic")), Qt::LeftButton);
    QCOMPARE(b.dialoghi.dialoghiFile().size(), 1);
    const auto dialogo = b.dialoghi.dialoghiFile().first();
    QCOMPARE(dialogo.titolo, QStringLiteral("Ricerca immagine"));
    QCOMPARE(dialogo.cartella, b.stato.percorsi.CartellaPackages);
    QCOMPARE(dialogo.filtro, QStringLiteral("Images|*.jpg;*.jpeg;*.bmp"));
    QCOMPARE(casella(f.get(), QStringLiteral("txImmagine"))->text(), QStringLiteral("nuova.bmp"));
    QVERIFY(!trova<QLabel>(f.get(), QStringLiteral("imgPack"))->pixmap().isNull());
    QCOMPARE(f->focusWidget(), voce(f.get(), 2));

    clic(f.get(), "undo");
    QCOMPARE(b.stato.package(1).Immagine, QStringLiteral("vecchia.jpg"));
    QVERIFY(!b.stato.TabelleModificate);
    VERIFICA_DIALOGHI(b.dialoghi);
}

void TestEditorVoce::caricaAnnullato()
{
    Banco b;
    immagine(b, QStringLiteral("qfn.jpg"), QSize(40, 40));
    b.package(1, QStringLiteral("QFN"), QStringLiteral("Quad flat"), QStringLiteral("qfn.jpg"));
    auto f = b.apri();
    scheda(f.get(), 2);
    clicRiga(lista(f.get(), "LVG"), 1);
    clic(f.get(), "edit");
    b.dialoghi.setNextFile(QString());
    QTest::mouseClick(trova<QPushButton>(f.get(), QStringLiteral("btnLoadPic")), Qt::LeftButton);
    QCOMPARE(casella(f.get(), QStringLiteral("txImmagine"))->text(), QStringLiteral("qfn.jpg"));
    QVERIFY(!trova<QLabel>(f.get(), QStringLiteral("imgPack"))->pixmap().isNull());
    QCOMPARE(barra(f.get()), QStringLiteral("00110"));
    // Saving after a cancelled choice keeps the image name.
    QTest::keyClick(voce(f.get(), 2), Qt::Key_Return);
    QCOMPARE(b.stato.Packages, (QList<Package>{{1, "QFN", "Quad flat", "qfn.jpg"}}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

// The table files keep texts between double quotes with no escape: a double
// quote typed into a name, description or image name is stored as a single
// quote so the files still read back field by field.
void TestEditorVoce::virgoletteDoppie()
{
    Banco b;
    auto f = b.apri();
    scheda(f.get(), 2);
    clic(f.get(), "new");
    QTest::keyClicks(voce(f.get(), 2), QStringLiteral("dip \"8\""));
    QTest::keyClicks(casella(f.get(), QStringLiteral("txDesc")), QStringLiteral("Il \"classico\", 8 pin"));
    QTest::keyClicks(casella(f.get(), QStringLiteral("txImmagine")), QStringLiteral("a\"b.jpg"));
    clic(f.get(), "save");
    QCOMPARE(b.stato.Packages, (QList<Package>{{1, "DIP '8'", "Il 'classico', 8 pin", "a'b.jpg"}}));
    QCOMPARE(b.cartella.leggi(QStringLiteral("Packages.dat")),
             RigheCrLf({"1,\"DIP '8'\",\"Il 'classico', 8 pin\",\"a'b.jpg\""}));

    scheda(f.get(), 0);
    clic(f.get(), "new");
    QTest::keyClicks(voce(f.get(), 0), QStringLiteral("\"acme\""));
    QTest::keyClick(voce(f.get(), 0), Qt::Key_Return);
    QCOMPARE(b.stato.produttore(1).Nome, QStringLiteral("'ACME'"));
    QCOMPARE(b.cartella.leggi(QStringLiteral("Produttori.dat")), RigheCrLf({"1,\"'ACME'\""}));
    VERIFICA_DIALOGHI(b.dialoghi);
}

// Every save rewrites Info.ini and the four table files from memory.
void TestEditorVoce::salvataggioSuDisco()
{
    Banco b;
    b.tipo(1, QStringLiteral("DIODO"));
    b.produttore(2, QStringLiteral("ACME"));
    b.package(1, QStringLiteral("DO35"));
    b.componente(QStringLiteral("1N4148"), 1, 2, 1, QStringLiteral("DIODO"));
    b.stato.componente(1).DataInserimento = QDateTime(QDate(2024, 10, 9), QTime(0, 0), Qt::UTC);
    auto f = b.apri();
    clicRiga(lista(f.get(), "LVP"), 1);
    clic(f.get(), "edit");
    QTest::keyClicks(voce(f.get(), 0), QStringLiteral("Acme Corp"));
    clic(f.get(), "save");

    QCOMPARE(b.cartella.leggi(QStringLiteral("Produttori.dat")), RigheCrLf({"2,\"ACME CORP\""}));
    QCOMPARE(b.cartella.leggi(QStringLiteral("Tipi.dat")), RigheCrLf({"1,\"DIODO\""}));
    QCOMPARE(b.cartella.leggi(QStringLiteral("Packages.dat")), RigheCrLf({"1,\"DO35\",\"\",\"\""}));
    QCOMPARE(b.cartella.leggi(QStringLiteral("Componenti.dat")),
             RigheCrLf({"1,1,2,1,0,\"DIODO\",\"\",\"1N4148\",0,\"\",\"\",\"\",1,\"\",#2024-10-09#,"
                        "\"\",\"\",\"\",\"\",\"\",\"\""}));
    const QByteArray ini = b.cartella.leggi(QStringLiteral("Info.ini"));
    for (const char *riga : {"Numero Componenti=1", "Numero Tipi=1", "Numero Produttori=1",
                             "Numero Packages=1", "Prossimo ID Componente=2", "Prossimo ID Tipi=2",
                             "Prossimo ID Produttori=3", "Prossimo ID Package=2"})
        QVERIFY2(ini.contains(QByteArray("\r\n") + riga + "\r\n"), riga);
    QCOMPARE(colonna(lista(f.get(), "LVP"), 1), QStringList{"ACME CORP"});
    QCOMPARE(colonna(lista(f.get(), "LVP"), 2), QStringList{"1"});
    VERIFICA_DIALOGHI(b.dialoghi);
}

// A save that cannot write its files reports it; the entry stays in memory
// and in the list, and the editor goes back to idle.
void TestEditorVoce::salvataggioFallito()
{
    Banco b;
    b.produttore(1, QStringLiteral("ACME"));
    // A folder where a table file should be: the files cannot be replaced.
    QVERIFY(QDir().mkpath(b.cartella.file(QStringLiteral("Produttori.dat"))));
    auto f = b.apri();
    clic(f.get(), "new");
    QTest::keyClicks(voce(f.get(), 0), QStringLiteral("beta"));
    b.dialoghi.setNextAnswer(Risposta::Ok);
    clic(f.get(), "save");
    QCOMPARE(b.dialoghi.boxes().size(), 1);
    QCOMPARE(b.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
    QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}}));
    QCOMPARE(colonna(lista(f.get(), "LVP"), 1), (QStringList{"ACME", "BETA"}));
    QVERIFY(b.stato.TabelleModificate);
    QCOMPARE(barra(f.get()), QStringLiteral("10001"));
    VERIFICA_DIALOGHI(b.dialoghi);
}

QTEST_MAIN(TestEditorVoce)
#include "tst_editorvoce.moc"
