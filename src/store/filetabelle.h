#pragma once

#include "store/records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The text form of the four table files: one record per line, fields
// separated by commas, numbers in decimal, texts between double quotes,
// dates between number signs (#yyyy-mm-dd#, with " hh:mm:ss" when a time of
// day is present), Windows-1252 bytes, CR LF after every line.
//
// Writers take positions 1 to num (num below 1: none; num must not exceed
// the list); a large table is written by two threads, one half each. Readers read exactly num records (none when num is below 1) and
// return false when the data runs out first or a value cannot be stored
// (a number beyond 32 bits, a damaged date); lines after the last counted
// record are ignored.

QByteArray TestoComponenti(const QList<Componente> &tabella, qint32 num);
QByteArray TestoTipi(const QList<Tipo> &tabella, qint32 num);
QByteArray TestoProduttori(const QList<Produttore> &tabella, qint32 num);
QByteArray TestoPackages(const QList<Package> &tabella, qint32 num);

//
// Data of sogliaParallelo bytes or more is read by two threads at once, with
// the same result as one reading from the start (tests lower the threshold
// to check exactly that).

inline constexpr qsizetype SogliaLetturaParallela = 2 * 1024 * 1024;

bool LeggiComponenti(QByteArrayView dati, qint32 num, QList<Componente> *tabella,
                     qsizetype sogliaParallelo = SogliaLetturaParallela);
bool LeggiTipi(QByteArrayView dati, qint32 num, QList<Tipo> *tabella,
               qsizetype sogliaParallelo = SogliaLetturaParallela);
bool LeggiProduttori(QByteArrayView dati, qint32 num, QList<Produttore> *tabella,
                     qsizetype sogliaParallelo = SogliaLetturaParallela);
bool LeggiPackages(QByteArrayView dati, qint32 num, QList<Package> *tabella,
                   qsizetype sogliaParallelo = SogliaLetturaParallela);

// Whether the data holds more than limite whole records (a negative limite
// counts as 0), and then how many in *trovati: records are read from the
// start until the data runs out or one cannot be read; blanks and line ends
// at the end count for nothing.
enum class TabellaFile { Componenti, Tipi, Produttori, Packages };
bool PiuRecordDi(QByteArrayView dati, TabellaFile tabella, qint32 limite, qint32 *trovati);
