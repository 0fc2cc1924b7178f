#pragma once

#include "core/Okruzenje.h"
#include "platform/HeadlessDialogs.h"
#include "platform/QtHttpTransfer.h"
#include "platform/SystemClock.h"
#include "shell/QtDialogs.h"

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
using SystemWindowFinder = Win32WindowFinder;
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
using SystemWindowFinder = X11WindowFinder;
#endif

class QTranslator;

// The application's names, which place its settings; called once the application object exists.
void PostaviImenaAplikacije();

// The names, and Qt's own texts in Croatian, so that Yes and No read "Da" and "Ne"; `prijevod` must
// live as long as the application. Called once the QApplication exists.
void PostaviAplikaciju(QTranslator& prijevod);

// The user's own settings store and registry, where this system keeps them.
SystemSettingsStore KorisničkePostavke();
SystemRegistry KorisničkiRegistar();

// The real program's parts: this machine's ports, the shared state and the window model, put
// together once in main(). The window's procedures show real message boxes; a run without a window
// writes them to standard error.
class Aplikacija {
public:
    enum class Sučelje { Prozor, BezProzora };
    explicit Aplikacija(Sučelje sučelje = Sučelje::Prozor);

    Okruzenje& okruzenje() { return o_; }
    QtDialogs& dijalozi() { return dijalozi_; }
    HeadlessDialogs& dijaloziBezProzora() { return bezProzora_; }

private:
    SystemFileSystem fs_;
    SystemSettingsStore postavke_;
    SystemClock sat_;
    SystemMachineInfo računalo_;
    QtDialogs dijalozi_;
    HeadlessDialogs bezProzora_;
    SystemProcessRunner procesi_;
    QtHttpTransfer http_;
    SystemWindowFinder prozori_;
    SystemRegistry registar_;
    ProzorModel model_;
    Stanje stanje_;
    Okruzenje o_;
};
