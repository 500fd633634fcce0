#pragma once

// Shared by the tests of the history window and of the pieces window: a
// main window on five saved components, the history on disk line by line,
// and the two windows opened from their menu items and driven through
// their widgets.

#include "common/verifiche.h"
#include "movimenti/indice.h"
#include "movimenti/rigamovimento.h"
#include "store/orologio.h"
#include "ui/main/ambiente.h"

#include <QTableView>

namespace prova {

// The window made the active one, for its shortcuts.
inline void Attiva(QWidget *finestra)
{
    finestra->activateWindow();
    QApplication::setActiveWindow(finestra);
    QVERIFY(QTest::qWaitForWindowActive(finestra));
}

// A line as "op;movimento;id;codice;prima;dopo;nota" ("-" for no quantity).
inline QString Descrivi(const RigaMovimento &r)
{
    const auto n = [](std::optional<qint32> v) { return v ? QString::number(*v) : QStringLiteral("-"); };
    return QStringLiteral("%1;%2;%3;%4;%5;%6;%7")
        .arg(r.operazione)
        .arg(r.movimento)
        .arg(r.id)
        .arg(r.codice, n(r.prima), n(r.dopo), r.nota);
}

// The history on disk, oldest first, each line as Descrivi writes it.
inline QStringList Storico(const Ambiente &a)
{
    IndiceMovimenti indice;
    QStringList righe;
    if (!indice.apri(a.cartella.file(NomeFileMovimenti)))
        return {QStringLiteral("illeggibile")};
    for (qsizetype i = 0; i < indice.conteggio(); ++i)
        righe << (indice.riga(i) ? Descrivi(*indice.riga(i)) : QStringLiteral("danneggiata"));
    return righe;
}

// The open history window.
struct Storico_ {
    QWidget *w;
    template <typename T = QWidget>
    T *c(const char *nome) const
    {
        return Figlio<T>(w, QLatin1String(nome));
    }
    QTableView *lvs() const { return c<QTableView>("LVS"); }
    int righe() const { return lvs()->model()->rowCount(); }
    QString cella(int riga, int colonna) const
    {
        return lvs()->model()->index(riga, colonna).data().toString();
    }
    // Rows as "code|before|after|difference|operation|number".
    QStringList elenco() const
    {
        QStringList out;
        for (int r = 0; r < righe(); ++r) {
            QStringList celle;
            for (int k = 1; k <= 6; ++k)
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

    // Opens the history window from its menu item and runs the steps on
    // it; closed with "Chiudi" afterwards when still open. False when no
    // window opened.
    bool storico(const std::function<void(const Storico_ &)> &passi)
    {
        bool aperta = false;
        QObject contesto;
        QuandoModale(
            [&](QWidget *m) {
                aperta = true;
                QCOMPARE(m->objectName(), QStringLiteral("frmStorico"));
                const Storico_ f{m};
                passi(f);
                if (m->isVisible())
                    f.clic("btnChiudiStorico");
            },
            &contesto);
        menu(QStringLiteral("mnuStorico"));
        return aperta;
    }

    // Opens the pieces window from its menu item, types the pieces and the
    // note and runs the steps (by default "Conferma"), noting whether the
    // window stayed open. False when no window opened.
    bool rimastaAperta = false;
    bool pezzi(const char *voce, int quanti, const QString &nota = QString(),
               const std::function<void(QWidget *)> &passi = {})
    {
        bool aperta = false;
        QObject contesto;
        QuandoModale(
            [&](QWidget *m) {
                aperta = true;
                QCOMPARE(m->objectName(), QStringLiteral("frmPezzi"));
                Figlio<QSpinBox>(m, QStringLiteral("spnPezzi"))->setValue(quanti);
                QTest::keyClicks(Figlio<QLineEdit>(m, QStringLiteral("txNotaPezzi")), nota);
                if (passi)
                    passi(m);
                else
                    QTest::mouseClick(Figlio<QPushButton>(m, QStringLiteral("btnConfermaPezzi")), Qt::LeftButton);
                rimastaAperta = m->isVisible();
                if (rimastaAperta)
                    QTest::mouseClick(Figlio<QPushButton>(m, QStringLiteral("btnAnnullaPezzi")), Qt::LeftButton);
            },
            &contesto);
        menu(QLatin1String(voce));
        return aperta;
    }
};

} // namespace prova
