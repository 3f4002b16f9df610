#pragma once

#include <QString>

// One settings write into a settings file of the largest size the program accepts (4 MiB) made
// of short lines: its time and the memory it takes beyond what the process held before,
// measured in child processes started as
//   bench_corvane --write-child <file> <value>
// which print "write <ms>", "floor <ms>", "extra <KiB>", "writecpu <ms>" and "floorcpu <ms>".
namespace BenchWrite {

struct Figures {
    bool ok = false;
    QString error;
    double writeMs = -1;    // median of the runs
    double floorMs = -1;    // the same bytes saved whole with QSaveFile, for scale
    double extraMiB = -1;   // peak resident memory above the resident memory before the write
    double writeCpuMs = -1; // the write and its floor in CPU time, which the machine's load
    double floorCpuMs = -1; // cannot inflate
    double fileMiB = 0;
};

// Lays the file in directory and measures `runs` writes, one child process each.
Figures measure(const QString &directory, int runs);

int runChild(int argc, char *argv[]);

} // namespace BenchWrite
