#include "platform/win32/ProgramSettings.h"

#include "platform/win32/UserRegistry.h"

namespace win32 {

std::wstring ProgramSettings::sectionKey(const std::wstring& section) const
{
    return L"Software\\VB and VBA Program Settings\\" + application_ + L"\\" + section;
}

std::wstring ProgramSettings::read(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& defaultValue) const
{
    std::wstring value;
    return ReadUserText(sectionKey(section), key, value) ? value : defaultValue;
}

bool ProgramSettings::write(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                            std::wstring& error) const
{
    std::wstring why;
    if (WriteUserText(sectionKey(section), key, value, why))
        return true;
    error = L"Nije moguće upisati postavke u HKCU\\" + sectionKey(section) + L": " + why;
    return false;
}

}  // namespace win32
