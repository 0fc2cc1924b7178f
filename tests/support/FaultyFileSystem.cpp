#include "support/FaultyFileSystem.h"

#include <QDir>

namespace {

QString clean(const QString& path)
{
    return path.isEmpty() ? path : QDir::cleanPath(path);
}

class FaultyWriter : public FileWriter {
public:
    FaultyWriter(FaultyFileSystem& fs, std::unique_ptr<FileWriter> real, QString target)
        : fs_(fs), real_(std::move(real)), target_(std::move(target))
    {
    }
    FsResult write(const QByteArray& bytes) override
    {
        if (auto f = fs_.fault(QStringLiteral("write"), target_))
            return *f;
        FsResult result = real_->write(bytes);
        if (result)
            fs_.countWritten(target_, bytes.size());
        return result;
    }
    FsResult commit() override
    {
        if (auto f = fs_.fault(QStringLiteral("commit"), target_))
            return *f;
        return real_->commit();
    }

private:
    FaultyFileSystem& fs_;
    std::unique_ptr<FileWriter> real_;
    QString target_;
};

}  // namespace

void FaultyFileSystem::failOperation(int n, const QString& error, bool persist)
{
    countdown_ = n;
    countdownError_ = error;
    persist_ = persist;
}

void FaultyFileSystem::failPath(const QString& path, const QString& error, const QStringList& names,
                                FsResult::Stage stage)
{
    rules_.push_back({clean(path), error, names, stage});
}

void FaultyFileSystem::heal()
{
    countdown_ = 0;
    rules_.clear();
}

std::optional<FsResult> FaultyFileSystem::fault(const QString& name, const QString& path,
                                                const QString& path2)
{
    record_.push_back({name, path, path2});
    const QString p1 = clean(path);
    const QString p2 = clean(path2);
    auto failure = [&](const QString& error, FsResult::Stage stage = FsResult::Stage::Open) {
        ++faults_;
        return std::optional<FsResult>(FsResult::failure(error, 13, false, stage));
    };
    if (countdown_ > 0 && --countdown_ == 0) {
        if (persist_)
            rules_.push_back({p1, countdownError_, {}, FsResult::Stage::Open});
        return failure(countdownError_);
    }
    for (const PathRule& rule : rules_) {
        if ((rule.path == p1 || (!p2.isEmpty() && rule.path == p2)) &&
            (rule.names.isEmpty() || rule.names.contains(name)))
            return failure(rule.error, rule.stage);
    }
    return std::nullopt;
}

bool FaultyFileSystem::fileExists(const QString& path)
{
    return !fault(QStringLiteral("fileExists"), path) && real_.fileExists(path);
}

bool FaultyFileSystem::folderExists(const QString& path)
{
    return !fault(QStringLiteral("folderExists"), path) && real_.folderExists(path);
}

FsResult FaultyFileSystem::createFolder(const QString& path)
{
    if (auto f = fault(QStringLiteral("createFolder"), path))
        return *f;
    return real_.createFolder(path);
}

FsResult FaultyFileSystem::removeFolder(const QString& path)
{
    if (auto f = fault(QStringLiteral("removeFolder"), path))
        return *f;
    return real_.removeFolder(path);
}

FsResult FaultyFileSystem::removeFile(const QString& path)
{
    if (auto f = fault(QStringLiteral("removeFile"), path))
        return *f;
    return real_.removeFile(path);
}

FsResult FaultyFileSystem::removeFiles(const QString& folder, const QString& mask)
{
    if (auto f = fault(QStringLiteral("removeFiles"), folder, mask))
        return *f;
    return real_.removeFiles(folder, mask);
}

FsResult FaultyFileSystem::copyReplacing(const QString& from, const QString& to)
{
    if (auto f = fault(QStringLiteral("copyReplacing"), to, from))
        return *f;
    return real_.copyReplacing(from, to);
}

FsResult FaultyFileSystem::move(const QString& from, const QString& to)
{
    if (auto f = fault(QStringLiteral("move"), from, to))
        return *f;
    return real_.move(from, to);
}

FsResult FaultyFileSystem::syncFile(const QString& path)
{
    if (auto f = fault(QStringLiteral("syncFile"), path))
        return *f;
    return real_.syncFile(path);
}

FsResult FaultyFileSystem::syncFolder(const QString& path)
{
    if (auto f = fault(QStringLiteral("syncFolder"), path))
        return *f;
    return real_.syncFolder(path);
}

FsResult FaultyFileSystem::syncFileSystem(const QString& path)
{
    if (auto f = fault(QStringLiteral("syncFileSystem"), path))
        return *f;
    return real_.syncFileSystem(path);
}

FsResult FaultyFileSystem::fileSize(const QString& path, qint64& size)
{
    if (auto f = fault(QStringLiteral("fileSize"), path))
        return *f;
    return real_.fileSize(path, size);
}

FsResult FaultyFileSystem::listFiles(const QString& folder, QStringList& names)
{
    if (auto f = fault(QStringLiteral("listFiles"), folder))
        return *f;
    return real_.listFiles(folder, names);
}

FsResult FaultyFileSystem::readFile(const QString& path, QByteArray& contents)
{
    if (auto f = fault(QStringLiteral("readFile"), path)) {
        // A read that breaks off half-way hands over the first half of the file.
        if (f->stage == FsResult::Stage::Transfer && real_.readFile(path, contents))
            contents.truncate(contents.size() / 2);
        else
            contents.clear();
        return *f;
    }
    return real_.readFile(path, contents);
}

FsResult FaultyFileSystem::readInParts(const QString& path,
                                       const std::function<bool(const QByteArray&)>& part)
{
    if (auto f = fault(QStringLiteral("readInParts"), path))
        return *f;
    return real_.readInParts(path, part);
}

FsResult FaultyFileSystem::appendToFile(const QString& path, const QByteArray& bytes)
{
    if (auto f = fault(QStringLiteral("appendToFile"), path))
        return *f;
    return real_.appendToFile(path, bytes);
}

std::unique_ptr<FileWriter> FaultyFileSystem::replaceFile(const QString& target, FsResult& result)
{
    if (auto f = fault(QStringLiteral("replaceFile"), target)) {
        result = *f;
        return nullptr;
    }
    std::unique_ptr<FileWriter> real = real_.replaceFile(target, result);
    if (!real)
        return nullptr;
    return std::make_unique<FaultyWriter>(*this, std::move(real), target);
}
