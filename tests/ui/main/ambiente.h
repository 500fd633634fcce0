#pragma once

// Shared set-up of the main-window tests: a program folder, a state built in
// memory, widget look-ups by objectName and real mouse clicks on the list.

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/finestre.h"
#include "common/verifiche.h"
#include "store/ini.h"
#include "store/stato.h"
#include "store/tabelle.h"
#include "ui/main/frmmain.h"
#include "ui/widgets/listareport.h"

#include <QTest>
#include <QtWidgets>

#include <cmath>
#include <memory>

namespace prova {

inline QDateTime data(int anno, int mese, int giorno) { return QDateTime(QDate(anno, mese, giorno), QTime(0, 0), Qt::UTC); }

inline Componente componente(qint32 id, const QString &codice, qint32 idProduttore, const QString &produttore,
                             qint32 idTipo, const QString &tipo, qint32 quantita,
                             const QDateTime &inserito = data(2024, 3, 1))
{
    Componente c;
    c.ID = id;
    c.Codice = codice;
    for (const QChar ch : codice)
        if (ch.isDigit())
            c.CodiceNumerico = c.CodiceNumerico * 10 + ch.digitValue();
    c.IDProduttore = idProduttore;
    c.NomeProduttore = produttore;
    c.IDTipo = idTipo;
    c.NomeTipo = tipo;
    c.Quantita = quantita;
    c.DataInserimento = inserito;
    return c;
}

// A picture of one colour, its right half in a second colour when given.
inline void scriviImmagine(const CartellaTest &cartella, const QString &nome, int w, int h, const QColor &colore,
                           const char *formato = "BMP", const QColor &destra = QColor())
{
    QImage immagine(w, h, QImage::Format_RGB32);
    immagine.fill(colore);
    if (destra.isValid())
        QPainter(&immagine).fillRect(w / 2, 0, w - w / 2, h, destra);
    QDir().mkpath(QFileInfo(cartella.file(nome)).absolutePath());
    QVERIFY(immagine.save(cartella.file(nome), formato));
}

// Two colours near enough to be the same once drawn (scaled, compressed).
inline bool simile(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40
           && std::abs(a.blue() - b.blue()) < 40;
}

// The contrast ratio of two colours (1 to 21), as accessibility guides compute it.
inline double contrasto(const QColor &x, const QColor &y)
{
    const auto luce = [](const QColor &c) {
        const auto l = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * l(c.redF()) + 0.7152 * l(c.greenF()) + 0.0722 * l(c.blueF()) + 0.05;
    };
    return std::max(luce(x), luce(y)) / std::min(luce(x), luce(y));
}

// The texts of a list's entries, in order.
inline QStringList voci(const QListWidget *l)
{
    QStringList v;
    for (int i = 0; i < l->count(); ++i)
        v << l->item(i)->text();
    return v;
}

// "si", "no" or "annulla" as the answer of a box.
inline Risposta risposta(const QString &r)
{
    return r == QLatin1String("si") ? Risposta::Si : r == QLatin1String("no") ? Risposta::No : Risposta::Annulla;
}

// Three types, three manufacturers, two packages; no components.
inline void riempiTabelle(Stato &s)
{
    s.Tipi = {{1, "IC"}, {2, "TR"}, {3, "REG"}};
    s.Produttori = {{1, "TI"}, {2, "ST"}, {3, "NXP"}};
    s.Packages = {{1, "DIP14", "Dual in line 14", "dip14.bmp"}, {2, "TO92", "Plastica 3 pin", ""}};
    s.NumTipi = s.NumProduttori = 3;
    s.NumPackages = 2;
    s.ProssimoIDTipo = s.ProssimoIDProduttore = 4;
    s.ProssimoIDPackage = 3;
}

inline void aggiungi(Stato &s, const Componente &c)
{
    s.Componenti.append(c);
    s.NumComponenti = static_cast<qint32>(s.Componenti.size());
    s.ProssimoIDComponente = std::max(s.ProssimoIDComponente, c.ID + 1);
}

// The tables and five components; ST makes positions 2 and 5, TR (type)
// positions 2 and 4. Sorted by code: 2N2222 (4), 74HC00 (5), BC547C (2),
// LM317T (3), NE555 (1).
inline void cinqueComponenti(Stato &s)
{
    riempiTabelle(s);
    aggiungi(s, componente(10, "NE555", 1, "TI", 1, "IC", 20, data(2024, 5, 2)));
    aggiungi(s, componente(11, "BC547C", 2, "ST", 2, "TR", 100, data(2023, 1, 15)));
    aggiungi(s, componente(12, "LM317T", 1, "TI", 3, "REG", 5, data(2025, 7, 30)));
    aggiungi(s, componente(13, "2N2222", 3, "NXP", 2, "TR", 7, data(2022, 11, 3)));
    aggiungi(s, componente(14, "74HC00", 2, "ST", 1, "IC", 12, data(2024, 1, 9)));
}

// One test's program folder, state, dialogs and window.
struct Ambiente {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    std::unique_ptr<FrmMain> finestra;

    Ambiente()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        for (const char *sotto : {"Pics", "Datasheet", "Packages", "Stampe", "Exported", "Backups"})
            QDir().mkpath(cartella.file(QLatin1String(sotto)));
        stato.Versione = VersioneDati;
        for (int i = 1; i <= 6; ++i)
            stato.Etichette[i] = QStringLiteral("Campo Personale %1").arg(i);
        stato.TemaChiaro = true;
        stato.ImmaginiReali = false;
    }
    // The state filled by riempi (cinqueComponenti, riempiTabelle...) and the window open on it.
    explicit Ambiente(void (*riempi)(Stato &)) : Ambiente()
    {
        riempi(stato);
        apri();
    }

    // The state a fresh start would load from the test's folder. Files that
    // do not load fail the running test.
    std::unique_ptr<Stato> suDisco() const
    {
        auto s = std::make_unique<Stato>();
        s->percorsi = stato.percorsi;
        DialoghiFinti d;
        if (!LeggiInfo(*s) || !CaricaDatabase(*s, d))
            QTest::qFail("i file della cartella non si caricano", __FILE__, __LINE__);
        return s;
    }

    // The bytes of Info.ini and the four table files, to see that nothing changed.
    QList<QByteArray> fileDati() const
    {
        QList<QByteArray> b;
        for (const char *f : {"Info.ini", "Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat"})
            b << cartella.leggi(QLatin1String(f));
        return b;
    }

    FrmMain &apri()
    {
        finestra = std::make_unique<FrmMain>(stato, dialoghi);
        finestra->Form_Load();
        return *finestra;
    }

    template <typename T = QWidget>
    T *w(const QString &nome) const
    {
        return Figlio<T>(finestra.get(), nome);
    }
    QAction *azione(const QString &nome) const { return w<QAction>(nome); }
    QAction *bottone(const QString &chiave) const { return finestra->bottone(chiave); }
    void premi(const QString &chiave) const { bottone(chiave)->trigger(); }
    // A real click (or double click) on a control.
    void clic(const QString &nome) const { QTest::mouseClick(w(nome), Qt::LeftButton); }
    void doppioClic(const QString &nome) const { QTest::mouseDClick(w(nome), Qt::LeftButton); }
    void menu(const QString &nome) const { azione(nome)->trigger(); }
    // A toolbar key ("exit") or a menu item ("mnuQuit").
    void comando(const QString &nome) const { nome.startsWith(QLatin1String("mnu")) ? menu(nome) : premi(nome); }
    ListaReport *lista() const { return w<ListaReport>(QStringLiteral("LV")); }
    QString messaggio() const { return etichetta(QStringLiteral("msg")); }
    QString messaggio(int n) const { return finestra->messaggi()[n]; }
    QString etichetta(const QString &nome) const { return w<QLabel>(nome)->text(); }
    QString testo(const QString &nome) const { return w<QLineEdit>(nome)->text(); }
    void scrivi(const QString &nome, const QString &testo) const { w<QLineEdit>(nome)->setText(testo); }
    // "Nuovo" with a code and a quantity typed, not saved yet.
    void nuovo(const QString &codice, const QString &quantita) const
    {
        premi(QStringLiteral("new"));
        scrivi(QStringLiteral("txCodice"), codice);
        scrivi(QStringLiteral("txQty"), quantita);
    }
    // A search typed into the box, started by Enter or by the toolbar.
    void cerca(const QString &testo, bool conInvio) const
    {
        auto *t = w<QLineEdit>(QStringLiteral("txSearch"));
        t->clear();
        QTest::keyClicks(t, testo);
        conInvio ? QTest::keyClick(t, Qt::Key_Return) : premi(QStringLiteral("search"));
    }
    // The component of that row edited: a field typed over (if named), then saved.
    void modificaRiga(int riga, const QString &campo = QString(), const QString &valore = QString()) const
    {
        clicRiga(riga, 0);
        premi(QStringLiteral("edit"));
        if (!campo.isEmpty())
            scrivi(campo, valore);
        premi(QStringLiteral("save"));
    }
    QImage riquadro() const { return w<QLabel>(QStringLiteral("pic"))->pixmap().toImage(); }
    int corrente() const { return finestra->variabili().PosCorrente; }
    // The counters: components, selected, pieces, as "5/5/144".
    QString contatori() const
    {
        return etichetta(QStringLiteral("numComponent")) + u'/' + etichetta(QStringLiteral("numSelected")) + u'/'
               + etichetta(QStringLiteral("numPieces"));
    }
    // The enabled state of "new", "edit", "del", "save", "undo" as "10000".
    QString bottoni() const
    {
        QString s;
        for (const char *k : {"new", "edit", "del", "save", "undo"})
            s += bottone(QLatin1String(k))->isEnabled() ? u'1' : u'0';
        return s;
    }
    // A column's texts row by row; the codes; the positions (the hidden column 5).
    QStringList colonna(int k) const
    {
        QStringList c;
        for (int r = 1; r <= lista()->numeroRighe(); ++r)
            c << lista()->testo(r, k);
        return c;
    }
    QStringList codici() const { return colonna(0); }
    QList<int> posizioni() const
    {
        QList<int> p;
        for (const QString &t : colonna(5))
            p << t.toInt();
        return p;
    }
    // The row (1-based) listing the code; 0 when none does.
    int rigaDi(const QString &codice) const { return int(codici().indexOf(codice)) + 1; }

    void clicRiga(int riga, int colonna, Qt::MouseButton pulsante = Qt::LeftButton) const
    {
        ClicRiga(lista(), riga, colonna, pulsante);
    }
    void clicIntestazione(int indice) const { ClicIntestazione(lista(), indice); }
};

// An Ambiente that checks, when the test ends, that every box shown was
// expected and every queued answer used.
struct Caso : Ambiente {
    using Ambiente::Ambiente;
    ~Caso() { VERIFICA_DIALOGHI(dialoghi); }
};

// The stored components as "ID:Codice", in table order.
inline QStringList idCodici(const Stato &s)
{
    QStringList codici;
    for (qint32 i = 1; i <= s.NumComponenti; ++i)
        codici << QString::number(s.componente(i).ID) + u':' + s.componente(i).Codice;
    return codici;
}

} // namespace prova
