#pragma once

#include <QString>
#include <QStringList>

// Starting other programs: always with an argument list, never through a shell, with no window.
class ProcessRunner {
public:
    struct Result {
        bool started = false;
        QString error;  // why the program could not be started
        qint64 id = 0;  // the process number of a detached start

        // Filled by runCaptured only.
        bool finished = false;  // the program ended by itself, within the time-out, without crashing
        int exitCode = -1;      // its exit status, when it finished
        QString output;         // what it wrote to its standard output and error, as it wrote it
    };

    virtual ~ProcessRunner() = default;

    // Runs `program` and returns when it has ended; the window keeps processing events meanwhile.
    virtual Result run(const QString& program, const QStringList& arguments) = 0;

    // Runs `program` and returns when it has ended, with its exit status and what it wrote; after
    // `timeoutMs` it is killed and `error` says so. The window keeps processing events meanwhile.
    virtual Result runCaptured(const QString& program, const QStringList& arguments, int timeoutMs) = 0;

    // Starts `program` and returns at once.
    virtual Result startDetached(const QString& program, const QStringList& arguments) = 0;

    // The full path of an executable found on PATH, or the empty string.
    virtual QString findOnPath(const QString& name) = 0;
};
