#include "platform/win32/HiddenProcess.h"
#include "platform/win32/SystemMessage.h"

#include "Text.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

using namespace win32;

namespace {

std::vector<std::wstring> ChildArguments(std::initializer_list<std::wstring> rest)
{
    std::vector<std::wstring> arguments{L"--child"};
    arguments.insert(arguments.end(), rest);
    return arguments;
}

std::string ReadWholeFile(const std::wstring& path)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    char buffer[512];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got);
}

}  // namespace

TEST_CASE("arguments reach the program exactly as given")
{
    const struct {
        const char* name;
        const wchar_t* argument;
    } cases[] = {
        {"plain word", L"/s"},
        {"blanks", L"C:\\Program Files\\Lumivex\\LumiIzmjBaza20.dll"},
        {"empty", L""},
        {"quote inside", L"rekao je \"da\""},
        {"folder with a trailing backslash", L"C:\\Lumivex Update\\"},
        {"backslashes before a quote", L"a\\\\\"b"},
        {"letters beyond ASCII", L"Plaće Šifre Đak"},
        {"tab", L"a\tb"},
    };
    for (const auto& c : cases) {
        INFO(std::string(c.name));
        const ProcessOutcome run =
            RunHidden(ThisProgram(), ChildArguments({L"args", c.argument, L"kraj"}), 30000);
        REQUIRE(run.started);
        CHECK(run.finished);
        CHECK(run.exitCode == 0);
        CHECK(run.output == "[" + Utf8(c.argument) + "]\n[kraj]\n");
    }
}

TEST_CASE("a waited-for program gives its exit status and everything it wrote")
{
    for (const int status : {0, 3, 255}) {
        CAPTURE(status);
        const ProcessOutcome run =
            RunHidden(ThisProgram(), ChildArguments({L"exit", std::to_wstring(status)}), 30000);
        REQUIRE(run.started);
        CHECK(run.taskId >= 1);
        CHECK(run.finished);
        CHECK(run.exitCode == static_cast<std::uint32_t>(status));
    }
    const ProcessOutcome run = RunHidden(ThisProgram(), ChildArguments({L"output"}), 30000);
    CHECK(run.finished);
    CHECK(run.output.find("na izlaz\n") != std::string::npos);
    CHECK(run.output.find("na greške\n") != std::string::npos);
}

TEST_CASE("a program that outlives its time-out is ended and reported as not finished")
{
    const ULONGLONG before = GetTickCount64();
    const ProcessOutcome run = RunHidden(ThisProgram(), ChildArguments({L"sleep", L"20000"}), 300);
    const ULONGLONG waited = GetTickCount64() - before;
    CHECK(run.started);
    CHECK_FALSE(run.finished);
    CHECK(waited < 10000);
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, run.taskId);
    if (process) {
        CHECK(WaitForSingleObject(process, 0) == WAIT_OBJECT_0);
        CloseHandle(process);
    }
}

TEST_CASE("both starts hide the program's window")
{
    const ProcessOutcome waited = RunHidden(ThisProgram(), ChildArguments({L"startup"}), 30000);
    CHECK(waited.output == "usesShowWindow=1 show=0 consoleWindow=0\n");

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring report = std::wstring(folder) + L"lumivex-pokretanje.txt";
    DeleteFileW(report.c_str());
    const ProcessOutcome started = StartHidden(ThisProgram(), ChildArguments({L"startup", report}));
    REQUIRE(started.started);
    REQUIRE(started.taskId >= 1);
    CHECK(started.output.empty());
    // The task identifier is the process's own: the test waits for the program through it.
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, started.taskId);
    REQUIRE(process != nullptr);
    CHECK(WaitForSingleObject(process, 30000) == WAIT_OBJECT_0);
    CloseHandle(process);
    CHECK(ReadWholeFile(report) == "usesShowWindow=1 show=0 consoleWindow=0\n");
    DeleteFileW(report.c_str());
}

TEST_CASE("a program that is not there is reported with the system's message")
{
    const struct {
        const char* name;
        const wchar_t* program;
        DWORD code;
        DWORD orCode;  // the system may name the missing file rather than its folder
    } cases[] = {
        {"missing file", L"C:\\windows\\nema-takvog-programa.exe", ERROR_FILE_NOT_FOUND,
         ERROR_FILE_NOT_FOUND},
        {"missing folder", L"C:\\nema-te-mape\\RegSvr32.exe", ERROR_PATH_NOT_FOUND, ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        INFO(std::string(c.name));
        for (const bool wait : {true, false}) {
            CAPTURE(wait);
            const ProcessOutcome outcome =
                wait ? RunHidden(c.program, {L"/s"}, 30000) : StartHidden(c.program, {L"/s"});
            CHECK_FALSE(outcome.started);
            CHECK(outcome.taskId == 0);
            CHECK_FALSE(outcome.finished);
            CHECK((outcome.error == SystemMessage(c.code) || outcome.error == SystemMessage(c.orCode)));
            CHECK_FALSE(outcome.error.empty());
        }
    }
}

TEST_CASE("programs are found where the system looks for them")
{
    const std::wstring reg = FindProgram(L"reg");
    REQUIRE_FALSE(reg.empty());
    CHECK(GetFileAttributesW(reg.c_str()) != INVALID_FILE_ATTRIBUTES);
    CHECK(FindProgram(L"nema-takvog-programa").empty());
}

TEST_CASE("the command line quotes only what needs it")
{
    CHECK(CommandLine(L"RegSvr32.exe", {L"/s", L"C:\\Lumivex\\LumiIzmjBaza20.dll"}) ==
          L"RegSvr32.exe /s C:\\Lumivex\\LumiIzmjBaza20.dll");
    CHECK(CommandLine(L"C:\\Program Files\\7za.exe", {L"e", L"-oC:\\Lumivex Update\\"}) ==
          L"\"C:\\Program Files\\7za.exe\" e \"-oC:\\Lumivex Update\\\\\"");
}

TEST_CASE("while a program is waited for, the caller's work goes on")
{
    int calls = 0;
    const ProcessOutcome run =
        RunHidden(ThisProgram(), ChildArguments({L"sleep", L"300"}), 30000, [&calls] { ++calls; });
    CHECK(run.finished);
    CHECK(calls >= 5);
}
