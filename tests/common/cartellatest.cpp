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

QByteArray RigheCrLf(std::initializer_list<const char *> righe)
{
    QByteArray out;
    for (const char *r : righe) {
        out += r;
        out += "\r\n";
    }
    return out;
}
