#pragma once

#include "copie/copie.h"

#include <QDialog>
#include <QList>

#include <functional>

struct Stato;
class Dialoghi;
class ListaReport;
class QLabel;
class QPushButton;

// What the restore window needs of the main window, given when it opens.
struct AccessoRipristino {
    // Called once the chosen copy's files are in place and loaded into the
    // state, with the copy's date and time as the list shows them: the main
    // window shows the data again, as its load does.
    std::function<void(const QString &quando)> dopoRipristino;
};

// "Ripristina una copia": the dated copies of the data files, newest first,
// with their date and time, number of components and total of pieces.
// "Ripristina" asks for confirmation, keeps the current data as a new copy,
// puts the chosen copy's files in place and loads them; "Annulla" closes
// and changes nothing.
class FrmRipristina : public QDialog {
    Q_OBJECT
public:
    FrmRipristina(Stato &stato, Dialoghi &dialoghi, const AccessoRipristino &accesso,
                  QWidget *parent = nullptr);
    ~FrmRipristina() override;

    // The command of btnRipristina, on the selected row.
    void Ripristina();

    // The text of the date and time of a copy, as the list shows it.
    static QString TestoMomento(const QDateTime &momento);

private:
    void creaControlli();
    void riempiLista();

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    AccessoRipristino m_accesso;
    QList<CopiaDatata> m_copie; // as listed, row r at r - 1

    ListaReport *m_lvc = nullptr;
    QLabel *m_lblSpiegazione = nullptr;
    QPushButton *m_btnRipristina = nullptr;
    QPushButton *m_btnAnnulla = nullptr;
};
