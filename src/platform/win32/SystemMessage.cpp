#include "platform/win32/SystemMessage.h"

#include <windows.h>

namespace win32 {

std::wstring SystemMessage(std::uint32_t code)
{
    wchar_t* buffer = nullptr;
    // Language 0 makes the system pick the thread's, then the user's, then the system's language.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        text = L"Greška " + std::to_wstring(code);
    return text;
}

}  // namespace win32
