#pragma once

// What the tables-window tests share: a program folder with its state, the
// fake dialogs, the window opened without blocking, and real mouse and
// keyboard input on its controls.

#include "common/cartellatest.h"
#include "common/dialoghifinti.h"
#include "store/stato.h"
#include "ui/tables/apritabelle.h"
#include "ui/tables/frmliste.h"
#include "ui/widgets/listareport.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

struct Banco {
    CartellaTest cartella;
    Stato stato;
    DialoghiFinti dialoghi;
    QStringList messaggi;   // texts put into the main window's "msg" panel
    int ricariche = 0;      // pick-list refills asked of the main window
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

    void tipo(qint32 id, const QString &nome)
    {
        stato.Tipi.append({id, nome});
        stato.NumTipi = stato.Tipi.size();
        stato.ProssimoIDTipo = qMax(stato.ProssimoIDTipo, id + 1);
    }
    void produttore(qint32 id, const QString &nome)
    {
        stato.Produttori.append({id, nome});
        stato.NumProduttori = stato.Produttori.size();
        stato.ProssimoIDProduttore = qMax(stato.ProssimoIDProduttore, id + 1);
    }
    void package(qint32 id, const QString &nome, const QString &descrizione = QString(),
                 const QString &immagine = QString())
    {
        stato.Packages.append({id, nome, descrizione, immagine});
        stato.NumPackages = stato.Packages.size();
        stato.ProssimoIDPackage = qMax(stato.ProssimoIDPackage, id + 1);
    }
    void componente(const QString &codice, qint32 idTipo, qint32 idProduttore, qint32 idPackage,
                    const QString &nomeTipo = QString())
    {
        Componente c;
        c.ID = stato.ProssimoIDComponente++;
        c.Codice = codice;
        c.IDTipo = idTipo;
        c.IDProduttore = idProduttore;
        c.IDPackage = idPackage;
        c.NomeTipo = nomeTipo;
        c.Quantita = 1;
        stato.Componenti.append(c);
        stato.NumComponenti = stato.Componenti.size();
    }
};

template <typename T>
T *trova(QWidget *finestra, const QString &nome)
{
    T *w = finestra->findChild<T *>(nome);
    if (!w)
        qFatal("controllo mancante: %s", qPrintable(nome));
    return w;
}

inline ListaReport *lista(QWidget *f, const char *nome) { return trova<ListaReport>(f, QLatin1String(nome)); }
inline QLineEdit *casella(QWidget *f, const QString &nome) { return trova<QLineEdit>(f, nome); }
inline QToolButton *bottone(QWidget *f, const char *chiave) { return trova<QToolButton>(f, QLatin1String(chiave)); }

inline void clic(QWidget *f, const char *chiave)
{
    QTest::mouseClick(bottone(f, chiave), Qt::LeftButton);
}

// Which toolbar buttons are enabled, as a string of five flags in the order
// new, edit, undo, save, quit: "10001" is the idle toolbar.
inline QString barra(QWidget *f)
{
    QString s;
    for (const char *k : {"new", "edit", "undo", "save", "quit"})
        s += bottone(f, k)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

// The list's rows as shown, top to bottom: position, name, usage, ID.
inline QList<QStringList> righe(ListaReport *l)
{
    QList<QStringList> r;
    for (int i = 1; i <= l->numeroRighe(); ++i)
        r.append({l->testo(i, 0), l->testo(i, 1), l->testo(i, 2), l->testo(i, 3)});
    return r;
}

inline QStringList colonna(ListaReport *l, int c)
{
    QStringList r;
    for (int i = 1; i <= l->numeroRighe(); ++i)
        r << l->testo(i, c);
    return r;
}

inline QList<bool> spunte(ListaReport *l)
{
    QList<bool> r;
    for (int i = 1; i <= l->numeroRighe(); ++i)
        r << l->spunta(i);
    return r;
}

inline QAbstractItemView *vista(ListaReport *l)
{
    auto *v = l->findChild<QAbstractItemView *>();
    if (!v)
        qFatal("la lista non ha una vista");
    return v;
}

// A real mouse click on the name cell of a row (1-based, as shown).
inline void clicRiga(ListaReport *l, int riga)
{
    QAbstractItemView *v = vista(l);
    const QModelIndex indice = v->model()->index(riga - 1, 1);
    v->scrollTo(indice);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(indice).center());
}

// A real mouse click on a column header (1-based Index).
inline void clicIntestazione(ListaReport *l, int indice)
{
    QHeaderView *h = l->findChild<QHeaderView *>();
    if (!h)
        qFatal("la lista non ha intestazioni");
    const int x = h->sectionViewportPosition(indice - 1) + h->sectionSize(indice - 1) / 2;
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
}

// A real click on a tab of SST.
inline void scheda(QWidget *f, int indice)
{
    QTabBar *b = trova<QTabWidget>(f, QStringLiteral("SST"))->tabBar();
    QTest::mouseClick(b, Qt::LeftButton, {}, b->tabRect(indice).center());
}

// The name box of a tab, "txVoce(k)".
inline QLineEdit *voce(QWidget *f, int tab)
{
    return casella(f, QStringLiteral("txVoce(%1)").arg(tab));
}
