#pragma once

#include <cstdint>

// The registry port's contract, as plain data: a REG_DWORD write below "HKCU\" that creates its keys
// and refuses any other root. Both the Linux store and the Windows body run these rows.
namespace contract {

struct DwordWriteCase {
    const char* name;
    const char* path;
    std::uint32_t value;
    bool ok;
    const char* key;  // where the value lands, below HKCU (when ok)
    const char* valueName;
};

inline constexpr DwordWriteCase kDwordWriteCases[] = {
    {"value in new keys", "HKCU\\Software\\Lumivex Test\\Export\\Vrsta", 5, true,
     "Software\\Lumivex Test\\Export", "Vrsta"},
    {"largest whole number", "HKCU\\Software\\Lumivex Test\\Export\\Najveći", 0xFFFFFFFFu, true,
     "Software\\Lumivex Test\\Export", "Najveći"},
    {"root in small letters", "hkcu\\Software\\Lumivex Test\\Mala slova\\Broj", 0, true,
     "Software\\Lumivex Test\\Mala slova", "Broj"},
    {"machine-wide root refused", "HKLM\\Software\\Lumivex Test\\Broj", 1, false, "", ""},
    {"root that only begins alike refused", "HKCUX\\Software\\Lumivex Test\\Broj", 1, false, "", ""},
    {"path without a root refused", "Software\\Lumivex Test\\Broj", 1, false, "", ""},
};

// The same value written twice keeps the later number.
struct DwordRewrite {
    const char* path;
    std::uint32_t first;
    std::uint32_t second;
};
inline constexpr DwordRewrite kDwordRewrite = {"HKCU\\Software\\Lumivex Test\\Ponovo\\Broj", 7, 1};

}  // namespace contract
