#pragma once

#include "core/Okruzenje.h"
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

class QTranslator;

// The application's names, which place its settings, and Qt's own texts in Croatian, so that Yes and
// No read "Da" and "Ne"; `prijevod` must live as long as the application. Called once the
// QApplication exists.
void PostaviAplikaciju(QTranslator& prijevod);

// The real program's parts: this machine's ports, the shared state and the window model, put
// together once in main().
class Aplikacija {
public:
    Aplikacija();

    Okruzenje& okruzenje() { return o_; }
    QtDialogs& dijalozi() { return dijalozi_; }

private:
    LocalFileSystem fs_;
    IniSettingsStore postavke_;
    SystemClock sat_;
    LocalMachineInfo računalo_;
    QtDialogs dijalozi_;
    QtProcessRunner procesi_;
    QtHttpTransfer http_;
    std::unique_ptr<WindowFinder> prozori_;
    IniRegistry registar_;
    ProzorModel model_;
    Stanje stanje_;
    Okruzenje o_;
};
