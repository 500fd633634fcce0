#pragma once

// Short forms for what many tests repeat: the columns of a data-driven test
// declared and read in one line each, and the check of the one message box
// a test expects.

#include "common/dialoghifinti.h"

#include <QTest>

#include <tuple>

// Declares the columns of a data-driven test, types and names in order:
//     Colonne<QString, bool>("testo", "atteso");
template <typename... T, typename... N>
void Colonne(N... nomi)
{
    static_assert(sizeof...(T) == sizeof...(N), "one name for each type");
    (QTest::addColumn<T>(nomi), ...);
}

// The current row's values of those columns, to unpack:
//     const auto [testo, atteso] = Valori<QString, bool>("testo", "atteso");
template <typename... T, typename... N>
std::tuple<T...> Valori(N... nomi)
{
    static_assert(sizeof...(T) == sizeof...(N), "one name for each type");
    return {*static_cast<T *>(QTest::qData(nomi, qMetaTypeId<T>()))...};
}

// Exactly one box was shown, with this text, icon, buttons and title.
inline void VerificaBox(const DialoghiFinti &d, const QString &testo, Icona icona, Pulsanti pulsanti = Pulsanti::Ok,
                        const QString &titolo = QString())
{
    QCOMPARE(d.boxes().size(), 1);
    const auto box = d.ultimoBox();
    QCOMPARE(box.testo, testo);
    QCOMPARE(box.icona, icona);
    QCOMPARE(box.pulsanti, pulsanti);
    QCOMPARE(box.titolo, titolo);
}
