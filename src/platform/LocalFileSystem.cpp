#include "platform/LocalFileSystem.h"

#include "platform/FileErrorWords.h"
#include "platform/FileMask.h"
#include "platform/OwnTemporaryFiles.h"

#include <QDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::optional<FileErrorKind> kindOf(int code)
{
    switch (code) {
        case ENOENT:
            return FileErrorKind::Missing;
        case EACCES:
        case EPERM:
            return FileErrorKind::AccessDenied;
        case EEXIST:
            return FileErrorKind::Exists;
        case ENOSPC:
            return FileErrorKind::DiskFull;
        case EROFS:
            return FileErrorKind::WriteProtected;
        case EBUSY:
        case ETXTBSY:
            return FileErrorKind::InUse;
        case ENOTDIR:
            return FileErrorKind::NotAFolder;
        case EISDIR:
            return FileErrorKind::IsAFolder;
        case ENOTEMPTY:
            return FileErrorKind::FolderNotEmpty;
        case ENAMETOOLONG:
            return FileErrorKind::NameTooLong;
        case EIO:
            return FileErrorKind::DeviceFault;
        case EXDEV:
            return FileErrorKind::OtherDevice;
        case EMFILE:
        case ENFILE:
            return FileErrorKind::TooManyOpenFiles;
        default:
            return std::nullopt;
    }
}

}  // namespace

QString OpisGreške(int code)
{
    if (const std::optional<FileErrorKind> kind = kindOf(code))
        return QString::fromUtf8(FileErrorWords(*kind));
    return QStringLiteral("Sistemska greška %1: %2").arg(code).arg(QString::fromLocal8Bit(std::strerror(code)));
}

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

FsResult fromErrno(int code, FsResult::Stage stage = FsResult::Stage::None)
{
    return FsResult::failure(OpisGreške(code), code, code == ENOENT, stage);
}

FsResult fromErrorCode(const std::error_code& ec)
{
    return fromErrno(ec.value());
}

QString withoutTrailingSlash(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(u'/')) p.chop(1);
    return p;
}

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : path.left(slash));
}

// Writes all of `size` bytes, retrying short writes.
bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Opens `path` (a folder when `folder`) and writes what the system holds of it to the disk.
int syncPath(const QByteArray& path, bool folder)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return errno;
    int code = 0;
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            code = errno;
            break;
        }
    }
    ::close(fd);
    return code;
}

int syncFd(int fd)
{
    while (::fsync(fd) != 0)
        if (errno != EINTR)
            return errno;
    return 0;
}

// Gives `from` the name `to` unless a file or folder already has it, in one step, so that a file
// that appears under the name meanwhile is never replaced. Returns the errno of a failure.
int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    // The file system cannot rename without replacing; a new link never replaces a name either.
    struct stat st {};
    if (::lstat(from.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode)) {
        if (::link(from.constData(), to.constData()) == 0) {
            if (::unlink(from.constData()) == 0)
                return 0;
            const int code = errno;
            ::unlink(to.constData());
            return code;
        }
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
            return errno;
    }
    // A folder, or a file system without links: only a check before the rename is left.
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// Creates an empty temporary file in `folder` for a file that will be named `name`.
int createTemporary(const QString& folder, const QString& name, QByteArray& tempPath)
{
    tempPath = native(folder + QStringLiteral("/.") + name + QLatin1String(kOwnTemporaryMark) +
                      QStringLiteral("XXXXXX"));
    return ::mkstemp(tempPath.data());
}

class LocalFileWriter : public FileWriter {
public:
    LocalFileWriter(int fd, QByteArray tempPath, QByteArray target)
        : fd_(fd), tempPath_(std::move(tempPath)), target_(std::move(target))
    {
    }
    ~LocalFileWriter() override
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_)
            ::unlink(tempPath_.constData());
    }

    FsResult write(const QByteArray& bytes) override
    {
        if (fd_ < 0)
            return FsResult::failure(OpisGreške(EBADF), EBADF, false, FsResult::Stage::Transfer);
        if (!writeAll(fd_, bytes.constData(), bytes.size()))
            return fromErrno(errno, FsResult::Stage::Transfer);
        return FsResult::success();
    }

    FsResult commit() override
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
        const int synced = syncFd(fd_);
        const int closed = ::close(fd_);
        fd_ = -1;
        if (synced != 0)
            return fromErrno(synced, FsResult::Stage::Transfer);
        if (closed != 0)
            return fromErrno(errno, FsResult::Stage::Transfer);
        if (::rename(tempPath_.constData(), target_.constData()) != 0)
            return fromErrno(errno, FsResult::Stage::Transfer);
        committed_ = true;
        // The file is in place; a failed sync of its folder is told, though the new bytes stay.
        if (const int code = syncPath(native(folderOf(QFile::decodeName(target_))), true); code != 0)
            return fromErrno(code, FsResult::Stage::Transfer);
        return FsResult::success();
    }

private:
    int fd_;
    QByteArray tempPath_;
    QByteArray target_;
    bool committed_ = false;
};

}  // namespace

bool LocalFileSystem::fileExists(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(native(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool LocalFileSystem::folderExists(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

FsResult LocalFileSystem::createFolder(const QString& path)
{
    if (path.isEmpty())
        return fromErrno(ENOENT);
    if (::mkdir(native(withoutTrailingSlash(path)).constData(), 0777) != 0)
        return fromErrno(errno);
    return FsResult::success();
}

FsResult LocalFileSystem::removeFolder(const QString& path)
{
    const fs::path p(native(withoutTrailingSlash(path)).toStdString());
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(p, ec)))
        return fromErrno(ENOENT);
    fs::remove_all(p, ec);
    if (ec)
        return fromErrorCode(ec);
    return FsResult::success();
}

FsResult LocalFileSystem::removeFile(const QString& path)
{
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return fromErrno(errno);
    if (S_ISDIR(st.st_mode))
        return fromErrno(EISDIR);
    if (::unlink(native(path).constData()) != 0)
        return fromErrno(errno);
    return FsResult::success();
}

FsResult LocalFileSystem::removeFiles(const QString& folder, const QString& mask)
{
    return RemoveMatchingFiles(*this, folder, mask, fromErrno(ENOENT));
}

FsResult LocalFileSystem::copyReplacing(const QString& from, const QString& to)
{
    return copy(from, to, true);
}

FsResult LocalFileSystem::copy(const QString& from, const QString& to, bool replacing)
{
    const int in = ::open(native(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return fromErrno(errno, FsResult::Stage::Open);
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(in);
        return fromErrno(code, FsResult::Stage::Open);
    }

    const QString target = to;
    QByteArray tempPath;
    const int out = createTemporary(folderOf(target), target.mid(target.lastIndexOf(u'/') + 1), tempPath);
    if (out < 0) {
        const int code = errno;
        ::close(in);
        return fromErrno(code, FsResult::Stage::Open);
    }

    int failure = 0;
    off_t remaining = st.st_size;
    while (remaining > 0 && failure == 0) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(remaining), 0);
        if (n > 0) {
            remaining -= n;
            continue;
        }
        if (n == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) {
            failure = errno;
            break;
        }
        // The kernel cannot copy between these files: copy through a buffer.
        std::vector<char> buffer(1 << 20);
        for (;;) {
            const ssize_t got = ::read(in, buffer.data(), buffer.size());
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                failure = errno;
                break;
            }
            if (got == 0)
                break;
            if (!writeAll(out, buffer.data(), got)) {
                failure = errno;
                break;
            }
        }
        remaining = 0;
    }
    ::close(in);
    if (failure == 0)
        ::fchmod(out, st.st_mode & 07777);
    if (failure == 0)
        failure = syncFd(out);
    if (::close(out) != 0 && failure == 0)
        failure = errno;
    if (failure == 0) {
        if (replacing)
            failure = ::rename(tempPath.constData(), native(target).constData()) == 0 ? 0 : errno;
        else
            failure = renameNoReplace(tempPath, native(target));
    }
    if (failure != 0) {
        ::unlink(tempPath.constData());
        return fromErrno(failure, FsResult::Stage::Transfer);
    }
    if (const int code = syncPath(native(folderOf(target)), true); code != 0)
        return fromErrno(code, FsResult::Stage::Transfer);
    return FsResult::success();
}

FsResult LocalFileSystem::move(const QString& from, const QString& to)
{
    // Only a missing `from` is notFound: a missing destination folder must not pass for an absent old
    // file, or the caller would overwrite that file without having a backup of it.
    const auto failed = [&](FsResult r) {
        struct stat source {};
        r.notFound = ::lstat(native(from).constData(), &source) != 0 && errno == ENOENT;
        return r;
    };
    const int code = renameNoReplace(native(from), native(to));
    if (code == 0)
        return FsResult::success();
    if (code != EXDEV)
        return failed(fromErrno(code));
    // Another device: copy, then remove the original only when the copy is whole.
    if (FsResult copied = copy(from, to, false); !copied)
        return failed(copied);
    if (::unlink(native(from).constData()) != 0) {
        const int code = errno;
        ::unlink(native(to).constData());
        return failed(fromErrno(code));
    }
    return FsResult::success();
}

FsResult LocalFileSystem::syncFile(const QString& path)
{
    if (const int code = syncPath(native(path), false); code != 0)
        return fromErrno(code);
    return FsResult::success();
}

FsResult LocalFileSystem::syncFolder(const QString& path)
{
    if (const int code = syncPath(native(withoutTrailingSlash(path)), true); code != 0)
        return fromErrno(code);
    return FsResult::success();
}

FsResult LocalFileSystem::syncFileSystem(const QString& path)
{
    const int fd = ::open(native(withoutTrailingSlash(path)).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fromErrno(errno);
    const int synced = ::syncfs(fd);
    const int code = errno;
    ::close(fd);
    if (synced != 0)
        return fromErrno(code);
    return FsResult::success();
}

FsResult LocalFileSystem::fileSize(const QString& path, qint64& size)
{
    struct stat st {};
    if (::stat(native(path).constData(), &st) != 0)
        return fromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return fromErrno(EISDIR);
    size = st.st_size;
    return FsResult::success();
}

FsResult LocalFileSystem::listFiles(const QString& folder, QStringList& names)
{
    names.clear();
    std::error_code ec;
    fs::directory_iterator it(native(withoutTrailingSlash(folder)).toStdString(), ec);
    if (ec)
        return fromErrorCode(ec);
    for (const fs::directory_entry& entry : it) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError))
            names << QFile::decodeName(QByteArray::fromStdString(entry.path().filename().string()));
    }
    std::sort(names.begin(), names.end());
    return FsResult::success();
}

FsResult LocalFileSystem::readFile(const QString& path, QByteArray& contents)
{
    contents.clear();
    return readInParts(path, [&contents](const QByteArray& part) {
        contents.append(part);
        return true;
    });
}

FsResult LocalFileSystem::readInParts(const QString& path, const std::function<bool(const QByteArray&)>& part)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fromErrno(errno, FsResult::Stage::Open);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fromErrno(EISDIR, FsResult::Stage::Open);
    }
    QByteArray buffer(65536, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), static_cast<size_t>(buffer.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            ::close(fd);
            return fromErrno(code, FsResult::Stage::Transfer);
        }
        if (n == 0 || !part(buffer.first(n)))
            break;
    }
    ::close(fd);
    return FsResult::success();
}

FsResult LocalFileSystem::appendToFile(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0)
        return fromErrno(errno, FsResult::Stage::Open);
    const bool written = writeAll(fd, bytes.constData(), bytes.size());
    const int code = errno;
    ::close(fd);
    if (!written)
        return fromErrno(code, FsResult::Stage::Transfer);
    return FsResult::success();
}

std::unique_ptr<FileWriter> LocalFileSystem::replaceFile(const QString& target, FsResult& result)
{
    QByteArray tempPath;
    const int fd = createTemporary(folderOf(target), target.mid(target.lastIndexOf(u'/') + 1), tempPath);
    if (fd < 0) {
        result = fromErrno(errno, FsResult::Stage::Open);
        return nullptr;
    }
    result = FsResult::success();
    return std::make_unique<LocalFileWriter>(fd, tempPath, native(target));
}
