#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "Text.h"

#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Write(HANDLE to, const std::string& text)
{
    DWORD written = 0;
    WriteFile(to, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// A test program started with "--child" plays the program another test starts: it shows what it
// received and how it was started.
int Child(const std::vector<std::wstring>& a)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const std::wstring what = a.size() > 2 ? a[2] : L"";
    if (what == L"args") {
        for (std::size_t i = 3; i < a.size(); ++i) Write(out, "[" + Utf8(a[i]) + "]\n");
        return 0;
    }
    if (what == L"exit")
        return std::wcstol(a.at(3).c_str(), nullptr, 10);
    if (what == L"output") {
        Write(out, "na izlaz\n");
        Write(GetStdHandle(STD_ERROR_HANDLE), "na greške\n");
        return 0;
    }
    if (what == L"sleep") {
        Sleep(static_cast<DWORD>(std::wcstol(a.at(3).c_str(), nullptr, 10)));
        return 0;
    }
    if (what == L"startup") {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        const std::string report =
            "usesShowWindow=" + std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0) +
            " show=" + std::to_string(startup.wShowWindow) +
            " consoleWindow=" + std::to_string(GetConsoleWindow() ? 1 : 0) + "\n";
        if (a.size() > 3) {
            const HANDLE file = CreateFileW(a[3].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
            Write(file, report);
            CloseHandle(file);
        } else {
            Write(out, report);
        }
        return 0;
    }
    return 99;
}

}  // namespace

std::wstring ThisProgram()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

int main(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments(wide, wide + count);
    LocalFree(wide);
    if (arguments.size() > 1 && arguments[1] == L"--child")
        return Child(arguments);

    doctest::Context context(argc, argv);
    return context.run();
}
