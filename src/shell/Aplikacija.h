#pragma once

#include "core/Okruzenje.h"
#include "platform/HeadlessDialogs.h"
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocalMachineInfo.h"
#include "platform/QtHttpTransfer.h"
#include "platform/QtProcessRunner.h"
#include "platform/SystemClock.h"
#include "platform/X11WindowFinder.h"
#include "shell/QtDialogs.h"

#include <memory>

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
    LocalFileSystem fs_;
    IniSettingsStore postavke_;
    SystemClock sat_;
    LocalMachineInfo računalo_;
    QtDialogs dijalozi_;
    HeadlessDialogs bezProzora_;
    QtProcessRunner procesi_;
    QtHttpTransfer http_;
    std::unique_ptr<WindowFinder> prozori_;
    IniRegistry registar_;
    ProzorModel model_;
    Stanje stanje_;
    Okruzenje o_;
};
