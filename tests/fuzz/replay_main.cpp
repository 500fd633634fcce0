// Runs a fuzz target over stored inputs, so that the corpus (and every input
// that once made a target fail) is replayed as an ordinary test.
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione);

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int eseguiti = 0;
    for (int i = 1; i < argc; ++i) {
        const QString radice = QString::fromLocal8Bit(argv[i]);
        QStringList file;
        if (QFileInfo(radice).isDir()) {
            QDirIterator it(radice, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                file << it.next();
        } else {
            file << radice;
        }
        file.sort();
        for (const QString &f : file) {
            QFile in(f);
            if (!in.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(f));
                return 1;
            }
            const QByteArray b = in.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(b.constData()),
                                   static_cast<size_t>(b.size()));
            ++eseguiti;
        }
    }
    std::printf("%d inputs replayed\n", eseguiti);
    return eseguiti > 0 ? 0 : 1;
}
