#include "platform/win32/MachineNames.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

namespace win32 {

std::wstring ExecutableFolder()
{
    // The path may be longer than MAX_PATH; the buffer grows until the whole path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            const std::size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool ComputerName(std::wstring& name)
{
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(buffer, &length))
        return false;
    name.assign(buffer, length);
    return !name.empty();
}

std::wstring UserName()
{
    std::vector<wchar_t> buffer(256);
    DWORD length = static_cast<DWORD>(buffer.size());
    DWORD status = WNetGetUserW(nullptr, buffer.data(), &length);
    if (status == ERROR_MORE_DATA) {
        buffer.resize(length + 1);
        length = static_cast<DWORD>(buffer.size());
        status = WNetGetUserW(nullptr, buffer.data(), &length);
    }
    // The name ends at its first NUL, whatever length the call reports.
    return status == NO_ERROR ? std::wstring(buffer.data()) : std::wstring();
}

std::wstring EnvironmentVariable(const std::wstring& name)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length =
            GetEnvironmentVariableW(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length);
    }
}

}  // namespace win32
