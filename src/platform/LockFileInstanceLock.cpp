#include "platform/LockFileInstanceLock.h"

InstanceLock::Result LockFileInstanceLock::acquire(const QString& folder, QString& error)
{
    release();
    QString path = folder;
    if (!path.endsWith(u'/'))
        path += u'/';
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral("LumivexLiveUpdate20.lock"));
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return Result::Acquired;
    }
    switch (lock->error()) {
        case QLockFile::LockFailedError:
            return Result::HeldByAnother;
        case QLockFile::PermissionError:
            error = QStringLiteral("nema prava za pisanje u ") + folder;
            return Result::Failed;
        default:
            error = QStringLiteral("nepoznata greška pri zaključavanju u ") + folder;
            return Result::Failed;
    }
}

void LockFileInstanceLock::release()
{
    if (lock_)
        lock_->unlock();
    lock_.reset();
}
