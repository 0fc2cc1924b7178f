#include "support/CrashingFileSystem.h"

#include "platform/LocalFileSystem.h"

#include <QDir>
#include <QRegularExpression>

#include <cerrno>

namespace {

FsResult error(int code, FsResult::Stage stage = FsResult::Stage::None)
{
    return FsResult::failure(OpisGreške(code), code, code == ENOENT, stage);
}

FsResult dead()
{
    return FsResult::failure(QStringLiteral("Program je prekinut."), EIO, false, FsResult::Stage::Open);
}

class CrashingWriter : public FileWriter {
public:
    CrashingWriter(CrashingFileSystem& fs, QString target) : fs_(fs), target_(std::move(target)) {}

    FsResult write(const QByteArray& bytes) override
    {
        if (!fs_.step(QStringLiteral("write ") + target_))
            return dead();
        bytes_ += bytes;
        return FsResult::success();
    }
    FsResult commit() override
    {
        if (!fs_.step(QStringLiteral("commit ") + target_))
            return dead();
        return fs_.placeSynced(target_, bytes_);
    }

private:
    CrashingFileSystem& fs_;
    QString target_;
    QByteArray bytes_;
};

}  // namespace

QString CrashingFileSystem::clean(const QString& path)
{
    return QDir::cleanPath(path);
}

QString CrashingFileSystem::parentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

bool CrashingFileSystem::isFolder(const Names& names, const QString& path) const
{
    if (path == u"/" || path.isEmpty())
        return true;
    const auto it = names.find(path);
    return it != names.end() && it->folder;
}

bool CrashingFileSystem::isFile(const QString& path) const
{
    const auto it = names_.find(path);
    return it != names_.end() && !it->folder;
}

int CrashingFileSystem::newInode(const QByteArray& bytes, const QByteArray& durable)
{
    const int inode = nextInode_++;
    bytes_[inode] = bytes;
    durableBytes_[inode] = durable;
    return inode;
}

void CrashingFileSystem::syncNames(const QString& folder)
{
    for (auto it = durableNames_.begin(); it != durableNames_.end();)
        it = parentOf(it.key()) == folder ? durableNames_.erase(it) : std::next(it);
    for (auto it = names_.cbegin(); it != names_.cend(); ++it)
        if (parentOf(it.key()) == folder)
            durableNames_.insert(it.key(), it.value());
}

void CrashingFileSystem::put(const QString& path, const QByteArray& bytes)
{
    const QString p = clean(path);
    makeFolders(parentOf(p));
    const int inode = newInode(bytes, bytes);
    names_.insert(p, {false, inode});
    durableNames_.insert(p, {false, inode});
}

void CrashingFileSystem::putUnsynced(const QString& path, const QByteArray& bytes)
{
    const QString p = clean(path);
    makeFolders(parentOf(p));
    durableNames_.remove(p);
    names_.insert(p, {false, newInode(bytes, QByteArray())});
}

void CrashingFileSystem::makeFolders(const QString& path)
{
    const QString p = clean(path);
    if (isFolder(names_, p))
        return;
    makeFolders(parentOf(p));
    names_.insert(p, {true, 0});
    durableNames_.insert(p, {true, 0});
}

bool CrashingFileSystem::has(const QString& path) const
{
    return isFile(clean(path));
}

QByteArray CrashingFileSystem::contents(const QString& path) const
{
    const auto it = names_.find(clean(path));
    return it == names_.end() || it->folder ? QByteArray() : bytes_.value(it->inode);
}

QMap<QString, QByteArray> CrashingFileSystem::filesUnder(const QString& folder) const
{
    const QString prefix = clean(folder) + u'/';
    QMap<QString, QByteArray> files;
    for (auto it = names_.cbegin(); it != names_.cend(); ++it)
        if (!it->folder && it.key().startsWith(prefix))
            files.insert(it.key(), bytes_.value(it->inode));
    return files;
}

void CrashingFileSystem::crashAfter(int k, Mode mode)
{
    limit_ = k;
    mode_ = mode;
    done_ = 0;
    crashed_ = false;
    record_.clear();
}

void CrashingFileSystem::restart()
{
    if (crashed_ && mode_ == Mode::PowerCut) {
        // A name survives only when every folder above it survived too.
        Names kept;
        for (auto it = durableNames_.cbegin(); it != durableNames_.cend(); ++it) {
            bool reachable = true;
            for (QString p = parentOf(it.key()); p != u"/"; p = parentOf(p))
                if (!isFolder(durableNames_, p)) {
                    reachable = false;
                    break;
                }
            if (reachable)
                kept.insert(it.key(), it.value());
        }
        names_ = kept;
        durableNames_ = kept;
        bytes_ = durableBytes_;
    }
    limit_ = -1;
    done_ = 0;
    crashed_ = false;
    record_.clear();
}

bool CrashingFileSystem::step(const QString& what)
{
    if (crashed_)
        return false;
    if (limit_ >= 0 && done_ >= limit_) {
        crashed_ = true;
        return false;
    }
    ++done_;
    record_ << what;
    return true;
}

FsResult CrashingFileSystem::placeSynced(const QString& target, const QByteArray& bytes)
{
    const QString p = clean(target);
    if (!isFolder(names_, parentOf(p)))
        return error(ENOENT, FsResult::Stage::Open);
    if (isFolder(names_, p))
        return error(EISDIR, FsResult::Stage::Open);
    names_.insert(p, {false, newInode(bytes, bytes)});
    syncNames(parentOf(p));
    return FsResult::success();
}

bool CrashingFileSystem::fileExists(const QString& path)
{
    return step(QStringLiteral("fileExists ") + path) && isFile(clean(path));
}

bool CrashingFileSystem::folderExists(const QString& path)
{
    return step(QStringLiteral("folderExists ") + path) && !path.isEmpty() && isFolder(names_, clean(path));
}

FsResult CrashingFileSystem::createFolder(const QString& path)
{
    if (!step(QStringLiteral("createFolder ") + path))
        return dead();
    const QString p = clean(path);
    if (names_.contains(p))
        return error(EEXIST);
    if (!isFolder(names_, parentOf(p)))
        return error(ENOENT);
    names_.insert(p, {true, 0});
    return FsResult::success();
}

FsResult CrashingFileSystem::removeFolder(const QString& path)
{
    if (!step(QStringLiteral("removeFolder ") + path))
        return dead();
    const QString p = clean(path);
    if (!isFolder(names_, p) || p == u"/")
        return error(ENOENT);
    const QString prefix = p + u'/';
    for (auto it = names_.begin(); it != names_.end();)
        it = it.key() == p || it.key().startsWith(prefix) ? names_.erase(it) : std::next(it);
    return FsResult::success();
}

FsResult CrashingFileSystem::removeFile(const QString& path)
{
    if (!step(QStringLiteral("removeFile ") + path))
        return dead();
    const QString p = clean(path);
    if (isFolder(names_, p))
        return error(EISDIR);
    if (!names_.remove(p))
        return error(ENOENT);
    return FsResult::success();
}

FsResult CrashingFileSystem::removeFiles(const QString& folder, const QString& mask)
{
    if (!step(QStringLiteral("removeFiles ") + folder + u' ' + mask))
        return dead();
    const QString f = clean(folder);
    if (!isFolder(names_, f))
        return error(ENOENT);
    const QString pattern = mask == u"*.*" ? QStringLiteral("*") : mask;
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    bool matched = false;
    for (auto it = names_.begin(); it != names_.end();) {
        if (!it->folder && parentOf(it.key()) == f && re.match(it.key().mid(f.size() + 1)).hasMatch()) {
            matched = true;
            it = names_.erase(it);
        } else {
            ++it;
        }
    }
    return matched ? FsResult::success() : error(ENOENT);
}

FsResult CrashingFileSystem::copyReplacing(const QString& from, const QString& to)
{
    if (!step(QStringLiteral("copyReplacing ") + from + QStringLiteral(" -> ") + to))
        return dead();
    const QString source = clean(from);
    if (isFolder(names_, source))
        return error(EISDIR, FsResult::Stage::Open);
    if (!isFile(source))
        return error(ENOENT, FsResult::Stage::Open);
    return placeSynced(to, bytes_.value(names_.value(source).inode));
}

FsResult CrashingFileSystem::move(const QString& from, const QString& to)
{
    if (!step(QStringLiteral("move ") + from + QStringLiteral(" -> ") + to))
        return dead();
    const QString source = clean(from);
    const QString target = clean(to);
    if (!isFile(source))
        return isFolder(names_, source) ? error(EISDIR) : error(ENOENT);
    if (names_.contains(target))
        return error(EEXIST);
    if (!isFolder(names_, parentOf(target))) {
        // The destination's folder is missing, not the file: no notFound.
        FsResult r = error(ENOENT);
        r.notFound = false;
        return r;
    }
    names_.insert(target, names_.take(source));
    return FsResult::success();
}

FsResult CrashingFileSystem::syncFile(const QString& path)
{
    if (!step(QStringLiteral("syncFile ") + path))
        return dead();
    const QString p = clean(path);
    if (!isFile(p))
        return error(ENOENT);
    const int inode = names_.value(p).inode;
    durableBytes_[inode] = bytes_.value(inode);
    return FsResult::success();
}

FsResult CrashingFileSystem::syncFolder(const QString& path)
{
    if (!step(QStringLiteral("syncFolder ") + path))
        return dead();
    const QString p = clean(path);
    if (!isFolder(names_, p))
        return error(ENOENT);
    syncNames(p);
    return FsResult::success();
}

FsResult CrashingFileSystem::syncFileSystem(const QString& path)
{
    if (!step(QStringLiteral("syncFileSystem ") + path))
        return dead();
    if (refuseFileSystemSync_)
        return error(EACCES);
    if (!names_.contains(clean(path)))
        return error(ENOENT);
    durableNames_ = names_;
    durableBytes_ = bytes_;
    return FsResult::success();
}

FsResult CrashingFileSystem::fileSize(const QString& path, qint64& size)
{
    if (!step(QStringLiteral("fileSize ") + path))
        return dead();
    const QString p = clean(path);
    if (!isFile(p))
        return isFolder(names_, p) ? error(EISDIR) : error(ENOENT);
    size = bytes_.value(names_.value(p).inode).size();
    return FsResult::success();
}

FsResult CrashingFileSystem::listFiles(const QString& folder, QStringList& names)
{
    names.clear();
    if (!step(QStringLiteral("listFiles ") + folder))
        return dead();
    const QString f = clean(folder);
    if (!isFolder(names_, f))
        return error(ENOENT);
    for (auto it = names_.cbegin(); it != names_.cend(); ++it)
        if (!it->folder && parentOf(it.key()) == f)
            names << it.key().mid(f == u"/" ? 1 : f.size() + 1);
    names.sort();
    return FsResult::success();
}

FsResult CrashingFileSystem::readFile(const QString& path, QByteArray& contents)
{
    contents.clear();
    if (!step(QStringLiteral("readFile ") + path))
        return dead();
    const QString p = clean(path);
    if (!isFile(p))
        return isFolder(names_, p) ? error(EISDIR, FsResult::Stage::Open)
                                   : error(ENOENT, FsResult::Stage::Open);
    contents = bytes_.value(names_.value(p).inode);
    return FsResult::success();
}

// The file's bytes are held in memory already, so they come as one part.
FsResult CrashingFileSystem::readInParts(const QString& path, const std::function<bool(const QByteArray&)>& part)
{
    QByteArray contents;
    if (const FsResult r = readFile(path, contents); !r)
        return r;
    part(contents);
    return FsResult::success();
}

FsResult CrashingFileSystem::appendToFile(const QString& path, const QByteArray& bytes)
{
    if (!step(QStringLiteral("appendToFile ") + path))
        return dead();
    const QString p = clean(path);
    if (isFolder(names_, p))
        return error(EISDIR, FsResult::Stage::Open);
    if (!isFile(p)) {
        if (!isFolder(names_, parentOf(p)))
            return error(ENOENT, FsResult::Stage::Open);
        names_.insert(p, {false, newInode(QByteArray(), QByteArray())});
    }
    bytes_[names_.value(p).inode] += bytes;
    return FsResult::success();
}

std::unique_ptr<FileWriter> CrashingFileSystem::replaceFile(const QString& target, FsResult& result)
{
    if (!step(QStringLiteral("replaceFile ") + target)) {
        result = dead();
        return nullptr;
    }
    if (!isFolder(names_, parentOf(clean(target)))) {
        result = error(ENOENT, FsResult::Stage::Open);
        return nullptr;
    }
    result = FsResult::success();
    return std::make_unique<CrashingWriter>(*this, target);
}
