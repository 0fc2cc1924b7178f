#include "platform/QtProcessRunner.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The tools the updater starts read nothing and their output is not used: all three streams are
// the null device.
void prepare(QProcess& process, const QString& program, const QStringList& arguments)
{
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
}

}  // namespace

ProcessRunner::Result QtProcessRunner::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    prepare(process, program, arguments);

    Result result;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    process.start();
    if (!process.waitForStarted(-1)) {
        result.error = process.errorString();
        return result;
    }
    result.started = true;
    result.id = process.processId();
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return result;
}

ProcessRunner::Result QtProcessRunner::startDetached(const QString& program, const QStringList& arguments)
{
    QProcess process;
    prepare(process, program, arguments);
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
