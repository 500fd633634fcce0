#include "misura.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

double TempoCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Mediana(QList<double> valori)
{
    if (valori.isEmpty())
        return 0;
    std::sort(valori.begin(), valori.end());
    const qsizetype n = valori.size();
    return n % 2 ? valori[n / 2] : (valori[n / 2 - 1] + valori[n / 2]) / 2;
}

Tempo Misura(int volte, const std::function<void()> &prepara, const std::function<void()> &lavoro)
{
    QList<double> muro, cpu;
    for (int i = 0; i < volte; ++i) {
        if (prepara)
            prepara();
        QCoreApplication::processEvents();
        const double c = TempoCpuMs();
        QElapsedTimer t;
        t.start();
        lavoro();
        QCoreApplication::processEvents();
        muro.append(double(t.nsecsElapsed()) / 1e6);
        cpu.append(TempoCpuMs() - c);
    }
    return {Mediana(muro), Mediana(cpu), volte > 0};
}

Tempo Misura(int volte, const std::function<void()> &lavoro)
{
    return Misura(volte, {}, lavoro);
}

double PiccoMemoriaMB()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_maxrss) / 1024.0; // kB on Linux
}

double MemoriaAttualeMB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> campi = f.readAll().split(' ');
    if (campi.size() < 2)
        return 0;
    return campi[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void fallisci(const char *perche)
{
    std::fprintf(stderr, "errore: %s\n", perche);
    std::exit(1);
}
