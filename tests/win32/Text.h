#pragma once

#include <doctest/doctest.h>
#include <windows.h>

#include <string>

// The tests' tables hold UTF-8; the bodies take and give UTF-16.
inline std::wstring Wide(const char* utf8)
{
    const std::string text = utf8 ? utf8 : "";
    if (text.empty())
        return {};
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

inline std::string Utf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    std::string text(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        static_cast<int>(text.size()), nullptr, nullptr);
    return text;
}

// The full path of the running test program, which the process tests start again as their child.
std::wstring ThisProgram();

// Failed checks show wide texts as UTF-8.
namespace doctest {
template <>
struct StringMaker<std::wstring> {
    static String convert(const std::wstring& text) { return Utf8(text).c_str(); }
};
}  // namespace doctest
