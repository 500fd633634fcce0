#pragma once

// The scanner texts of tests/data/scansioni/campioni.txt by name: one a line, name and text split by a tab, control and
// private-use characters written \xHH and \uHHHH, a backslash \\.

#include <QFile>
#include <QHash>
#include <QString>

#ifndef ARVO_CAMPIONI_SCANSIONI
#error "ARVO_CAMPIONI_SCANSIONI must name the file of the samples"
#endif

inline QString DecodificaCampione(QStringView riga)
{
    QString out;
    for (qsizetype i = 0; i < riga.size(); ++i) {
        if (riga[i] != u'\\' || i + 1 >= riga.size()) {
            out += riga[i];
            continue;
        }
        const QChar tipo = riga[++i];
        const int cifre = tipo == u'x' ? 2 : tipo == u'u' ? 4 : 0;
        if (cifre == 0) {
            out += tipo;
            continue;
        }
        out += QChar(char16_t(riga.mid(i + 1, cifre).toUInt(nullptr, 16)));
        i += cifre;
    }
    return out;
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
                    c.insert(riga.left(tab), DecodificaCampione(QStringView(riga).mid(tab + 1)));
            }
        }
        return c;
    }();
    Q_ASSERT_X(campioni.contains(nome), "Campione", qPrintable(nome));
    return campioni.value(nome);
}
