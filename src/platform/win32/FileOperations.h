#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// The outcome of one file operation: the system's error code when it failed, whether what it needed
// is missing, and where an operation that opens a file failed.
struct FileOutcome {
    enum class Stage { None, Open, Transfer };
    std::uint32_t code = 0;  // 0 when the operation worked
    bool notFound = false;
    Stage stage = Stage::None;
    bool ok() const { return code == 0; }
};

// The user's words for a system error code, fit for "Poruka o grešci je: ".
std::wstring FileErrorText(std::uint32_t code);

// Paths use "\"; a folder may end in one.
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// Creates one folder; its parent must exist.
FileOutcome CreateFolder(const std::wstring& path);

// Deletes a folder with everything in it, read-only files included; links inside are removed, never
// followed.
FileOutcome RemoveFolder(const std::wstring& path);

// Deletes one file, read-only or not; notFound when there is no such file.
FileOutcome RemoveFile(const std::wstring& path);

// Copies `from` over `to` (read-only or not) through a copy beside `to`, flushed before it is renamed
// into place, so that `to` holds either its old bytes or all of the new ones, even after a power cut.
FileOutcome CopyReplacing(const std::wstring& from, const std::wstring& to);

// Renames `from` to `to`, across drives too, never replacing an existing `to`. notFound only when
// `from` is missing: a missing destination folder is another failure.
FileOutcome Move(const std::wstring& from, const std::wstring& to);

// Writes the file's bytes to the disk, read-only or not.
FileOutcome SyncFile(const std::wstring& path);

// Writes the folder's list of names to the disk.
FileOutcome SyncFolder(const std::wstring& path);

// Writes all that the system holds in memory for the volume of `path` to the disk. Opening a volume
// takes an administrator: for a normal user this fails, and the caller syncs each file instead.
FileOutcome SyncFileSystem(const std::wstring& path);

FileOutcome FileSize(const std::wstring& path, std::int64_t& size);

// The names of the folder's files (not its subfolders), sorted.
FileOutcome ListFiles(const std::wstring& folder, std::vector<std::wstring>& names);

// Hands the file's bytes to `part` in order, at most 64 KiB at a time; `part` returns false to stop
// reading early, which is no failure.
FileOutcome ReadInParts(const std::wstring& path, const std::function<bool(std::string_view)>& part);

// Reads a whole file; after a failed read `contents` holds what was read before it.
FileOutcome ReadWholeFile(const std::wstring& path, std::string& contents);

// Appends in one write at the end of the file, creating it when missing.
FileOutcome AppendToFile(const std::wstring& path, const std::string& bytes);

// A file written beside its target, flushed and renamed over it by commit(); one destroyed without
// commit removes its file.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    FileOutcome open(const std::wstring& target);
    FileOutcome write(const char* data, std::size_t size);
    FileOutcome commit();

private:
    void* handle_ = nullptr;
    std::wstring temporary_;
    std::wstring target_;
    bool committed_ = false;
};

}  // namespace win32
