#include "platform/OwnTemporaryFiles.h"
#include "platform/contract/FileFailureCases.h"
#include "platform/contract/MoveRace.h"
#include "platform/win32/FileOperations.h"

#include "Text.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace win32;

namespace {

// A folder of the test's own in the system's temporary folder, removed with all it holds.
struct Folder {
    Folder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + L"lumivex-datoteke-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++made);
        REQUIRE(CreateDirectoryW(path.c_str(), nullptr));
    }
    ~Folder() { RemoveFolder(path); }

    std::wstring operator/(const std::wstring& name) const { return path + L"\\" + name; }

    void put(const std::wstring& name, const std::string& bytes, bool readOnly = false) const
    {
        const HANDLE file = CreateFileW((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        if (readOnly)
            SetFileAttributesW((*this / name).c_str(), FILE_ATTRIBUTE_READONLY);
    }

    std::string get(const std::wstring& name) const
    {
        std::string contents;
        return ReadWholeFile(*this / name, contents).ok() ? contents : "<nema>";
    }

    // Every entry, hidden temporary files and folders included.
    std::vector<std::wstring> entries() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW entry;
        const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (std::wstring(entry.cFileName) != L"." && std::wstring(entry.cFileName) != L"..")
                names.emplace_back(entry.cFileName);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::wstring path;
    static inline int made = 0;
};

using Names = std::vector<std::wstring>;

std::wstring Native(const char* relative)
{
    std::wstring path = Wide(relative);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

}  // namespace

TEST_CASE("a copy replaces the whole target, read-only or not, and leaves no temporary file")
{
    for (const bool readOnlyTarget : {false, true}) {
        CAPTURE(readOnlyTarget);
        Folder f;
        f.put(L"novi.exe", "NOVO");
        f.put(L"stari.exe", "STARI SADRŽAJ DULJI", readOnlyTarget);
        const FileOutcome copied = CopyReplacing(f / L"novi.exe", f / L"stari.exe");
        CHECK(copied.ok());
        CHECK(f.get(L"stari.exe") == "NOVO");
        CHECK(f.get(L"novi.exe") == "NOVO");
        CHECK(f.entries() == Names{L"novi.exe", L"stari.exe"});
    }
}

TEST_CASE("the failure table")
{
    using contract::FileOperation;
    for (const auto& c : contract::kFileFailureCases) {
        INFO(std::string(c.name));
        Folder f;
        f.put(L"a.txt", "A");
        f.put(L"b.txt", "B");
        CreateDirectoryW((f / L"mapa").c_str(), nullptr);
        const std::wstring path = f / Native(c.path);
        const std::wstring target = f / Native(c.target);
        std::int64_t size = 0;
        std::string contents;
        std::vector<std::wstring> names;
        FileOutcome outcome;
        switch (c.operation) {
            case FileOperation::CopyReplacing:
                outcome = CopyReplacing(path, target);
                break;
            case FileOperation::Move:
                outcome = Move(path, target);
                break;
            case FileOperation::RemoveFile:
                outcome = RemoveFile(path);
                break;
            case FileOperation::RemoveFolder:
                outcome = RemoveFolder(path);
                break;
            case FileOperation::CreateFolder:
                outcome = CreateFolder(path);
                break;
            case FileOperation::FileSize:
                outcome = FileSize(path, size);
                break;
            case FileOperation::ListFiles:
                outcome = ListFiles(path, names);
                break;
            case FileOperation::ReadFile:
                outcome = ReadWholeFile(path, contents);
                break;
            case FileOperation::ReadInParts:
                outcome = ReadInParts(path, [](std::string_view) { return true; });
                break;
            case FileOperation::AppendToFile:
                outcome = AppendToFile(path, "x");
                break;
            case FileOperation::SyncFile:
                outcome = SyncFile(path);
                break;
            case FileOperation::SyncFolder:
                outcome = SyncFolder(path);
                break;
            case FileOperation::SyncFileSystem:
                outcome = SyncFileSystem(path);
                break;
        }
        CHECK_FALSE(outcome.ok());
        CHECK(Utf8(FileErrorText(outcome.code)) == c.text);
        CHECK(outcome.notFound == c.notFound);
        CHECK(static_cast<int>(outcome.stage) == static_cast<int>(c.stage));
        CHECK(f.get(L"a.txt") == "A");
        CHECK(f.get(L"b.txt") == "B");
        CHECK(f.entries() == Names{L"a.txt", L"b.txt", L"mapa"});
    }
}

namespace {

// Spends time that the compiler cannot take away.
void Spin(int times)
{
    volatile int counter = 0;
    for (int i = 0; i < times; ++i) counter = counter + 1;
}

// The other program of a move race: it creates the target as a new file only.
struct Creation {
    std::wstring path;
    const char* bytes;
    int spins;
    std::atomic<bool> ready{false};
    std::atomic<bool> go{false};
    std::atomic<bool> ended{false};
    bool created = false;
};

DWORD WINAPI Create(void* argument)
{
    Creation& c = *static_cast<Creation*>(argument);
    c.ready = true;
    while (!c.go) SwitchToThread();
    Spin(c.spins);
    const HANDLE file =
        CreateFileW(c.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(std::strlen(c.bytes));
        c.created = WriteFile(file, c.bytes, size, &written, nullptr) && written == size;
        CloseHandle(file);
    }
    c.ended = true;
    return 0;
}

}  // namespace

TEST_CASE("a move never replaces a file that appears under its target's name meanwhile")
{
    const contract::MoveRace& race = contract::kMoveRace;
    Folder f;
    int moves = 0;
    int creations = 0;
    for (int round = 0; round < race.rounds; ++round) {
        const int offset = contract::MoveRaceOffset(race, round);
        DeleteFileW((f / L"b.txt").c_str());
        f.put(L"a.txt", race.moved);
        Creation c;
        c.path = f / L"b.txt";
        c.bytes = race.created;
        c.spins = std::max(offset, 0);
        const HANDLE creator = CreateThread(nullptr, 0, Create, &c, 0, nullptr);
        REQUIRE(creator != nullptr);
        while (!c.ready) SwitchToThread();
        c.go = true;
        Spin(std::max(-offset, 0));
        while (contract::MoveRaceWaitsForTheCreation(race, round) && !c.ended) SwitchToThread();
        const FileOutcome moved = Move(f / L"a.txt", f / L"b.txt");
        WaitForSingleObject(creator, INFINITE);
        CloseHandle(creator);

        const bool whole = moved.ok()
                               ? !c.created && !FileExists(f / L"a.txt") && f.get(L"b.txt") == race.moved
                               : c.created && Utf8(FileErrorText(moved.code)) == race.text &&
                                     f.get(L"a.txt") == race.moved && f.get(L"b.txt") == race.created;
        INFO("round " << round << " (offset " << offset << "): the move "
                      << (moved.ok() ? std::string("worked") : Utf8(FileErrorText(moved.code)))
                      << ", the creation " << (c.created ? "worked" : "failed") << ", b.txt holds "
                      << f.get(L"b.txt"));
        REQUIRE(whole);
        ++(moved.ok() ? moves : creations);
    }
    CHECK(moves > 0);
    CHECK(creations > 0);
}

TEST_CASE("read-only files are deleted, alone and inside a folder tree")
{
    Folder f;
    f.put(L"zaštićena.dll", "X", true);
    CHECK(RemoveFile(f / L"zaštićena.dll").ok());
    CHECK_FALSE(FileExists(f / L"zaštićena.dll"));

    REQUIRE(CreateFolder(f / L"Update\\").ok());
    REQUIRE(CreateFolder(f / L"Update\\Dublje").ok());
    f.put(L"Update\\a.7z", "A", true);
    f.put(L"Update\\Dublje\\b.txt", "B", true);
    CHECK(FolderExists(f / L"Update\\"));
    CHECK(RemoveFolder(f / L"Update\\").ok());
    CHECK_FALSE(FolderExists(f / L"Update"));
    CHECK(f.entries().empty());
}

TEST_CASE("files are listed sorted, without folders; moved; sized; appended to")
{
    Folder f;
    f.put(L"b.7z", "BB");
    f.put(L"A.7z", "A");
    f.put(L"Čitaj.txt", "");
    CreateDirectoryW((f / L"mapa.7z").c_str(), nullptr);
    std::vector<std::wstring> names;
    REQUIRE(ListFiles(f.path + L"\\", names).ok());
    CHECK(names == Names{L"A.7z", L"b.7z", L"Čitaj.txt"});

    CHECK(Move(f / L"b.7z", f / L"mapa.7z\\b.7z").ok());
    CHECK(f.get(L"mapa.7z\\b.7z") == "BB");
    CHECK_FALSE(FileExists(f / L"b.7z"));

    std::int64_t size = -1;
    CHECK(FileSize(f / L"mapa.7z\\b.7z", size).ok());
    CHECK(size == 2);

    CHECK(AppendToFile(f / L"Update.log", "prvi\r\n").ok());
    CHECK(AppendToFile(f / L"Update.log", "drugi\r\n").ok());
    CHECK(f.get(L"Update.log") == "prvi\r\ndrugi\r\n");
    CHECK(FileExists(f / L"Update.log"));
    CHECK_FALSE(FolderExists(f / L"Update.log"));
    CHECK_FALSE(FileExists(f.path));
}

TEST_CASE("a replacing file shows nothing before commit and leaves nothing when abandoned")
{
    Folder f;
    f.put(L"Verzije.txt", "STARO", true);
    {
        ReplacingFile writer;
        REQUIRE(writer.open(f / L"Verzije.txt").ok());
        CHECK(writer.write("NO", 2).ok());
        CHECK(writer.write("VO", 2).ok());
        CHECK(f.get(L"Verzije.txt") == "STARO");
        CHECK(writer.commit().ok());
    }
    CHECK(f.get(L"Verzije.txt") == "NOVO");
    {
        ReplacingFile writer;
        REQUIRE(writer.open(f / L"Verzije.txt").ok());
        CHECK(writer.write("POLA", 4).ok());
    }
    CHECK(f.get(L"Verzije.txt") == "NOVO");
    CHECK(f.entries() == Names{L"Verzije.txt"});

    ReplacingFile nowhere;
    const FileOutcome opened = nowhere.open(f / L"nema\\Verzije.txt");
    CHECK_FALSE(opened.ok());
    CHECK(opened.stage == FileOutcome::Stage::Open);
    CHECK(opened.notFound);
}

TEST_CASE("an unfinished file beside its target carries the updater's name")
{
    Folder f;
    ReplacingFile writer;
    REQUIRE(writer.open(f / L"Verzije.txt").ok());
    const Names entries = f.entries();
    REQUIRE(entries.size() == 1);
    const std::wstring prefix = std::wstring(L".Verzije.txt") + kOwnTemporaryMarkWide;
    CHECK(entries[0].rfind(prefix, 0) == 0);
    CHECK(entries[0].size() > prefix.size());
}

TEST_CASE("a file read in parts arrives whole, in pieces of 64 KiB at most, and stops when asked")
{
    Folder f;
    std::string large(200 * 1024 + 5, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 31 + i / 65536);
    f.put(L"Plaće.7z", large);
    f.put(L"prazna.txt", "");

    std::string joined;
    std::vector<std::size_t> pieces;
    REQUIRE(ReadInParts(f / L"Plaće.7z", [&](std::string_view piece) {
                joined.append(piece);
                pieces.push_back(piece.size());
                return true;
            }).ok());
    CHECK(joined.size() == large.size());
    CHECK((joined == large));
    CHECK(pieces.size() >= 4);
    for (const std::size_t size : pieces) CHECK((size > 0 && size <= 64 * 1024));
    CHECK((f.get(L"Plaće.7z") == large));

    int calls = 0;
    CHECK(ReadInParts(f / L"Plaće.7z", [&](std::string_view) {
              ++calls;
              return false;
          }).ok());
    CHECK(calls == 1);

    calls = 0;
    CHECK(ReadInParts(f / L"prazna.txt", [&](std::string_view) {
              ++calls;
              return true;
          }).ok());
    CHECK(calls == 0);
}

TEST_CASE("files, read-only ones too, folders and the volume are synced, and nothing changes")
{
    Folder f;
    f.put(L"novi.exe", "MZ");
    f.put(L"samo-za-čitanje.dll", "DLL", true);
    CHECK(SyncFile(f / L"novi.exe").ok());
    CHECK(SyncFile(f / L"samo-za-čitanje.dll").ok());
    CHECK((GetFileAttributesW((f / L"samo-za-čitanje.dll").c_str()) & FILE_ATTRIBUTE_READONLY));
    CHECK(SyncFolder(f.path).ok());
    CHECK(SyncFolder(f.path + L"\\").ok());

    // Only an elevated administrator may open a volume, and Wine 8 opens C: but refuses the flush with
    // ERROR_INVALID_FUNCTION: any other failure would be news, and none may pass for a missing path.
    const FileOutcome volume = SyncFileSystem(f.path + L"\\");
    CAPTURE(Utf8(FileErrorText(volume.code)));
    CHECK((volume.ok() || volume.code == ERROR_ACCESS_DENIED || volume.code == ERROR_INVALID_FUNCTION));
    CHECK_FALSE(volume.notFound);

    CHECK(f.get(L"novi.exe") == "MZ");
    CHECK(f.get(L"samo-za-čitanje.dll") == "DLL");
    CHECK(f.entries() == Names{L"novi.exe", L"samo-za-čitanje.dll"});
}

TEST_CASE("error codes the user reads in words")
{
    CHECK(FileErrorText(ERROR_ACCESS_DENIED) == L"Pristup je odbijen.");
    CHECK(FileErrorText(ERROR_SHARING_VIOLATION) == L"Datoteku koristi drugi program.");
    CHECK(FileErrorText(ERROR_DISK_FULL) == L"Na disku nema dovoljno mjesta.");
    const std::wstring other = FileErrorText(ERROR_INVALID_FUNCTION);
    CHECK(other.rfind(L"Sistemska greška 1: ", 0) == 0);
    CHECK(other.size() > std::wstring(L"Sistemska greška 1: ").size());
}
