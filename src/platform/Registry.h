#pragma once

#include <QString>

// The per-user registry: only whole-number (REG_DWORD) values are written.
class Registry {
public:
    virtual ~Registry() = default;

    // `valuePath` is a full path beginning with "HKCU\", the last part naming the value. Missing keys
    // are created. False with a description when the value cannot be written.
    virtual bool writeDword(const QString& valuePath, quint32 value, QString& error) = 0;
};
