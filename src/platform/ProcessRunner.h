#pragma once

#include <QString>
#include <QStringList>

// Starting other programs: always with an argument list, never through a shell, with no window.
class ProcessRunner {
public:
    struct Result {
        bool started = false;
        QString error;  // why the program could not be started, or did not end by itself
        qint64 id = 0;  // its process number

        // How a program that was waited for ended (run, runCaptured).
        bool finished = false;  // it ended by itself, within the time-out, without crashing
        int exitCode = -1;      // its exit status, when it finished
        QString output;         // runCaptured: what it wrote to its standard output and error, in order
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
