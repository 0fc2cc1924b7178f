#include "platform/win32/Win32MachineInfo.h"

#include "platform/win32/MachineNames.h"

#include <QDir>

QString Win32MachineInfo::executableFolder()
{
    return QDir::fromNativeSeparators(QString::fromStdWString(win32::ExecutableFolder()));
}

bool Win32MachineInfo::computerName(QString& name)
{
    std::wstring found;
    if (!win32::ComputerName(found))
        return false;
    name = QString::fromStdWString(found);
    return true;
}

QString Win32MachineInfo::userName()
{
    return QString::fromStdWString(win32::UserName());
}

QString Win32MachineInfo::environment(const QString& name)
{
    return QString::fromStdWString(win32::EnvironmentVariable(name.toStdWString()));
}
