// The entry editor of the tables window: its states and toolbar, Enter and
// Escape, adding and renaming entries, the package picture, and what every
// save leaves on disk.
#include "bancotabelle.h"

#include "common/fifosorvegliata.h"

namespace {

QColor sfondo(QLineEdit *c) { return c->palette().color(QPalette::Base); }
bool conFigura(QWidget *f) { return !trova<QLabel>(f, "imgPack")->pixmap().isNull(); }

} // namespace

class TestEditorVoce : public QObject {
    Q_OBJECT
private slots:
    // idle, shown, edit, new: after each action the toolbar, the name box
    // (in brackets when open) and whether an entry is being renamed.
    void statiEBarra()
    {
        Banco b;
        b.produttore(1, QStringLiteral("ACME"));
        b.produttore(2, QStringLiteral("BETA"));
        auto f = b.apri();
        QLineEdit *nome = voce(f.get(), 0);
        ListaReport *lvp = lista(f.get(), "LVP");
        const auto stato = [&] {
            return barra(f.get()) + (nome->isEnabled() ? " [" + nome->text() + "] " : ' ' + nome->text() + ' ')
                   + QString::number(f->InModifica());
        };
        QCOMPARE(sfondo(nome), QColor(0xEE, 0xEE, 0xEE));
        QTest::keyClick(f.get(), Qt::Key_Escape); // idle: nothing happens, the window stays
        QVERIFY(f->isVisible());
        clicRiga(lvp, 2);
        QCOMPARE(stato(), QStringLiteral("11001 BETA 0"));
        clic(f.get(), "edit");
        QCOMPARE(stato(), QStringLiteral("00110 [BETA] 1"));
        QCOMPARE(sfondo(nome), QColor(0xCC, 0xFF, 0xAA));
        QCOMPARE(f->focusWidget(), nome);
        QCOMPARE(nome->selectedText(), QStringLiteral("BETA"));
        clic(f.get(), "undo");
        QCOMPARE(stato(), QStringLiteral("10001  0"));
        QCOMPARE(sfondo(nome), QColor(0xEE, 0xEE, 0xEE));
        clic(f.get(), "new");
        QCOMPARE(stato(), QStringLiteral("00110 [] 0"));
        QTest::keyClick(nome, Qt::Key_Escape);
        QVERIFY(f->isVisible());
        QCOMPARE(stato(), QStringLiteral("10001  0"));
        clicRiga(lvp, 1);
        QTest::keyClick(lvp, Qt::Key_Escape); // while shown: the box emptied, "Modifica" off
        QCOMPARE(stato(), QStringLiteral("10001  0"));
        // Changing tab drops an edit of the tab being left.
        clicRiga(lvp, 1);
        clic(f.get(), "edit");
        QTest::keyClicks(nome, QStringLiteral("X"));
        scheda(f.get(), 1);
        QCOMPARE(stato(), QStringLiteral("10001  0"));
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}}));
        QVERIFY(!b.stato.TabelleModificate);
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // "Salva" with an empty name turns every button off and keeps the box
    // open; Enter with an empty name does nothing; a name of blanks is a
    // name; "Nuovo" keeps a shown entry, saved as a new one.
    void nomeVuotoENuovo()
    {
        Banco b;
        auto f = b.apri();
        QLineEdit *nome = voce(f.get(), 0);
        clic(f.get(), "new");
        QTest::keyClick(nome, Qt::Key_Return);
        QCOMPARE(barra(f.get()), QStringLiteral("00110"));
        clic(f.get(), "save");
        QCOMPARE(barra(f.get()) + QString::number(nome->isEnabled()), QStringLiteral("000001"));
        QTest::keyClicks(nome, QStringLiteral("  "));
        QTest::keyClick(nome, Qt::Key_Enter);
        QCOMPARE(barra(f.get()), QStringLiteral("10001"));
        clicRiga(lista(f.get(), "LVP"), 1);
        clic(f.get(), "new");
        QCOMPARE(nome->text(), QStringLiteral("  "));
        clic(f.get(), "save");
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "  "}, {2, "  "}}));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // Renaming keeps the ID and usage; components keep their copies of the old name.
    void rinominaTipoUsato()
    {
        Banco b;
        b.tipo(4, QStringLiteral("TRANSISTORE"));
        b.tipo(9, QStringLiteral("DIODO"));
        b.componente(QStringLiteral("BC547"), 4, 0, 0, QStringLiteral("TRANSISTORE"));
        b.componente(QStringLiteral("BC557"), 4, 0, 0, QStringLiteral("TRANSISTORE"));
        auto f = b.apri();
        scheda(f.get(), 1);
        ListaReport *lvt = lista(f.get(), "LVT");
        clicRiga(lvt, 2);
        QCOMPARE(f->PosVoce(), 1);
        clic(f.get(), "edit");
        QTest::keyClicks(voce(f.get(), 1), QStringLiteral("bjt")); // replaces the selected name
        clic(f.get(), "save");
        QCOMPARE(b.stato.Tipi, (QList<Tipo>{{4, "BJT"}, {9, "DIODO"}}));
        QCOMPARE(b.stato.ProssimoIDTipo, 10);
        QCOMPARE(righe(lvt), QStringList({"1|BJT|2|4", "2|DIODO|0|9"}));
        QCOMPARE(spunte(lvt), QStringLiteral("10"));
        QCOMPARE(b.stato.componente(1).NomeTipo + b.stato.componente(2).NomeTipo, QStringLiteral("TRANSISTORETRANSISTORE"));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // The picture fitted into the box; cleared for no image, a missing file,
    // a file that is not a picture, and "Annulla". "Carica": a cancelled
    // choice keeps the name, a file of the package folder gives its bare
    // name, "Annulla" leaves the stored name.
    void immaginePackage()
    {
        Banco b;
        QImage img(200, 100, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(b.stato.percorsi.CartellaPackages + "dip8.jpg"));
        QVERIFY(img.save(b.stato.percorsi.CartellaPackages + "nuova.bmp"));
        b.cartella.scrivi(QStringLiteral("Packages/guasta.bmp"), "non e' una bitmap");
        b.package(1, QStringLiteral("DIP8"), QStringLiteral("Dual in line"), QStringLiteral("dip8.jpg"));
        b.package(2, QStringLiteral("GUASTA"), QString(), QStringLiteral("guasta.bmp"));
        b.package(3, QStringLiteral("ROTTA"), QString(), QStringLiteral("manca.jpg"));
        b.package(4, QStringLiteral("SENZA"));
        auto f = b.apri();
        scheda(f.get(), 2);
        ListaReport *lvg = lista(f.get(), "LVG");
        clicRiga(lvg, 1);
        QCOMPARE(casella(f.get(), "txDesc")->text() + '/' + casella(f.get(), "txImmagine")->text(),
                 QStringLiteral("Dual in line/dip8.jpg"));
        const QPixmap mostrata = trova<QLabel>(f.get(), "imgPack")->pixmap();
        QVERIFY(mostrata.width() <= 92 && mostrata.width() >= 80);
        QCOMPARE(mostrata.width(), mostrata.height() * 2);
        for (int riga : {2, 3, 4}) {
            clicRiga(lvg, 1);
            clicRiga(lvg, riga);
            QVERIFY2(!conFigura(f.get()), qPrintable(colonna(lvg, 1).at(riga - 1)));
        }
        clicRiga(lvg, 1);
        clic(f.get(), "edit");
        auto *carica = trova<QPushButton>(f.get(), "btnLoadPic");
        b.dialoghi.setNextFile(QString());
        QTest::mouseClick(carica, Qt::LeftButton);
        QCOMPARE(casella(f.get(), "txImmagine")->text(), QStringLiteral("dip8.jpg"));
        b.dialoghi.setNextFile(b.stato.percorsi.CartellaPackages + "nuova.bmp");
        QTest::mouseClick(carica, Qt::LeftButton);
        const auto dialogo = b.dialoghi.dialoghiFile().last();
        QCOMPARE(dialogo.titolo, QStringLiteral("Ricerca immagine"));
        QCOMPARE(dialogo.cartella, b.stato.percorsi.CartellaPackages);
        QVERIFY(dialogo.filtro.startsWith(QStringLiteral("Images|*.jpg;*.jpeg;*.bmp;")));
        QCOMPARE(casella(f.get(), "txImmagine")->text(), QStringLiteral("nuova.bmp"));
        QVERIFY(conFigura(f.get())); // looked for in the package folder
        QCOMPARE(f->focusWidget(), voce(f.get(), 2));
        clic(f.get(), "undo");
        QVERIFY(!conFigura(f.get()));
        QCOMPARE(b.stato.package(1).Immagine, QStringLiteral("dip8.jpg"));
        QVERIFY(!b.stato.TabelleModificate);
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A package picture named by a FIFO, a folder, a device, or a name
    // leading out of Packages: a row click or "Carica" shows no picture,
    // opens and waits for nothing, and says nothing; the name is kept. A
    // file picked out of the folder is offered to be copied in: "No" keeps
    // the name there was.
    void immaginePackageSpeciale_data()
    {
        QTest::addColumn<QString>("nome"); // ASSOLUTO: the full path of a picture outside
        QTest::newRow("fifo") << "fifo.bmp";
        QTest::newRow("cartella") << "cartella.bmp";
        QTest::newRow("dispositivo") << "zero.bmp";
        QTest::newRow("punto punto") << "../fuori.bmp";
        QTest::newRow("assoluto") << "ASSOLUTO";
        QTest::newRow("collegamento fuori") << "uscita.bmp";
    }
    void immaginePackageSpeciale()
    {
        QFETCH(QString, nome);
        Banco b;
        const QString pack = b.stato.percorsi.CartellaPackages;
        QImage img(20, 20, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(b.cartella.file(QStringLiteral("fuori.bmp"))));
        QVERIFY(QFile::link(b.cartella.file(QStringLiteral("fuori.bmp")), pack + QStringLiteral("uscita.bmp")));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), pack + QStringLiteral("zero.bmp")));
        QVERIFY(QDir().mkpath(pack + QStringLiteral("cartella.bmp")));
        FifoSorvegliata fifo(pack + QStringLiteral("fifo.bmp"));
        QVERIFY(fifo.creata());
        if (nome == QLatin1String("ASSOLUTO"))
            nome = b.cartella.file(QStringLiteral("fuori.bmp"));
        b.package(1, QStringLiteral("DIP8"), QString(), nome);
        auto f = b.apri();
        scheda(f.get(), 2);
        clicRiga(lista(f.get(), "LVG"), 1);
        QCOMPARE(casella(f.get(), "txImmagine")->text(), nome);
        QVERIFY(!conFigura(f.get()));
        clic(f.get(), "edit");
        const QString scelto = nome.startsWith(u'/') ? nome : pack + nome;
        const bool fuori = QDir::cleanPath(QFileInfo(scelto).absolutePath()) != QDir::cleanPath(pack);
        if (fuori)
            b.dialoghi.setNextAnswer(Risposta::No);
        b.dialoghi.setNextFile(scelto);
        QTest::mouseClick(trova<QPushButton>(f.get(), "btnLoadPic"), Qt::LeftButton);
        QCOMPARE(casella(f.get(), "txImmagine")->text(), fuori ? nome : QFileInfo(nome).fileName());
        QVERIFY(!conFigura(f.get()));
        QVERIFY(!fifo.aperta());
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // "Carica" on a file whose name holds a double quote: refused with a
    // message, the name and picture shown stay, and so does the entry.
    void virgoletteNelNome()
    {
        Banco b;
        QImage img(20, 20, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(b.stato.percorsi.CartellaPackages + "dip8.bmp"));
        QVERIFY(img.save(b.stato.percorsi.CartellaPackages + "so\"8.bmp"));
        b.package(1, QStringLiteral("DIP8"), QStringLiteral("Dual in line"), QStringLiteral("dip8.bmp"));
        auto f = b.apri();
        scheda(f.get(), 2);
        clicRiga(lista(f.get(), "LVG"), 1);
        clic(f.get(), "edit");
        b.dialoghi.setNextFile(b.stato.percorsi.CartellaPackages + "so\"8.bmp");
        b.dialoghi.setNextAnswer(Risposta::Ok);
        QTest::mouseClick(trova<QPushButton>(f.get(), "btnLoadPic"), Qt::LeftButton);
        QCOMPARE(b.dialoghi.boxes().size(), 1);
        QCOMPARE(b.dialoghi.ultimoBox().testo,
                 QStringLiteral("Il nome del file scelto contiene le virgolette (\"), che l'archivio non può "
                                "conservare: rinomina il file e sceglilo di nuovo."));
        QCOMPARE(b.dialoghi.ultimoBox().icona, Icona::Esclamazione);
        QCOMPARE(b.dialoghi.ultimoBox().pulsanti, Pulsanti::Ok);
        QCOMPARE(casella(f.get(), "txImmagine")->text(), QStringLiteral("dip8.bmp"));
        QVERIFY(conFigura(f.get()));
        clic(f.get(), "save");
        QCOMPARE(b.stato.package(1).Immagine, QStringLiteral("dip8.bmp"));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // "Carica" on a picture of another folder: "Sì" copies it into Packages
    // and the entry shows and stores the name there; "No" keeps the name
    // there was and copies nothing. No data file is written before "Salva".
    void immaginePackageDaAltraCartella_data()
    {
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("Sì") << int(Risposta::Si) << "so8.png";
        QTest::newRow("No") << int(Risposta::No) << "dip8.bmp";
    }
    void immaginePackageDaAltraCartella()
    {
        QFETCH(int, risposta);
        QFETCH(QString, atteso);
        Banco b;
        QImage img(40, 20, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(b.stato.percorsi.CartellaPackages + "dip8.bmp"));
        img.fill(Qt::green);
        QVERIFY(QDir().mkpath(b.cartella.file(QStringLiteral("USB"))));
        QVERIFY(img.save(b.cartella.file(QStringLiteral("USB/so8.png"))));
        b.package(1, QStringLiteral("DIP8"), QString(), QStringLiteral("dip8.bmp"));
        auto f = b.apri();
        scheda(f.get(), 2);
        clicRiga(lista(f.get(), "LVG"), 1);
        clic(f.get(), "edit");
        b.dialoghi.setNextAnswer(Risposta(risposta));
        b.dialoghi.setNextFile(b.cartella.file(QStringLiteral("USB/so8.png")));
        QTest::mouseClick(trova<QPushButton>(f.get(), "btnLoadPic"), Qt::LeftButton);
        QCOMPARE(b.dialoghi.ultimoBox().testo, QStringLiteral("Copiare il file nella cartella Packages?"));
        QCOMPARE(casella(f.get(), "txImmagine")->text(), atteso);
        const QImage mostrata = trova<QLabel>(f.get(), "imgPack")->pixmap().toImage();
        const bool copiata = atteso == QLatin1String("so8.png");
        QCOMPARE(b.cartella.leggi(QStringLiteral("Packages/so8.png")),
                 copiata ? b.cartella.leggi(QStringLiteral("USB/so8.png")) : QByteArray());
        QCOMPARE(mostrata.pixelColor(10, 5), copiata ? QColor(Qt::green) : QColor(Qt::red));
        QVERIFY(!b.cartella.esiste(QStringLiteral("Packages.dat")));
        clic(f.get(), "save");
        QCOMPARE(b.cartella.leggi(QStringLiteral("Packages.dat")), "1,\"DIP8\",\"\",\"" + atteso.toUtf8() + "\"\r\n");
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // Every save rewrites Info.ini and the four table files from memory. A
    // name is stored upper case, accents too; description and image name as
    // typed; the files keep texts between double quotes with no escape, so a
    // double quote is stored as a single quote. New entries take the next
    // IDs and are listed by name.
    void salvataggioSuDisco()
    {
        Banco b;
        b.tipo(1, QStringLiteral("DIODO"));
        b.produttore(2, QStringLiteral("ACME"));
        b.componente(QStringLiteral("1N4148"), 1, 2, 0, QStringLiteral("DIODO"));
        b.stato.componente(1).DataInserimento = QDateTime(QDate(2024, 10, 9), QTime(0, 0), Qt::UTC);
        auto f = b.apri();
        scheda(f.get(), 1);
        for (const char *nome : {"pnp", "npn"})
            nuova(f.get(), 1, QLatin1String(nome));
        scheda(f.get(), 0);
        clicRiga(lista(f.get(), "LVP"), 1);
        clic(f.get(), "edit");
        QTest::keyClicks(voce(f.get(), 0), QStringLiteral("\"Acme\" Corp"));
        clic(f.get(), "save");
        scheda(f.get(), 2);
        nuova(f.get(), 2, QStringLiteral("dip \"8\" "), 0);
        QKeyEvent accentate(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("àè"));
        QApplication::sendEvent(voce(f.get(), 2), &accentate); // QTest types only ASCII keys
        QTest::keyClicks(casella(f.get(), "txDesc"), QStringLiteral("Il \"classico\", 8 pin"));
        QTest::keyClicks(casella(f.get(), "txImmagine"), QStringLiteral("A\"b.jpg"));
        clic(f.get(), "save");
        QCOMPARE(b.stato.Packages, (QList<Package>{{1, "DIP '8' ÀÈ", "Il 'classico', 8 pin", "A'b.jpg"}}));
        QCOMPARE(barra(f.get()), QStringLiteral("10001"));
        QVERIFY(voce(f.get(), 2)->text().isEmpty() && casella(f.get(), "txDesc")->text().isEmpty());
        QCOMPARE(b.cartella.leggi(QStringLiteral("Produttori.dat")), RigheCrLf({"2,\"'ACME' CORP\""}));
        QCOMPARE(b.cartella.leggi(QStringLiteral("Tipi.dat")), RigheCrLf({"1,\"DIODO\"", "2,\"PNP\"", "3,\"NPN\""}));
        QCOMPARE(b.cartella.leggi(QStringLiteral("Packages.dat")),
                 RigheCrLf({"1,\"DIP '8' \xC0\xC8\",\"Il 'classico', 8 pin\",\"A'b.jpg\""}));
        QCOMPARE(b.cartella.leggi(QStringLiteral("Componenti.dat")),
                 RigheCrLf({"1,1,2,0,0,\"DIODO\",\"\",\"1N4148\",0,\"\",\"\",\"\",1,\"\",#2024-10-09#,"
                            "\"\",\"\",\"\",\"\",\"\",\"\""}));
        const QByteArray ini = b.cartella.leggi(QStringLiteral("Info.ini"));
        for (const char *riga : {"Numero Componenti=1", "Numero Tipi=3", "Numero Produttori=1", "Numero Packages=1",
                                 "Prossimo ID Componente=2", "Prossimo ID Tipi=4", "Prossimo ID Produttori=3",
                                 "Prossimo ID Package=2"})
            QVERIFY2(ini.contains(QByteArray("\r\n") + riga + "\r\n"), riga);
        QCOMPARE(righe(lista(f.get(), "LVP")), QStringList{"1|'ACME' CORP|1|2"});
        QCOMPARE(righe(lista(f.get(), "LVT")), QStringList({"1|DIODO|1|1", "3|NPN|0|3", "2|PNP|0|2"}));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A counter at the largest ID (a hand-edited Info.ini) refuses a new
    // entry instead of wrapping to negative IDs; renaming still works.
    void idEsauriti_data()
    {
        QTest::addColumn<int>("scheda");
        QTest::addColumn<QString>("chiave");
        QTest::newRow("produttori") << 0 << "Prossimo ID Produttori";
        QTest::newRow("tipi") << 1 << "Prossimo ID Tipi";
        QTest::newRow("package") << 2 << "Prossimo ID Package";
    }
    void idEsauriti()
    {
        QFETCH(int, scheda);
        QFETCH(QString, chiave);
        Banco b;
        b.stato.ProssimoIDProduttore = b.stato.ProssimoIDTipo = b.stato.ProssimoIDPackage = INT32_MAX;
        auto f = b.apri();
        ::scheda(f.get(), scheda);
        b.dialoghi.setNextAnswer(Risposta::Ok);
        nuova(f.get(), scheda, QStringLiteral("nuova"));
        QCOMPARE(b.dialoghi.boxes().size(), 1);
        QCOMPARE(b.dialoghi.ultimoBox().testo,
                 "Impossibile aggiungere: gli ID disponibili sono esauriti.\r\nControllare il valore di \"" + chiave
                     + "\" nel file Info.ini");
        QCOMPARE(b.dialoghi.ultimoBox().icona, Icona::Critica);
        QCOMPARE(b.stato.NumProduttori + b.stato.NumTipi + b.stato.NumPackages, 0);
        QVERIFY(!b.cartella.esiste(QStringLiteral("Info.ini")));
        QCOMPARE(voce(f.get(), scheda)->text(), QStringLiteral("NUOVA")); // still there to copy or drop
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A save that cannot write its files reports it and changes nothing:
    // memory stays as the files are, the typed name stays in the editor with
    // "Salva" and "Annulla" on, and a later save, once the file can be
    // written, stores it.
    void salvataggioFallito()
    {
        Banco b;
        b.produttore(1, QStringLiteral("ACME"));
        const QString bloccante = b.cartella.file(QStringLiteral("Produttori.dat"));
        QVERIFY(QDir().mkpath(bloccante)); // blocks the file
        auto f = b.apri();
        b.dialoghi.setNextAnswer(Risposta::Ok);
        nuova(f.get(), 0, QStringLiteral("beta"));
        QCOMPARE(b.dialoghi.boxes().size(), 1);
        QCOMPARE(b.dialoghi.ultimoBox().testo, QStringLiteral("Errore nel salvataggio dei dati"));
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}}));
        QCOMPARE(b.stato.NumProduttori, 1);
        QCOMPARE(b.stato.ProssimoIDProduttore, 2);
        QCOMPARE(colonna(lista(f.get(), "LVP"), 1), QStringList({"ACME"}));
        QVERIFY(!b.stato.TabelleModificate);
        QCOMPARE(voce(f.get(), 0)->text(), QStringLiteral("BETA"));
        QCOMPARE(barra(f.get()), QStringLiteral("00110"));
        QCOMPARE(trova<QStatusBar>(f.get(), "SB")->currentMessage(), MessaggioVoceNonSalvata);

        QVERIFY(QDir(bloccante).removeRecursively());
        clic(f.get(), "save");
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}}));
        QVERIFY(b.stato.TabelleModificate);
        QVERIFY(b.cartella.leggi(QStringLiteral("Produttori.dat")).contains("\"BETA\""));
        QCOMPARE(barra(f.get()), QStringLiteral("10001"));
        QVERIFY(trova<QStatusBar>(f.get(), "SB")->currentMessage().isEmpty());
        VERIFICA_DIALOGHI(b.dialoghi);
    }
};

QTEST_MAIN(TestEditorVoce)
#include "tst_editorvoce.moc"
