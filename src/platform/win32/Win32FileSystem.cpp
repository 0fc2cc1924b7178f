#include "platform/win32/Win32FileSystem.h"

#include "platform/FileMask.h"
#include "platform/win32/FileOperations.h"

#include <QDir>

namespace {

std::wstring Native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

FsResult Converted(const win32::FileOutcome& outcome)
{
    if (outcome.ok())
        return FsResult::success();
    FsResult::Stage stage = FsResult::Stage::None;
    if (outcome.stage == win32::FileOutcome::Stage::Open)
        stage = FsResult::Stage::Open;
    else if (outcome.stage == win32::FileOutcome::Stage::Transfer)
        stage = FsResult::Stage::Transfer;
    return FsResult::failure(QString::fromStdWString(win32::FileErrorText(outcome.code)),
                             static_cast<int>(outcome.code), outcome.notFound, stage);
}

class Win32FileWriter : public FileWriter {
public:
    win32::ReplacingFile file;
    FsResult write(const QByteArray& bytes) override
    {
        return Converted(file.write(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    FsResult commit() override { return Converted(file.commit()); }
};

}  // namespace

bool Win32FileSystem::fileExists(const QString& path)
{
    return win32::FileExists(Native(path));
}

bool Win32FileSystem::folderExists(const QString& path)
{
    return win32::FolderExists(Native(path));
}

FsResult Win32FileSystem::createFolder(const QString& path)
{
    return Converted(win32::CreateFolder(Native(path)));
}

FsResult Win32FileSystem::removeFolder(const QString& path)
{
    return Converted(win32::RemoveFolder(Native(path)));
}

FsResult Win32FileSystem::removeFile(const QString& path)
{
    return Converted(win32::RemoveFile(Native(path)));
}

FsResult Win32FileSystem::removeFiles(const QString& folder, const QString& mask)
{
    win32::FileOutcome none;
    none.code = 2;  // ERROR_FILE_NOT_FOUND
    none.notFound = true;
    return RemoveMatchingFiles(*this, folder, mask, Converted(none));
}

FsResult Win32FileSystem::copyReplacing(const QString& from, const QString& to)
{
    return Converted(win32::CopyReplacing(Native(from), Native(to)));
}

FsResult Win32FileSystem::move(const QString& from, const QString& to)
{
    return Converted(win32::Move(Native(from), Native(to)));
}

FsResult Win32FileSystem::syncFile(const QString& path)
{
    return Converted(win32::SyncFile(Native(path)));
}

FsResult Win32FileSystem::syncFolder(const QString& path)
{
    return Converted(win32::SyncFolder(Native(path)));
}

FsResult Win32FileSystem::syncFileSystem(const QString& path)
{
    return Converted(win32::SyncFileSystem(Native(path)));
}

FsResult Win32FileSystem::fileSize(const QString& path, qint64& size)
{
    std::int64_t found = 0;
    const FsResult result = Converted(win32::FileSize(Native(path), found));
    if (result)
        size = found;
    return result;
}

FsResult Win32FileSystem::listFiles(const QString& folder, QStringList& names)
{
    std::vector<std::wstring> found;
    const FsResult result = Converted(win32::ListFiles(Native(folder), found));
    names.clear();
    for (const std::wstring& name : found) names << QString::fromStdWString(name);
    return result;
}

FsResult Win32FileSystem::readFile(const QString& path, QByteArray& contents)
{
    std::string bytes;
    const FsResult result = Converted(win32::ReadWholeFile(Native(path), bytes));
    contents = QByteArray::fromStdString(bytes);
    return result;
}

FsResult Win32FileSystem::readInParts(const QString& path, const std::function<bool(const QByteArray&)>& part)
{
    return Converted(win32::ReadInParts(Native(path), [&part](std::string_view piece) {
        return part(QByteArray(piece.data(), static_cast<qsizetype>(piece.size())));
    }));
}

FsResult Win32FileSystem::appendToFile(const QString& path, const QByteArray& bytes)
{
    return Converted(win32::AppendToFile(Native(path), bytes.toStdString()));
}

std::unique_ptr<FileWriter> Win32FileSystem::replaceFile(const QString& target, FsResult& result)
{
    auto writer = std::make_unique<Win32FileWriter>();
    result = Converted(writer->file.open(Native(target)));
    return result ? std::move(writer) : nullptr;
}
