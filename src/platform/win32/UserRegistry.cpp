#include "platform/win32/UserRegistry.h"

#include "platform/win32/SystemMessage.h"

#include <windows.h>

#include <vector>

namespace win32 {

namespace {

// Creates the key with every missing parent and stores one value in it.
LSTATUS StoreValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                   DWORD size)
{
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegSetValueExW(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    return status;
}

}  // namespace

bool WriteDword(const std::wstring& valuePath, std::uint32_t value, std::wstring& error)
{
    const std::wstring root = L"HKCU\\";
    if (valuePath.size() < root.size() || _wcsnicmp(valuePath.c_str(), root.c_str(), root.size()) != 0) {
        error = L"Nepoznata grana registra: " + valuePath;
        return false;
    }
    const std::wstring below = valuePath.substr(root.size());
    const std::size_t split = below.rfind(L'\\');
    const std::wstring key = split == std::wstring::npos ? std::wstring() : below.substr(0, split);
    const std::wstring name = split == std::wstring::npos ? below : below.substr(split + 1);
    // A path ending in "\" names a key, not a value; its unnamed default value is never meant.
    if (name.empty()) {
        error = L"Nedostaje ime vrijednosti: " + valuePath;
        return false;
    }
    const DWORD data = value;
    const LSTATUS status = StoreValue(key, name, REG_DWORD, &data, sizeof data);
    if (status != ERROR_SUCCESS) {
        error =
            L"Nije moguće upisati u " + valuePath + L": " + SystemMessage(static_cast<std::uint32_t>(status));
        return false;
    }
    return true;
}

bool WriteUserText(const std::wstring& key, const std::wstring& name, const std::wstring& value,
                   std::wstring& error)
{
    const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LSTATUS status = StoreValue(key, name, REG_SZ, value.c_str(), size);
    if (status != ERROR_SUCCESS) {
        error = SystemMessage(static_cast<std::uint32_t>(status));
        return false;
    }
    return true;
}

bool ReadUserText(const std::wstring& key, const std::wstring& name, std::wstring& value)
{
    // The value may grow between the size query and the read, so the read is repeated until it fits.
    for (;;) {
        DWORD size = 0;
        LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                                      nullptr, &size);
        if (status != ERROR_SUCCESS)
            return false;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                              buffer.data(), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return false;
        value.assign(buffer.data());
        return true;
    }
}

}  // namespace win32
