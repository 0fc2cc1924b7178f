#include "platform/win32/TopLevelWindows.h"

#include <windows.h>

namespace win32 {

namespace {

HWND Handle(WindowHandle window)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

WindowHandle Number(HWND window)
{
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace

WindowHandle FindWindowOfClass(const std::wstring& className)
{
    if (className.empty())
        return 0;
    return Number(FindWindowW(className.c_str(), nullptr));
}

// The wide variant compares the caption as the user sees it, so captions with č, ć, š, ž and đ
// match whatever the system's ANSI code page holds.
WindowHandle FindWindowWithTitle(const std::wstring& title)
{
    if (title.empty())
        return 0;
    return Number(FindWindowW(nullptr, title.c_str()));
}

bool IsMinimised(WindowHandle window)
{
    return window && IsWindow(Handle(window)) && IsIconic(Handle(window));
}

void ShowMinimised(WindowHandle window)
{
    if (window && IsWindow(Handle(window)))
        ShowWindow(Handle(window), SW_SHOWMINIMIZED);
}

void BringToFront(WindowHandle window)
{
    if (window && IsWindow(Handle(window)))
        SetForegroundWindow(Handle(window));
}

bool SendSuiteMessage(WindowHandle window, unsigned timeoutMs)
{
    if (!window || !IsWindow(Handle(window)))
        return false;
    std::int32_t zero = 0;
    DWORD_PTR reply = 0;
    return SendMessageTimeoutW(Handle(window), kSuiteMessage, 0, reinterpret_cast<LPARAM>(&zero),
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &reply) != 0;
}

}  // namespace win32
