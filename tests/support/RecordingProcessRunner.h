#pragma once

#include "platform/ProcessRunner.h"

#include <QSet>
#include <optional>
#include <vector>

// Wraps a real process runner and records every program it is asked to start. It can hide programs
// from the PATH lookup, as on a machine without them, and make the next starts fail.
class RecordingProcessRunner : public ProcessRunner {
public:
    struct Call {
        QString program;
        QStringList arguments;
        bool detached = false;
    };

    explicit RecordingProcessRunner(ProcessRunner& real) : real_(real) {}

    void hide(const QString& name) { hidden_.insert(name); }
    // Every later start fails with `error` without running anything.
    void failStarts(const QString& error) { startError_ = error; }

    const std::vector<Call>& calls() const { return calls_; }

    Result run(const QString& program, const QStringList& arguments) override;
    Result runCaptured(const QString& program, const QStringList& arguments, int timeoutMs) override;
    Result startDetached(const QString& program, const QStringList& arguments) override;
    QString findOnPath(const QString& name) override;

private:
    ProcessRunner& real_;
    QSet<QString> hidden_;
    std::optional<QString> startError_;
    std::vector<Call> calls_;
};
