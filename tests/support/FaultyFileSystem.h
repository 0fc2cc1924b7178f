#pragma once

#include "platform/FileSystem.h"

#include <QStringList>
#include <map>
#include <optional>
#include <vector>

// Wraps a real file system and fails chosen operations: the n-th one from now, or every one on a
// given path. It records every operation, so a test can sweep a fault over all of them.
class FaultyFileSystem : public FileSystem {
public:
    struct Operation {
        QString name;  // the method's name: "move", "copyReplacing", ...; "write" and "commit" for writers
        QString path;
        QString path2;
    };

    explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

    // The n-th operation from now (1-based) fails with `error`. With `persist`, every later operation
    // on the same path fails too.
    void failOperation(int n, const QString& error = QStringLiteral("Pristup je odbijen."),
                       bool persist = false);
    // Every operation named in `names` (all when empty) on `path` fails with `error`, as an open
    // failure unless another stage is given.
    void failPath(const QString& path,
                  const QString& error = QStringLiteral("Datoteku koristi drugi program."),
                  const QStringList& names = {}, FsResult::Stage stage = FsResult::Stage::Open);
    // Stops failing; the record stays.
    void heal();
    void clearRecord() { record_.clear(); }

    const std::vector<Operation>& operations() const { return record_; }
    // How many times an operation failed because of this wrapper.
    int faults() const { return faults_; }
    // Bytes written through writers for `target`, whether or not they were committed.
    qint64 written(const QString& target) const
    {
        const auto found = written_.find(target);
        return found == written_.end() ? 0 : found->second;
    }
    void countWritten(const QString& target, qint64 bytes) { written_[target] += bytes; }

    bool fileExists(const QString& path) override;
    bool folderExists(const QString& path) override;
    FsResult createFolder(const QString& path) override;
    FsResult removeFolder(const QString& path) override;
    FsResult removeFile(const QString& path) override;
    FsResult removeFiles(const QString& folder, const QString& mask) override;
    FsResult copyReplacing(const QString& from, const QString& to) override;
    FsResult move(const QString& from, const QString& to) override;
    FsResult syncFile(const QString& path) override;
    FsResult syncFolder(const QString& path) override;
    FsResult syncFileSystem(const QString& path) override;
    FsResult fileSize(const QString& path, qint64& size) override;
    FsResult listFiles(const QString& folder, QStringList& names) override;
    FsResult readFile(const QString& path, QByteArray& contents) override;
    FsResult readInParts(const QString& path, const std::function<bool(const QByteArray&)>& part) override;
    FsResult appendToFile(const QString& path, const QByteArray& bytes) override;
    std::unique_ptr<FileWriter> replaceFile(const QString& target, FsResult& result) override;

    // Decides whether this operation fails; public for the writers it hands out.
    std::optional<FsResult> fault(const QString& name, const QString& path, const QString& path2 = QString());

private:
    struct PathRule {
        QString path;
        QString error;
        QStringList names;
        FsResult::Stage stage = FsResult::Stage::Open;
    };

    FileSystem& real_;
    std::vector<Operation> record_;
    int countdown_ = 0;
    QString countdownError_;
    bool persist_ = false;
    std::vector<PathRule> rules_;
    int faults_ = 0;
    std::map<QString, qint64> written_;
};
