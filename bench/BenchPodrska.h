#pragma once

#include "core/Okruzenje.h"
#include "platform/Dialogs.h"
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/MachineInfo.h"
#include "platform/NoWindowFinder.h"
#include "platform/QtHttpTransfer.h"
#include "platform/QtProcessRunner.h"
#include "platform/SystemClock.h"

#include <cstdio>

// Message boxes are printed and questions answered Yes, so a run never waits for anyone.
class PrintingDialogs : public Dialogs {
public:
    Answer show(Icon, const QString& caption, const QString& text, Buttons buttons) override
    {
        std::printf("[%s] %s\n", qPrintable(caption), qPrintable(text));
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString chooseFile(const FileRequest&) override { return {}; }
};

// A computer whose program folder is the bench's temporary folder, so the log and the installed files
// stay there; no environment, so the help folder is the program folder's own.
class BenchMachine : public MachineInfo {
public:
    QString folder;
    QString executableFolder() override { return folder; }
    bool computerName(QString& name) override
    {
        name = QStringLiteral("bench");
        return true;
    }
    QString userName() override { return QStringLiteral("bench"); }
    QString environment(const QString&) override { return {}; }
};

// The real ports over a file system the bench chooses, with the settings and registry in `folder`.
struct BenchOkruzenje {
    BenchOkruzenje(FileSystem& fs, const QString& folder)
        : postavke(folder + QStringLiteral("/config/Lumivex.ini")),
          registar(folder + QStringLiteral("/config/Lumivex/registry.ini")),
          o{fs, postavke, sat, racunalo, dijalozi, procesi, http, prozori, registar, model, stanje}
    {
    }

    IniSettingsStore postavke;
    SystemClock sat;
    BenchMachine racunalo;
    PrintingDialogs dijalozi;
    QtProcessRunner procesi;
    QtHttpTransfer http;
    NoWindowFinder prozori;
    IniRegistry registar;
    ProzorModel model;
    Stanje stanje;
    Okruzenje o;
};
