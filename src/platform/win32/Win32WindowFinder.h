#pragma once

#include "platform/WindowFinder.h"

// The desktop's windows on Windows: the window finder's calls handed to the Win32 body.
class Win32WindowFinder : public WindowFinder {
public:
    Window findByClass(const QString& className) override;
    Window findByTitle(const QString& title) override;
    bool isIconic(Window window) override;
    void showMinimized(Window window) override;
    void activate(Window window) override;
    void sendSuiteMessage(Window window) override;
};
