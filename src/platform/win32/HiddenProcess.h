#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace win32 {

// What a start of a program reports. The program runs hidden (show state 0, no console window) and
// gets its arguments as one command line quoted so that it reads back exactly these arguments.
struct ProcessOutcome {
    bool started = false;
    std::wstring error;          // the system's reason, in the user's language, when not started
    std::uint32_t taskId = 0;    // the process identifier, at least 1 once started
    bool finished = false;       // a waited-for program ended by itself within the time-out
    std::uint32_t exitCode = 0;  // its exit status, when finished
    std::string output;          // what it wrote to its standard output and error, when waited for
};

// The command line that hands `arguments` unchanged to a program that splits its command line the
// usual Windows way (quotes around blanks, backslashes doubled before a quote).
std::wstring CommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments);

// Starts the program and returns at once.
ProcessOutcome StartHidden(const std::wstring& program, const std::vector<std::wstring>& arguments);

// Starts the program and waits for it, at most `timeoutMs` milliseconds when that is not negative;
// a program still running then is ended and reported as not finished. `whileWaiting` is called
// every few milliseconds meanwhile, so a window can go on processing its events.
ProcessOutcome RunHidden(const std::wstring& program, const std::vector<std::wstring>& arguments,
                         int timeoutMs = -1, const std::function<void()>& whileWaiting = {});

// The full path of an executable found where the system looks for programs, or the empty string;
// ".exe" is added to a name without an extension.
std::wstring FindProgram(const std::wstring& name);

}  // namespace win32
