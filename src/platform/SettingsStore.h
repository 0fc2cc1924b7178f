#pragma once

#include <QString>

// The per-user settings store of the application "Lumivex": text values addressed by section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or `defaultValue` when the key is missing.
    virtual QString read(const QString& section, const QString& key, const QString& defaultValue) = 0;

    // Stores the text at once; false with a description when the store cannot be written.
    virtual bool write(const QString& section, const QString& key, const QString& value,
                       QString* error = nullptr) = 0;
};
