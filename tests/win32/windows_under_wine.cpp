#include "platform/contract/WindowLookupCases.h"
#include "platform/win32/TopLevelWindows.h"

#include "Text.h"

#include <doctest/doctest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

using namespace win32;

namespace {

HWND Handle(WindowHandle w)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(w));
}

WindowHandle Number(HWND w)
{
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(w));
}

// What the test's own windows saw of the suite's private message.
struct Received {
    std::atomic<int> count{0};
    std::atomic<WPARAM> wParam{1};
    std::atomic<std::int32_t> pointed{-1};
};
Received received;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kSuiteMessage) {
        received.wParam = wParam;
        received.pointed = lParam ? *reinterpret_cast<const std::int32_t*>(lParam) : -2;
        ++received.count;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A real top-level window of the given class and caption, shown without taking the focus.
HWND Open(const std::wstring& className, const std::wstring& title)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountingProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    RegisterClassW(&windowClass);  // a class registered by an earlier case stays registered
    const HWND window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                        100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    REQUIRE(window != nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A window of its own thread, as another program's window is: it answers only while its thread
// runs its message loop. `stall` makes the thread stop answering until the test ends it.
class WindowOfAnotherThread {
public:
    explicit WindowOfAnotherThread(bool stall)
    {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, stall] {
            window_ = Open(L"LumivexNit", L"Lumivex Nit 20");
            threadId_ = GetCurrentThreadId();
            SetEvent(ready_);
            if (stall) {
                WaitForSingleObject(release_, INFINITE);
            } else {
                MSG message;
                while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
            }
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready_, INFINITE);
    }
    ~WindowOfAnotherThread()
    {
        SetEvent(release_);
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(ready_);
        CloseHandle(release_);
    }
    HWND window() const { return window_; }

private:
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

}  // namespace

TEST_CASE("the window lookup table")
{
    for (const auto& c : contract::kWindowLookupCases) {
        INFO(std::string(c.name));
        const HWND window = Open(Wide(c.className), Wide(c.title));
        const WindowHandle found =
            c.byClass ? FindWindowOfClass(Wide(c.query)) : FindWindowWithTitle(Wide(c.query));
        CHECK(found == (c.found ? Number(window) : 0));
        DestroyWindow(window);
        Pump();
    }
}

TEST_CASE("a minimised window stays minimised through the guard's steps; another comes to the front")
{
    const HWND other = Open(L"LumivexProzor", L"Terminal");
    for (const bool minimised : {true, false}) {
        CAPTURE(minimised);
        const HWND window = Open(L"LumivexProzor", L"Lumivex Knjigovodstvo 20");
        SetForegroundWindow(other);
        if (minimised)
            ShowWindow(window, SW_MINIMIZE);
        Pump();

        const WindowHandle found = FindWindowWithTitle(L"Lumivex Knjigovodstvo 20");
        REQUIRE(found == Number(window));
        CHECK(IsMinimised(found) == minimised);
        if (IsMinimised(found))
            ShowMinimised(found);
        BringToFront(found);
        Pump();

        CHECK(IsIconic(window) == (minimised ? TRUE : FALSE));
        if (!minimised)
            CHECK(GetForegroundWindow() == window);
        DestroyWindow(window);
        Pump();
    }
    DestroyWindow(other);
}

TEST_CASE("the private message reaches the window once, with wParam 0 and lParam pointing to a 0")
{
    received.count = 0;
    WindowOfAnotherThread program(false);
    const WindowHandle found = FindWindowWithTitle(L"lumivex nit 20");
    REQUIRE(found == Number(program.window()));
    CHECK(SendSuiteMessage(found));
    CHECK(received.count == 1);
    CHECK(received.wParam == 0);
    CHECK(received.pointed == 0);
}

TEST_CASE("a window that does not answer holds the sender only until the time-out")
{
    received.count = 0;
    WindowOfAnotherThread program(true);
    const ULONGLONG before = GetTickCount64();
    CHECK_FALSE(SendSuiteMessage(Number(program.window()), 300));
    const ULONGLONG waited = GetTickCount64() - before;
    CHECK(waited >= 250);
    CHECK(waited < 5000);
}

TEST_CASE("a window that has gone is neither minimised, activated nor sent anything")
{
    received.count = 0;
    const HWND window = Open(L"LumivexProzor", L"Lumivex Banka 20");
    const WindowHandle found = FindWindowWithTitle(L"Lumivex Banka 20");
    REQUIRE(found == Number(window));
    DestroyWindow(window);
    Pump();

    CHECK(FindWindowWithTitle(L"Lumivex Banka 20") == 0);
    CHECK_FALSE(IsMinimised(found));
    ShowMinimised(found);
    BringToFront(found);
    CHECK_FALSE(SendSuiteMessage(found));
    CHECK(received.count == 0);
    CHECK_FALSE(IsWindow(Handle(found)));
}
