#pragma once

#include "importa/importazione.h"

#include <QDialog>

struct Stato;
class Dialoghi;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// The preview of a CSV import (frmImporta): how many components the file
// adds, which quantities it raises, the lines that cannot be read with
// their number and reason, the lines that match several stored components
// (with those components), the types, manufacturers and packages it would
// create, and one choice for the codes already stored. "Importa" carries it
// out in one save and closes the window (accepted); "Annulla", Esc or the
// close box change nothing.
class FrmImporta : public QDialog {
    Q_OBJECT
public:
    // At most this many unreadable lines, and ambiguous ones, are listed one
    // by one; of each ambiguous line at most CandidatiMostrati components.
    static constexpr int ErroriMostrati = 1000;
    static constexpr int CandidatiMostrati = 10;

    FrmImporta(Stato &stato, Dialoghi &dialoghi, LetturaCSV lettura, const QString &nomeFile,
               QWidget *parent = nullptr);

    const PianoImportazione &piano() const { return m_piano; }
    CodiciEsistenti scelta() const;

private:
    void aggiornaPiano();
    void importa();

    Stato &m_stato;
    Dialoghi &m_dialoghi;
    LetturaCSV m_lettura;
    QString m_nomeFile;
    PianoImportazione m_piano;

    QLabel *lblFile = nullptr;
    QLabel *lblConteggio = nullptr;
    QLabel *lblIgnorate = nullptr;
    QListWidget *lstErrori = nullptr;
    QLabel *lblAmbigue = nullptr;
    QListWidget *lstAmbigue = nullptr;
    QListWidget *lstNuoveVoci = nullptr;
    QRadioButton *optAggiungi = nullptr, *optSalta = nullptr, *optSomma = nullptr;
    QPushButton *btnImporta = nullptr, *btnAnnullaImporta = nullptr;
};
