// The entry editor of the tables window: states and toolbar, keys, adding and renaming, the package picture, saving.
#include "bancotabelle.h"
#include "../main/ambiente.h"

#include "common/fifosorvegliata.h"
#include "common/verifiche.h"

namespace {

QColor sfondo(QLineEdit *c) { return c->palette().color(QPalette::Base); }
bool conFigura(QWidget *f) { return !Figlio<QLabel>(f, "imgPack")->pixmap().isNull(); }

// What the package pictures tests choose from: pictures in Packages (a JPEG, red and green bitmaps), a file that is no
// picture, a link leading out, a FIFO; and pictures in other folders.
struct BancoImmagini : Banco {
    const QString pack = stato.percorsi.CartellaPackages;
    FifoSorvegliata fifo{pack + "fifo.bmp"};
    BancoImmagini()
    {
        prova::scriviImmagine(cartella, "Packages/dip8.jpg", 200, 100, Qt::red, "JPG");
        prova::scriviImmagine(cartella, "Packages/dip8.bmp", 40, 20, Qt::red);
        prova::scriviImmagine(cartella, "Packages/nuova.bmp", 40, 20, Qt::green);
        prova::scriviImmagine(cartella, "fuori.bmp", 20, 20, Qt::red);
        prova::scriviImmagine(cartella, "USB/so8.png", 40, 20, Qt::green, "PNG");
        cartella.scrivi(QStringLiteral("Packages/guasta.bmp"), "non e' una bitmap");
        QVERIFY(QFile::link(cartella.file("fuori.bmp"), pack + "uscita.bmp"));
        QVERIFY(fifo.creata());
    }
};

} // namespace

class TestEditorVoce : public QObject {
    Q_OBJECT
private slots:
    // idle, shown, edit, new: the toolbar, the name box (in brackets when open), whether an entry is being renamed and
    // the box's background.
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
                   + QString::number(f->InModifica()) + ' ' + sfondo(nome).name();
        };
        QTest::keyClick(f.get(), Qt::Key_Escape); // idle: nothing happens, the window stays
        QVERIFY(f->isVisible());
        clicRiga(lvp, 2);
        QCOMPARE(stato(), QStringLiteral("11001 BETA 0 #eeeeee"));
        clic(f.get(), "edit");
        QCOMPARE(stato(), QStringLiteral("00110 [BETA] 1 #ccffaa"));
        QCOMPARE(f->focusWidget(), nome);
        QCOMPARE(nome->selectedText(), QStringLiteral("BETA"));
        clic(f.get(), "undo");
        QCOMPARE(stato(), QStringLiteral("10001  0 #eeeeee"));
        clic(f.get(), "new");
        QCOMPARE(stato(), QStringLiteral("00110 [] 0 #ccffaa"));
        QTest::keyClick(nome, Qt::Key_Escape);
        QVERIFY(f->isVisible());
        QCOMPARE(stato(), QStringLiteral("10001  0 #eeeeee"));
        clicRiga(lvp, 1);
        QTest::keyClick(lvp, Qt::Key_Escape); // while shown: the box emptied, "Modifica" off
        QCOMPARE(stato(), QStringLiteral("10001  0 #eeeeee"));
        // Changing tab drops an edit of the tab being left.
        clicRiga(lvp, 1);
        clic(f.get(), "edit");
        QTest::keyClicks(nome, QStringLiteral("X"));
        scheda(f.get(), 1);
        QCOMPARE(stato(), QStringLiteral("10001  0 #eeeeee"));
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}}));
        QVERIFY(!b.stato.TabelleModificate);
        // "Salva" with an empty name turns every button off and keeps the box open; Enter with an empty name does
        // nothing; a name of blanks is a name; "Nuovo" keeps a shown entry, saved as a new one.
        scheda(f.get(), 0);
        clic(f.get(), "new");
        QTest::keyClick(nome, Qt::Key_Return);
        QCOMPARE(barra(f.get()), QStringLiteral("00110"));
        clic(f.get(), "save");
        QCOMPARE(barra(f.get()) + QString::number(nome->isEnabled()), QStringLiteral("000001"));
        QTest::keyClicks(nome, QStringLiteral("  "));
        QTest::keyClick(nome, Qt::Key_Enter);
        QCOMPARE(barra(f.get()), QStringLiteral("10001"));
        clicRiga(lvp, 1);
        clic(f.get(), "new");
        QCOMPARE(nome->text(), QStringLiteral("  "));
        clic(f.get(), "save");
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}, {3, "  "}, {4, "  "}}));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A row click shows the package's picture fitted into the box, or clears the one shown before; it opens and waits
    // for nothing, and says nothing.
    void immagineMostrata_data()
    {
        // Which names lead to a regular file inside: tst_fileincartella.
        Colonne<QString, bool>("nome", "mostrata");
        QTest::newRow("picture") << "dip8.jpg" << true;
        for (const char *nome : {"guasta.bmp", "", "fifo.bmp", "../fuori.bmp"})
            QTest::newRow(*nome ? nome : "no image") << nome << false;
    }
    void immagineMostrata()
    {
        const auto [nome, mostrata] = Valori<QString, bool>("nome", "mostrata");
        BancoImmagini b;
        b.package(1, QStringLiteral("A"), QStringLiteral("Dual in line"), nome);
        b.package(2, QStringLiteral("B"), QString(), QStringLiteral("nuova.bmp"));
        auto f = b.apri();
        scheda(f.get(), 2);
        ListaReport *lvg = lista(f.get(), "LVG");
        clicRiga(lvg, 2);
        QVERIFY(conFigura(f.get()));
        clicRiga(lvg, 1);
        QCOMPARE(casella(f.get(), "txDesc")->text() + '/' + casella(f.get(), "txImmagine")->text(), "Dual in line/" + nome);
        QCOMPARE(conFigura(f.get()), mostrata);
        const QPixmap figura = Figlio<QLabel>(f.get(), "imgPack")->pixmap();
        QVERIFY(!mostrata || (figura.width() <= 92 && figura.width() >= 80 && figura.width() == figura.height() * 2));
        QVERIFY(!b.fifo.aperta());
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // "Carica" on the package DIP8 with its red dip8.bmp; the file chosen (below the test folder; empty: cancelled),
    // the answer to the box (-1: none), the name and picture shown after, and "Salva" or "Annulla" after it. No data
    // file is written before "Salva".
    void caricaImmagine_data()
    {
        Colonne<QString, int, QString, bool>("scelto", "risposta", "atteso", "salva");
        const int nessuna = -1, si = int(Risposta::Si), no = int(Risposta::No);
        QTest::newRow("cancelled") << "" << nessuna << "dip8.bmp" << true;
        QTest::newRow("in Packages, then Annulla") << "Packages/nuova.bmp" << nessuna << "nuova.bmp" << false;
        QTest::newRow("in Packages") << "Packages/nuova.bmp" << nessuna << "nuova.bmp" << true;
        QTest::newRow("other folder, Sì") << "USB/so8.png" << si << "so8.png" << true;
        QTest::newRow("dot dot, No") << "Packages/../fuori.bmp" << no << "dip8.bmp" << true;
        QTest::newRow("link leading out") << "Packages/uscita.bmp" << nessuna << "uscita.bmp" << true;
    }
    void caricaImmagine()
    {
        const auto [scelto, risposta, atteso, salva] =
            Valori<QString, int, QString, bool>("scelto", "risposta", "atteso", "salva");
        BancoImmagini b;
        b.package(1, QStringLiteral("DIP8"), QStringLiteral("Dual in line"), QStringLiteral("dip8.bmp"));
        auto f = b.apri();
        scheda(f.get(), 2);
        clicRiga(lista(f.get(), "LVG"), 1);
        clic(f.get(), "edit");
        if (risposta >= 0)
            b.dialoghi.setNextAnswer(Risposta(risposta));
        b.dialoghi.setNextFile(scelto.isEmpty() ? QString() : b.cartella.file(scelto));
        QTest::mouseClick(Figlio<QPushButton>(f.get(), "btnLoadPic"), Qt::LeftButton);
        const auto dialogo = b.dialoghi.dialoghiFile().value(0);
        QCOMPARE(dialogo.titolo + '|' + dialogo.cartella, "Ricerca immagine|" + b.pack);
        QVERIFY(dialogo.filtro.startsWith(QStringLiteral("Images|*.jpg;*.jpeg;*.bmp;")));
        if (risposta >= 0)
            VerificaBox(b.dialoghi, QStringLiteral("Copiare il file nella cartella Packages?"), Icona::Domanda,
                        Pulsanti::SiNo);
        QCOMPARE(casella(f.get(), "txImmagine")->text(), atteso);
        QCOMPARE(f->focusWidget(), voce(f.get(), 2));
        // The picture shown as the row click shows it: none for a name leading out of Packages.
        const QColor colore = atteso == QLatin1String("dip8.bmp") ? Qt::red : Qt::green;
        QVERIFY(atteso == QLatin1String("uscita.bmp") ? !conFigura(f.get())
                    : Figlio<QLabel>(f.get(), "imgPack")->pixmap().toImage().pixelColor(10, 5) == colore);
        QCOMPARE(b.cartella.leggi("Packages/so8.png"), atteso == "so8.png" ? b.cartella.leggi("USB/so8.png") : "");
        QVERIFY(!b.cartella.esiste(QStringLiteral("Packages.dat")));
        clic(f.get(), salva ? "save" : "undo");
        QCOMPARE(b.stato.package(1).Immagine, salva ? atteso : "dip8.bmp");
        QCOMPARE(b.stato.TabelleModificate, salva);
        if (salva)
            QCOMPARE(b.cartella.leggi("Packages.dat"), "1,\"DIP8\",\"Dual in line\",\"" + atteso.toUtf8() + "\"\r\n");
        else
            QVERIFY(!conFigura(f.get()));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A name is stored upper case, accents too; description and image name as typed; the files keep texts between
    // double quotes with no escape, so a double quote is stored as a single quote. New entries take the next IDs and
    // are listed by name. Renaming keeps the ID and the usage, and components keep their copies of the old name.
    void salvataggioSuDisco()
    {
        Banco b;
        b.tipo(1, QStringLiteral("ZENER"));
        b.produttore(2, QStringLiteral("ACME"));
        b.componente(QStringLiteral("1N4148"), 1, 2, 0, QStringLiteral("ZENER"));
        auto f = b.apri();
        scheda(f.get(), 1);
        for (const char *nome : {"pnp", "npn"})
            nuova(f.get(), 1, QLatin1String(nome));
        clicRiga(lista(f.get(), "LVT"), 3); // the last by name, the first in the table
        QCOMPARE(f->PosVoce(), 1);
        clic(f.get(), "edit");
        QTest::keyClicks(voce(f.get(), 1), QStringLiteral("diodo")); // replaces the selected name
        clic(f.get(), "save");
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
        QCOMPARE(b.cartella.leggi(QStringLiteral("Packages.dat")),
                 RigheCrLf({"1,\"DIP '8' \xC0\xC8\",\"Il 'classico', 8 pin\",\"A'b.jpg\""}));
        QCOMPARE(b.stato.ProssimoIDPackage, 2);
        QCOMPARE(b.stato.componente(1).NomeTipo, QStringLiteral("ZENER"));
        QCOMPARE(righe(lista(f.get(), "LVP")), QStringList{"1|'ACME' CORP|1|2"});
        QCOMPARE(righe(lista(f.get(), "LVT")), QStringList({"1|DIODO|1|1", "3|NPN|0|3", "2|PNP|0|2"}));
        QCOMPARE(spunte(lista(f.get(), "LVT")), QStringLiteral("100"));
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A counter at the largest ID (a hand-edited Info.ini) refuses a new entry instead of wrapping to negative IDs.
    void idEsauriti_data()
    {
        Colonne<int, QString>("scheda", "chiave");
        QTest::newRow("produttori") << 0 << "Prossimo ID Produttori";
        QTest::newRow("tipi") << 1 << "Prossimo ID Tipi";
        QTest::newRow("package") << 2 << "Prossimo ID Package";
    }
    void idEsauriti()
    {
        const auto [scheda, chiave] = Valori<int, QString>("scheda", "chiave");
        Banco b;
        b.stato.ProssimoIDProduttore = b.stato.ProssimoIDTipo = b.stato.ProssimoIDPackage = INT32_MAX;
        auto f = b.apri();
        ::scheda(f.get(), scheda);
        b.dialoghi.setNextAnswer(Risposta::Ok);
        nuova(f.get(), scheda, QStringLiteral("nuova"));
        VerificaBox(b.dialoghi, "Impossibile aggiungere: gli ID disponibili sono esauriti.\r\nControllare il valore di \""
                                    + chiave + "\" nel file Info.ini", Icona::Critica);
        QCOMPARE(b.stato.NumProduttori + b.stato.NumTipi + b.stato.NumPackages, 0);
        QVERIFY(!b.cartella.esiste(QStringLiteral("Info.ini")));
        QCOMPARE(voce(f.get(), scheda)->text(), QStringLiteral("NUOVA")); // still there to copy or drop
        VERIFICA_DIALOGHI(b.dialoghi);
    }

    // A save that cannot write its files reports it and changes nothing: memory stays as the files are, the typed name
    // stays in the editor with "Salva" and "Annulla" on, and a later save, once the file can be written, stores it.
    void salvataggioFallito()
    {
        Banco b;
        b.produttore(1, QStringLiteral("ACME"));
        const QString bloccante = b.cartella.file(QStringLiteral("Produttori.dat"));
        QVERIFY(QDir().mkpath(bloccante)); // blocks the file
        auto f = b.apri();
        b.dialoghi.setNextAnswer(Risposta::Ok);
        nuova(f.get(), 0, QStringLiteral("beta"));
        VerificaBox(b.dialoghi, QStringLiteral("Errore nel salvataggio dei dati"), Icona::Nessuna);
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}}));
        QCOMPARE(b.stato.NumProduttori, 1);
        QCOMPARE(b.stato.ProssimoIDProduttore, 2);
        QCOMPARE(colonna(lista(f.get(), "LVP"), 1), QStringList({"ACME"}));
        QVERIFY(!b.stato.TabelleModificate);
        QCOMPARE(voce(f.get(), 0)->text(), QStringLiteral("BETA"));
        QCOMPARE(barra(f.get()), QStringLiteral("00110"));
        QCOMPARE(Figlio<QStatusBar>(f.get(), "SB")->currentMessage(), MessaggioVoceNonSalvata);

        QVERIFY(QDir(bloccante).removeRecursively());
        clic(f.get(), "save");
        QCOMPARE(b.stato.Produttori, (QList<Produttore>{{1, "ACME"}, {2, "BETA"}}));
        QVERIFY(b.stato.TabelleModificate);
        QVERIFY(b.cartella.leggi(QStringLiteral("Produttori.dat")).contains("\"BETA\""));
        QCOMPARE(barra(f.get()), QStringLiteral("10001"));
        QVERIFY(Figlio<QStatusBar>(f.get(), "SB")->currentMessage().isEmpty());
        VERIFICA_DIALOGHI(b.dialoghi);
    }
};

QTEST_MAIN(TestEditorVoce)
#include "tst_editorvoce.moc"
