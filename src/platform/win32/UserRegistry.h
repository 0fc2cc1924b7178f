#pragma once

#include <cstdint>
#include <string>

namespace win32 {

// Writes a REG_DWORD value. `valuePath` is a full path beginning with "HKCU\" in any letter case,
// its last part naming the value; missing keys are created. False with a description otherwise.
bool WriteDword(const std::wstring& valuePath, std::uint32_t value, std::wstring& error);

// Text (REG_SZ) values below HKEY_CURRENT_USER; `key` is the path below it.
bool WriteUserText(const std::wstring& key, const std::wstring& name, const std::wstring& value,
                   std::wstring& error);

// False when the key or the value is missing or holds no text.
bool ReadUserText(const std::wstring& key, const std::wstring& name, std::wstring& value);

}  // namespace win32
