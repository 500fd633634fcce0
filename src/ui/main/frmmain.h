#pragma once

#include <QMainWindow>

struct Stato;
class Dialoghi;

// The program's main window.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(Stato &stato, Dialoghi &dialoghi, QWidget *parent = nullptr);

private:
    Stato &m_stato;
    Dialoghi &m_dialoghi;
};
