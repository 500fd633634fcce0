// Display options: picture mode, colour theme and CSV separator, with the
// menu check marks and the pressed toolbar button always agreeing with the
// settings; and the manual.

#include "ui/main/frmmain.h"

#include "store/stato.h"
#include "ui/aux/frmmanual.h"
#include "ui/widgets/listareport.h"
#include "ui/widgets/tavolozza.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>

namespace {

void coloraSfondo(QWidget *w, const QColor &sfondo)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, sfondo);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void coloraCornice(QGroupBox *cornice, const QColor &testo, const QColor &sfondo)
{
    QPalette p = cornice->palette();
    p.setColor(QPalette::WindowText, testo);
    p.setColor(QPalette::Window, sfondo);
    cornice->setPalette(p);
}

} // namespace

void FrmMain::ApplicaTema()
{
    // The whole program first (menus, toolbar, status bar, the other
    // windows); then this window's own colours over it.
    ApplicaTavolozza(m_stato.TemaChiaro);
    const QColor facciaPulsanti = QApplication::palette().color(QPalette::Button);
    if (m_stato.TemaChiaro) {
        coloraSfondo(centralWidget(), facciaPulsanti);
        LV->impostaColori(QColor(255, 255, 248), QColor(0, 0, 0));
        coloraCornice(fmDati, QColor(0, 0, 0), facciaPulsanti);
        coloraCornice(fmImm, QColor(0, 0, 0), facciaPulsanti);
    } else {
        coloraSfondo(centralWidget(), QColor(0, 0, 0));
        LV->impostaColori(QColor(64, 64, 64), QColor(255, 255, 255));
        coloraCornice(fmDati, QColor(255, 240, 16), QColor(0, 0, 0));
        coloraCornice(fmImm, QColor(255, 240, 16), QColor(0, 0, 0));
    }
    applicaColoriScorta();
}

void FrmMain::aggiornaSpunteOpzioni()
{
    const bool reali = m_stato.ImmaginiReali;
    mnuImgReal->setChecked(reali);
    mnuImgMod->setChecked(!reali);
    mnuCSV1->setChecked(m_stato.SeparatoreCSV == QLatin1String(","));
    mnuCSV2->setChecked(m_stato.SeparatoreCSV == QLatin1String(";"));
    mnuLight->setChecked(m_stato.TemaChiaro);
    mnuDark->setChecked(!m_stato.TemaChiaro);
    bottone(QStringLiteral("imgstd"))->setChecked(reali);
    bottone(QStringLiteral("imgrid"))->setChecked(!reali);
    aggiornaSpunteEstese();
}

void FrmMain::impostaImmaginiReali(bool reali)
{
    m_stato.ImmaginiReali = reali;
    aggiornaSpunteOpzioni();
    // Redraw the shown picture in the new mode. With no picture the path is
    // the bare folder, which leaves the box empty.
    if (v.PosCorrente >= 1 && v.PosCorrente <= m_stato.NumComponenti)
        MostraImmagine(m_stato.percorsi.CartellaPics + m_stato.componente(v.PosCorrente).Immagine);
}

void FrmMain::impostaTema(bool chiaro)
{
    m_stato.TemaChiaro = chiaro;
    aggiornaSpunteOpzioni();
    ApplicaTema();
}

void FrmMain::impostaSeparatore(const QString &separatore)
{
    m_stato.SeparatoreCSV = separatore;
    aggiornaSpunteOpzioni();
}

void FrmMain::ApriManuale()
{
    // Modal over the main window; closing it clears PrimoAvvio.
    FrmManual manuale(m_stato, this);
    manuale.exec();
}
