#pragma once

#include "platform/FileSystem.h"

#include <QMap>
#include <QStringList>
#include <vector>

// A file system in memory that a test can stop dead. Armed with crashAfter(k), it carries out k more
// operations and then refuses every later one, as though the program had been killed there: nothing
// after the k-th operation reaches the disk. In power-cut mode the restart also forgets, the way a
// disk that lost its power would, every write that was not synced (a file keeps the bytes of its last
// syncFile) and every change to a folder's names (a file created, removed or renamed in it, a folder
// made or removed) that the folder was not synced after. copyReplacing and a writer's commit sync
// their file and its folder, as the port promises.
//
// The whole disk is a value: copying the object copies the disk, so a sweep can branch from one state.
class CrashingFileSystem : public FileSystem {
public:
    enum class Mode { Crash, PowerCut };

    // The test's own access, never counted and never refused; what it writes is on the disk at once.
    void put(const QString& path, const QByteArray& bytes);
    // A file as another program leaves it, written but never synced: a power cut takes its bytes
    // and its name (its folders are on the disk).
    void putUnsynced(const QString& path, const QByteArray& bytes);
    void makeFolders(const QString& path);
    bool has(const QString& path) const;
    QByteArray contents(const QString& path) const;
    // Every file below `folder`, by path.
    QMap<QString, QByteArray> filesUnder(const QString& folder) const;

    // Makes syncFileSystem fail, as it does for a user's program on Windows and under Wine, so that
    // the installation syncs each file itself.
    void refuseFileSystemSync() { refuseFileSystemSync_ = true; }

    // The next k operations run; every one after them fails.
    void crashAfter(int k, Mode mode);
    bool crashed() const { return crashed_; }
    // The start after the crash: in power-cut mode the disk forgets what was not synced; every
    // operation works again and the count starts from zero.
    void restart();
    // Operations carried out since the last arming or restart, and their names ("move A -> B").
    int operations() const { return done_; }
    const QStringList& record() const { return record_; }

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

    // Counts one operation; false once the crash has come. Public for the writers it hands out.
    bool step(const QString& what);
    // Puts a finished file in place as a durable copy or commit does.
    FsResult placeSynced(const QString& target, const QByteArray& bytes);

private:
    struct Node {
        bool folder = false;
        int inode = 0;  // a file's bytes
    };
    using Names = QMap<QString, Node>;  // by clean path

    static QString clean(const QString& path);
    static QString parentOf(const QString& path);
    bool isFolder(const Names& names, const QString& path) const;
    bool isFile(const QString& path) const;
    int newInode(const QByteArray& bytes, const QByteArray& durable);
    void syncNames(const QString& folder);

    Names names_;         // what the program sees
    Names durableNames_;  // what a power cut leaves
    QMap<int, QByteArray> bytes_;
    QMap<int, QByteArray> durableBytes_;
    int nextInode_ = 1;

    Mode mode_ = Mode::Crash;
    int limit_ = -1;
    int done_ = 0;
    bool crashed_ = false;
    bool refuseFileSystemSync_ = false;
    QStringList record_;
};
