#pragma once

#include <string>

namespace win32 {

// The per-user settings of one application, addressed by section and key, every value a text. They
// live where Windows programs of the suite's platform keep theirs,
// HKCU\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ value per key: the
// suite's other programs write settings the updater reads (the window colour), and a user's choices
// from an earlier updater stay where they were.
class ProgramSettings {
public:
    explicit ProgramSettings(std::wstring application) : application_(std::move(application)) {}

    // The key below HKEY_CURRENT_USER that holds the section's values.
    std::wstring sectionKey(const std::wstring& section) const;

    // The stored text, or `defaultValue` when the key is missing.
    std::wstring read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& defaultValue) const;

    // Stores the text at once, creating the section; false with a description when it cannot.
    bool write(const std::wstring& section, const std::wstring& key, const std::wstring& value,
               std::wstring& error) const;

private:
    std::wstring application_;
};

}  // namespace win32
