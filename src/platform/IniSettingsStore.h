#pragma once

#include "platform/SettingsStore.h"

// The settings store kept as an INI file, by default $XDG_CONFIG_HOME/Lumivex.ini
// (~/.config/Lumivex.ini); sections are the file's groups.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(QString path);

    // $XDG_CONFIG_HOME (or ~/.config) followed by `relative`.
    static QString userFile(const QString& relative);

    QString read(const QString& section, const QString& key, const QString& defaultValue) override;
    bool write(const QString& section, const QString& key, const QString& value,
               QString* error = nullptr) override;

    const QString& path() const { return path_; }

private:
    QString path_;
};
