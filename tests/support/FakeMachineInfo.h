#pragma once

#include "platform/MachineInfo.h"

#include <QMap>

// A computer whose name, user, environment and executable folder a test chooses.
class FakeMachineInfo : public MachineInfo {
public:
    QString folder;
    QString name = QStringLiteral("RACUNALO-1");
    bool nameFails = false;
    QString user = QStringLiteral("ana");
    QMap<QString, QString> env;

    QString executableFolder() override { return folder; }
    bool computerName(QString& n) override
    {
        n = nameFails ? QString() : name;
        return !nameFails;
    }
    QString userName() override { return user; }
    QString environment(const QString& key) override { return env.value(key); }
};
