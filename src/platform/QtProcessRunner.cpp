#include "platform/QtProcessRunner.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>
#include <csignal>

namespace {

// Starts `process` and waits in an event loop until it ends or `timeoutMs` passes (-1: no limit).
// True when it was started; `result` then holds its process number and how it ended. With `ownGroup`
// the process leads a process group of its own, ended whole at the time-out.
bool startAndWait(QProcess& process, int timeoutMs, ProcessRunner::Result& result, bool ownGroup = false)
{
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    process.start();
    if (!process.waitForStarted(-1)) {
        result.error = process.errorString();
        return false;
    }
    result.started = true;
    result.id = process.processId();

    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    if (timeoutMs >= 0)
        deadline.start(timeoutMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec();

    if (timedOut && process.state() != QProcess::NotRunning) {
        // The program may have started others (a script starting Wine): the whole group is ended.
        if (ownGroup)
            ::kill(-pid_t(result.id), SIGKILL);
        process.kill();
        process.waitForFinished(-1);
        result.error = QStringLiteral("program nije završio u %1 s pa je prekinut").arg(timeoutMs / 1000.0);
    } else if (process.exitStatus() == QProcess::CrashExit) {
        result.error = QStringLiteral("program se srušio");
    } else {
        result.finished = true;
        result.exitCode = process.exitCode();
    }
    return true;
}

// A process of `program` that reads nothing; unless `captureOutput`, what it writes goes nowhere.
void prepare(QProcess& process, const QString& program, const QStringList& arguments, bool captureOutput)
{
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (captureOutput) {
        process.setProcessChannelMode(QProcess::MergedChannels);
    } else {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
}

}  // namespace

ProcessRunner::Result QtProcessRunner::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    prepare(process, program, arguments, false);
    Result result;
    startAndWait(process, -1, result);
    return result;
}

ProcessRunner::Result QtProcessRunner::runCaptured(const QString& program, const QStringList& arguments,
                                                   int timeoutMs)
{
    QProcess process;
    prepare(process, program, arguments, true);
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    Result result;
    if (startAndWait(process, timeoutMs, result, true))
        result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return result;
}

ProcessRunner::Result QtProcessRunner::startDetached(const QString& program, const QStringList& arguments)
{
    QProcess process;
    prepare(process, program, arguments, false);
    Result result;
    qint64 pid = 0;
    result.started = process.startDetached(&pid);
    result.id = pid;
    if (!result.started)
        result.error = process.errorString();
    return result;
}

QString QtProcessRunner::findOnPath(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}
