#include "platform/LocalFileSystem.h"
#include "support/MissingTool.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

class LocalFs : public ::testing::Test {
protected:
    QTemporaryDir dir;
    LocalFileSystem fs;

    QString p(const QString& name) const { return dir.path() + u'/' + name; }
    void put(const QString& name, const QByteArray& bytes, QFile::Permissions perms = {})
    {
        QDir().mkpath(QFileInfo(p(name)).absolutePath());
        QFile f(p(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        if (perms)
            f.setPermissions(perms);
    }
    QByteArray get(const QString& name) const
    {
        QFile f(p(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<nema>");
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

TEST_F(LocalFs, CopyReplacesWholeAndKeepsTheProgramRunnable)
{
    put(QStringLiteral("novi.exe"), "NOVO", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    put(QStringLiteral("stari.exe"), "STARI SADRŽAJ DULJI");
    ASSERT_TRUE(fs.copyReplacing(p(QStringLiteral("novi.exe")), p(QStringLiteral("stari.exe"))));
    EXPECT_EQ(get(QStringLiteral("stari.exe")), QByteArray("NOVO"));
    EXPECT_TRUE(QFileInfo(p(QStringLiteral("stari.exe"))).isExecutable());
    EXPECT_EQ(files(), (QStringList{QStringLiteral("novi.exe"), QStringLiteral("stari.exe")}));
}

TEST_F(LocalFs, FailedCopyLeavesTheTargetAsItWasAndNoTemporaryFile)
{
    put(QStringLiteral("stari.exe"), "STARO");
    const FsResult missing = fs.copyReplacing(p(QStringLiteral("nema.exe")), p(QStringLiteral("stari.exe")));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.notFound);
    EXPECT_EQ(get(QStringLiteral("stari.exe")), QByteArray("STARO"));

    const FsResult noFolder =
        fs.copyReplacing(p(QStringLiteral("stari.exe")), p(QStringLiteral("nema/x.exe")));
    EXPECT_FALSE(noFolder);
    EXPECT_EQ(noFolder.error, QStringLiteral("Datoteka ili direktorija nije pronađena."));
    EXPECT_EQ(files(), QStringList{QStringLiteral("stari.exe")});
}

TEST_F(LocalFs, MoveTellsAMissingSourceApartAndNeverReplaces)
{
    const FsResult missing = fs.move(p(QStringLiteral("a")), p(QStringLiteral("b")));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.notFound);

    put(QStringLiteral("a"), "A");
    put(QStringLiteral("b"), "B");
    const FsResult taken = fs.move(p(QStringLiteral("a")), p(QStringLiteral("b")));
    EXPECT_FALSE(taken);
    EXPECT_FALSE(taken.notFound);
    EXPECT_EQ(get(QStringLiteral("b")), QByteArray("B"));

    // A missing destination folder is no missing source: the file is still there and not moved.
    const FsResult noFolder = fs.move(p(QStringLiteral("a")), p(QStringLiteral("nema/a")));
    EXPECT_FALSE(noFolder);
    EXPECT_FALSE(noFolder.notFound);
    EXPECT_EQ(get(QStringLiteral("a")), QByteArray("A"));

    ASSERT_TRUE(fs.move(p(QStringLiteral("a")), p(QStringLiteral("c"))));
    EXPECT_EQ(get(QStringLiteral("c")), QByteArray("A"));
    EXPECT_FALSE(fs.fileExists(p(QStringLiteral("a"))));
}

TEST_F(LocalFs, RemoveByMaskMatchesLikeUsersExpect)
{
    put(QStringLiteral("A.7z"), "1");
    put(QStringLiteral("B.7Z"), "2");
    put(QStringLiteral("Verzije.txt"), "3");
    put(QStringLiteral("pod/C.7z"), "4");
    ASSERT_TRUE(fs.removeFiles(dir.path(), QStringLiteral("*.7z")));
    EXPECT_EQ(files(), QStringList{QStringLiteral("Verzije.txt")});
    EXPECT_TRUE(QFile::exists(p(QStringLiteral("pod/C.7z"))));  // subfolders stay

    const FsResult none = fs.removeFiles(dir.path(), QStringLiteral("*.dll"));
    EXPECT_FALSE(none);
    EXPECT_TRUE(none.notFound);
    ASSERT_TRUE(fs.removeFiles(dir.path(), QStringLiteral("*.*")));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(LocalFs, ReadOnlyFilesAreRemovedToo)
{
    put(QStringLiteral("zaštićena.dll"), "x", QFile::ReadOwner);
    put(QStringLiteral("Backup/zaštićena.dll"), "y", QFile::ReadOwner);
    EXPECT_TRUE(fs.removeFile(p(QStringLiteral("zaštićena.dll"))));
    EXPECT_TRUE(fs.removeFolder(p(QStringLiteral("Backup/"))));
    EXPECT_FALSE(fs.folderExists(p(QStringLiteral("Backup"))));
    EXPECT_TRUE(fs.removeFile(p(QStringLiteral("nema"))).notFound);
}

TEST_F(LocalFs, WriterShowsNothingUntilCommit)
{
    put(QStringLiteral("Verzije.txt"), "STARA VERZIJA");
    FsResult r;
    {
        auto writer = fs.replaceFile(p(QStringLiteral("Verzije.txt")), r);
        ASSERT_TRUE(writer);
        ASSERT_TRUE(writer->write("NOVA"));
        EXPECT_EQ(get(QStringLiteral("Verzije.txt")), QByteArray("STARA VERZIJA"));
    }  // abandoned
    EXPECT_EQ(files(), QStringList{QStringLiteral("Verzije.txt")});
    auto writer = fs.replaceFile(p(QStringLiteral("Verzije.txt")), r);
    ASSERT_TRUE(writer->write("NOVA"));
    ASSERT_TRUE(writer->commit());
    EXPECT_EQ(get(QStringLiteral("Verzije.txt")), QByteArray("NOVA"));
    EXPECT_FALSE(fs.replaceFile(p(QStringLiteral("nema/x")), r));
    EXPECT_EQ(r.stage, FsResult::Stage::Open);
}

TEST_F(LocalFs, SyncOfAFileAndOfAFolder)
{
    put(QStringLiteral("samo-za-čitanje.exe"), "MZ", QFile::ReadOwner);
    EXPECT_TRUE(fs.syncFile(p(QStringLiteral("samo-za-čitanje.exe"))));
    EXPECT_TRUE(fs.syncFolder(dir.path() + u'/'));
    EXPECT_TRUE(fs.syncFileSystem(dir.path() + u'/'));
    EXPECT_TRUE(fs.syncFileSystem(dir.path() + QStringLiteral("/nema/")).notFound);
    const FsResult missing = fs.syncFile(p(QStringLiteral("nema.exe")));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.notFound);
    const FsResult notFolder = fs.syncFolder(p(QStringLiteral("samo-za-čitanje.exe")));
    EXPECT_FALSE(notFolder);
    EXPECT_EQ(notFolder.error, QStringLiteral("Dio putanje nije direktorija."));
}

// The Update folder may lie on another file system than the program: the move then copies the whole
// file, keeps it runnable, and removes the original only afterwards.
TEST_F(LocalFs, MoveBetweenFileSystemsCopiesAndRemovesTheOriginal)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/lumivex-fs-XXXXXX"));
    struct stat here {};
    struct stat there {};
    if (!other.isValid() || ::stat(QFile::encodeName(dir.path()).constData(), &here) != 0 ||
        ::stat(QFile::encodeName(other.path()).constData(), &there) != 0 || here.st_dev == there.st_dev)
        SKIP_FOR_MISSING_TOOL() << "no second file system at /dev/shm";
    const QString from = other.path() + QStringLiteral("/novi.exe");
    QFile f(from);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3 << 20, 'N'));
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_TRUE(fs.move(from, p(QStringLiteral("novi.exe"))));
    EXPECT_FALSE(QFile::exists(from));
    EXPECT_EQ(get(QStringLiteral("novi.exe")), QByteArray(3 << 20, 'N'));
    EXPECT_TRUE(QFileInfo(p(QStringLiteral("novi.exe"))).isExecutable());
    EXPECT_EQ(files(), QStringList{QStringLiteral("novi.exe")});
}

TEST_F(LocalFs, FoldersSizesAndListing)
{
    EXPECT_FALSE(fs.folderExists(QString()));
    EXPECT_TRUE(fs.createFolder(p(QStringLiteral("Update/"))));
    EXPECT_TRUE(fs.folderExists(p(QStringLiteral("Update/"))));
    EXPECT_FALSE(fs.createFolder(p(QStringLiteral("a/b"))));  // one level at a time
    put(QStringLiteral("Update/b.dll"), QByteArray(1500, 'x'));
    put(QStringLiteral("Update/a.exe"), "");
    qint64 size = -1;
    ASSERT_TRUE(fs.fileSize(p(QStringLiteral("Update/b.dll")), size));
    EXPECT_EQ(size, 1500);
    EXPECT_FALSE(fs.fileSize(p(QStringLiteral("Update")), size));
    QStringList names;
    ASSERT_TRUE(fs.listFiles(p(QStringLiteral("Update")), names));
    EXPECT_EQ(names, (QStringList{QStringLiteral("a.exe"), QStringLiteral("b.dll")}));
    EXPECT_FALSE(fs.listFiles(p(QStringLiteral("nema")), names));
}

TEST_F(LocalFs, AppendOpensAndClosesPerCallAndTellsAnOpenFailure)
{
    ASSERT_TRUE(fs.appendToFile(p(QStringLiteral("log")), "a\r\n"));
    ASSERT_TRUE(fs.appendToFile(p(QStringLiteral("log")), "b\r\n"));
    EXPECT_EQ(get(QStringLiteral("log")), QByteArray("a\r\nb\r\n"));
    const FsResult r = fs.appendToFile(p(QStringLiteral("nema/log")), "x");
    EXPECT_EQ(r.stage, FsResult::Stage::Open);
    EXPECT_EQ(r.code, 2);
    QByteArray contents;
    EXPECT_EQ(fs.readFile(p(QStringLiteral("nema")), contents).stage, FsResult::Stage::Open);
}

}  // namespace
