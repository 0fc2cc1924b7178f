#pragma once

#include "platform/InstanceLock.h"

#include <QLockFile>
#include <memory>

// The lock as a file "LumivexLiveUpdate20.lock" in the program folder. It holds the holder's process
// number, host and program name; a lock whose holder no longer runs is removed and taken. The age of
// the file never makes it stale, since a window may stay open for weeks.
class LockFileInstanceLock : public InstanceLock {
public:
    Result acquire(const QString& folder, QString& error) override;
    void release() override;

private:
    std::unique_ptr<QLockFile> lock_;
};
