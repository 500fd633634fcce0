#pragma once

// Helpers shared by the tests of the data store and of start-up.

#include "store/stato.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

// Every file (with its bytes) and folder (as "<cartella>") below a folder,
// by relative path: two snapshots compare equal only when nothing changed.
inline QMap<QString, QByteArray> Istantanea(const QString &cartella)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(cartella, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir base(cartella);
    while (it.hasNext()) {
        it.next();
        const QString rel = base.relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            out.insert(rel, "<cartella>");
        } else {
            QFile f(it.filePath());
            out.insert(rel, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<illeggibile>"));
        }
    }
    return out;
}

// Info.ini as a first start writes it.
inline QByteArray IniPrimoAvvio()
{
    return "[Versione]\r\n"
           "Versione=10.2.0 \r\n"
           "[Counter]\r\n"
           "Numero Componenti=0\r\n"
           "Numero Tipi=0\r\n"
           "Numero Produttori=0\r\n"
           "Numero Packages=0\r\n"
           "Prossimo ID Componente=1\r\n"
           "Prossimo ID Tipi=1\r\n"
           "Prossimo ID Produttori=1\r\n"
           "Prossimo ID Package=1\r\n"
           "[Options]\r\n"
           "Immagini dimensioni reali=False\r\n"
           "Separatore CSV=,\r\n"
           "Tema Chiaro=False\r\n"
           "[Custom]\r\n"
           "Campo personale 1=Campo Personale 1\r\n"
           "Campo personale 2=Campo Personale 2\r\n"
           "Campo personale 3=Campo Personale 3\r\n"
           "Campo personale 4=Campo Personale 4\r\n"
           "Campo personale 5=Campo Personale 5\r\n"
           "Campo personale 6=Campo Personale 6\r\n";
}

inline QDateTime DataUtc(int a, int m, int g, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(a, m, g), QTime(h, min, s), Qt::UTC);
}

// A small consistent database with the awkward values a file must carry:
// empty texts, negative numbers, commas inside texts, accented letters.
inline void RiempiStatoDiEsempio(Stato &s)
{
    s.Tipi = {{3, QStringLiteral("INTEGRATO")}, {4, QStringLiteral("TRANSISTOR, BJT")}};
    s.Produttori = {{5, QStringLiteral("ACME")}, {6, QStringLiteral("Società Più")}};
    s.Packages = {{2, QStringLiteral("DIP8"), QStringLiteral("Dual in line 8 pin"), QStringLiteral("dip8.jpg")},
                  {7, QStringLiteral("TO-92"), QString(), QString()}};
    Componente a;
    a.ID = 12;
    a.IDTipo = 3;
    a.IDProduttore = 5;
    a.IDPackage = 2;
    a.Pins = 8;
    a.NomeTipo = QStringLiteral("INTEGRATO");
    a.NomeProduttore = QStringLiteral("ACME");
    a.Codice = QStringLiteral("NE555");
    a.CodiceNumerico = 555;
    a.Descrizione = QStringLiteral("Timer di precisione");
    a.Immagine = QStringLiteral("NE555.jpg");
    a.Quantita = 10;
    a.DataInserimento = DataUtc(2024, 10, 9);
    Componente b;
    b.ID = 13;
    b.IDTipo = 4;
    b.IDProduttore = 6;
    b.IDPackage = 0;
    b.Pins = -3;
    b.NomeTipo = QStringLiteral("TRANSISTOR, BJT");
    b.NomeProduttore = QStringLiteral("Società Più");
    b.Codice = QStringLiteral("BC547B");
    b.CodiceNumerico = 547;
    b.Descrizione = QStringLiteral("NPN, 45 V; è così");
    b.Datasheet = QStringLiteral("bc547.pdf");
    b.Quantita = -25;
    b.Note = QStringLiteral("  spazi  ");
    b.DataInserimento = DataUtc(1999, 1, 31, 13, 5, 59);
    b.Extra1 = QStringLiteral("uno");
    b.Extra6 = QStringLiteral("sei, ultimo");
    s.Componenti = {a, b};
    s.NumTipi = 2;
    s.NumProduttori = 2;
    s.NumPackages = 2;
    s.NumComponenti = 2;
    s.ProssimoIDTipo = 5;
    s.ProssimoIDProduttore = 7;
    s.ProssimoIDPackage = 8;
    s.ProssimoIDComponente = 14;
}

// Tables and counters only (paths and flags differ between two states).
inline bool StessiDati(const Stato &a, const Stato &b)
{
    return a.Componenti.mid(0, a.NumComponenti) == b.Componenti.mid(0, b.NumComponenti)
        && a.Tipi.mid(0, a.NumTipi) == b.Tipi.mid(0, b.NumTipi)
        && a.Produttori.mid(0, a.NumProduttori) == b.Produttori.mid(0, b.NumProduttori)
        && a.Packages.mid(0, a.NumPackages) == b.Packages.mid(0, b.NumPackages)
        && a.NumComponenti == b.NumComponenti && a.NumTipi == b.NumTipi
        && a.NumProduttori == b.NumProduttori && a.NumPackages == b.NumPackages
        && a.ProssimoIDComponente == b.ProssimoIDComponente
        && a.ProssimoIDTipo == b.ProssimoIDTipo
        && a.ProssimoIDProduttore == b.ProssimoIDProduttore
        && a.ProssimoIDPackage == b.ProssimoIDPackage;
}
