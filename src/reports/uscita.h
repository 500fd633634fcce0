#pragma once

#include "store/cp1252.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// Where a report's text goes while it is written piece by piece: a QString
// (the text, for whoever wants it whole), or straight into the
// Windows-1252 bytes of the file, so that a large report never needs the
// whole text twice and no piece costs more than a copy.
struct UscitaTesto {
    QString &out;
    void operator()(QStringView v) { out.append(v); }
};

class UscitaByte {
public:
    // Starts with room for about `stima` bytes.
    explicit UscitaByte(qsizetype stima) { m_out.resize(qMax<qsizetype>(stima, 256)); }
    void operator()(QStringView v)
    {
        // One character never takes more than one byte.
        if (m_usati + v.size() > m_out.size())
            m_out.resize(qMax(m_out.size() * 2, m_usati + v.size()));
        m_usati = CodificaCp1252In(m_out.data() + m_usati, v) - m_out.constData();
    }
    QByteArray risultato()
    {
        m_out.resize(m_usati);
        return std::move(m_out);
    }

private:
    QByteArray m_out;
    qsizetype m_usati = 0;
};
