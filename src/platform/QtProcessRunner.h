#pragma once

#include "platform/ProcessRunner.h"

// Processes started with QProcess.
class QtProcessRunner : public ProcessRunner {
public:
    Result run(const QString& program, const QStringList& arguments) override;
    Result runCaptured(const QString& program, const QStringList& arguments, int timeoutMs) override;
    Result startDetached(const QString& program, const QStringList& arguments) override;
    QString findOnPath(const QString& name) override;
};
