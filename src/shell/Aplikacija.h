#pragma once

#include "core/Okruzenje.h"
#include "platform/QtHttpTransfer.h"
#include "platform/SystemClock.h"
#include "shell/QtDialogs.h"

#include <memory>

// The ports whose implementation depends on the system the program is built for.
#ifdef Q_OS_WIN
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MachineInfo.h"
#include "platform/win32/Win32ProcessRunner.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SettingsStore.h"
#include "platform/win32/Win32WindowFinder.h"
using SystemFileSystem = Win32FileSystem;
using SystemSettingsStore = Win32SettingsStore;
using SystemMachineInfo = Win32MachineInfo;
using SystemProcessRunner = Win32ProcessRunner;
using SystemRegistry = Win32Registry;
#else
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocalMachineInfo.h"
#include "platform/QtProcessRunner.h"
#include "platform/X11WindowFinder.h"
using SystemFileSystem = LocalFileSystem;
using SystemSettingsStore = IniSettingsStore;
using SystemMachineInfo = LocalMachineInfo;
using SystemProcessRunner = QtProcessRunner;
using SystemRegistry = IniRegistry;
#endif

// The real program's parts: this machine's ports, the shared state and the window model, put
// together once in main().
class Aplikacija {
public:
    Aplikacija();

    Okruzenje& okruzenje() { return o_; }
    QtDialogs& dijalozi() { return dijalozi_; }

private:
    SystemFileSystem fs_;
    SystemSettingsStore postavke_;
    SystemClock sat_;
    SystemMachineInfo računalo_;
    QtDialogs dijalozi_;
    SystemProcessRunner procesi_;
    QtHttpTransfer http_;
    std::unique_ptr<WindowFinder> prozori_;
    SystemRegistry registar_;
    ProzorModel model_;
    Stanje stanje_;
    Okruzenje o_;
};
