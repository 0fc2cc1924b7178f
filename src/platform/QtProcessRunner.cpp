#include "platform/QtProcessRunner.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>

ProcessRunner::Result QtProcessRunner::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());

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
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
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
