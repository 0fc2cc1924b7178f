#include "platform/win32/HiddenProcess.h"

#include "platform/win32/SystemMessage.h"

#include <windows.h>

namespace win32 {

namespace {

void AppendQuoted(std::wstring& line, const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each is doubled and the quote escaped.
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// Collects what is waiting in the pipe without blocking.
void Drain(HANDLE pipe, std::string& output)
{
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr) ||
            !got)
            return;
        output.append(buffer, got);
    }
}

ProcessOutcome Start(const std::wstring& program, const std::vector<std::wstring>& arguments, bool wait,
                     int timeoutMs, const std::function<void()>& whileWaiting)
{
    ProcessOutcome outcome;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;

    HANDLE readEnd = nullptr, writeEnd = nullptr, nul = INVALID_HANDLE_VALUE;
    if (wait) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
            outcome.error = SystemMessage(GetLastError());
            return outcome;
        }
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                          0, nullptr);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = nul;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
    }

    std::wstring line = CommandLine(program, arguments);
    PROCESS_INFORMATION process{};
    const BOOL created = CreateProcessW(nullptr, line.data(), nullptr, nullptr, wait ? TRUE : FALSE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    const DWORD startError = created ? 0 : GetLastError();
    // The child holds its own copies; ours would keep the pipe open after it has ended.
    if (writeEnd)
        CloseHandle(writeEnd);
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    if (!created) {
        if (readEnd)
            CloseHandle(readEnd);
        outcome.error = SystemMessage(startError);
        return outcome;
    }
    CloseHandle(process.hThread);
    outcome.started = true;
    outcome.taskId = process.dwProcessId;

    if (wait) {
        const ULONGLONG deadline = timeoutMs >= 0 ? GetTickCount64() + static_cast<ULONGLONG>(timeoutMs) : 0;
        outcome.finished = true;
        // The pipe is emptied while the program runs, so a program that writes much never blocks on it.
        for (;;) {
            const DWORD state = WaitForSingleObject(process.hProcess, 10);
            Drain(readEnd, outcome.output);
            if (state != WAIT_TIMEOUT)
                break;
            if (whileWaiting)
                whileWaiting();
            if (timeoutMs >= 0 && GetTickCount64() >= deadline) {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, INFINITE);
                Drain(readEnd, outcome.output);
                outcome.finished = false;
                break;
            }
        }
        DWORD code = 0;
        if (outcome.finished && GetExitCodeProcess(process.hProcess, &code))
            outcome.exitCode = code;
        CloseHandle(readEnd);
    }
    CloseHandle(process.hProcess);
    return outcome;
}

}  // namespace

std::wstring CommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    std::wstring line;
    AppendQuoted(line, program);
    for (const std::wstring& argument : arguments) {
        line += L' ';
        AppendQuoted(line, argument);
    }
    return line;
}

ProcessOutcome StartHidden(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    return Start(program, arguments, false, -1, {});
}

ProcessOutcome RunHidden(const std::wstring& program, const std::vector<std::wstring>& arguments,
                         int timeoutMs, const std::function<void()>& whileWaiting)
{
    return Start(program, arguments, true, timeoutMs, whileWaiting);
}

std::wstring FindProgram(const std::wstring& name)
{
    wchar_t buffer[MAX_PATH];
    const DWORD length = SearchPathW(nullptr, name.c_str(), L".exe", MAX_PATH, buffer, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace win32
