#include "platform/win32/Win32SettingsStore.h"

QString Win32SettingsStore::read(const QString& section, const QString& key, const QString& defaultValue)
{
    return QString::fromStdWString(
        settings_.read(section.toStdWString(), key.toStdWString(), defaultValue.toStdWString()));
}

bool Win32SettingsStore::write(const QString& section, const QString& key, const QString& value,
                               QString* error)
{
    std::wstring why;
    if (settings_.write(section.toStdWString(), key.toStdWString(), value.toStdWString(), why))
        return true;
    if (error)
        *error = QString::fromStdWString(why);
    return false;
}
