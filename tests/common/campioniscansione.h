#pragma once

// The scanner texts of tests/data/scansioni/campioni.txt by name: one a line, name and text split by a tab, control and
// private-use characters written \xHH and \uHHHH, a backslash \\.

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QString>

#ifndef ARVO_CAMPIONI_SCANSIONI
#error "ARVO_CAMPIONI_SCANSIONI must name the file of the samples"
#endif

inline QString DecodificaCampione(const QString &riga)
{
    static const QRegularExpression fuga(QStringLiteral(R"(\\(x[0-9A-Fa-f]{2}|u[0-9A-Fa-f]{4}|\\))"));
    QString out;
    qsizetype da = 0;
    for (const QRegularExpressionMatch &m : fuga.globalMatch(riga)) {
        const QStringView codice = m.capturedView(1);
        out += QStringView(riga).mid(da, m.capturedStart() - da);
        out += codice == u"\\" ? QChar(u'\\') : QChar(char16_t(codice.mid(1).toUInt(nullptr, 16)));
        da = m.capturedEnd();
    }
    return out += QStringView(riga).mid(da);
}

inline QString Campione(const QString &nome)
{
    static const QHash<QString, QString> campioni = [] {
        QHash<QString, QString> c;
        QFile f(QStringLiteral(ARVO_CAMPIONI_SCANSIONI));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QString &riga : QString::fromUtf8(f.readAll()).split(u'\n')) {
                const qsizetype tab = riga.indexOf(u'\t');
                if (!riga.startsWith(u'#') && tab > 0)
                    c.insert(riga.left(tab), DecodificaCampione(riga.mid(tab + 1)));
            }
        }
        return c;
    }();
    Q_ASSERT_X(campioni.contains(nome), "Campione", qPrintable(nome));
    return campioni.value(nome);
}
