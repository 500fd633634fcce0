#include "store/stato.h"

#include <QDir>

namespace {

QString senzaSeparatoreFinale(const QString &cartella)
{
    QString c = QDir::fromNativeSeparators(cartella);
    while (c.size() > 1 && c.endsWith(QLatin1Char('/')))
        c.chop(1);
    return c;
}

} // namespace

Percorsi Percorsi::DaCartella(const QString &cartellaProgramma, const QString &cartellaRisorse)
{
    Percorsi p;
    const QString app = senzaSeparatoreFinale(cartellaProgramma);
    p.PercorsoApp = app;
    const QString base = app + QLatin1Char('/');
    p.FileIni = base + QStringLiteral("Info.ini");
    p.FileIniBackup = base + QStringLiteral("Backups/Info.ini");
    p.FileComponenti = base + QStringLiteral("Componenti.dat");
    p.FileTipi = base + QStringLiteral("Tipi.dat");
    p.FileProduttori = base + QStringLiteral("Produttori.dat");
    p.FilePackages = base + QStringLiteral("Packages.dat");
    p.FileMovimenti = base + QStringLiteral("Movimenti.csv");
    p.CartellaBackup = base + QStringLiteral("Backups/");
    p.BackupComponenti = p.CartellaBackup + QStringLiteral("Componenti.dat");
    p.BackupTipi = p.CartellaBackup + QStringLiteral("Tipi.dat");
    p.BackupProduttori = p.CartellaBackup + QStringLiteral("Produttori.dat");
    p.BackupPackages = p.CartellaBackup + QStringLiteral("Packages.dat");
    p.CartellaDatasheet = base + QStringLiteral("Datasheet/");
    p.CartellaPics = base + QStringLiteral("Pics/");
    p.CartellaPackages = base + QStringLiteral("Packages/");
    p.CartellaEsportati = base + QStringLiteral("Exported/");
    p.CartellaStampe = base + QStringLiteral("Stampe/");
    p.CartellaRisorse =
        (cartellaRisorse.isEmpty() ? app : senzaSeparatoreFinale(cartellaRisorse)) + QLatin1Char('/');
    p.ComandoPDF = p.CartellaRisorse + QStringLiteral("Sumatra/SumatraPDF.exe ");
    return p;
}
