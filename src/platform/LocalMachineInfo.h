#pragma once

#include "platform/MachineInfo.h"

// This computer: the host name, the effective user, the process's environment.
class LocalMachineInfo : public MachineInfo {
public:
    QString executableFolder() override;
    bool computerName(QString& name) override;
    QString userName() override;
    QString environment(const QString& name) override;
};
