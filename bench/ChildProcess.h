#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

// A program started by a benchmark, with its standard output and error in files, waited
// for with its peak memory. Ended with SIGTERM if it still runs when dropped.
class ChildProcess {
public:
    struct Setup {
        QStringList command;               // the program, then its arguments
        QStringList environment;           // NAME=value entries put over the benchmark's own
        QStringList removedVariables;      // names left out of the environment
        QString standardOutput = QStringLiteral("/dev/null");   // empty: the benchmark's own
        QString standardError = QStringLiteral("/dev/null");
    };
    struct Outcome {
        int exitStatus = -1;               // 128 + the signal's number for a program a signal ended
        long peakResidentKilobytes = -1;
    };

    explicit ChildProcess(const Setup& setup);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // The program's resident memory now, in kilobytes; -1 when unknown.
    long residentKilobytes() const;
    Outcome wait();
    Outcome terminate();

private:
    pid_t pid_ = -1;
};

// Starts the command and waits for it.
ChildProcess::Outcome runToEnd(const ChildProcess::Setup& setup);
