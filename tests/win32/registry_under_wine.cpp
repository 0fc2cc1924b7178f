#include "platform/contract/RegistryCases.h"
#include "platform/win32/HiddenProcess.h"
#include "platform/win32/UserRegistry.h"

#include "Text.h"

#include <doctest/doctest.h>

#include <cstdio>
#include <string>

using namespace win32;

namespace {

bool ReadDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value)
{
    DWORD size = sizeof value;
    return RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// What the system's own registry tool shows of a value.
std::string RegQuery(const std::wstring& key, const std::wstring& name)
{
    const ProcessOutcome run = RunHidden(L"reg", {L"query", L"HKCU\\" + key, L"/v", name}, 30000);
    REQUIRE(run.started);
    REQUIRE(run.finished);
    CHECK(run.exitCode == 0);
    return run.output;
}

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

void Forget()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Lumivex Test");
}

}  // namespace

TEST_CASE("the REG_DWORD table")
{
    Forget();
    for (const auto& c : contract::kDwordWriteCases) {
        INFO(std::string(c.name));
        std::wstring error;
        const bool ok = WriteDword(Wide(c.path), c.value, error);
        CHECK(ok == c.ok);
        if (c.ok) {
            CHECK(error.empty());
            DWORD stored = 0;
            CHECK(ReadDword(HKEY_CURRENT_USER, Wide(c.key), Wide(c.valueName), stored));
            CHECK(stored == c.value);
            const std::string shown = RegQuery(Wide(c.key), Wide(c.valueName));
            CAPTURE(shown);
            CHECK(shown.find("REG_DWORD") != std::string::npos);
            CHECK(shown.find(Hex(c.value)) != std::string::npos);
        } else {
            CHECK(Utf8(error) == std::string("Nepoznata grana registra: ") + c.path);
        }
    }
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Lumivex Test"));
    Forget();
}

TEST_CASE("a value written again keeps the later number")
{
    Forget();
    const auto& c = contract::kDwordRewrite;
    std::wstring error;
    REQUIRE(WriteDword(Wide(c.path), c.first, error));
    REQUIRE(WriteDword(Wide(c.path), c.second, error));
    DWORD stored = 0;
    CHECK(ReadDword(HKEY_CURRENT_USER, L"Software\\Lumivex Test\\Ponovo", L"Broj", stored));
    CHECK(stored == c.second);
    Forget();
}

TEST_CASE("a path that names a key but no value is refused and nothing is created")
{
    Forget();
    std::wstring error;
    CHECK_FALSE(WriteDword(L"HKCU\\Software\\Lumivex Test\\Ključ\\", 1, error));
    CHECK(error == L"Nedostaje ime vrijednosti: HKCU\\Software\\Lumivex Test\\Ključ\\");
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Lumivex Test"));
}

TEST_CASE("a key that cannot be written gives the system's reason after the path")
{
    Forget();
    std::wstring error;
    // A key name is at most 255 characters long; the system refuses a longer one.
    const std::wstring tooLong(300, L'k');
    CHECK_FALSE(WriteDword(L"HKCU\\Software\\Lumivex Test\\" + tooLong + L"\\Broj", 1, error));
    const std::wstring start =
        L"Nije moguće upisati u HKCU\\Software\\Lumivex Test\\" + tooLong + L"\\Broj: ";
    CHECK(error.substr(0, start.size()) == start);
    CHECK(error.size() > start.size());
    Forget();
}
