#pragma once

// The settings store's contract, as plain data: texts addressed by section and key survive a new
// store object, a missing key gives the caller's default, and the sections "Settings" and
// "Setting" are kept apart. Both the Linux store and the Windows body run these rows.
namespace contract {

struct SettingsCase {
    const char* name;
    const char* writeSection;  // nullptr: nothing is written
    const char* writeKey;
    const char* written;
    const char* readSection;
    const char* readKey;
    const char* defaultValue;
    const char* expected;
};

inline constexpr SettingsCase kSettingsCases[] = {
    {"text read back", "Settings", "UpdateLok20N", "2", "Settings", "UpdateLok20N", "0", "2"},
    {"folder with blanks and diacritics", "Settings", "UpdateLokDir20",
     "\\\\poslužitelj\\Lumivex Ažuriranja\\", "Settings", "UpdateLokDir20", "",
     "\\\\poslužitelj\\Lumivex Ažuriranja\\"},
    {"missing key gives the default", nullptr, nullptr, nullptr, "Settings", "BojaIntegratora", "14277323",
     "14277323"},
    {"empty text is stored, not the default", "Settings", "UpdateLokDirMr20", "", "Settings",
     "UpdateLokDirMr20", "nema", ""},
    {"section Setting is not Settings", "Setting", "VrijemeAutoDownloadaNovihVerz", "6", "Settings",
     "VrijemeAutoDownloadaNovihVerz", "0", "0"},
    {"key in section Setting", "Setting", "VrijemeAutoDownloadaNovihVerz", "6", "Setting",
     "VrijemeAutoDownloadaNovihVerz", "0", "6"},
};

}  // namespace contract
