// The main window's remembered place, size, maximised state, column widths
// and sort, read at the load and written when the program closes itself;
// and keeping the window whole on the screens it is shown on.

#include "ui/main/frmmain.h"

#include "store/stato.h"
#include "store/statofinestra.h"
#include "ui/widgets/listareport.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace {

// The visible columns of the list (the last one holds the positions).
int colonneVisibili(const ListaReport *lista)
{
    return lista->numeroColonne() - 1;
}

QList<QRect> areeSchermi()
{
    QList<QRect> aree;
    for (const QScreen *s : QGuiApplication::screens())
        aree << s->availableGeometry();
    return aree;
}

} // namespace

void FrmMain::ripristinaFinestra()
{
    const StatoFinestra s = LeggiStatoFinestra(m_stato.percorsi.FileIni, colonneVisibili(LV));
    if (s.geometria.isValid())
        setGeometry(QRect(s.geometria.topLeft(), s.geometria.size().expandedTo(minimumSizeHint())));
    else
        resize(sizeHint()); // as designed; brought within the screen once shown
    if (s.massimizzata)
        setWindowState(windowState() | Qt::WindowMaximized);
    QHeaderView *intestazione = LV->vista()->header();
    for (qsizetype i = 0; i < s.larghezzeColonne.size(); ++i) {
        if (s.larghezzeColonne[i] >= intestazione->minimumSectionSize())
            intestazione->resizeSection(int(i), s.larghezzeColonne[i]);
    }
    if (s.colonnaOrdinamento > 0) {
        // The sort flips the direction each time: start from the other one.
        v.ColonnaOrdinamento = s.colonnaOrdinamento;
        LV->setSortOrder(1 - s.ordine);
    }
}

void FrmMain::portaSulloSchermo()
{
    if (isMaximized() || isFullScreen())
        return;
    const QRect cornice = frameGeometry();
    const QRect giusta = GeometriaSuSchermo(cornice, areeSchermi());
    if (giusta == cornice)
        return;
    resize(size() - (cornice.size() - giusta.size()));
    move(giusta.topLeft());
}

void FrmMain::salvaFinestra()
{
    StatoFinestra s;
    s.geometria = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    s.massimizzata = isMaximized();
    const QHeaderView *intestazione = LV->vista()->header();
    for (int i = 0; i < colonneVisibili(LV); ++i)
        s.larghezzeColonne << intestazione->sectionSize(i);
    // An empty list was never sorted in this run: its direction says nothing.
    if (LV->numeroRighe() > 0) {
        s.colonnaOrdinamento = v.ColonnaOrdinamento;
        s.ordine = LV->sortOrder();
    }
    ScriviStatoFinestra(m_stato.percorsi.FileIni, s);
}
