#pragma once

#include <string>

namespace win32 {

// The folder of the running executable, with "\" separators and no trailing one.
std::wstring ExecutableFolder();

// The computer's NetBIOS name; false when the query fails.
bool ComputerName(std::wstring& name);

// The logged-on user's name as the network user-name query gives it; empty when the query fails.
std::wstring UserName();

// An environment variable's value ("WinDir"); empty when unset.
std::wstring EnvironmentVariable(const std::wstring& name);

}  // namespace win32
