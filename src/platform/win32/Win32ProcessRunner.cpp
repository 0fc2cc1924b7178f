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

ProcessRunner::Result Win32ProcessRunner::startDetached(const QString& program, const QStringList& arguments)
{
    return Reported(win32::StartHidden(QDir::toNativeSeparators(program).toStdWString(), Wide(arguments)));
}

QString Win32ProcessRunner::findOnPath(const QString& name)
{
    return QDir::fromNativeSeparators(QString::fromStdWString(win32::FindProgram(name.toStdWString())));
}
