#pragma once

// A test main that runs the window tests on one offscreen screen of a given
// size, as a laptop's: the offscreen platform reads its screens from a JSON
// file named in the platform's options.

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#define MAIN_SU_SCHERMO(Classe, larghezza, altezza)                                                         \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        QTemporaryDir cartella;                                                                              \
        const QString config = cartella.filePath(QStringLiteral("schermo.json"));                            \
        QFile f(config);                                                                                     \
        if (!f.open(QIODevice::WriteOnly))                                                                   \
            return 2;                                                                                        \
        f.write(QStringLiteral("{\"screens\": [{\"name\": \"laptop\", \"x\": 0, \"y\": 0, \"width\": %1, "     \
                               "\"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")   \
                    .arg(larghezza)                                                                          \
                    .arg(altezza)                                                                            \
                    .toUtf8());                                                                              \
        f.close();                                                                                           \
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toUtf8());                   \
        QApplication app(argc, argv);                                                                        \
        if (QGuiApplication::primaryScreen()->geometry() != QRect(0, 0, larghezza, altezza))                 \
            qFatal("the offscreen screen is not %dx%d", larghezza, altezza);                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        Classe prova;                                                                                        \
        return QTest::qExec(&prova, argc, argv);                                                             \
    }
