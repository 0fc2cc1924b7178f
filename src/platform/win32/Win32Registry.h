#pragma once

#include "platform/Registry.h"

// The per-user registry of Windows, through the Win32 body.
class Win32Registry : public Registry {
public:
    bool writeDword(const QString& valuePath, quint32 value, QString& error) override;
};
