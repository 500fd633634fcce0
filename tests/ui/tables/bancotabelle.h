#pragma once

// What the tables-window tests share: a folder and its state, the window opened without blocking, real input.

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "common/finestre.h"
#include "store/stato.h"
#include "ui/tables/apritabelle.h"
#include "ui/tables/frmliste.h"
#include "ui/widgets/listareport.h"

#include <QTest>
#include <QtWidgets>
#include <memory>

struct Banco {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    QStringList messaggi; // texts put into the main window's "msg" panel
    int ricariche = 0;    // pick-list refills asked of the main window
    QPoint posizione{120, 80};

    Banco()
    {
        stato.percorsi = Percorsi::DaCartella(cartella.percorso());
        QDir().mkpath(stato.percorsi.CartellaPackages);
    }
    AccessoPrincipale principale()
    {
        AccessoPrincipale p;
        p.posizione = posizione;
        p.mostraMessaggio = [this](const QString &t) { messaggi << t; };
        p.caricaTabelle = [this] { ++ricariche; };
        return p;
    }
    std::unique_ptr<FrmListe> apri()
    {
        auto f = std::make_unique<FrmListe>(stato, dialoghi, principale());
        f->show();
        return f;
    }
    template <typename R>
    static void metti(QList<R> &tabella, qint32 &numero, qint32 &prossimo, const R &r)
    {
        tabella.append(r);
        numero = tabella.size();
        prossimo = qMax(prossimo, r.ID + 1);
    }
    void tipo(qint32 id, const QString &n) { metti(stato.Tipi, stato.NumTipi, stato.ProssimoIDTipo, Tipo{id, n}); }
    void produttore(qint32 id, const QString &n)
    {
        metti(stato.Produttori, stato.NumProduttori, stato.ProssimoIDProduttore, Produttore{id, n});
    }
    void package(qint32 id, const QString &n, const QString &desc = {}, const QString &img = {})
    {
        metti(stato.Packages, stato.NumPackages, stato.ProssimoIDPackage, Package{id, n, desc, img});
    }
    void componente(const QString &codice, qint32 tipo, qint32 prod, qint32 pack, const QString &nomeTipo = {})
    {
        Componente c;
        c.ID = stato.ProssimoIDComponente++;
        c.Codice = codice;
        c.IDTipo = tipo;
        c.IDProduttore = prod;
        c.IDPackage = pack;
        c.NomeTipo = nomeTipo;
        c.Quantita = 1;
        stato.Componenti.append(c);
        stato.NumComponenti = stato.Componenti.size();
    }
};

inline ListaReport *lista(QWidget *f, const char *nome) { return Figlio<ListaReport>(f, QLatin1String(nome)); }
inline QLineEdit *casella(QWidget *f, const char *nome) { return Figlio<QLineEdit>(f, QLatin1String(nome)); }
inline QLineEdit *voce(QWidget *f, int tab) { return Figlio<QLineEdit>(f, QStringLiteral("txVoce(%1)").arg(tab)); }
inline void clic(QWidget *f, const char *chiave)
{
    QTest::mouseClick(Figlio<QToolButton>(f, QLatin1String(chiave)), Qt::LeftButton);
}
inline void clicFiltro(QWidget *f) { QTest::mouseClick(Figlio<QCheckBox>(f, "chkExclude"), Qt::LeftButton); }

// Enabled toolbar buttons new, edit, undo, save, quit: "10001" is idle.
inline QString barra(QWidget *f)
{
    QString s;
    for (const char *k : {"new", "edit", "undo", "save", "quit"})
        s += Figlio<QToolButton>(f, QLatin1String(k))->isEnabled() ? u'1' : u'0';
    return s;
}

// A column of the list top to bottom; c = -1: whole rows "position|name|usage|ID".
inline QStringList colonna(ListaReport *l, int c)
{
    QStringList r;
    for (int i = 1; i <= l->numeroRighe(); ++i)
        r << (c >= 0 ? l->testo(i, c)
                     : QStringList{l->testo(i, 0), l->testo(i, 1), l->testo(i, 2), l->testo(i, 3)}.join(u'|'));
    return r;
}
inline QStringList righe(ListaReport *l) { return colonna(l, -1); }
// The check boxes, top to bottom, as "1" ticked and "0" not.
inline QString spunte(ListaReport *l)
{
    QString r;
    for (int i = 1; i <= l->numeroRighe(); ++i)
        r += l->spunta(i) ? u'1' : u'0';
    return r;
}

// Real mouse clicks: the name cell of a row (1-based), a tab of SST.
inline void clicRiga(ListaReport *l, int riga) { ClicRiga(l, riga, 1); }
inline void scheda(QWidget *f, int indice)
{
    QTabBar *b = Figlio<QTabWidget>(f, "SST")->tabBar();
    QTest::mouseClick(b, Qt::LeftButton, {}, b->tabRect(indice).center());
}

// "Nuovo" on the current tab, the name typed, then the given key (0: none).
inline void nuova(QWidget *f, int tab, const QString &nome, int tasto = Qt::Key_Return)
{
    clic(f, "new");
    QTest::keyClicks(voce(f, tab), nome);
    if (tasto)
        QTest::keyClick(voce(f, tab), Qt::Key(tasto));
}
