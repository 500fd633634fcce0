#pragma once

// For window tests (they link the widgets): acts on a modal window that a
// blocking call is about to open.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs azione on the modal window as soon as one is open and shown. Polling
// keeps a test from hanging when the window only opens after some events
// have run; the polling stops with contesto, or after about five seconds.
inline void QuandoModale(const std::function<void(QWidget *)> &azione, QObject *contesto = nullptr,
                         int tentativi = 1000)
{
    QTimer::singleShot(5, contesto ? contesto : qApp, [=] {
        QWidget *m = QApplication::activeModalWidget();
        if (m && m->isVisible())
            azione(m);
        else if (tentativi > 0)
            QuandoModale(azione, contesto, tentativi - 1);
    });
}
