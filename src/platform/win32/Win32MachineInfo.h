#pragma once

#include "platform/MachineInfo.h"

// This Windows computer, through the Win32 body; the executable's folder is given with "/".
class Win32MachineInfo : public MachineInfo {
public:
    QString executableFolder() override;
    bool computerName(QString& name) override;
    QString userName() override;
    QString environment(const QString& name) override;
};
