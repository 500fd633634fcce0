#include "ioconfronto.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
[[noreturn]] void fallisci(const QString &cosa)
{
    std::fprintf(stderr, "I/O di riferimento fallito: %s\n", qPrintable(cosa));
    std::abort();
}
} // namespace

QList<QByteArray> LeggiGrezzi(const QStringList &files)
{
    QList<QByteArray> contenuti;
    for (const QString &nome : files) {
        QFile f(nome);
        if (!f.open(QIODevice::ReadOnly))
            fallisci(nome);
        contenuti.append(f.readAll());
    }
    return contenuti;
}

QStringList LeggiTesto(const QStringList &files)
{
    QStringList righe;
    for (const QString &nome : files) {
        QFile f(nome);
        if (!f.open(QIODevice::ReadOnly))
            fallisci(nome);
        QTextStream testo(&f);
        testo.setEncoding(QStringConverter::Latin1);
        QString riga;
        while (testo.readLineInto(&riga))
            righe.append(riga);
    }
    return righe;
}

void ScriviGrezzi(const QString &cartella, const QList<QByteArray> &contenuti, bool sincronizza)
{
    for (qsizetype i = 0; i < contenuti.size(); ++i) {
        const QString nome = cartella + QStringLiteral("/riferimento%1").arg(i);
        QFile f(nome);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fallisci(nome);
        if (f.write(contenuti[i]) != contenuti[i].size() || !f.flush())
            fallisci(nome);
        if (sincronizza && ::fsync(f.handle()) != 0)
            fallisci(nome);
    }
}

qint64 Byte(const QList<QByteArray> &contenuti)
{
    qint64 n = 0;
    for (const QByteArray &c : contenuti)
        n += c.size();
    return n;
}
