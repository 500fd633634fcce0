// Writes a program folder with a generated database:
//   arvo_genera <folder> <number of components>
#include "lib/generatore.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int n = args.size() == 3 ? args[2].toInt(&ok) : 0;
    if (!ok || n < 0) {
        std::fprintf(stderr, "uso: arvo_genera <cartella> <numero componenti>\n");
        return 2;
    }
    if (!GeneraCartella(QDir(args[1]).absolutePath(), n)) {
        std::fprintf(stderr, "impossibile scrivere la cartella %s\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%d componenti scritti in %s\n", n, qPrintable(QDir(args[1]).absolutePath()));
    return 0;
}
