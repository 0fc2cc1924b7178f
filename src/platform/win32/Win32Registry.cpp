#include "platform/win32/Win32Registry.h"

#include "platform/win32/UserRegistry.h"

bool Win32Registry::writeDword(const QString& valuePath, quint32 value, QString& error)
{
    std::wstring why;
    if (win32::WriteDword(valuePath.toStdWString(), value, why))
        return true;
    error = QString::fromStdWString(why);
    return false;
}
