#pragma once

#include "store/records.h"

#include <QList>
#include <QString>
#include <array>
#include <memory>

class QTemporaryDir;

// The folder layout of the program folder. Folder paths end with "/", so a
// file name is appended directly; PercorsoApp has no trailing separator.
struct Percorsi {
    QString PercorsoApp;
    QString FileIni;
    QString FileIniBackup;
    QString FileComponenti;
    QString FileTipi;
    QString FileProduttori;
    QString FilePackages;
    // The stock history (movimenti/rigamovimento.h).
    QString FileMovimenti;
    QString BackupComponenti;
    QString BackupTipi;
    QString BackupProduttori;
    QString BackupPackages;
    QString CartellaDatasheet;
    QString CartellaPics;
    QString CartellaPackages;
    QString CartellaEsportati;
    QString CartellaStampe;
    QString CartellaBackup;
    // The folder of the program's own read-only files (Manual/, back.jpg,
    // Sumatra/): the program folder itself, or an installation's share folder
    // when the database lives elsewhere.
    QString CartellaRisorse;
    // The outside PDF viewer's path followed by one blank.
    QString ComandoPDF;

    // Every path built from the program folder (given with or without a
    // trailing separator); the program's own files are read from
    // cartellaRisorse when one is given, else from the program folder.
    static Percorsi DaCartella(const QString &cartellaProgramma,
                               const QString &cartellaRisorse = QString());
};

// The custom field that holds the minimum stock when Info.ini names none.
inline constexpr int CampoMinimoPredefinito = 1;

// Program-wide state: the four tables with their counts and next IDs, the
// settings of Info.ini, the paths and the flags shared between windows.
// The application owns exactly one; tests build a fresh one per case.
//
// Tables are stored 0-based but addressed 1-based everywhere the program
// shows or passes a position (list cells, lookups, PosCorrente); the
// accessors below are the one place where the two meet. Only positions 1 to
// the count are valid; the storage may hold more slots than the count.
struct Stato {
    // Tables.
    QList<Componente> Componenti;
    QList<Tipo> Tipi;
    QList<Produttore> Produttori;
    QList<Package> Packages;

    // Counts and next IDs (persisted in Info.ini).
    qint32 NumComponenti = 0;
    qint32 NumTipi = 0;
    qint32 NumProduttori = 0;
    qint32 NumPackages = 0;
    qint32 ProssimoIDComponente = 1;
    qint32 ProssimoIDTipo = 1;
    qint32 ProssimoIDProduttore = 1;
    qint32 ProssimoIDPackage = 1;

    // Sum of Quantita over the components; 64-bit so a large stock never
    // overflows.
    qint64 TotalePezzi = 0;

    // Settings.
    QString Versione;
    bool ImmaginiReali = false;
    QString SeparatoreCSV = QStringLiteral(",");
    bool TemaChiaro = false;
    std::array<QString, 7> Etichette; // indices 1 to 6; [0] unused
    // Settings of the optional features, each in an Info.ini section of its
    // own (store/iniestensioni.h): the custom field (1-6) that holds a
    // component's minimum stock, and whether the search also looks at the
    // description.
    int CampoMinimo = CampoMinimoPredefinito;
    bool CercaDescrizione = false;
    // The custom field (1-6) that tells where a component is kept, shown as
    // a column of the main list and on the labels; 0 = none.
    int CampoPosizione = 0;

    // Paths and shared flags.
    Percorsi percorsi;
    bool PrimoAvvio = false;
    bool TabelleModificate = false;
    // The folder is held by another running copy and was opened only to be
    // looked at: nothing may be written into it.
    bool SolaLettura = false;
    // Where the listings and exports of a read-only start go instead of the
    // folder's own Stampe and Exported (percorsi points there); removed with
    // the last copy of the state that holds it.
    std::shared_ptr<QTemporaryDir> CartellaTemporanea;

    // 1-based access to the tables.
    Componente &componente(qint32 pos) { return Componenti[pos - 1]; }
    const Componente &componente(qint32 pos) const { return Componenti[pos - 1]; }
    Tipo &tipo(qint32 pos) { return Tipi[pos - 1]; }
    const Tipo &tipo(qint32 pos) const { return Tipi[pos - 1]; }
    Produttore &produttore(qint32 pos) { return Produttori[pos - 1]; }
    const Produttore &produttore(qint32 pos) const { return Produttori[pos - 1]; }
    Package &package(qint32 pos) { return Packages[pos - 1]; }
    const Package &package(qint32 pos) const { return Packages[pos - 1]; }
};

// Version texts of the program.
inline const QString VersioneDati = QStringLiteral("10.2.0 ");          // Info.ini and listing footer
inline const QString VersioneEstesa = QStringLiteral("10.2.0 - 09/10/24"); // caption and welcome message
