#include "ui/widgets/mnemonici.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QString ConMnemonico(const QString &testo, QStringList *usate)
{
    if (testo.contains(QLatin1Char('&')))
        return testo;
    auto libera = [&](qsizetype i) {
        return testo.at(i).isLetter() && !usate->contains(testo.at(i).toUpper());
    };
    qsizetype scelta = -1;
    for (qsizetype i = 0; i < testo.size() && scelta < 0; ++i) {
        const bool iniziale = i == 0 || !testo.at(i - 1).isLetterOrNumber();
        if (iniziale && libera(i))
            scelta = i;
    }
    for (qsizetype i = 0; i < testo.size() && scelta < 0; ++i) {
        if (libera(i))
            scelta = i;
    }
    if (scelta < 0)
        return testo;
    usate->append(testo.at(scelta).toUpper());
    QString risultato = testo;
    risultato.insert(scelta, QLatin1Char('&'));
    return risultato;
}

void AssegnaMnemonici(QMenuBar *barra)
{
    QStringList menuUsate;
    for (QAction *voceMenu : barra->actions()) {
        voceMenu->setText(ConMnemonico(voceMenu->text(), &menuUsate));
        QMenu *menu = voceMenu->menu();
        if (!menu)
            continue;
        QStringList usate;
        for (QAction *a : menu->actions()) {
            if (!a->isSeparator() && !a->text().isEmpty())
                a->setText(ConMnemonico(a->text(), &usate));
        }
    }
}
