#pragma once

#include <cstdint>
#include <string>

namespace win32 {

// A top-level window's handle as a number; 0 means no window.
using WindowHandle = std::uint64_t;

// The suite's private message, WM_USER + 18.
constexpr unsigned kSuiteMessage = 0x0412;

// A top-level window of the class, whatever its title; class names ignore letter case.
WindowHandle FindWindowOfClass(const std::wstring& className);

// A top-level window whose whole title is `title`, ignoring letter case. An empty title matches
// nothing, since a window without a caption is no program's main window.
WindowHandle FindWindowWithTitle(const std::wstring& title);

bool IsMinimised(WindowHandle window);

// Activates a minimised window and leaves it minimised (show command 2).
void ShowMinimised(WindowHandle window);

// Brings the window to the foreground; a minimised window stays minimised.
void BringToFront(WindowHandle window);

// Sends the suite's private message with wParam 0 and lParam pointing to a 32-bit 0, and waits for
// the window to process it, at most `timeoutMs` milliseconds (so a program that does not answer
// cannot hold the updater). False when the window did not answer in time or does not exist.
bool SendSuiteMessage(WindowHandle window, unsigned timeoutMs = 5000);

}  // namespace win32
