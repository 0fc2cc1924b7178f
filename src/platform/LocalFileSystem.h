#pragma once

#include "platform/FileSystem.h"

// The file system of this machine.
class LocalFileSystem : public FileSystem {
public:
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

private:
    // copyReplacing, and the copy of a move across file systems, which never replaces `to`.
    FsResult copy(const QString& from, const QString& to, bool replacing);
};

// The Croatian description of a system error number, as the user reads it after
// "Poruka o grešci je: ".
QString OpisGreške(int code);
