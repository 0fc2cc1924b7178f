#pragma once

#include <QString>

// One updater at a time on an installation: a lock in the program folder that the process holds
// for its whole life. A lock left behind by a process that has died counts as free, so a crash or
// a kill never keeps the next start out.
class InstanceLock {
public:
    enum class Result {
        Acquired,       // this process holds the installation now
        HeldByAnother,  // a living updater holds it
        Failed,         // the lock could not be made (e.g. the folder cannot be written); `error` says why
    };

    virtual ~InstanceLock() = default;

    // Takes the lock of the installation in `folder` without waiting.
    virtual Result acquire(const QString& folder, QString& error) = 0;

    // Gives the lock up before the process ends; nothing happens when it is not held.
    virtual void release() = 0;
};
