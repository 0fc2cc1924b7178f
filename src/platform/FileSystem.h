#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

// The outcome of one file operation. Implementations never throw; each call says whether it worked
// and, when it did not, why, in words fit for "Poruka o grešci je: ".
struct FsResult {
    // Where an operation that opens a file failed: the log and the control-file reader tell an
    // open failure apart from one while reading or writing.
    enum class Stage { None, Open, Transfer };

    bool ok = true;
    QString error;          // empty when ok
    int code = 0;           // the system's error number, for texts that show it
    bool notFound = false;  // the file or folder that the operation needed does not exist
    Stage stage = Stage::None;

    explicit operator bool() const { return ok; }

    static FsResult success() { return {}; }
    static FsResult failure(const QString& error, int code = 0, bool notFound = false,
                            Stage stage = Stage::None)
    {
        FsResult r;
        r.ok = false;
        r.error = error;
        r.code = code;
        r.notFound = notFound;
        r.stage = stage;
        return r;
    }
};

// A file being written beside its target. Nothing is visible under the target's name until
// commit() renames the finished file over it; a writer destroyed without commit removes its file.
// A successful commit is durable: the bytes are on the disk before the rename, and the folder after.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual FsResult write(const QByteArray& bytes) = 0;
    virtual FsResult commit() = 0;
};

// Every file operation the updater performs. Paths use "/" and folders are named with or without a
// trailing "/".
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool fileExists(const QString& path) = 0;
    virtual bool folderExists(const QString& path) = 0;

    // Creates one folder; its parent must exist.
    virtual FsResult createFolder(const QString& path) = 0;

    // Deletes a folder with everything in it, read-only files included.
    virtual FsResult removeFolder(const QString& path) = 0;

    // Deletes one file, read-only or not. Fails with notFound when there is no such file.
    virtual FsResult removeFile(const QString& path) = 0;

    // Deletes the files of `folder` (not its subfolders) whose names match the wildcard `mask`
    // ("*.7z", "*.*"). Fails with notFound when no file matches, as a user would be told.
    virtual FsResult removeFiles(const QString& folder, const QString& mask) = 0;

    // Copies `from` to `to`, replacing `to`. Afterwards `to` holds either its old bytes or all of
    // the new ones, never a mixture, even after a power cut: the copy is written to a temporary file
    // in the destination folder, synced, renamed into place, and the folder is synced.
    virtual FsResult copyReplacing(const QString& from, const QString& to) = 0;

    // Renames `from` to `to`. Fails with notFound when `from` does not exist, because callers treat
    // a missing old file differently from a locked one. Never replaces an existing `to`. Between
    // file systems the file is copied as copyReplacing does and the original removed. A rename is
    // durable only once the folders involved are synced (syncFolder).
    virtual FsResult move(const QString& from, const QString& to) = 0;

    // Writes the file's bytes to the disk, so that a power cut cannot take them back.
    virtual FsResult syncFile(const QString& path) = 0;

    // Writes the folder's list of names to the disk: the files created, removed or renamed in it
    // since survive a power cut.
    virtual FsResult syncFolder(const QString& path) = 0;

    // Writes all that the file system holding `path` keeps in memory to the disk: every file's bytes
    // and every folder's names. It costs about what one syncFile does, so a caller with many files
    // to sync calls it once instead.
    virtual FsResult syncFileSystem(const QString& path) = 0;

    virtual FsResult fileSize(const QString& path, qint64& size) = 0;

    // The names (without folder) of the files in `folder`, in a stable order; subfolders are left out.
    virtual FsResult listFiles(const QString& folder, QStringList& names) = 0;

    // Reads a whole file. When reading fails after the open, `contents` holds what was read so far
    // and the result's stage is Transfer.
    virtual FsResult readFile(const QString& path, QByteArray& contents) = 0;

    // Appends in one write at the end of the file, creating it when missing; opened and closed
    // within the call.
    virtual FsResult appendToFile(const QString& path, const QByteArray& bytes) = 0;

    // Starts writing a new file that will replace `target` on commit. Returns null and says why
    // in `result` when the file cannot be created.
    virtual std::unique_ptr<FileWriter> replaceFile(const QString& target, FsResult& result) = 0;
};
