#pragma once

#include "platform/SettingsStore.h"
#include "platform/win32/ProgramSettings.h"

// The settings store of Windows: the application's program-settings area of the user's registry.
class Win32SettingsStore : public SettingsStore {
public:
    explicit Win32SettingsStore(const QString& application = QStringLiteral("Lumivex"))
        : settings_(application.toStdWString())
    {
    }
    QString read(const QString& section, const QString& key, const QString& defaultValue) override;
    bool write(const QString& section, const QString& key, const QString& value,
               QString* error = nullptr) override;

private:
    win32::ProgramSettings settings_;
};
