#pragma once

#include "platform/Registry.h"

// The per-user registry kept as an INI file, by default $XDG_CONFIG_HOME/Lumivex/registry.ini. The
// key path below "HKCU\" becomes the group path.
class IniRegistry : public Registry {
public:
    explicit IniRegistry(QString path);
    bool writeDword(const QString& valuePath, quint32 value, QString& error) override;
    const QString& path() const { return path_; }

private:
    QString path_;
};
