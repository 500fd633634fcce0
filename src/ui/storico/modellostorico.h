#pragma once

#include "movimenti/rigamovimento.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class IndiceMovimenti;

// The lines of the history shown in the history window, one row each, in
// the order given (newest first). A row is read from the index only when
// the view asks for it, that is when it is painted: a history of a million
// lines opens without a million texts being made. The last rows read are
// kept, so painting a row's cells reads its line once.
class ModelloStorico : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Colonna {
        ColData,
        ColCodice,
        ColPrima,
        ColDopo,
        ColDifferenza,
        ColMovimento,
        ColOperazione,
        ColProduttore,
        ColNota,
        ColDettagli,
        NumeroColonne,
    };

    explicit ModelloStorico(const IndiceMovimenti &indice, QObject *parent = nullptr);

    // The lines shown (indexes into the history), in the order of the rows.
    void impostaRighe(std::vector<qint32> righe);
    const std::vector<qint32> &righe() const { return m_righe; }
    // The history line of a row (0-based), -1 for none.
    qint32 rigaStorico(int riga) const;
    // Forgets the rows read (the file was read again).
    void dimentica();

    // The text of a cell, as shown.
    QString testo(int riga, int colonna) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Letta {
        qint32 indice = -1;
        std::array<QString, NumeroColonne> testi;
        QString suggerimento;
    };
    const Letta &leggi(int riga) const;

    const IndiceMovimenti &m_indice;
    std::vector<qint32> m_righe;
    // Rows read, by history line modulo their number.
    mutable std::vector<Letta> m_lette;
};

// The tooltip of a history line: its operation, the note and the details,
// one field a line.
QString SuggerimentoRiga(const RigaMovimento &r);
