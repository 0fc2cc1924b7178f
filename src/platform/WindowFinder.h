#pragma once

#include <QString>

// The top-level windows of the desktop, as the running-program guard needs them.
class WindowFinder {
public:
    using Window = quint64;  // 0 means no window

    virtual ~WindowFinder() = default;

    // A top-level window of the given class, whatever its title.
    virtual Window findByClass(const QString& className) = 0;

    // A top-level window whose whole title equals `title`, ignoring letter case.
    virtual Window findByTitle(const QString& title) = 0;

    virtual bool isIconic(Window window) = 0;

    // Leaves a minimised window minimised while marking it active.
    virtual void showMinimized(Window window) = 0;

    // Brings the window to the foreground; a minimised window stays minimised.
    virtual void activate(Window window) = 0;

    // Sends the suite's private message (WM_USER + 18); platforms without it do nothing.
    virtual void sendSuiteMessage(Window window) = 0;
};
