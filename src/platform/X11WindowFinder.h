#pragma once

#include "platform/WindowFinder.h"

// The windows of the X11 display named by $DISPLAY. Each call opens its own connection, so a display
// that appears, goes away or changes between calls is simply seen as it is at that moment; without a
// display nothing counts as running. The suite's programs run under Wine, whose windows are X11
// windows carrying the programs' captions. A lookup walks the window tree a level at a time over XCB,
// so its cost in round trips does not grow with the number of windows.
class X11WindowFinder : public WindowFinder {
public:
    // Looks at each top-level client window (the windows a window manager marks with WM_STATE, found
    // below its frames, or the root's own children where no manager runs) and compares either part
    // of WM_CLASS, the instance or the class, ignoring letter case as Windows does for class names.
    Window findByClass(const QString& className) override;

    // Same walk; the title is _NET_WM_NAME (UTF-8) or WM_NAME, and either may match. An empty title
    // matches nothing, since a window without a caption is no program's main window.
    Window findByTitle(const QString& title) override;

    // True when the window's WM_STATE says IconicState.
    bool isIconic(Window window) override;

    // A minimised X11 window is unmapped and mapping or raising it would restore it, so it is left
    // exactly as it is.
    void showMinimized(Window window) override;

    // Asks the window manager to activate the window (_NET_ACTIVE_WINDOW, as an application) and
    // raises it. A minimised window is left minimised: the request would make the manager restore it.
    void activate(Window window) override;

    // X11 has no counterpart of the suite's private message: nothing is sent.
    void sendSuiteMessage(Window window) override;
};
