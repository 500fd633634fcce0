#pragma once

#include <QDialog>
#include <QString>

struct Stato;
class QTextBrowser;

// The window that shows the user manual, Manual/manual.html in the program
// folder. It opens on the main window's outer top-left corner; closing it,
// in whatever way, clears PrimoAvvio.
class FrmManual : public QDialog {
    Q_OBJECT
public:
    FrmManual(Stato &stato, QWidget *finestraPrincipale);

    // The page the window shows.
    static QString PercorsoManuale(const Stato &stato);

    QTextBrowser *WB() const { return m_wb; }

    void done(int risultato) override;

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    void caricaManuale();

    Stato &m_stato;
    QTextBrowser *m_wb = nullptr;
};
