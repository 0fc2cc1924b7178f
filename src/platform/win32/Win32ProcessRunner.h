#pragma once

#include "platform/ProcessRunner.h"

// Hidden programs on Windows, through the Win32 body; while a run is waited for, the window goes on
// processing its events.
class Win32ProcessRunner : public ProcessRunner {
public:
    Result run(const QString& program, const QStringList& arguments) override;
    Result startDetached(const QString& program, const QStringList& arguments) override;
    QString findOnPath(const QString& name) override;
};
