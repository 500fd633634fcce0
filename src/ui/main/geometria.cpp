// The main window's remembered place, size, maximised state, column widths
// and sort, read at the load and written when the program closes itself;
// and keeping the window whole on the screens it is shown on.

#include "ui/main/frmmain.h"

#include "store/stato.h"
#include "store/statofinestra.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/riempimentocolonne.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// The visible columns of the list (one of them, hidden, holds the positions).
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

// Room kept for the frame that the window manager draws around the window
// (borders and title bar) while it is not known, before the window is
// shown: what most desktops draw, or a little more.
constexpr QMargins CorniceTipica(8, 32, 8, 8);

// The frame around the window as far as it is known now (none yet, on most
// platforms, before the window manager has framed the shown window).
QMargins cornice(const QWidget *finestra)
{
    const QRect fuori = finestra->frameGeometry();
    const QRect dentro = finestra->geometry();
    return QMargins(dentro.left() - fuori.left(), dentro.top() - fuori.top(), fuori.right() - dentro.right(),
                    fuori.bottom() - dentro.bottom());
}

} // namespace

void FrmMain::ripristinaFinestra()
{
    StatoFinestra s = LeggiStatoFinestra(m_stato.percorsi.FileIni, colonneVisibili(LV));
    // Widths remembered without the location column, which was added since:
    // the other columns keep theirs.
    if (s.larghezzeColonne.isEmpty() && m_campoColonna > 0)
        s.larghezzeColonne = LeggiStatoFinestra(m_stato.percorsi.FileIni, colonneVisibili(LV) - 1).larghezzeColonne;
    m_geometriaRicordata = s.geometria.isValid();
    if (m_geometriaRicordata)
        setGeometry(QRect(s.geometria.topLeft(), s.geometria.size().expandedTo(minimumSizeHint())));
    else
        dimensionaPrimaApertura();
    if (s.massimizzata)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_colonne->impostaVolute(s.larghezzeColonne);
    if (s.colonnaOrdinamento > 0) {
        // The sort flips the direction each time: start from the other one.
        v.ColonnaOrdinamento = s.colonnaOrdinamento;
        LV->setSortOrder(1 - s.ordine);
    }
}

void FrmMain::dimensionaPrimaApertura()
{
    // A remembered place is the user's; a maximised window has the screen's.
    if (m_geometriaRicordata || isMaximized() || isFullScreen())
        return;
    // The designed size where the work area of the screen holds it with the
    // frame around it, centred there with its frame.
    const QRect area = screen()->availableGeometry();
    const QMargins c = cornice(this) | CorniceTipica;
    const QSize telaio(c.left() + c.right(), c.top() + c.bottom());
    const QSize misura = sizeHint().boundedTo(area.size() - telaio).expandedTo(minimumSizeHint());
    const QPoint angolo(area.left() + std::max((area.width() - misura.width() - telaio.width()) / 2, 0),
                        area.top() + std::max((area.height() - misura.height() - telaio.height()) / 2, 0));
    setGeometry(QRect(angolo + QPoint(c.left(), c.top()), misura));
}

void FrmMain::moveEvent(QMoveEvent *evento)
{
    QMainWindow::moveEvent(evento);
    // The window manager has framed the window: the first time its frame is
    // known, the whole of it is checked against the screen again.
    if (!m_corniceVista && isVisible() && !cornice(this).isNull()) {
        m_corniceVista = true;
        portaSulloSchermo();
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
    // The widths asked for (designed or dragged), not the ones filling this
    // window's list: the next window fills its own width in proportion.
    s.larghezzeColonne = m_colonne->volute();
    // An empty list was never sorted in this run: its direction says nothing.
    if (LV->numeroRighe() > 0) {
        s.colonnaOrdinamento = v.ColonnaOrdinamento;
        s.ordine = LV->sortOrder();
    }
    ScriviStatoFinestra(m_stato.percorsi.FileIni, s);
}
