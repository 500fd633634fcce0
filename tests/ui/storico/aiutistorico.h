#pragma once

// Shared by the tests of the history window and of the pieces window: a
// main window on five saved components, the two windows driven.

#include "common/storicoprova.h"
#include "common/verifiche.h"
#include "ui/main/ambiente.h"

#include <QTableView>

namespace prova {

// The history in the file, oldest first, each line as
// "op;movimento;id;codice;prima;dopo;nota" ("-" for no quantity).
inline QStringList Storico(const Ambiente &a)
{
    return DescriviStorico(a.cartella.file(NomeFileMovimenti), false, true);
}

// An open window (the history's, with its list, or the pieces').
struct Storico_ {
    QWidget *w;
    template <typename T = QWidget>
    T *c(const char *nome) const
    {
        return Figlio<T>(w, QLatin1String(nome));
    }
    QTableView *lvs() const { return c<QTableView>("LVS"); }
    int righe() const { return lvs()->model()->rowCount(); }
    QString cella(int riga, int colonna) const { return lvs()->model()->index(riga, colonna).data().toString(); }
    // Rows as the cells of those columns joined by "|" (by default
    // "code|before|after|difference|operation|number").
    QStringList elenco(const QList<int> &colonne = {1, 2, 3, 4, 5, 6}) const
    {
        QStringList out;
        for (int r = 0; r < righe(); ++r) {
            QStringList celle;
            for (int k : colonne)
                celle << cella(r, k);
            out << celle.join(u'|');
        }
        return out;
    }
    void clic(const char *bottone) const { QTest::mouseClick(c<QPushButton>(bottone), Qt::LeftButton); }
    // A real click on a row (0-based).
    void scegli(int riga) const
    {
        QTableView *v = lvs();
        const QModelIndex indice = v->model()->index(riga, 1);
        v->scrollTo(indice);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->visualRect(indice).center());
    }
    // Types a filter and lets its pause go by.
    void filtra(const QString &testo) const
    {
        auto *t = c<QLineEdit>("txFiltroStorico");
        t->clear();
        QTest::keyClicks(t, testo);
        QTest::qWait(400);
    }
};

// Five components saved, the window open on them, today pinned.
struct ConStorico : Ambiente {
    ConStorico()
    {
        ImpostaAdesso(QDateTime(QDate(2026, 12, 5), QTime(17, 30, 12)));
        cinqueComponenti(stato);
        DialoghiFinti d;
        if (!SalvaDatabase(stato, d))
            qFatal("salvataggio iniziale fallito");
        apri();
    }
    ~ConStorico() { ImpostaAdesso({}); }

    // Opens a window from its menu item and runs the steps on it; closed
    // with the button given when still open afterwards (rimastaAperta).
    // False when no window opened.
    bool rimastaAperta = false;
    bool modale(const char *voce, const char *nome, const char *chiudi,
                const std::function<void(const Storico_ &)> &passi)
    {
        bool aperta = false;
        QObject contesto;
        QuandoModale(
            [&](QWidget *m) {
                aperta = true;
                QCOMPARE(m->objectName(), QLatin1String(nome));
                const Storico_ f{m};
                passi(f);
                rimastaAperta = m->isVisible();
                if (rimastaAperta)
                    f.clic(chiudi);
            },
            &contesto);
        menu(QLatin1String(voce));
        return aperta;
    }
    bool storico(const std::function<void(const Storico_ &)> &passi)
    {
        return modale("mnuStorico", "frmStorico", "btnChiudiStorico", passi);
    }
    // The pieces window with the pieces and the note typed, then the steps
    // (by default "Conferma").
    bool pezzi(const char *voce, int quanti, const QString &nota = QString(),
               const std::function<void(const Storico_ &)> &passi = {})
    {
        return modale(voce, "frmPezzi", "btnAnnullaPezzi", [&](const Storico_ &f) {
            f.c<QSpinBox>("spnPezzi")->setValue(quanti);
            QTest::keyClicks(f.c<QLineEdit>("txNotaPezzi"), nota);
            passi ? passi(f) : f.clic("btnConfermaPezzi");
        });
    }
};

} // namespace prova
