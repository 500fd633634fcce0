#pragma once

// Helpers for window tests only (they link the widgets): a modal window
// that a blocking call opens, and real clicks on a report list.

#include "ui/widgets/listareport.h"

#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

// The child of that name (a widget or an action); the test stops at once
// when there is none, rather than failing later on a null pointer.
template <typename T = QWidget>
T *Figlio(const QObject *genitore, const QString &nome)
{
    T *trovato = genitore->findChild<T *>(nome);
    if (!trovato)
        qFatal("widget non trovato: %s", qPrintable(nome));
    return trovato;
}

// A check that failed inside a test's handling of a modal window returns
// before closing it, and the call that opened the window would wait for
// ever: after a while the window is closed and the test fails instead.
inline void ChiudiSeRestaAperta(QWidget *finestra)
{
    const QPointer<QWidget> aperta = finestra;
    QTimer::singleShot(3000, qApp, [aperta] {
        if (!aperta || !aperta->isVisible())
            return;
        QTest::qFail("finestra modale rimasta aperta", __FILE__, __LINE__);
        aperta->close();
    });
}

// Runs azione on the modal window as soon as one is open and shown. Polling
// keeps a test from hanging when the window only opens after some events
// have run; the polling stops with contesto, or after about five seconds.
inline void QuandoModale(const std::function<void(QWidget *)> &azione, QObject *contesto = nullptr,
                         int tentativi = 1000)
{
    QTimer::singleShot(5, contesto ? contesto : qApp, [=] {
        QWidget *m = QApplication::activeModalWidget();
        if (m && m->isVisible()) {
            azione(m);
            ChiudiSeRestaAperta(m);
        } else if (tentativi > 0) {
            QuandoModale(azione, contesto, tentativi - 1);
        }
    });
}

// The window made the active one, as a window manager would: for its
// shortcuts, and for the focus a widget being typed in has.
inline void Attiva(QWidget *finestra)
{
    finestra->activateWindow();
    QApplication::setActiveWindow(finestra);
    QVERIFY(QTest::qWaitForWindowActive(finestra));
}

// A real click on a row (1-based) over a column (0-based); row 0 clicks the
// empty area below the rows.
inline void ClicRiga(ListaReport *l, int riga, int colonna, Qt::MouseButton pulsante = Qt::LeftButton)
{
    QTreeView *v = l->vista();
    QPoint punto(v->header()->sectionViewportPosition(colonna) + v->header()->sectionSize(colonna) / 2,
                 v->viewport()->height() - 3);
    if (riga >= 1) {
        const QModelIndex indice = v->model()->index(riga - 1, colonna);
        v->scrollTo(indice);
        punto = v->visualRect(indice).center();
    }
    QTest::mouseClick(v->viewport(), pulsante, Qt::NoModifier, punto);
}

// A real click on a column header (1-based).
inline void ClicIntestazione(ListaReport *l, int indice)
{
    QHeaderView *h = l->vista()->header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(h->sectionViewportPosition(indice - 1) + h->sectionSize(indice - 1) / 2, h->height() / 2));
}
