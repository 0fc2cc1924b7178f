#include "support/RecordingProcessRunner.h"

ProcessRunner::Result RecordingProcessRunner::run(const QString& program, const QStringList& arguments)
{
    calls_.push_back({program, arguments, false});
    if (startError_) {
        Result failed;
        failed.error = *startError_;
        return failed;
    }
    return real_.run(program, arguments);
}

ProcessRunner::Result RecordingProcessRunner::runCaptured(const QString& program,
                                                          const QStringList& arguments, int timeoutMs)
{
    calls_.push_back({program, arguments, false});
    if (startError_) {
        Result failed;
        failed.error = *startError_;
        return failed;
    }
    return real_.runCaptured(program, arguments, timeoutMs);
}

ProcessRunner::Result RecordingProcessRunner::startDetached(const QString& program,
                                                            const QStringList& arguments)
{
    calls_.push_back({program, arguments, true});
    if (startError_) {
        Result failed;
        failed.error = *startError_;
        return failed;
    }
    return real_.startDetached(program, arguments);
}

QString RecordingProcessRunner::findOnPath(const QString& name)
{
    return hidden_.contains(name) ? QString() : real_.findOnPath(name);
}
