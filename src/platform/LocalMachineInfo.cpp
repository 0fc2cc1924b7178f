#include "platform/LocalMachineInfo.h"

#include <QCoreApplication>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

QString LocalMachineInfo::executableFolder()
{
    return QCoreApplication::applicationDirPath();
}

bool LocalMachineInfo::computerName(QString& name)
{
    name = QSysInfo::machineHostName();
    return !name.isEmpty();
}

QString LocalMachineInfo::userName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QString LocalMachineInfo::environment(const QString& name)
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}
