#include "platform/win32/FileOperations.h"

#include "platform/FileErrorWords.h"
#include "platform/OwnTemporaryFiles.h"
#include "platform/win32/SystemMessage.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

namespace win32 {

namespace {

// "An operation is not supported on a directory"; older headers lack its name.
constexpr DWORD kIsAFolder = 336;

bool IsMissing(DWORD code)
{
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_DRIVE ||
           code == ERROR_BAD_NETPATH || code == ERROR_BAD_NET_NAME;
}

FileOutcome Failure(DWORD code, FileOutcome::Stage stage = FileOutcome::Stage::None)
{
    FileOutcome outcome;
    outcome.code = code ? code : ERROR_GEN_FAILURE;
    outcome.notFound = IsMissing(code);
    outcome.stage = stage;
    return outcome;
}

FileOutcome LastFailure(FileOutcome::Stage stage = FileOutcome::Stage::None)
{
    return Failure(GetLastError(), stage);
}

std::wstring WithoutTrailingSeparator(const std::wstring& path)
{
    std::wstring p = path;
    while (p.size() > 1 && (p.back() == L'\\' || p.back() == L'/') && p[p.size() - 2] != L':') p.pop_back();
    return p;
}

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring NameOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A name beside `target` that no other file has, marked as the updater's: the process, a counter and
// the clock.
std::wstring TemporaryBeside(const std::wstring& target)
{
    static std::atomic<unsigned> counter{0};
    return FolderOf(target) + L"\\." + NameOf(target) + kOwnTemporaryMarkWide +
           std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++counter) + L"." +
           std::to_wstring(GetTickCount64());
}

// Clears the read-only mark, which on Windows stops a delete or a replace.
void AllowChange(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool WriteAll(HANDLE file, const char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr))
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Opened for the write access that FlushFileBuffers needs, without keeping anyone else out.
HANDLE OpenForFlush(const std::wstring& path, DWORD flags)
{
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, flags, nullptr);
}

FileOutcome FlushAndClose(HANDLE handle)
{
    FileOutcome outcome = FlushFileBuffers(handle) ? FileOutcome{} : LastFailure();
    if (!CloseHandle(handle) && outcome.ok())
        outcome = LastFailure();
    return outcome;
}

// Removes the unfinished copy beside a target and hands on why it was given up.
FileOutcome Discarded(const std::wstring& temporary, FileOutcome failed)
{
    AllowChange(temporary);
    DeleteFileW(temporary.c_str());
    return failed;
}

DWORD RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            AllowChange(path);
            const bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            const bool isLink = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            DWORD failed = 0;
            if (isFolder && !isLink)
                failed = RemoveTree(path);
            else if (isFolder ? !RemoveDirectoryW(path.c_str()) : !DeleteFileW(path.c_str()))
                failed = GetLastError();
            if (failed) {
                FindClose(find);
                return failed;
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    AllowChange(folder);
    return RemoveDirectoryW(folder.c_str()) ? 0 : GetLastError();
}

std::optional<FileErrorKind> KindOf(std::uint32_t code)
{
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return FileErrorKind::Missing;
        case ERROR_ACCESS_DENIED:
            return FileErrorKind::AccessDenied;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileErrorKind::Exists;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileErrorKind::DiskFull;
        case ERROR_WRITE_PROTECT:
            return FileErrorKind::WriteProtected;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileErrorKind::InUse;
        case ERROR_DIRECTORY:
            return FileErrorKind::NotAFolder;
        case kIsAFolder:
            return FileErrorKind::IsAFolder;
        case ERROR_DIR_NOT_EMPTY:
            return FileErrorKind::FolderNotEmpty;
        case ERROR_FILENAME_EXCED_RANGE:
            return FileErrorKind::NameTooLong;
        case ERROR_CRC:
        case ERROR_IO_DEVICE:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
            return FileErrorKind::DeviceFault;
        case ERROR_NOT_SAME_DEVICE:
            return FileErrorKind::OtherDevice;
        case ERROR_TOO_MANY_OPEN_FILES:
            return FileErrorKind::TooManyOpenFiles;
        default:
            return std::nullopt;
    }
}

std::wstring FromUtf8(const char* text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

}  // namespace

std::wstring FileErrorText(std::uint32_t code)
{
    if (const std::optional<FileErrorKind> kind = KindOf(code))
        return FromUtf8(FileErrorWords(*kind));
    return L"Sistemska greška " + std::to_wstring(code) + L": " + SystemMessage(code);
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileOutcome CreateFolder(const std::wstring& path)
{
    if (path.empty())
        return Failure(ERROR_PATH_NOT_FOUND);
    if (!CreateDirectoryW(WithoutTrailingSeparator(path).c_str(), nullptr))
        return LastFailure();
    return {};
}

FileOutcome RemoveFolder(const std::wstring& path)
{
    const std::wstring folder = WithoutTrailingSeparator(path);
    if (!FolderExists(folder))
        return Failure(ERROR_PATH_NOT_FOUND);
    if (const DWORD failed = RemoveTree(folder))
        return Failure(failed);
    return {};
}

FileOutcome RemoveFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastFailure();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Failure(kIsAFolder);
    AllowChange(path);
    if (!DeleteFileW(path.c_str())) {
        const FileOutcome failed = LastFailure();
        SetFileAttributesW(path.c_str(), attributes);
        return failed;
    }
    return {};
}

FileOutcome CopyReplacing(const std::wstring& from, const std::wstring& to)
{
    const DWORD attributes = GetFileAttributesW(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastFailure(FileOutcome::Stage::Open);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Failure(kIsAFolder, FileOutcome::Stage::Open);
    // The copy beside the target cannot be made where the target's folder is missing.
    if (!FolderExists(FolderOf(to)))
        return Failure(ERROR_PATH_NOT_FOUND, FileOutcome::Stage::Open);
    const std::wstring temporary = TemporaryBeside(to);
    if (!CopyFileW(from.c_str(), temporary.c_str(), TRUE))
        return Discarded(temporary, LastFailure(FileOutcome::Stage::Transfer));
    // The copy's bytes reach the disk before its name does, or a power cut could leave `to` empty.
    if (FileOutcome flushed = SyncFile(temporary); !flushed.ok()) {
        flushed.stage = FileOutcome::Stage::Transfer;
        flushed.notFound = false;
        return Discarded(temporary, flushed);
    }
    AllowChange(to);
    if (!MoveFileExW(temporary.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Discarded(temporary, LastFailure(FileOutcome::Stage::Transfer));
    return {};
}

FileOutcome Move(const std::wstring& from, const std::wstring& to)
{
    if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
        return LastFailure();
    // Without MOVEFILE_REPLACE_EXISTING the system itself refuses an existing `to`, in the same step as
    // the rename, so a file that appears under the name meanwhile is never replaced.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return {};
    FileOutcome failed = LastFailure();
    failed.notFound =
        GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError());
    return failed;
}

FileOutcome SyncFile(const std::wstring& path)
{
    HANDLE file = OpenForFlush(path, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD refused = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool readOnlyFile = attributes != INVALID_FILE_ATTRIBUTES &&
                                  (attributes & FILE_ATTRIBUTE_READONLY) &&
                                  !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (refused != ERROR_ACCESS_DENIED || !readOnlyFile)
            return Failure(refused);
        // The read-only mark refuses the write access a flush needs, so it is lifted for the open only.
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        file = OpenForFlush(path, FILE_ATTRIBUTE_NORMAL);
        const DWORD opened = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        SetFileAttributesW(path.c_str(), attributes);
        if (file == INVALID_HANDLE_VALUE)
            return Failure(opened);
    }
    return FlushAndClose(file);
}

FileOutcome SyncFolder(const std::wstring& path)
{
    const std::wstring folder = WithoutTrailingSeparator(path);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastFailure();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure(ERROR_DIRECTORY);
    const HANDLE handle = OpenForFlush(folder, FILE_FLAG_BACKUP_SEMANTICS);
    const FileOutcome flushed = handle == INVALID_HANDLE_VALUE ? LastFailure() : FlushAndClose(handle);
    // A system that will not flush a folder handle leaves a user's program no other way to force the
    // folder's names out; NTFS logs every change of names in its own journal, so the folder counts
    // as synced once it is known to exist.
    if (flushed.code == ERROR_ACCESS_DENIED || flushed.code == ERROR_INVALID_FUNCTION ||
        flushed.code == ERROR_INVALID_PARAMETER)
        return {};
    return flushed;
}

FileOutcome SyncFileSystem(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return LastFailure();
    std::vector<wchar_t> mount(std::max<std::size_t>(MAX_PATH, path.size()) + 1);
    if (!GetVolumePathNameW(path.c_str(), mount.data(), static_cast<DWORD>(mount.size())))
        return LastFailure();
    std::wstring volume = mount.data();
    if (volume.size() == 3 && volume[1] == L':' && volume[2] == L'\\') {
        volume = L"\\\\.\\" + volume.substr(0, 2);
    } else {
        // A volume mounted in a folder is opened by its name; a network share has none and fails here.
        wchar_t name[MAX_PATH + 1];
        if (!GetVolumeNameForVolumeMountPointW(volume.c_str(), name, MAX_PATH + 1))
            return LastFailure();
        volume = WithoutTrailingSeparator(name);
    }
    const HANDLE handle = CreateFileW(volume.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastFailure();
    return FlushAndClose(handle);
}

FileOutcome FileSize(const std::wstring& path, std::int64_t& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return LastFailure();
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return Failure(kIsAFolder);
    size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return {};
}

FileOutcome ListFiles(const std::wstring& folder, std::vector<std::wstring>& names)
{
    names.clear();
    const std::wstring base = WithoutTrailingSeparator(folder);
    if (!FolderExists(base))
        return FileExists(base) ? Failure(ERROR_DIRECTORY) : Failure(ERROR_PATH_NOT_FOUND);
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        // A drive's root has no "." entry: an empty one gives "no file".
        return GetLastError() == ERROR_FILE_NOT_FOUND ? FileOutcome{} : LastFailure();
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return {};
}

FileOutcome ReadInParts(const std::wstring& path, const std::function<bool(std::string_view)>& part)
{
    if (FolderExists(path))
        return Failure(kIsAFolder, FileOutcome::Stage::Open);
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastFailure(FileOutcome::Stage::Open);
    std::vector<char> buffer(64 * 1024);
    FileOutcome outcome;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            outcome = LastFailure(FileOutcome::Stage::Transfer);
            break;
        }
        if (got == 0 || !part(std::string_view(buffer.data(), got)))
            break;
    }
    CloseHandle(file);
    return outcome;
}

FileOutcome ReadWholeFile(const std::wstring& path, std::string& contents)
{
    contents.clear();
    return ReadInParts(path, [&contents](std::string_view piece) {
        contents.append(piece);
        return true;
    });
}

FileOutcome AppendToFile(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastFailure(FileOutcome::Stage::Open);
    const bool written = WriteAll(file, bytes.data(), bytes.size());
    const FileOutcome failed = written ? FileOutcome{} : LastFailure(FileOutcome::Stage::Transfer);
    CloseHandle(file);
    return failed;
}

ReplacingFile::~ReplacingFile()
{
    if (handle_)
        CloseHandle(handle_);
    if (!temporary_.empty() && !committed_)
        DeleteFileW(temporary_.c_str());
}

FileOutcome ReplacingFile::open(const std::wstring& target)
{
    target_ = target;
    temporary_ = TemporaryBeside(target);
    const HANDLE file = CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        temporary_.clear();
        return LastFailure(FileOutcome::Stage::Open);
    }
    handle_ = file;
    return {};
}

FileOutcome ReplacingFile::write(const char* data, std::size_t size)
{
    if (!handle_)
        return Failure(ERROR_INVALID_HANDLE, FileOutcome::Stage::Transfer);
    if (!WriteAll(handle_, data, size))
        return LastFailure(FileOutcome::Stage::Transfer);
    return {};
}

FileOutcome ReplacingFile::commit()
{
    if (!handle_)
        return Failure(ERROR_INVALID_HANDLE, FileOutcome::Stage::Transfer);
    // The bytes reach the disk before the name does, or a power cut could leave the target empty.
    FileOutcome closed = FlushAndClose(handle_);
    handle_ = nullptr;
    if (!closed.ok()) {
        closed.stage = FileOutcome::Stage::Transfer;
        return closed;
    }
    AllowChange(target_);
    if (!MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastFailure(FileOutcome::Stage::Transfer);
    committed_ = true;
    return {};
}

}  // namespace win32
