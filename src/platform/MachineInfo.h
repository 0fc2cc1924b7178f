#pragma once

#include <QString>

// What the updater asks about the computer it runs on.
class MachineInfo {
public:
    virtual ~MachineInfo() = default;

    // The folder of the program's executable, without a trailing "/".
    virtual QString executableFolder() = 0;

    // The computer's name; false when the query fails.
    virtual bool computerName(QString& name) = 0;

    // The logged-on user's name; the empty string when the query fails.
    virtual QString userName() = 0;

    // An environment variable's value; the empty string when unset.
    virtual QString environment(const QString& name) = 0;
};
