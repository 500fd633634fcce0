#pragma once

// Helpers shared by the tests of the data store and of start-up.

#include "store/stato.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

#include <sys/stat.h>

// The folder and every entry below it.
inline QStringList Voci(const QString &cartella)
{
    QDirIterator it(cartella, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    QStringList voci{cartella};
    while (it.hasNext())
        voci << it.next();
    return voci;
}

// Every file (with its bytes) and folder (as "<cartella>") below a folder, by relative path: two snapshots compare
// equal only when nothing changed. A FIFO, device or socket is noted as "<speciale>" without being opened.
inline QMap<QString, QByteArray> Istantanea(const QString &cartella)
{
    QMap<QString, QByteArray> out;
    const QDir base(cartella);
    for (const QString &percorso : Voci(cartella).mid(1)) {
        const QFileInfo info(percorso);
        QFile f(percorso);
        out.insert(base.relativeFilePath(percorso), info.isDir()                  ? QByteArray("<cartella>")
                                                    : !info.isFile()              ? QByteArray("<speciale>")
                                                    : f.open(QIODevice::ReadOnly) ? f.readAll()
                                                                                  : QByteArray("<illeggibile>"));
    }
    return out;
}

// Info.ini as a first start writes it.
inline QByteArray IniPrimoAvvio()
{
    return "[Versione]\r\nVersione=10.2.0 \r\n"
           "[Counter]\r\nNumero Componenti=0\r\nNumero Tipi=0\r\nNumero Produttori=0\r\n"
           "Numero Packages=0\r\nProssimo ID Componente=1\r\nProssimo ID Tipi=1\r\n"
           "Prossimo ID Produttori=1\r\nProssimo ID Package=1\r\n"
           "[Options]\r\nImmagini dimensioni reali=False\r\nSeparatore CSV=,\r\nTema Chiaro=False\r\n"
           "[Custom]\r\nCampo personale 1=Campo Personale 1\r\nCampo personale 2=Campo Personale 2\r\n"
           "Campo personale 3=Campo Personale 3\r\nCampo personale 4=Campo Personale 4\r\n"
           "Campo personale 5=Campo Personale 5\r\nCampo personale 6=Campo Personale 6\r\n";
}

inline QDateTime DataUtc(int a, int m, int g, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(a, m, g), QTime(h, min, s), Qt::UTC);
}

// A small consistent database with the awkward values a file must carry:
// empty texts, negative numbers, commas inside texts, accented letters.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
inline void RiempiStatoDiEsempio(Stato &s)
{
    s.Tipi = {{3, "INTEGRATO"}, {4, "TRANSISTOR, BJT"}};
    s.Produttori = {{5, "ACME"}, {6, "Società Più"}};
    s.Packages = {{2, "DIP8", "Dual in line 8 pin", "dip8.jpg"}, {7, "TO-92", "", ""}};
    s.Componenti = {
        {.ID = 12, .IDProduttore = 5, .IDTipo = 3, .IDPackage = 2, .Pins = 8, .NomeTipo = "INTEGRATO",
         .Codice = "NE555", .CodiceNumerico = 555, .Quantita = 10, .NomeProduttore = "ACME",
         .Descrizione = "Timer di precisione", .Immagine = "NE555.jpg", .DataInserimento = DataUtc(2024, 10, 9)},
        {.ID = 13, .IDProduttore = 6, .IDTipo = 4, .IDPackage = 0, .Pins = -3, .NomeTipo = "TRANSISTOR, BJT",
         .Codice = "BC547B", .CodiceNumerico = 547, .Quantita = -25, .NomeProduttore = "Società Più",
         .Descrizione = "NPN, 45 V; è così", .Datasheet = "bc547.pdf", .Note = "  spazi  ",
         .DataInserimento = DataUtc(1999, 1, 31, 13, 5, 59), .Extra1 = "uno", .Extra6 = "sei, ultimo"}};
    s.NumTipi = s.NumProduttori = s.NumPackages = s.NumComponenti = 2;
    s.ProssimoIDTipo = 5;
    s.ProssimoIDProduttore = 7;
    s.ProssimoIDPackage = 8;
    s.ProssimoIDComponente = 14;
}
#pragma GCC diagnostic pop

// Tables and counters only (paths and flags differ between two states).
inline bool StessiDati(const Stato &a, const Stato &b)
{
    return a.Componenti.mid(0, a.NumComponenti) == b.Componenti.mid(0, b.NumComponenti)
        && a.Tipi.mid(0, a.NumTipi) == b.Tipi.mid(0, b.NumTipi)
        && a.Produttori.mid(0, a.NumProduttori) == b.Produttori.mid(0, b.NumProduttori)
        && a.Packages.mid(0, a.NumPackages) == b.Packages.mid(0, b.NumPackages)
        && a.NumComponenti == b.NumComponenti && a.NumTipi == b.NumTipi
        && a.NumProduttori == b.NumProduttori && a.NumPackages == b.NumPackages
        && a.ProssimoIDComponente == b.ProssimoIDComponente && a.ProssimoIDTipo == b.ProssimoIDTipo
        && a.ProssimoIDProduttore == b.ProssimoIDProduttore && a.ProssimoIDPackage == b.ProssimoIDPackage;
}

// What stat says of the path (zeros when it cannot be read).
inline struct stat StatDi(const QString &percorso)
{
    struct stat st {};
    ::stat(QFile::encodeName(percorso).constData(), &st);
    return st;
}

// "path uid:gid" of the entries (the folder's own too) not of the user and group; the mode of every file into modi.
inline QStringList Proprietari(const QString &cartella, uint utente, uint gruppo, QMap<QString, int> *modi = nullptr)
{
    QStringList diversi;
    for (const QString &percorso : Voci(cartella)) {
        struct stat st {};
        if (::lstat(QFile::encodeName(percorso).constData(), &st) != 0 || st.st_uid != utente || st.st_gid != gruppo)
            diversi << QStringLiteral("%1 %2:%3").arg(percorso).arg(st.st_uid).arg(st.st_gid);
        if (modi && S_ISREG(st.st_mode))
            modi->insert(QDir(cartella).relativeFilePath(percorso), int(st.st_mode & 07777));
    }
    return diversi;
}
