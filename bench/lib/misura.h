#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Timing helpers of the benchmark: every figure is the median of several
// runs, wall-clock time beside the processor time of the process (the
// processor time is the steadier one on a machine shared with other work;
// a large gap between the two shows waiting, for the disk or for a core).

struct Tempo {
    double muro = 0; // wall clock, ms
    double cpu = 0;  // processor time of the whole process, ms
    bool valido = false;
};

// Processor time used by the process so far, in ms.
double TempoCpuMs();

// Runs prepara() (not timed) then lavoro() (timed) `volte` times and returns
// the medians of the wall and processor times. Pending events are handled
// before each run (not timed) and after each run (timed: a window's
// drawing after a change is part of the change).
Tempo Misura(int volte, const std::function<void()> &prepara, const std::function<void()> &lavoro);
Tempo Misura(int volte, const std::function<void()> &lavoro);

// Median of a list of values (0 for an empty list).
double Mediana(QList<double> valori);

// Peak resident memory of the process so far (getrusage ru_maxrss), in MB.
double PiccoMemoriaMB();
// Resident memory right now (/proc/self/statm), in MB.
double MemoriaAttualeMB();

// Says on standard error why the benchmark cannot go on ("errore: ...") and ends it with status 1.
[[noreturn]] void fallisci(const char *perche);
