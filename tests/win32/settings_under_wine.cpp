#include "platform/contract/SettingsCases.h"
#include "platform/win32/HiddenProcess.h"
#include "platform/win32/ProgramSettings.h"

#include "Text.h"

#include <doctest/doctest.h>

#include <string>

using namespace win32;

namespace {

const wchar_t kArea[] = L"Software\\VB and VBA Program Settings";

void Forget(const std::wstring& application)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kArea) + L"\\" + application).c_str());
}

}  // namespace

TEST_CASE("the settings table, each row on an empty store")
{
    for (const auto& c : contract::kSettingsCases) {
        INFO(std::string(c.name));
        Forget(L"LumivexTest");
        if (c.writeSection) {
            std::wstring error;
            CHECK(ProgramSettings(L"LumivexTest")
                      .write(Wide(c.writeSection), Wide(c.writeKey), Wide(c.written), error));
            CHECK(error.empty());
        }
        // A new store object reads what the earlier one wrote: nothing is kept in memory.
        CHECK(Utf8(ProgramSettings(L"LumivexTest")
                       .read(Wide(c.readSection), Wide(c.readKey), Wide(c.defaultValue))) == c.expected);
    }
    Forget(L"LumivexTest");
}

TEST_CASE("the program's settings lie in the per-application area, one text value per key")
{
    Forget(L"Lumivex");
    const ProgramSettings settings(L"Lumivex");
    CHECK(settings.sectionKey(L"Settings") == L"Software\\VB and VBA Program Settings\\Lumivex\\Settings");
    std::wstring error;
    REQUIRE(settings.write(L"Settings", L"UpdateLokDir20", L"D:\\Lumivex\\Update\\", error));

    const ProcessOutcome query =
        RunHidden(L"reg",
                  {L"query", L"HKCU\\Software\\VB and VBA Program Settings\\Lumivex\\Settings", L"/v",
                   L"UpdateLokDir20"},
                  30000);
    REQUIRE(query.finished);
    CHECK(query.exitCode == 0);
    CAPTURE(query.output);
    CHECK(query.output.find("REG_SZ") != std::string::npos);
    CHECK(query.output.find("D:\\Lumivex\\Update\\") != std::string::npos);
    Forget(L"Lumivex");
}

TEST_CASE("a colour another program of the suite stored is read")
{
    Forget(L"Lumivex");
    const ProcessOutcome add =
        RunHidden(L"reg",
                  {L"add", L"HKCU\\Software\\VB and VBA Program Settings\\Lumivex\\Settings", L"/v",
                   L"BojaIntegratora", L"/t", L"REG_SZ", L"/d", L"255", L"/f"},
                  30000);
    REQUIRE(add.finished);
    REQUIRE(add.exitCode == 0);
    CHECK(ProgramSettings(L"Lumivex").read(L"Settings", L"BojaIntegratora", L"14277323") == L"255");
    CHECK(ProgramSettings(L"Lumivex").read(L"Setting", L"BojaIntegratora", L"14277323") == L"14277323");
    Forget(L"Lumivex");
}

TEST_CASE("a value that is no text reads as missing")
{
    Forget(L"LumivexTest");
    HKEY key = nullptr;
    REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kArea) + L"\\LumivexTest\\Settings").c_str(), 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExW(key, L"UpdateLok20N", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
    CHECK(ProgramSettings(L"LumivexTest").read(L"Settings", L"UpdateLok20N", L"0") == L"0");
    Forget(L"LumivexTest");
}
