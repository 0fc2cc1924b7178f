#include "platform/win32/Win32ProcessRunner.h"

#include "platform/win32/HiddenProcess.h"

#include <QCoreApplication>
#include <QDir>

namespace {

std::vector<std::wstring> Wide(const QStringList& arguments)
{
    std::vector<std::wstring> wide;
    for (const QString& argument : arguments) wide.push_back(argument.toStdWString());
    return wide;
}

ProcessRunner::Result Reported(const win32::ProcessOutcome& outcome)
{
    ProcessRunner::Result result;
    result.started = outcome.started;
    result.error = QString::fromStdWString(outcome.error);
    result.id = outcome.taskId;
    return result;
}

}  // namespace

ProcessRunner::Result Win32ProcessRunner::run(const QString& program, const QStringList& arguments)
{
    return Reported(win32::RunHidden(QDir::toNativeSeparators(program).toStdWString(), Wide(arguments), -1,
                                     [] { QCoreApplication::processEvents(); }));
}

ProcessRunner::Result Win32ProcessRunner::runCaptured(const QString& program, const QStringList& arguments,
                                                      int timeoutMs)
{
    const win32::ProcessOutcome outcome =
        win32::RunHidden(QDir::toNativeSeparators(program).toStdWString(), Wide(arguments), timeoutMs,
                         [] { QCoreApplication::processEvents(); });
    Result result = Reported(outcome);
    result.finished = outcome.finished;
    result.exitCode = outcome.finished ? int(outcome.exitCode) : -1;
    result.output = QString::fromLocal8Bit(outcome.output.data(), qsizetype(outcome.output.size()));
    if (outcome.started && !outcome.finished && result.error.isEmpty())
        result.error = QStringLiteral("program nije završio u %1 s pa je prekinut").arg(timeoutMs / 1000.0);
    return result;
}

ProcessRunner::Result Win32ProcessRunner::startDetached(const QString& program, const QStringList& arguments)
{
    return Reported(win32::StartHidden(QDir::toNativeSeparators(program).toStdWString(), Wide(arguments)));
}

QString Win32ProcessRunner::findOnPath(const QString& name)
{
    return QDir::fromNativeSeparators(QString::fromStdWString(win32::FindProgram(name.toStdWString())));
}
