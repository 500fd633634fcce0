#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The four record types of the database. "Long" fields are 32-bit signed
// integers, as stored in the table files.

// One electronic component in stock. Fields in declaration order; the order
// of Componenti.dat differs and is fixed by the table-file code.
struct Componente {
    qint32 ID = 0;
    qint32 IDProduttore = 0;
    qint32 IDTipo = 0;
    qint32 IDPackage = 0;
    qint32 Pins = 0;
    QString NomeTipo;
    QString Codice;
    qint32 CodiceNumerico = 0;
    qint32 Quantita = 0;
    QString NomeProduttore;
    QString Descrizione;
    QString Datasheet;
    QString Immagine;
    QString Note;
    // Calendar date, with a time of day only when one was stored (a time of
    // 00:00:00 means "date only"). Kept in UTC so that no value is ever
    // shifted or made invalid by daylight-saving rules.
    QDateTime DataInserimento;
    QString Extra1;
    QString Extra2;
    QString Extra3;
    QString Extra4;
    QString Extra5;
    QString Extra6;

    bool operator==(const Componente &) const = default;
};

// A component category.
struct Tipo {
    qint32 ID = 0;
    QString Nome;
    bool operator==(const Tipo &) const = default;
};

// A manufacturer.
struct Produttore {
    qint32 ID = 0;
    QString Nome;
    bool operator==(const Produttore &) const = default;
};

// A case or footprint.
struct Package {
    qint32 ID = 0;
    QString Nome;
    QString Descrizione;
    QString Immagine;
    bool operator==(const Package &) const = default;
};
