#include "common/cartellatest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CartellaTest::CartellaTest() : m_dir(QDir::tempPath() + QStringLiteral("/arvo-test-XXXXXX")) {}

void CartellaTest::scrivi(const QString &nome, const QByteArray &byte) const
{
    const QString percorso = file(nome);
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    QFile f(percorso);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(byte);
}

QByteArray CartellaTest::leggi(const QString &nome) const
{
    QFile f(file(nome));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool CartellaTest::esiste(const QString &nome) const
{
    return QFileInfo::exists(file(nome));
}

QMap<QString, QByteArray> CartellaTest::dati(const QString &sotto) const
{
    QMap<QString, QByteArray> d;
    for (const char *f : {"Componenti.dat", "Tipi.dat", "Produttori.dat", "Packages.dat", "Info.ini"})
        d.insert(QLatin1String(f), leggi(sotto.isEmpty() ? QLatin1String(f) : sotto + QLatin1Char('/') + QLatin1String(f)));
    return d;
}

QByteArray RigheCrLf(std::initializer_list<const char *> righe)
{
    QByteArray out;
    for (const char *r : righe) {
        out += r;
        out += "\r\n";
    }
    return out;
}
