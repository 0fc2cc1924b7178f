#include "platform/win32/MachineNames.h"

#include "Text.h"

#include <doctest/doctest.h>

#include <string>

using namespace win32;

namespace {

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

TEST_CASE("the computer's and the user's names are what the system reports")
{
    std::wstring computer;
    REQUIRE(ComputerName(computer));
    CHECK_FALSE(computer.empty());
    CHECK(computer.size() <= MAX_COMPUTERNAME_LENGTH);
    CHECK(SameIgnoringCase(computer, EnvironmentVariable(L"COMPUTERNAME")));

    const std::wstring user = UserName();
    CHECK_FALSE(user.empty());
    CHECK(user.find(L'\0') == std::wstring::npos);
    CHECK(SameIgnoringCase(user, EnvironmentVariable(L"USERNAME")));
}

TEST_CASE("environment variables")
{
    const struct {
        const char* name;
        const wchar_t* variable;
        const wchar_t* set;  // nullptr: unset
        const wchar_t* expected;
    } cases[] = {
        {"unset gives the empty string", L"LUMIVEX_NEMA", nullptr, L""},
        {"set is read whole", L"LUMIVEX_IMA", L"C:\\Lumivex Plaće", L"C:\\Lumivex Plaće"},
        {"name in other letter case", L"lumivex_ima", nullptr, L"C:\\Lumivex Plaće"},
    };
    for (const auto& c : cases) {
        INFO(std::string(c.name));
        if (c.set)
            SetEnvironmentVariableW(c.variable, c.set);
        CHECK(EnvironmentVariable(c.variable) == c.expected);
    }
    const std::wstring longValue(5000, L'x');
    SetEnvironmentVariableW(L"LUMIVEX_DUGO", longValue.c_str());
    CHECK(EnvironmentVariable(L"LUMIVEX_DUGO") == longValue);
}

TEST_CASE("WinDir names the system's folder, where the help folder lies")
{
    const std::wstring winDir = EnvironmentVariable(L"WinDir");
    REQUIRE_FALSE(winDir.empty());
    const DWORD attributes = GetFileAttributesW(winDir.c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES);
    CHECK((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    wchar_t system[MAX_PATH];
    GetWindowsDirectoryW(system, MAX_PATH);
    CHECK(SameIgnoringCase(winDir, system));
}

TEST_CASE("the executable's folder holds the executable and ends without a separator")
{
    const std::wstring folder = ExecutableFolder();
    REQUIRE_FALSE(folder.empty());
    CHECK(folder.back() != L'\\');
    const std::wstring program = ThisProgram();
    CHECK(program.substr(0, folder.size() + 1) == folder + L"\\");
    CHECK(program.find(L'\\', folder.size() + 1) == std::wstring::npos);
}
