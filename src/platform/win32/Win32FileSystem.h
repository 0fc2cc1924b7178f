#pragma once

#include "platform/FileSystem.h"

// The file system of Windows, through the Win32 body; paths arrive with "/" and are handed on with "\".
class Win32FileSystem : public FileSystem {
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
};
