#pragma once

#include "platform/WindowFinder.h"

// A desktop without windows, as on a machine with no display: nothing counts as running.
class NoWindowFinder : public WindowFinder {
public:
    Window findByClass(const QString&) override { return 0; }
    Window findByTitle(const QString&) override { return 0; }
    bool isIconic(Window) override { return false; }
    void showMinimized(Window) override {}
    void activate(Window) override {}
    void sendSuiteMessage(Window) override {}
};
